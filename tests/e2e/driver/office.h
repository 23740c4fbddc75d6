#pragma once
// The Office stand-ins (tests/standins/office_standin.cpp): "Word.Application"
// and "Excel.Application" registered to them, and the log each keeps of the
// font names it was given.
#include <string>

namespace lk::e2e {

// Maps both automation names to the stand-ins' class IDs in the prefix.
void RegisterOfficeClasses();

// The log's bytes: "ready\n", then one font name a line.
std::string ReadLog(const std::wstring& path);

// Where the stand-in lies beside the exe under test.
std::wstring OfficeStandInPath(const std::wstring& exe);

}  // namespace lk::e2e
