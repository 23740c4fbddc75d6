#pragma once
// Other programs' windows: the catalogue the target is chosen from, and
// bringing the target to the front. Also the wait that keeps our own
// windows answering while we watch theirs.
#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include "platform/window_handle.h"

namespace lk::platform {

// What became of a request to bring a window to the front.
enum class Activation { kDone, kNoSuchWindow };

class Windows {
 public:
  virtual ~Windows() = default;

  virtual std::vector<WindowHandle> EnumTopLevel() = 0;
  virtual bool Exists(WindowHandle window) = 0;
  virtual bool IsVisible(WindowHandle window) = 0;
  virtual bool IsEnabled(WindowHandle window) = 0;
  virtual std::string Title(WindowHandle window) = 0;
  // The name of the window's class ("OpusApp" for Word's main window).
  virtual std::string ClassName(WindowHandle window) = 0;
  virtual void Flash(WindowHandle window) = 0;

  // Gives the window the focus and brings it to the foreground, without
  // waiting for it and without changing whether it is minimised.
  virtual Activation Activate(WindowHandle window) = 0;
  // The top-level window that has the foreground now.
  virtual WindowHandle Foreground() = 0;
  // Returns once the window's thread has handled what was sent to it so far
  // (its activation, say); false when it did not answer within the bound.
  virtual bool CatchUpWith(WindowHandle window, std::chrono::milliseconds bound) = 0;
  // The control that has the keyboard focus in the window's thread, when it
  // is a standard edit control (plain or rich) of that window; 0 when the
  // focus is anywhere else, a custom control say.
  virtual WindowHandle FocusedEditControl(WindowHandle window) = 0;

  // Handles messages until the condition holds or the bound passes; true
  // when it holds. Fast paths pay nothing: the condition is tested first.
  virtual bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds bound) = 0;
};

}  // namespace lk::platform
