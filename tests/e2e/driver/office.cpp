#include "office.h"

#include <windows.h>

#include <fstream>
#include <iterator>

#include "check.h"

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

void RegisterOfficeClasses() {
  RegisterProgId(L"Word.Application", kWordClsid);
  RegisterProgId(L"Excel.Application", kExcelClsid);
}

std::string ReadLog(const std::wstring& path) {
  std::ifstream in(path.c_str(), std::ios::binary);
  return in ? std::string(std::istreambuf_iterator<char>(in), {}) : std::string();
}

std::wstring OfficeStandInPath(const std::wstring& exe) {
  return exe.substr(0, exe.find_last_of(L'\\')) + L"\\tests\\standins\\office_standin.exe";
}

}  // namespace lk::e2e
