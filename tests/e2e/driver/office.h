#pragma once
// The Office stand-ins (tests/standins/office_standin.cpp): "Word.Application"
// and "Excel.Application" registered to them, and the log each keeps of the
// font names it was given.
#include <windows.h>

#include <memory>
#include <optional>
#include <string>

#include "target_link.h"
#include "toolbar_process.h"

namespace lk::e2e {

// office_standin.exe playing Word or Excel, reachable through automation by
// the time the constructor returns; with `window`, also a document window of
// the application's own class placed there.
class OfficeStandIn {
 public:
  OfficeStandIn(const std::wstring& exe, const std::wstring& folder, const std::wstring& role,
                const std::optional<RECT>& window = std::nullopt);

  // "ready\n", then one font name a line.
  std::string Log() const;
  void ExpectLog(const std::string& expected, const std::string& after) const;
  TargetApp& Document();

 private:
  std::string role_;
  std::wstring log_;
  std::unique_ptr<RunningProgram> program_;
  std::optional<TargetApp> window_;
};

}  // namespace lk::e2e
