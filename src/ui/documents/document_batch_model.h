#pragma once
// Whole documents converted from the toolbar: the files a person picked or
// dropped, what became of each, and the words the progress window shows.
// The worker thread runs the jobs and reports each start and end; the
// window applies the reports to its own copy, so no state is shared across
// threads but the cancel flag.
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "documents/document_file.h"

namespace lk::ui::documents {

namespace fs = std::filesystem;

enum class Outcome {
  kWaiting,
  kConverting,
  kConverted,
  kFailed,     // error says why
  kCancelled,  // stopped before or while it ran: nothing of it was written
};

struct Job {
  fs::path input;
  fs::path output;  // beside the input
  Outcome outcome = Outcome::kWaiting;
  std::uint64_t unconverted = 0;  // characters that had no equivalent
  std::string error;              // a DocumentError's message, without the file name
};

// The extensions the file dialog offers, lower case with their dots: those of
// the formats the toolbar converts today.
std::vector<std::string_view> OfferedExtensions();
// "*.docx;*.docm;..." for the file dialog's filter.
std::string DialogPattern();

// One job per distinct input, in the order given, its output beside it. A
// file we cannot convert (a drop takes whatever was selected) fails when its
// turn comes, with the converter's reason.
std::vector<Job> MakeJobs(const std::vector<fs::path>& inputs, const lk::documents::ConvertSettings& settings);

struct Report {
  std::size_t index = 0;
  Outcome outcome = Outcome::kWaiting;
  std::uint64_t unconverted = 0;
  std::string error;
};

using ConvertFile = std::function<lk::documents::Tally(const lk::documents::FileJob&)>;

// On the worker thread: converts every waiting job in order, reporting its
// start and its end. Once `cancel` is set the job in progress stops (the
// converter leaves nothing of it) and every later one ends cancelled.
void RunJobs(std::vector<Job> jobs, const lk::documents::ConvertSettings& settings, const std::atomic<bool>& cancel,
             const ConvertFile& convert, const std::function<void(const Report&)>& report);

// The window's view of a run.
class Batch {
 public:
  // `target` names what the documents become: "Unicode" or the family.
  Batch(std::vector<Job> jobs, std::string target);

  void Apply(const Report& report);
  void RequestCancel() { cancelRequested_ = true; }

  const std::vector<Job>& jobs() const { return jobs_; }
  bool Finished() const;
  std::size_t Total() const { return jobs_.size(); }
  std::size_t Done() const;

  // Above the bar: "Converting 2 of 5 to Unicode", "Cancelling…", and at the
  // end a count of what was converted.
  std::string Heading() const;
  // The name of the file in progress; empty when none is.
  std::string CurrentName() const;
  // What became of every file that has ended, grouped: converted, converted
  // with characters that had no equivalent, failed (with why), cancelled.
  std::string Summary() const;
  // The folder worth opening at the end: the first converted file's, else
  // the first input's.
  std::optional<fs::path> FolderToOpen() const;

 private:
  std::vector<Job> jobs_;
  std::string target_;
  bool cancelRequested_ = false;
};

// The paths a multiple-selection file dialog gives back: a folder and then
// its file names, or one full path alone; each string ends with a NUL and an
// empty one ends the list.
std::vector<fs::path> SplitDialogSelection(const fs::path::value_type* buffer, std::size_t size);

// A path as UTF-8, for the texts above.
std::string Utf8Name(const fs::path& path);

}  // namespace lk::ui::documents
