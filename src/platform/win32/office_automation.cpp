// Late-bound automation of a running Office application: members are found
// by name at run time, so no type library of the application is needed.
#include <windows.h>

#include <oleauto.h>

#include <string>

#include "diagnostics/debug_log.h"
#include "platform/win32/handles.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/office_automation.h"

namespace lk::platform {
namespace {

using platform::ComRef;
using platform::VariantGuard;

DISPID IdOf(IDispatch* object, const wchar_t* name) {
  DISPID id = DISPID_UNKNOWN;
  LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
  if (const HRESULT failed = object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id); FAILED(failed)) {
    diagnostics::LogFailure("automation: a member name was not found", failed);
    return DISPID_UNKNOWN;
  }
  return id;
}

// object.name, as a dispatch reference.
bool GetObjectMember(IDispatch* object, const wchar_t* name, ComRef<IDispatch>& member) {
  const DISPID id = IdOf(object, name);
  if (id == DISPID_UNKNOWN) return false;
  DISPPARAMS none{};
  VariantGuard result;
  if (const HRESULT failed = object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET | DISPATCH_METHOD,
                                            &none, result.get(), nullptr, nullptr);
      FAILED(failed)) {
    diagnostics::LogFailure("automation: reading a member failed", failed);
    return false;
  }
  if (result.get()->vt != VT_DISPATCH || !result.get()->pdispVal) return false;
  return SUCCEEDED(result.get()->pdispVal->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(member.put())));
}

void PutString(IDispatch* object, const wchar_t* name, const std::wstring& value) {
  const DISPID id = IdOf(object, name);
  if (id == DISPID_UNKNOWN) return;
  VariantGuard argument;
  argument.get()->vt = VT_BSTR;
  argument.get()->bstrVal = ::SysAllocStringLen(value.data(), static_cast<UINT>(value.size()));
  DISPID named = DISPID_PROPERTYPUT;
  DISPPARAMS params{argument.get(), &named, 1, 1};
  const HRESULT put = object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYPUT, &params, nullptr,
                                     nullptr, nullptr);
  if (FAILED(put)) diagnostics::LogFailure("automation: setting the font name failed", put);
}

}  // namespace

AutomationResult SetOfficeSelectionFont(const wchar_t* progId, const std::string& fontName) {
  CLSID clsid{};
  if (FAILED(::CLSIDFromProgID(progId, &clsid))) return AutomationResult::kUnreachable;
  ComRef<IUnknown> running;
  const HRESULT attached = ::GetActiveObject(clsid, nullptr, running.put());
  if (attached == MK_E_UNAVAILABLE || attached == REGDB_E_CLASSNOTREG) return AutomationResult::kUnreachable;
  if (FAILED(attached) || !running) {
    diagnostics::LogFailure("automation: the running application could not be reached", attached);
    return AutomationResult::kDone;
  }
  ComRef<IDispatch> application;
  if (const HRESULT failed = running.get()->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(application.put()));
      FAILED(failed)) {
    diagnostics::LogFailure("automation: the application has no dispatch interface", failed);
    return AutomationResult::kDone;
  }
  ComRef<IDispatch> selection;
  ComRef<IDispatch> font;
  if (GetObjectMember(application.get(), L"selection", selection) && GetObjectMember(selection.get(), L"Font", font))
    PutString(font.get(), L"Name", platform::FromUtf8(fontName));
  return AutomationResult::kDone;
}

}  // namespace lk::platform
