// A stand-in for a running Word or Excel in the end-to-end tests: it puts an
// application object into the running object table under its own class ID
// and writes every font name set on application.selection.Font.Name to a log,
// one per line. Usage: office_standin.exe word|excel <log file> [window]
// With "window" it also shows a document window of the application's own
// class (OpusApp, XLMAIN) holding a standard edit control, so that a test can
// select text in it and tell it apart from any other target by its class.
// The prefix's registry maps "Word.Application" and "Excel.Application" to
// the two class IDs below (run_e2e.sh registers them).
#include <windows.h>

#include <oleauto.h>

#include <cstdio>
#include <string>

#include "standin_frame.h"

namespace {

// {6C3D1A10-5E1B-4A77-9A3E-2B6F0E1D7A01} and {...7A02}
const CLSID kWordClsid = {0x6c3d1a10, 0x5e1b, 0x4a77, {0x9a, 0x3e, 0x2b, 0x6f, 0x0e, 0x1d, 0x7a, 0x01}};
const CLSID kExcelClsid = {0x6c3d1a10, 0x5e1b, 0x4a77, {0x9a, 0x3e, 0x2b, 0x6f, 0x0e, 0x1d, 0x7a, 0x02}};

std::wstring g_log;
std::wstring g_fontName = L"Times New Roman";

enum Member : DISPID { kSelection = 1, kFont = 2, kName = 3 };

void Record(const std::wstring& name) {
  FILE* f = _wfopen(g_log.c_str(), L"ab");
  if (!f) return;
  const int bytes = ::WideCharToMultiByte(CP_UTF8, 0, name.c_str(), static_cast<int>(name.size()), nullptr, 0,
                                          nullptr, nullptr);
  std::string utf8(static_cast<std::size_t>(bytes), '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, name.c_str(), static_cast<int>(name.size()), utf8.data(), bytes, nullptr,
                        nullptr);
  utf8 += "\n";
  fwrite(utf8.data(), 1, utf8.size(), f);
  fclose(f);
}

// One object class plays the application, its selection and the font: each
// answers only the member that object has.
class Node : public IDispatch {
 public:
  Node(DISPID member, Node* child) : member_(member), child_(child) {}

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
    if (riid == IID_IUnknown || riid == IID_IDispatch) {
      *out = static_cast<IDispatch*>(this);
      AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&refs_)); }
  ULONG STDMETHODCALLTYPE Release() override { return static_cast<ULONG>(InterlockedDecrement(&refs_)); }
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    *count = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override {
    static const wchar_t* const kNames[] = {nullptr, L"selection", L"Font", L"Name"};
    HRESULT hr = S_OK;
    for (UINT i = 0; i < count; ++i) {
      ids[i] = DISPID_UNKNOWN;
      if (lstrcmpiW(names[i], kNames[member_]) == 0)
        ids[i] = member_;
      else
        hr = DISP_E_UNKNOWNNAME;
    }
    return hr;
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                                   EXCEPINFO*, UINT*) override {
    if (id != member_) return DISP_E_MEMBERNOTFOUND;
    if (member_ == kName && (flags & DISPATCH_PROPERTYPUT)) {
      if (!params || params->cArgs != 1) return DISP_E_BADPARAMCOUNT;
      VARIANT text;
      ::VariantInit(&text);
      if (FAILED(::VariantChangeType(&text, &params->rgvarg[0], 0, VT_BSTR))) return DISP_E_TYPEMISMATCH;
      g_fontName.assign(text.bstrVal, ::SysStringLen(text.bstrVal));
      ::VariantClear(&text);
      Record(g_fontName);
      return S_OK;
    }
    if (!result) return S_OK;
    if (member_ == kName) {
      result->vt = VT_BSTR;
      result->bstrVal = ::SysAllocString(g_fontName.c_str());
      return S_OK;
    }
    result->vt = VT_DISPATCH;
    result->pdispVal = child_;
    child_->AddRef();
    return S_OK;
  }

 private:
  DISPID member_;
  Node* child_;
  LONG refs_ = 1;
};

void ShowDocumentWindow(bool word) {
  HWND frame = CreateFrame(word ? L"OpusApp" : L"XLMAIN", word ? L"Document1 - Word" : L"Book1 - Excel",
                           PlainFrameProc, {0, 0, 600, 300});
  CreateTextChild(frame, L"Edit", ES_MULTILINE | ES_AUTOVSCROLL, WS_EX_CLIENTEDGE);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 3) return 2;
  const bool word = lstrcmpiW(argv[1], L"word") == 0;
  g_log = argv[2];
  if (FAILED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) return 3;
  static Node font(kName, nullptr);
  static Node selection(kFont, &font);
  // The application object answers "selection"; its child is the selection.
  static Node application(kSelection, &selection);
  DWORD cookie = 0;
  if (FAILED(::RegisterActiveObject(&application, word ? kWordClsid : kExcelClsid, ACTIVEOBJECT_STRONG, &cookie)))
    return 4;
  if (argc > 3 && lstrcmpiW(argv[3], L"window") == 0) ShowDocumentWindow(word);
  // Tell the test we are reachable.
  Record(L"ready");
  RunMessageLoop();
  ::RevokeActiveObject(cookie, nullptr);
  ::CoUninitialize();
  return 0;
}
