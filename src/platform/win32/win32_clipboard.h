#pragma once
#include <windows.h>

#include <string>

#include "platform/clipboard.h"
#include "platform/win32/window_base.h"

namespace lk::platform {

// Owns a message-only window of its own: it is the owner of what we put on
// the clipboard, so it answers the requests to render our offered text, and
// it listens for clipboard updates, which wake a wait the moment they come.
// The rest of the program never sees a clipboard message.
class Win32Clipboard : public Clipboard {
 public:
  Win32Clipboard();
  // A pending offer is rendered for good before the window goes.
  ~Win32Clipboard() override;
  Win32Clipboard(const Win32Clipboard&) = delete;
  Win32Clipboard& operator=(const Win32Clipboard&) = delete;

  bool HasText() override;
  std::string GetText() override;
  std::optional<std::string> GetRichText(std::size_t maxBytes) override;
  bool Clear() override;
  std::optional<ClipboardSnapshot> Save() override;
  bool Restore(const ClipboardSnapshot& snapshot) override;
  bool Offer(std::string text, std::string rtf, Rendering rendering) override;
  bool OfferTaken() override;

 private:
  class OwnerWindow : public platform::WindowBase {
   public:
    explicit OwnerWindow(Win32Clipboard& clipboard) : clipboard_(clipboard) {}
    bool Create();

   private:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    Win32Clipboard& clipboard_;
  };

  void Render(UINT format);
  void RenderAll();
  HWND owner() const { return window_.hwnd(); }

  std::string offerText_;
  std::string offerRtf_;  // empty: the offer holds no rich text
  bool offerPending_ = false;  // delayed formats not yet rendered
  bool offerTaken_ = false;
  OwnerWindow window_{*this};  // last: it goes first, while the offer is still here
};

}  // namespace lk::platform
