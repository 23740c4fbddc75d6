#include "rtf_runs.h"

#include <cctype>
#include <cstdlib>
#include <map>

namespace lk::e2e {
namespace {

struct State {
  int font = 0;
  bool bold = false;
  int fallback = 1;  // \ucN
  bool skip = false;  // a destination that holds no text of the document
  bool fontTable = false;
};

bool SkippedDestination(const std::string& word) {
  return word == "colortbl" || word == "stylesheet" || word == "info" || word == "pict" || word == "generator" ||
         word == "listtable" || word == "listoverridetable" || word == "themedata" || word == "latentstyles";
}

}  // namespace

std::vector<RtfChar> RtfChars(const std::string& rtf) {
  std::vector<RtfChar> out;
  std::map<int, std::wstring> fonts;
  std::vector<State> stack{State{}};
  int tableFont = 0;
  std::wstring tableName;
  int skipFallback = 0;
  const auto put = [&](wchar_t c) {
    State& state = stack.back();
    if (skipFallback > 0) {
      --skipFallback;
      return;
    }
    if (state.skip) return;
    if (state.fontTable) {
      if (c == L';') {
        fonts[tableFont] = tableName;
        tableName.clear();
      } else {
        tableName += c;
      }
      return;
    }
    out.push_back({c, std::wstring(), state.bold});
    out.back().font = std::to_wstring(state.font);  // named once the table is known
  };
  bool starred = false;
  for (std::size_t i = 0; i < rtf.size();) {
    const char c = rtf[i];
    if (c == '{') {
      stack.push_back(stack.back());
      ++i;
      continue;
    }
    if (c == '}') {
      if (stack.size() > 1) stack.pop_back();
      ++i;
      continue;
    }
    if (c == '\r' || c == '\n') {
      ++i;
      continue;
    }
    if (c != '\\') {
      put(static_cast<unsigned char>(c));
      ++i;
      continue;
    }
    ++i;
    if (i >= rtf.size()) break;
    const char next = rtf[i];
    if (next == '*') {
      starred = true;
      ++i;
      continue;
    }
    if (next == '\'') {
      // Wine writes \'hh in Windows-1252; the checks look at ASCII and \uN.
      put(static_cast<wchar_t>(std::strtol(rtf.substr(i + 1, 2).c_str(), nullptr, 16)));
      i += 3;
      continue;
    }
    if (!std::isalpha(static_cast<unsigned char>(next))) {
      put(static_cast<unsigned char>(next));
      ++i;
      continue;
    }
    std::size_t end = i;
    while (end < rtf.size() && std::isalpha(static_cast<unsigned char>(rtf[end]))) ++end;
    const std::string word = rtf.substr(i, end - i);
    std::size_t numberEnd = end;
    if (numberEnd < rtf.size() && rtf[numberEnd] == '-') ++numberEnd;
    while (numberEnd < rtf.size() && std::isdigit(static_cast<unsigned char>(rtf[numberEnd]))) ++numberEnd;
    const bool hasNumber = numberEnd > end;
    const long number = hasNumber ? std::strtol(rtf.substr(end, numberEnd - end).c_str(), nullptr, 10) : 1;
    i = numberEnd;
    if (i < rtf.size() && rtf[i] == ' ') ++i;
    State& state = stack.back();
    if (starred || SkippedDestination(word)) state.skip = true;
    starred = false;
    if (word == "fonttbl") {
      state.fontTable = true;
    } else if (word == "f") {
      if (state.fontTable) tableFont = static_cast<int>(number);
      else state.font = static_cast<int>(number);
    } else if (word == "b") {
      state.bold = number != 0;
    } else if (word == "plain") {
      state.bold = false;
    } else if (word == "uc") {
      state.fallback = static_cast<int>(number);
    } else if (word == "u") {
      put(static_cast<wchar_t>(static_cast<unsigned short>(static_cast<short>(number))));
      skipFallback = state.fallback;
    } else if (word == "par" || word == "line") {
      put(L'\n');
    } else if (word == "tab") {
      put(L'\t');
    }
  }
  for (RtfChar& ch : out) ch.font = fonts[std::stoi(ch.font)];
  return out;
}

std::vector<RtfChar> RtfWord(const std::vector<RtfChar>& chars, const std::wstring& word) {
  for (std::size_t start = 0; start + word.size() <= chars.size(); ++start) {
    std::size_t k = 0;
    while (k < word.size() && chars[start + k].c == word[k]) ++k;
    if (k == word.size()) return {chars.begin() + start, chars.begin() + start + word.size()};
  }
  return {};
}

}  // namespace lk::e2e
