#include "documents/temporary_output.h"

#include <atomic>
#include <chrono>
#include <cstdint>
#include <random>
#include <string>
#include <system_error>
#include <thread>

#include "documents/document_file.h"
#include "documents/file_io.h"

namespace lk::documents {

namespace fs = std::filesystem;

namespace {

std::uint64_t NextRandom() {
  // Seeded from every source at hand: some C++ runtimes' random_device has
  // been deterministic, and the exclusive create below catches a clash anyway.
  static std::atomic<std::uint64_t> counter{0};
  thread_local std::mt19937_64 engine(
      std::random_device{}() ^ static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()) ^
      std::hash<std::thread::id>{}(std::this_thread::get_id()));
  return engine() ^ (counter.fetch_add(1) * 0x9E3779B97F4A7C15ull);
}

std::string Hex(std::uint64_t value) {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string out(16, '0');
  for (int i = 15; i >= 0; --i, value >>= 4) out[static_cast<std::size_t>(i)] = kDigits[value & 15];
  return out;
}

}  // namespace

TemporaryOutput::TemporaryOutput(const fs::path& folder) {
  const fs::path where = folder.empty() ? fs::path(".") : folder;
  std::error_code ec;
  if (!fs::is_directory(where, ec)) throw DocumentError("the output folder does not exist");
  for (int attempt = 0; attempt < 16; ++attempt) {
    fs::path candidate = where / (std::string(kTemporaryPrefix) + Hex(NextRandom()) + kTemporarySuffix);
    ec = CreateNewFile(candidate);
    if (!ec) {
      path_ = std::move(candidate);
      return;
    }
    if (ec != std::errc::file_exists) break;
  }
  throw DocumentError("no file can be created in the output folder: " + ec.message());
}

TemporaryOutput::~TemporaryOutput() {
  if (published_) return;
  std::error_code ec;
  fs::remove(path_, ec);
}

void TemporaryOutput::Publish(const fs::path& target, bool overwrite) {
  std::error_code ec;
  if (overwrite)
    fs::rename(path_, target, ec);
  else
    ec = RenameNoReplace(path_, target);
  if (ec == std::errc::file_exists) throw DocumentError("the output file already exists");
  if (ec) throw DocumentError("the output file cannot be put in place (is it open in another program?): " + ec.message());
  published_ = true;
}

}  // namespace lk::documents
