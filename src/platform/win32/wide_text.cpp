#include "platform/win32/wide_text.h"

#include "text/cp1252.h"

namespace lk::win32 {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "UTF-16 wchar_t expected on Windows");

std::wstring Wide(std::string_view legacy) {
  const auto u16 = text::Cp1252ToUtf16(legacy);
  return std::wstring(u16.begin(), u16.end());
}

std::string Legacy(std::wstring_view wide) {
  return text::Utf16ToCp1252(std::u16string_view(reinterpret_cast<const char16_t*>(wide.data()), wide.size()));
}

std::string GetText(HWND hwnd) {
  const int length = ::GetWindowTextLengthW(hwnd);
  if (length <= 0) return {};
  std::wstring buffer(static_cast<std::size_t>(length) + 1, L'\0');
  const int got = ::GetWindowTextW(hwnd, buffer.data(), length + 1);
  buffer.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
  return Legacy(buffer);
}

void SetText(HWND hwnd, std::string_view legacy) { ::SetWindowTextW(hwnd, Wide(legacy).c_str()); }

}  // namespace lk::win32
