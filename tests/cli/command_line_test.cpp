#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cli_test_support.h"

// What every command shares: version and help, usage errors, and briefs that do not load.

namespace gl::test {
namespace {

using ::testing::HasSubstr;

TEST(CommandLineTest, VersionAndHelpExitZero) {
  const CliRun version = RunCli({"--version"});
  EXPECT_EQ(version.code, cli::kExitDone);
  EXPECT_THAT(version.out, ::testing::MatchesRegex("gleaner [0-9]+\\.[0-9]+\\.[0-9]+\n"));
  const CliRun help = RunCli({"generate", "--help"});
  EXPECT_EQ(help.code, cli::kExitDone);
  EXPECT_THAT(help.out, HasSubstr("Exit codes: 0 completed, 1 failed"));
}

// The rows cover each kind: no or unknown command, a missing argument, a value out of range or
// of the wrong type, options that exclude each other or do not belong to the command, and a brief
// name longer than the brief setup dialog takes (60 characters).
TEST(CommandLineTest, UsageErrorsExitTwoAndChangeNothing) {
  CliFolder folder;
  const std::string brief = (folder / "news.brf").string();
  ASSERT_EQ(RunCli({"new", brief}).code, cli::kExitDone);
  ASSERT_EQ(RunCli({"add", brief, "http://a.example/"}).code, cli::kExitDone);
  const std::string before = ReadFileBytes(brief);
  for (const char* usage :
       {"", "frobnicate", "add B", "add B http://a/ --depth 0", "add B http://a/ --depth 100",
        "add B http://a/ --no-images", "edit-entry B", "edit-entry B 1", "edit B",
        "edit-entry B 1 --images --no-images", "edit-entry B 1 --active --inactive",
        "edit B --active --inactive", "settings proxy-port", "settings colour blue", "fetch",
        "delete-archive B 1.5"}) {
    SCOPED_TRACE(usage);
    const CliRun run = RunCli(Words(usage, brief));
    EXPECT_EQ(run.code, cli::kExitUsage);
    EXPECT_NE(run.err, "");
    EXPECT_EQ(run.out, "");
  }
  // A text longer than a brief file holds is refused, whatever the option.
  for (const char* command : {"add B", "edit B --comments"}) {
    std::vector<std::string> arguments = Words(command, brief);
    arguments.emplace_back(32768, 't');
    const CliRun run = RunCli(arguments);
    EXPECT_EQ(run.code, cli::kExitUsage);
    EXPECT_THAT(run.err, HasSubstr("holds texts of at most 32767 bytes; this one has 32768."));
  }
  const std::string longName(61, 'n');
  EXPECT_EQ(RunCli({"new", (folder / "other.brf").string(), "--name", longName}).code,
            cli::kExitUsage);
  const CliRun named = RunCli({"edit", brief, "--name", longName});
  EXPECT_EQ(named.code, cli::kExitUsage);
  EXPECT_THAT(named.err, HasSubstr("A brief name holds at most 60 characters."));
  EXPECT_EQ(ReadFileBytes(brief), before);
  EXPECT_FALSE(std::filesystem::exists(folder / "other.brf"));
  EXPECT_FALSE(std::filesystem::exists(folder / "registry.ini"));
}

// A file the reader refuses without a message of its own (too few header flags) still gets the
// loading error, so no command fails silently.
TEST(CommandLineTest, EveryBriefCommandReportsAnUnloadableBrief) {
  CliFolder folder;
  const std::string fewFlags = "GLBF-ORX" + std::string("\x01\x00\x00\x00\x01\x00\x01\x00", 8);
  WriteFileBytes(folder / "few.brf", fewFlags);
  // A missing file is not corrupt: the system's reason follows.
  const std::pair<const char*, std::string> files[] = {
      {"few.brf", ""},
      {"missing.brf", (folder / "missing.brf").string() + ": No such file or directory\n"},
  };
  for (const auto& [file, reason] : files) {
    for (const char* command :
         {"show B --json", "add B http://a/", "edit-entry B 1 --images", "remove B 1",
          "edit B --inactive", "generate B", "archives B", "delete-archive B 1"}) {
      SCOPED_TRACE(std::string(command) + " " + file);
      const CliRun run = RunCli(Words(command, (folder / file).string()));
      EXPECT_EQ(run.code, cli::kExitFailed);
      EXPECT_EQ(run.out, "");
      EXPECT_EQ(run.err,
                "Brief File Loading Error: This file is either corrupt or is not a Brief file. "
                "Gleaner-Light cannot load it.\n" +
                    reason);
    }
  }
  EXPECT_EQ(ReadFileBytes(folder / "few.brf"), fewFlags);
  EXPECT_FALSE(std::filesystem::exists(folder / "missing.brf"));
}

}  // namespace
}  // namespace gl::test
