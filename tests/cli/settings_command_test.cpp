#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "cli_test_support.h"

// The settings command maps each key onto the preferences; how they are stored is pinned by the
// core tests, so these read the values back through the listing.

namespace gl::test {
namespace {

constexpr const char* kDefaults =
    "browser-path=\nbrowser-service=\nauto-load-browser=No\nbrowser-port=9222\nproxy-server=\n"
    "proxy-port=80\nretries=3\ndisk-buffer-mb=1\nuser-name=\npassword=\nsecure-pages=No\n"
    "page-styles=No\nconnections=4\n";

// A password given on the command line counts as confirmed, so it is stored too.
TEST(SettingsCommandTest, ListsTheDefaultsThenSetsEachKey) {
  CliFolder folder;
  EXPECT_EQ(RunCli({"settings"}).out, kDefaults);
  EXPECT_FALSE(std::filesystem::exists(folder / "registry.ini"));
  for (const char* change :
       {"browser-path /opt/IEXPLORE.EXE", "auto-load-browser yes", "browser-port 9333",
        "proxy-server proxy.example", "proxy-port 3128", "retries 5", "disk-buffer-mb 250",
        "user-name ann", "password pw", "secure-pages YES", "page-styles yes", "connections 16"}) {
    const CliRun run = RunCli(Words(std::string("settings ") + change));
    EXPECT_EQ(run.code, cli::kExitDone) << change;
    EXPECT_EQ(run.out + run.err, "");
  }
  EXPECT_EQ(RunCli({"settings"}).out,
            "browser-path=/opt/IEXPLORE.EXE\nbrowser-service=iexplore\nauto-load-browser=Yes\n"
            "browser-port=9333\nproxy-server=proxy.example\nproxy-port=3128\nretries=5\n"
            "disk-buffer-mb=250\nuser-name=ann\npassword=**\nsecure-pages=Yes\npage-styles=Yes\n"
            "connections=16\n");
}

TEST(SettingsCommandTest, ValuesTheDialogRefusesAreUsageErrors) {
  CliFolder folder;
  const std::tuple<const char*, const char*, const char*> rows[] = {
      {"retries", "6", "retries takes a number from 1 to 5, not \"6\".\n"},
      {"connections", "0", "connections takes a number from 1 to 16, not \"0\".\n"},
      {"proxy-port", "100000", "proxy-port takes a number from 0 to 99999, not \"100000\".\n"},
      {"browser-port", "0", "browser-port takes a port number from 1 to 65535, not \"0\".\n"},
      {"disk-buffer-mb", "1e3",
       "disk-buffer-mb takes a number of megabytes from 1 to 999999, not \"1e3\".\n"},
      {"auto-load-browser", "maybe", "auto-load-browser takes Yes or No, not \"maybe\".\n"},
  };
  for (const auto& [key, value, message] : rows) {
    SCOPED_TRACE(key);
    const CliRun run = RunCli({"settings", key, value});
    EXPECT_EQ(run.code, cli::kExitUsage);
    EXPECT_EQ(run.err, message);
  }
  EXPECT_FALSE(std::filesystem::exists(folder / "registry.ini"));
}

TEST(SettingsCommandTest, AStoreThatCannotBeWrittenFails) {
  CliFolder folder;
  std::filesystem::create_directory(folder / "registry.ini");
  const CliRun run = RunCli({"settings", "retries", "2"});
  EXPECT_EQ(run.code, cli::kExitFailed);
  EXPECT_EQ(run.err,
            "The settings could not be written to " + (folder / "registry.ini").string() + ".\n");
  EXPECT_EQ(RunCli({"settings"}).out, kDefaults);
}

}  // namespace
}  // namespace gl::test
