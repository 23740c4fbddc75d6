#include "session.h"

#include "check.h"

namespace lk::e2e {

const std::string kFactoryNoFont = std::string(kFactoryCustomize) + "[Font]\r\nLastFont=No Such Font Anywhere\r\n";

namespace {

ProgramFolder FolderWithIni(const Context& context, const std::optional<std::string>& ini) {
  Expect(!context.caseName.empty(), "the case has no name for its program folder");
  ProgramFolder folder(context.exe, context.workDir, context.caseName);
  if (ini) folder.WriteIni(*ini);
  return folder;
}

TargetApp StartTarget(Target kind, const std::wstring& exe, const std::wstring& folder) {
  switch (kind) {
    case Target::kWordpad:
      return TargetApp::Wordpad(folder);
    case Target::kKeysOnly:
      return TargetApp::KeysOnly(exe, folder);
    case Target::kSlowPaste:
      return TargetApp::SlowPaste(exe, folder);
    case Target::kNotepad:
      break;
  }
  return TargetApp::Notepad(folder);
}

}  // namespace

ToolbarRun::ToolbarRun(const Context& context, const std::optional<std::string>& ini)
    : folder(FolderWithIni(context, ini)), iniAtStart(folder.ReadIni()), toolbar(folder.ExePath(), folder.Dir()) {}

TargetRun::TargetRun(const Context& context, Target kind, const std::optional<std::string>& ini)
    : ToolbarRun(context, ini), target(StartTarget(kind, context.exe, folder.Dir())) {}

}  // namespace lk::e2e
