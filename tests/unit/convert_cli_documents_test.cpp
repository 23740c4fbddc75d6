// lekhopakar-convert with documents and folders: where outputs go, what is
// refused before anything is written, what is skipped, the summary and the
// exit status. The document conversion itself is replaced by a stand-in that
// writes a recognisable file, fails or cancels on cue, so that every rule
// of the command line is seen on its own.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <mutex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "cli/convert_cli.h"
#include "cli/document_jobs.h"
#include "convert/legacy_font.h"
#include "documents/document_file.h"
#include "temp_dir.h"

namespace lk::cli {
namespace {

using namespace lk::testing;
using documents::FileJob;
using documents::Tally;

// Paths go to the command as UTF-8, the way its Windows entry point hands them over.
std::string Arg(const fs::path& path) {
  const std::u8string utf8 = path.u8string();
  return {utf8.begin(), utf8.end()};
}

// A relative name written with '/', in the system's own separators so that
// it reads as the command shows it.
fs::path U8(const std::string& utf8) { return fs::path(std::u8string(utf8.begin(), utf8.end())).make_preferred(); }

// Stands in for the document conversion. An input reading "bad" fails as
// a broken file would, each '?' counts as a character without equivalent,
// and a file named in cancelOn sets the cancel flag and is cancelled, as
// Ctrl+C during its conversion would. Writes "converted:" and the input.
class FakeConversion {
 public:
  Tally operator()(const FileJob& job) {
    {
      std::lock_guard lock(mutex_);
      jobs_.push_back(job);
    }
    const std::string content = ReadBytes(job.input);
    if (cancelOn_ && job.input.filename() == *cancelOn_) cancel_.store(true);
    if (job.cancel && job.cancel->load()) throw documents::Cancelled();
    if (content == "bad") throw documents::DocumentError("not a zip file");
    if (fs::exists(job.output) && !job.overwrite) throw documents::DocumentError("the output appeared meanwhile");
    WriteBytes(job.output, "converted:" + content);
    Tally tally;
    tally.unconverted = static_cast<std::uint64_t>(std::count(content.begin(), content.end(), '?'));
    return tally;
  }

  std::vector<FileJob> jobs() {
    std::lock_guard lock(mutex_);
    return jobs_;
  }

  std::optional<fs::path> cancelOn_;
  std::atomic<bool> cancel_{false};

 private:
  std::mutex mutex_;
  std::vector<FileJob> jobs_;
};

struct Result {
  int status;
  std::string out;
  std::string err;
};

class ConvertCliDocuments : public ::testing::Test {
 protected:
  fs::path Make(const std::string& relative, const std::string& bytes = "text") {
    const fs::path path = root_ / U8(relative);
    fs::create_directories(path.parent_path());
    WriteBytes(path, bytes);
    return path;
  }
  std::string Name(const std::string& relative) const { return Arg(root_ / U8(relative)); }

  Result Run(std::vector<std::string> args, bool terminal = false, bool realConversion = false) {
    std::istringstream in;
    std::ostringstream out;
    std::ostringstream err;
    ConvertIo io{in, out, err};
    io.errIsTerminal = terminal;
    io.cores = 2;
    io.cancel = &fake_.cancel_;
    if (!realConversion) io.convertDocument = [this](const FileJob& job) { return fake_(job); };
    const int status = RunConvert(args, io);
    return {status, out.str(), err.str()};
  }

  // Every file under root_, '/'-separated, relative to it.
  std::set<std::string> Files() const {
    std::set<std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(root_)) {
      if (!entry.is_regular_file()) continue;
      const std::u8string relative = entry.path().lexically_relative(root_).generic_u8string();
      files.emplace(relative.begin(), relative.end());
    }
    return files;
  }

  TempDir dir_;
  fs::path root_ = dir_.path();  // where Make and Name start
  FakeConversion fake_;
};

TEST_F(ConvertCliDocuments, WithoutAnOutputEachDocumentGoesBesideItsInputUnderItsDefaultName) {
  Make("a.docx", "A");
  Make("in/b.RTF", "B");
  const Result toUnicode = Run({"--to", "unicode", Name("a.docx"), Name("in")});
  EXPECT_EQ(toUnicode.status, 0) << toUnicode.err;
  EXPECT_EQ(toUnicode.out, "");
  EXPECT_EQ(ReadBytes(dir_.path() / "a (Unicode).docx"), "converted:A");
  EXPECT_EQ(ReadBytes(dir_.path() / "in" / "b (Unicode).RTF"), "converted:B");
  EXPECT_EQ(ReadBytes(dir_.path() / "a.docx"), "A");
  EXPECT_NE(toUnicode.err.find("lekhopakar-convert: 2 converted, 0 skipped, 0 failed\n"), std::string::npos)
      << toUnicode.err;

  const Result toLegacy = Run({"--to", "legacy", "--font", "kantipur", Name("a.docx")});
  EXPECT_EQ(toLegacy.status, 0) << toLegacy.err;
  EXPECT_EQ(ReadBytes(dir_.path() / "a (Kantipur).docx"), "converted:A");
}

TEST_F(ConvertCliDocuments, SettingsReachEachDocumentConversion) {
  Make("a.rtf");
  const Result result = Run({"--to=legacy", "--font", "PCS NEPALI", "--eyelash", "rra", "--unicode-font",
                             " Noto Sans Devanagari ", "--overwrite", Name("a.rtf")});
  ASSERT_EQ(result.status, 0) << result.err;
  const auto jobs = fake_.jobs();
  ASSERT_EQ(jobs.size(), 1u);
  EXPECT_EQ(jobs[0].settings.direction, convert::Direction::kToLegacy);
  EXPECT_EQ(jobs[0].settings.options.font, convert::LegacyFont::kPcsNepali);
  EXPECT_EQ(jobs[0].settings.options.eyelash, convert::Eyelash::kRra);
  EXPECT_EQ(jobs[0].settings.unicodeFont, "Noto Sans Devanagari");
  EXPECT_TRUE(jobs[0].overwrite);
  EXPECT_EQ(jobs[0].cancel, &fake_.cancel_);

  const Result defaults = Run({"--to", "unicode", Name("a.rtf")});
  ASSERT_EQ(defaults.status, 0) << defaults.err;
  EXPECT_EQ(fake_.jobs().back().settings.unicodeFont, documents::ConvertSettings{}.unicodeFont);
  EXPECT_FALSE(fake_.jobs().back().overwrite);
}

TEST_F(ConvertCliDocuments, OutputNamesTheFileOfOneDocumentOrTheFolderOfSeveral) {
  struct Case {
    const char* what;
    std::vector<std::string> inputs;  // relative to the test's folder
    std::string output;
    std::set<std::string> written;  // files made, relative to the test's folder
  };
  const std::vector<Case> cases = {
      {"one document, a new file", {"a.docx"}, "out/new.docx", {"out/new.docx"}},
      {"one document, an existing folder", {"a.docx"}, "existing", {"existing/a.docx"}},
      {"one document, a name ending in a separator", {"a.docx"}, "made/", {"made/a.docx"}},
      {"two documents, a new folder", {"a.docx", "tree/b.dotx"}, "out", {"out/a.docx", "out/b.dotx"}},
      {"a folder: its tree mirrored, only documents taken",
       {"tree"},
       "out",
       {"out/b.dotx", "out/sub/c.docm", "out/sub/deeper/d.rtf"}},
      {"a folder and a document", {"tree/sub", "a.docx"}, "out", {"out/c.docm", "out/deeper/d.rtf", "out/a.docx"}},
  };
  for (std::size_t i = 0; i < cases.size(); ++i) {
    const Case& c = cases[i];
    root_ = dir_.path() / ("case" + std::to_string(i));
    Make("a.docx", "A");
    Make("tree/b.dotx", "B");
    Make("tree/notes.txt", "N");
    Make("tree/sub/c.docm", "C");
    Make("tree/sub/deeper/d.rtf", "D");
    fs::create_directories(root_ / "existing");
    const std::set<std::string> before = Files();

    std::vector<std::string> args = {"--to", "unicode", "-o", Name(c.output)};
    for (const std::string& input : c.inputs) args.push_back(Name(input));
    const Result result = Run(args);
    EXPECT_EQ(result.status, 0) << c.what << "\n" << result.err;
    std::set<std::string> made;
    for (const std::string& file : Files()) {
      if (!before.count(file)) made.insert(file);
    }
    EXPECT_EQ(made, c.written) << c.what;
    for (const std::string& file : made) {
      EXPECT_EQ(ReadBytes(root_ / U8(file)).rfind("converted:", 0), 0u) << c.what << " " << file;
    }
  }
}

TEST_F(ConvertCliDocuments, InputsAndAnOutputThatCannotGoTogetherAreRefusedBeforeAnythingIsWritten) {
  Make("a.docx");
  Make("one/same.docx");
  Make("two/same.docx");
  Make("one/a.txt", "sn");
  Make("text.txt", "sn");
  Make("file.docx");
  struct Case {
    std::vector<std::string> args;  // after --to unicode; '@' starts a name inside the test's folder
    std::string message;
  };
  const std::vector<Case> cases = {
      {{"-o", "@out", "@one", "@two"}, "would both be written to"},
      {{"-o", "@out", "@one/same.docx", "@two/same.docx"}, "would both be written to"},
      {{"-o", "@a.docx", "@a.docx"}, "which is itself"},
      {{"-o", "@one", "@one"}, "which is itself"},
      {{"-o", "@two", "@one/same.docx", "@two/same.docx"}, "which is the input"},
      {{"-o", "@file.docx", "@a.docx", "@two"}, "is a file; for several documents or a folder"},
      {{"-o", "@file.docx", "@one"}, "is a file; for several documents or a folder"},
      {{"-o", "@a.rtf", "@a.docx"}, "must keep its name's ending, .docx"},
      {{"-o", "@out", "@text.txt"}, "-o names where documents go"},
      {{"-o", "@out"}, "-o names where documents go"},
  };
  const std::set<std::string> before = Files();
  for (const Case& c : cases) {
    std::vector<std::string> args = {"--to", "unicode", "@text.txt"};
    args.insert(args.end(), c.args.begin(), c.args.end());
    std::string shown;
    for (std::string& arg : args) {
      if (arg[0] == '@') arg = Name(arg.substr(1));
      shown += " " + arg;
    }
    const Result result = Run(args);
    EXPECT_EQ(result.status, 2) << shown;
    EXPECT_EQ(result.out, "") << shown;  // not even the text file
    EXPECT_NE(result.err.find(c.message), std::string::npos) << shown << "\n" << result.err;
    EXPECT_EQ(result.err.find("converted"), std::string::npos) << shown << "\n" << result.err;
    EXPECT_EQ(Files(), before) << shown;
    EXPECT_FALSE(fs::exists(dir_.path() / "out")) << shown;
  }
  EXPECT_TRUE(fake_.jobs().empty());
}

TEST_F(ConvertCliDocuments, TheSameDocumentNamedTwiceIsConvertedOnce) {
  Make("in/a.docx", "A");
  const Result result = Run({"--to", "unicode", Name("in/a.docx"), Name("in"), Arg(dir_.path() / "in" / ".." / "in" / "a.docx")});
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(fake_.jobs().size(), 1u);
}

TEST_F(ConvertCliDocuments, FoldersSkipLockFilesAndEarlierOutputsAndTakeOnlyDocuments) {
  Make("in/a.docx", "A");
  Make("in/~$a.docx", "lock");
  Make("in/b (Unicode).docx", "earlier");
  Make("in/c (Preeti).docx", "earlier");
  Make("in/d.doc", "old Word");
  Make("in/e.txt", "text");
  Make("in/f.DOCM", "F");
  const Result result = Run({"--to", "unicode", Name("in")});
  EXPECT_EQ(result.status, 0) << result.err;
  std::vector<std::string> converted;
  for (const FileJob& job : fake_.jobs()) converted.push_back(Arg(job.input.filename()));
  std::sort(converted.begin(), converted.end());
  EXPECT_EQ(converted, (std::vector<std::string>{"a.docx", "f.DOCM"}));
  EXPECT_EQ(result.out, "");
  const std::string lock = "skipped " + Name("in/~$a.docx") + " (Word's lock file of an open document)\n";
  const std::string earlier = "skipped " + Name("in/b (Unicode).docx") + " (an output of an earlier conversion)\n";
  EXPECT_NE(result.err.find(lock), std::string::npos) << result.err;
  EXPECT_NE(result.err.find(earlier), std::string::npos) << result.err;
  EXPECT_NE(result.err.find("lekhopakar-convert: 2 converted, 3 skipped, 0 failed\n"), std::string::npos) << result.err;

  // A document named on its own is converted whatever its name.
  const Result given = Run({"--to", "legacy", Name("in/b (Unicode).docx")});
  EXPECT_EQ(given.status, 0) << given.err;
  EXPECT_EQ(ReadBytes(dir_.path() / "in" / "b (Unicode) (Preeti).docx"), "converted:earlier");
}

TEST_F(ConvertCliDocuments, TheOutputFolderInsideTheInputFolderIsNotReadAgain) {
  Make("in/a.docx", "A");
  ASSERT_EQ(Run({"--to", "unicode", "-o", Name("in/out"), Name("in")}).status, 0);
  EXPECT_EQ(ReadBytes(dir_.path() / "in" / "out" / "a.docx"), "converted:A");
  const Result again = Run({"--to", "unicode", "-o", Name("in/out"), "--overwrite", Name("in")});
  EXPECT_EQ(again.status, 0) << again.err;
  EXPECT_FALSE(fs::exists(dir_.path() / "in" / "out" / "out"));
  EXPECT_EQ(fake_.jobs().size(), 2u);
}

TEST_F(ConvertCliDocuments, AnExistingOutputIsKeptUnlessOverwriteIsGiven) {
  Make("a.docx", "A");
  Make("a (Unicode).docx", "mine");
  Make("b.docx", "B");
  const Result refused = Run({"--to", "unicode", Name("a.docx"), Name("b.docx")});
  EXPECT_EQ(refused.status, 1);
  EXPECT_NE(refused.err.find("lekhopakar-convert: " + Name("a.docx") + ": " + Name("a (Unicode).docx") +
                             " exists already; --overwrite replaces it\n"),
            std::string::npos)
      << refused.err;
  EXPECT_EQ(ReadBytes(dir_.path() / "a (Unicode).docx"), "mine");
  EXPECT_EQ(ReadBytes(dir_.path() / "b (Unicode).docx"), "converted:B");
  EXPECT_NE(refused.err.find("1 converted, 0 skipped, 1 failed\n"), std::string::npos) << refused.err;

  fs::remove(dir_.path() / "b (Unicode).docx");
  const Result replaced = Run({"--to", "unicode", "--overwrite", Name("a.docx"), Name("b.docx")});
  EXPECT_EQ(replaced.status, 0) << replaced.err;
  EXPECT_EQ(ReadBytes(dir_.path() / "a (Unicode).docx"), "converted:A");

  // A folder in the output's place is never replaced.
  Make("c.docx", "C");
  fs::create_directories(dir_.path() / "c (Unicode).docx");
  const Result folder = Run({"--to", "unicode", "--overwrite", Name("c.docx")});
  EXPECT_EQ(folder.status, 1);
  EXPECT_NE(folder.err.find("is a folder"), std::string::npos) << folder.err;
}

TEST_F(ConvertCliDocuments, TheExitStatusSaysWhetherAFileFailedOrHadCharactersWithoutEquivalent) {
  Make("good.docx", "fine");
  Make("unmapped.docx", "a??b");
  Make("broken.docx", "bad");
  struct Case {
    std::vector<std::string> files;
    bool strict;
    int status;
  };
  const Case cases[] = {
      {{"good.docx"}, true, 0},
      {{"good.docx", "unmapped.docx"}, false, 0},
      {{"good.docx", "unmapped.docx"}, true, 3},
      {{"broken.docx", "good.docx"}, false, 1},
      {{"broken.docx", "unmapped.docx"}, true, 1},
      {{"missing.docx", "good.docx"}, false, 1},
  };
  for (const Case& c : cases) {
    std::vector<std::string> args = {"--to", "unicode", "--overwrite"};
    if (c.strict) args.push_back("--strict");
    for (const std::string& file : c.files) args.push_back(Name(file));
    const Result result = Run(args);
    EXPECT_EQ(result.status, c.status) << args.back() << (c.strict ? " strict" : "") << "\n" << result.err;
  }

  const Result mixed = Run({"--to", "unicode", "--overwrite", "--jobs", "1", Name("good.docx"), Name("broken.docx"),
                            Name("unmapped.docx"), Name("missing.docx")});
  EXPECT_EQ(mixed.status, 1);
  EXPECT_NE(mixed.err.find("lekhopakar-convert: " + Name("broken.docx") + ": not a zip file\n"), std::string::npos)
      << mixed.err;
  EXPECT_NE(mixed.err.find("lekhopakar-convert: " + Name("missing.docx") + ": cannot read it: "), std::string::npos)
      << mixed.err;
  EXPECT_NE(mixed.err.find("lekhopakar-convert: " + Name("unmapped.docx") +
                           ": 2 characters had no equivalent and were left as they were\n"),
            std::string::npos)
      << mixed.err;
  EXPECT_NE(mixed.err.find("lekhopakar-convert: 2 converted, 0 skipped, 2 failed\n"), std::string::npos) << mixed.err;
  EXPECT_FALSE(fs::exists(dir_.path() / "broken (Unicode).docx"));
}

TEST_F(ConvertCliDocuments, CancellingKeepsTheFinishedDocumentsAndStartsNoMore) {
  Make("in/1.docx", "one");
  Make("in/2.docx", "two");
  Make("in/3.docx", "three");
  fake_.cancelOn_ = "2.docx";
  const Result result = Run({"--to", "unicode", "--jobs", "1", Name("in")});
  EXPECT_EQ(result.status, kCancelledStatus);
  EXPECT_EQ(ReadBytes(dir_.path() / "in" / "1 (Unicode).docx"), "converted:one");
  EXPECT_FALSE(fs::exists(dir_.path() / "in" / "2 (Unicode).docx"));
  EXPECT_FALSE(fs::exists(dir_.path() / "in" / "3 (Unicode).docx"));
  EXPECT_EQ(fake_.jobs().size(), 2u);
  EXPECT_NE(result.err.find("1 converted, 0 skipped, 0 failed, 2 cancelled\n"), std::string::npos) << result.err;
  EXPECT_NE(result.err.find("cancelled; the documents in progress were removed"), std::string::npos) << result.err;
}

TEST_F(ConvertCliDocuments, ACancelBeforeTheStartConvertsNothingNotEvenText) {
  Make("a.docx");
  Make("t.txt", "sn");
  fake_.cancel_.store(true);
  const Result result = Run({"--to", "unicode", Name("t.txt"), Name("a.docx")});
  EXPECT_EQ(result.status, kCancelledStatus);
  EXPECT_EQ(result.out, "");
  EXPECT_TRUE(fake_.jobs().empty());
}

TEST_F(ConvertCliDocuments, TextFilesStreamInOrderBesideTheDocuments) {
  Make("1.txt", "g]kfn\n");
  Make("a.docx", "A");
  Make("2.txt", "sn");
  const Result result = Run({"--to", "unicode", Name("1.txt"), Name("a.docx"), Name("2.txt")});
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(result.out, "नेपाल\nकल");
  EXPECT_EQ(ReadBytes(dir_.path() / "a (Unicode).docx"), "converted:A");
}

TEST_F(ConvertCliDocuments, ManyDocumentsAtOnceAllArriveWhole) {
  std::vector<std::string> args = {"--to", "unicode", "--jobs", "4", "-o", Name("out")};
  for (int i = 0; i < 24; ++i) {
    Make("in/" + std::to_string(i) + ".docx", std::string(static_cast<std::size_t>(i), '?'));
  }
  args.push_back(Name("in"));
  args.push_back("--strict");
  const Result result = Run(args);
  EXPECT_EQ(result.status, 3) << result.err;
  for (int i = 0; i < 24; ++i) {
    EXPECT_EQ(ReadBytes(dir_.path() / "out" / (std::to_string(i) + ".docx")),
              "converted:" + std::string(static_cast<std::size_t>(i), '?'));
  }
  EXPECT_NE(result.err.find("24 converted, 0 skipped, 0 failed\n"), std::string::npos) << result.err;
  // The summary goes by the order the folder was listed in, whatever finished first.
  const auto line = [&](int i) {
    return result.err.find(Arg(dir_.path() / "in" / (std::to_string(i) + ".docx")) + ": " +
                           convert::UnconvertedText(static_cast<std::uint64_t>(i)));
  };
  EXPECT_LT(line(10), line(2));  // "10.docx" is listed before "2.docx"
  EXPECT_EQ(line(0), std::string::npos);
}

TEST_F(ConvertCliDocuments, DevanagariFileAndFolderNamesWork) {
  Make("कागजात/नेपाली पत्र.docx", "पत्र");
  Make("कागजात/उप/सूची.rtf", "सूची");
  Make("पाठ.txt", "g]kfn");
  const Result beside = Run({"--to", "unicode", Name("कागजात"), Name("पाठ.txt")});
  EXPECT_EQ(beside.status, 0) << beside.err;
  EXPECT_EQ(beside.out, "नेपाल");
  EXPECT_EQ(ReadBytes(dir_.path() / U8("कागजात/नेपाली पत्र (Unicode).docx")), "converted:पत्र");
  EXPECT_EQ(ReadBytes(dir_.path() / U8("कागजात/उप/सूची (Unicode).rtf")), "converted:सूची");

  const Result mirrored = Run({"--to", "legacy", "-o", Name("रूपान्तरित"), Name("कागजात"), "--jobs", "2"});
  EXPECT_EQ(mirrored.status, 0) << mirrored.err;
  EXPECT_EQ(ReadBytes(dir_.path() / U8("रूपान्तरित/नेपाली पत्र.docx")), "converted:पत्र");
  EXPECT_EQ(ReadBytes(dir_.path() / U8("रूपान्तरित/उप/सूची.rtf")), "converted:सूची");
  // The earlier outputs were skipped, and named in UTF-8.
  EXPECT_NE(mirrored.err.find("skipped " + Name("कागजात/नेपाली पत्र (Unicode).docx")), std::string::npos)
      << mirrored.err;

  Make("पुरानो.docx", "bad");
  const Result failed = Run({"--to", "unicode", Name("पुरानो.docx")});
  EXPECT_EQ(failed.err.find("lekhopakar-convert: " + Name("पुरानो.docx") + ": not a zip file\n"), 0u) << failed.err;
}

TEST_F(ConvertCliDocuments, OnATerminalAProgressLineIsKeptAndClearedAtTheEnd) {
  Make("a.docx");
  const Result quiet = Run({"--to", "unicode", Name("a.docx")});
  EXPECT_EQ(quiet.err.find('\r'), std::string::npos) << quiet.err;

  const Result shown = Run({"--to", "unicode", "--overwrite", Name("a.docx")}, true);
  EXPECT_EQ(shown.status, 0) << shown.err;
  EXPECT_NE(shown.err.find("\r0 of 1 done; converting "), std::string::npos) << shown.err;
  EXPECT_NE(shown.err.find("\r1 of 1 done; converting "), std::string::npos) << shown.err;
  // The summary starts on a cleared line.
  const std::size_t summary = shown.err.find("lekhopakar-convert: 1 converted");
  ASSERT_NE(summary, std::string::npos) << shown.err;
  EXPECT_EQ(shown.err[summary - 1], '\r') << shown.err;
  EXPECT_EQ(shown.err.find_first_not_of(' ', shown.err.rfind('\r', summary - 2) + 1), summary - 1) << shown.err;
}

TEST_F(ConvertCliDocuments, WithoutAStandInTheDocumentConversionItselfIsCalled) {
  const std::string rtf = "{\\rtf1\\ansi{\\fonttbl{\\f0\\fnil Preeti;}}\\f0 g]kfn\\par}";
  Make("पत्र.rtf", rtf);
  const Result result = Run({"--to", "unicode", Name("पत्र.rtf")}, false, true);
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(ReadBytes(root_ / U8("पत्र.rtf")), rtf);
  const std::string converted = ReadBytes(root_ / U8("पत्र (Unicode).rtf"));
  // नेपाल as RTF's decimal UTF-16 escapes.
  EXPECT_NE(converted.find("\\u2344?\\u2375?\\u2346?\\u2366?\\u2354?"), std::string::npos) << converted;
  EXPECT_NE(converted.find("Nirmala UI"), std::string::npos) << converted;

  Make("broken.docx", "not a zip");
  const Result broken = Run({"--to", "unicode", Name("broken.docx")}, false, true);
  EXPECT_EQ(broken.status, 1);
  EXPECT_EQ(broken.err.rfind("lekhopakar-convert: " + Name("broken.docx") + ": ", 0), 0u) << broken.err;
  EXPECT_FALSE(fs::exists(root_ / "broken (Unicode).docx"));
  EXPECT_EQ(std::distance(fs::directory_iterator(root_), fs::directory_iterator()), 3);  // no temporary file left
}

TEST(ConvertCliJobs, AsManyAtOnceAsAskedOrAsCoresWithinHalfTheMemory) {
  constexpr std::uint64_t kGiB = std::uint64_t{1} << 30;
  struct Case {
    std::optional<unsigned> requested;
    unsigned cores;
    std::uint64_t memory;
    std::size_t files;
    unsigned count;
    bool limited;
  };
  const Case cases[] = {
      {std::nullopt, 8, 0, 100, 8, false},         // memory unknown: the cores
      {std::nullopt, 8, 64 * kGiB, 100, 8, false},
      {std::nullopt, 8, 6 * kGiB, 100, 3, true},   // 3 GiB for the run: three at 1 GiB
      {16, 2, 64 * kGiB, 100, 16, false},          // asked for more than the cores
      {16, 2, 8 * kGiB, 100, 4, true},
      {3, 4, kGiB, 10, 1, true},                   // never fewer than one
      {std::nullopt, 4, 0, 2, 2, false},           // no more than the files
      {std::nullopt, 0, 0, 5, 1, false},           // a system that says nothing of its cores
      {std::nullopt, 4, 0, 0, 1, false},
  };
  for (const Case& c : cases) {
    const JobCount count = CountJobs(c.requested, c.cores, c.memory, c.files);
    EXPECT_EQ(count.count, c.count) << c.cores << " cores, " << c.memory / kGiB << " GiB, " << c.files << " files";
    EXPECT_EQ(count.limitedByMemory, c.limited) << c.cores << " cores, " << c.memory / kGiB << " GiB";
  }
}

}  // namespace
}  // namespace lk::cli
