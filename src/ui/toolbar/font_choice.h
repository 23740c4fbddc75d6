#pragma once
// What choosing a font does outside the toolbar: when the target is Word or
// Excel, the target's selection takes the font too.
#include <string>

#include "platform/shell.h"

namespace lk::ui::toolbar {

// Word first, then Excel, each only when the target's name names it (any
// letter case). Word unreachable ends it: Excel is not tried then.
void ApplyFontToOffice(platform::Shell& shell, const std::string& targetName, const std::string& fontName);

}  // namespace lk::ui::toolbar
