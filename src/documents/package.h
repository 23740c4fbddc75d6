#pragma once
// A zip package (.docx, .xlsx, .pptx, OpenDocument) read and written part by
// part. Parts we do not rewrite are copied as they are stored, compressed
// bytes and all, so they come out byte for byte; parts we rewrite are
// inflated within a bound and deflated again.
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "documents/document_file.h"
#include "pugixml.hpp"

namespace lk::documents {

struct PartInfo {
  std::string name;  // as stored, '/'-separated
  std::uint64_t size = 0;  // inflated, as the directory claims
  std::uint64_t compressedSize = 0;
  bool stored = false;  // kept uncompressed (OpenDocument's mimetype)
};

class PackageReader {
 public:
  // Throws DocumentError: not a zip (an OLE file gets "save it as .docx in
  // Word first", after the extension's program), truncated, too many
  // entries, more unpacked data than limits.maxTotalSize, entries that
  // overlap, an entry name with "..", an absolute name or a backslash, one
  // name twice (part names compare without case), an encrypted entry, a
  // compression other than deflate. Reads the directory only: nothing of
  // the parts is held in memory.
  PackageReader(const std::filesystem::path& path, const Limits& limits);
  ~PackageReader();
  PackageReader(const PackageReader&) = delete;
  PackageReader& operator=(const PackageReader&) = delete;

  // In the order the archive holds them.
  const std::vector<PartInfo>& parts() const;
  bool Has(std::string_view name) const;
  // The part inflated. Throws DocumentError when it is larger than
  // limits.maxPartSize or inflates past what the directory claims (checked
  // while inflating), its CRC is wrong or it is cut.
  std::string Read(std::string_view name);

 private:
  friend class PackageWriter;
  struct State;
  std::unique_ptr<State> state_;
};

class PackageWriter {
 public:
  // Creates or truncates the file (the caller gives a temporary path);
  // throws DocumentError. Every part is written dated 1980-01-01, as Word
  // writes them, except copies, which keep their own date.
  explicit PackageWriter(const std::filesystem::path& path);
  ~PackageWriter();  // closes without finishing: the caller removes the file
  PackageWriter(const PackageWriter&) = delete;
  PackageWriter& operator=(const PackageWriter&) = delete;

  // The part exactly as the reader holds it, compressed bytes, method and
  // level flags unchanged. It is inflated on the side as it streams through,
  // never held, so its CRC and size are checked on the way: a damaged part
  // fails the copy. Not bound by maxPartSize, which only guards memory.
  void CopyRaw(PackageReader& reader, std::string_view name);
  // New content, deflated at zlib's default level (or stored when asked, as
  // OpenDocument's mimetype must be). Parts keep the order they are written
  // in. A name written twice (ignoring case) or one no reader would accept
  // throws DocumentError.
  void Add(std::string_view name, std::string_view content, bool store = false);
  // New content deflated as produce writes it, so that a rewritten part is
  // never held whole beside its tree. What produce throws leaves the
  // package unfinished: the caller abandons it.
  void AddWritten(std::string_view name, const std::function<void(pugi::xml_writer&)>& produce);
  // Writes the central directory; throws DocumentError on a failed write.
  void Finish();

 private:
  struct State;
  std::unique_ptr<State> state_;
};

// The first bytes of an OLE compound file: a .doc, .xls, .ppt, or any
// Office file saved with a password.
bool StartsLikeOleFile(const std::filesystem::path& path);

}  // namespace lk::documents
