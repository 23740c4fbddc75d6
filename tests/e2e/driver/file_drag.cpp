#include "file_drag.h"

#include <ole2.h>
#include <shlobj.h>

#include <atomic>
#include <cstring>
#include <thread>

#include "check.h"
#include "input.h"
#include "wait.h"

namespace lk::e2e {
namespace {

// One format, one medium: what a file manager offers at the least.
class FileData final : public IDataObject {
 public:
  explicit FileData(HGLOBAL drop) : drop_(drop) {}
  ~FileData() { GlobalFree(drop_); }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (iid == IID_IUnknown || iid == IID_IDataObject) {
      *out = static_cast<IDataObject*>(this);
      AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG left = --refs_;
    if (left == 0) delete this;
    return left;
  }

  HRESULT STDMETHODCALLTYPE GetData(FORMATETC* format, STGMEDIUM* medium) override {
    if (QueryGetData(format) != S_OK) return DV_E_FORMATETC;
    // The receiver owns what it gets: a copy of our block.
    const SIZE_T size = GlobalSize(drop_);
    HGLOBAL copy = GlobalAlloc(GMEM_MOVEABLE, size);
    if (!copy) return E_OUTOFMEMORY;
    std::memcpy(GlobalLock(copy), GlobalLock(drop_), size);
    GlobalUnlock(drop_);
    GlobalUnlock(copy);
    medium->tymed = TYMED_HGLOBAL;
    medium->hGlobal = copy;
    medium->pUnkForRelease = nullptr;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* format) override {
    return format && format->cfFormat == CF_HDROP && (format->tymed & TYMED_HGLOBAL) ? S_OK : DV_E_FORMATETC;
  }
  HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out) override {
    out->ptd = nullptr;
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD direction, IEnumFORMATETC** out) override {
    if (direction != DATADIR_GET) return E_NOTIMPL;
    FORMATETC format{CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    return SHCreateStdEnumFmtEtc(1, &format, out);
  }
  HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override {
    return OLE_E_ADVISENOTSUPPORTED;
  }
  HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
  HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override { return OLE_E_ADVISENOTSUPPORTED; }

 private:
  std::atomic<ULONG> refs_{1};
  HGLOBAL drop_;
};

// Goes on while the left button is down, drops when it is released.
class Source : public IDropSource {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (iid == IID_IUnknown || iid == IID_IDropSource) {
      *out = static_cast<IDropSource*>(this);
      AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }  // lives on the caller's stack
  ULONG STDMETHODCALLTYPE Release() override { return 1; }

  HRESULT STDMETHODCALLTYPE QueryContinueDrag(BOOL escape, DWORD keys) override {
    ++queries;
    if (escape) return DRAGDROP_S_CANCEL;
    return keys & MK_LBUTTON ? S_OK : DRAGDROP_S_DROP;
  }
  HRESULT STDMETHODCALLTYPE GiveFeedback(DWORD) override { return DRAGDROP_S_USEDEFAULTCURSORS; }

  std::atomic<int> queries{0};
};

INPUT Button(DWORD flags, POINT at) {
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dx = static_cast<LONG>((at.x * 65536LL + 32768) / GetSystemMetrics(SM_CXSCREEN));
  input.mi.dy = static_cast<LONG>((at.y * 65536LL + 32768) / GetSystemMetrics(SM_CYSCREEN));
  input.mi.dwFlags = flags | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  return input;
}

class OleSession {
 public:
  OleSession() : ok_(SUCCEEDED(OleInitialize(nullptr))) {}
  ~OleSession() {
    if (ok_) OleUninitialize();
  }
  bool ok() const { return ok_; }

 private:
  bool ok_;
};

// The window a drag starts from, as a file manager's list is: the press
// lands on it, so this thread's own key state knows the button is down,
// which is what the drag loop asks.
class SourceWindow {
 public:
  explicit SourceWindow(POINT centre) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = &SourceWindow::Proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hbrBackground = GetSysColorBrush(COLOR_WINDOW);
    wc.lpszClassName = L"LkDragSource";
    RegisterClassW(&wc);
    window_ = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, wc.lpszClassName, L"drag source", WS_POPUP | WS_BORDER,
                              centre.x - 60, centre.y - 30, 120, 60, nullptr, nullptr, wc.hInstance, nullptr);
    Expect(window_ != nullptr, "cannot make the drag's source window");
    ShowWindow(window_, SW_SHOWNORMAL);
    UpdateWindow(window_);
  }
  ~SourceWindow() { DestroyWindow(window_); }

  // Presses the left button on it and waits until this thread has seen the press.
  void Press(POINT at) {
    pressed_ = false;
    INPUT down = Button(MOUSEEVENTF_LEFTDOWN, at);
    Expect(SendInput(1, &down, sizeof down) == 1, "SendInput did not press the button for the drag");
    Expect(WaitUntil(
               [] {
                 MSG msg;
                 while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
                   if (msg.message == WM_LBUTTONDOWN) pressed_ = true;
                   DispatchMessageW(&msg);
                 }
                 return pressed_;
               },
               kUiTimeoutMs),
           "the press for the drag did not reach its source window");
  }

 private:
  static LRESULT CALLBACK Proc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(window, msg, wParam, lParam);
  }
  static inline bool pressed_ = false;
  HWND window_ = nullptr;
};

}  // namespace

std::string DragOutcome::Describe() const {
  char text[160];
  std::snprintf(text, sizeof text, "DoDragDrop gave 0x%08lX with effect %lu after %d source queries",
                static_cast<unsigned long>(result), static_cast<unsigned long>(effect), sourceQueries);
  return text;
}

HGLOBAL MakeHdrop(const std::vector<std::wstring>& files, POINT at) {
  SIZE_T chars = 1;
  for (const auto& file : files) chars += file.size() + 1;
  const SIZE_T size = sizeof(DROPFILES) + chars * sizeof(wchar_t);
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size);
  Expect(block != nullptr, "cannot allocate a drop's file list");
  auto* header = static_cast<DROPFILES*>(GlobalLock(block));
  header->pFiles = sizeof(DROPFILES);
  header->pt = at;
  header->fNC = FALSE;
  header->fWide = TRUE;
  auto* names = reinterpret_cast<wchar_t*>(reinterpret_cast<BYTE*>(header) + sizeof(DROPFILES));
  for (const auto& file : files) {
    std::memcpy(names, file.c_str(), (file.size() + 1) * sizeof(wchar_t));
    names += file.size() + 1;
  }
  GlobalUnlock(block);
  return block;
}

DragOutcome DragFiles(const std::vector<std::wstring>& files, POINT from, POINT to) {
  const OleSession ole;
  Expect(ole.ok(), "OleInitialize failed in the driver");
  auto* data = new FileData(MakeHdrop(files, {0, 0}));
  Source source;

  SourceWindow start(from);
  MoveMouseTo(from);
  start.Press(from);

  // The drag's own loop runs on this thread; the hand moves on another, once
  // the drag has begun asking our source.
  std::atomic<bool> moved{false};
  std::string moveFailure;
  std::thread hand([&] {
    try {
      Expect(WaitUntil([&] { return source.queries.load() > 0; }, kUiTimeoutMs),
             "DoDragDrop never asked the source whether to go on");
      constexpr int kSteps = 12;
      for (int step = 1; step <= kSteps; ++step)
        MoveMouseTo({from.x + (to.x - from.x) * step / kSteps, from.y + (to.y - from.y) * step / kSteps});
      // Over the target a moment of further moves, as a hand never stops dead.
      for (int wiggle = 0; wiggle < 4; ++wiggle) MoveMouseTo({to.x + (wiggle % 2), to.y});
    } catch (const std::exception& error) {
      moveFailure = error.what();
    }
    INPUT up = Button(MOUSEEVENTF_LEFTUP, to);
    SendInput(1, &up, sizeof up);
    moved = true;
  });

  DragOutcome outcome;
  outcome.result = DoDragDrop(data, &source, DROPEFFECT_COPY | DROPEFFECT_LINK, &outcome.effect);
  hand.join();
  outcome.sourceQueries = source.queries.load();
  data->Release();
  Expect(moveFailure.empty(), "during the drag: " + moveFailure);
  return outcome;
}

}  // namespace lk::e2e
