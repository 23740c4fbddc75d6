#pragma once
#include <string>

#include "platform/shell.h"

namespace lk::platform {

// Sets the font name of the selection in the running instance of an
// automation class ("Word.Application"). Unreachable when no instance runs
// or the class is not registered; done otherwise, whatever became of the font.
AutomationResult SetOfficeSelectionFont(const wchar_t* progId, const std::string& fontName);

}  // namespace lk::platform
