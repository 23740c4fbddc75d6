#pragma once
// Which parts of a Word package hold text, found by content type as
// [Content_Types].xml gives it, and where a document's styles and theme
// are, found through its relationships. Part names are compared as OPC
// compares them: without regard to ASCII case.
#include <string>
#include <string_view>
#include <vector>

#include "documents/package.h"

namespace lk::documents::docx {

enum class WordPartKind {
  kOther,     // copied as it is
  kDocument,  // the main document or the glossary: holds text, owns styles
  kText,      // a header, footer, the notes, the comments
};

// One kind per part, in the order of parts. Throws DocumentError when the
// content types are not well-formed.
std::vector<WordPartKind> ClassifyParts(std::string contentTypes, const std::vector<PartInfo>& parts);

// "word/document.xml" -> "word/_rels/document.xml.rels".
std::string RelationshipsPartOf(std::string_view part);

// The target of the first internal relationship whose type ends in
// "/typeSuffix" (e.g. "styles", "theme"), as a part name; empty when none.
std::string RelationshipTarget(std::string rels, std::string_view relsName, std::string_view source,
                               std::string_view typeSuffix);

// A relationship's target as a part name: relative to the source's folder,
// or from the package root when it starts with '/'.
std::string ResolveTarget(std::string_view source, std::string_view target);

bool SamePartName(std::string_view a, std::string_view b);

}  // namespace lk::documents::docx
