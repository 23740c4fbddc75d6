#include "documents/docx_styles.h"

#include <vector>

namespace lk::documents::docx {
namespace {

// The names the theme attributes of w:rFonts take, by the theme font they mean.
struct ThemeSlot {
  const char* attribute;
  const char* scheme;  // majorFont or minorFont
  const char* script;  // latin, ea or cs
};
constexpr ThemeSlot kThemeSlots[] = {
    {"majorAscii", "majorFont", "latin"},    {"majorHAnsi", "majorFont", "latin"},
    {"majorEastAsia", "majorFont", "ea"},    {"majorBidi", "majorFont", "cs"},
    {"minorAscii", "minorFont", "latin"},    {"minorHAnsi", "minorFont", "latin"},
    {"minorEastAsia", "minorFont", "ea"},    {"minorBidi", "minorFont", "cs"},
};

pugi::xml_node ChildByLocalName(pugi::xml_node parent, std::string_view local) {
  for (pugi::xml_node c = parent.first_child(); c; c = c.next_sibling())
    if (c.type() == pugi::node_element && LocalName(c.name()) == local) return c;
  return {};
}

bool IsOn(std::string_view v) { return !(v == "0" || v == "false" || v == "off"); }

// CT_OnOff: present without w:val is on.
std::optional<bool> OnOff(pugi::xml_node element, const Wml& w) {
  if (!element) return std::nullopt;
  const pugi::xml_attribute val = w.Attr(element, "val");
  return !val || IsOn(val.value());
}

std::optional<std::string> Val(pugi::xml_node element, const Wml& w) {
  if (!element) return std::nullopt;
  return std::string(w.Attr(element, "val").value());
}

// Toggle properties (bold, italic) flip at each style level that turns them
// on; the run's own setting is absolute.
std::optional<bool> Toggle(std::optional<bool> direct, std::initializer_list<std::optional<bool>> levels,
                           std::optional<bool> fallback) {
  if (direct) return direct;
  bool any = false, value = false;
  for (const std::optional<bool>& level : levels) {
    if (!level) continue;
    any = true;
    if (*level) value = !value;
  }
  return any ? std::optional<bool>(value) : fallback;
}

}  // namespace

void RunProps::FillFrom(const RunProps& weaker) {
  if (!ascii) ascii = weaker.ascii;
  if (!b) b = weaker.b;
  if (!bCs) bCs = weaker.bCs;
  if (!i) i = weaker.i;
  if (!iCs) iCs = weaker.iCs;
  if (!sz) sz = weaker.sz;
  if (!szCs) szCs = weaker.szCs;
}

WordFonts::WordFonts(std::string styles, std::string_view stylesName, std::string theme, std::string_view themeName) {
  if (!theme.empty()) {
    pugi::xml_document doc;
    ParsePart(doc, theme, themeName);
    ReadTheme(doc.document_element());
  }
  if (!styles.empty()) {
    pugi::xml_document doc;
    ParsePart(doc, styles, stylesName);
    ReadStyles(doc.document_element());
  }
}

void WordFonts::ReadTheme(pugi::xml_node root) {
  pugi::xml_node scheme = ChildByLocalName(ChildByLocalName(root, "themeElements"), "fontScheme");
  for (const ThemeSlot& slot : kThemeSlots) {
    const pugi::xml_node font = ChildByLocalName(ChildByLocalName(scheme, slot.scheme), slot.script);
    if (font) themeFonts_[slot.attribute] = font.attribute("typeface").value();
  }
}

RunProps WordFonts::Direct(pugi::xml_node rPr, const Wml& w) const {
  RunProps props;
  if (!rPr) return props;
  if (const pugi::xml_node fonts = w.Child(rPr, "rFonts")) {
    if (const pugi::xml_attribute theme = w.Attr(fonts, "asciiTheme")) {
      const auto found = themeFonts_.find(theme.value());
      props.ascii = found != themeFonts_.end() ? found->second : std::string();
    } else if (const pugi::xml_attribute ascii = w.Attr(fonts, "ascii")) {
      props.ascii = ascii.value();
    }
  }
  // One pass over the properties, for every run of a part; the first of
  // each name counts, as a lookup by name would find it.
  for (pugi::xml_node c = rPr.first_child(); c; c = c.next_sibling()) {
    if (c.type() != pugi::node_element) continue;
    const std::optional<std::string_view> local = w.Local(c.name());
    if (!local) continue;
    if (*local == "b") {
      if (!props.b) props.b = OnOff(c, w);
    } else if (*local == "bCs") {
      if (!props.bCs) props.bCs = OnOff(c, w);
    } else if (*local == "i") {
      if (!props.i) props.i = OnOff(c, w);
    } else if (*local == "iCs") {
      if (!props.iCs) props.iCs = OnOff(c, w);
    } else if (*local == "sz") {
      if (!props.sz) props.sz = Val(c, w);
    } else if (*local == "szCs") {
      if (!props.szCs) props.szCs = Val(c, w);
    }
  }
  return props;
}

void WordFonts::ReadStyles(pugi::xml_node root) {
  const Wml w(root);
  defaults_ = Direct(w.Child(w.Child(w.Child(root, "docDefaults"), "rPrDefault"), "rPr"), w);
  for (pugi::xml_node style = root.first_child(); style; style = style.next_sibling()) {
    if (!w.Is(style, "style")) continue;
    const std::string id = w.Attr(style, "styleId").value();
    const std::string_view type = w.Attr(style, "type").value();
    if (id.empty()) continue;
    if (const pugi::xml_attribute isDefault = w.Attr(style, "default"); isDefault && IsOn(isDefault.value())) {
      if (type == "paragraph") defaultParagraphStyle_ = id;
      if (type == "table") defaultTableStyle_ = id;
    }
    Style& entry = styles_[id];
    entry.own = Direct(w.Child(style, "rPr"), w);
    entry.basedOn = std::string(w.ChildVal(style, "basedOn"));
  }
  // Each chain worked out once; a loop of basedOn (a broken file) ends where
  // it comes round again.
  for (auto& [id, style] : styles_) {
    style.chain = style.own;
    std::vector<const std::string*> seen{&id};
    for (const std::string* next = &style.basedOn; !next->empty();) {
      const auto found = styles_.find(*next);
      if (found == styles_.end()) break;
      bool looped = false;
      for (const std::string* s : seen) looped = looped || *s == found->first;
      if (looped || seen.size() > 64) break;
      seen.push_back(&found->first);
      style.chain.FillFrom(found->second.own);
      next = &found->second.basedOn;
    }
  }
}

const RunProps* WordFonts::ChainOf(std::string_view id) const {
  if (id.empty()) return nullptr;
  const auto found = styles_.find(std::string(id));
  return found == styles_.end() ? nullptr : &found->second.chain;
}

RunProps WordFonts::Resolve(const RunProps& direct, std::string_view characterStyle,
                            const ParagraphContext& where) const {
  static const RunProps kNone;
  const RunProps* character = ChainOf(characterStyle);
  const RunProps* paragraph =
      ChainOf(where.paragraphStyle.empty() ? std::string_view(defaultParagraphStyle_) : where.paragraphStyle);
  const RunProps* table = where.inTable ? ChainOf(where.tableStyle.empty() ? std::string_view(defaultTableStyle_)
                                                                          : where.tableStyle)
                                        : nullptr;
  const RunProps& c = character ? *character : kNone;
  const RunProps& p = paragraph ? *paragraph : kNone;
  const RunProps& t = table ? *table : kNone;

  RunProps resolved = direct;
  resolved.FillFrom(c);
  resolved.FillFrom(p);
  resolved.FillFrom(t);
  resolved.FillFrom(defaults_);
  resolved.b = Toggle(direct.b, {t.b, p.b, c.b}, defaults_.b);
  resolved.bCs = Toggle(direct.bCs, {t.bCs, p.bCs, c.bCs}, defaults_.bCs);
  resolved.i = Toggle(direct.i, {t.i, p.i, c.i}, defaults_.i);
  resolved.iCs = Toggle(direct.iCs, {t.iCs, p.iCs, c.iCs}, defaults_.iCs);
  return resolved;
}

}  // namespace lk::documents::docx
