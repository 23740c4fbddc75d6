#pragma once
// What a person sees of an RTF text: its characters, each with the font it
// is drawn in and whether it is bold. Only as much of RTF as Wine's RichEdit
// writes: enough to check what Wordpad holds after a conversion.
#include <string>
#include <vector>

namespace lk::e2e {

struct RtfChar {
  wchar_t c;
  std::wstring font;
  bool bold;
};

std::vector<RtfChar> RtfChars(const std::string& rtf);

// The characters of the first place where `word` stands; empty when it is
// not there.
std::vector<RtfChar> RtfWord(const std::vector<RtfChar>& chars, const std::wstring& word);

}  // namespace lk::e2e
