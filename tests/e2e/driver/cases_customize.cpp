// The Customize Buttons dialog driven with real input: opened from the
// toolbar's "C", typed into, saved, closed, and its fields read back.
#include <windows.h>

#include <cstdlib>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "cases.h"
#include "check.h"
#include "control_ids.h"
#include "input.h"
#include "popups.h"
#include "program_folder.h"
#include "session.h"
#include "toolbar_actions.h"
#include "toolbar_process.h"
#include "wait.h"
#include "windows_query.h"

namespace lk::e2e {
namespace {

constexpr wchar_t kDialogTitle[] = L"Customize Buttons";

std::string Id(int id) { return std::to_string(id); }

POINT g_lastClick{-1000, -1000};

void ClickAt(POINT point) {
  LeftClickAt(point);
  g_lastClick = point;
}

// Two clicks on nearly the same spot soon after each other make a double
// click, which an edit field answers by selecting a word without taking the
// focus. A click into `rect` therefore keeps off the spot of the last click,
// whenever that was.
void ClickIn(const RECT& rect) {
  POINT point = Centre(rect);
  const int apartX = GetSystemMetrics(SM_CXDOUBLECLK) + 2;
  if (std::abs(point.x - g_lastClick.x) < apartX &&
      std::abs(point.y - g_lastClick.y) <= GetSystemMetrics(SM_CYDOUBLECLK)) {
    point.x = g_lastClick.x + apartX < rect.right - 1 ? g_lastClick.x + apartX : g_lastClick.x - apartX;
  }
  ClickAt(point);
}

// --- the dialog as a person meets it ---------------------------------------

class Dialog {
 public:
  // Clicks the toolbar's "C" and waits for the dialog to be shown and idle.
  explicit Dialog(const Toolbar& toolbar) : toolbar_(toolbar) {
    RECT button{};
    GetWindowRect(toolbar.Control(kCommand10), &button);
    ClickIn(button);
    std::vector<HWND> found;
    Expect(WaitUntil(
               [&] {
                 found = TopLevelWindows(toolbar.Pid(), kDialogTitle);
                 return !found.empty();
               },
               kUiTimeoutMs),
           "no \"Customize Buttons\" window after a click on \"C\" (" +
               std::to_string(TopLevelWindows(toolbar.Pid(), kToolbarTitle, L"#32770").size()) +
               " message boxes shown)");
    Expect(found.size() == 1, std::to_string(found.size()) + " \"Customize Buttons\" windows");
    window_ = found.front();
    Expect(Responds(window_), "the dialog does not answer messages");
  }

  HWND Window() const { return window_; }

  HWND Item(int id) const {
    HWND item = GetDlgItem(window_, id);
    Expect(item != nullptr, "the dialog has no control with ID " + Id(id));
    return item;
  }

  std::wstring Text(int id) const { return WindowText(Item(id)); }

  HWND Focus() const { return FocusOf(window_); }

  void Click(int id) const {
    RECT rect{};
    GetWindowRect(Item(id), &rect);
    ClickIn(rect);
  }

  // Clicks into a field and selects all of it with Ctrl+A, as a person about
  // to overwrite it does.
  void SelectAllIn(int id) const {
    HWND field = Item(id);
    Click(id);
    Expect(WaitUntil([&] { return Focus() == field; }, kUiTimeoutMs),
           "a click into field " + Id(id) + " left the focus on control " +
               Id(GetDlgCtrlID(Focus())));
    PressKeys({VK_CONTROL, 'A'});
    const auto length = static_cast<DWORD>(Text(id).size());
    Expect(WaitUntil(
               [&] {
                 DWORD_PTR selection = 0;
                 SendMessageTimeoutW(field, EM_GETSEL, 0, 0, SMTO_ABORTIFHUNG, 5000, &selection);
                 return LOWORD(selection) == 0 && HIWORD(selection) == length;
               },
               kUiTimeoutMs),
           "Ctrl+A did not select the whole text of field " + Id(id));
  }

  // Field `id` shows `expected` now, or (for the result of input) within
  // the UI bound.
  void ExpectText(int id, const std::wstring& expected, DWORD withinMs = 0) const {
    const std::wstring text = ReadUntil([&] { return Text(id); }, expected, withinMs);
    Expect(text == expected, "field " + Id(id) + " reads " + Quote(text) + ", expected " + Quote(expected));
  }
  void ExpectTextSoon(int id, const std::wstring& expected) const { ExpectText(id, expected, kUiTimeoutMs); }

  // Overwrites field `id` as a person does and waits until it shows `text`.
  void TypeInto(int id, const std::wstring& text) const {
    SelectAllIn(id);
    TypeText(text);
    ExpectTextSoon(id, text);
  }

  std::optional<std::wstring> ListSelection(int id) const { return ComboSelectedText(Item(id)); }
  void ExpectListShows(int id, const std::optional<std::wstring>& expected) const {
    const auto shown = ListSelection(id);
    Expect(shown == expected, "list " + Id(id) + " shows " + QuoteOr(shown, "nothing") + ", expected " +
                                  QuoteOr(expected, "nothing"));
  }

  // Waits until the dialog is gone and the toolbar takes input again.
  void ExpectClosed(const std::string& after) const {
    Expect(WaitUntil([&] { return !IsWindow(window_); }, kUiTimeoutMs),
           "the dialog is still open " + after);
    Expect(WaitUntil([&] { return IsWindowEnabled(toolbar_.Window()) != 0; }, kUiTimeoutMs),
           "the toolbar is still disabled after the dialog closed");
  }
  void ClickClose() const {
    Click(kClose);
    ExpectClosed("after a click on Close");
  }

 private:
  const Toolbar& toolbar_;
  HWND window_ = nullptr;
};

// LK.ini's entries of one section in file order (section names compared
// without regard to letter case).
std::vector<std::pair<std::string, std::string>> SectionEntries(const std::string& bytes,
                                                                const std::string& section) {
  const auto lower = [](std::string s) {
    for (char& c : s)
      if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return s;
  };
  std::vector<std::pair<std::string, std::string>> entries;
  bool inside = false;
  std::size_t start = 0;
  while (start < bytes.size()) {
    std::size_t end = bytes.find('\n', start);
    if (end == std::string::npos) end = bytes.size();
    std::string line = bytes.substr(start, end - start);
    start = end + 1;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty() && line.front() == '[') {
      inside = lower(line) == "[" + lower(section) + "]";
      continue;
    }
    const auto equals = line.find('=');
    if (inside && equals != std::string::npos)
      entries.emplace_back(line.substr(0, equals), line.substr(equals + 1));
  }
  return entries;
}

std::string ReadIniOrFail(const ProgramFolder& folder) {
  const auto bytes = folder.ReadIni();
  Expect(bytes.has_value(), "there is no LK.ini");
  return *bytes;
}

void ExpectIniUnchanged(const ToolbarRun& run, const std::string& after) {
  const auto now = run.folder.ReadIni();
  const auto& before = run.iniAtStart;
  Expect(now == before, "LK.ini changed " + after + ": it holds " +
                            (now ? QuoteBytes(*now) : std::string("nothing")) + ", before " +
                            (before ? QuoteBytes(*before) : std::string("nothing")));
}

void ExpectCaptionSoon(const Toolbar& toolbar, int id, const std::wstring& expected) {
  ExpectCaption(toolbar, id, expected, kUiTimeoutMs);
}

void ExpectNoMessageBox(const Toolbar& toolbar, const Dialog& dialog, const std::string& after) {
  // A box would have been shown inside the change that called for it, which
  // the dialog has handled once it answers.
  Expect(Responds(dialog.Window()), "the dialog does not answer " + after);
  Expect(TopLevelWindows(toolbar.Pid(), kToolbarTitle, L"#32770").empty(),
         "a message box is shown " + after);
}

// The toolbar started with `ini`, and its dialog opened by a click on "C".
struct CustomizeRun : ToolbarRun {
  explicit CustomizeRun(const Context& context, const std::optional<std::string>& ini = std::nullopt)
      : ToolbarRun(context, ini), dialog(toolbar) {}

  Dialog dialog;
};

// --- the cases ----------------------------------------------------------

// --- the cases ----------------------------------------------------------

void OpensModalWithDefaults(const Context& context) {
  CustomizeRun run(context);
  const Toolbar& toolbar = run.toolbar;
  const Dialog& dialog = run.dialog;
  HWND window = dialog.Window();

  RECT frame{};
  GetWindowRect(window, &frame);
  Expect(frame.left == 100 && frame.top == 100,
         "the dialog stands at (" + std::to_string(frame.left) + "," + std::to_string(frame.top) +
             "), expected (100,100)");
  Expect(GetWindow(window, GW_OWNER) == toolbar.Window(), "the dialog is not owned by the toolbar");
  Expect((GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0, "the dialog is not topmost");
  const auto style = GetWindowLongPtrW(window, GWL_STYLE);
  Expect((style & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX)) == 0,
         "the dialog can be resized, minimized or maximized");
  Expect(!IsWindowEnabled(toolbar.Window()), "the toolbar takes input while the dialog is open");
  HWND fonts = dialog.Item(kFontList);
  Expect(WaitUntil([&] { return dialog.Focus() == fonts; }, kUiTimeoutMs),
         "the focus is on control " + Id(GetDlgCtrlID(dialog.Focus())) +
             ", expected the font list 400");

  // No Customize section: every grid field shows the dialog's default "x".
  for (int row = 1; row <= 5; ++row)
    for (int index = 0; index <= 5; ++index) dialog.ExpectText(Field(row, index), L"x");
  dialog.ExpectText(kRepeat, L"3");
  dialog.ExpectText(kCharacter, L"");
  dialog.ExpectText(kTooltip6, L"");
  dialog.ExpectText(kCaption6, L"");
  dialog.ExpectListShows(kSizeList, L"14");
  if (FontInstalled(L"Preeti")) {
    dialog.ExpectListShows(kFontList, L"Preeti");
  } else {
    dialog.ExpectListShows(kFontList, std::nullopt);
  }

  dialog.ClickClose();
  Expect(run.folder.ReadIni() == std::nullopt, "closing the dialog wrote LK.ini");
  run.toolbar.Close();
}

void PreviewFollowsTyping(const Context& context) {
  CustomizeRun run(context);
  const Dialog& dialog = run.dialog;

  // Row 1: the sample follows the first insertion only.
  dialog.SelectAllIn(Field(1, 0));
  TypeText(L"k");
  dialog.ExpectTextSoon(Field(1, 1), L"ks");
  dialog.ExpectText(Field(1, 3), L"x");
  // One character only: a second one is refused, and the Tab after it shows
  // when the refusal has happened.
  TypeText(L"m");
  PressKeys({VK_TAB});
  Expect(WaitUntil([&] { return dialog.Focus() != dialog.Item(Field(1, 0)); }, kUiTimeoutMs),
         "Tab did not move the focus out of field 310");
  dialog.ExpectText(Field(1, 0), L"k");
  dialog.ExpectText(Field(1, 1), L"ks");
  // An empty insertion previews as nothing.
  dialog.SelectAllIn(Field(1, 0));
  PressKeys({VK_BACK});
  dialog.ExpectTextSoon(Field(1, 1), L"s");
  dialog.ExpectText(Field(1, 3), L"x");

  // Row 2: the result follows the second insertion only.
  dialog.SelectAllIn(Field(2, 2));
  TypeText(L"q");
  dialog.ExpectTextSoon(Field(2, 3), L"gq");
  dialog.ExpectText(Field(2, 1), L"x");

  // Row 3 wraps the sample; its insertions take more than one character.
  dialog.SelectAllIn(Field(3, 0));
  TypeText(L"a");
  dialog.ExpectTextSoon(Field(3, 3), L"axx");
  TypeText(L"b");
  dialog.ExpectTextSoon(Field(3, 3), L"abxx");
  dialog.ExpectText(Field(3, 1), L"x");

  dialog.ClickClose();
  run.toolbar.Close();
}

void CountCheck(const Context& context) {
  CustomizeRun run(context);
  Toolbar& toolbar = run.toolbar;
  const Dialog& dialog = run.dialog;
  HWND count = dialog.Item(kRepeat);

  dialog.SelectAllIn(kRepeat);
  TypeText(L"q");
  const std::string afterLetter = "after a letter was typed into the count";
  HWND box = AwaitMessageBox(toolbar, afterLetter);
  const std::wstring message = MessageBoxText(box);
  Expect(message == L"Numeric value required",
         "the message box says " + Quote(message) + ", expected \"Numeric value required\"");
  Expect(GetDlgItem(box, IDOK) && !GetDlgItem(box, IDCANCEL),
         "the message box does not have an OK button alone");
  // Windows leaves out the icon control of a box without an icon; Wine
  // keeps one (stc1) with no icon in it.
  for (const int iconId : {0x14, 0x440}) {
    HWND icon = GetDlgItem(box, iconId);
    DWORD_PTR shown = 0;
    if (icon) SendMessageTimeoutW(icon, STM_GETICON, 0, 0, SMTO_ABORTIFHUNG, 5000, &shown);
    Expect(shown == 0, "the message box shows an icon");
  }
  RECT ok{};
  GetWindowRect(GetDlgItem(box, IDOK), &ok);
  ClickIn(ok);
  Expect(WaitUntil([&] { return !IsWindow(box); }, kUiTimeoutMs), "OK did not close the message box");
  Expect(WaitUntil([&] { return dialog.Focus() == count; }, kUiTimeoutMs),
         "the count does not have the focus after the message; control " +
             Id(GetDlgCtrlID(dialog.Focus())) + " has");
  dialog.ExpectText(kRepeat, L"");

  // A decimal passes the check, and is saved as typed.
  TypeText(L"2.5");
  dialog.ExpectTextSoon(kRepeat, L"2.5");
  ExpectNoMessageBox(toolbar, dialog, "after \"2.5\" was typed into the count");
  dialog.Click(kSave);
  // Save relabels the toolbar after its last write: button 1 now shows the
  // dialog's default caption.
  ExpectCaptionSoon(toolbar, kCommand1, L"x");
  ExpectIni(run.folder, "Customize", "Repeat", "2.5");

  // Deleting the count leaves no number either.
  dialog.SelectAllIn(kRepeat);
  PressKeys({VK_DELETE});
  PressEnterOn(AwaitMessageBox(toolbar, "after the count was deleted"));
  Expect(WaitUntil([&] { return dialog.Focus() == count; }, kUiTimeoutMs),
         "the count does not have the focus after the second message");
  dialog.ExpectText(kRepeat, L"");

  dialog.ClickClose();
  toolbar.Close();
}

// The factory values in the order Save writes them, as Windows-1252 bytes.
std::vector<std::pair<std::string, std::string>> FactoryEntries(const std::string& fontName) {
  return {
      {"in101", "l"}, {"sel01", "ls"}, {"in201", "L"}, {"res01", "sL"}, {"cap01", "Ll"},
      {"ttt01", "Change Raswa to Dirgha"},
      {"in102", "'"}, {"sel02", "g'"}, {"in202", "\""}, {"res02", "g\""}, {"cap02", "'\""},
      {"ttt02", "Change Raswa Ukar to dirhga ukar and vice versa"},
      {"in103", "-"}, {"sel03", "g]kfn"}, {"in203", "_"}, {"res03", "-g]kfn_"}, {"cap03", "-/_"},
      {"ttt03", "Puts braces around selection"},
      {"in104", "\xE6"}, {"sel04", "ldq"}, {"in204", "\xC6"}, {"res04", "\xE6ldq\xC6"},
      {"cap04", "\xE6/\xC6"}, {"ttt04", "Puts double quotes around selection"},
      {"in105", "\x85"}, {"sel05", "rfa]n"}, {"in205", "\xDA"}, {"res05", "\x85rfa]n\xDA"},
      {"cap05", "\x85/\xDA"}, {"ttt05", "Puts single quotes around selection"},
      {"Character", "="}, {"Repeat", "3"}, {"cap06", "==="}, {"ttt06", "Dot Dot Dot"},
      {"fontsize", "14"}, {"CfontName", fontName},
  };
}

std::string Describe(const std::vector<std::pair<std::string, std::string>>& entries) {
  std::string out;
  for (const auto& [key, value] : entries) out += QuoteBytes(key + "=" + value) + " ";
  return out;
}

// Picks a font in the focused font list the way the keyboard does: each
// press of its initial moves to the next name starting with it.
void PickFontByKeys(const Dialog& dialog, const std::wstring& font) {
  HWND list = dialog.Item(kFontList);
  Expect(ComboFindExact(list, font) != CB_ERR, "the font list lacks " + Quote(font));
  // Font names start with a capital letter, which is also its key.
  const WORD initial = static_cast<WORD>(font[0]);
  Expect(initial >= 'A' && initial <= 'Z', "no key for the initial of " + Quote(font));
  for (int press = 0; press < ComboCount(list); ++press) {
    const int before = ComboSelection(list);
    PressKeys({initial});
    WaitUntil([&] { return ComboSelection(list) != before; }, kUiTimeoutMs);
    if (dialog.ListSelection(kFontList) == font) return;
  }
  Fail("typing its initial never selected " + Quote(font) + " in the font list");
}

void LoadDefaultAndSave(const Context& context) {
  CustomizeRun run(context);
  Toolbar& toolbar = run.toolbar;
  const Dialog& dialog = run.dialog;
  // Without settings the toolbar's button 6 shows its own default.
  ExpectCaptionSoon(toolbar, kCommand6, L"-");

  const std::wstring font = FontInstalled(L"Lohit Devanagari") ? L"Lohit Devanagari" : L"DejaVu Sans";
  Expect(WaitUntil([&] { return dialog.Focus() == dialog.Item(kFontList); }, kUiTimeoutMs),
         "the font list does not have the focus at opening");
  PickFontByKeys(dialog, font);

  dialog.Click(kLoadDefault);
  dialog.ExpectTextSoon(kCaption6, L"===");
  dialog.ExpectText(Field(1, 3), L"sL");
  dialog.ExpectText(Field(2, 3), L"g\"");
  dialog.ExpectText(Field(4, 3), L"\u00E6ldq\u00C6");
  dialog.ExpectText(Field(5, 4), L"\u2026/\u00DA");
  dialog.ExpectText(kCharacter, L"=");
  dialog.ExpectText(kTooltip6, L"Dot Dot Dot");
  Expect(run.folder.ReadIni() == std::nullopt, "Load Default wrote LK.ini");

  dialog.Click(kSave);
  std::string narrowFont;
  for (wchar_t c : font) narrowFont += static_cast<char>(c);
  const auto expected = FactoryEntries(narrowFont);
  // The toolbar relabels after the last write; button 6 shows the
  // character, not cap06.
  ExpectCaptionSoon(toolbar, kCommand6, L"=");
  auto entries = SectionEntries(ReadIniOrFail(run.folder), "Customize");
  Expect(entries == expected, "[Customize] after Save holds " + Describe(entries) +
                                  "; expected " + Describe(expected));
  ExpectCaptionSoon(toolbar, kCommand1, L"Ll");
  ExpectCaptionSoon(toolbar, kCommand4, L"\u00E6/\u00C6");
  Expect(IsWindowVisible(dialog.Window()) && !IsWindowEnabled(toolbar.Window()),
         "the dialog did not stay open after Save");

  // Saving again writes the same keys once each; the caption of button 6 is
  // this dialog's own.
  dialog.TypeInto(Field(1, 4), L"q");
  dialog.TypeInto(kCaption6, L"z");
  dialog.Click(kSave);
  ExpectCaptionSoon(toolbar, kCommand1, L"q");
  auto again = expected;
  again[4].second = "q";
  again[32].second = "z";
  entries = SectionEntries(ReadIniOrFail(run.folder), "Customize");
  Expect(entries == again, "[Customize] after the second Save holds " + Describe(entries) +
                               "; expected " + Describe(again));
  ExpectCaptionSoon(toolbar, kCommand6, L"=");

  dialog.ClickClose();
  toolbar.Close();
}

void CloseDiscardsEdits(const Context& context) {
  ToolbarRun run(context, "[Customize]\r\nttt01=Mine\r\ncap02=Q\r\n");
  Toolbar& toolbar = run.toolbar;
  {
    Dialog dialog(toolbar);
    dialog.ExpectText(Field(1, 5), L"Mine");
    dialog.Click(kLoadDefault);
    dialog.ExpectTextSoon(Field(1, 5), L"Change Raswa to Dirgha");
    dialog.TypeInto(Field(2, 4), L"w");
    dialog.ClickClose();
    ExpectIniUnchanged(run, "after edits and Close");
    ExpectCaptionSoon(toolbar, kCommand2, L"Q");
  }
  {
    // The next opening loads afresh; the close box discards like Close.
    Dialog dialog(toolbar);
    dialog.ExpectText(Field(1, 5), L"Mine");
    dialog.ExpectText(Field(2, 4), L"Q");
    dialog.ExpectText(Field(1, 0), L"x");
    dialog.TypeInto(Field(1, 5), L"z");
    ClickAt(CloseBoxPoint(dialog.Window()));
    dialog.ExpectClosed("after a click on its close box");
    ExpectIniUnchanged(run, "after an edit and the close box");
  }
  {
    Dialog dialog(toolbar);
    dialog.ExpectText(Field(1, 5), L"Mine");
    dialog.ClickClose();
  }
  toolbar.Close();
}

void StoredValuesComeBack(const Context& context) {
  // Names in other letter cases meet the dialog's own spelling.
  CustomizeRun run(context,
                   "[CUSTOMIZE]\r\n"
                   "ttt01=  spaced  \r\n"
                   "res03=\"-g]kfn\"\r\n"
                   "in102='\r\n"
                   "IN202=\"\r\n"
                   "cap02='\"\r\n"
                   "in101=ab\r\n"
                   "FontSize=18\r\n"
                   "CFONTNAME=DejaVu Sans\r\n");
  const Dialog& dialog = run.dialog;
  dialog.ExpectText(Field(1, 5), L"spaced");
  dialog.ExpectText(Field(3, 3), L"-g]kfn");
  dialog.ExpectText(Field(2, 0), L"'");
  dialog.ExpectText(Field(2, 2), L"\"");
  dialog.ExpectText(Field(2, 4), L"'\"");
  dialog.ExpectText(Field(1, 0), L"a");
  dialog.ExpectListShows(kSizeList, L"18");
  if (FontInstalled(L"DejaVu Sans")) dialog.ExpectListShows(kFontList, L"DejaVu Sans");

  // Saving stores what the fields show, into the one existing section.
  dialog.Click(kSave);
  const struct { const char* key; const char* value; } saved[] = {
      {"in101", "a"}, {"ttt01", "spaced"}, {"res03", "-g]kfn"}, {"in102", "'"},
      {"in202", "\""}, {"cap02", "'\""}, {"fontsize", "18"},
  };
  ExpectCaptionSoon(run.toolbar, kCommand1, L"x");
  for (const auto& entry : saved) ExpectIni(run.folder, "Customize", entry.key, entry.value);
  const std::string bytes = ReadIniOrFail(run.folder);
  Expect(SectionEntries(bytes, "Customize").size() == 36,
         "[Customize] does not hold 36 keys after Save: " + QuoteBytes(bytes));

  dialog.ClickClose();
  run.toolbar.Close();
}

void EnterAndEscapeNeitherSaveNorClose(const Context& context) {
  CustomizeRun run(context, "[Customize]\r\nttt01=Mine\r\n");
  const Dialog& dialog = run.dialog;
  HWND tooltip = dialog.Item(Field(1, 5));
  dialog.SelectAllIn(Field(1, 5));
  PressKeys({VK_RETURN});
  PressKeys({VK_ESCAPE});
  // Keys arrive in order: once the letter shows, Enter and Escape were handled.
  TypeText(L"z");
  dialog.ExpectTextSoon(Field(1, 5), L"z");
  Expect(IsWindowVisible(dialog.Window()), "Enter or Escape closed the dialog");
  Expect(dialog.Focus() == tooltip, "Enter or Escape moved the focus out of the field");
  Expect(!IsWindowEnabled(run.toolbar.Window()), "the toolbar takes input again");
  ExpectIniUnchanged(run, "after Enter and Escape");
  dialog.ClickClose();
  ExpectIniUnchanged(run, "after Close");
  run.toolbar.Close();
}

}  // namespace

std::vector<Case> CustomizeCases() {
  return {
      {"customize_opens_modal_with_defaults", OpensModalWithDefaults},
      {"customize_preview_follows_typing", PreviewFollowsTyping},
      {"customize_count_check", CountCheck},
      {"customize_load_default_and_save", LoadDefaultAndSave},
      {"customize_close_discards_edits", CloseDiscardsEdits},
      {"customize_stored_values_come_back", StoredValuesComeBack},
      {"customize_enter_escape_neither_save_nor_close", EnterAndEscapeNeitherSaveNorClose},
  };
}

}  // namespace lk::e2e
