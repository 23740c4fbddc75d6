#pragma once
// One tooltip control serves every tool of a window; texts are shown exactly
// as given, blanks and all.
#include <windows.h>

#include <string>
#include <string_view>
#include <unordered_set>

namespace lk::ui {

class Tooltips {
 public:
  Tooltips() = default;
  ~Tooltips();
  Tooltips(const Tooltips&) = delete;
  Tooltips& operator=(const Tooltips&) = delete;

  void Create(HWND owner);
  // How a tool's mouse messages reach the tooltip: through a subclass the
  // tooltip puts on the tool, or passed on by the tool's own subclass (Relay).
  enum class Feed { kSubclass, kRelayed };

  // Adds the tool on first use, then replaces its text; an empty text shows nothing.
  void Set(HWND tool, std::string_view legacyText, Feed feed = Feed::kSubclass);
  // The same for Unicode text (UTF-8).
  void SetUnicode(HWND tool, std::string_view utf8, Feed feed = Feed::kSubclass);
  // A relayed tool's mouse message; others are let through untouched.
  void Relay(HWND tool, UINT msg, WPARAM wParam, LPARAM lParam) const;
  HWND hwnd() const { return tip_; }

 private:
  void SetWide(HWND tool, std::wstring text, Feed feed);

  HWND owner_ = nullptr;
  HWND tip_ = nullptr;
  std::unordered_set<HWND> tools_;
};

}  // namespace lk::ui
