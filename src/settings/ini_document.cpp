#include "settings/ini_document.h"

#include "text/trim.h"

namespace lk::settings {
namespace {

using text::TrimSpacing;

// The section name when the line is a header.
std::optional<std::string_view> HeaderName(std::string_view line) {
  line = TrimSpacing(line);
  if (line.empty() || line.front() != '[') return std::nullopt;
  line.remove_prefix(1);
  const auto close = line.find(']');
  if (close != std::string_view::npos) line = line.substr(0, close);
  return TrimSpacing(line);
}

struct Entry {
  std::string_view key;
  std::string_view value;
};

std::optional<Entry> KeyLine(std::string_view line) {
  const auto eq = line.find('=');
  if (eq == std::string_view::npos) return std::nullopt;
  const auto key = TrimSpacing(line.substr(0, eq));
  if (key.empty()) return std::nullopt;
  return Entry{key, line.substr(eq + 1)};
}

// A value ends at the first line break or NUL: anything after it would become
// a line of its own and could forge another key.
std::string_view OneLine(std::string_view value) {
  const auto stop = value.find_first_of(std::string_view("\r\n\0", 3));
  return stop == std::string_view::npos ? value : value.substr(0, stop);
}

}  // namespace

IniDocument IniDocument::Parse(std::string_view bytes) {
  IniDocument doc;
  std::size_t pos = 0;
  while (pos < bytes.size()) {
    auto nl = bytes.find('\n', pos);
    if (nl == std::string_view::npos) nl = bytes.size();
    std::string_view line = bytes.substr(pos, nl - pos);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    doc.lines_.emplace_back(line);
    pos = nl + 1;
  }
  return doc;
}

std::optional<IniDocument::Range> IniDocument::FindSection(std::string_view section) const {
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    const auto name = HeaderName(lines_[i]);
    if (!name || !text::EqualsIgnoreCase(*name, TrimSpacing(section))) continue;
    std::size_t end = i + 1;
    while (end < lines_.size() && !HeaderName(lines_[end])) ++end;
    return Range{i, end};
  }
  return std::nullopt;
}

std::optional<std::string> IniDocument::Find(std::string_view section, std::string_view key) const {
  const auto range = FindSection(section);
  if (!range) return std::nullopt;
  for (std::size_t i = range->header + 1; i < range->end; ++i) {
    const auto entry = KeyLine(lines_[i]);
    if (entry && text::EqualsIgnoreCase(entry->key, TrimSpacing(key))) {
      const auto nul = entry->value.find('\0');
      return std::string(nul == std::string_view::npos ? entry->value : entry->value.substr(0, nul));
    }
  }
  return std::nullopt;
}

void IniDocument::Set(std::string_view section, std::string_view key, std::string_view value) {
  key = TrimSpacing(key);
  value = OneLine(value);
  const auto range = FindSection(section);
  if (!range) {
    if (!lines_.empty() && !TrimSpacing(lines_.back()).empty()) lines_.emplace_back();
    std::string header(1, '[');
    header.append(TrimSpacing(section)).push_back(']');
    lines_.push_back(std::move(header));
    lines_.push_back(std::string(key) + "=" + std::string(value));
    return;
  }
  bool replaced = false;
  std::size_t lastContent = range->header;
  std::size_t end = range->end;
  for (std::size_t i = range->header + 1; i < end;) {
    const auto entry = KeyLine(lines_[i]);
    if (entry && text::EqualsIgnoreCase(entry->key, key)) {
      if (replaced) {
        lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(i));
        --end;
        continue;
      }
      lines_[i] = std::string(entry->key) + "=" + std::string(value);
      replaced = true;
    }
    if (!TrimSpacing(lines_[i]).empty()) lastContent = i;
    ++i;
  }
  if (!replaced)
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(lastContent + 1),
                  std::string(key) + "=" + std::string(value));
}

std::string IniDocument::Serialize() const {
  std::string out;
  for (const auto& line : lines_) {
    out += line;
    out += "\r\n";
  }
  return out;
}

}  // namespace lk::settings
