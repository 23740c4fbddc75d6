#include "documents/slide_fonts.h"

#include "documents/xlsx_styles.h"
#include "documents/xml_part.h"

namespace lk::documents {
namespace {

// Slide placeholders with no type are content ("obj"); a subtitle, an
// object or a body follow the master's body, a centred title its title.
std::string Normalised(std::string_view type) {
  if (type == "ctrTitle") return "title";
  if (type.empty() || type == "obj" || type == "subTitle") return "body";
  return std::string(type);
}

// The nearest enclosing shape of a text body (p:sp, dsp:sp), or null for
// a table cell or anything else.
pugi::xml_node ShapeOf(pugi::xml_node body) {
  for (pugi::xml_node node = body.parent(); node; node = node.parent()) {
    const std::string_view name = LocalName(node);
    if (name == "sp") return node;
    if (name == "tc" || name == "graphicFrame") return {};
  }
  return {};
}

pugi::xml_node StyleFor(const MasterFonts& master, TextKind kind) {
  switch (kind) {
    case TextKind::kTitle: return master.titleStyle;
    case TextKind::kBody: return master.bodyStyle;
    case TextKind::kOther: return master.otherStyle;
  }
  return {};
}

// A shape's own style may point its text at the theme's heading or body
// font (a:fontRef idx="major"|"minor").
std::string FontReferenceOf(pugi::xml_node shape) {
  const std::string_view index = ChildNamed(ChildNamed(shape, "style"), "fontRef").attribute("idx").value();
  if (index == "major") return "+mj-lt";
  if (index == "minor") return "+mn-lt";
  return {};
}

}  // namespace

pugi::xml_node PlaceholderOf(pugi::xml_node shape) {
  for (pugi::xml_node child : shape.children())
    if (child.type() == pugi::node_element && LocalName(child).starts_with("nv"))
      return ChildNamed(ChildNamed(child, "nvPr"), "ph");
  return {};
}

std::vector<Placeholder> PlaceholdersIn(const pugi::xml_document& part) {
  std::vector<Placeholder> placeholders;
  pugi::xml_node tree = ChildNamed(ChildNamed(part.document_element(), "cSld"), "spTree");
  // Placeholders sit at the top of the shape tree or inside groups.
  std::vector<pugi::xml_node> pending{tree};
  while (!pending.empty()) {
    pugi::xml_node node = pending.back();
    pending.pop_back();
    for (pugi::xml_node child : node.children()) {
      if (child.type() != pugi::node_element) continue;
      const std::string_view name = LocalName(child);
      if (name == "grpSp") {
        pending.push_back(child);
      } else if (name == "sp") {
        if (pugi::xml_node ph = PlaceholderOf(child))
          placeholders.push_back({ph.attribute("type").value(), ParseIndex(ph.attribute("idx").value()),
                                  ChildNamed(ChildNamed(child, "txBody"), "lstStyle")});
      }
    }
  }
  return placeholders;
}

TextKind KindOf(std::string_view placeholderType, bool isPlaceholder) {
  if (!isPlaceholder) return TextKind::kOther;
  const std::string type = Normalised(placeholderType);
  if (type == "title") return TextKind::kTitle;
  if (type == "body" || type == "pic" || type == "tbl" || type == "chart" || type == "dgm" || type == "media" ||
      type == "clipArt")
    return TextKind::kBody;
  return TextKind::kOther;
}

const Placeholder* MatchPlaceholder(const std::vector<Placeholder>& candidates, std::string_view type,
                                    std::optional<std::uint32_t> index) {
  if (index)
    for (const Placeholder& p : candidates)
      if (p.index == index) return &p;
  const std::string wanted = Normalised(type);
  for (const Placeholder& p : candidates)
    if (Normalised(p.type) == wanted) return &p;
  return nullptr;
}

bool ConvertSlideText(pugi::xml_document& part, const SlideContext& context, const ThemeFonts& theme,
                      const ConvertSettings& settings, Tally& tally) {
  // Collected first: conversion adds runs, never text bodies.
  std::vector<pugi::xml_node> bodies;
  for (pugi::xpath_node found : part.select_nodes("//*[local-name()='txBody']")) bodies.push_back(found.node());

  bool changed = false;
  std::vector<pugi::xml_node> chain;
  for (pugi::xml_node body : bodies) {
    chain.clear();
    const pugi::xml_node shape = ShapeOf(body);
    const pugi::xml_node ph = shape ? PlaceholderOf(shape) : pugi::xml_node();
    std::string fallback = "+mn-lt";
    if (ph) {
      std::string type = ph.attribute("type").value();
      const std::optional<std::uint32_t> index = ParseIndex(ph.attribute("idx").value());
      if (context.layout) {
        if (const Placeholder* onLayout = MatchPlaceholder(context.layout->placeholders, type, index)) {
          chain.push_back(onLayout->listStyle);
          if (!onLayout->type.empty()) type = onLayout->type;
        }
      }
      if (context.master) {
        if (!context.partIsMaster)
          if (const Placeholder* onMaster = MatchPlaceholder(context.master->placeholders, type, std::nullopt))
            chain.push_back(onMaster->listStyle);
        chain.push_back(StyleFor(*context.master, KindOf(type, true)));
      }
      if (KindOf(type, true) == TextKind::kTitle) fallback = "+mj-lt";
    } else if (shape) {
      if (std::string reference = FontReferenceOf(shape); !reference.empty()) fallback = reference;
    }
    chain.push_back(context.presentationDefaults);
    changed |= ConvertDrawingParagraphsBelow(body, chain, fallback, theme, settings, tally);
  }
  return changed;
}

}  // namespace lk::documents
