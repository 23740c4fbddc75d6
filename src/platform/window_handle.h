#pragma once
#include <cstdint>

namespace lk::platform {

// Another program's window (or one of its controls), as the window system
// names it; 0 is none.
using WindowHandle = std::uintptr_t;

}  // namespace lk::platform
