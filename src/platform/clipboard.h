#pragma once
// The clipboard as the target link uses it: the user's contents saved and
// given back around a command, and our own temporary text offered in between.
// Texts are Unicode as UTF-8; legacy-font text is converted before it gets
// here (text/utf8.h), so the system's code page never touches a glyph.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lk::platform {

// One clipboard format as it was saved: registered formats go by name, since
// their numbers differ between sessions.
struct ClipboardItem {
  unsigned format = 0;
  std::string name;
  std::vector<unsigned char> bytes;
};

// The user's whole clipboard, as far as it can be copied safely.
struct ClipboardSnapshot {
  std::vector<ClipboardItem> items;
  bool hasText = false;
  std::string text;  // the plain text among them, when hasText
  bool empty() const { return items.empty() && !hasText; }
};

enum class Rendering { kAtOnce, kOnRequest };

// The registered name of the clipboard's rich text, as word processors,
// RichEdit and mail programs put it beside the plain text.
inline constexpr std::string_view kRichTextFormat = "Rich Text Format";

class Clipboard {
 public:
  virtual ~Clipboard() = default;

  virtual bool HasText() = 0;
  virtual std::string GetText() = 0;
  // The clipboard's "Rich Text Format", when it holds one of at most
  // maxBytes; none when it holds none, a larger one or cannot be opened.
  virtual std::optional<std::string> GetRichText(std::size_t maxBytes) = 0;
  // False when the clipboard could not be opened; it is then as it was.
  virtual bool Clear() = 0;

  // None when the clipboard could not be opened to read it: an empty
  // snapshot would be a promise to give back nothing.
  virtual std::optional<ClipboardSnapshot> Save() = 0;
  // Empties the clipboard and puts the snapshot back, in one opening; an
  // empty snapshot leaves it empty. False when any of it could not go back.
  virtual bool Restore(const ClipboardSnapshot& snapshot) = 0;

  // Empties the clipboard and puts our own temporary text there, in one
  // opening, kept out of clipboard history, monitors and cloud upload. Put
  // there at once, or rendered on request, so that the request tells us
  // another program has read it. False when the text could not be put
  // there; the clipboard is then as it was. A non-empty rtf goes beside the
  // text as "Rich Text Format", rendered the same way.
  virtual bool Offer(const std::string& text, std::string_view rtf, Rendering rendering) = 0;
  // True once another program has read a text rendered on request, and at
  // once for a text put there whole: there is nothing to wait for then.
  virtual bool OfferTaken() = 0;
};

}  // namespace lk::platform
