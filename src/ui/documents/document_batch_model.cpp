#include "ui/documents/document_batch_model.h"

#include <algorithm>
#include <exception>
#include <utility>

#include "convert/converter.h"
#include "documents/format_extensions.h"

namespace lk::ui::documents {
namespace {

// The formats the toolbar offers in its file dialog: those whose converter
// the file layer runs. A format joins the dialog by being added here.
using lk::documents::Format;
constexpr Format kOfferedFormats[] = {Format::kDocx, Format::kXlsx, Format::kPptx, Format::kOdt,
                                      Format::kOds,  Format::kOdp,  Format::kRtf};

bool Final(Outcome outcome) { return outcome != Outcome::kWaiting && outcome != Outcome::kConverting; }

std::string Plural(std::size_t count, std::string_view one, std::string_view many) {
  return std::to_string(count) + " " + std::string(count == 1 ? one : many);
}

}  // namespace

std::string Utf8Name(const fs::path& path) {
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

std::vector<std::string_view> OfferedExtensions() {
  std::vector<std::string_view> extensions;
  for (const auto& entry : lk::documents::kFormatExtensions)
    if (std::find(std::begin(kOfferedFormats), std::end(kOfferedFormats), entry.format) != std::end(kOfferedFormats))
      extensions.push_back(entry.extension);
  return extensions;
}

std::string DialogPattern() {
  std::string pattern;
  for (const auto extension : OfferedExtensions()) {
    if (!pattern.empty()) pattern += ';';
    pattern += "*";
    pattern += extension;
  }
  return pattern;
}

std::vector<Job> MakeJobs(const std::vector<fs::path>& inputs, const lk::documents::ConvertSettings& settings) {
  std::vector<Job> jobs;
  for (const auto& input : inputs) {
    const fs::path normal = input.lexically_normal();
    if (std::any_of(jobs.begin(), jobs.end(), [&](const Job& job) { return job.input == normal; })) continue;
    Job job;
    job.input = normal;
    job.output = lk::documents::DefaultOutputPath(normal, settings);
    jobs.push_back(std::move(job));
  }
  return jobs;
}

void RunJobs(std::vector<Job> jobs, const lk::documents::ConvertSettings& settings, const std::atomic<bool>& cancel,
             const ConvertFile& convert, const std::function<void(const Report&)>& report) {
  for (std::size_t i = 0; i < jobs.size(); ++i) {
    if (jobs[i].outcome != Outcome::kWaiting) continue;
    if (cancel.load()) {
      report({i, Outcome::kCancelled, 0, {}});
      continue;
    }
    report({i, Outcome::kConverting, 0, {}});
    lk::documents::FileJob file;
    file.input = jobs[i].input;
    file.output = jobs[i].output;
    file.settings = settings;
    file.cancel = &cancel;
    Report end{i, Outcome::kConverted, 0, {}};
    try {
      end.unconverted = convert(file).unconverted;
    } catch (const lk::documents::Cancelled&) {
      end.outcome = Outcome::kCancelled;
    } catch (const std::exception& error) {
      // A DocumentError says what is wrong with the file; anything else
      // (memory, the file system) still ends this file only.
      end.outcome = Outcome::kFailed;
      end.error = error.what();
    }
    report(end);
  }
}

Batch::Batch(std::vector<Job> jobs, std::string target) : jobs_(std::move(jobs)), target_(std::move(target)) {}

void Batch::Apply(const Report& report) {
  if (report.index >= jobs_.size()) return;
  Job& job = jobs_[report.index];
  job.outcome = report.outcome;
  job.unconverted = report.unconverted;
  job.error = report.error;
}

bool Batch::Finished() const {
  return std::all_of(jobs_.begin(), jobs_.end(), [](const Job& job) { return Final(job.outcome); });
}

std::size_t Batch::Done() const {
  return static_cast<std::size_t>(
      std::count_if(jobs_.begin(), jobs_.end(), [](const Job& job) { return Final(job.outcome); }));
}

std::string Batch::Heading() const {
  if (Finished()) {
    const auto converted = static_cast<std::size_t>(std::count_if(
        jobs_.begin(), jobs_.end(), [](const Job& job) { return job.outcome == Outcome::kConverted; }));
    return std::string(cancelRequested_ ? "Cancelled: converted " : "Converted ") + std::to_string(converted) +
           " of " + Plural(jobs_.size(), "document", "documents") + " to " + target_ + ".";
  }
  if (cancelRequested_) return "Cancelling…";
  const auto current = std::find_if(jobs_.begin(), jobs_.end(), [](const Job& job) { return !Final(job.outcome); });
  const auto number = static_cast<std::size_t>(current - jobs_.begin()) + 1;
  return "Converting " + std::to_string(number) + " of " + std::to_string(jobs_.size()) + " to " + target_;
}

std::string Batch::CurrentName() const {
  for (const auto& job : jobs_)
    if (job.outcome == Outcome::kConverting) return Utf8Name(job.input.filename());
  return {};
}

std::string Batch::Summary() const {
  struct Group {
    const char* title;
    bool (*holds)(const Job&);
    std::string (*line)(const Job&);
  };
  static const Group kGroups[] = {
      {"Converted:", [](const Job& j) { return j.outcome == Outcome::kConverted && j.unconverted == 0; },
       [](const Job& j) { return Utf8Name(j.input.filename()) + " → " + Utf8Name(j.output.filename()); }},
      {"Converted, with characters that had no equivalent:",
       [](const Job& j) { return j.outcome == Outcome::kConverted && j.unconverted > 0; },
       [](const Job& j) {
         return Utf8Name(j.input.filename()) + " → " + Utf8Name(j.output.filename()) + ": " +
                convert::UnconvertedText(j.unconverted);
       }},
      {"Failed:", [](const Job& j) { return j.outcome == Outcome::kFailed; },
       [](const Job& j) { return Utf8Name(j.input.filename()) + ": " + j.error; }},
      {"Cancelled, nothing written:", [](const Job& j) { return j.outcome == Outcome::kCancelled; },
       [](const Job& j) { return Utf8Name(j.input.filename()); }},
  };
  std::string text;
  for (const auto& group : kGroups) {
    std::string lines;
    for (const auto& job : jobs_)
      if (group.holds(job)) lines += "  " + group.line(job) + "\n";
    if (lines.empty()) continue;
    if (!text.empty()) text += "\n";
    text += std::string(group.title) + "\n" + lines;
  }
  return text;
}

std::optional<fs::path> Batch::FolderToOpen() const {
  for (const auto& job : jobs_)
    if (job.outcome == Outcome::kConverted) return job.output.parent_path();
  if (!jobs_.empty()) return jobs_.front().input.parent_path();
  return std::nullopt;
}

std::vector<fs::path> SplitDialogSelection(const fs::path::value_type* buffer, std::size_t size) {
  std::vector<fs::path::string_type> parts;
  std::size_t start = 0;
  for (std::size_t i = 0; i < size; ++i) {
    if (buffer[i] != 0) continue;
    if (i == start) break;  // the empty string that ends the list
    parts.emplace_back(buffer + start, buffer + i);
    start = i + 1;
  }
  std::vector<fs::path> paths;
  if (parts.size() == 1) {
    paths.emplace_back(parts.front());
  } else {
    for (std::size_t i = 1; i < parts.size(); ++i) paths.push_back(fs::path(parts.front()) / parts[i]);
  }
  return paths;
}

}  // namespace lk::ui::documents
