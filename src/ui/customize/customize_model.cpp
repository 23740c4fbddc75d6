#include "ui/customize/customize_model.h"

#include <algorithm>
#include <iterator>
#include <utility>

#include "commands/button_slots.h"
#include "text/number.h"
#include "text/trim.h"

namespace lk::ui::customize {
namespace {

// Key prefixes of Index 0-5: insertion, sample, insertion, result, caption, tooltip.
constexpr std::string_view kPrefixes[kColumns] = {"in1", "sel", "in2", "res", "cap", "ttt"};

static_assert(commands::kFactoryRows == kRows && commands::kFactoryColumns == kColumns);

// Limits beyond which a stored size would draw nothing readable in a field.
constexpr double kSmallestPoints = 1;
constexpr double kLargestPoints = 400;

int RowOf(int field) { return (field - 300) / 10; }
int IndexOf(int field) { return (field - 300) % 10; }
bool IsGridField(int field) {
  return field >= id::Field(1, 0) && field < id::Field(kRows + 1, 0) && IndexOf(field) < kColumns;
}

int SlotOf(int field) {
  if (IsGridField(field)) return (RowOf(field) - 1) * kColumns + IndexOf(field);
  switch (field) {
    case id::kCharacter: return kRows * kColumns;
    case id::kRepeat: return kRows * kColumns + 1;
    case id::kTooltip6: return kRows * kColumns + 2;
    case id::kCaption6: return kRows * kColumns + 3;
    default: return -1;
  }
}

}  // namespace

bool IsField(int controlId) { return SlotOf(controlId) >= 0; }

bool IsOneCharacterField(int controlId) {
  return IsGridField(controlId) && RowOf(controlId) <= 2 && (IndexOf(controlId) == 0 || IndexOf(controlId) == 2);
}

void CustomizeModel::Open() {
  fontNames_ = shell_.ScreenFonts();
  LoadCustomSettings();
}

void CustomizeModel::LoadCustomSettings() {
  using settings::ReadSetting;
  // The dialog has always read these two under this spelling; the store
  // ignores letter case, so they meet what Save writes.
  SelectFont(ReadSetting(store_, "customize", "cFontName", "Preeti"));
  SelectSize(ReadSetting(store_, "customize", "fontsize", "14"));

  // Column by column: a row's stored sample comes after its first insertion
  // and its stored result after its second, so the stored values are what
  // the fields end with, not what the preview computed on the way.
  for (int index = 0; index < kColumns; ++index)
    for (int row = 1; row <= kRows; ++row)
      SetText(id::Field(row, index), ReadSetting(store_, commands::kSection, commands::SlotKey(kPrefixes[index], row), "x"));

  // Blank defaults: the store drops their blanks, so these start empty.
  SetText(id::kCharacter, commands::ReadCharacter(store_, " "));
  SetText(id::kRepeat, ReadSetting(store_, commands::kSection, "Repeat", "3"));
  SetText(id::kCaption6, ReadSetting(store_, commands::kSection, "cap06", "  "));
  SetText(id::kTooltip6, ReadSetting(store_, commands::kSection, "ttt06", "  "));
}

void CustomizeModel::LoadDefaults() {
  for (int row = 1; row <= kRows; ++row)
    for (int index = 0; index < kColumns; ++index) SetText(id::Field(row, index), commands::kFactoryButtons[row - 1][index]);
  SetText(id::kCharacter, "=");
  SetText(id::kRepeat, "3");
  SetText(id::kTooltip6, "Dot Dot Dot");
  SetText(id::kCaption6, "===");
}

bool CustomizeModel::Save(const std::function<void()>& assign) const {
  bool all = true;
  const auto write = [this, &all](std::string_view key, std::string_view value) {
    if (!store_.Write(commands::kSection, key, value)) all = false;
  };
  for (int row = 1; row <= kRows; ++row)
    for (int index = 0; index < kColumns; ++index)
      write(commands::SlotKey(kPrefixes[index], row), Text(id::Field(row, index)));
  write(commands::kCharacterKey, Text(id::kCharacter));
  write("Repeat", Text(id::kRepeat));
  write("cap06", Text(id::kCaption6));
  write("ttt06", Text(id::kTooltip6));
  write("fontsize", SizeListText());
  write("CfontName", FontListText());
  // What did get written counts at once.
  if (assign) assign();
  if (!all) shell_.ShowMessage(std::string(kNotSaved), {platform::BoxKind::kStop}, std::string(kMessageTitle));
  return all;
}

void CustomizeModel::SetText(int field, std::string_view text) {
  if (Store(field, std::string(text))) React(field);
}

const std::string& CustomizeModel::Text(int field) const {
  static const std::string kNoText;
  const int slot = SlotOf(field);
  return slot < 0 ? kNoText : texts_[static_cast<std::size_t>(slot)];
}

bool CustomizeModel::Store(int field, std::string text) {
  const int slot = SlotOf(field);
  if (slot < 0) return false;
  // The limit holds for every assignment, so a longer stored value is cut too.
  if (IsOneCharacterField(field) && text.size() > 1) text.resize(1);
  std::string& current = texts_[static_cast<std::size_t>(slot)];
  if (current == text) return false;
  current = std::move(text);
  if (std::find(changed_.begin(), changed_.end(), field) == changed_.end()) changed_.push_back(field);
  return true;
}

void CustomizeModel::React(int field) {
  if (IsGridField(field))
    Preview(RowOf(field), IndexOf(field));
  else if (field == id::kRepeat)
    CheckCount();
}

void CustomizeModel::Preview(int row, int index) {
  // Only samples and results are written here, and their own changes run
  // nothing, so the preview cannot chain.
  if (index != 0 && index != 2) return;
  const std::string& first = Text(id::Field(row, 0));
  const std::string& second = Text(id::Field(row, 2));
  // Buttons 1 and 2 are previewed forward only: the sample always holds the
  // first insertion, so it depends on it alone and the result on the second.
  if (row == 1 || row == 2) {
    const std::string letter = row == 1 ? "s" : "g";
    if (index == 0)
      SetText(id::Field(row, 1), row == 1 ? first + letter : letter + first);
    else
      SetText(id::Field(row, 3), letter + second);
    return;
  }
  SetText(id::Field(row, 3), first + Text(id::Field(row, 1)) + second);
}

void CustomizeModel::CheckCount() {
  if (text::ParseNumeric(Text(id::kRepeat))) return;
  shell_.ShowMessage(std::string(kNumericRequired), {}, std::string(kMessageTitle));
  // Emptying the count is itself a change, but it does not run this check
  // again: one bad entry gives one message, and the check can never loop.
  Store(id::kRepeat, "");
  focusRequested_ = true;
}

std::vector<int> CustomizeModel::TakeChangedFields() { return std::exchange(changed_, {}); }

bool CustomizeModel::TakeFocusRequest() { return std::exchange(focusRequested_, false); }

// A stored name that is not installed cannot be shown by the list, which then
// shows no entry. The styled fields are still given the stored name, so the
// font mapper draws its nearest match, and a font installed later is found
// again. Save writes what the list shows, so saving from that state stores
// an empty name.
void CustomizeModel::SelectFont(std::string_view stored) {
  const auto found = std::find_if(fontNames_.begin(), fontNames_.end(),
                                  [&](const std::string& name) { return text::EqualsIgnoreCase(name, stored); });
  if (found == fontNames_.end()) {
    fontIndex_ = -1;
    styledFontName_ = std::string(stored);
    return;
  }
  PickFont(static_cast<int>(found - fontNames_.begin()));
}

// A stored size that is not one of the entries leaves the list without an
// entry too. The fields then take the stored number when it is a sensible
// size in points, and the design size otherwise; Save writes the empty text
// the list shows.
void CustomizeModel::SelectSize(std::string_view stored) {
  for (int index = 0; index < static_cast<int>(std::size(kSizes)); ++index) {
    if (kSizes[index] == stored) {
      PickSize(index);
      return;
    }
  }
  sizeIndex_ = -1;
  const auto points = text::ParseNumeric(stored);
  styledPoints_ = (points && *points >= kSmallestPoints && *points <= kLargestPoints) ? static_cast<float>(*points)
                                                                                      : kDefaultPoints;
}

void CustomizeModel::PickFont(int index) {
  if (index < 0 || index >= static_cast<int>(fontNames_.size())) return;
  fontIndex_ = index;
  styledFontName_ = fontNames_[static_cast<std::size_t>(index)];
}

void CustomizeModel::PickSize(int index) {
  if (index < 0 || index >= static_cast<int>(std::size(kSizes))) return;
  sizeIndex_ = index;
  styledPoints_ = static_cast<float>(text::ParseNumeric(kSizes[index]).value_or(kDefaultPoints));
}

std::string CustomizeModel::FontListText() const {
  return fontIndex_ < 0 ? std::string() : fontNames_[static_cast<std::size_t>(fontIndex_)];
}

std::string CustomizeModel::SizeListText() const {
  return sizeIndex_ < 0 ? std::string() : std::string(kSizes[sizeIndex_]);
}

}  // namespace lk::ui::customize
