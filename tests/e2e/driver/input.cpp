#include "input.h"

#include <cstdlib>
#include <string>
#include <vector>

#include "check.h"
#include "wait.h"

namespace lk::e2e {
namespace {

void Send(std::vector<INPUT>& inputs) {
  const UINT sent = SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
  Expect(sent == inputs.size(), "SendInput delivered " + std::to_string(sent) + " of " +
                                    std::to_string(inputs.size()) + " events");
}

INPUT MouseInput(DWORD flags, LONG dx = 0, LONG dy = 0) {
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dx = dx;
  input.mi.dy = dy;
  input.mi.dwFlags = flags;
  return input;
}

// Absolute coordinates are 0..65535 over the primary screen; aim at the
// middle of the pixel so rounding either way lands on it.
LONG Normalised(LONG pixel, int extent) {
  return static_cast<LONG>((pixel * 65536LL + 32768) / extent);
}

bool CursorNear(POINT wanted) {
  POINT now{};
  return GetCursorPos(&now) && std::abs(now.x - wanted.x) <= 1 && std::abs(now.y - wanted.y) <= 1;
}

LRESULT HitTest(HWND window, int x, int y) {
  DWORD_PTR result = HTNOWHERE;
  SendMessageTimeoutW(window, WM_NCHITTEST, 0, MAKELPARAM(x, y), SMTO_ABORTIFHUNG, 5000, &result);
  return static_cast<LRESULT>(result);
}

// The row of the caption: scanning down the window's horizontal middle, the
// first pixel row that answers HTCAPTION.
int CaptionRow(HWND window, const RECT& frame) {
  const int x = (frame.left + frame.right) / 2;
  for (int y = frame.top; y < frame.top + 64 && y < frame.bottom; ++y) {
    if (HitTest(window, x, y) == HTCAPTION) return y;
  }
  Fail("the window has no caption (no HTCAPTION along its horizontal middle)");
}

}  // namespace

void MoveMouseTo(POINT point) {
  std::vector<INPUT> move{MouseInput(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE,
                                     Normalised(point.x, GetSystemMetrics(SM_CXSCREEN)),
                                     Normalised(point.y, GetSystemMetrics(SM_CYSCREEN)))};
  // A machine under load may lose a move (Wine warps the pointer back to
  // where X last saw it): the move is sent again, a few times, each with its
  // own bound.
  bool reached = false;
  for (int attempt = 0; attempt < 5 && !reached; ++attempt) {
    Send(move);
    reached = WaitUntil([&] { return CursorNear(point); }, 1000);
  }
  if (!reached) {
    POINT now{};
    GetCursorPos(&now);
    Fail("pointer did not reach (" + std::to_string(point.x) + "," + std::to_string(point.y) +
         "); it is at (" + std::to_string(now.x) + "," + std::to_string(now.y) + ")");
  }
}

// Every button event carries its own position. Under Wine the X pointer does
// not follow SendInput, and a pointer report from X (or the warp of a move,
// sent back as mouse input a moment later) can put Wine's cursor back where it
// was before a bare press arrives. Measured: a click meant for the toolbar
// went to notepad; with both CPUs busy, one drag by the caption in eight left
// the toolbar at (0,0), none in sixteen once its press and release carried
// their points.
static INPUT ButtonAt(DWORD button, POINT point) {
  return MouseInput(button | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE,
                    Normalised(point.x, GetSystemMetrics(SM_CXSCREEN)),
                    Normalised(point.y, GetSystemMetrics(SM_CYSCREEN)));
}

static void ClicksAt(POINT point, int clicks) {
  MoveMouseTo(point);
  std::vector<INPUT> inputs;
  for (int i = 0; i < clicks; ++i) {
    inputs.push_back(ButtonAt(MOUSEEVENTF_LEFTDOWN, point));
    inputs.push_back(ButtonAt(MOUSEEVENTF_LEFTUP, point));
  }
  Send(inputs);
}

void LeftClickAt(POINT point) { ClicksAt(point, 1); }
void DoubleClickAt(POINT point) { ClicksAt(point, 2); }

void LeftDrag(POINT from, POINT to) {
  MoveMouseTo(from);
  std::vector<INPUT> down{ButtonAt(MOUSEEVENTF_LEFTDOWN, from)};
  Send(down);
  constexpr int kSteps = 8;
  for (int step = 1; step <= kSteps; ++step) {
    MoveMouseTo({from.x + (to.x - from.x) * step / kSteps, from.y + (to.y - from.y) * step / kSteps});
  }
  std::vector<INPUT> up{ButtonAt(MOUSEEVENTF_LEFTUP, to)};
  Send(up);
}

void PressKeys(std::initializer_list<WORD> virtualKeys) {
  std::vector<INPUT> inputs;
  for (WORD vk : virtualKeys) {
    INPUT down{};
    down.type = INPUT_KEYBOARD;
    down.ki.wVk = vk;
    down.ki.wScan = static_cast<WORD>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
    inputs.push_back(down);
  }
  for (auto it = virtualKeys.end(); it != virtualKeys.begin();) {
    INPUT up = inputs[static_cast<std::size_t>(--it - virtualKeys.begin())];
    up.ki.dwFlags |= KEYEVENTF_KEYUP;
    inputs.push_back(up);
  }
  Send(inputs);
}

void TypeText(const std::wstring& text) {
  for (const wchar_t c : text) {
    std::vector<INPUT> inputs;
    const auto key = [&](WORD vk, WORD scan, DWORD flags) {
      INPUT input{};
      input.type = INPUT_KEYBOARD;
      input.ki.wVk = vk;
      input.ki.wScan = scan;
      input.ki.dwFlags = flags;
      inputs.push_back(input);
    };
    const SHORT mapped = VkKeyScanW(c);
    if (mapped == -1 || (HIBYTE(mapped) & ~1) != 0) {
      key(0, c, KEYEVENTF_UNICODE);
      key(0, c, KEYEVENTF_UNICODE | KEYEVENTF_KEYUP);
    } else {
      const WORD vk = LOBYTE(mapped);
      const WORD scan = static_cast<WORD>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
      const WORD shiftScan = static_cast<WORD>(MapVirtualKeyW(VK_SHIFT, MAPVK_VK_TO_VSC));
      const bool shift = (HIBYTE(mapped) & 1) != 0;
      if (shift) key(VK_SHIFT, shiftScan, 0);
      key(vk, scan, 0);
      key(vk, scan, KEYEVENTF_KEYUP);
      if (shift) key(VK_SHIFT, shiftScan, KEYEVENTF_KEYUP);
    }
    Send(inputs);
  }
}

// The middle of the right-most run of `code` among the caption buttons.
static POINT CaptionButtonPoint(HWND window, LRESULT code, const char* name) {
  RECT frame{};
  GetWindowRect(window, &frame);
  const int row = CaptionRow(window, frame);
  // Scan the caption row and the rows below it from the right edge inwards.
  for (int y = row; y < row + 24 && y < frame.bottom; y += 2) {
    int right = -1;
    int left = -1;
    for (int x = frame.right - 1; x > frame.right - 160 && x > frame.left; --x) {
      const bool hit = HitTest(window, x, y) == code;
      if (hit && right < 0) right = x;
      if (!hit && right >= 0) {
        left = x + 1;
        break;
      }
    }
    if (right >= 0 && left >= 0) {
      // The middle row of the button: extend the run vertically at its middle.
      const int x = (left + right) / 2;
      int top = y;
      while (top > frame.top && HitTest(window, x, top - 1) == code) --top;
      int bottom = y;
      while (bottom < frame.bottom - 1 && HitTest(window, x, bottom + 1) == code) ++bottom;
      return {x, (top + bottom) / 2};
    }
  }
  Fail(std::string("the window has no ") + name + " near its top-right corner");
}

POINT CloseBoxPoint(HWND window) { return CaptionButtonPoint(window, HTCLOSE, "close box"); }

POINT MinimizeBoxPoint(HWND window) {
  return CaptionButtonPoint(window, HTREDUCE, "minimize box");
}

POINT SystemMenuPoint(HWND window) {
  RECT frame{};
  GetWindowRect(window, &frame);
  const int row = CaptionRow(window, frame);
  for (int y = row; y < row + 24 && y < frame.bottom; y += 2) {
    for (int x = frame.left; x < frame.left + 80 && x < frame.right; ++x) {
      if (HitTest(window, x, y) != HTSYSMENU) continue;
      int right = x;
      while (right + 1 < frame.right && HitTest(window, right + 1, y) == HTSYSMENU) ++right;
      return {(x + right) / 2, y};
    }
  }
  Fail("the window answers HTSYSMENU nowhere near its top-left corner");
}

POINT CaptionPoint(HWND window) {
  RECT frame{};
  GetWindowRect(window, &frame);
  const int row = CaptionRow(window, frame);
  // A few pixels into the caption, away from its top edge.
  int y = row;
  while (y < row + 6 && HitTest(window, (frame.left + frame.right) / 2, y + 1) == HTCAPTION) ++y;
  return {(frame.left + frame.right) / 2, y};
}

void ActivateByCaptionClick(HWND window) {
  if (GetForegroundWindow() == window) return;
  LeftClickAt(CaptionPoint(window));
  Expect(WaitUntil([&] { return GetForegroundWindow() == window; }, kUiTimeoutMs),
         "the window did not become the foreground window after a click on its caption");
}

}  // namespace lk::e2e
