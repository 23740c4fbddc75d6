#pragma once
// An RTF document's font table as the converter needs it: which legacy
// family a font number draws, and which numbers are free for a font we add.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

#include "convert/legacy_font.h"

namespace lk::documents::rtf {

inline constexpr int kSymbolCharset = 2;

struct FontEntry {
  std::string name;  // UTF-8, as the table spells it, without its ';'
  int charset = 0;
  std::optional<convert::LegacyFont> family;
};

class FontTable {
 public:
  // A table of more fonts than this is not a document a person wrote.
  static constexpr std::size_t kMaxFonts = 32768;
  static constexpr std::size_t kMaxNameBytes = 256;

  // \fN inside the table: the entry the following name and charset belong
  // to. Throws DocumentError past kMaxFonts.
  void Begin(std::int32_t number);
  void SetCharset(std::int32_t charset);
  // Text of the entry's name; a ';' ends it.
  void AddNameText(std::string_view utf8);

  // The charset of the entry being read, whose code page its name is in.
  int CurrentCharset() const;

  // The table's group ended: text after it names no font.
  void Close() { current_.reset(); }

  const FontEntry* Find(std::int32_t number) const;
  // The number of the first font whose name is the family's or the given
  // Unicode font's; none if the table has no such font. A Unicode font
  // entered with the symbol charset is not one: its text would be read as
  // symbol codes.
  std::optional<std::int32_t> NumberOfFamily(convert::LegacyFont family) const;
  std::optional<std::int32_t> NumberOfName(std::string_view name) const;
  // A number no font of the table uses and that is not the default font.
  std::int32_t FreeNumber(std::int32_t defaultFont) const;

 private:
  std::unordered_map<std::int32_t, FontEntry> fonts_;
  std::optional<std::int32_t> current_;
  bool nameDone_ = false;
  std::int32_t highest_ = -1;
};

}  // namespace lk::documents::rtf
