#include "documents/package.h"

#include <unzip.h>
#include <zip.h>
#include <zlib.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <functional>
#include <unordered_map>
#include <unordered_set>

#include "documents/file_io.h"

namespace lk::documents {

namespace fs = std::filesystem;

namespace {

constexpr std::size_t kChunk = 64 * 1024;
// Deflate cannot grow data more than about 1032 to 1; a claim beyond that
// is a lie we need not reserve memory for.
constexpr std::uint64_t kMaxDeflateRatio = 1032;
// 1980-01-01 00:00, the date Word itself gives every part.
constexpr uLong kDosEpoch = 0x00210000;
constexpr uLong kUtf8NamesFlag = 0x800;

// How a message names the kind of document, after the file's extension.
struct Kind {
  const char* oldExtension;  // the binary format an OLE file is
  const char* noun;
  const char* extension;
  const char* program;
};

Kind KindOf(const fs::path& path) {
  std::string ext = path.extension().string();
  for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  if (ext == ".xlsx" || ext == ".xlsm") return {".xls", "workbook", ".xlsx", "Excel"};
  if (ext == ".pptx" || ext == ".pptm") return {".ppt", "presentation", ".pptx", "PowerPoint"};
  if (ext == ".odt") return {".doc", "document", ".odt", "LibreOffice"};
  if (ext == ".ods") return {".xls", "workbook", ".ods", "LibreOffice"};
  if (ext == ".odp") return {".ppt", "presentation", ".odp", "LibreOffice"};
  return {".doc", "document", ".docx", "Word"};
}

// A part name as a message may quote it: printable, and not endless.
std::string Quoted(std::string_view name) {
  std::string out = "\"";
  for (std::size_t i = 0; i < name.size() && i < 100; ++i) {
    unsigned char c = static_cast<unsigned char>(name[i]);
    out += (c < 0x20 || c == 0x7F) ? '?' : static_cast<char>(c);
  }
  if (name.size() > 100) out += "...";
  return out + "\"";
}

std::string Mebibytes(std::uint64_t bytes) {
  if (bytes >= (1u << 20) && bytes % (1u << 20) == 0) return std::to_string(bytes >> 20) + " MiB";
  return std::to_string(bytes) + " bytes";
}

// Why a name may not be unpacked anywhere, or empty when it may. Nothing we
// write lands outside the package, but a name another program would unpack
// outside its folder marks a crafted file, and Word refuses it too.
std::string NameProblem(std::string_view name) {
  if (name.empty()) return "an entry has no name";
  if (name.find('\0') != std::string_view::npos) return "an entry name holds a NUL character";
  if (name.find('\\') != std::string_view::npos) return "the entry name " + Quoted(name) + " holds a backslash";
  std::string_view first = name.substr(0, name.find('/'));
  if (name.front() == '/' || first.find(':') != std::string_view::npos)
    return "the entry name " + Quoted(name) + " is absolute";
  std::size_t start = 0;
  while (start <= name.size()) {
    std::size_t end = name.find('/', start);
    if (end == std::string_view::npos) end = name.size();
    if (name.substr(start, end - start) == "..")
      return "the entry name " + Quoted(name) + " holds \"..\"";
    start = end + 1;
  }
  return {};
}

// Part names compare without case in a package.
std::string NameKey(std::string_view name) {
  std::string key(name);
  for (char& c : key)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return key;
}

[[noreturn]] void Damaged(const std::string& why) { throw DocumentError("the package is damaged: " + why); }

// minizip's file access, over stdio handles opened by our own wide-aware
// OpenFile. The "file name" minizip passes through is a fs::path.
struct Io {
  bool failWrites = false;  // set when abandoning a writer, so closing writes nothing more
  int lastError = 0;
};

voidpf ZCALLBACK IoOpen(voidpf opaque, const void* filename, int mode) {
  auto* io = static_cast<Io*>(opaque);
  const auto& path = *static_cast<const fs::path*>(filename);
  const char* fmode = "rb";
  if ((mode & ZLIB_FILEFUNC_MODE_READWRITEFILTER) != ZLIB_FILEFUNC_MODE_READ)
    fmode = (mode & ZLIB_FILEFUNC_MODE_EXISTING) ? "r+b" : "wb";
  std::FILE* file = OpenFile(path, fmode);
  if (!file) {
    io->lastError = errno;
    return nullptr;
  }
  std::setvbuf(file, nullptr, _IOFBF, kChunk);
  return file;
}

uLong ZCALLBACK IoRead(voidpf opaque, voidpf stream, void* buf, uLong size) {
  auto* file = static_cast<std::FILE*>(stream);
  std::size_t got = std::fread(buf, 1, size, file);
  if (got < size && std::ferror(file)) static_cast<Io*>(opaque)->lastError = errno;
  return static_cast<uLong>(got);
}

uLong ZCALLBACK IoWrite(voidpf opaque, voidpf stream, const void* buf, uLong size) {
  auto* io = static_cast<Io*>(opaque);
  if (io->failWrites) return 0;
  std::size_t put = std::fwrite(buf, 1, size, static_cast<std::FILE*>(stream));
  if (put < size) io->lastError = errno;
  return static_cast<uLong>(put);
}

ZPOS64_T ZCALLBACK IoTell(voidpf, voidpf stream) {
  std::int64_t at = TellFile(static_cast<std::FILE*>(stream));
  return at < 0 ? static_cast<ZPOS64_T>(-1) : static_cast<ZPOS64_T>(at);
}

long ZCALLBACK IoSeek(voidpf, voidpf stream, ZPOS64_T offset, int origin) {
  int whence = origin == ZLIB_FILEFUNC_SEEK_CUR ? SEEK_CUR : origin == ZLIB_FILEFUNC_SEEK_END ? SEEK_END : SEEK_SET;
  return SeekFile(static_cast<std::FILE*>(stream), offset, whence) == 0 ? 0 : -1;
}

int ZCALLBACK IoClose(voidpf opaque, voidpf stream) {
  if (std::fclose(static_cast<std::FILE*>(stream)) == 0) return 0;
  static_cast<Io*>(opaque)->lastError = errno;
  return -1;
}

int ZCALLBACK IoError(voidpf, voidpf stream) { return std::ferror(static_cast<std::FILE*>(stream)); }

zlib_filefunc64_def FileFunctions(Io* io) {
  zlib_filefunc64_def functions{};
  functions.zopen64_file = IoOpen;
  functions.zread_file = IoRead;
  functions.zwrite_file = IoWrite;
  functions.ztell64_file = IoTell;
  functions.zseek64_file = IoSeek;
  functions.zclose_file = IoClose;
  functions.zerror_file = IoError;
  functions.opaque = io;
  return functions;
}

std::string SystemMessage(int error) {
  return error ? std::generic_category().message(error) : std::string("unknown error");
}

using Bytes = std::function<void(const unsigned char*, std::size_t)>;

}  // namespace

namespace {
constexpr unsigned char kOleMagic[8] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};
}

bool StartsLikeOleFile(const fs::path& path) {
  FileHandle file(OpenFile(path, "rb"));
  unsigned char head[8] = {};
  return file && std::fread(head, 1, 8, file.get()) == 8 && std::memcmp(head, kOleMagic, 8) == 0;
}

// ---------------------------------------------------------------- reader

struct PackageReader::State {
  struct Entry {
    unz64_file_pos position{};
    uLong crc = 0;
    int method = 0;
    uLong flag = 0;
    uLong dosDate = 0;
    uLong versionMadeBy = 0;
    uLong internalAttributes = 0;
    uLong externalAttributes = 0;
  };

  fs::path path;
  Limits limits;
  Io io;
  unzFile zip = nullptr;
  std::vector<PartInfo> parts;
  std::vector<Entry> entries;  // beside parts, index for index
  std::unordered_map<std::string, std::size_t> index;

  ~State() {
    if (zip) unzClose(zip);
  }

  std::size_t Find(std::string_view name) const {
    auto found = index.find(std::string(name));
    if (found == index.end()) throw DocumentError("the package has no part " + Quoted(name));
    return found->second;
  }

  // Walks one part's stored bytes once: raw gets them as they are stored,
  // inflated gets them inflated (both may be empty). The size is checked as
  // it grows, against the directory's claim, and the CRC at the end.
  void Stream(std::size_t i, const Bytes& raw, const Bytes& inflated) {
    const PartInfo& part = parts[i];
    Entry& entry = entries[i];
    if (unzGoToFilePos64(zip, &entry.position) != UNZ_OK) Damaged("the entry " + Quoted(part.name) + " cannot be found");
    if (unzOpenCurrentFile2(zip, nullptr, nullptr, 1) != UNZ_OK)
      Damaged("the local header of " + Quoted(part.name) + " is wrong");
    struct CloseCurrent {
      unzFile zip;
      ~CloseCurrent() { unzCloseCurrentFile(zip); }
    } closeCurrent{zip};

    z_stream inflater{};
    struct EndInflate {
      z_stream* stream = nullptr;
      ~EndInflate() {
        if (stream) inflateEnd(stream);
      }
    } endInflate;
    const bool deflated = entry.method == Z_DEFLATED;
    if (deflated) {
      if (inflateInit2(&inflater, -MAX_WBITS) != Z_OK) throw std::bad_alloc();
      endInflate.stream = &inflater;
    }

    std::vector<unsigned char> in(kChunk), out(deflated ? kChunk : 0);
    uLong crc = crc32(0, nullptr, 0);
    std::uint64_t total = 0;
    bool ended = !deflated;
    auto take = [&](const unsigned char* data, std::size_t size) {
      total += size;
      if (total > part.size)
        Damaged(Quoted(part.name) + " inflates to more than the " + std::to_string(part.size) +
                " bytes its directory entry claims");
      crc = crc32(crc, data, static_cast<uInt>(size));
      if (inflated) inflated(data, size);
    };

    for (;;) {
      int got = unzReadCurrentFile(zip, in.data(), static_cast<unsigned>(in.size()));
      if (got < 0) Damaged("the file is cut short inside " + Quoted(part.name));
      if (got == 0) break;
      if (raw) raw(in.data(), static_cast<std::size_t>(got));
      if (!deflated) {
        take(in.data(), static_cast<std::size_t>(got));
        continue;
      }
      // Bytes after the end of the deflate stream are ignored, as zip tools do.
      inflater.next_in = in.data();
      inflater.avail_in = static_cast<uInt>(got);
      while (!ended) {
        inflater.next_out = out.data();
        inflater.avail_out = static_cast<uInt>(out.size());
        int result = inflate(&inflater, Z_NO_FLUSH);
        if (result == Z_STREAM_END)
          ended = true;
        else if (result != Z_OK && result != Z_BUF_ERROR)
          Damaged("the compressed data of " + Quoted(part.name) + " is corrupt");
        std::size_t produced = out.size() - inflater.avail_out;
        if (produced) take(out.data(), produced);
        if (inflater.avail_in == 0 && inflater.avail_out != 0) break;  // wants more input
        if (result == Z_BUF_ERROR && produced == 0) break;
      }
    }
    if (!ended || total < part.size) Damaged("the file is cut short inside " + Quoted(part.name));
    if (crc != entry.crc) Damaged("the checksum (CRC) of " + Quoted(part.name) + " does not match its content");
  }
};

PackageReader::PackageReader(const fs::path& path, const Limits& limits) : state_(std::make_unique<State>()) {
  State& s = *state_;
  s.path = path;
  s.limits = limits;
  const Kind kind = KindOf(path);

  unsigned char head[8] = {};
  {
    FileHandle file(OpenFile(path, "rb"));
    if (!file) throw DocumentError("the file cannot be opened: " + SystemMessage(errno));
    if (std::fread(head, 1, sizeof head, file.get()) < 4) head[0] = 0;
  }
  if (std::memcmp(head, kOleMagic, 8) == 0)
    throw DocumentError(std::string("this is a ") + kind.oldExtension + " file or a password-protected " + kind.noun +
                        ": save it as " + kind.extension + " in " + kind.program + " first");

  zlib_filefunc64_def functions = FileFunctions(&s.io);
  s.zip = unzOpen2_64(&s.path, &functions);
  if (!s.zip) {
    if (head[0] == 'P' && head[1] == 'K')
      throw DocumentError("the package is cut short or damaged: the zip directory at its end is missing");
    throw DocumentError(std::string("the file is not a ") + kind.extension + " " + kind.noun + " (it is not a zip package)");
  }

  unz_global_info64 global{};
  if (unzGetGlobalInfo64(s.zip, &global) != UNZ_OK) Damaged("its zip directory cannot be read");
  auto tooMany = [&] {
    throw DocumentError("the package holds more than " + std::to_string(limits.maxEntries) + " entries");
  };
  if (global.number_entry > limits.maxEntries) tooMany();

  std::error_code ec;
  const std::uint64_t fileSize = fs::file_size(path, ec);
  std::uint64_t compressedTotal = 0, inflatedTotal = 0;
  std::unordered_set<std::string> keys;
  std::vector<char> name(0x10000);
  int walk = global.number_entry ? unzGoToFirstFile(s.zip) : UNZ_END_OF_LIST_OF_FILE;
  while (walk == UNZ_OK) {
    if (s.parts.size() >= limits.maxEntries) tooMany();
    unz_file_info64 info{};
    if (unzGetCurrentFileInfo64(s.zip, &info, name.data(), static_cast<uLong>(name.size()), nullptr, 0, nullptr, 0) !=
        UNZ_OK)
      Damaged("an entry of its zip directory cannot be read");
    PartInfo part;
    part.name.assign(name.data(), std::min<std::size_t>(info.size_filename, name.size()));
    if (std::string why = NameProblem(part.name); !why.empty()) Damaged(why);
    if (!keys.insert(NameKey(part.name)).second) Damaged("the package holds " + Quoted(part.name) + " twice");
    if (info.flag & 1)
      throw DocumentError("the package holds an encrypted entry (" + Quoted(part.name) +
                          "): remove the password and save it again");
    if (info.compression_method != 0 && info.compression_method != Z_DEFLATED)
      Damaged(Quoted(part.name) + " is compressed with a method other than deflate");
    part.size = info.uncompressed_size;
    part.compressedSize = info.compressed_size;
    part.stored = info.compression_method == 0;
    // Entries of a true zip do not overlap, so their data fit in the file
    // together; overlapping ones are how a small file unpacks to terabytes.
    compressedTotal += part.compressedSize;
    if (ec || compressedTotal > fileSize) Damaged("its entries claim more data than the file holds");
    if (part.stored && part.size != part.compressedSize)
      Damaged("the stored entry " + Quoted(part.name) + " claims two different sizes");
    inflatedTotal += part.size;
    if (inflatedTotal > limits.maxTotalSize)
      throw DocumentError("the package unpacks to more than the limit of " + Mebibytes(limits.maxTotalSize));

    State::Entry entry;
    if (unzGetFilePos64(s.zip, &entry.position) != UNZ_OK) Damaged("its zip directory cannot be read");
    entry.crc = info.crc;
    entry.method = static_cast<int>(info.compression_method);
    entry.flag = info.flag;
    entry.dosDate = info.dosDate;
    entry.versionMadeBy = info.version;
    entry.internalAttributes = info.internal_fa;
    entry.externalAttributes = info.external_fa;
    s.index.emplace(part.name, s.parts.size());
    s.parts.push_back(std::move(part));
    s.entries.push_back(entry);
    walk = unzGoToNextFile(s.zip);
  }
  if (walk != UNZ_END_OF_LIST_OF_FILE) Damaged("its zip directory is cut short or corrupt");
}

PackageReader::~PackageReader() = default;

const std::vector<PartInfo>& PackageReader::parts() const { return state_->parts; }

bool PackageReader::Has(std::string_view name) const { return state_->index.count(std::string(name)) != 0; }

std::string PackageReader::Read(std::string_view name) {
  State& s = *state_;
  const std::size_t i = s.Find(name);
  const PartInfo& part = s.parts[i];
  if (part.size > s.limits.maxPartSize)
    throw DocumentError(Quoted(part.name) + " unpacks to " + std::to_string(part.size) + " bytes, more than the limit of " +
                        Mebibytes(s.limits.maxPartSize));
  std::string text;
  text.reserve(static_cast<std::size_t>(std::min(part.size, part.compressedSize * kMaxDeflateRatio + 64)));
  s.Stream(i, nullptr, [&](const unsigned char* data, std::size_t size) {
    text.append(reinterpret_cast<const char*>(data), size);
  });
  return text;
}

// ---------------------------------------------------------------- writer

struct PackageWriter::State {
  fs::path path;
  Io io;
  zipFile zip = nullptr;
  std::unordered_set<std::string> keys;

  ~State() {
    if (zip) {
      io.failWrites = true;
      zipClose(zip, nullptr);
    }
  }

  [[noreturn]] void WriteFailed() const {
    throw DocumentError("the output could not be written: " + SystemMessage(io.lastError));
  }

  void Open(std::string_view name, bool store, bool zip64);
  void Write(const void* data, std::size_t size);

  void Claim(std::string_view name) {
    if (std::string why = NameProblem(name); !why.empty()) throw DocumentError("cannot write the package: " + why);
    if (!keys.insert(NameKey(name)).second)
      throw DocumentError("cannot write the package: " + Quoted(name) + " would be written twice");
  }
};

PackageWriter::PackageWriter(const fs::path& path) : state_(std::make_unique<State>()) {
  state_->path = path;
  zlib_filefunc64_def functions = FileFunctions(&state_->io);
  state_->zip = zipOpen2_64(&state_->path, APPEND_STATUS_CREATE, nullptr, &functions);
  if (!state_->zip) throw DocumentError("the output cannot be created: " + SystemMessage(state_->io.lastError));
}

PackageWriter::~PackageWriter() = default;

void PackageWriter::CopyRaw(PackageReader& reader, std::string_view name) {
  State& s = *state_;
  if (!s.zip) throw DocumentError("cannot write the package: it is already finished");
  PackageReader::State& from = *reader.state_;
  const std::size_t i = from.Find(name);
  const PartInfo& part = from.parts[i];
  const PackageReader::State::Entry& entry = from.entries[i];
  s.Claim(part.name);

  zip_fileinfo info{};
  info.dosDate = entry.dosDate ? entry.dosDate : kDosEpoch;
  info.internal_fa = entry.internalAttributes;
  info.external_fa = entry.externalAttributes;
  // The level only sets the flag bits that record it; the bytes are the original's.
  int level = Z_DEFAULT_COMPRESSION;
  switch (entry.flag & 6) {
    case 2: level = 9; break;
    case 4: level = 2; break;
    case 6: level = 1; break;
  }
  const int zip64 = part.size >= 0xFFFFFFFFu || part.compressedSize >= 0xFFFFFFFFu;
  if (zipOpenNewFileInZip4_64(s.zip, part.name.c_str(), &info, nullptr, 0, nullptr, 0, nullptr, entry.method, level,
                              1, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY, nullptr, 0, entry.versionMadeBy,
                              entry.flag & kUtf8NamesFlag, zip64) != ZIP_OK)
    s.WriteFailed();
  from.Stream(
      i,
      [&](const unsigned char* data, std::size_t size) {
        if (zipWriteInFileInZip(s.zip, data, static_cast<unsigned>(size)) != ZIP_OK) s.WriteFailed();
      },
      nullptr);
  if (zipCloseFileInZipRaw64(s.zip, part.size, entry.crc) != ZIP_OK) s.WriteFailed();
}

void PackageWriter::State::Open(std::string_view name, bool store, bool zip64) {
  if (!zip) throw DocumentError("cannot write the package: it is already finished");
  Claim(name);
  const std::string zipName(name);
  zip_fileinfo info{};
  info.dosDate = kDosEpoch;
  const bool ascii = std::all_of(name.begin(), name.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
  if (zipOpenNewFileInZip4_64(zip, zipName.c_str(), &info, nullptr, 0, nullptr, 0, nullptr, store ? 0 : Z_DEFLATED,
                              Z_DEFAULT_COMPRESSION, 0, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY, nullptr, 0, 0,
                              ascii ? 0 : kUtf8NamesFlag, zip64) != ZIP_OK)
    WriteFailed();
}

void PackageWriter::State::Write(const void* data, std::size_t size) {
  constexpr std::size_t kSlice = 1u << 30;
  const char* bytes = static_cast<const char*>(data);
  for (std::size_t at = 0; at < size; at += kSlice) {
    const std::size_t slice = std::min(kSlice, size - at);
    if (zipWriteInFileInZip(zip, bytes + at, static_cast<unsigned>(slice)) != ZIP_OK) WriteFailed();
  }
}

void PackageWriter::Add(std::string_view name, std::string_view content, bool store) {
  State& s = *state_;
  s.Open(name, store, content.size() >= 0xFFFFFFFFu);
  s.Write(content.data(), content.size());
  if (zipCloseFileInZip(s.zip) != ZIP_OK) s.WriteFailed();
}

namespace {

// Gathers pugixml's many small writes (a start tag, a text) into slices
// worth a call into the deflater.
class EntryWriter : public pugi::xml_writer {
 public:
  explicit EntryWriter(const std::function<void(const void*, std::size_t)>& flush) : flush_(flush) {
    buffer_.reserve(kChunk);
  }
  void write(const void* data, size_t size) override {
    if (buffer_.size() + size > kChunk) Flush();
    if (size >= kChunk) {
      flush_(data, size);
      return;
    }
    buffer_.append(static_cast<const char*>(data), size);
  }
  void Flush() {
    if (!buffer_.empty()) flush_(buffer_.data(), buffer_.size());
    buffer_.clear();
  }

 private:
  const std::function<void(const void*, std::size_t)>& flush_;
  std::string buffer_;
};

}  // namespace

void PackageWriter::AddWritten(std::string_view name, const std::function<void(pugi::xml_writer&)>& produce) {
  State& s = *state_;
  // A rewritten part grows from one bounded by the reader's part limit, far
  // below the 4 GiB a local header without a zip64 record can state.
  s.Open(name, false, false);
  const std::function<void(const void*, std::size_t)> flush = [&](const void* data, std::size_t size) {
    s.Write(data, size);
  };
  EntryWriter writer(flush);
  produce(writer);
  writer.Flush();
  if (zipCloseFileInZip(s.zip) != ZIP_OK) s.WriteFailed();
}

void PackageWriter::Finish() {
  State& s = *state_;
  if (!s.zip) throw DocumentError("cannot write the package: it is already finished");
  zipFile zip = s.zip;
  s.zip = nullptr;
  if (zipClose(zip, nullptr) != ZIP_OK) s.WriteFailed();
}

}  // namespace lk::documents
