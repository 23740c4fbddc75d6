#include "settings/settings_store.h"

#include <fstream>
#include <iterator>
#include <optional>
#include <chrono>
#include <system_error>
#include <thread>
#include <utility>

#include "settings/ini_document.h"
#include "text/trim.h"

namespace lk::settings {
namespace {

enum class Load { kOk, kMissing, kFailed };

constexpr int kRenameAttempts = 20;
constexpr std::chrono::milliseconds kRenamePause{10};

Load ReadFile(const std::filesystem::path& file, std::string& bytes) {
  std::error_code ec;
  if (!std::filesystem::exists(file, ec)) return ec ? Load::kFailed : Load::kMissing;
  std::ifstream in(file, std::ios::binary);
  if (!in) return Load::kFailed;
  bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return in.bad() ? Load::kFailed : Load::kOk;
}

std::string ApplyValueRules(std::string_view raw) {
  raw = text::TrimSpacing(raw);
  if (raw.size() >= 2 && raw.front() == raw.back() && (raw.front() == '"' || raw.front() == '\'')) {
    raw.remove_prefix(1);
    raw.remove_suffix(1);
  }
  return std::string(raw);
}

std::string Cut(std::string value, std::size_t capacity) {
  const std::size_t room = capacity == 0 ? 0 : capacity - 1;
  if (value.size() > room) value.resize(room);
  return value;
}

}  // namespace

std::string SettingsStore::Read(std::string_view section, std::string_view key, std::string_view fallback,
                                std::size_t capacity) const {
  const Lookup lookup{key, fallback};
  return std::move(ReadEach(section, std::span(&lookup, 1), capacity).front());
}

std::vector<std::string> SettingsStore::ReadEach(std::string_view section, std::span<const Lookup> lookups,
                                                 std::size_t capacity) const {
  std::string bytes;
  std::optional<IniDocument> doc;
  if (ReadFile(file_, bytes) == Load::kOk) doc = IniDocument::Parse(bytes);
  std::vector<std::string> values;
  values.reserve(lookups.size());
  for (const Lookup& lookup : lookups) {
    const std::optional<std::string> raw = doc ? doc->Find(section, lookup.key) : std::nullopt;
    values.push_back(raw ? Cut(ApplyValueRules(*raw), capacity)
                         : Cut(text::TrimTrailingBlanks(lookup.fallback), capacity));
  }
  return values;
}

bool SettingsStore::Write(std::string_view section, std::string_view key, std::string_view value) const {
  std::string bytes;
  if (ReadFile(file_, bytes) == Load::kFailed) return false;
  auto doc = IniDocument::Parse(bytes);
  doc.Set(section, key, value);
  const std::string out = doc.Serialize();

  // Write beside the file and rename over it, so that a crash or a full disk
  // leaves either the old file or the new one, never half of one.
  auto temp = file_;
  temp += ".tmp";
  std::error_code ec;
  {
    std::ofstream f(temp, std::ios::binary | std::ios::trunc);
    if (!f) return false;
    f.write(out.data(), static_cast<std::streamsize>(out.size()));
    f.flush();
    if (!f) {
      f.close();
      std::filesystem::remove(temp, ec);
      return false;
    }
  }
  // Another program (a backup tool, a scanner, a second copy of ours reading
  // the file) may hold the file open for a moment; the rename then fails, so
  // it is tried again a few times before the write is given up.
  for (int attempt = 0; attempt < kRenameAttempts; ++attempt) {
    std::filesystem::rename(temp, file_, ec);
    if (!ec) break;
    std::this_thread::sleep_for(kRenamePause);
  }
  if (ec) {
    std::filesystem::remove(temp, ec);
    return false;
  }
  return true;
}

std::string ReadSetting(const SettingsStore& store, std::string_view section, std::string_view key,
                        std::string_view fallback) {
  return store.Read(section, key, fallback, kReadSettingCapacity);
}

std::vector<std::string> ReadSettings(const SettingsStore& store, std::string_view section,
                                      std::span<const SettingsStore::Lookup> lookups) {
  return store.ReadEach(section, lookups, kReadSettingCapacity);
}

}  // namespace lk::settings
