#pragma once
// One WordprocessingML part (the body, a header, the notes, the comments)
// converted run by run. Every paragraph, text boxes' included, becomes the
// run model's pieces; the results go back into the runs they came from.
// The part is written out as it is converted, a paragraph at a time.
#include <atomic>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "documents/docx_styles.h"
#include "documents/docx_xml.h"
#include "documents/run_model.h"

namespace lk::documents::docx {

// One part parsed in place: the tree points into the text it was read
// from, which it keeps.
class WordPart {
 public:
  // Throws DocumentError naming the part when it is not well-formed.
  WordPart(std::string xml, std::string_view partName, const WordFonts& fonts, const ConvertSettings& settings);
  ~WordPart();
  WordPart(const WordPart&) = delete;
  WordPart& operator=(const WordPart&) = delete;

  // Whether converting changes any run; when not, the caller copies the
  // part as it was stored.
  bool Changes() const;
  // The converted part, written paragraph by paragraph as it is converted.
  // Throws Cancelled when cancel is set (polled between paragraphs).
  void Write(pugi::xml_writer& out, Tally& tally, const std::atomic<bool>* cancel = nullptr) const;

 private:
  std::string xml_;
  pugi::xml_document doc_;
  Wml w_;
  const WordFonts& fonts_;
  const ConvertSettings& settings_;
  std::vector<pugi::xml_node> paragraphs_;  // every w:p, text boxes' too, in document order
  std::unordered_set<pugi::xml_node_struct*> holders_;  // elements with a w:p inside
};

// The part's new text, or none when no run changed. Throws as WordPart does.
std::optional<std::string> ConvertWordXml(std::string xml, std::string_view partName, const WordFonts& fonts,
                                          const ConvertSettings& settings, Tally& tally,
                                          const std::atomic<bool>* cancel = nullptr);

}  // namespace lk::documents::docx
