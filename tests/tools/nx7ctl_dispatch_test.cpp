#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "command.h"
#include "nx7ctl_run.h"

namespace nx7::ctl {
namespace {

TEST(Nx7ctlDispatch, UnknownOrMissingCommandFailsOnStderr) {
  for (const auto& argv : {std::vector<std::string>{"no-such-command"}, std::vector<std::string>{}}) {
    const CtlResult r = Ctl(argv);
    EXPECT_EQ(r.code, 2);
    EXPECT_TRUE(r.out.empty());
    EXPECT_NE(r.err.find("nx7ctl"), std::string::npos);
  }
}

TEST(Nx7ctlDispatch, EveryCommandAnswersHelp) {
  const CtlResult overview = Ctl({"--help"});
  EXPECT_EQ(overview.code, 0);
  for (const Command& c : Commands()) {
    const std::string name(c.name);
    EXPECT_NE(overview.out.find("  " + name + " "), std::string::npos) << name;
    const CtlResult help = Ctl({name, "--help"});
    EXPECT_EQ(help.code, 0) << name;
    EXPECT_EQ(help.out.rfind("usage: nx7ctl " + name, 0), 0u) << help.out;
    EXPECT_TRUE(help.err.empty()) << name;
  }
}

// The version printed is the one of the VERSION file, read here without the build's help.
TEST(Nx7ctlDispatch, VersionIsTheSourceTreesVersion) {
  std::ifstream file(NX7_SOURCE_DIR "/VERSION");
  std::string version;
  ASSERT_TRUE(std::getline(file, version));
  ASSERT_FALSE(version.empty());
  const CtlResult r = Ctl({"--version"});
  EXPECT_EQ(r.code, 0);
  EXPECT_EQ(r.out, "nx7ctl " + version + "\n");
  EXPECT_TRUE(r.err.empty());
  EXPECT_NE(Ctl({"--help"}).out.find("nx7ctl --version"), std::string::npos);
  const CtlResult extra = Ctl({"--version", "x"});
  EXPECT_EQ(extra.code, 2);
  EXPECT_TRUE(extra.out.empty());
}

TEST(Nx7ctlDispatch, ParseArgsSplitsOptionsAndPositionals) {
  const std::string_view options[] = {"--virtual", "--trace="};
  const ParsedArgs a = ParseArgs({"p.dat", "--trace", "t.txt", "--virtual"}, options, 1, 1);
  EXPECT_EQ(a.positional, std::vector<std::string>{"p.dat"});
  EXPECT_TRUE(a.Has("--virtual"));
  EXPECT_EQ(a.Value("--trace"), "t.txt");
  EXPECT_EQ(ParseArgs({"--trace=x=y"}, options, 0, 0).Value("--trace"), "x=y");
  EXPECT_EQ(ParseArgs({"--", "--virtual"}, options, 1, 1).positional[0], "--virtual");
  EXPECT_FALSE(ParseArgs({}, options, 0, 0).Has("--virtual"));
}

TEST(Nx7ctlDispatch, ParseArgsRejectsMalformedLines) {
  const std::string_view options[] = {"--virtual", "--trace="};
  const std::vector<std::vector<std::string>> bad = {
      {"--unknown"}, {"--trace"}, {"--virtual=1"}, {"a", "b"}, {},
  };
  for (const auto& args : bad) EXPECT_THROW(ParseArgs(args, options, 1, 1), UsageError) << args.size();
}

}  // namespace
}  // namespace nx7::ctl
