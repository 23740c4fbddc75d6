// End-to-end cases of the legacy test font. scripts/test draws "Lekhopakar
// Test Legacy" from the converter's Preeti table and scripts/wine-env installs
// it in every prefix: Wine has to draw the codes with the font's own glyphs,
// and a person has to be able to choose it in the toolbar's font list.
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "cases.h"
#include "check.h"
#include "control_ids.h"
#include "input.h"
#include "program_folder.h"
#include "session.h"
#include "toolbar_actions.h"
#include "toolbar_process.h"
#include "wait.h"
#include "windows_query.h"

namespace lk::e2e {
namespace {

constexpr wchar_t kTestFont[] = L"Lekhopakar Test Legacy";
const std::string kNotInstalled =
    "\"Lekhopakar Test Legacy\" is not installed in this Wine prefix (scripts/test draws it into "
    "build/fonts and scripts/wine-env installs it)";

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
  ToolbarRun run(context, "[Font]\r\nLastFont=No Such Font Anywhere\r\n");
  ChooseFont(run.toolbar, kTestFont);
  const std::wstring shown = WindowText(run.toolbar.Control(kFonts));
  Expect(shown == kTestFont, "the font list shows " + Quote(shown));
  // The keys keep their codes as captions; the font gives them their glyphs.
  ExpectCaption(run.toolbar, kFirstKey + ('k' - 32), L"k", kUiTimeoutMs);
  Expect(Responds(run.toolbar.Window()), "the toolbar does not answer after the font choice");
  run.toolbar.Close();
  ExpectIni(run.folder, "Font", "LastFont", "Lekhopakar Test Legacy");
}

// The pixels of a screen rectangle as Wine shows them now.
std::vector<DWORD> ScreenPixels(const RECT& area) {
  const int width = area.right - area.left;
  const int height = area.bottom - area.top;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HBITMAP picture = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ previous = SelectObject(memory, picture);
  const BOOL copied = BitBlt(memory, 0, 0, width, height, screen, area.left, area.top, SRCCOPY);
  GdiFlush();
  std::vector<DWORD> pixels;
  if (copied && bits) {
    const auto* first = static_cast<const DWORD*>(bits);
    pixels.assign(first, first + static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
  }
  SelectObject(memory, previous);
  DeleteObject(picture);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  Expect(!pixels.empty(), "cannot read the screen");
  return pixels;
}

std::size_t PixelsApart(const std::vector<DWORD>& a, const std::vector<DWORD>& b) {
  std::size_t apart = 0;
  for (std::size_t i = 0; i < std::min(a.size(), b.size()); ++i) apart += (a[i] & 0xFFFFFF) != (b[i] & 0xFFFFFF);
  return apart;
}

// The keypad's first sight is drawn in one pass by the toolbar; it must be
// what every key's own paint draws. Each key is pressed (its own paint,
// sunken) and let go (its own paint again, raised): the keypad must come
// back to the pixels of its first sight.
void KeypadFirstSightIsWhatKeysPaint(const Context& context) {
  Expect(FontInstalled(kTestFont), kNotInstalled);
  ToolbarRun run(context, "[Font]\r\nLastFont=Lekhopakar Test Legacy\r\n");
  RECT keypad{};
  for (int i = 0; i < kKeyCount; ++i) {
    const RECT key = ScreenRect(run.toolbar.Control(kFirstKey + i));
    UnionRect(&keypad, &keypad, &key);
  }
  // The pointer away from the toolbar: a tooltip would lie over keys.
  MoveMouseTo({GetSystemMetrics(SM_CXSCREEN) - 20, GetSystemMetrics(SM_CYSCREEN) - 20});
  std::vector<DWORD> first = ScreenPixels(keypad);
  Expect(WaitUntil(
             [&] {
               std::vector<DWORD> now = ScreenPixels(keypad);
               const bool still = now == first;
               first = std::move(now);
               return still;
             },
             kUiTimeoutMs, 100),
         "the keypad's first sight does not settle");
  const auto pressAll = [&](BOOL down) {
    for (int i = 0; i < kKeyCount; ++i) SendMessageW(run.toolbar.Control(kFirstKey + i), BM_SETSTATE, down, 0);
  };
  pressAll(TRUE);
  Expect(WaitUntil([&] { return PixelsApart(ScreenPixels(keypad), first) > 0; }, kUiTimeoutMs, 20),
         "pressed keys do not show it");
  pressAll(FALSE);
  std::size_t apart = 0;
  const bool same = WaitUntil(
             [&] {
               apart = PixelsApart(ScreenPixels(keypad), first);
               return apart == 0;
             },
             kUiTimeoutMs, 20);
  if (!same) {
    const std::vector<DWORD> now = ScreenPixels(keypad);
    const int width = keypad.right - keypad.left;
    std::string where;
    for (std::size_t i = 0, shown = 0; i < now.size() && shown < 8; ++i)
      if ((now[i] & 0xFFFFFF) != (first[i] & 0xFFFFFF)) {
        where += " (" + std::to_string(i % width) + "," + std::to_string(i / width) + ") " +
                 std::to_string(first[i] & 0xFFFFFF) + "->" + std::to_string(now[i] & 0xFFFFFF);
        ++shown;
      }
    Fail("the keys painted one by one differ from the keypad's first sight in " + std::to_string(apart) +
         " pixels, first at" + where);
  }
  run.toolbar.Close();
}

}  // namespace

std::vector<Case> TestFontCases() {
  return {
      {"test_font_drawn_by_wine", WineDrawsCodesWithTheTestFont},
      {"test_font_chosen_in_font_list", TestFontChosenInFontList},
      {"keypad_first_sight_is_what_keys_paint", KeypadFirstSightIsWhatKeysPaint},
  };
}

}  // namespace lk::e2e
