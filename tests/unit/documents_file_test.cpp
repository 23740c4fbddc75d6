// One document file converted into another: which files are documents,
// where an output goes, and that the input is never touched, an existing
// output never replaced unasked, and nothing left behind when anything fails.
#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <thread>

#include "documents/document_file.h"
#include "documents/package.h"
#include "package_fixture.h"
#include "temp_dir.h"

namespace lk::documents {
namespace {

namespace fs = std::filesystem;
using convert::Direction;
using convert::LegacyFont;
using lk::testing::FolderNames;
using lk::testing::ErrorOf;
using lk::testing::ReadBytes;
using lk::testing::TempDir;
using lk::testing::U8;
using lk::testing::WriteBytes;

FileJob JobFor(const fs::path& input, const fs::path& output) {
  FileJob job;
  job.input = input;
  job.output = output;
  return job;
}

TEST(DocumentFile, FormatsAreKnownByTheirExtensionInAnyCase) {
  const struct {
    const char* name;
    std::optional<Format> format;
  } cases[] = {
      {"a.docx", Format::kDocx}, {"B.DOCX", Format::kDocx}, {"c.Docm", Format::kDocx}, {"d.dotx", Format::kDocx},
      {"e.rtf", Format::kRtf},   {"f.RTF", Format::kRtf},   {"g.doc", std::nullopt},   {"h.txt", std::nullopt},
      {"docx", std::nullopt},    {"i.docx.txt", std::nullopt}, {"j.dotm", std::nullopt},
      {"k.XLSX", Format::kXlsx}, {"l.xlsm", Format::kXlsx},  {"m.pptx", Format::kPptx}, {"n.PPTM", Format::kPptx},
      {"o.odt", Format::kOdt},   {"p.ods", Format::kOds},    {"q.odp", Format::kOdp},   {"r.xls", std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(FormatOf(c.name), c.format) << c.name;
}

TEST(DocumentFile, OutputsGoBesideTheInputNamedAfterWhatTheyHold) {
  ConvertSettings toUnicode;
  ConvertSettings toPreeti;
  toPreeti.direction = Direction::kToLegacy;
  ConvertSettings toPcs = toPreeti;
  toPcs.options.font = LegacyFont::kPcsNepali;
  const fs::path folder = fs::path("docs") / "2081";
  EXPECT_EQ(DefaultOutputPath(folder / "letter.docx", toUnicode), folder / "letter (Unicode).docx");
  EXPECT_EQ(DefaultOutputPath(folder / "LETTER.DOCM", toUnicode), folder / "LETTER (Unicode).DOCM");
  EXPECT_EQ(DefaultOutputPath(folder / "letter.v2.rtf", toPreeti), folder / "letter.v2 (Preeti).rtf");
  EXPECT_EQ(DefaultOutputPath("letter.docx", toPcs), fs::path("letter (PCS NEPALI).docx"));
  EXPECT_EQ(DefaultOutputPath(fs::path(u8"पत्र.docx"), toUnicode), fs::path(u8"पत्र (Unicode).docx"));
}

TEST(DocumentFile, OurOwnOutputsWordsLockFilesAndOurTemporaryFilesAreSkipped) {
  const struct {
    const char* name;
    bool skipped;
  } cases[] = {
      {"letter (Unicode).docx", true},  {"letter (unicode).rtf", true},     {"letter (Preeti).docx", true},
      {"letter (PCS NEPALI).docx", true}, {"letter (pcs-nepali).docx", true}, {"~$letter.docx", true},
      {".~lk-0123456789abcdef.tmp", true}, {"letter.docx", false},          {"letter (draft).docx", false},
      {"letter (Unicode) v2.docx", false}, {"(Unicode", false},             {"letter (Arial).docx", false},
  };
  for (const auto& c : cases) EXPECT_EQ(IsOwnOutputOrLockFile(fs::path("docs") / c.name), c.skipped) << c.name;
  EXPECT_TRUE(IsOwnOutputOrLockFile(fs::path(u8"पत्र (Unicode).docx")));
}

TEST(DocumentFile, ADocumentIsConvertedIntoANewFileAndUntouchedPartsAreCopiedAsStored) {
  TempDir dir;
  const fs::path input = dir.path() / "letter.docx";
  lk::testing::WritePackage(input, lk::testing::SmallDocx());
  const std::string before = ReadBytes(input);
  const fs::path output = DefaultOutputPath(input, ConvertSettings{});

  ConvertDocumentFile(JobFor(input, output));

  EXPECT_EQ(ReadBytes(input), before);
  EXPECT_EQ(FolderNames(dir.path()), (std::vector<std::string>{"letter (Unicode).docx", "letter.docx"}));
  PackageReader reader(output, Limits{});
  std::vector<std::string> names;
  for (const PartInfo& part : reader.parts()) names.push_back(part.name);
  EXPECT_EQ(names, (std::vector<std::string>{"[Content_Types].xml", "_rels/.rels", "word/document.xml",
                                             "word/media/image1.png"}));
  const auto picture = lk::testing::RawEntry(input, "word/media/image1.png");
  EXPECT_EQ(lk::testing::RawEntry(output, "word/media/image1.png").bytes, picture.bytes);
}

TEST(DocumentFile, TheInputIsNeverTheOutput) {
  TempDir dir;
  const fs::path input = dir.path() / "letter.docx";
  lk::testing::WritePackage(input, lk::testing::SmallDocx());
  const std::string before = ReadBytes(input);
  for (const fs::path& output : {input, dir.path() / "." / "letter.docx", dir.path() / "sub" / ".." / "letter.docx"}) {
    fs::create_directories(dir.path() / "sub");
    FileJob job = JobFor(input, output);
    job.overwrite = true;
    EXPECT_EQ(ErrorOf([&] { ConvertDocumentFile(job); }), "the output would be the input file itself") << output;
  }
  EXPECT_EQ(ReadBytes(input), before);
  EXPECT_EQ(FolderNames(dir.path()), (std::vector<std::string>{"letter.docx", "sub"}));
}

TEST(DocumentFile, AnExistingOutputIsReplacedOnlyWhenAllowed) {
  TempDir dir;
  const fs::path input = dir.path() / "letter.docx";
  const fs::path output = dir.path() / "out.docx";
  lk::testing::WritePackage(input, lk::testing::SmallDocx());
  WriteBytes(output, "mine");

  EXPECT_EQ(ErrorOf([&] { ConvertDocumentFile(JobFor(input, output)); }), "the output file already exists");
  EXPECT_EQ(ReadBytes(output), "mine");

  FileJob job = JobFor(input, output);
  job.overwrite = true;
  ConvertDocumentFile(job);
  EXPECT_NO_THROW(PackageReader(output, Limits{}));
  EXPECT_EQ(FolderNames(dir.path()), (std::vector<std::string>{"letter.docx", "out.docx"}));

  fs::create_directory(dir.path() / "folder.docx");
  job.output = dir.path() / "folder.docx";
  EXPECT_EQ(ErrorOf([&] { ConvertDocumentFile(job); }), "the output is a folder");
}

// Jobs racing for one output name: one wins, the others are told it exists,
// and no temporary file survives any of them.
TEST(DocumentFile, ParallelJobsNeverPublishOverEachOther) {
  TempDir dir;
  const fs::path input = dir.path() / "letter.docx";
  lk::testing::WritePackage(input, lk::testing::SmallDocx());
  const fs::path output = dir.path() / "out.docx";
  std::atomic<int> won{0}, refused{0};
  std::vector<std::thread> jobs;
  for (int i = 0; i < 4; ++i)
    jobs.emplace_back([&] {
      const std::string error = ErrorOf([&] { ConvertDocumentFile(JobFor(input, output)); });
      if (error == "(no error)") ++won;
      if (error == "the output file already exists") ++refused;
    });
  for (auto& job : jobs) job.join();
  EXPECT_EQ(won.load(), 1);
  EXPECT_EQ(refused.load(), 3);
  EXPECT_EQ(FolderNames(dir.path()), (std::vector<std::string>{"letter.docx", "out.docx"}));
}

TEST(DocumentFile, AFailureOrACancelLeavesNothingBehind) {
  TempDir dir;
  const fs::path output = dir.path() / "out.docx";
  // A picture whose CRC is wrong fails only once the output is half written.
  lk::testing::WritePackage(dir.path() / "bad-crc.docx", lk::testing::SmallDocx());
  std::string bytes = ReadBytes(dir.path() / "bad-crc.docx");
  lk::testing::PatchEntry(bytes, "word/media/image1.png", lk::testing::Field::kCrc, 0xDEADBEEF);
  WriteBytes(dir.path() / "bad-crc.docx", bytes);
  WriteBytes(dir.path() / "old.docx", std::string("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8) + std::string(504, '\0'));
  WriteBytes(dir.path() / "text.docx", "not a zip");
  WriteBytes(dir.path() / "old.rtf", std::string("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8) + std::string(504, '\0'));
  lk::testing::WritePackage(dir.path() / "good.docx", lk::testing::SmallDocx());
  const auto inputs = FolderNames(dir.path());

  const struct {
    const char* input;
    const char* message;
  } cases[] = {
      {"bad-crc.docx", "the package is damaged: the checksum (CRC) of \"word/media/image1.png\" does not match"},
      {"old.docx", "this is a .doc file or a password-protected document: save it as .docx in Word first"},
      {"old.rtf", "save it as .docx in Word first"},
      {"text.docx", "not a zip package"},
      {"missing.docx", "the file does not exist"},
      {"good.txt", "not a document Lekhopakar converts"},
  };
  for (const auto& c : cases) {
    const std::string error = ErrorOf([&] { ConvertDocumentFile(JobFor(dir.path() / c.input, output)); });
    EXPECT_NE(error.find(c.message), std::string::npos) << c.input << ": " << error;
    EXPECT_EQ(FolderNames(dir.path()), inputs) << c.input;
  }

  std::atomic<bool> cancel{true};
  FileJob job = JobFor(dir.path() / "good.docx", output);
  job.cancel = &cancel;
  EXPECT_THROW(ConvertDocumentFile(job), Cancelled);
  EXPECT_EQ(FolderNames(dir.path()), inputs);

  job.cancel = nullptr;
  job.output = dir.path() / "missing folder" / "out.docx";
  EXPECT_EQ(ErrorOf([&] { ConvertDocumentFile(job); }), "the output folder does not exist");
  EXPECT_EQ(FolderNames(dir.path()), inputs);
}

TEST(DocumentFile, RtfFilesAreReadWithinTheLimit) {
  TempDir dir;
  const fs::path input = dir.path() / "note.rtf";
  WriteBytes(input, "{\\rtf1\\ansi{\\fonttbl{\\f0 Times New Roman;}}\\f0 Hello.\\par}");
  const fs::path output = DefaultOutputPath(input, ConvertSettings{});
  ConvertDocumentFile(JobFor(input, output));
  EXPECT_EQ(ReadBytes(output).rfind("{\\rtf", 0), 0u);

  FileJob job = JobFor(input, dir.path() / "small.rtf");
  job.limits.maxPartSize = 20;
  EXPECT_NE(ErrorOf([&] { ConvertDocumentFile(job); }).find("larger than the limit"), std::string::npos);
  EXPECT_EQ(FolderNames(dir.path()), (std::vector<std::string>{"note (Unicode).rtf", "note.rtf"}));
}

TEST(DocumentFile, DevanagariFileAndFolderNamesWork) {
  TempDir dir;
  const fs::path folder = dir.path() / fs::path(u8"कागजात");
  fs::create_directories(folder);
  const fs::path input = folder / fs::path(u8"नेपाली पत्र.docx");
  lk::testing::WritePackage(input, lk::testing::SmallDocx());
  const fs::path output = DefaultOutputPath(input, ConvertSettings{});
  ConvertDocumentFile(JobFor(input, output));
  EXPECT_EQ(FolderNames(folder), (std::vector<std::string>{U8(u8"नेपाली पत्र (Unicode).docx"), U8(u8"नेपाली पत्र.docx")}));
  EXPECT_EQ(ErrorOf([&] { ConvertDocumentFile(JobFor(input, output)); }), "the output file already exists");
}

}  // namespace
}  // namespace lk::documents
