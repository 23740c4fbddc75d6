#include "toolbar_actions.h"

#include <algorithm>

#include "check.h"
#include "control_ids.h"
#include "input.h"
#include "wait.h"
#include "windows_query.h"

namespace lk::e2e {

void ClickControl(const Toolbar& toolbar, int id) { LeftClickAt(VisiblePoint(toolbar.Control(id))); }

void SetTargetField(const Toolbar& toolbar, const std::wstring& text) {
  HWND field = toolbar.Control(kTargetField);
  SendOrFail(field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
  Expect(WindowText(field) == text, "the target field does not hold " + Quote(text));
}

void TypeTargetName(const Toolbar& toolbar, const std::wstring& name) {
  HWND field = toolbar.Control(kTargetField);
  // The field's left part: the quick-text box, once it has the focus, lies
  // over the rest of it.
  const RECT rect = ScreenRect(field);
  const RECT quick = ScreenRect(toolbar.Control(kQuickText));
  LeftClickAt({(rect.left + std::min(rect.right, quick.left)) / 2, (rect.top + rect.bottom) / 2});
  Expect(WaitUntil([&] { return FocusOf(field) == field; }, kUiTimeoutMs),
         "a click on the target field did not give it the keyboard focus");
  // Typing over a selection of everything replaces a name from an earlier step.
  PressKeys({VK_HOME});
  PressKeys({VK_SHIFT, VK_END});
  TypeText(name);
  const std::wstring shown = ReadUntil([&] { return WindowText(field); }, name, kUiTimeoutMs);
  Expect(shown == name, "the target field shows " + Quote(shown) + " after typing " + Quote(name));
}

void ChooseFont(const Toolbar& toolbar, const std::wstring& font) {
  Expect(FontInstalled(font), Narrow(font) + " is not installed here");
  HWND fonts = toolbar.Control(kFonts);
  const int index = ComboFindExact(fonts, font);
  Expect(index >= 0, "the font list has no entry " + Quote(font));
  ClickControl(toolbar, kFonts);
  HWND list = nullptr;
  Expect(WaitUntil(
             [&] {
               const auto lists = TopLevelWindows(toolbar.Pid(), L"", L"ComboLBox");
               list = lists.empty() ? nullptr : lists.front();
               // The list takes the mouse when the button comes up.
               return list && SendOrFail(fonts, CB_GETDROPPEDSTATE, 0, 0) && MouseCaptureOf(fonts) == list;
             },
             kUiTimeoutMs),
         "a click on the font list did not drop it down and leave the mouse to the list");
  const int itemHeight = static_cast<int>(SendOrFail(list, LB_GETITEMHEIGHT, 0, 0));
  RECT client{};
  GetClientRect(list, &client);
  const int rows = itemHeight > 0 ? client.bottom / itemHeight : 0;
  Expect(rows > 0, "the dropped font list shows no whole entry");
  int top = static_cast<int>(SendOrFail(list, LB_GETTOPINDEX, 0, 0));
  if (index < top || index >= top + rows) {
    // Scrolled into view without choosing: arrow keys would choose every
    // entry passed over, and the toolbar would react to each.
    SendOrFail(list, LB_SETTOPINDEX, static_cast<WPARAM>(index), 0);
    top = static_cast<int>(SendOrFail(list, LB_GETTOPINDEX, 0, 0));
    Expect(index >= top && index < top + rows, "the entry " + Quote(font) + " cannot be scrolled into view");
  }
  POINT entry{client.right / 2, (index - top) * itemHeight + itemHeight / 2};
  ClientToScreen(list, &entry);
  LeftClickAt(entry);
  Expect(WaitUntil([&] { return ComboSelection(fonts) == index && !SendOrFail(fonts, CB_GETDROPPEDSTATE, 0, 0); },
                   kUiTimeoutMs),
         "a click on " + Quote(font) + " did not choose it; selected: " +
             Quote(ComboItem(fonts, ComboSelection(fonts))));
}

void ExpectCaption(const Toolbar& toolbar, int id, const std::wstring& expected, DWORD withinMs) {
  HWND control = toolbar.Control(id);
  const std::wstring caption = ReadUntil([&] { return WindowText(control); }, expected, withinMs);
  Expect(caption == expected,
         "control " + std::to_string(id) + " shows " + Quote(caption) + ", expected " + Quote(expected));
}

}  // namespace lk::e2e
