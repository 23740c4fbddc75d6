// The zip layer under every document format: parts read in order and
// within bounds, parts we do not rewrite copied as stored, and every kind of
// damaged or crafted package refused with a message a person can act on.
#include <gtest/gtest.h>
#include <zip.h>

#include <algorithm>
#include <functional>

#include "documents/package.h"
#include "package_fixture.h"
#include "temp_dir.h"

namespace lk::documents {
namespace {

namespace fs = std::filesystem;
using lk::testing::Field;
using lk::testing::ErrorOf;
using lk::testing::ReadBytes;
using lk::testing::TempDir;
using lk::testing::TestPart;
using lk::testing::WriteBytes;

std::vector<TestPart> VariedParts() {
  std::string xml = "<?xml version=\"1.0\"?><w:document>";
  for (int i = 0; i < 20000; ++i) xml += "<w:p><w:r><w:t>g]kfn " + std::to_string(i) + "</w:t></w:r></w:p>";
  xml += "</w:document>";
  return {
      {"mimetype", "application/vnd.oasis.opendocument.text", true},
      {"[Content_Types].xml", "<Types/>"},
      {"word/document.xml", xml},
      {"word/media/empty.bin", ""},
      {"word/media/image1.png", lk::testing::NoiseBytes(300000)},
      {lk::testing::U8(u8"word/media/चित्र.xml"), lk::testing::U8(u8"<t>नेपाल</t>")},
  };
}

TEST(DocumentPackage, PartsComeBackInTheirOrderAndCopiesAreByteForByte) {
  TempDir dir;
  const auto parts = VariedParts();
  lk::testing::WritePackage(dir.path() / "a.zip", parts);

  PackageReader reader(dir.path() / "a.zip", Limits{});
  ASSERT_EQ(reader.parts().size(), parts.size());
  for (std::size_t i = 0; i < parts.size(); ++i) {
    const PartInfo& info = reader.parts()[i];
    EXPECT_EQ(info.name, parts[i].name);
    EXPECT_EQ(info.size, parts[i].content.size());
    EXPECT_EQ(info.stored, parts[i].store) << info.name;
    EXPECT_TRUE(reader.Has(info.name));
    EXPECT_EQ(reader.Read(info.name), parts[i].content) << info.name;
  }
  EXPECT_FALSE(reader.Has("word/styles.xml"));
  EXPECT_LT(reader.parts()[2].compressedSize, reader.parts()[2].size / 10) << "deflated";

  {
    PackageWriter writer(dir.path() / "b.zip");
    for (const PartInfo& info : reader.parts()) writer.CopyRaw(reader, info.name);
    writer.Finish();
  }
  // Same headers, same stored bytes: the whole file comes out identical.
  EXPECT_EQ(ReadBytes(dir.path() / "b.zip"), ReadBytes(dir.path() / "a.zip"));
}

TEST(DocumentPackage, CopyKeepsAnotherToolsCompressionAsItWas) {
  TempDir dir;
  const fs::path source = dir.path() / "foreign.zip";
  const std::string xml(100000, 'x');
  const std::string text = "नेपाल " + std::string(5000, 'a') + lk::testing::NoiseBytes(5000);
  struct Entry {
    const char* name;
    int method, level;
    const std::string* content;
  };
  const Entry entries[] = {
      {"best.xml", Z_DEFLATED, 9, &xml}, {"fast.xml", Z_DEFLATED, 1, &text}, {"stored.bin", 0, 0, &text}};
  zipFile zip = zipOpen64(source.string().c_str(), APPEND_STATUS_CREATE);
  ASSERT_NE(zip, nullptr);
  for (const Entry& e : entries) {
    zip_fileinfo info{};
    info.dosDate = 0x5A8C6C21;  // some day in 2025
    ASSERT_EQ(zipOpenNewFileInZip64(zip, e.name, &info, nullptr, 0, nullptr, 0, nullptr, e.method, e.level, 0), ZIP_OK);
    ASSERT_EQ(zipWriteInFileInZip(zip, e.content->data(), static_cast<unsigned>(e.content->size())), ZIP_OK);
    ASSERT_EQ(zipCloseFileInZip(zip), ZIP_OK);
  }
  ASSERT_EQ(zipClose(zip, nullptr), ZIP_OK);

  PackageReader reader(source, Limits{});
  {
    PackageWriter writer(dir.path() / "copy.zip");
    for (const Entry& e : entries) writer.CopyRaw(reader, e.name);
    writer.Finish();
  }
  PackageReader copy(dir.path() / "copy.zip", Limits{});
  for (const Entry& e : entries) {
    const auto original = lk::testing::RawEntry(source, e.name);
    const auto copied = lk::testing::RawEntry(dir.path() / "copy.zip", e.name);
    ASSERT_FALSE(original.bytes.empty()) << e.name;
    EXPECT_EQ(copied.bytes, original.bytes) << e.name;
    EXPECT_EQ(copied.method, original.method) << e.name;
    EXPECT_EQ(copied.crc, original.crc) << e.name;
    EXPECT_EQ(copied.flag & 6, original.flag & 6) << e.name << ": the level the flags record";
    EXPECT_EQ(copy.Read(e.name), *e.content) << e.name;
  }
}

// Packages refused as soon as they are opened.
TEST(DocumentPackage, DamagedOrCraftedPackagesAreRefusedWhenOpened) {
  TempDir dir;
  lk::testing::WritePackage(dir.path() / "good.zip", lk::testing::SmallDocx());
  const std::string good = ReadBytes(dir.path() / "good.zip");
  const std::string ole = std::string("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8) + std::string(600, '\0');
  auto patched = [&](std::function<void(std::string&)> patch) {
    std::string bytes = good;
    patch(bytes);
    return bytes;
  };
  struct Case {
    const char* what;
    std::string name;
    std::string bytes;
    std::string message;
    std::uint64_t maxEntries = Limits{}.maxEntries;
  };
  const Case cases[] = {
      {"plain text", "a.docx", "Hello, this is text.\n", "not a .docx document (it is not a zip package)"},
      {"empty file", "a.docx", "", "not a zip package"},
      {"cut in half", "a.docx", good.substr(0, good.size() / 2), "cut short"},
      {"last bytes cut", "a.docx", good.substr(0, good.size() - 10), "cut short"},
      {"OLE, Word", "a.docx", ole, "this is a .doc file or a password-protected document: save it as .docx in Word first"},
      {"OLE, Word macros", "a.DOCM", ole, "save it as .docx in Word first"},
      {"OLE, Excel", "a.xlsx", ole, "this is a .xls file or a password-protected workbook: save it as .xlsx in Excel first"},
      {"OLE, PowerPoint", "a.pptx", ole, "save it as .pptx in PowerPoint first"},
      {"too many entries", "a.docx", good, "more than 3 entries", 3},
      {"name climbing out", "a.docx",
       patched([](std::string& b) { lk::testing::ReplaceBytes(b, "_rels/.rels", "../xx/.rels"); }), "holds \"..\""},
      {"name climbing out deeper", "a.docx",
       patched([](std::string& b) { lk::testing::ReplaceBytes(b, "word/media/image1.png", "word/../../image1.png"); }),
       "holds \"..\""},
      {"absolute name", "a.docx",
       patched([](std::string& b) { lk::testing::ReplaceBytes(b, "_rels/.rels", "/rels/.rels"); }), "is absolute"},
      {"drive letter", "a.docx",
       patched([](std::string& b) { lk::testing::ReplaceBytes(b, "_rels/.rels", "C:/ls/.rels"); }), "is absolute"},
      {"backslash", "a.docx",
       patched([](std::string& b) { lk::testing::ReplaceBytes(b, "_rels/.rels", "_rels\\.rels"); }), "backslash"},
      {"encrypted entry", "a.docx",
       patched([](std::string& b) { lk::testing::PatchEntry(b, "word/document.xml", Field::kFlag, 1); }),
       "encrypted entry"},
  };
  for (const Case& c : cases) {
    const fs::path path = dir.path() / c.name;
    WriteBytes(path, c.bytes);
    Limits limits;
    limits.maxEntries = c.maxEntries;
    EXPECT_NE(ErrorOf([&] { PackageReader reader(path, limits); }).find(c.message), std::string::npos)
        << c.what << ": " << ErrorOf([&] { PackageReader reader(path, limits); });
  }
}

TEST(DocumentPackage, TheSamePartNameTwiceIsRefusedWhateverItsCase) {
  TempDir dir;
  for (const char* twin : {"word/document.xml", "WORD/Document.XML"}) {
    lk::testing::WritePackage(dir.path() / "a.docx", {{"word/document.xml", "<a/>"}, {"word/XXXXXXXX.xml", "<b/>"}});
    std::string bytes = ReadBytes(dir.path() / "a.docx");
    lk::testing::ReplaceBytes(bytes, "word/XXXXXXXX.xml", twin);
    WriteBytes(dir.path() / "a.docx", bytes);
    EXPECT_NE(ErrorOf([&] { PackageReader reader(dir.path() / "a.docx", Limits{}); }).find("twice"), std::string::npos)
        << twin;
    fs::remove(dir.path() / "a.docx");
  }
}

// Packages that open but hold a part that cannot be trusted: reading it and
// copying it both fail, each with its own message.
TEST(DocumentPackage, DamagedPartsAreRefusedWhenReadOrCopied) {
  TempDir dir;
  const std::string marker = "STORED-PART-0123456789-" + std::string(2000, 's');
  const std::string big(5000, 'a');
  lk::testing::WritePackage(dir.path() / "good.zip",
                            {{"stored.bin", marker, true}, {"big.xml", big}, {"other.xml", "<ok/>"}});
  const std::string good = ReadBytes(dir.path() / "good.zip");
  const auto compressedBig = lk::testing::RawEntry(dir.path() / "good.zip", "big.xml").bytes;
  ASSERT_GT(compressedBig.size(), 4u);

  struct Case {
    const char* what;
    std::function<void(std::string&)> patch;
    const char* part;
    std::string message;
    std::uint64_t maxPartSize = Limits{}.maxPartSize;
    bool copyFails = true;
  };
  const Case cases[] = {
      {"a byte changed in a stored part", [&](std::string& b) { b[b.find(marker) + 5] ^= 0x20; }, "stored.bin",
       "checksum (CRC) of \"stored.bin\" does not match"},
      {"a wrong CRC", [](std::string& b) { lk::testing::PatchEntry(b, "big.xml", Field::kCrc, 0x12345678); },
       "big.xml", "checksum (CRC) of \"big.xml\" does not match"},
      {"larger than the limit", [](std::string&) {}, "big.xml", "unpacks to 5000 bytes, more than the limit of 1000 bytes",
       1000, false},
      {"inflating past what the directory claims",
       [](std::string& b) { lk::testing::PatchEntry(b, "big.xml", Field::kSize, 100); }, "big.xml",
       "inflates to more than the 100 bytes its directory entry claims"},
      {"compressed data cut short",
       [&](std::string& b) {
         lk::testing::PatchEntry(b, "big.xml", Field::kCompressedSize, static_cast<std::uint32_t>(compressedBig.size() - 3));
       },
       "big.xml", "cut short inside \"big.xml\""},
      {"inflating to less than the directory claims",
       [](std::string& b) { lk::testing::PatchEntry(b, "big.xml", Field::kSize, 6000); }, "big.xml",
       "cut short inside \"big.xml\""},
      {"corrupt compressed data", [&](std::string& b) { b.replace(b.find(compressedBig), 4, "\xFF\xFF\xFF\xFF"); },
       "big.xml", "compressed data of \"big.xml\" is corrupt"},
  };
  for (const Case& c : cases) {
    std::string bytes = good;
    c.patch(bytes);
    const fs::path path = dir.path() / "bad.zip";
    WriteBytes(path, bytes);
    Limits limits;
    limits.maxPartSize = c.maxPartSize;
    PackageReader reader(path, limits);
    EXPECT_EQ(reader.Read("other.xml"), "<ok/>") << c.what << ": the other parts stay readable";
    const std::string readError = ErrorOf([&] { reader.Read(c.part); });
    EXPECT_NE(readError.find(c.message), std::string::npos) << c.what << ": " << readError;
    const std::string copyError = ErrorOf([&] {
      PackageWriter writer(dir.path() / "copy.zip");
      writer.CopyRaw(reader, c.part);
      writer.Finish();
    });
    if (c.copyFails)
      EXPECT_NE(copyError.find(c.message), std::string::npos) << c.what << ": " << copyError;
    else
      EXPECT_EQ(copyError, "(no error)") << c.what << ": copying holds nothing in memory";
    fs::remove(dir.path() / "copy.zip");
  }
}

TEST(DocumentPackage, APackageUnpackingPastTheTotalLimitIsRefused) {
  TempDir dir;
  lk::testing::WritePackage(dir.path() / "a.zip", {{"a.xml", std::string(3000, 'a')}, {"b.xml", std::string(3000, 'b')}});
  Limits limits;
  limits.maxTotalSize = 5000;
  EXPECT_NE(ErrorOf([&] { PackageReader reader(dir.path() / "a.zip", limits); }).find("unpacks to more than the limit"),
            std::string::npos);
  limits.maxTotalSize = 6000;
  EXPECT_EQ(ErrorOf([&] { PackageReader reader(dir.path() / "a.zip", limits); }), "(no error)");
}

TEST(DocumentPackage, TheWriterRefusesNamesNoReaderWouldAccept) {
  TempDir dir;
  PackageWriter writer(dir.path() / "a.zip");
  writer.Add("word/document.xml", "<a/>");
  for (const char* name : {"word/document.xml", "Word/Document.xml", "../a.xml", "/a.xml", "a\\b.xml", ""})
    EXPECT_NE(ErrorOf([&] { writer.Add(name, "<b/>"); }).find("cannot write the package"), std::string::npos) << name;
  writer.Finish();
  PackageReader reader(dir.path() / "a.zip", Limits{});
  EXPECT_EQ(reader.parts().size(), 1u);
}

TEST(DocumentPackage, AnAbandonedWriterLeavesAFileTheCallerCanRemove) {
  TempDir dir;
  lk::testing::WritePackage(dir.path() / "a.zip", {{"a.xml", "<a/>"}});
  PackageReader reader(dir.path() / "a.zip", Limits{});
  {
    PackageWriter writer(dir.path() / "b.zip");
    writer.Add("half.xml", std::string(100000, 'h'));
    writer.CopyRaw(reader, "a.xml");
  }
  EXPECT_TRUE(fs::remove(dir.path() / "b.zip"));
}

// A rewritten part is deflated as it is produced, in pieces of any size:
// what comes back must be what went in, whatever the cut, and a producer
// that stops with an error leaves a package its caller abandons.
TEST(DocumentPackage, APartWrittenInPiecesComesBackWhole) {
  TempDir dir;
  const std::string noise = lk::testing::NoiseBytes(200000);
  const struct {
    const char* what;
    std::size_t size, piece;
  } cases[] = {
      {"nothing", 0, 1},
      {"one byte", 1, 1},
      {"small pieces", 70000, 7},
      {"exactly the buffer", 65536, 65536},
      {"pieces larger than the buffer", 200000, 100000},
      {"one piece", 200000, 200000},
  };
  {
    PackageWriter writer(dir.path() / "a.zip");
    for (const auto& c : cases) {
      writer.AddWritten(c.what, [&](pugi::xml_writer& out) {
        for (std::size_t at = 0; at < c.size; at += c.piece)
          out.write(noise.data() + at, std::min(c.piece, c.size - at));
      });
    }
    writer.Add("after.xml", "<a/>");
    writer.Finish();
  }
  PackageReader reader(dir.path() / "a.zip", Limits{});
  ASSERT_EQ(reader.parts().size(), std::size(cases) + 1);
  for (const auto& c : cases) EXPECT_EQ(reader.Read(c.what), noise.substr(0, c.size)) << c.what;
  EXPECT_EQ(reader.Read("after.xml"), "<a/>");

  {
    PackageWriter writer(dir.path() / "b.zip");
    EXPECT_THROW(writer.AddWritten("half.xml",
                                   [&](pugi::xml_writer& out) {
                                     out.write(noise.data(), 100000);
                                     throw Cancelled();
                                   }),
                 Cancelled);
  }
  EXPECT_TRUE(fs::remove(dir.path() / "b.zip"));
}

TEST(DocumentPackage, OleFilesAreKnownByTheirFirstBytes) {
  TempDir dir;
  WriteBytes(dir.path() / "a.doc", std::string("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1rest", 12));
  WriteBytes(dir.path() / "b.docx", std::string("\xD0\xCF\x11\xE0\xA1\xB1\x1A", 7));
  WriteBytes(dir.path() / "c.docx", "PK\x03\x04");
  EXPECT_TRUE(StartsLikeOleFile(dir.path() / "a.doc"));
  EXPECT_FALSE(StartsLikeOleFile(dir.path() / "b.docx"));
  EXPECT_FALSE(StartsLikeOleFile(dir.path() / "c.docx"));
  EXPECT_FALSE(StartsLikeOleFile(dir.path() / "missing.docx"));
}

TEST(DocumentPackage, PackagesInDevanagariFoldersOpenAndWrite) {
  TempDir dir;
  const fs::path folder = dir.path() / fs::path(u8"कागजात");
  fs::create_directories(folder);
  const fs::path path = folder / fs::path(u8"नेपाली पत्र.docx");
  lk::testing::WritePackage(path, lk::testing::SmallDocx());
  PackageReader reader(path, Limits{});
  EXPECT_EQ(reader.parts().size(), 4u);
  EXPECT_NE(reader.Read("word/document.xml").find("g]kfn"), std::string::npos);
}

}  // namespace
}  // namespace lk::documents
