#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "command.h"
#include "nx7ctl_run.h"

namespace nx7::ctl {
namespace {

std::vector<std::string> ReadLines(const std::filesystem::path& path) {
  std::ifstream in(path);
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

std::string Padded(std::string hex) {
  while (hex.size() < 33 * 3 - 1) hex += " 00";
  return hex;
}

TEST(Nx7ctlVersion, PrintsTheVirtualMousesVersionAndTracesTheExchange) {
  const auto trace = std::filesystem::temp_directory_path() / "nx7ctl_version_trace.txt";
  const CtlResult r = Ctl({"version", "--virtual", "--trace", trace.string()});
  EXPECT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(r.out, "15\n");
  EXPECT_EQ(ReadLines(trace), (std::vector<std::string>{"SET_FEATURE " + Padded("07 80"), "SLEEP 50",
                                                        "GET_FEATURE " + Padded("07 80 01 05")}));
  std::filesystem::remove(trace);
}

TEST(Nx7ctlVersion, FailuresGoToStderrWithNonZeroStatus) {
  const std::vector<std::vector<std::string>> bad = {
      {"version", "--virtual", "extra"},
      {"version", "--virtual", "--trace", "/nonexistent-dir/t.txt"},
      {"version", "--colour"},
  };
  for (const auto& argv : bad) {
    const CtlResult r = Ctl(argv);
    EXPECT_NE(r.code, 0) << argv.back();
    EXPECT_TRUE(r.out.empty()) << argv.back();
    EXPECT_NE(r.err.find("nx7ctl version: "), std::string::npos) << r.err;
  }
}

}  // namespace
}  // namespace nx7::ctl
