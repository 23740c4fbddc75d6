// lekhopakar-convert --version: the one version number CMake's project()
// gives, printed without touching any input.
#include <gtest/gtest.h>

#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "cli/convert_cli.h"
#include "version.h"

namespace lk::cli {
namespace {

struct Outcome {
  int status;
  std::string out;
  std::string err;
};

Outcome Convert(const std::vector<std::string>& args, const std::string& input) {
  std::istringstream in(input);
  std::ostringstream out;
  std::ostringstream err;
  const int status = RunConvert(args, {in, out, err});
  return {status, out.str(), err.str()};
}

TEST(ConvertCliVersion, PrintsTheProjectVersionAndReadsNothing) {
  // Standard input that is not UTF-8: reading it would end with status 1.
  const Outcome run = Convert({"--version"}, "\xFF\xFE");
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, std::string("lekhopakar-convert ") + LK_VERSION + "\n");
  EXPECT_EQ(run.err, "");
  // A version CMake never filled in would print "@PROJECT_VERSION@" or nothing.
  EXPECT_TRUE(std::regex_match(std::string(LK_VERSION), std::regex(R"(\d+\.\d+\.\d+)"))) << LK_VERSION;
}

TEST(ConvertCliVersion, WinsOverAConversionAndItsFiles) {
  const Outcome run = Convert({"--to", "unicode", "no-such-file.txt", "--version"}, "");
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, std::string("lekhopakar-convert ") + LK_VERSION + "\n");
  EXPECT_EQ(run.err, "");
}

TEST(ConvertCliVersion, TakesNoValue) {
  const Outcome run = Convert({"--version=2"}, "");
  EXPECT_EQ(run.status, 2);
  EXPECT_EQ(run.out, "");
  EXPECT_NE(run.err.find("--version takes no value"), std::string::npos) << run.err;
}

}  // namespace
}  // namespace lk::cli
