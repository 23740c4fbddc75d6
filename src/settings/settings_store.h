#pragma once
// The LK.ini store. Every read and every write is a complete operation on the
// file: nothing is cached, so the file always shows the last write, and two
// running copies share it key by key.
#include <cstddef>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace lk::settings {

class SettingsStore {
 public:
  explicit SettingsStore(std::filesystem::path file) : file_(std::move(file)) {}

  // The key's value under the store's value rules, or the default (trailing
  // blanks dropped) when the file, section or key is absent; cut to
  // capacity - 1 characters as a profile read into such a buffer would be.
  std::string Read(std::string_view section, std::string_view key, std::string_view fallback,
                   std::size_t capacity) const;

  struct Lookup {
    std::string_view key;
    std::string_view fallback;
  };
  // Several keys of one section, each as Read gives it, from one reading of
  // the file: a click's settings then come from one state of the file, and
  // the file is not opened once per key.
  std::vector<std::string> ReadEach(std::string_view section, std::span<const Lookup> lookups,
                                    std::size_t capacity) const;

  // Adds or replaces one entry and replaces the file atomically; false when
  // the file could not be read back or written. The old file then stays whole.
  bool Write(std::string_view section, std::string_view key, std::string_view value) const;

 private:
  std::filesystem::path file_;
};

// The shared reader: a 100-character buffer, so at most 99 characters.
std::string ReadSetting(const SettingsStore& store, std::string_view section, std::string_view key,
                        std::string_view fallback);
std::vector<std::string> ReadSettings(const SettingsStore& store, std::string_view section,
                                      std::span<const SettingsStore::Lookup> lookups);

inline constexpr std::size_t kReadSettingCapacity = 100;
inline constexpr std::size_t kDirectReadCapacity = 50;

}  // namespace lk::settings
