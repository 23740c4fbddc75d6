#pragma once
// What the whole-file fuzz targets share: a private folder, fuzzed parts cut
// from the input, a package damaged by one byte, and the checks that hold
// for every conversion of a file to a file.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "documents/document_file.h"
#include "documents/package.h"
#include "fuzz_check.h"

namespace lk::fuzz {

namespace fs = std::filesystem;

inline const fs::path& Folder(const char* name) {
  static const fs::path folder = [name] {
    fs::path path = fs::temp_directory_path() / (std::string("lk-fuzz-") + name + "-" + std::to_string(::getpid()));
    fs::remove_all(path);
    fs::create_directories(path);
    return path;
  }();
  return folder;
}

// `count` parts separated by NULs; the last takes the rest.
inline std::vector<std::string> SplitParts(std::string_view rest, int count) {
  std::vector<std::string> parts(static_cast<std::size_t>(count));
  std::size_t at = 0;
  for (int i = 0; i < count; ++i) {
    const std::size_t nul = i + 1 < count ? rest.find('\0', at) : std::string_view::npos;
    parts[static_cast<std::size_t>(i)] =
        std::string(rest.substr(at, nul == std::string_view::npos ? std::string_view::npos : nul - at));
    if (nul == std::string_view::npos) break;
    at = nul + 1;
  }
  return parts;
}

// A binary part no conversion may touch.
inline const std::string& Picture() {
  static const std::string picture = [] {
    std::string bytes(3000, '\0');
    std::uint32_t seed = 16;
    for (char& c : bytes) c = static_cast<char>((seed = seed * 1664525u + 1013904223u) >> 24);
    return bytes;
  }();
  return picture;
}

// The byte at `offset` (modulo the size) XORed with `mask`.
inline void DamageByte(const fs::path& file, unsigned offset, std::uint8_t mask) {
  const auto fileSize = fs::file_size(file);
  std::FILE* stream = std::fopen(file.c_str(), "r+b");
  CHECK(stream);
  const long at = static_cast<long>(offset % fileSize);
  std::fseek(stream, at, SEEK_SET);
  const int byte = std::fgetc(stream);
  std::fseek(stream, at, SEEK_SET);
  std::fputc(byte ^ mask, stream);
  std::fclose(stream);
}

inline std::vector<std::string> PartNames(documents::PackageReader& reader) {
  std::vector<std::string> names;
  for (const documents::PartInfo& part : reader.parts()) names.push_back(part.name);
  return names;
}

// Only the input and the outputs asked for: no temporary file, ever.
inline void CheckNothingElse(const fs::path& folder, const std::vector<fs::path>& expected) {
  std::size_t count = 0;
  for (const auto& entry : fs::directory_iterator(folder)) {
    ++count;
    bool known = false;
    for (const fs::path& path : expected) known = known || entry.path() == path;
    CHECK(known);
  }
  CHECK(count == expected.size());
}

// Runs the job and checks what every file conversion promises: an output
// or a DocumentError with a message, never a stray file; an output holds
// the input's parts in its order with `untouched` as it was, and, to
// Unicode, converting it again changes no part.
inline void ConvertAndCheck(documents::FileJob job, const fs::path& again, const std::string& untouched) {
  const fs::path folder = job.input.parent_path();
  bool converted = false;
  try {
    documents::ConvertDocumentFile(job);
    converted = true;
  } catch (const documents::DocumentError& e) {
    CHECK(std::string_view(e.what()).size() > 0);
  }
  if (!converted) {
    CheckNothingElse(folder, {job.input});
    return;
  }
  CheckNothingElse(folder, {job.input, job.output});
  documents::PackageReader from(job.input, job.limits);
  documents::PackageReader to(job.output, job.limits);
  CHECK(PartNames(from) == PartNames(to));
  CHECK(to.Read(untouched) == from.Read(untouched));
  if (job.settings.direction != convert::Direction::kToUnicode) return;
  job.input = job.output;
  job.output = again;
  documents::ConvertDocumentFile(job);  // what we wrote, we read
  documents::PackageReader twice(again, job.limits);
  for (const documents::PartInfo& part : to.parts()) CHECK(twice.Read(part.name) == to.Read(part.name));
}

// Converts input into output (and output into again) with small limits,
// checks, and leaves the folder empty for the next input.
inline void ConvertCheckAndClean(const fs::path& input, const fs::path& output, const fs::path& again, bool toLegacy,
                                 const std::string& untouched) {
  documents::FileJob job;
  job.input = input;
  job.output = output;
  job.settings.direction = toLegacy ? convert::Direction::kToLegacy : convert::Direction::kToUnicode;
  job.limits.maxPartSize = 1 << 20;
  job.limits.maxTotalSize = 1 << 22;
  ConvertAndCheck(job, again, untouched);
  std::error_code ec;
  for (const fs::path& path : {input, output, again}) fs::remove(path, ec);
}

}  // namespace lk::fuzz
