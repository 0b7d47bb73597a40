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
  const struct {
    std::vector<std::string> argv;
    int code;
    const char* message;
  } cases[] = {
      {{"version", "--virtual", "extra"}, 2, "nx7ctl version: "},
      {{"version", "--virtual", "--trace", "/nonexistent-dir/t.txt"}, 1, "cannot create the trace file"},
      {{"version", "--colour"}, 2, "nx7ctl version: "},
      {{"version", "--virtual", "--fail-command", "80"}, 1, "reading the firmware version failed"},
      {{"version", "--virtual", "--fail-command", "0x1FF"}, 2, "command byte in hex"},
      {{"version", "--virtual", "--fail-command", "8g"}, 2, "command byte in hex"},
      {{"version", "--fail-command", "80"}, 2, "--fail-command needs --virtual"},
  };
  for (const auto& c : cases) {
    const CtlResult r = Ctl(c.argv);
    EXPECT_EQ(r.code, c.code) << c.argv.back() << ": " << r.err;
    EXPECT_TRUE(r.out.empty()) << c.argv.back();
    EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
  }
}

}  // namespace
}  // namespace nx7::ctl
