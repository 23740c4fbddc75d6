// End-to-end cases of the legacy test font. scripts/test draws "Lekhopakar
// Test Legacy" from the converter's Preeti table and scripts/wine-env installs
// it in every prefix: Wine has to draw the codes with the font's own glyphs,
// and a person has to be able to choose it in the toolbar's font list.
#include <windows.h>

#include <string>
#include <vector>

#include "cases.h"
#include "check.h"
#include "control_ids.h"
#include "input.h"
#include "program_folder.h"
#include "toolbar_process.h"
#include "wait.h"
#include "windows_query.h"

namespace lk::e2e {
namespace {

constexpr wchar_t kTestFont[] = L"Lekhopakar Test Legacy";
const std::string kNotInstalled =
    "\"Lekhopakar Test Legacy\" is not installed in this Wine prefix (scripts/test draws it into "
    "build/fonts and scripts/wine-env installs it)";

LRESULT Ask(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  DWORD_PTR result = 0;
  Expect(SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, kUiTimeoutMs, &result) != 0,
         "window " + Narrow(ClassName(window)) + " did not answer message " + std::to_string(message));
  return static_cast<LRESULT>(result);
}

RECT ScreenRectOf(HWND window) {
  RECT rect{};
  GetWindowRect(window, &rect);
  return rect;
}

HWND MouseCaptureOf(HWND window) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  return GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info) ? info.hwndCapture : nullptr;
}

// Wine keeps a font it lists but cannot read under another face, and draws a
// code the font lacks with a fallback glyph; either would make every
// screenshot show Latin letters again.
void WineDrawsCodesWithTheTestFont(const Context&) {
  Expect(FontInstalled(kTestFont), kNotInstalled);
  LOGFONTW wanted{};
  wanted.lfHeight = -48;
  wanted.lfCharSet = DEFAULT_CHARSET;
  lstrcpynW(wanted.lfFaceName, kTestFont, LF_FACESIZE);
  HFONT font = CreateFontIndirectW(&wanted);
  Expect(font != nullptr, "CreateFontIndirectW failed for the test font");
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ previous = SelectObject(dc, font);

  wchar_t face[LF_FACESIZE] = {};
  GetTextFaceW(dc, LF_FACESIZE, face);
  // Every printable ASCII code draws something in Preeti.
  std::wstring codes;
  for (wchar_t c = 0x21; c <= 0x7E; ++c) codes += c;
  std::vector<WORD> glyphs(codes.size());
  const DWORD mapped = GetGlyphIndicesW(dc, codes.c_str(), static_cast<int>(codes.size()), glyphs.data(),
                                        GGI_MARK_NONEXISTING_GLYPHS);
  // The reph is drawn over the syllable before it and takes no room.
  ABC reph{};
  const BOOL measured = GetCharABCWidthsW(dc, L'{', L'{', &reph);
  SIZE letter{};
  GetTextExtentPoint32W(dc, L"s", 1, &letter);

  SelectObject(dc, previous);
  DeleteDC(dc);
  DeleteObject(font);

  Expect(std::wstring(face) == kTestFont, "Wine chose " + Quote(face) + " for the test font");
  Expect(mapped == codes.size(), "GetGlyphIndicesW mapped " + std::to_string(mapped) + " of " +
                                     std::to_string(codes.size()) + " codes");
  for (std::size_t i = 0; i < codes.size(); ++i) {
    Expect(glyphs[i] != 0xFFFF && glyphs[i] != 0,
           "the test font has no glyph for " + Quote(std::wstring(1, codes[i])) + " under Wine");
  }
  Expect(measured && static_cast<int>(reph.abcA) + static_cast<int>(reph.abcB) + reph.abcC == 0,
         "the reph code '{' advances the pen by " +
             std::to_string(static_cast<int>(reph.abcA) + static_cast<int>(reph.abcB) + reph.abcC));
  Expect(letter.cx > 0, "the code 's' takes no room");
}

// Chosen as a person does: a click drops the list down, a click on the entry
// chooses it; the toolbar keeps it as the last font when it closes.
void TestFontChosenInFontList(const Context& context) {
  Expect(FontInstalled(kTestFont), kNotInstalled);
  ProgramFolder folder(context.exe, context.workDir, L"test_font_chosen");
  folder.WriteIni("[Font]\r\nLastFont=No Such Font Anywhere\r\n");
  Toolbar toolbar(folder.ExePath(), folder.Dir());
  HWND fonts = toolbar.Control(kFonts);
  const int index = ComboFindExact(fonts, kTestFont);
  Expect(index >= 0, "the font list has no entry \"Lekhopakar Test Legacy\"");

  LeftClickAt(Centre(ScreenRectOf(fonts)));
  HWND list = nullptr;
  Expect(WaitUntil(
             [&] {
               const auto lists = TopLevelWindows(toolbar.Pid(), L"", L"ComboLBox");
               list = lists.empty() ? nullptr : lists.front();
               // The list takes the mouse when the button comes up.
               return list && Ask(fonts, CB_GETDROPPEDSTATE, 0, 0) && MouseCaptureOf(fonts) == list;
             },
             kUiTimeoutMs),
         "a click on the font list did not drop it down");
  const int itemHeight = static_cast<int>(Ask(list, LB_GETITEMHEIGHT, 0, 0));
  RECT client{};
  GetClientRect(list, &client);
  const int rows = itemHeight > 0 ? client.bottom / itemHeight : 0;
  Expect(rows > 0, "the dropped font list shows no whole entry");
  int top = static_cast<int>(Ask(list, LB_GETTOPINDEX, 0, 0));
  if (index < top || index >= top + rows) {
    // Scrolled into view without choosing anything on the way.
    Ask(list, LB_SETTOPINDEX, static_cast<WPARAM>(index), 0);
    top = static_cast<int>(Ask(list, LB_GETTOPINDEX, 0, 0));
    Expect(index >= top && index < top + rows, "the test font's entry cannot be scrolled into view");
  }
  POINT entry{client.right / 2, (index - top) * itemHeight + itemHeight / 2};
  ClientToScreen(list, &entry);
  LeftClickAt(entry);
  Expect(WaitUntil([&] { return ComboSelection(fonts) == index && !Ask(fonts, CB_GETDROPPEDSTATE, 0, 0); },
                   kUiTimeoutMs),
         "a click on the test font's entry did not choose it; selected: " +
             Quote(ComboItem(fonts, ComboSelection(fonts))));
  Expect(WindowText(fonts) == kTestFont, "the font list shows " + Quote(WindowText(fonts)));
  // The keys keep their codes as captions; the font gives them their glyphs.
  HWND keyK = toolbar.Control(kFirstKey + ('k' - 32));
  Expect(WaitUntil([&] { return WindowText(keyK) == L"k"; }, kUiTimeoutMs),
         "the key of code 'k' shows " + Quote(WindowText(keyK)));
  Expect(Responds(toolbar.Window()), "the toolbar does not answer after the font choice");

  toolbar.PostClose();
  toolbar.ExpectExit("after WM_CLOSE");
  const auto bytes = folder.ReadIni();
  Expect(bytes.has_value(), "no LK.ini after closing");
  const auto last = IniValue(*bytes, "Font", "LastFont");
  Expect(last == "Lekhopakar Test Legacy", "LK.ini [Font] LastFont is " + (last ? QuoteBytes(*last) : "absent"));
}

}  // namespace

std::vector<Case> TestFontCases() {
  return {
      {"test_font_drawn_by_wine", WineDrawsCodesWithTheTestFont},
      {"test_font_chosen_in_font_list", TestFontChosenInFontList},
  };
}

}  // namespace lk::e2e
