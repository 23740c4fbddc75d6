#include "documents/odf_styles.h"

#include <cstring>

#include "text/trim.h"

namespace lk::documents::odf {
namespace {

// Parent chains longer than this are a loop or an attack, not a document.
constexpr int kMaxChain = 32;

std::string Key(std::string_view family, std::string_view name) {
  std::string key(family);
  key += '\n';
  key += name;
  return key;
}

void IndexStyles(pugi::xml_node container, std::unordered_map<std::string, pugi::xml_node>& styles) {
  for (pugi::xml_node style : container.children("style:style"))
    styles.emplace(Key(style.attribute("style:family").value(), style.attribute("style:name").value()), style);
}

void IndexFonts(pugi::xml_node root, std::unordered_map<std::string, std::string>& fonts) {
  for (pugi::xml_node face : root.child("office:font-face-decls").children("style:font-face"))
    fonts.emplace(face.attribute("style:name").value(), FirstFamily(face.attribute("svg:font-family").value()));
}

// Where office:font-face-decls and office:automatic-styles go: before the
// first of the elements the schema puts after them.
pugi::xml_node ChildBefore(pugi::xml_node root, std::initializer_list<const char*> later, const char* name) {
  if (pugi::xml_node existing = root.child(name)) return existing;
  for (pugi::xml_node child : root.children()) {
    for (const char* after : later)
      if (std::strcmp(child.name(), after) == 0) return root.insert_child_before(name, child);
  }
  return root.append_child(name);
}

pugi::xml_node TextProperties(pugi::xml_node style) {
  if (pugi::xml_node properties = style.child("style:text-properties")) return properties;
  return style.append_child("style:text-properties");
}

void Set(pugi::xml_node node, const char* name, const std::string& value) {
  pugi::xml_attribute attribute = node.attribute(name);
  if (!attribute) attribute = node.append_attribute(name);
  attribute.set_value(value.c_str());
}

std::string Quoted(const std::string& family) {
  for (char c : family)
    if (!((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-'))
      return "'" + family + "'";
  return family;
}

// A font's Latin and complex-script settings that stop naming the family
// once the family is set anew.
constexpr const char* kLatinFontDetails[] = {"style:font-family-generic", "style:font-pitch", "style:font-charset",
                                             "style:font-style-name"};
constexpr const char* kComplexFontDetails[] = {"style:font-family-complex", "style:font-family-generic-complex",
                                               "style:font-pitch-complex", "style:font-charset-complex",
                                               "style:font-style-name-complex"};

// Devanagari is a complex script: it is drawn bold, italic and at a size
// from these, not from the Latin ones.
struct ComplexMirror {
  const char* latin;
  const char* complex;
};
constexpr ComplexMirror kComplexMirrors[] = {{"fo:font-weight", "style:font-weight-complex"},
                                             {"fo:font-style", "style:font-style-complex"},
                                             {"fo:font-size", "style:font-size-complex"}};

}  // namespace

std::string FirstFamily(std::string_view value) {
  const std::size_t comma = value.find(',');
  std::string_view first = text::TrimSpacing(value.substr(0, comma));
  if (first.size() >= 2 && (first.front() == '\'' || first.front() == '"') && first.back() == first.front())
    first = text::TrimSpacing(first.substr(1, first.size() - 2));
  return std::string(first);
}

StyleSheet::StyleSheet(XmlPart* styles, XmlPart* content) : stylesPart_(styles), contentPart_(content) {
  if (styles) {
    IndexFonts(styles->root, common_.fonts);
    pugi::xml_node common = styles->root.child("office:styles");
    IndexStyles(common, common_.styles);
    for (pugi::xml_node style : common.children("style:default-style"))
      defaults_.emplace(style.attribute("style:family").value(), style);
    IndexStyles(styles->root.child("office:automatic-styles"), stylesAutomatic_.styles);
  }
  if (content) {
    IndexFonts(content->root, contentAutomatic_.fonts);
    IndexStyles(content->root.child("office:automatic-styles"), contentAutomatic_.styles);
  }
}

const StyleSheet::Index* StyleSheet::IndexOf(const XmlPart& part) const {
  return &part == contentPart_ ? &contentAutomatic_ : &stylesAutomatic_;
}

StyleSheet::Index* StyleSheet::IndexOf(const XmlPart& part) {
  return &part == contentPart_ ? &contentAutomatic_ : &stylesAutomatic_;
}

pugi::xml_node StyleSheet::Find(const XmlPart& part, std::string_view family, std::string_view name) const {
  const std::string key = Key(family, name);
  const Index* own = IndexOf(part);
  if (auto found = own->styles.find(key); found != own->styles.end()) return found->second;
  if (auto found = common_.styles.find(key); found != common_.styles.end()) return found->second;
  return {};
}

pugi::xml_node StyleSheet::Default(std::string_view family) const {
  auto found = defaults_.find(std::string(family));
  return found == defaults_.end() ? pugi::xml_node() : found->second;
}

pugi::xml_node StyleSheet::Parent(const XmlPart& part, pugi::xml_node style) const {
  pugi::xml_attribute parent = style.attribute("style:parent-style-name");
  if (!parent || std::strcmp(style.name(), "style:style") != 0) return {};
  // A parent is a common style; an automatic one is accepted as a reader
  // would rather show the text than refuse it.
  const std::string key = Key(style.attribute("style:family").value(), parent.value());
  if (auto found = common_.styles.find(key); found != common_.styles.end()) return found->second;
  const Index* own = IndexOf(part);
  if (auto found = own->styles.find(key); found != own->styles.end()) return found->second;
  return {};
}

std::optional<std::string> StyleSheet::FontOfStyle(const XmlPart& part, pugi::xml_node style) const {
  for (int depth = 0; style && depth < kMaxChain; ++depth, style = Parent(part, style)) {
    pugi::xml_node properties = style.child("style:text-properties");
    // The declared name wins over fo:font-family where both are given.
    if (pugi::xml_attribute name = properties.attribute("style:font-name")) {
      for (const Index* index : {IndexOf(part), &common_}) {
        if (auto found = index->fonts.find(name.value()); found != index->fonts.end()) return found->second;
      }
      return FirstFamily(name.value());
    }
    if (pugi::xml_attribute family = properties.attribute("fo:font-family")) return FirstFamily(family.value());
  }
  return std::nullopt;
}

std::optional<std::string> StyleSheet::FontOf(const XmlPart& part, const StyleLevels& levels) const {
  for (pugi::xml_node level : levels)
    if (auto family = FontOfStyle(part, level)) return family;
  return std::nullopt;
}

std::optional<std::string> StyleSheet::PropertyOf(const XmlPart& part, const StyleLevels& levels,
                                                  const char* attribute) const {
  for (pugi::xml_node style : levels) {
    for (int depth = 0; style && depth < kMaxChain; ++depth, style = Parent(part, style))
      if (pugi::xml_attribute value = style.child("style:text-properties").attribute(attribute))
        return std::string(value.value());
  }
  return std::nullopt;
}

std::string StyleSheet::DeclareFont(XmlPart& part, const std::string& family) {
  pugi::xml_node decls = ChildBefore(
      part.root, {"office:styles", "office:automatic-styles", "office:master-styles", "office:body"},
      "office:font-face-decls");
  for (pugi::xml_node face : decls.children("style:font-face"))
    if (text::EqualsIgnoreCase(FirstFamily(face.attribute("svg:font-family").value()), family))
      return face.attribute("style:name").value();

  // A name no declaration in either part uses for another family.
  auto taken = [&](const std::string& name) {
    for (const Index* index : {static_cast<const Index*>(IndexOf(part)), static_cast<const Index*>(&common_)})
      if (index->fonts.count(name)) return true;
    for (pugi::xml_node face : decls.children("style:font-face"))
      if (name == face.attribute("style:name").value()) return true;
    return false;
  };
  std::string name = family;
  for (int n = 1; taken(name); ++n) name = family + std::to_string(n);
  pugi::xml_node face = decls.append_child("style:font-face");
  face.append_attribute("style:name").set_value(name.c_str());
  face.append_attribute("svg:font-family").set_value(Quoted(family).c_str());
  IndexOf(part)->fonts.emplace(name, family);
  return name;
}

std::string StyleSheet::FreeStyleName(const XmlPart&) {
  for (;; ++nextName_) {
    const std::string name = "T" + std::to_string(nextName_);
    const std::string key = Key("text", name);
    if (!common_.styles.count(key) && !contentAutomatic_.styles.count(key) && !stylesAutomatic_.styles.count(key)) {
      ++nextName_;
      return name;
    }
  }
}

std::string StyleSheet::ConvertedStyle(XmlPart& part, pugi::xml_node original, const StyleLevels& levels,
                                       const std::string& family, bool toUnicode) {
  std::vector<std::pair<const char*, std::string>> mirrored;
  if (toUnicode) {
    for (const ComplexMirror& mirror : kComplexMirrors) {
      auto latin = PropertyOf(part, levels, mirror.latin);
      if (latin && latin != PropertyOf(part, levels, mirror.complex)) mirrored.emplace_back(mirror.complex, *latin);
    }
  }
  std::string key = part.name + '\n' + original.attribute("style:name").value() + '\n' + family +
                    (toUnicode ? "\nU" : "\nL");
  for (const auto& [attribute, value] : mirrored) key += '\n' + std::string(attribute) + '=' + value;
  if (auto made = made_.find(key); made != made_.end()) return made->second;

  const std::string fontName = DeclareFont(part, family);
  const std::string name = FreeStyleName(part);
  pugi::xml_node automatic = ChildBefore(part.root, {"office:master-styles", "office:body"}, "office:automatic-styles");
  pugi::xml_node style;
  if (original && original.parent() == automatic) {
    // An automatic style is copied: another automatic style cannot be its
    // child, and the text it still styles keeps it as it was.
    style = automatic.append_copy(original);
    style.attribute("style:name").set_value(name.c_str());
  } else {
    style = automatic.append_child("style:style");
    style.append_attribute("style:name").set_value(name.c_str());
    style.append_attribute("style:family").set_value("text");
    if (original) style.append_attribute("style:parent-style-name").set_value(original.attribute("style:name").value());
  }
  pugi::xml_node properties = TextProperties(style);
  for (const char* detail : kLatinFontDetails) properties.remove_attribute(detail);
  Set(properties, "style:font-name", fontName);
  Set(properties, "fo:font-family", Quoted(family));
  if (toUnicode) {
    for (const char* detail : kComplexFontDetails) properties.remove_attribute(detail);
    Set(properties, "style:font-name-complex", fontName);
    // The language of the complex-script text, for spelling and hyphenation.
    Set(properties, "style:language-complex", "ne");
    Set(properties, "style:country-complex", "NP");
    for (const auto& [attribute, value] : mirrored) Set(properties, attribute, value);
  }
  IndexOf(part)->styles.emplace(Key("text", name), style);
  made_.emplace(key, name);
  return name;
}

}  // namespace lk::documents::odf
