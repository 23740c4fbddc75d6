// libFuzzer target for the settings file: any bytes a user, another program or
// a broken disk may leave in LK.ini must neither crash the store nor let a
// written value escape its own line.
#include <fuzzer/FuzzedDataProvider.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <system_error>

#include "settings/ini_document.h"
#include "settings/settings_store.h"
#include "text/cp1252.h"
#include "text/trim.h"
#include "ui/toolbar/placement.h"
#include "fuzz_check.h"

namespace {

namespace fs = std::filesystem;
using lk::settings::IniDocument;
using lk::settings::SettingsStore;

// One file per process, reused by every input: creating a directory per input
// would make the file system, not the store, the thing being measured.
struct Scratch {
  Scratch() {
    const fs::path base = fs::is_directory("/dev/shm") ? fs::path("/dev/shm") : fs::temp_directory_path();
    dir = base / ("lk_settings_fuzzer_" + std::to_string(getpid()));
    fs::create_directories(dir);
    file = dir / "LK.ini";
  }
  ~Scratch() {
    std::error_code ec;
    fs::remove_all(dir, ec);
  }
  fs::path dir;
  fs::path file;
};

const fs::path& IniFile() {
  static const Scratch scratch;
  return scratch.file;
}

void WriteBytes(const fs::path& file, const std::string& bytes) {
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string ReadBytes(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string OneLine(std::string_view value) {
  return std::string(value.substr(0, value.find_first_of(std::string_view("\r\n\0", 3))));
}

std::string_view TrimSpace(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

// Names the program could write: the store makes no promise for a name that
// holds a line break, or a section name holding "]", or a key holding "=" or
// opening with "[" (that line would read as a section header).
std::string SectionName(std::string s) {
  std::erase_if(s, [](char c) { return c == '\r' || c == '\n' || c == '\0' || c == ']'; });
  return s;
}

std::string KeyName(std::string s) {
  std::erase_if(s, [](char c) { return c == '\r' || c == '\n' || c == '\0' || c == '='; });
  if (TrimSpace(s).empty()) s += 'k';
  const auto first = s.find_first_not_of(" \t");
  if (s[first] == '[') s[first] = '_';
  return s;
}

std::string FlipCase(std::string s) {
  for (char& c : s)
    if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z')) c = static_cast<char>(c ^ 0x20);
  return s;
}

void CheckDocument(const std::string& bytes, const std::string& rawSection, const std::string& rawKey,
                   const std::string& section, const std::string& key, const std::string& value) {
  const auto doc = IniDocument::Parse(bytes);
  const std::string once = doc.Serialize();
  CHECK(IniDocument::Parse(once).Serialize() == once);

  if (const auto found = doc.Find(rawSection, rawKey)) {
    CHECK(found->find('\n') == std::string::npos);
    CHECK(found->find('\0') == std::string::npos);
  }

  // Names the store cannot promise a read-back for (a line break in a name
  // makes lines of its own) must still not crash it.
  auto anything = doc;
  anything.Set(rawSection, rawKey, value);
  IniDocument::Parse(anything.Serialize()).Find(rawSection, rawKey);

  auto edited = doc;
  edited.Set(section, key, value);
  const auto reparsed = IniDocument::Parse(edited.Serialize());
  CHECK(reparsed.Find(section, key) == OneLine(value));
  CHECK(reparsed.Find(FlipCase(section), FlipCase(key)) == OneLine(value));

  // Setting it again under other letter case keeps one entry: the document does not grow.
  auto again = IniDocument::Parse(edited.Serialize());
  again.Set(FlipCase(section), FlipCase(key), value);
  CHECK(again.Serialize().size() <= edited.Serialize().size());
}

void CheckStore(const std::string& bytes, const std::string& section, const std::string& key,
                const std::string& fallback, const std::string& value) {
  const fs::path& file = IniFile();
  WriteBytes(file, bytes);
  const SettingsStore store(file);

  const std::string wide = store.Read(section, key, fallback, 1 << 20);
  std::string previous;
  for (std::size_t capacity : {std::size_t{1}, lk::settings::kDirectReadCapacity, lk::settings::kReadSettingCapacity}) {
    const std::string read = store.Read(section, key, fallback, capacity);
    CHECK(read.size() <= capacity - 1);
    CHECK(wide.compare(0, read.size(), read) == 0);
    CHECK(read.compare(0, previous.size(), previous) == 0);
    previous = read;
  }
  if (!IniDocument::Parse(bytes).Find(section, key)) CHECK(wide == lk::text::TrimTrailingBlanks(fallback));

  lk::ui::toolbar::Placement placement;
  placement.StoredCorner(store);

  auto expected = IniDocument::Parse(bytes);
  expected.Set(section, key, value);
  CHECK(store.Write(section, key, value));
  CHECK(ReadBytes(file) == expected.Serialize());
  fs::path temp = file;
  temp += ".tmp";
  CHECK(!fs::exists(temp));

  const std::string back = store.Read(section, key, "", 1 << 20);
  CHECK(OneLine(value).find(back) != std::string::npos);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  const std::string rawSection = input.ConsumeRandomLengthString(24);
  const std::string rawKey = input.ConsumeRandomLengthString(24);
  const std::string fallback = input.ConsumeRandomLengthString(120);
  const std::string value = input.ConsumeRandomLengthString(300);
  const std::string bytes = input.ConsumeRemainingBytesAsString();

  const std::string section = SectionName(rawSection);
  const std::string key = KeyName(rawKey);

  CHECK(lk::text::Utf16ToCp1252(lk::text::Cp1252ToUtf16(value)) == value);
  CheckDocument(bytes, rawSection, rawKey, section, key, value);
  CheckStore(bytes, section, key, fallback, value);
  return 0;
}
