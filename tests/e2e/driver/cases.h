#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace lk::e2e {

struct Context {
  std::wstring exe;      // the lekhopakar.exe under test
  std::wstring workDir;  // each case makes its program folder below it
  UINT dpi;              // the DPI the system runs at
  std::wstring caseName;  // names the case's program folder
};

struct Case {
  std::string name;
  std::function<void(const Context&)> run;
};

std::vector<Case> AllCases();
std::vector<Case> TargetCases();
std::vector<Case> CustomizeCases();
std::vector<Case> CommandCases();
std::vector<Case> TestFontCases();
std::vector<Case> ConvertCases();
std::vector<Case> FocusCases();
std::vector<Case> DocumentCases();

// Notepad before and after a conversion to Unicode, as two BMP files.
int ConversionPictures(const Context& context, const std::wstring& before, const std::wstring& after);
// Wordpad before and after a conversion to Unicode of formatted text.
int WordpadPictures(const Context& context, const std::wstring& before, const std::wstring& after);
// The document window during a run and at its end, as two BMP files, each
// with its window's rectangle in "<file>.rect".
int DocumentPictures(const Context& context, const std::wstring& progress, const std::wstring& summary);

}  // namespace lk::e2e
