#include "program_folder.h"

#include <windows.h>

#include <algorithm>
#include <cctype>
#include <fstream>
#include <iterator>
#include <sstream>

#include "check.h"

namespace lk::e2e {
namespace {

bool SameLetters(const std::string& a, const std::string& b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return std::toupper(static_cast<unsigned char>(x)) == std::toupper(static_cast<unsigned char>(y));
  });
}

std::string Trimmed(const std::string& text) {
  const auto first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

}  // namespace

ProgramFolder::ProgramFolder(const std::wstring& exe, const std::wstring& workDir,
                             const std::wstring& name)
    : dir_(workDir + L"\\" + name) {
  CreateDirectoryW(workDir.c_str(), nullptr);
  CreateDirectoryW(dir_.c_str(), nullptr);
  DeleteFileW(IniPath().c_str());
  Expect(GetFileAttributesW(IniPath().c_str()) == INVALID_FILE_ATTRIBUTES,
         "cannot remove an old LK.ini from the program folder");
  const bool copied = CopyFileW(exe.c_str(), ExePath().c_str(), FALSE) != 0;
  const DWORD error = copied ? 0 : GetLastError();
  Expect(copied, "cannot copy the exe into the program folder (error " + std::to_string(error) + ")");
}

void ProgramFolder::WriteIni(const std::string& bytes) const {
  std::ofstream out(IniPath().c_str(), std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  Expect(out.good(), "cannot write LK.ini");
}

std::optional<std::string> ProgramFolder::ReadIni() const {
  std::ifstream in(IniPath().c_str(), std::ios::binary);
  if (!in) return std::nullopt;
  return std::string(std::istreambuf_iterator<char>(in), {});
}

std::optional<std::string> IniValue(const std::string& bytes, const std::string& section,
                                    const std::string& key) {
  std::optional<std::string> value;
  std::string current;
  std::istringstream lines(bytes);
  for (std::string line; std::getline(lines, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const std::string trimmed = Trimmed(line);
    if (!trimmed.empty() && trimmed.front() == '[') {
      const auto close = trimmed.find(']');
      current = Trimmed(trimmed.substr(1, close == std::string::npos ? close : close - 1));
      continue;
    }
    const auto equals = line.find('=');
    if (equals == std::string::npos || !SameLetters(current, section)) continue;
    if (!SameLetters(Trimmed(line.substr(0, equals)), key)) continue;
    Expect(!value, "LK.ini holds key " + key + " of [" + section + "] more than once");
    value = line.substr(equals + 1);
  }
  return value;
}

void ExpectIni(const ProgramFolder& folder, const std::string& section, const std::string& key,
               const std::string& expected) {
  const auto bytes = folder.ReadIni();
  Expect(bytes.has_value(), "there is no LK.ini");
  const auto value = IniValue(*bytes, section, key);
  Expect(value.has_value(), "LK.ini has no key " + key + " in [" + section + "]: " + QuoteBytes(*bytes));
  Expect(*value == expected, "LK.ini [" + section + "] holds " + QuoteBytes(key + "=" + *value) + ", expected " +
                                 QuoteBytes(key + "=" + expected));
}

}  // namespace lk::e2e
