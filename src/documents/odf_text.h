#pragma once
// The paragraphs of one OpenDocument part converted span by span: text in
// office:body (content.xml) and in office:master-styles (styles.xml: headers,
// footers, the text of master pages and their notes).
#include <atomic>
#include <string>
#include <string_view>

#include "documents/odf_styles.h"
#include "documents/run_model.h"

namespace lk::documents::odf {

// Throws DocumentError naming the part when it is not well-formed XML.
void ParsePart(XmlPart& part, std::string xml);
std::string SerializePart(const XmlPart& part);
void SavePart(const XmlPart& part, pugi::xml_writer& out);

// Converts the part's paragraphs; part.changed tells whether anything was.
// Throws Cancelled.
void ConvertPartText(XmlPart& part, StyleSheet& sheet, const ConvertSettings& settings, Tally& tally,
                     const std::atomic<bool>* cancel);

}  // namespace lk::documents::odf
