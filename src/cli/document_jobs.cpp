#include "cli/document_jobs.h"

#include <algorithm>
#include <mutex>
#include <new>
#include <ostream>
#include <system_error>
#include <thread>

#include "cli/convert_cli.h"
#include "cli/path_text.h"
#include "convert/converter.h"

namespace lk::cli {
namespace {

namespace fs = std::filesystem;

std::size_t CharacterCount(std::string_view utf8) {
  return static_cast<std::size_t>(
      std::count_if(utf8.begin(), utf8.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

// The end of a long name is the part that tells files apart.
std::string Shortened(const std::string& name, std::size_t characters) {
  if (CharacterCount(name) <= characters) return name;
  std::size_t start = name.size();
  for (std::size_t kept = 0; kept < characters && start > 0;) {
    --start;
    if ((static_cast<unsigned char>(name[start]) & 0xC0) != 0x80) ++kept;
  }
  return "..." + name.substr(start);
}

// Standard error shared by the workers: every message whole, and on a
// terminal one line at the bottom that says how far the run is.
class Reporter {
 public:
  Reporter(std::ostream& err, bool progress, std::size_t total) : err_(err), progress_(progress), total_(total) {}

  void Started(const std::string& name) {
    std::lock_guard lock(mutex_);
    current_ = name;
    Draw();
  }
  void Finished() {
    std::lock_guard lock(mutex_);
    ++done_;
    Draw();
  }
  void Say(const std::string& line) {
    std::lock_guard lock(mutex_);
    Clear();
    err_ << line << '\n';
    Draw();
  }
  void Close() {
    std::lock_guard lock(mutex_);
    Clear();
    err_.flush();
  }

 private:
  void Draw() {
    if (!progress_) return;
    Clear();
    const std::string line =
        std::to_string(done_) + " of " + std::to_string(total_) + " done; converting " + Shortened(current_, 50);
    err_ << '\r' << line;
    err_.flush();
    shown_ = CharacterCount(line);
  }
  void Clear() {
    if (!progress_ || shown_ == 0) return;
    err_ << '\r' << std::string(shown_, ' ') << '\r';
    shown_ = 0;
  }

  std::mutex mutex_;
  std::ostream& err_;
  const bool progress_;
  const std::size_t total_;
  std::size_t done_ = 0;
  std::size_t shown_ = 0;
  std::string current_;
};

bool Cancelled(const std::atomic<bool>* cancel) { return cancel && cancel->load(); }

JobOutcome ConvertOne(const DocumentJob& job, const JobRun& run) {
  JobOutcome outcome;
  const auto fail = [&outcome](std::string reason) {
    outcome.state = JobOutcome::State::kFailed;
    outcome.error = std::move(reason);
    return outcome;
  };
  // The mirrored tree under -o's folder grows as its files are converted.
  const fs::path folder = job.output.parent_path();
  if (!folder.empty()) {
    std::error_code ec;
    fs::create_directories(folder, ec);
    if (ec) return fail("cannot make the folder " + Utf8FromPath(folder) + ": " + ec.message());
  }
  documents::FileJob file;
  file.input = job.input;
  file.output = job.output;
  file.settings = run.settings;
  file.overwrite = run.overwrite;
  file.cancel = run.cancel;
  try {
    outcome.tally = run.convert ? run.convert(file) : documents::ConvertDocumentFile(file);
    outcome.state = JobOutcome::State::kConverted;
  } catch (const documents::Cancelled&) {
    outcome.state = JobOutcome::State::kCancelled;
  } catch (const documents::DocumentError& e) {
    return fail(e.what());
  } catch (const std::bad_alloc&) {
    return fail("not enough memory to convert it");
  } catch (const std::exception& e) {
    return fail(e.what());
  }
  return outcome;
}

}  // namespace

JobCount CountJobs(std::optional<unsigned> requested, unsigned cores, std::uint64_t physicalMemory,
                   std::size_t files) {
  JobCount result;
  std::uint64_t count = requested ? *requested : std::max(cores, 1u);
  if (physicalMemory > 0) {
    const std::uint64_t byMemory = std::max<std::uint64_t>(physicalMemory / 2 / kMemoryPerJob, 1);
    if (byMemory < count) {
      count = byMemory;
      result.limitedByMemory = true;
    }
  }
  count = std::min<std::uint64_t>(count, std::max<std::size_t>(files, 1));
  result.count = static_cast<unsigned>(std::max<std::uint64_t>(count, 1));
  return result;
}

std::vector<JobOutcome> RunDocumentJobs(const std::vector<DocumentJob>& jobs, const JobRun& run) {
  std::vector<JobOutcome> outcomes(jobs.size());
  Reporter reporter(*run.err, run.progress, jobs.size());
  std::atomic<std::size_t> next{0};
  const auto work = [&] {
    while (!Cancelled(run.cancel)) {
      const std::size_t i = next.fetch_add(1);
      if (i >= jobs.size()) return;
      reporter.Started(jobs[i].name);
      outcomes[i] = ConvertOne(jobs[i], run);
      if (outcomes[i].state == JobOutcome::State::kFailed) {
        reporter.Say(std::string(kProgramName) + ": " + jobs[i].name + ": " + outcomes[i].error);
      }
      reporter.Finished();
    }
  };
  const unsigned threads = std::max(1u, std::min<unsigned>(run.threads, static_cast<unsigned>(jobs.size())));
  std::vector<std::thread> workers;
  for (unsigned t = 1; t < threads; ++t) workers.emplace_back(work);
  work();
  for (std::thread& worker : workers) worker.join();
  reporter.Close();
  return outcomes;
}

DocumentTotals Summarize(const DocumentPlan& plan, const std::vector<JobOutcome>& outcomes, std::ostream& err) {
  DocumentTotals totals;
  totals.failed = plan.failed.size();
  totals.skipped = plan.skipped.size();
  for (std::size_t i = 0; i < outcomes.size(); ++i) {
    const JobOutcome& outcome = outcomes[i];
    switch (outcome.state) {
      case JobOutcome::State::kConverted:
        ++totals.converted;
        totals.unconverted += outcome.tally.unconverted;
        if (outcome.tally.unconverted > 0) {
          err << kProgramName << ": " << plan.jobs[i].name << ": "
              << convert::UnconvertedText(outcome.tally.unconverted) << '\n';
        }
        break;
      case JobOutcome::State::kFailed:
        ++totals.failed;
        break;
      case JobOutcome::State::kCancelled:
      case JobOutcome::State::kNotStarted:
        ++totals.notStarted;
        break;
    }
  }
  for (const FileNote& skipped : plan.skipped) {
    err << kProgramName << ": skipped " << skipped.name << " (" << skipped.reason << ")\n";
  }
  err << kProgramName << ": " << totals.converted << " converted, " << totals.skipped << " skipped, "
      << totals.failed << " failed";
  if (totals.notStarted > 0) err << ", " << totals.notStarted << " cancelled";
  err << '\n';
  return totals;
}

}  // namespace lk::cli
