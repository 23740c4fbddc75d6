#include "documents/docx_run_properties.h"

#include <algorithm>
#include <array>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

namespace lk::documents::docx {
namespace {

// CT_RPr's children in the order the schema gives them.
constexpr std::string_view kRunPropertyOrder[] = {
    "rStyle",   "rFonts",   "b",          "bCs",   "i",         "iCs",        "caps",      "smallCaps",
    "strike",   "dstrike",  "outline",    "shadow", "emboss",   "imprint",    "noProof",   "snapToGrid",
    "vanish",   "webHidden", "color",     "spacing", "w",       "kern",       "position",  "sz",
    "szCs",     "highlight", "u",         "effect", "bdr",      "shd",        "fitText",   "vertAlign",
    "rtl",      "cs",       "em",         "lang",  "eastAsianLayout", "specVanish", "oMath"};
constexpr int kExtension = 100;     // another namespace's (w14:ligatures): after the schema's own
constexpr int kChangeRecord = 200;  // w:rPrChange closes the sequence

// Asked for every child of a run's properties each time a converted run
// gains one. Names are sorted by length first, so a lookup compares only
// the few of the same length: hashing each short name cost more.
int RankOf(std::string_view local) {
  constexpr std::size_t kLongest = 16;
  static const std::array<std::vector<std::pair<std::string_view, int>>, kLongest + 1> byLength = [] {
    std::array<std::vector<std::pair<std::string_view, int>>, kLongest + 1> made;
    for (int i = 0; i < static_cast<int>(std::size(kRunPropertyOrder)); ++i)
      made[kRunPropertyOrder[i].size()].emplace_back(kRunPropertyOrder[i], i);
    made[std::string_view("rPrChange").size()].emplace_back("rPrChange", kChangeRecord);
    return made;
  }();
  if (local.size() > kLongest) return kExtension;
  for (const auto& [name, rank] : byLength[local.size()])
    if (name == local) return rank;
  return kExtension;
}

int RankOf(pugi::xml_node child, const Wml& w) {
  const std::optional<std::string_view> local = w.Local(child.name());
  return local ? RankOf(*local) : kExtension;
}

void SetAttr(pugi::xml_node node, std::string_view local, std::string_view value, const Wml& w) {
  pugi::xml_attribute a = w.Attr(node, local);
  if (!a) a = node.append_attribute(w.Name(local).c_str());
  a.set_value(value.data(), value.size());
}

// One pass over the attributes, for every converted run: theme attributes
// go, the slots there take the family, and the missing slots follow in
// their usual order.
void SetAllSlots(pugi::xml_node run, std::string_view family, const Wml& w) {
  static constexpr std::string_view kSlots[] = {"ascii", "hAnsi", "eastAsia", "cs"};
  static constexpr std::string_view kThemes[] = {"asciiTheme", "hAnsiTheme", "eastAsiaTheme", "cstheme"};
  pugi::xml_node fonts = PropertyOf(RunPropertiesOf(run, w), "rFonts", w);
  bool set[std::size(kSlots)] = {};
  for (pugi::xml_attribute a = fonts.first_attribute(); a;) {
    const pugi::xml_attribute next = a.next_attribute();
    if (const std::optional<std::string_view> local = w.Local(a.name())) {
      if (std::find(std::begin(kThemes), std::end(kThemes), *local) != std::end(kThemes)) {
        fonts.remove_attribute(a);
      } else if (const auto slot = std::find(std::begin(kSlots), std::end(kSlots), *local); slot != std::end(kSlots)) {
        bool& done = set[slot - std::begin(kSlots)];
        if (!done) a.set_value(family.data(), family.size());
        done = true;
      }
    }
    a = next;
  }
  for (std::size_t i = 0; i < std::size(kSlots); ++i)
    if (!set[i]) fonts.append_attribute(w.Name(kSlots[i]).c_str()).set_value(family.data(), family.size());
}

void MirrorToggle(pugi::xml_node rPr, std::string_view twin, std::optional<bool> latin, std::optional<bool> complex,
                  const Wml& w) {
  const bool wanted = latin.value_or(false);
  if (wanted == complex.value_or(false)) return;
  pugi::xml_node element = PropertyOf(rPr, twin, w);
  const pugi::xml_attribute val = w.Attr(element, "val");
  if (wanted) {
    if (val) element.remove_attribute(val);
  } else {
    SetAttr(element, "val", "0", w);
  }
}

}  // namespace

pugi::xml_node RunPropertiesOf(pugi::xml_node run, const Wml& w) {
  if (pugi::xml_node rPr = w.Child(run, "rPr")) return rPr;
  return run.prepend_child(w.Name("rPr").c_str());
}

pugi::xml_node PropertyOf(pugi::xml_node rPr, std::string_view local, const Wml& w) {
  if (pugi::xml_node existing = w.Child(rPr, local)) return existing;
  const int rank = RankOf(local);
  for (pugi::xml_node c = rPr.first_child(); c; c = c.next_sibling()) {
    if (c.type() == pugi::node_element && RankOf(c, w) > rank) return rPr.insert_child_before(w.Name(local).c_str(), c);
  }
  return rPr.append_child(w.Name(local).c_str());
}

void GiveUnicodeFont(pugi::xml_node run, const RunProps& resolved, std::string_view unicodeFont, const Wml& w) {
  SetAllSlots(run, unicodeFont, w);
  pugi::xml_node rPr = RunPropertiesOf(run, w);
  MirrorToggle(rPr, "bCs", resolved.b, resolved.bCs, w);
  MirrorToggle(rPr, "iCs", resolved.i, resolved.iCs, w);
  if (resolved.sz && resolved.szCs != resolved.sz) SetAttr(PropertyOf(rPr, "szCs", w), "val", *resolved.sz, w);
  SetAttr(PropertyOf(rPr, "lang", w), "bidi", "ne-NP", w);
}

void GiveLegacyFont(pugi::xml_node run, std::string_view family, const Wml& w) { SetAllSlots(run, family, w); }

}  // namespace lk::documents::docx
