#pragma once
// Where the toolbar's start-up time goes: with LK_STARTUP_TRACE naming a
// file, each step appends its name and the milliseconds since the process
// was created. Without it nothing is measured or written.
namespace lk::ui {

// The last step closes the trace: what follows is no longer start-up.
void TraceStartup(const char* step, bool last = false);

}  // namespace lk::ui
