// Entry point of lekhopakar-convert: console set-up only; the command itself is
// RunConvert.
#include <iostream>
#include <string>
#include <vector>

#include "cli/convert_cli.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>

#include "text/utf8.h"

namespace {

// The wide command line is the only one that holds every file name; the
// narrow one is squeezed through the ANSI code page.
std::string Utf8FromWide(const wchar_t* wide) {
  static_assert(sizeof(wchar_t) == sizeof(char16_t), "UTF-16 wchar_t expected on Windows");
  return lk::text::Utf16ToUtf8(reinterpret_cast<const char16_t*>(wide));
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  // Text mode would turn CR LF into LF on the way in and LF into CR LF on the
  // way out; the command keeps every line break as it was.
  _setmode(_fileno(stdin), _O_BINARY);
  _setmode(_fileno(stdout), _O_BINARY);
  std::vector<std::string> args;
  for (int i = 1; i < argc; ++i) args.push_back(Utf8FromWide(argv[i]));
#else
int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
#endif
  return lk::cli::RunConvert(args, {std::cin, std::cout, std::cerr});
}
