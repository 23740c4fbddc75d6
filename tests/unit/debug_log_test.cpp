#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "diagnostics/debug_log.h"
#include "temp_dir.h"

namespace {

using lk::diagnostics::DebugLog;

std::vector<std::string> LinesOf(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

TEST(DebugLog, WritesNothingUntilOpened) {
  lk::testing::TempDir dir;
  DebugLog log;
  log.Note("RegisterClassExW failed", 1410);
  EXPECT_FALSE(log.on());
  EXPECT_FALSE(std::filesystem::exists(dir.path() / "LK.log"));
}

TEST(DebugLog, LineSaysWhatFailedAndTheNumber) {
  lk::testing::TempDir dir;
  DebugLog log;
  log.Open(dir.path() / "LK.log");
  log.Note("AddClipboardFormatListener failed", 5);
  log.Note("exception in a window procedure");
  log.Note("automation call failed", static_cast<std::int64_t>(static_cast<std::int32_t>(0x800401E3)));
  const auto lines = LinesOf(dir.path() / "LK.log");
  ASSERT_EQ(lines.size(), 3u);
  const std::regex stamp(R"(^\d{4}-\d\d-\d\d \d\d:\d\d:\d\dZ .*)");
  for (const auto& line : lines) EXPECT_TRUE(std::regex_match(line, stamp)) << line;
  EXPECT_NE(lines[0].find("AddClipboardFormatListener failed (code 5, 0x5)"), std::string::npos) << lines[0];
  EXPECT_EQ(lines[1].find("code"), std::string::npos) << lines[1];
  EXPECT_NE(lines[2].find("0x800401E3"), std::string::npos) << lines[2];
}

// The file never passes its cap, whatever was there before, and the newest
// line always survives the restart.
TEST(DebugLog, StaysUnderItsCap) {
  struct Row {
    std::uintmax_t cap;
    std::size_t existing;  // bytes already in the file from an earlier run
    int notes;
  };
  for (const Row row : {Row{200, 0, 50}, Row{200, 190, 1}, Row{1000, 5000, 3}, Row{64, 0, 10}, Row{4096, 0, 40}}) {
    lk::testing::TempDir dir;
    const auto file = dir.path() / "LK.log";
    std::ofstream(file, std::ios::binary) << std::string(row.existing, 'x');
    DebugLog log;
    log.Open(file, row.cap);
    for (int i = 0; i < row.notes; ++i) log.Note("SetWindowSubclass failed", i + 1);
    EXPECT_LE(std::filesystem::file_size(file), row.cap) << row.cap << " " << row.existing;
    const auto lines = LinesOf(file);
    ASSERT_FALSE(lines.empty()) << row.cap;
    EXPECT_NE(lines.back().find("(code " + std::to_string(row.notes) + ","), std::string::npos) << lines.back();
  }
}

// The document worker and the window thread may fail at once: every line
// arrives whole, none is lost below the cap.
TEST(DebugLog, WholeLinesFromManyThreads) {
  lk::testing::TempDir dir;
  const auto file = dir.path() / "LK.log";
  DebugLog log;
  log.Open(file, 1 << 20);
  constexpr int kThreads = 4;
  constexpr int kNotes = 250;
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&log, t] {
      for (int i = 0; i < kNotes; ++i) log.Note("automation call failed", t * 1000 + i + 1);
    });
  }
  for (auto& thread : threads) thread.join();
  const auto lines = LinesOf(file);
  ASSERT_EQ(lines.size(), static_cast<std::size_t>(kThreads * kNotes));
  const std::regex whole(R"(^\S+ \S+ automation call failed \(code \d+, 0x[0-9A-F]+\)$)");
  std::vector<int> seen(kThreads * 1000 + kNotes + 1, 0);
  for (const auto& line : lines) {
    ASSERT_TRUE(std::regex_match(line, whole)) << line;
    ++seen[std::stoi(line.substr(line.find("(code ") + 6))];
  }
  for (int t = 0; t < kThreads; ++t)
    for (int i = 0; i < kNotes; ++i) EXPECT_EQ(seen[t * 1000 + i + 1], 1) << t << " " << i;
}

TEST(DebugLog, LivesBesideTheSettings) {
  EXPECT_EQ(lk::diagnostics::LogFileBeside(std::filesystem::path("dir") / "LK.ini"),
            std::filesystem::path("dir") / "LK.log");
}

}  // namespace
