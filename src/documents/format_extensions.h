#pragma once
// Every file-name extension a document format is known by, in one table:
// FormatOf answers from it and the toolbar's file dialog builds its filter
// from it, so the two never disagree.
#include <string_view>

#include "documents/document_file.h"

namespace lk::documents {

struct FormatExtension {
  std::string_view extension;  // lower case, with its dot
  Format format;
};

inline constexpr FormatExtension kFormatExtensions[] = {
    {".docx", Format::kDocx}, {".docm", Format::kDocx}, {".dotx", Format::kDocx},
    {".xlsx", Format::kXlsx}, {".xlsm", Format::kXlsx},
    {".pptx", Format::kPptx}, {".pptm", Format::kPptx},
    {".odt", Format::kOdt},   {".ods", Format::kOds},   {".odp", Format::kOdp},
    {".rtf", Format::kRtf},
};

}  // namespace lk::documents
