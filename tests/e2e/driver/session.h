#pragma once
// How a case begins: a program folder of its own with LK.ini of exactly the
// bytes the case states (or none), the toolbar started there, and, for a case
// that edits, a target application placed clear of the toolbar.
#include <optional>
#include <string>

#include "cases.h"
#include "program_folder.h"
#include "target_link.h"
#include "toolbar_process.h"

namespace lk::e2e {

// The factory [Customize] settings and a last font installed nowhere, so that
// no font is chosen at start.
extern const std::string kFactoryNoFont;

struct ToolbarRun {
  explicit ToolbarRun(const Context& context, const std::optional<std::string>& ini = std::nullopt);

  ProgramFolder folder;
  std::optional<std::string> iniAtStart;  // as read back before the toolbar started
  Toolbar toolbar;
};

enum class Target { kNotepad, kWordpad, kKeysOnly, kSlowPaste };

struct TargetRun : ToolbarRun {
  explicit TargetRun(const Context& context, Target kind = Target::kNotepad,
                     const std::optional<std::string>& ini = std::string(kFactoryCustomize));

  TargetApp target;
};

}  // namespace lk::e2e
