#pragma once
// One document file converted into a new file: the entry point the command
// line and the toolbar share. Files a user gives us are untrusted: every
// size is bounded, the input is never written, and the output appears only
// once it is whole (a temporary file beside it, published by a rename).
#include <atomic>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

#include "documents/run_model.h"

namespace lk::documents {

enum class Format { kDocx, kXlsx, kPptx, kOdt, kOds, kOdp, kRtf };

// By extension, in any case: .docx .docm .dotx, .xlsx .xlsm, .pptx .pptm,
// .odt .ods .odp, .rtf. None for anything else (plain text included).
std::optional<Format> FormatOf(const std::filesystem::path& path);

// A document that cannot be converted, with a message for a person that
// does not name the file (the caller does: "NAME: message").
class DocumentError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The conversion was cancelled; nothing was left behind.
class Cancelled : public std::runtime_error {
 public:
  Cancelled() : std::runtime_error("cancelled") {}
};

// Every converter polls the user's cancel flag the same way.
inline void ThrowIfCancelled(const std::atomic<bool>* cancel) {
  if (cancel && cancel->load(std::memory_order_relaxed)) throw Cancelled();
}

struct Limits {
  // One part read to be rewritten, inflated. A Word paragraph of a few
  // hundred thousand runs was measured to take about 6.2 times its part's
  // size while rewritten, so this bound keeps the worst file well under
  // the 1 GiB a document is budgeted.
  std::uint64_t maxPartSize = 128ull << 20;
  std::uint64_t maxEntries = 20000;
  // Every part together, inflated, as the directory claims it (a part is
  // refused the moment it inflates past its claim): parts copied as they
  // are cost no memory, only the time their checksum takes.
  std::uint64_t maxTotalSize = 4ull << 30;
};

struct FileJob {
  std::filesystem::path input;
  std::filesystem::path output;
  ConvertSettings settings;
  bool overwrite = false;  // may replace an existing output (never the input)
  Limits limits;
  // Polled between parts and runs; set from another thread to stop.
  const std::atomic<bool>* cancel = nullptr;
};

// Converts job.input into job.output. Throws DocumentError (bad input, an
// output that exists without overwrite, a write that failed) or Cancelled;
// either way no output and no temporary file remain.
Tally ConvertDocumentFile(const FileJob& job);

// Where an output goes when the user names none: "NAME (Unicode).docx" or
// "NAME (Preeti).docx" beside the input, after the family's name.
std::filesystem::path DefaultOutputPath(const std::filesystem::path& input, const ConvertSettings& settings);

// Whether a file is one of our own outputs ("(Unicode)" or "(family)" ending
// its stem) or Word's "~$" lock file: a folder run skips those.
bool IsOwnOutputOrLockFile(const std::filesystem::path& path);

}  // namespace lk::documents
