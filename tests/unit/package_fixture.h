#pragma once
// Packages built and damaged by hand for the package and document-file
// tests: a small Word document, byte patches on a zip's headers, and the
// stored (compressed) bytes of an entry read back through minizip itself.
#include <unzip.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "documents/document_file.h"
#include "documents/package.h"
#include "temp_dir.h"

namespace lk::testing {

inline std::string U8(std::u8string_view text) { return std::string(text.begin(), text.end()); }

struct TestPart {
  std::string name;
  std::string content;
  bool store = false;
};

inline void WritePackage(const std::filesystem::path& path, const std::vector<TestPart>& parts) {
  documents::PackageWriter writer(path);
  for (const TestPart& part : parts) writer.Add(part.name, part.content, part.store);
  writer.Finish();
}

// Bytes no compressor shrinks, the way a picture's are.
inline std::string NoiseBytes(std::size_t size, std::uint32_t seed = 7) {
  std::string bytes(size, '\0');
  for (char& c : bytes) {
    seed = seed * 1664525u + 1013904223u;
    c = static_cast<char>(seed >> 24);
  }
  return bytes;
}

// A Word document as small as Word opens: one Preeti run, a picture.
inline std::vector<TestPart> SmallDocx() {
  return {
      {"[Content_Types].xml",
       "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
       "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
       "<Default Extension=\"rels\" ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
       "<Default Extension=\"xml\" ContentType=\"application/xml\"/>"
       "<Default Extension=\"png\" ContentType=\"image/png\"/>"
       "<Override PartName=\"/word/document.xml\" "
       "ContentType=\"application/vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml\"/>"
       "</Types>"},
      {"_rels/.rels",
       "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
       "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
       "<Relationship Id=\"rId1\" "
       "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument\" "
       "Target=\"word/document.xml\"/></Relationships>"},
      {"word/document.xml",
       "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
       "<w:document xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\"><w:body><w:p>"
       "<w:r><w:rPr><w:rFonts w:ascii=\"Preeti\" w:hAnsi=\"Preeti\"/></w:rPr><w:t>g]kfn</w:t></w:r>"
       "<w:r><w:t xml:space=\"preserve\"> Nepal</w:t></w:r></w:p></w:body></w:document>"},
      {"word/media/image1.png", NoiseBytes(40000)},
  };
}

// Every header (local and central) of the entry called name gets value at
// its field: the local header's offset, the central header's offset.
enum class Field { kFlag, kCrc, kCompressedSize, kSize };

inline void PatchEntry(std::string& zip, std::string_view name, Field field, std::uint32_t value) {
  struct Where {
    std::size_t local, central, width;
  };
  static constexpr Where kWhere[] = {{6, 8, 2}, {14, 16, 4}, {18, 20, 4}, {22, 24, 4}};
  const Where where = kWhere[static_cast<int>(field)];
  int patched = 0;
  for (std::size_t at = zip.find(name); at != std::string::npos; at = zip.find(name, at + 1)) {
    std::size_t header = std::string::npos, offset = 0;
    if (at >= 30 && zip.compare(at - 30, 4, "PK\x03\x04") == 0) header = at - 30, offset = where.local;
    if (at >= 46 && zip.compare(at - 46, 4, "PK\x01\x02") == 0) header = at - 46, offset = where.central;
    if (header == std::string::npos) continue;
    for (std::size_t i = 0; i < where.width; ++i)
      zip[header + offset + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
    ++patched;
  }
  ASSERT_EQ(patched, 2) << name;
}

// Every occurrence of from (names in both headers) becomes to, same length.
inline void ReplaceBytes(std::string& bytes, std::string_view from, std::string_view to) {
  ASSERT_EQ(from.size(), to.size());
  for (std::size_t at = bytes.find(from); at != std::string::npos; at = bytes.find(from, at + to.size()))
    bytes.replace(at, from.size(), to);
}

struct StoredEntry {
  std::string bytes;  // as stored: compressed, unless the entry is stored
  int method = -1;
  unsigned long crc = 0;
  unsigned long flag = 0;
};

// Read through minizip directly, so the check does not lean on our reader.
inline StoredEntry RawEntry(const std::filesystem::path& zip, const std::string& name) {
  StoredEntry entry;
  unzFile file = unzOpen64(zip.string().c_str());
  if (!file) return entry;
  if (unzLocateFile(file, name.c_str(), 1) == UNZ_OK) {
    unz_file_info64 info{};
    unzGetCurrentFileInfo64(file, &info, nullptr, 0, nullptr, 0, nullptr, 0);
    entry.crc = info.crc;
    entry.flag = info.flag;
    if (unzOpenCurrentFile2(file, &entry.method, nullptr, 1) == UNZ_OK) {
      char buffer[8192];
      for (int got; (got = unzReadCurrentFile(file, buffer, sizeof buffer)) > 0;) entry.bytes.append(buffer, got);
      unzCloseCurrentFile(file);
    }
  }
  unzClose(file);
  return entry;
}

// The names a folder holds, sorted, to see that nothing was left behind.
inline std::vector<std::string> FolderNames(const std::filesystem::path& folder) {
  std::vector<std::string> names;
  for (const auto& item : std::filesystem::directory_iterator(folder)) {
    const std::u8string name = item.path().filename().u8string();
    names.emplace_back(name.begin(), name.end());
  }
  std::sort(names.begin(), names.end());
  return names;
}

// The message a document operation refused with, or "(no error)".
inline std::string ErrorOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const documents::DocumentError& error) {
    return error.what();
  }
  return "(no error)";
}

}  // namespace lk::testing
