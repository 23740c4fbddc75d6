#include "documents/sheet_header_footer.h"

#include <algorithm>
#include <cstddef>
#include <utility>

namespace lk::documents {
namespace {

using Kind = HeaderFooterToken::Kind;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

// The bytes of the UTF-8 character starting at pos, so that an unknown
// code never cuts one in half.
std::size_t CharacterLength(std::string_view text, std::size_t pos) {
  std::size_t end = pos + 1;
  while (end < text.size() && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) ++end;
  return end - pos;
}

std::string Escaped(std::string_view text) {
  std::string out;
  for (char c : text) {
    out.push_back(c);
    if (c == '&') out.push_back('&');
  }
  return out;
}

std::string FontSwitch(std::string_view family, std::string_view style) {
  return "&\"" + std::string(family) + "," + std::string(style) + "\"";
}

}  // namespace

std::vector<HeaderFooterToken> TokenizeHeaderFooter(std::string_view codes) {
  std::vector<HeaderFooterToken> tokens;
  auto text = [&]() -> HeaderFooterToken& {
    if (tokens.empty() || tokens.back().kind != Kind::kText) tokens.emplace_back();
    return tokens.back();
  };
  auto code = [&](Kind kind, std::size_t from, std::size_t to) -> HeaderFooterToken& {
    HeaderFooterToken& token = tokens.emplace_back();
    token.kind = kind;
    token.raw = std::string(codes.substr(from, to - from));
    return token;
  };
  for (std::size_t pos = 0; pos < codes.size();) {
    if (codes[pos] != '&') {
      const std::size_t next = codes.find('&', pos);
      const std::size_t end = next == std::string_view::npos ? codes.size() : next;
      HeaderFooterToken& token = text();
      token.raw.append(codes.substr(pos, end - pos));
      token.text.append(codes.substr(pos, end - pos));
      pos = end;
      continue;
    }
    const std::size_t start = pos++;
    if (pos == codes.size()) {  // a lone '&' at the end shows nothing
      code(Kind::kFormat, start, pos);
      break;
    }
    const char c = Upper(codes[pos]);
    if (c == '&') {
      HeaderFooterToken& token = text();
      token.raw += "&&";
      token.text += '&';
      ++pos;
    } else if (c == 'L' || c == 'C' || c == 'R') {
      code(Kind::kSection, start, ++pos);
    } else if (c == '"') {
      const std::size_t close = codes.find('"', pos + 1);
      if (close == std::string_view::npos) {  // unterminated: kept, never read as text
        code(Kind::kFormat, start, codes.size());
        break;
      }
      const std::string_view inside = codes.substr(pos + 1, close - pos - 1);
      HeaderFooterToken& font = code(Kind::kFont, start, close + 1);
      const std::size_t comma = inside.find(',');
      font.text = std::string(inside.substr(0, comma));
      if (comma != std::string_view::npos) {
        font.style = std::string(inside.substr(comma + 1));
        font.hasStyle = true;
      }
      pos = close + 1;
    } else if (IsDigit(c)) {
      while (pos < codes.size() && IsDigit(codes[pos])) ++pos;
      code(Kind::kFormat, start, pos);
    } else if (c == 'K') {
      // A colour: six hex digits, or a theme colour "01+050"; either way
      // six characters.
      pos = std::min(codes.size(), pos + 7);
      code(Kind::kFormat, start, pos);
    } else if (c == 'P' || c == 'N' || c == 'D' || c == 'T' || c == 'F' || c == 'A' || c == 'Z' || c == 'G') {
      ++pos;
      // "&P+1": the page number with an offset.
      if (c == 'P' && pos + 1 < codes.size() && (codes[pos] == '+' || codes[pos] == '-') && IsDigit(codes[pos + 1])) {
        ++pos;
        while (pos < codes.size() && IsDigit(codes[pos])) ++pos;
      }
      code(Kind::kField, start, pos);
    } else {
      // &B, &I, &U, &E, &S, &X, &Y, &O, &H and any code we do not know:
      // formatting, never text.
      pos += CharacterLength(codes, pos);
      code(Kind::kFormat, start, pos);
    }
  }
  return tokens;
}

std::optional<std::string> ConvertHeaderFooter(std::string_view codes, const HeaderFooterFonts& fonts,
                                               const ConvertSettings& settings, Tally& tally) {
  const std::optional<convert::LegacyFont> defaultFamily = LegacyFamilyOf(fonts.normal);
  auto familyNamed = [&](std::string_view name) {
    return LegacyFamilyOf(name == "-" ? std::string_view(fonts.body) : name == "+" ? std::string_view(fonts.heading) : name);
  };
  const bool toUnicode = settings.direction == convert::Direction::kToUnicode;
  std::vector<HeaderFooterToken> tokens = TokenizeHeaderFooter(codes);

  // Each text token's context: the font switch it shows under, or -1 for
  // its section's default font.
  constexpr std::ptrdiff_t kDefault = -1;
  std::vector<std::ptrdiff_t> contextOf(tokens.size(), kDefault);
  std::vector<std::string> styleOf(tokens.size(), "Regular");
  std::vector<Piece> pieces;
  std::vector<std::size_t> pieceToken;
  {
    std::ptrdiff_t context = kDefault;
    std::optional<convert::LegacyFont> family = defaultFamily;
    std::string style = "Regular";
    bool joins = false;
    for (std::size_t i = 0; i < tokens.size(); ++i) {
      const HeaderFooterToken& token = tokens[i];
      switch (token.kind) {
        case Kind::kSection:
          context = kDefault;
          family = defaultFamily;
          style = "Regular";
          joins = false;
          break;
        case Kind::kFont:
          context = static_cast<std::ptrdiff_t>(i);
          family = familyNamed(token.text);
          style = token.hasStyle ? token.style : "Regular";
          joins = false;
          break;
        case Kind::kField:
          joins = false;
          break;
        case Kind::kFormat:  // bold or a size between two halves of a syllable
          break;
        case Kind::kText:
          contextOf[i] = context;
          styleOf[i] = style;
          pieces.push_back({token.text, family, joins});
          pieceToken.push_back(i);
          joins = true;
          break;
      }
    }
  }
  if (pieces.empty()) return std::nullopt;
  if (toUnicode) {
    bool any = false;
    for (const Piece& piece : pieces) any |= piece.family.has_value();
    if (!any) return std::nullopt;
  }
  const std::vector<PieceResult> results = ConvertPieces(pieces, settings, tally);
  std::vector<const PieceResult*> resultOf(tokens.size(), nullptr);
  bool changed = false;
  for (std::size_t p = 0; p < results.size(); ++p) {
    if (!results[p].changed()) continue;
    resultOf[pieceToken[p]] = &results[p];
    changed = true;
  }
  if (!changed) return std::nullopt;

  // To Unicode the legacy text takes the Unicode font where its font was
  // switched to, or by a switch of our own at the start of its section
  // when it showed in the default font.
  std::vector<bool> renamed(tokens.size(), false), switchAfter(tokens.size() + 1, false);
  if (toUnicode) {
    std::ptrdiff_t sectionStart = -1;  // the section token, -1 for the start of the codes
    for (std::size_t i = 0; i < tokens.size(); ++i) {
      if (tokens[i].kind == Kind::kSection) sectionStart = static_cast<std::ptrdiff_t>(i);
      if (!resultOf[i]) continue;
      if (contextOf[i] == kDefault)
        switchAfter[static_cast<std::size_t>(sectionStart + 1)] = true;
      else
        renamed[static_cast<std::size_t>(contextOf[i])] = true;
    }
  }
  const std::string legacyName(convert::LegacyFontName(settings.options.font));

  std::string out;
  bool afterSize = false;    // a size code was the last thing written
  std::string pendingBack;   // the switch back from the legacy family, due before what shows next
  auto write = [&](std::string_view raw, bool isSize) {
    out.append(raw);
    afterSize = isSize;
  };
  auto writeText = [&](std::string_view text) {
    if (text.empty()) return;
    if (!pendingBack.empty()) write(std::exchange(pendingBack, std::string()), false);
    // Digits after a size code would be read as part of the size.
    if (afterSize && IsDigit(text.front())) out.push_back(' ');
    write(Escaped(text), false);
  };
  for (std::size_t i = 0; i <= tokens.size(); ++i) {
    if (switchAfter[i]) write(FontSwitch(settings.unicodeFont, "Regular"), false);
    if (i == tokens.size()) break;
    const HeaderFooterToken& token = tokens[i];
    switch (token.kind) {
      case Kind::kSection:
      case Kind::kFont:
        pendingBack.clear();  // a new font follows anyway
        if (renamed[i])
          write("&\"" + settings.unicodeFont + (token.hasStyle ? "," + token.style : std::string()) + "\"", false);
        else
          write(token.raw, false);
        break;
      case Kind::kFormat:
        write(token.raw, token.raw.size() > 1 && IsDigit(token.raw[1]));
        break;
      case Kind::kField:
        if (!pendingBack.empty()) write(std::exchange(pendingBack, std::string()), false);
        write(token.raw, false);
        break;
      case Kind::kText: {
        const PieceResult* result = resultOf[i];
        if (!result) {
          if (!pendingBack.empty()) write(std::exchange(pendingBack, std::string()), false);
          write(token.raw, false);
          break;
        }
        for (const Segment& segment : result->segments) {
          if (!segment.converted || toUnicode) {
            writeText(segment.text);
            continue;
          }
          if (segment.text.empty()) continue;
          // To legacy: the Devanagari takes the legacy family in the style
          // it had, and what follows goes back to the font it was in.
          const std::ptrdiff_t context = contextOf[i];
          const HeaderFooterToken* font =
              context == kDefault ? nullptr : &tokens[static_cast<std::size_t>(context)];
          const std::string& style = styleOf[i];
          if (pendingBack.empty()) write(FontSwitch(legacyName, style), false);
          pendingBack.clear();
          write(Escaped(segment.text), false);
          pendingBack = FontSwitch(font ? std::string_view(font->text) : std::string_view(fonts.normal), style);
        }
        break;
      }
    }
  }
  if (out == codes) return std::nullopt;
  return out;
}

}  // namespace lk::documents
