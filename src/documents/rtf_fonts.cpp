#include "documents/rtf_fonts.h"

#include <algorithm>
#include <limits>

#include "documents/document_file.h"
#include "documents/run_model.h"
#include "text/trim.h"

namespace lk::documents::rtf {

void FontTable::Begin(std::int32_t number) {
  current_.reset();
  nameDone_ = false;
  if (fonts_.contains(number)) return;  // a second definition: the first one holds
  if (fonts_.size() >= kMaxFonts)
    throw DocumentError("The RTF font table holds more than " + std::to_string(kMaxFonts) + " fonts.");
  fonts_.emplace(number, FontEntry{});
  current_ = number;
  highest_ = std::max(highest_, number);
}

void FontTable::SetCharset(std::int32_t charset) {
  if (current_) fonts_[*current_].charset = charset;
}

void FontTable::AddNameText(std::string_view utf8) {
  if (!current_ || nameDone_) return;
  FontEntry& entry = fonts_[*current_];
  const std::size_t semicolon = utf8.find(';');
  if (semicolon != std::string_view::npos) {
    utf8 = utf8.substr(0, semicolon);
    nameDone_ = true;
  }
  entry.name.append(utf8.substr(0, kMaxNameBytes - std::min(kMaxNameBytes, entry.name.size())));
  entry.family = LegacyFamilyOf(entry.name);
}

int FontTable::CurrentCharset() const {
  const FontEntry* entry = current_ ? Find(*current_) : nullptr;
  return entry ? entry->charset : 0;
}

const FontEntry* FontTable::Find(std::int32_t number) const {
  const auto found = fonts_.find(number);
  return found == fonts_.end() ? nullptr : &found->second;
}

std::optional<std::int32_t> FontTable::NumberOfFamily(convert::LegacyFont family) const {
  std::optional<std::int32_t> best;
  for (const auto& [number, entry] : fonts_)
    if (entry.family == family && (!best || number < *best)) best = number;
  return best;
}

std::optional<std::int32_t> FontTable::NumberOfName(std::string_view name) const {
  const std::string wanted = text::TrimBlanks(name);
  std::optional<std::int32_t> best;
  for (const auto& [number, entry] : fonts_)
    if (entry.charset != kSymbolCharset && text::EqualsIgnoreCase(text::TrimBlanks(entry.name), wanted) &&
        (!best || number < *best))
      best = number;
  return best;
}

std::int32_t FontTable::FreeNumber(std::int32_t defaultFont) const {
  const std::int32_t above = std::max(highest_, defaultFont);
  if (above < std::numeric_limits<std::int32_t>::max()) return above + 1;
  // Someone numbered a font 2^31-1: look for a hole below instead.
  for (std::int32_t number = 1;; ++number)
    if (number != defaultFont && !fonts_.contains(number)) return number;
}

}  // namespace lk::documents::rtf
