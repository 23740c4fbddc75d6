#include "platform/win32/wide_text.h"

#include "text/cp1252.h"
#include "text/utf8.h"

namespace lk::platform {
namespace {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "UTF-16 wchar_t expected on Windows");

std::wstring ToWide(const std::u16string& u16) { return std::wstring(u16.begin(), u16.end()); }
std::u16string_view ToU16(std::wstring_view wide) {
  return std::u16string_view(reinterpret_cast<const char16_t*>(wide.data()), wide.size());
}

}  // namespace

std::wstring WindowText(HWND hwnd) {
  const int length = ::GetWindowTextLengthW(hwnd);
  if (length <= 0) return {};
  std::wstring buffer(static_cast<std::size_t>(length) + 1, L'\0');
  const int got = ::GetWindowTextW(hwnd, buffer.data(), length + 1);
  buffer.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
  return buffer;
}

std::wstring ComboItemText(HWND combo, WPARAM index) {
  const LRESULT length = ::SendMessageW(combo, CB_GETLBTEXTLEN, index, 0);
  if (length <= 0) return {};
  std::wstring buffer(static_cast<std::size_t>(length) + 1, L'\0');
  const LRESULT got = ::SendMessageW(combo, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(buffer.data()));
  buffer.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
  return buffer;
}

std::wstring FromUtf8(std::string_view utf8) { return ToWide(text::Utf8ToUtf16(utf8)); }
std::string ToUtf8(std::wstring_view wide) { return text::Utf16ToUtf8(ToU16(wide)); }
std::string GetUtf8Text(HWND hwnd) { return ToUtf8(WindowText(hwnd)); }
void SetUtf8Text(HWND hwnd, std::string_view utf8) { ::SetWindowTextW(hwnd, FromUtf8(utf8).c_str()); }

std::wstring Wide(std::string_view legacy) { return ToWide(text::Cp1252ToUtf16(legacy)); }
std::string Legacy(std::wstring_view wide) { return text::Utf16ToCp1252(ToU16(wide)); }
std::string GetText(HWND hwnd) { return Legacy(WindowText(hwnd)); }
void SetText(HWND hwnd, std::string_view legacy) { ::SetWindowTextW(hwnd, Wide(legacy).c_str()); }

}  // namespace lk::platform
