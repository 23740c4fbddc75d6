// Converts one .xlsx/.xlsm or .pptx/.pptm file through the zip package
// layer, as a document file is converted: the office-suite check has
// LibreOffice read the result.
//   lk_office_convert --to unicode|legacy IN OUT
#include <cstdio>
#include <filesystem>
#include <string>

#include "documents/document_file.h"
#include "documents/package.h"
#include "documents/sheets_and_slides.h"

using namespace lk::documents;

int main(int argc, char** argv) {
  if (argc != 5 || std::string(argv[1]) != "--to") {
    std::fprintf(stderr, "usage: lk_office_convert --to unicode|legacy IN OUT\n");
    return 2;
  }
  ConvertSettings settings;
  if (std::string(argv[2]) == "legacy") settings.direction = lk::convert::Direction::kToLegacy;
  const std::filesystem::path input = argv[3], output = argv[4];
  std::string extension = input.extension().string();
  for (char& c : extension) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  try {
    PackageReader reader(input, Limits{});
    PackageWriter writer(output);
    Tally tally;
    if (extension == ".xlsx" || extension == ".xlsm")
      ConvertXlsx(reader, writer, settings, tally, nullptr);
    else if (extension == ".pptx" || extension == ".pptm")
      ConvertPptx(reader, writer, settings, tally, nullptr);
    else
      throw DocumentError("not a workbook or a presentation");
    writer.Finish();
    std::printf("%s: %llu runs converted, %llu characters without an equivalent\n", input.filename().string().c_str(),
                static_cast<unsigned long long>(tally.convertedRuns),
                static_cast<unsigned long long>(tally.unconverted));
  } catch (const std::exception& error) {
    std::filesystem::remove(output);
    std::fprintf(stderr, "%s: %s\n", input.string().c_str(), error.what());
    return 1;
  }
  return 0;
}
