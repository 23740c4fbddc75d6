#pragma once
// The control identifiers of every window of the program. Automation and
// accessibility tools rely on them, so they live here once, where the
// toolbar, the dialogs and the end-to-end driver all read them.

namespace lk::ui {

namespace toolbar {
inline constexpr int kKeyCount = 224;
namespace id {
inline constexpr int kCommand1 = 101;
inline constexpr int kCommand2 = 102;
inline constexpr int kCommand3 = 103;
inline constexpr int kCommand4 = 104;
inline constexpr int kCommand5 = 105;
inline constexpr int kCommand6 = 106;
inline constexpr int kCommand7 = 107;
inline constexpr int kCommand10 = 110;
inline constexpr int kFonts = 120;
inline constexpr int kTargetField = 130;
inline constexpr int kQuickText = 140;
inline constexpr int kMarker = 150;
inline constexpr int kLogo = 160;
inline constexpr int kPanel = 170;
inline constexpr int kFirstKey = 1000;  // key B(i) is 1000 + i
}  // namespace id
}  // namespace toolbar

namespace select_application::id {
inline constexpr int kLabel = 201;
inline constexpr int kList = 202;
inline constexpr int kRefresh = 203;
inline constexpr int kCancel = 204;
inline constexpr int kOk = 205;
}  // namespace select_application::id

namespace customize::id {
// Row N (1-5), Index k (0-5).
constexpr int Field(int row, int index) { return 300 + 10 * row + index; }
inline constexpr int kCharacter = 360;  // Text6
inline constexpr int kRepeat = 370;     // Text7
inline constexpr int kTooltip6 = 380;   // Text8
inline constexpr int kCaption6 = 390;   // Text9
inline constexpr int kFontList = 400;   // Combo1
inline constexpr int kSizeList = 410;   // Combo2
inline constexpr int kClose = 421;      // Command1
inline constexpr int kSave = 422;       // Command2
inline constexpr int kLoadDefault = 423;  // Command3
// Labels are not part of the public contract; Label N gets 500 + N so that
// each still has an identifier of its own.
constexpr int Label(int n) { return 500 + n; }
}  // namespace customize::id

// The window that converts whole documents.
namespace documents::id {
inline constexpr int kHeading = 601;
inline constexpr int kCurrentFile = 602;
inline constexpr int kProgress = 603;
inline constexpr int kSummary = 604;
inline constexpr int kOpenFolder = 605;
inline constexpr int kCancel = 606;  // "Close" once the run has ended
}  // namespace documents::id

}  // namespace lk::ui
