#pragma once
// What the program asks of the system around it: message boxes, Office
// automation, the installed fonts, the folder it runs from and the file
// manager.
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace lk::platform {

enum class BoxKind {
  kPlain,        // text and OK
  kInformation,  // with the information icon
  kStop,         // with the stop icon
  kYesNo,        // a question answered Yes or No
};

struct BoxStyle {
  BoxKind kind = BoxKind::kPlain;
  // Above every window, not only ours: for messages about another program's
  // window that the user is looking at.
  bool systemModal = false;
  bool operator==(const BoxStyle&) const = default;
};

enum class BoxAnswer { kOk, kYes, kNo };

enum class OfficeApplication { kWord, kExcel };

enum class AutomationResult {
  kDone,         // the application answered, whatever became of the font
  kUnreachable,  // no running instance, or the application is not installed
};

class Shell {
 public:
  virtual ~Shell() = default;

  // A modal message box; no title means the program's default one.
  virtual BoxAnswer ShowMessage(const std::string& text, BoxStyle style, const std::optional<std::string>& title) = 0;

  // Sets the font name of the selection in the running instance of the
  // application.
  virtual AutomationResult SetSelectionFont(OfficeApplication application, const std::string& fontName) = 0;

  virtual std::vector<std::string> ScreenFonts() = 0;
  // The family of this name (in any letter case) as ScreenFonts spells it,
  // when it is installed: one family looked for, not all of them listed.
  virtual std::optional<std::string> ScreenFontNamed(const std::string& name) = 0;
  virtual std::filesystem::path::string_type ProgramDirectory() = 0;

  // Shows a folder in the system's file manager; false when none opened.
  virtual bool OpenFolder(const std::filesystem::path& folder) = 0;
};

}  // namespace lk::platform
