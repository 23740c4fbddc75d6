#pragma once
// The Customize Buttons dialog without its window: the fields' texts, the
// reactions that run inside every change of them (the preview of rows 1-5 and
// the count check), loading, the factory values, Save, and which font the
// styled fields are drawn in.
//
// The model is the source of truth for every field. Each assignment, whether
// the user typed it or the program made it, goes through SetText and runs the
// field's reaction at once; the window asks afterwards which fields changed
// and copies those texts to its controls.
#include <array>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/shell.h"
#include "settings/settings_store.h"
#include "ui/customize/customize_layout.h"
#include "ui/layout/window_titles.h"

namespace lk::ui::customize {

inline constexpr std::string_view kNumericRequired = "Numeric value required";
inline constexpr std::string_view kNotSaved = "The settings could not be saved: LK.ini or its folder cannot be written.";
inline constexpr std::string_view kMessageTitle = kProgramName;

// The fields the model keeps: 30 of the grid, then Text6 to Text9.
inline constexpr int kFieldCount = kRows * kColumns + 4;
bool IsField(int controlId);
// Insertions of buttons 1 and 2 hold one character: their commands compare
// each with a single character of the selection.
bool IsOneCharacterField(int controlId);

// The design size of the styled fields, used when the stored size is no number.
inline constexpr float kDefaultPoints = 14;

class CustomizeModel {
 public:
  CustomizeModel(platform::Shell& shell, const settings::SettingsStore& store) : shell_(shell), store_(store) {}

  // The dialog's Load: the installed fonts in the system's order, then every
  // field and both lists from the settings file.
  void Open();
  // The factory values into the fields; the lists and the file stay as they are.
  void LoadDefaults();
  // Writes the 36 values to the file, then lets the toolbar relabel itself.
  // A value that could not be written keeps its old one; then the user is
  // told once, and false comes back.
  bool Save(const std::function<void()>& assign) const;

  // An assignment to a field. Text identical to what the field holds is no
  // change and runs nothing, as with a text box. Ids come from window
  // messages: one that is no field holds no text and takes none.
  void SetText(int field, std::string_view text);
  const std::string& Text(int field) const;

  // Fields whose text changed since the last call, each once, in the order of
  // their first change.
  std::vector<int> TakeChangedFields();
  // Whether the count check asked for the focus on the count since the last call.
  bool TakeFocusRequest();

  // The two lists. An index of -1 is a list showing no entry.
  const std::vector<std::string>& fontNames() const { return fontNames_; }
  int fontIndex() const { return fontIndex_; }
  int sizeIndex() const { return sizeIndex_; }
  void PickFont(int index);
  void PickSize(int index);
  // What the lists show, as Save writes it: empty when no entry is shown.
  std::string FontListText() const;
  std::string SizeListText() const;

  // What the 27 styled fields are drawn in.
  const std::string& styledFontName() const { return styledFontName_; }
  float styledPoints() const { return styledPoints_; }

 private:
  void LoadCustomSettings();
  void SelectFont(std::string_view stored);
  void SelectSize(std::string_view stored);
  // Stores a text; true when it was a change.
  bool Store(int field, std::string text);
  void React(int field);
  void Preview(int row, int index);
  void CheckCount();

  platform::Shell& shell_;
  const settings::SettingsStore& store_;
  std::array<std::string, kFieldCount> texts_{};
  std::vector<int> changed_;
  bool focusRequested_ = false;

  std::vector<std::string> fontNames_;
  int fontIndex_ = -1;
  int sizeIndex_ = -1;
  std::string styledFontName_;
  float styledPoints_ = kDefaultPoints;
};

}  // namespace lk::ui::customize
