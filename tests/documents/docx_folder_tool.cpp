// Converts the text parts of an unpacked Word package in place, as the
// package converter does for a zip: the office-suite check packs the
// result again and has LibreOffice read it.
//   lk_docx_folder --to unicode|legacy DIR
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

#include "documents/document_file.h"
#include "documents/docx_package_parts.h"
#include "documents/docx_part.h"
#include "documents/docx_styles.h"

namespace fs = std::filesystem;
using namespace lk::documents;

namespace {

std::string Slurp(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string ReadIfThere(const fs::path& root, const std::string& part) {
  return part.empty() || !fs::exists(root / part) ? std::string() : Slurp(root / part);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4 || std::string(argv[1]) != "--to") {
    std::cerr << "usage: lk_docx_folder --to unicode|legacy DIR\n";
    return 2;
  }
  ConvertSettings settings;
  settings.direction = std::string(argv[2]) == "legacy" ? lk::convert::Direction::kToLegacy
                                                         : lk::convert::Direction::kToUnicode;
  const fs::path root = argv[3];
  try {
    std::vector<PartInfo> parts;
    for (const auto& entry : fs::recursive_directory_iterator(root))
      if (entry.is_regular_file()) parts.push_back({fs::relative(entry.path(), root).generic_string(), 0, 0, false});
    const auto kinds = docx::ClassifyParts(Slurp(root / "[Content_Types].xml"), parts);
    std::string mainDocument;
    for (std::size_t i = 0; i < parts.size(); ++i)
      if (kinds[i] == docx::WordPartKind::kDocument && parts[i].name.find("glossary") == std::string::npos)
        mainDocument = parts[i].name;
    const std::string relsName = docx::RelationshipsPartOf(mainDocument);
    const std::string rels = ReadIfThere(root, relsName);
    const std::string styles = rels.empty() ? "" : docx::RelationshipTarget(rels, relsName, mainDocument, "styles");
    const std::string theme = rels.empty() ? "" : docx::RelationshipTarget(rels, relsName, mainDocument, "theme");
    const docx::WordFonts fonts(ReadIfThere(root, styles), styles, ReadIfThere(root, theme), theme);
    Tally tally;
    for (std::size_t i = 0; i < parts.size(); ++i) {
      if (kinds[i] == docx::WordPartKind::kOther) continue;
      auto converted = docx::ConvertWordXml(Slurp(root / parts[i].name), parts[i].name, fonts, settings, tally);
      if (converted) std::ofstream(root / parts[i].name, std::ios::binary) << *converted;
    }
    std::cout << tally.convertedRuns << " runs converted, " << tally.unconverted << " characters unconverted\n";
  } catch (const DocumentError& e) {
    std::cerr << root.string() << ": " << e.what() << "\n";
    return 1;
  }
  return 0;
}
