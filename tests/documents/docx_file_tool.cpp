// Converts one document file into a new one through the same entry point
// as the command line and the toolbar, for the office-suite check.
//   lk_docx_convert --to unicode|legacy IN OUT
#include <filesystem>
#include <iostream>
#include <string>

#include "documents/document_file.h"

int main(int argc, char** argv) {
  using namespace lk::documents;
  if (argc != 5 || std::string(argv[1]) != "--to") {
    std::cerr << "usage: lk_docx_convert --to unicode|legacy IN OUT\n";
    return 2;
  }
  FileJob job;
  job.settings.direction =
      std::string(argv[2]) == "legacy" ? lk::convert::Direction::kToLegacy : lk::convert::Direction::kToUnicode;
  job.input = argv[3];
  job.output = argv[4];
  try {
    const Tally tally = ConvertDocumentFile(job);
    std::cout << tally.convertedRuns << " runs converted, " << tally.unconverted << " characters unconverted\n";
  } catch (const DocumentError& e) {
    std::cerr << job.input.string() << ": " << e.what() << "\n";
    return 1;
  }
  return 0;
}
