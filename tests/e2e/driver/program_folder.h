#pragma once
// A fresh program folder per case: a copy of the exe and, when the case wants
// one, an LK.ini of exactly the given bytes.
#include <optional>
#include <string>

namespace lk::e2e {

class ProgramFolder {
 public:
  // Creates (or empties of the exe and LK.ini) `workDir`\`name`.
  ProgramFolder(const std::wstring& exe, const std::wstring& workDir, const std::wstring& name);

  void WriteIni(const std::string& bytes) const;
  // The bytes of LK.ini, or nothing when there is no such file.
  std::optional<std::string> ReadIni() const;

  const std::wstring& Dir() const { return dir_; }
  std::wstring ExePath() const { return dir_ + L"\\lekhopakar.exe"; }
  std::wstring IniPath() const { return dir_ + L"\\LK.ini"; }

 private:
  std::wstring dir_;
};

// LK.ini as a reader sees it: the raw value text after the first "=" of the
// key's line in the section (names compared without regard to letter case),
// nothing when absent. Fails the case when the key occurs more than once.
std::optional<std::string> IniValue(const std::string& bytes, const std::string& section,
                                    const std::string& key);

// Fails the case unless the program folder's LK.ini holds `key` of `section`
// with exactly the value text `expected`.
void ExpectIni(const ProgramFolder& folder, const std::string& section, const std::string& key,
               const std::string& expected);

}  // namespace lk::e2e
