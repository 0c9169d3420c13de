#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <string>
#include <tuple>
#include <vector>

#include "cli/cli.h"
#include "cli/cli_test_support.h"
#include "core/brief_file.h"
#include "support/temp_folder.h"

namespace gl::test {
namespace {

TEST(CommandLineTest, VersionAndHelpExitZeroUsageErrorsExitTwoAndChangeNothing) {
  EXPECT_THAT(RunCli({"--version"}).out,
              ::testing::MatchesRegex("gleaner [0-9]+\\.[0-9]+\\.[0-9]+\n"));
  const CliRun help = RunCli({"generate", "--help"});
  EXPECT_EQ(help.code, kExitDone);
  EXPECT_THAT(help.out, HasSubstr("Exit codes: 0 completed, 1 failed"));
  CliFolder folder;
  const std::string brief = (folder / "news.brf").string();
  ASSERT_EQ(RunCli({"new", brief}).code, kExitDone);
  ASSERT_EQ(RunCli({"add", brief, "http://a.example/"}).code, kExitDone);
  const std::string before = ReadFileBytes(brief);
  for (const char* usage :
       {"", "frobnicate", "add B", "add B http://a/ --depth 0", "add B http://a/ --depth 100",
        "add B http://a/ --no-images", "edit-entry B", "edit-entry B 1", "edit B",
        "edit-entry B 1 --images --no-images", "edit-entry B 1 --active --inactive",
        "edit B --active --inactive", "settings proxy-port", "settings colour blue", "fetch",
        "delete-archive B 1.5"}) {
    SCOPED_TRACE(usage);
    const CliRun run = RunCli(Words(usage, brief));
    EXPECT_EQ(run.code, kExitUsage);
    EXPECT_TRUE(run.out.empty() && !run.err.empty());
  }
  // A text longer than a brief file holds is refused, whatever the option.
  for (const char* command : {"add B", "edit B --comments"}) {
    std::vector<std::string> arguments = Words(command, brief);
    arguments.emplace_back(32768, 't');
    const CliRun run = RunCli(arguments);
    EXPECT_EQ(run.code, kExitUsage);
    EXPECT_THAT(run.err, HasSubstr("holds texts of at most 32767 bytes; this one has 32768."));
  }
  const std::string longName(61, 'n');
  EXPECT_EQ(RunCli({"new", (folder / "other.brf").string(), "--name", longName}).code, kExitUsage);
  const CliRun named = RunCli({"edit", brief, "--name", longName});
  EXPECT_EQ(named.code, kExitUsage);
  EXPECT_THAT(named.err, HasSubstr("A brief name holds at most 60 characters."));
  EXPECT_EQ(ReadFileBytes(brief), before);
  EXPECT_FALSE(fs::exists(folder / "other.brf") || fs::exists(folder / "registry.ini"));
}

// Too few header flags: refused without a message of the reader's own.
TEST(CommandLineTest, EveryBriefCommandReportsAnUnloadableBrief) {
  CliFolder folder;
  const std::string fewFlags = "GLBF-ORX" + std::string("\x01\x00\x00\x00\x01\x00\x01\x00", 8);
  WriteFileBytes(folder / "few.brf", fewFlags);
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
      EXPECT_EQ(run.code, kExitFailed);
      EXPECT_EQ(run.out, "");
      EXPECT_EQ(run.err,
                "Brief File Loading Error: This file is either corrupt or is not a Brief file. "
                "Gleaner-Light cannot load it.\n" +
                    reason);
    }
  }
  EXPECT_EQ(ReadFileBytes(folder / "few.brf"), fewFlags);
  EXPECT_FALSE(fs::exists(folder / "missing.brf"));
}

TEST(SettingsCommandTest, ListsDefaultsRefusesBadValuesAndAnUnwritableStoreThenSetsEachKey) {
  CliFolder folder;
  const std::string defaults =
      "browser-path=\nbrowser-service=\nauto-load-browser=No\nbrowser-port=9222\nproxy-server=\n"
      "proxy-port=80\nretries=3\ndisk-buffer-mb=1\nuser-name=\npassword=\nsecure-pages=No\n"
      "page-styles=No\nconnections=4\n";
  EXPECT_EQ(RunCli({"settings"}).out, defaults);
  const std::tuple<const char*, const char*, const char*> refused[] = {
      {"retries", "6", "retries takes a number from 1 to 5, not \"6\".\n"},
      {"connections", "0", "connections takes a number from 1 to 16, not \"0\".\n"},
      {"proxy-port", "100000", "proxy-port takes a number from 0 to 99999, not \"100000\".\n"},
      {"browser-port", "0", "browser-port takes a port number from 1 to 65535, not \"0\".\n"},
      {"disk-buffer-mb", "1e3",
       "disk-buffer-mb takes a number of megabytes from 1 to 999999, not \"1e3\".\n"},
      {"auto-load-browser", "maybe", "auto-load-browser takes Yes or No, not \"maybe\".\n"},
  };
  for (const auto& [key, value, message] : refused) {
    const CliRun run = RunCli({"settings", key, value});
    EXPECT_EQ(run.code, kExitUsage) << key;
    EXPECT_EQ(run.err, message);
  }
  EXPECT_FALSE(fs::exists(folder / "registry.ini"));
  fs::create_directory(folder / "registry.ini");
  const CliRun unwritable = RunCli({"settings", "retries", "2"});
  EXPECT_EQ(unwritable.code, kExitFailed);
  EXPECT_EQ(unwritable.err,
            "The settings could not be written to " + (folder / "registry.ini").string() + ".\n");
  EXPECT_EQ(RunCli({"settings"}).out, defaults);
  fs::remove(folder / "registry.ini");
  for (const char* change :
       {"browser-path /opt/IEXPLORE.EXE", "auto-load-browser yes", "browser-port 9333",
        "proxy-server proxy.example", "proxy-port 3128", "retries 5", "disk-buffer-mb 250",
        "user-name ann", "password pw", "secure-pages YES", "page-styles yes", "connections 16"}) {
    const CliRun run = RunCli(Words(std::string("settings ") + change));
    EXPECT_EQ(run.code, kExitDone) << change;
    EXPECT_EQ(run.out + run.err, "");
  }
  EXPECT_EQ(RunCli({"settings"}).out,
            "browser-path=/opt/IEXPLORE.EXE\nbrowser-service=iexplore\nauto-load-browser=Yes\n"
            "browser-port=9333\nproxy-server=proxy.example\nproxy-port=3128\nretries=5\n"
            "disk-buffer-mb=250\nuser-name=ann\npassword=**\nsecure-pages=Yes\npage-styles=Yes\n"
            "connections=16\n");
}

TEST(BookmarkCommandsTest, ListsAndImportsInFileOrderAndFailuresChangeNothing) {
  CliFolder folder;
  const std::string bookmarks = (folder / "bookmarks.html").string();
  const std::string brief = (folder / "news.brf").string();
  WriteFileBytes(bookmarks,
                 "<TITLE>Ann's links</TITLE><DL><p><DT><H3>News</H3><DL><p>"
                 "<DT><A HREF=\"http://www.bbc.co.uk/\">BBC &amp; more</A>"
                 "<DT><H3>Weather</H3><DL><p><DT><A HREF=\"http://weather.example.com/\">"
                 "Forecast\x1B[2J</A></DL><p><DT><A HREF=\"http://www.npr.org/\">NPR</A>"
                 "</DL><p><DT><A HREF=\"http://www.example.com/\">Example</A></DL>");
  ASSERT_EQ(RunCli({"new", brief}).code, kExitDone);
  const CliRun listed = RunCli({"bookmarks", bookmarks});
  EXPECT_EQ(listed.code, kExitDone);
  EXPECT_EQ(listed.out,
            "Ann's links\n[News]\n  BBC & more  http://www.bbc.co.uk/\n  [Weather]\n"
            "    Forecast\\x1B[2J  http://weather.example.com/\n  NPR  http://www.npr.org/\n"
            "Example  http://www.example.com/\n");

  const std::string before = ReadFileBytes(brief), page = (folder / "page.html").string();
  WriteFileBytes(page, "<html><body>Not bookmarks</body></html>");
  const std::pair<std::vector<std::string>, std::string> failures[] = {
      {{"bookmarks", (folder / "missing.html").string()}, "Bookmark File Loading Error"},
      {{"import-bookmarks", page, brief}, "Bookmark File Loading Error"},
      {{"import-bookmarks", bookmarks, brief, "--folder", "NPR"},
       "There is no folder \"NPR\" in " + bookmarks + ".\n"},
  };
  for (const auto& [arguments, message] : failures) {
    SCOPED_TRACE(message);
    const CliRun run = RunCli(arguments);
    EXPECT_EQ(run.code, kExitFailed);
    EXPECT_EQ(run.out, "");
    EXPECT_TRUE(run.err.starts_with(message)) << run.err;
  }
  EXPECT_EQ(ReadFileBytes(brief), before);

  const CliRun news = RunCli({"import-bookmarks", bookmarks, brief, "--folder", "News"});
  EXPECT_EQ(news.code, kExitDone);
  EXPECT_EQ(news.out, "Added 3 web entries to " + brief + ".\n");
  EXPECT_EQ(RunCli({"import-bookmarks", bookmarks, brief}).code, kExitDone);
  std::vector<std::string> entries;
  for (const TWebEntry& entry : ReadBriefs2(brief).Document.Brief.WebList)
    entries.push_back(entry.Name + (entry.NameSet ? " " : " unnamed ") + entry.URL);
  const char* inNews[] = {"BBC & more http://www.bbc.co.uk/",
                          "Forecast\x1B[2J http://weather.example.com/", "NPR http://www.npr.org/"};
  std::vector<std::string> expected(std::begin(inNews), std::end(inNews));
  expected.insert(expected.end(), std::begin(inNews), std::end(inNews));
  expected.push_back("Example http://www.example.com/");
  EXPECT_EQ(entries, expected);
}

}  // namespace
}  // namespace gl::test
