// Entry point of lekhopakar-convert: console set-up only; the command itself is
// RunConvert.
#include <atomic>
#include <csignal>
#include <cstdio>
#include <iostream>
#include <string>
#include <thread>
#include <vector>

#include "cli/convert_cli.h"
#include "platform/physical_memory.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>

#include "text/utf8.h"
#else
#include <signal.h>
#include <unistd.h>
#endif

namespace {

// Set by Ctrl+C: the documents in progress are removed before the command
// ends, where the default action would leave their temporary files behind.
std::atomic<bool> cancelled{false};
static_assert(std::atomic<bool>::is_always_lock_free, "the flag is set from a signal handler");

extern "C" void OnInterrupt(int) {
  cancelled.store(true);
  // A second Ctrl+C ends the program at once, as it would have anyway.
  std::signal(SIGINT, SIG_DFL);
}

bool ErrorIsTerminal() {
#ifdef _WIN32
  return _isatty(_fileno(stderr)) != 0;
#else
  return isatty(STDERR_FILENO) != 0;
#endif
}

void CatchInterrupt() {
#ifdef _WIN32
  std::signal(SIGINT, OnInterrupt);
#else
  // Without SA_RESTART a read from a terminal or a pipe returns at once, so
  // that Ctrl+C is not left waiting for more input.
  struct sigaction action {};
  action.sa_handler = OnInterrupt;
  sigemptyset(&action.sa_mask);
  action.sa_flags = 0;
  sigaction(SIGINT, &action, nullptr);
#endif
}

int Run(const std::vector<std::string>& args) {
  CatchInterrupt();
  lk::cli::ConvertIo io{std::cin, std::cout, std::cerr};
  io.errIsTerminal = ErrorIsTerminal();
  io.cores = std::thread::hardware_concurrency();
  io.physicalMemory = lk::platform::PhysicalMemoryBytes();
  io.cancel = &cancelled;
  return lk::cli::RunConvert(args, io);
}

}  // namespace

#ifdef _WIN32
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
  return Run(args);
}
#else
int main(int argc, char** argv) { return Run(std::vector<std::string>(argv + 1, argv + argc)); }
#endif
