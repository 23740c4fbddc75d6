#pragma once
// The control identifiers of the program's windows: a public contract that
// automation tools rely on, so the tests name them once, here.
namespace lk::e2e {

// Toolbar.
inline constexpr int kCommand1 = 101;
inline constexpr int kCommand2 = 102;
inline constexpr int kCommand3 = 103;
inline constexpr int kCommand4 = 104;
inline constexpr int kCommand6 = 106;
inline constexpr int kCommand7 = 107;
inline constexpr int kCommand10 = 110;
inline constexpr int kFonts = 120;
inline constexpr int kTargetField = 130;
inline constexpr int kQuickText = 140;
inline constexpr int kMarker = 150;
inline constexpr int kLogo = 160;
inline constexpr int kPanel = 170;
inline constexpr int kFirstKey = 1000;
inline constexpr int kKeyCount = 224;

// Select Application.
inline constexpr int kList = 202;
inline constexpr int kCancel = 204;
inline constexpr int kOk = 205;

// Customize Buttons.
inline constexpr int kCharacter = 360;
inline constexpr int kRepeat = 370;
inline constexpr int kTooltip6 = 380;
inline constexpr int kCaption6 = 390;
inline constexpr int kFontList = 400;
inline constexpr int kSizeList = 410;
inline constexpr int kClose = 421;
inline constexpr int kSave = 422;
inline constexpr int kLoadDefault = 423;

}  // namespace lk::e2e
