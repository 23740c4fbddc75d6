#include "ui/documents/document_batch_model.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "documents/format_extensions.h"
#include "temp_dir.h"

namespace lk::ui::documents {
namespace {

using lk::documents::ConvertSettings;
using lk::documents::FileJob;
using lk::documents::Tally;

ConvertSettings ToUnicode() { return {}; }

std::string Upper(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return out;
}

// The extension table and FormatOf must never disagree: the dialog offers
// what the table says, the converter reads what FormatOf says.
TEST(DocumentExtensions, TableAgreesWithFormatOfInAnyCase) {
  for (const auto& entry : lk::documents::kFormatExtensions) {
    EXPECT_EQ(lk::documents::FormatOf("a" + std::string(entry.extension)), entry.format) << entry.extension;
    EXPECT_EQ(lk::documents::FormatOf("a" + Upper(entry.extension)), entry.format) << entry.extension;
  }
  EXPECT_FALSE(lk::documents::FormatOf("notes.txt"));
}

TEST(DocumentExtensions, DialogOffersEveryFormatThatConverts) {
  EXPECT_EQ(DialogPattern(), "*.docx;*.docm;*.dotx;*.xlsx;*.xlsm;*.pptx;*.pptm;*.odt;*.ods;*.odp;*.rtf");
}

TEST(DocumentJobs, OutputsBesideInputsInOrderWithRepeatsOnce) {
  const fs::path folder = fs::path("work") / "letters";
  const auto jobs = MakeJobs({folder / "b.docx", folder / "a.RTF", folder / "." / "b.docx"}, ToUnicode());
  ASSERT_EQ(jobs.size(), 2u);
  EXPECT_EQ(jobs[0].input, folder / "b.docx");
  EXPECT_EQ(jobs[0].output, lk::documents::DefaultOutputPath(folder / "b.docx", ToUnicode()));
  EXPECT_EQ(jobs[0].output.parent_path(), folder);
  EXPECT_EQ(jobs[1].input, folder / "a.RTF");
  for (const auto& job : jobs) EXPECT_EQ(job.outcome, Outcome::kWaiting);
}

struct Recorded {
  std::vector<Report> reports;
  std::vector<FileJob> calls;
};

// Runs three jobs with `convert` standing in for the converter.
Recorded RunThree(std::atomic<bool>& cancel, const std::function<Tally(const FileJob&, std::size_t call)>& convert) {
  Recorded recorded;
  ConvertSettings settings;
  settings.direction = convert::Direction::kToLegacy;
  settings.options.font = convert::LegacyFont::kKantipur;
  const auto jobs = MakeJobs({"d/one.docx", "d/two.docx", "d/three.rtf"}, settings);
  RunJobs(
      jobs, settings, cancel,
      [&](const FileJob& job) {
        recorded.calls.push_back(job);
        return convert(job, recorded.calls.size() - 1);
      },
      [&](const Report& report) { recorded.reports.push_back(report); });
  return recorded;
}

TEST(DocumentRun, EachFileStartsAndEndsWithWhatBecameOfIt) {
  std::atomic<bool> cancel{false};
  const auto recorded = RunThree(cancel, [](const FileJob&, std::size_t call) -> Tally {
    if (call == 1) throw lk::documents::DocumentError("the file is not a zip archive");
    if (call == 2) throw std::bad_alloc();
    return Tally{call == 0 ? 3u : 0u, 7};
  });
  ASSERT_EQ(recorded.calls.size(), 3u);
  EXPECT_EQ(recorded.calls[0].input, fs::path("d/one.docx"));
  EXPECT_EQ(recorded.calls[0].output.parent_path(), fs::path("d"));
  EXPECT_EQ(recorded.calls[0].settings.options.font, convert::LegacyFont::kKantipur);
  EXPECT_EQ(recorded.calls[0].cancel, &cancel);
  EXPECT_FALSE(recorded.calls[0].overwrite);

  ASSERT_EQ(recorded.reports.size(), 6u);
  const std::size_t indices[] = {0, 0, 1, 1, 2, 2};
  const Outcome outcomes[] = {Outcome::kConverting, Outcome::kConverted, Outcome::kConverting,
                              Outcome::kFailed,     Outcome::kConverting, Outcome::kFailed};
  for (std::size_t i = 0; i < 6; ++i) {
    EXPECT_EQ(recorded.reports[i].index, indices[i]) << i;
    EXPECT_EQ(recorded.reports[i].outcome, outcomes[i]) << i;
  }
  EXPECT_EQ(recorded.reports[1].unconverted, 3u);
  EXPECT_EQ(recorded.reports[3].error, "the file is not a zip archive");
  EXPECT_FALSE(recorded.reports[5].error.empty());
}

// Cancel during the second file: it ends cancelled (its converter threw and
// left nothing), the first stays converted, the rest never start.
TEST(DocumentRun, CancelStopsTheFileInProgressAndEveryLaterOne) {
  std::atomic<bool> cancel{false};
  const auto recorded = RunThree(cancel, [&](const FileJob& job, std::size_t call) -> Tally {
    if (call == 1) {
      cancel = true;
      EXPECT_TRUE(job.cancel->load());
      throw lk::documents::Cancelled();
    }
    return {};
  });
  EXPECT_EQ(recorded.calls.size(), 2u);
  ASSERT_EQ(recorded.reports.size(), 5u);
  EXPECT_EQ(recorded.reports[1].outcome, Outcome::kConverted);
  EXPECT_EQ(recorded.reports[3].index, 1u);
  EXPECT_EQ(recorded.reports[3].outcome, Outcome::kCancelled);
  EXPECT_EQ(recorded.reports[4].index, 2u);
  EXPECT_EQ(recorded.reports[4].outcome, Outcome::kCancelled);
}

Batch ThreeFiles() {
  return Batch(MakeJobs({u8"कागज/पत्र.docx", "kagaj/b.docx", "kagaj/c.rtf"}, ToUnicode()), "Unicode");
}

TEST(DocumentBatch, ProgressNamesTheFileAndCountsWhatEnded) {
  Batch batch = ThreeFiles();
  EXPECT_EQ(batch.Heading(), "Converting 1 of 3 to Unicode");
  EXPECT_EQ(batch.CurrentName(), "");
  batch.Apply({0, Outcome::kConverting, 0, {}});
  EXPECT_EQ(batch.CurrentName(), "पत्र.docx");
  EXPECT_EQ(batch.Done(), 0u);
  batch.Apply({0, Outcome::kConverted, 0, {}});
  batch.Apply({1, Outcome::kConverting, 0, {}});
  EXPECT_EQ(batch.Heading(), "Converting 2 of 3 to Unicode");
  EXPECT_EQ(batch.CurrentName(), "b.docx");
  EXPECT_EQ(batch.Done(), 1u);
  EXPECT_FALSE(batch.Finished());
  // A report for a job that is not ours changes nothing.
  batch.Apply({7, Outcome::kConverted, 0, {}});
  EXPECT_EQ(batch.Done(), 1u);
}

TEST(DocumentBatch, SummaryGroupsWhatBecameOfEachFile) {
  Batch batch(MakeJobs({"k/a.docx", "k/b.docx", "k/c.rtf", "k/d.docx", "k/e.txt"}, ToUnicode()), "Unicode");
  batch.Apply({0, Outcome::kConverted, 0, {}});
  batch.Apply({1, Outcome::kConverted, 1, {}});
  batch.Apply({2, Outcome::kFailed, 0, "a part of it is cut short"});
  batch.Apply({3, Outcome::kCancelled, 0, {}});
  EXPECT_FALSE(batch.Finished());
  batch.Apply({4, Outcome::kFailed, 0, "not a document"});
  ASSERT_TRUE(batch.Finished());
  EXPECT_EQ(batch.Heading(), "Converted 2 of 5 documents to Unicode.");
  EXPECT_EQ(batch.CurrentName(), "");
  const std::string a = lk::documents::DefaultOutputPath("k/a.docx", ToUnicode()).filename().string();
  const std::string b = lk::documents::DefaultOutputPath("k/b.docx", ToUnicode()).filename().string();
  EXPECT_EQ(batch.Summary(),
            "Converted:\n"
            "  a.docx → " + a + "\n"
            "\n"
            "Converted, with characters that had no equivalent:\n"
            "  b.docx → " + b + ": 1 character had no equivalent and was left as it was\n"
            "\n"
            "Failed:\n"
            "  c.rtf: a part of it is cut short\n"
            "  e.txt: not a document\n"
            "\n"
            "Cancelled, nothing written:\n"
            "  d.docx\n");
}

TEST(DocumentBatch, CancelIsShownUntilTheWorkerHasStopped) {
  Batch batch = ThreeFiles();
  batch.Apply({0, Outcome::kConverted, 0, {}});
  batch.Apply({1, Outcome::kConverting, 0, {}});
  batch.RequestCancel();
  EXPECT_EQ(batch.Heading(), "Cancelling…");
  batch.Apply({1, Outcome::kCancelled, 0, {}});
  batch.Apply({2, Outcome::kCancelled, 0, {}});
  EXPECT_EQ(batch.Heading(), "Cancelled: converted 1 of 3 documents to Unicode.");
}

TEST(DocumentBatch, FolderToOpenIsTheFirstConvertedFilesElseTheFirstInputs) {
  Batch batch(MakeJobs({"first/a.docx", "second/b.docx"}, ToUnicode()), "Unicode");
  EXPECT_EQ(batch.FolderToOpen(), fs::path("first"));
  batch.Apply({0, Outcome::kFailed, 0, "broken"});
  batch.Apply({1, Outcome::kConverted, 0, {}});
  EXPECT_EQ(batch.FolderToOpen(), fs::path("second"));
  EXPECT_EQ(Batch({}, "Unicode").FolderToOpen(), std::nullopt);
}

std::string ReadAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteAll(const fs::path& path, const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }

// The real converter behind the run: what the window reports is what
// happened on disk.
class DocumentRunOnDisk : public ::testing::Test {
 protected:
  DocumentRunOnDisk() {
    WriteAll(dir_.path() / "letter.rtf",
             "{\\rtf1\\ansi{\\fonttbl{\\f0\\fnil Preeti;}{\\f1\\fswiss Arial;}}\\f0 g]kfn\\f1  Nepal\\par}");
    WriteAll(dir_.path() / "notes.txt", "g]kfn");
    WriteAll(dir_.path() / "broken.docx", "not a zip");
  }

  Batch Run(bool cancelled) {
    const std::atomic<bool> cancel{cancelled};
    Batch batch(MakeJobs({dir_.path() / "letter.rtf", dir_.path() / "notes.txt", dir_.path() / "broken.docx"},
                         ToUnicode()),
                "Unicode");
    RunJobs(batch.jobs(), ToUnicode(), cancel, &lk::documents::ConvertDocumentFile,
            [&](const Report& report) { batch.Apply(report); });
    return batch;
  }

  std::vector<std::string> Files() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir_.path())) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }

  lk::testing::TempDir dir_;
};

TEST_F(DocumentRunOnDisk, ConvertsBesideTheInputAndSaysWhyOthersFailed) {
  const Batch batch = Run(false);
  ASSERT_TRUE(batch.Finished());
  EXPECT_EQ(batch.jobs()[0].outcome, Outcome::kConverted);
  const std::string converted = ReadAll(dir_.path() / "letter (Unicode).rtf");
  EXPECT_NE(converted.find("\\u2344"), std::string::npos) << converted;  // न
  EXPECT_NE(converted.find("Nepal"), std::string::npos) << converted;
  for (std::size_t i : {1u, 2u}) {
    EXPECT_EQ(batch.jobs()[i].outcome, Outcome::kFailed);
    EXPECT_FALSE(batch.jobs()[i].error.empty());
  }
  const std::string summary = batch.Summary();
  EXPECT_NE(summary.find("Failed:\n  notes.txt: " + batch.jobs()[1].error + "\n  broken.docx: "), std::string::npos)
      << summary;
  EXPECT_EQ(Files(), (std::vector<std::string>{"broken.docx", "letter (Unicode).rtf", "letter.rtf", "notes.txt"}));
}

TEST_F(DocumentRunOnDisk, ACancelledRunWritesNothing) {
  const Batch batch = Run(true);
  ASSERT_TRUE(batch.Finished());
  for (const auto& job : batch.jobs()) EXPECT_EQ(job.outcome, Outcome::kCancelled);
  EXPECT_EQ(batch.Heading(), "Converted 0 of 3 documents to Unicode.");
  EXPECT_EQ(Files(), (std::vector<std::string>{"broken.docx", "letter.rtf", "notes.txt"}));
}

fs::path::string_type Native(std::string_view text) { return fs::path(text).native(); }

TEST(DialogSelection, OneFileIsAFullPathSeveralAreAFolderAndNames) {
  fs::path::string_type one = Native("C:/docs/a.docx");
  one.append(2, 0);
  EXPECT_EQ(SplitDialogSelection(one.data(), one.size()), std::vector<fs::path>{"C:/docs/a.docx"});

  fs::path::string_type several = Native("C:/docs");
  for (const auto* name : {"a.docx", "b c.rtf"}) {
    several.push_back(0);
    several += Native(name);
  }
  several.append(2, 0);
  several += Native("stale text after the end");
  EXPECT_EQ(SplitDialogSelection(several.data(), several.size()),
            (std::vector<fs::path>{fs::path("C:/docs") / "a.docx", fs::path("C:/docs") / "b c.rtf"}));

  const fs::path::string_type nothing(4, 0);
  EXPECT_TRUE(SplitDialogSelection(nothing.data(), nothing.size()).empty());
}

}  // namespace
}  // namespace lk::ui::documents
