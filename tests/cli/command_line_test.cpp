#include "cli/cli_test_support.h"
#include "core/brief_file.h"

namespace gl::test {
namespace {

// A usage row may give a part of its message after '|'. Too few header flags: refused without a
// message of the reader's own.
TEST(CommandLineTest, VersionHelpRefusalsThatChangeNothingThenSettingsAndBookmarks) {
  EXPECT_THAT(RunCli({"--version"}).out,
              ::testing::MatchesRegex("gleaner [0-9]+\\.[0-9]+\\.[0-9]+\n"));
  const CliRun help = RunCli({"generate", "--help"});
  EXPECT_EQ(help.code, kExitDone);
  EXPECT_THAT(help.out, HasSubstr("Exit codes: 0 completed, 1 failed"));
  CliFolder folder;
  const std::string brief = (folder / "news.brf").string();
  RunDone("new B", brief);
  RunDone("add B http://a.example/", brief);
  const std::string before = ReadFileBytes(brief);
  // Malformed command lines, then setting values out of range.
  for (const auto& group :
       {std::vector<std::string>{
            "", "frobnicate", "add B", "add B http://a/ --depth 0", "add B http://a/ --depth 100",
            "add B http://a/ --no-images", "edit-entry B 1", "edit B",
            "edit-entry B 1 --images --no-images", "edit-entry B 1 --active --inactive",
            "edit B --active --inactive", "settings proxy-port", "settings colour blue", "fetch",
            "delete-archive B 1.5", "new B --name n*61",
            "edit B --name n*61|at most 60 characters.", "add B t*32768|at most 32767 bytes",
            "edit B --comments t*32768|this one has 32768."},
        {"settings retries 6|retries takes a number from 1 to 5, not \"6\".",
         "settings connections 0|connections takes a number from 1 to 16, not \"0\".",
         "settings proxy-port 100000|proxy-port takes a number from 0 to 99999, not \"100000\"",
         "settings browser-port 0|browser-port takes a port number from 1 to 65535, not \"0\"",
         "settings disk-buffer-mb 1e3|takes a number of megabytes from 1 to 999999, not \"1e3\"",
         "settings auto-load-browser maybe|auto-load-browser takes Yes or No, not \"maybe\"."}})
    for (const std::string& usage : group) {
      SCOPED_TRACE(usage);
      const std::size_t bar = std::min(usage.find('|'), usage.size());
      const CliRun run = RunCli(Words(usage.substr(0, bar), brief));
      EXPECT_TRUE(run.code == kExitUsage && run.out.empty() && !run.err.empty())
          << ::testing::PrintToString(run);
      EXPECT_THAT(run.err, HasSubstr(usage.substr(std::min(bar + 1, usage.size()))));
    }
  EXPECT_EQ(ReadFileBytes(brief), before);
  EXPECT_FALSE(fs::exists(folder / "registry.ini"));

  const std::string fewFlags = "GLBF-ORX" + std::string("\x01\x00\x00\x00\x01\x00\x01\x00", 8);
  WriteFileBytes(folder / "few.brf", fewFlags);
  for (const std::string file : {"few.brf", "missing.brf"}) {
    const std::string path = (folder / file).string();
    const std::string reason = file == "few.brf" ? "" : path + ": No such file or directory\n";
    for (const char* command :
         {"show B --json", "add B http://a/", "edit-entry B 1 --images", "remove B 1",
          "edit B --inactive", "generate B", "archives B", "delete-archive B 1"}) {
      SCOPED_TRACE(std::string(command) + " " + file);
      EXPECT_EQ(RunCli(Words(command, path)),
                (CliRun{kExitFailed, "",
                        "Brief File Loading Error: This file is either corrupt or is not a Brief "
                        "file. Gleaner-Light cannot load it.\n" +
                            reason}));
    }
  }
  EXPECT_EQ(ReadFileBytes(folder / "few.brf"), fewFlags);
  EXPECT_FALSE(fs::exists(folder / "missing.brf"));

  const std::string defaults =
      "browser-path=\nbrowser-service=\nauto-load-browser=No\nbrowser-port=9222\nproxy-server=\n"
      "proxy-port=80\nretries=3\ndisk-buffer-mb=1\nuser-name=\npassword=\nsecure-pages=No\n"
      "page-styles=No\nconnections=4\n";
  EXPECT_EQ(RunCli({"settings"}).out, defaults);
  fs::create_directory(folder / "registry.ini");
  EXPECT_EQ(RunCli({"settings", "retries", "2"}),
            (CliRun{kExitFailed, "",
                    "The settings could not be written to " + (folder / "registry.ini").string() +
                        ".\n"}));
  EXPECT_EQ(RunCli({"settings"}).out, defaults);
  fs::remove(folder / "registry.ini");
  for (const char* change :
       {"browser-path /opt/IEXPLORE.EXE", "auto-load-browser yes", "browser-port 9333",
        "proxy-server proxy.example", "proxy-port 3128", "retries 5", "disk-buffer-mb 250",
        "user-name ann", "password pw", "secure-pages YES", "page-styles yes", "connections 16"})
    EXPECT_EQ(RunCli(Words(std::string("settings ") + change)), CliRun{kExitDone});
  EXPECT_EQ(RunCli({"settings"}).out,
            "browser-path=/opt/IEXPLORE.EXE\nbrowser-service=iexplore\nauto-load-browser=Yes\n"
            "browser-port=9333\nproxy-server=proxy.example\nproxy-port=3128\nretries=5\n"
            "disk-buffer-mb=250\nuser-name=ann\npassword=**\nsecure-pages=Yes\npage-styles=Yes\n"
            "connections=16\n");

  // Bookmarks are listed and imported in file order; a failed import changes nothing.
  const std::string bookmarks = (folder / "bookmarks.html").string();
  WriteFileBytes(bookmarks,
                 "<TITLE>Ann's links</TITLE><DL><p><DT><H3>News</H3><DL><p>"
                 "<DT><A HREF=\"http://www.bbc.co.uk/\">BBC &amp; more</A>"
                 "<DT><H3>Weather</H3><DL><p><DT><A HREF=\"http://weather.example.com/\">"
                 "Forecast\x1B[2J</A></DL><p><DT><A HREF=\"http://www.npr.org/\">NPR</A>"
                 "</DL><p><DT><A HREF=\"http://www.example.com/\">Example</A></DL>");
  EXPECT_EQ(
      RunCli({"bookmarks", bookmarks}),
      (CliRun{kExitDone,
              "Ann's links\n[News]\n  BBC & more  http://www.bbc.co.uk/\n  [Weather]\n"
              "    Forecast\\x1B[2J  http://weather.example.com/\n  NPR  http://www.npr.org/\n"
              "Example  http://www.example.com/\n"}));

  const std::string notBookmarks = "Bookmark File Loading Error";
  EXPECT_TRUE(
      Exits(RunCli({"bookmarks", (folder / "missing.html").string()}), kExitFailed, notBookmarks));
  EXPECT_TRUE(Exits(RunCli({"import-bookmarks", brief, brief}), kExitFailed, notBookmarks));
  EXPECT_EQ(RunCli({"import-bookmarks", bookmarks, brief, "--folder", "NPR"}),
            (CliRun{kExitFailed, "", "There is no folder \"NPR\" in " + bookmarks + ".\n"}));
  EXPECT_EQ(ReadFileBytes(brief), before);

  EXPECT_EQ(RunCli({"import-bookmarks", bookmarks, brief, "--folder", "News"}),
            (CliRun{kExitDone, "Added 3 web entries to " + brief + ".\n"}));
  RunDone("import-bookmarks " + bookmarks + " B", brief);
  std::string entries;
  for (const TWebEntry& entry : ReadBriefs2(brief).Document.Brief.WebList)
    entries += entry.Name + (entry.NameSet ? " " : " unnamed ") + entry.URL + "\n";
  const std::string news =
      "BBC & more http://www.bbc.co.uk/\nForecast\x1B[2J http://weather.example.com/\n"
      "NPR http://www.npr.org/\n";
  EXPECT_EQ(entries, "http://a.example/ unnamed http://a.example/\n" + news + news +
                         "Example http://www.example.com/\n");
}

}  // namespace
}  // namespace gl::test
