#pragma once
// The driver finds the program's controls by the same identifiers the program
// gives them.
#include "ui/layout/control_ids.h"

namespace lk::e2e {

using namespace lk::ui::toolbar::id;
using lk::ui::toolbar::kKeyCount;
using namespace lk::ui::select_application::id;
using namespace lk::ui::customize::id;
namespace documents_id = lk::ui::documents::id;

}  // namespace lk::e2e
