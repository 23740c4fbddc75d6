#pragma once
// The text of an initialisation file, kept line by line so that a write
// changes only the one entry it is about and leaves every other line as the
// user or another program left it.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lk::settings {

class IniDocument {
 public:
  static IniDocument Parse(std::string_view bytes);

  // The raw text after "=" of the first matching key in the first matching
  // section (names compared without regard to letter case), cut at a NUL.
  std::optional<std::string> Find(std::string_view section, std::string_view key) const;

  // One entry per key: the first match is replaced (keeping its spelling),
  // later duplicates in that section are dropped, a missing key or section is added.
  void Set(std::string_view section, std::string_view key, std::string_view value);

  std::string Serialize() const;

 private:
  struct Range {
    std::size_t header;  // index of the "[section]" line
    std::size_t end;     // one past the last line of the section
  };
  std::optional<Range> FindSection(std::string_view section) const;

  std::vector<std::string> lines_;
};

}  // namespace lk::settings
