#include <gtest/gtest.h>

#include <string>

#include "cli/cli.h"
#include "cli_test_support.h"

namespace gl {
namespace {

using test::CliFolder;
using test::ReadFileBytes;
using test::RunCli;

constexpr const char* kDefaults =
    "browser-path=\n"
    "browser-service=\n"
    "auto-load-browser=No\n"
    "proxy-server=\n"
    "proxy-port=80\n"
    "retries=3\n"
    "disk-buffer-mb=1\n"
    "user-name=\n"
    "password=\n";

TEST(SettingsCommandTest, PrintsTheDefaultsWithoutAStore) {
  CliFolder folder;
  const auto run = RunCli({"settings"});
  EXPECT_EQ(run.code, cli::kExitDone);
  EXPECT_EQ(run.out, kDefaults);
  EXPECT_FALSE(std::filesystem::exists(folder / "registry.ini"));
}

TEST(SettingsCommandTest, SetsEachKeyAsThePreferencesDialogWritesIt) {
  CliFolder folder;
  const std::initializer_list<std::string> changes[] = {
      {"settings", "browser-path", "/opt/IEXPLORE.EXE"},
      {"settings", "auto-load-browser", "yes"},
      {"settings", "proxy-server", "proxy.example"},
      {"settings", "proxy-port", "3128"},
      {"settings", "retries", "5"},
      {"settings", "disk-buffer-mb", "250"},
      {"settings", "user-name", "ann"},
      {"settings", "password", "pw"},
  };
  for (const auto& change : changes) {
    const auto run = RunCli(change);
    EXPECT_EQ(run.code, cli::kExitDone);
    EXPECT_EQ(run.err, "");
  }
  EXPECT_EQ(RunCli({"settings"}).out,
            "browser-path=/opt/IEXPLORE.EXE\n"
            "browser-service=iexplore\n"
            "auto-load-browser=Yes\n"
            "proxy-server=proxy.example\n"
            "proxy-port=3128\n"
            "retries=5\n"
            "disk-buffer-mb=250\n"
            "user-name=ann\n"
            "password=**\n");
  EXPECT_EQ(ReadFileBytes(folder / "registry.ini"),
            "[Software\\Orrery Development\\Gleaner-Light\\Briefs]\n"
            "Password=pw\n"
            "Retries=5\n"
            "UserName=ann\n"
            "\n"
            "[Software\\Orrery Development\\Gleaner-Light\\Browser]\n"
            "AutoLoad Browser=Yes\n"
            "Browser Path=/opt/IEXPLORE.EXE\n"
            "Browser Service=iexplore\n"
            "\n"
            "[Software\\Orrery Development\\Gleaner-Light\\Disk Buffer]\n"
            "MegaBytes=250\n"
            "\n"
            "[Software\\Orrery Development\\Gleaner-Light\\Proxy]\n"
            "Proxy Port=3128\n"
            "Proxy Server=proxy.example\n");
}

TEST(SettingsCommandTest, ValuesOutsideTheDialogsRangesAreUsageErrors) {
  CliFolder folder;
  const struct {
    const char* key;
    const char* value;
    const char* message;
  } cases[] = {
      {"retries", "0", "retries takes a number from 1 to 5, not \"0\".\n"},
      {"retries", "6", "retries takes a number from 1 to 5, not \"6\".\n"},
      {"proxy-port", "100000", "proxy-port takes a number from 0 to 99999, not \"100000\".\n"},
      {"proxy-port", "-1", "proxy-port takes a number from 0 to 99999, not \"-1\".\n"},
      {"disk-buffer-mb", "0",
       "disk-buffer-mb takes a number of megabytes from 1 to 999999, not \"0\".\n"},
      {"disk-buffer-mb", "1e3",
       "disk-buffer-mb takes a number of megabytes from 1 to 999999, not \"1e3\".\n"},
      {"auto-load-browser", "maybe", "auto-load-browser takes Yes or No, not \"maybe\".\n"},
  };
  for (const auto& row : cases) {
    SCOPED_TRACE(row.value);
    const auto run = RunCli({"settings", row.key, row.value});
    EXPECT_EQ(run.code, cli::kExitUsage);
    EXPECT_EQ(run.err, row.message);
  }
  EXPECT_EQ(RunCli({"settings", "proxy-port"}).code, cli::kExitUsage);
  EXPECT_EQ(RunCli({"settings", "colour", "blue"}).code, cli::kExitUsage);
  EXPECT_FALSE(std::filesystem::exists(folder / "registry.ini"));

  EXPECT_EQ(RunCli({"settings", "proxy-port", "0"}).code, cli::kExitDone);
  EXPECT_EQ(RunCli({"settings", "proxy-port", "99999"}).code, cli::kExitDone);
  EXPECT_EQ(RunCli({"settings", "auto-load-browser", "NO"}).code, cli::kExitDone);
}

TEST(SettingsCommandTest, AStoreThatCannotBeWrittenFails) {
  CliFolder folder;
  std::filesystem::create_directory(folder / "registry.ini");
  const auto run = RunCli({"settings", "retries", "2"});
  EXPECT_EQ(run.code, cli::kExitFailed);
  EXPECT_EQ(run.err,
            "The settings could not be written to " + (folder / "registry.ini").string() + ".\n");
  EXPECT_EQ(RunCli({"settings"}).out, kDefaults);
}

}  // namespace
}  // namespace gl
