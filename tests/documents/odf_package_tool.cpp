// Converts one OpenDocument package into another through the package layer,
// for the office-suite check: LibreOffice reads what this writes.
//   lk_odf_package --to unicode|legacy IN OUT
#include <filesystem>
#include <iostream>
#include <string>

#include "documents/document_file.h"
#include "documents/odf.h"
#include "documents/package.h"

int main(int argc, char** argv) {
  using namespace lk::documents;
  if (argc != 5 || std::string(argv[1]) != "--to") {
    std::cerr << "usage: lk_odf_package --to unicode|legacy IN OUT\n";
    return 2;
  }
  ConvertSettings settings;
  settings.direction = std::string(argv[2]) == "legacy" ? lk::convert::Direction::kToLegacy
                                                         : lk::convert::Direction::kToUnicode;
  try {
    PackageReader reader(argv[3], Limits{});
    Tally tally;
    {
      PackageWriter writer(argv[4]);
      ConvertOpenDocument(reader, writer, settings, tally, nullptr);
      writer.Finish();
    }
    std::cout << tally.convertedRuns << " runs converted, " << tally.unconverted << " characters unconverted\n";
  } catch (const std::exception& e) {
    std::cerr << argv[3] << ": " << e.what() << "\n";
    std::filesystem::remove(argv[4]);
    return 1;
  }
  return 0;
}
