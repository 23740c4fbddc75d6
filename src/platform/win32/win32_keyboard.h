#pragma once
#include "platform/keyboard.h"

namespace lk::platform {

class Win32Keyboard : public Keyboard {
 public:
  std::size_t SendKeys(const std::vector<KeyStroke>& strokes) override;
  void TypeUnicode(char16_t unit) override;
  bool ModifiersDown() override;
  bool HasAltNumpadEntry() override;
  bool SendEditRequest(WindowHandle control, EditRequest request, std::chrono::milliseconds bound) override;
  std::optional<EditSelection> SelectionOf(WindowHandle control) override;
};

}  // namespace lk::platform
