// lk_e2e_driver: drives lekhopakar.exe under Wine (or Windows) the way a
// person does and checks what it shows and stores.
//
//   lk_e2e_driver <exe> <workdir> [--only a,b,...] [--expect-dpi N] [--expect-acp N]
//       (--expect-acp: the system's code page for non-Unicode programs)
//       runs the cases; prints "PASS name" / "FAIL name: reason" and
//       "N passed, M failed"; exit code 1 when any failed.
//   lk_e2e_driver --hold <exe> <workdir> <ready-file> <done-file>
//       starts the toolbar, writes its outer rectangle "left top right bottom"
//       to ready-file, keeps it open until done-file appears (bounded), closes it.
//   lk_e2e_driver --bench-startup <exe> <runs> [workdir]
//       launch-to-visible medians of the exe and of notepad, and their ratio.
//   lk_e2e_driver --bench-relabel <exe> <workdir> <runs>
//       median and 95th percentile of the toolbar's reaction to a font choice.
//   lk_e2e_driver --soak <exe> <workdir> <rounds> [seed] [notepad|keys]
//       random command-3 round trips against notepad or the keys-only
//       stand-in; counts wrong pastes, lost clipboards and stray characters.
//   lk_e2e_driver --bench-roundtrip <exe> <workdir> <runs> [notepad|keys]
//       command-3 round trip times next to a bare copy-and-paste reference.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "bench.h"
#include "bench_roundtrip.h"
#include "cases.h"
#include "check.h"
#include "session.h"
#include "soak.h"
#include "toolbar_process.h"
#include "wait.h"
#include "windows_query.h"

namespace lk::e2e {
namespace {

std::wstring FullPath(const std::wstring& path) {
  wchar_t full[MAX_PATH] = {};
  const DWORD length = GetFullPathNameW(path.c_str(), MAX_PATH, full, nullptr);
  return length > 0 && length < MAX_PATH ? std::wstring(full) : path;
}

bool FileExists(const std::wstring& path) {
  return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

void PrintLine(const std::string& line) {
  std::printf("%s\n", line.c_str());
  std::fflush(stdout);
}

int RunCases(const Context& context, const std::set<std::string>& only, int expectedDpi,
             unsigned expectedAcp) {
  int passed = 0;
  int failed = 0;
  if (expectedAcp > 0 && GetACP() != expectedAcp) {
    PrintLine("FAIL system_code_page: the system runs with code page " + std::to_string(GetACP()) +
              ", expected " + std::to_string(expectedAcp));
    ++failed;
  }
  if (expectedDpi > 0 && static_cast<int>(context.dpi) != expectedDpi) {
    PrintLine("FAIL system_dpi: the system runs at " + std::to_string(context.dpi) +
              " DPI, expected " + std::to_string(expectedDpi));
    ++failed;
  }
  for (const Case& testCase : AllCases()) {
    if (!only.empty() && !only.count(testCase.name)) continue;
    Context caseContext = context;
    caseContext.caseName.assign(testCase.name.begin(), testCase.name.end());
    try {
      testCase.run(caseContext);
      PrintLine("PASS " + testCase.name);
      ++passed;
    } catch (const std::exception& error) {
      PrintLine("FAIL " + testCase.name + ": " + error.what());
      ++failed;
    }
  }
  if (passed + failed == 0) {
    PrintLine("FAIL selection: no case matches --only");
    ++failed;
  }
  PrintLine(std::to_string(passed) + " passed, " + std::to_string(failed) + " failed");
  return failed == 0 ? 0 : 1;
}

int Hold(const Context& context, const std::wstring& readyFile, const std::wstring& doneFile) {
  try {
    // The keys show Devanagari when the legacy test font is there to draw them.
    ToolbarRun run(context, FontInstalled(L"Lekhopakar Test Legacy")
                                ? std::optional<std::string>("[Font]\r\nLastFont=Lekhopakar Test Legacy\r\n")
                                : std::nullopt);
    Toolbar& toolbar = run.toolbar;
    // Paint everything now, so a screenshot taken after "ready" shows it.
    RedrawWindow(toolbar.Window(), nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    Expect(Responds(toolbar.Window()), "the toolbar does not answer messages");
    const RECT frame = toolbar.Frame();
    RECT client{};
    GetClientRect(toolbar.Window(), &client);
    const std::wstring temporary = readyFile + L".tmp";
    {
      std::ofstream out(temporary.c_str(), std::ios::trunc);
      out << frame.left << ' ' << frame.top << ' ' << frame.right << ' ' << frame.bottom << ' '
          << client.right << ' ' << client.bottom << ' ' << context.dpi << '\n';
    }
    Expect(MoveFileExW(temporary.c_str(), readyFile.c_str(), MOVEFILE_REPLACE_EXISTING) != 0,
           "cannot write the ready file");
    Expect(WaitUntil([&] { return FileExists(doneFile); }, 120000, 50),
           "the done file did not appear within 120 s");
    toolbar.Close();
    PrintLine("hold: done");
    return 0;
  } catch (const std::exception& error) {
    PrintLine(std::string("hold failed: ") + error.what());
    return 1;
  }
}

int Usage() {
  PrintLine(
      "usage: lk_e2e_driver <exe> <workdir> [--only a,b] [--expect-dpi N] [--expect-acp N]\n"
      "       lk_e2e_driver --soak <exe> <workdir> <rounds> [seed] [notepad|keys]\n"
      "       lk_e2e_driver --bench-roundtrip <exe> <workdir> <runs> [notepad|keys]\n"
      "       lk_e2e_driver --hold <exe> <workdir> <ready-file> <done-file>\n"
      "       lk_e2e_driver --conversion-pictures <exe> <workdir> <before.bmp> <after.bmp>\n"
      "       lk_e2e_driver --wordpad-pictures <exe> <workdir> <before.bmp> <after.bmp>\n"
      "       lk_e2e_driver --document-pictures <exe> <workdir> <progress.bmp> <summary.bmp>\n"
      "       lk_e2e_driver --bench-startup <exe> <runs> [workdir]\n"
      "       lk_e2e_driver --bench-relabel <exe> <workdir> <runs>");
  return 2;
}

}  // namespace
}  // namespace lk::e2e

int wmain(int argc, wchar_t** argv) {
  using namespace lk::e2e;
  MakeDpiAware();
  std::vector<std::wstring> args(argv + 1, argv + argc);
  if (args.empty()) return Usage();

  if (args[0] == L"--bench-startup") {
    if (args.size() < 3) return Usage();
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    const std::wstring workDir = args.size() > 3 ? FullPath(args[3]) : std::wstring(temp) + L"lk-bench";
    return BenchStartup(FullPath(args[1]), workDir, std::max(1, _wtoi(args[2].c_str())));
  }
  if (args[0] == L"--bench-relabel") {
    if (args.size() != 4) return Usage();
    return BenchRelabel(FullPath(args[1]), FullPath(args[2]), std::max(20, _wtoi(args[3].c_str())));
  }
  if (args[0] == L"--soak" || args[0] == L"--bench-roundtrip") {
    if (args.size() < 4) return Usage();
    // After the count: "keys" for the keys-only stand-in, "notepad", and (soak) a seed.
    bool keysOnly = false;
    unsigned seed = 20240611u;
    for (std::size_t i = 4; i < args.size(); ++i) {
      if (args[i] == L"keys")
        keysOnly = true;
      else if (args[i] != L"notepad" && args[0] == L"--soak")
        seed = static_cast<unsigned>(wcstoul(args[i].c_str(), nullptr, 10));
      else if (args[i] != L"notepad")
        return Usage();
    }
    const int count = std::max(1, _wtoi(args[3].c_str()));
    if (args[0] == L"--soak") return Soak(FullPath(args[1]), FullPath(args[2]), count, seed, keysOnly);
    return BenchRoundTrip(FullPath(args[1]), FullPath(args[2]), count, keysOnly);
  }
  if (args[0] == L"--conversion-pictures") {
    if (args.size() != 5) return Usage();
    return ConversionPictures(Context{FullPath(args[1]), FullPath(args[2]), SystemDpi(), L"conversion_pictures"},
                              args[3], args[4]);
  }
  if (args[0] == L"--wordpad-pictures") {
    if (args.size() != 5) return Usage();
    return WordpadPictures(Context{FullPath(args[1]), FullPath(args[2]), SystemDpi(), L"wordpad_pictures"}, args[3],
                           args[4]);
  }
  if (args[0] == L"--document-pictures") {
    if (args.size() != 5) return Usage();
    return DocumentPictures(Context{FullPath(args[1]), FullPath(args[2]), SystemDpi(), L"document_pictures"},
                            args[3], args[4]);
  }
  if (args[0] == L"--hold") {
    if (args.size() != 5) return Usage();
    return Hold(Context{FullPath(args[1]), FullPath(args[2]), SystemDpi(), L"hold"}, args[3], args[4]);
  }
  if (args.size() < 2) return Usage();
  Context context{FullPath(args[0]), FullPath(args[1]), SystemDpi(), L""};
  std::set<std::string> only;
  int expectedDpi = 0;
  unsigned expectedAcp = 0;
  for (std::size_t i = 2; i + 1 < args.size(); i += 2) {
    if (args[i] == L"--only") {
      std::stringstream names(Narrow(args[i + 1]));
      for (std::string name; std::getline(names, name, ',');) only.insert(name);
    } else if (args[i] == L"--expect-dpi") {
      expectedDpi = _wtoi(args[i + 1].c_str());
    } else if (args[i] == L"--expect-acp") {
      expectedAcp = static_cast<unsigned>(_wtoi(args[i + 1].c_str()));
    } else {
      return Usage();
    }
  }
  if (!FileExists(context.exe)) {
    PrintLine("FAIL setup: no exe at " + Narrow(context.exe));
    PrintLine("0 passed, 1 failed");
    return 1;
  }
  return RunCases(context, only, expectedDpi, expectedAcp);
}
