#pragma once
// Converting the planned documents several at once, with a progress line
// and a summary on standard error.
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "cli/document_plan.h"
#include "documents/document_file.h"

namespace lk::cli {

using DocumentConverter = std::function<documents::Tally(const documents::FileJob&)>;

// One file's conversion stays under this, whatever the input (parts are
// bounded, and a part takes at most four times its size while rewritten).
inline constexpr std::uint64_t kMemoryPerJob = std::uint64_t{1} << 30;

struct JobCount {
  unsigned count = 1;
  bool limitedByMemory = false;
};

// As many at once as asked, or as there are cores; no more than there are
// files, and no more than half the machine's memory holds at kMemoryPerJob
// each (the other half is the user's). Always at least one.
JobCount CountJobs(std::optional<unsigned> requested, unsigned cores, std::uint64_t physicalMemory,
                   std::size_t files);

struct JobOutcome {
  enum class State { kNotStarted, kConverted, kFailed, kCancelled };
  State state = State::kNotStarted;
  documents::Tally tally;
  std::string error;
};

struct JobRun {
  documents::ConvertSettings settings;
  bool overwrite = false;
  unsigned threads = 1;
  const std::atomic<bool>* cancel = nullptr;
  DocumentConverter convert;
  std::ostream* err = nullptr;
  bool progress = false;  // standard error is a terminal: keep a progress line at its bottom
};

// Converts every job, each failure said on standard error as it happens;
// outcomes in the order of the jobs.
std::vector<JobOutcome> RunDocumentJobs(const std::vector<DocumentJob>& jobs, const JobRun& run);

struct DocumentTotals {
  std::size_t converted = 0;
  std::size_t skipped = 0;
  std::size_t failed = 0;
  std::size_t notStarted = 0;
  std::uint64_t unconverted = 0;
};

// The closing lines: each file whose characters were not all converted,
// each file skipped, then the counts.
DocumentTotals Summarize(const DocumentPlan& plan, const std::vector<JobOutcome>& outcomes, std::ostream& err);

}  // namespace lk::cli
