#include "office.h"

#include <fstream>
#include <iterator>

#include "check.h"
#include "wait.h"

namespace lk::e2e {
namespace {

constexpr wchar_t kWordClsid[] = L"{6C3D1A10-5E1B-4A77-9A3E-2B6F0E1D7A01}";
constexpr wchar_t kExcelClsid[] = L"{6C3D1A10-5E1B-4A77-9A3E-2B6F0E1D7A02}";

void RegisterProgId(const std::wstring& progId, const std::wstring& clsid) {
  HKEY key = nullptr;
  const std::wstring path = progId + L"\\CLSID";
  Expect(RegCreateKeyExW(HKEY_CLASSES_ROOT, path.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                         nullptr) == ERROR_SUCCESS,
         "cannot create HKCR\\" + Narrow(path));
  const LSTATUS set = RegSetValueExW(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(clsid.c_str()),
                                     static_cast<DWORD>((clsid.size() + 1) * sizeof(wchar_t)));
  RegCloseKey(key);
  Expect(set == ERROR_SUCCESS, "cannot set HKCR\\" + Narrow(path));
}

}  // namespace

OfficeStandIn::OfficeStandIn(const std::wstring& exe, const std::wstring& folder, const std::wstring& role,
                             const std::optional<RECT>& window)
    : role_(Narrow(role)), log_(folder + L"\\" + role + L".log") {
  RegisterProgId(L"Word.Application", kWordClsid);
  RegisterProgId(L"Excel.Application", kExcelClsid);
  const std::wstring standIn = StandInPath(exe, L"office_standin.exe");
  DeleteFileW(log_.c_str());
  const std::wstring arguments = role + L" \"" + log_ + L"\"";
  if (window) {
    window_.emplace(standIn, folder, role == L"word" ? L"Document1 - Word" : L"Book1 - Excel", *window, L"Edit",
                    arguments + L" window");
  } else {
    program_ = std::make_unique<RunningProgram>(standIn, folder, arguments);
  }
  Expect(WaitUntil([&] { return Log() == "ready\n" || (program_ && program_->HasExited()); }, kStartTimeoutMs, 20) &&
             Log() == "ready\n",
         "the " + role_ + " stand-in did not get ready; its log: " + QuoteBytes(Log()));
}

std::string OfficeStandIn::Log() const {
  std::ifstream in(log_.c_str(), std::ios::binary);
  return in ? std::string(std::istreambuf_iterator<char>(in), {}) : std::string();
}

void OfficeStandIn::ExpectLog(const std::string& expected, const std::string& after) const {
  const std::string now = ReadUntil([&] { return Log(); }, expected, kUiTimeoutMs, 20);
  Expect(now == expected, role_ + "'s log is " + QuoteBytes(now) + " " + after + ", expected " + QuoteBytes(expected));
}

TargetApp& OfficeStandIn::Document() {
  Expect(window_.has_value(), "the " + role_ + " stand-in shows no window");
  return *window_;
}

}  // namespace lk::e2e
