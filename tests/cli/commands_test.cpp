#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <functional>
#include <future>
#include <iostream>
#include <iterator>
#include <nlohmann/json.hpp>
#include <ranges>
#include <sstream>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

#include "cli/cli.h"
#include "cli/interrupt.h"
#include "cli/progress_display.h"
#include "cli/terminal_host.h"
#include "cli/terminal_text.h"
#include "core/brief_file.h"
#include "core/brief_format.h"
#include "net/internal/base64.h"
#include "platform/cancellation.h"
#include "support/loopback_server.h"
#include "support/scoped_environment.h"
#include "support/temp_folder.h"

namespace gl::test {
namespace {

namespace fs = std::filesystem;
using cli::kExitDone, cli::kExitFailed, cli::kExitUsage;
using nlohmann::json;
using ::testing::HasSubstr;

struct CliRun {
  int code = -1;
  std::string out, err;
};

CliRun RunCli(const std::vector<std::string>& arguments) {
  std::vector<const char*> argv = {"gleaner"};
  for (const std::string& argument : arguments)
    argv.push_back(argument.c_str());
  std::ostringstream out, err;
  const int code = cli::RunGleaner(static_cast<int>(argv.size()), argv.data(), out, err);
  return {code, out.str(), err.str()};
}

// The words of a command line as arguments: B stands for `brief`, '' for an empty argument.
std::vector<std::string> Words(const std::string& line, const std::string& brief = "") {
  std::istringstream in(line);
  std::vector<std::string> words{std::istream_iterator<std::string>(in), {}};
  for (std::string& word : words)
    word = word == "B" ? brief : word == "''" ? "" : word;
  return words;
}

struct CliFolder : TempFolder {
  ScopedEnvironment home{"GLEANER_LIGHT_HOME", Path().string()};
};

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

class BriefCommandsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    TBriefDocument document{brief_, {}};
    document.Brief.Name = "News\xE9\x1B[31m";
    document.Brief.Comments = "Morning papers.\r\nAnd the\r\xC3\xA9t\xC3\xA9.";
    CreateNewWebEntry(document.Brief, 0).URL = "http://news.example.com/";
    TWebEntry& second = CreateNewWebEntry(document.Brief, 1);
    second.URL = "http://weather.example.com/today/";
    SetTypedName(second, "Weather");
    second.Depth = 3;
    second.Images = true;
    second.UserName = "ann";
    second.Password = std::string("\0\xFF", 2);
    document.Brief.ArchivePaths = {"0\\Brief0.htm", "1\\Brief0.htm"};
    document.Brief.ArchiveStamps = {"3/5/1997  9:07:02 AM", "3/6/1997  1:00:00 PM"};
    ASSERT_EQ(SaveBriefs2(document).Outcome, SaveOutcome::Saved);
  }

  json Shown() const {
    const CliRun run = RunCli({"show", brief_, "--json"});
    EXPECT_EQ(run.code, kExitDone) << run.err;
    return json::parse(run.out);
  }

  CliFolder folder_;
  std::string brief_ = (folder_ / "news.brf").string();
};

// The longest name the brief setup dialog takes: 60 characters, 120 bytes.
TEST_F(BriefCommandsTest, NewWritesABriefAndItsCatalogueButNeverReplacesAFile) {
  const std::string path = (folder_ / "new.brf").string();
  TBriefRecord expected;
  expected.Name.clear();
  for (int i = 0; i < 60; ++i)
    expected.Name += "\xC3\xA9";
  const CliRun run = RunCli({"new", path, "--name", expected.Name});
  EXPECT_EQ(run.code, kExitDone);
  EXPECT_EQ(run.out + run.err, "");
  EXPECT_EQ(ReadFileBytes(path), BriefFileBytes(expected));
  EXPECT_EQ(ReadFileBytes(folder_ / "new.cat"), std::string(2, '\0'));

  const std::string before = ReadFileBytes(brief_);
  const CliRun again = RunCli({"new", brief_});
  EXPECT_EQ(again.code, kExitFailed);
  EXPECT_EQ(again.err,
            "The file " + brief_ + " already exists; gleaner new does not replace it.\n");
  EXPECT_EQ(ReadFileBytes(brief_), before);

  const std::string nowhere = (folder_ / "nowhere" / "x.brf").string();
  EXPECT_EQ(RunCli({"new", nowhere}).err, "Brief File Saving Error: Failed to save Brief File.\n" +
                                              nowhere + ": No such file or directory\n");
}

TEST_F(BriefCommandsTest, ShowPrintsTheBriefSafelyAndAsJsonKeepsEveryFieldAndByte) {
  const CliRun run = RunCli({"show", brief_});
  EXPECT_EQ(run.code, kExitDone);
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(run.out,
            "Brief: News\xE9\\x1B[31m\nState: Active\nComments:\n  Morning papers.\n"
            "  And the\\x0D\xC3\xA9t\xC3\xA9.\nWeb entries: 2\n"
            "  1. http://news.example.com/ (Active)\n     Address: http://news.example.com/\n"
            "     Spider depth: 1  Images: No  Other files: No  Follow external links: No\n"
            "  2. Weather (Active)\n     Address: http://weather.example.com/today/\n"
            "     Spider depth: 3  Images: Yes  Other files: No  Follow external links: No\n"
            "     User name: ann  (password set)\nArchived runs: 2\n  1. 3/6/1997  1:00:00 PM  " +
                (folder_ / "1" / "Brief0.htm").string() + "\n  2. 3/5/1997  9:07:02 AM  " +
                (folder_ / "0" / "Brief0.htm").string() + "\n");
  EXPECT_EQ(nlohmann::ordered_json::parse(RunCli({"show", brief_, "--json"}).out),
            nlohmann::ordered_json::parse(R"({"Name": {"hex": "4e657773e91b5b33316d"},
    "Comments": "Morning papers.\r\nAnd the\r\u00e9t\u00e9.", "ExtraFlag": false, "ExtraCode": "",
    "Active": true, "ExtraStrings": [], "ArchivePaths": ["0\\Brief0.htm", "1\\Brief0.htm"],
    "ArchiveStamps": ["3/5/1997  9:07:02 AM", "3/6/1997  1:00:00 PM"], "Entries": [
      {"Active": true, "Name": "http://news.example.com/", "NameSet": false, "URL":
       "http://news.example.com/", "Depth": 1, "EntryFlag": true, "Images": false, "OtherFiles":
       false, "StayLocal": true, "UserName": "", "Password": "", "ExtraText": ""}, {"Active": true,
       "Name": "Weather", "NameSet": true, "URL": "http://weather.example.com/today/", "Depth": 3,
       "EntryFlag": true, "Images": true, "OtherFiles": false, "StayLocal": true, "UserName":
       "ann", "Password": {"hex": "00ff"}, "ExtraText": ""}]})"));
}

TEST_F(BriefCommandsTest, AddAndEditsChangeOnlyWhatIsGivenAndWarnOfSecureAddresses) {
  const std::pair<const char*, const char*> edits[] = {
      {"add B http://b/ --name Bee --depth 99 --images --other-files --follow-external --user u "
       "--password p --inactive",
       R"({"Active": false, "Name": "Bee", "NameSet": true, "URL": "http://b/", "Depth": 99,
        "EntryFlag": true, "Images": true, "OtherFiles": true, "StayLocal": false,
        "UserName": "u", "Password": "p", "ExtraText": ""})"},
      {"edit-entry B 2 --no-images --other-files", R"({"Images": false, "OtherFiles": true})"},
      // A new address shows as the name only of an entry whose name was never typed.
      {"edit-entry B 1 --url http://moved/",
       R"({"URL": "http://moved/", "Name": "http://moved/"})"},
      {"edit-entry B 2 --url http://w2/", R"({"URL": "http://w2/"})"},
      // An empty name goes back to showing the address.
      {"edit-entry B 2 --name '' --follow-external --inactive --depth 5",
       R"({"Name": "http://w2/", "NameSet": false, "StayLocal": false, "Active": false,
        "Depth": 5})"},
      {"edit-entry B 2 --stay-local --active --images --no-other-files",
       R"({"StayLocal": true, "Active": true, "Images": true, "OtherFiles": false})"},
      {"edit-entry B 1 --name Front --user bob --password pw",
       R"({"Name": "Front", "NameSet": true, "UserName": "bob", "Password": "pw"})"},
      // "--name=" is an empty name; the option after it stays an option.
      {"edit-entry B 1 --name= --inactive",
       R"({"Name": "http://moved/", "NameSet": false, "Active": false})"},
      {"edit B --name Papers --inactive", R"({"Name": "Papers", "Active": false})"},
      {"edit B --comments '' --active", R"({"Comments": "", "Active": true})"},
  };
  for (const auto& [command, patch] : edits) {
    SCOPED_TRACE(command);
    const std::vector<std::string> arguments = Words(command, brief_);
    json expected = Shown();
    json& changed = arguments[0] == "edit"  ? expected
                    : arguments[0] == "add" ? expected["Entries"][expected["Entries"].size()]
                                            : expected["Entries"][std::stoi(arguments[2]) - 1];
    changed.merge_patch(json::parse(patch));
    EXPECT_EQ(RunCli(arguments).code, kExitDone);
    EXPECT_EQ(Shown(), expected);
  }
  EXPECT_THAT(RunCli({"show", brief_}).out, HasSubstr("\nComments: none\n"));

  // A secure address is stored either way; while secure pages are off it comes with one warning.
  const std::string warning = RunCli({"add", brief_, "HTTPS://a.example/"}).err;
  EXPECT_TRUE(warning.starts_with("Secure Pages Are Off: ")) << warning;
  EXPECT_TRUE(warning.ends_with("or with: gleaner settings secure-pages Yes\n")) << warning;
  EXPECT_EQ(RunCli({"edit-entry", brief_, "1", "--url", "https://b.example/"}).err, warning);
  EXPECT_EQ(RunCli({"add", brief_, "http://c.example/"}).err, "");
  EXPECT_EQ(RunCli({"settings", "secure-pages", "Yes"}).code, kExitDone);
  EXPECT_EQ(RunCli({"add", brief_, "https://d.example/"}).err, "");
  EXPECT_EQ(Shown()["Entries"][3]["URL"], "HTTPS://a.example/");
}

TEST_F(BriefCommandsTest, RemoveDeletesTheEntryAtItsIndexAndBadIndexesFail) {
  const std::string before = ReadFileBytes(brief_);
  for (const std::string index : {"0", "3", "-1", "4294967296"}) {
    for (const CliRun& run :
         {RunCli({"edit-entry", brief_, index, "--images"}), RunCli({"remove", brief_, index})}) {
      EXPECT_EQ(run.code, kExitFailed);
      EXPECT_EQ(run.err,
                "There is no web entry " + index + " in " + brief_ + "; it has 2 entries.\n");
    }
  }
  EXPECT_EQ(ReadFileBytes(brief_), before);
  EXPECT_EQ(RunCli({"remove", brief_, "2"}).code, kExitDone);
  EXPECT_EQ(Shown()["Entries"].size(), 1u);
  EXPECT_EQ(Shown()["Entries"][0]["URL"], "http://news.example.com/");
  EXPECT_EQ(RunCli({"remove", brief_, "2"}).err,
            "There is no web entry 2 in " + brief_ + "; it has 1 entry.\n");
}

class FetchCommandTest : public ::testing::Test {
 protected:
  CliFolder home_;
  ScopedTimeScale timeScale_{"0.05"};
  LoopbackServer server_;
};

// The explanation page goes out without the zero byte that ends it in memory.
TEST_F(FetchCommandTest, PrintsTheResultWhereTheLastRedirectLedAndUsesTheSettings) {
  server_.Enqueue(RedirectAnswer(301, "/moved/\x1b[2Jhere.htm"));
  server_.Enqueue(PageAnswer("<html>hi</html>"));
  const CliRun found = RunCli({"fetch", server_.Address("/a.htm")});
  EXPECT_EQ(found.code, 0);
  EXPECT_EQ(found.out, PageAnswer("<html>hi</html>").Bytes);
  EXPECT_EQ(found.err, "page-ok=yes non-text=no external=no address=" + server_.HostPort() +
                           "/moved/\\x1B[2Jhere.htm\n");
  server_.Enqueue(StatusAnswer(404));
  const CliRun missing = RunCli({"fetch", server_.Address("/gone.htm")});
  EXPECT_EQ(missing.code, 1);
  EXPECT_TRUE(missing.out.starts_with("HTTP/1.0 500\r\n\r\n<html><title>Inaccessible Page"));
  EXPECT_TRUE(missing.out.ends_with("</body></html>")) << missing.out;
  EXPECT_EQ(missing.err,
            "page-ok=no non-text=no external=no address=" + server_.Address("/gone.htm") + "\n");

  // Retries and the default credentials come from the settings; --user and --password win.
  for (const char* setting : {"retries 1", "user-name bob", "password pw"})
    ASSERT_EQ(RunCli(Words(std::string("settings ") + setting)).code, 0);
  server_.Enqueue(StatusAnswer(401));
  server_.Enqueue(StatusAnswer(500));  // no second attempt with one retry
  EXPECT_EQ(RunCli({"fetch", server_.Address("/private.htm")}).code, 1);
  server_.Enqueue(StatusAnswer(401));
  server_.Enqueue(PageAnswer("members"));
  EXPECT_EQ(RunCli(Words("fetch B --user ann --password secret", server_.Address("/a"))).code, 0);
  ASSERT_EQ(server_.RequestCount(), 7u);
  EXPECT_EQ(server_.Requests()[4].Header("Authorization"), "Basic " + EncodeBase64("bob:pw"));
  EXPECT_EQ(server_.Requests()[6].Header("Authorization"), "Basic " + EncodeBase64("ann:secret"));
}

TEST_F(FetchCommandTest, OptionsDecideWhatIsAccepted) {
  const std::tuple<std::string, const char*, int, const char*> rows[] = {
      {"image/gif", "fetch B", 1, "page-ok=no non-text=yes "},
      {"image/gif", "fetch B --images", 0, "page-ok=yes non-text=yes "},
      {"application/zip", "fetch B --images", 1, "page-ok=no non-text=yes "},
      {"application/zip", "fetch B --other-files", 0, "page-ok=yes non-text=yes "},
      {"", "fetch B --stay-local --base http://www.example.com/", 1,
       "page-ok=no non-text=no external=yes "},
  };
  for (const auto& [type, command, code, err] : rows) {
    SCOPED_TRACE(command);
    if (!type.empty()) server_.Enqueue(PageAnswer("GIF89a", type));
    const CliRun run = RunCli(Words(command, server_.Address("/a")));
    EXPECT_EQ(run.code, code);
    EXPECT_TRUE(run.err.starts_with(err)) << run.err;
  }
  EXPECT_EQ(server_.RequestCount(), 4u);
}

// Without the guard the signal would end the tests.
TEST_F(FetchCommandTest, CtrlCStopsAWaitingFetch) {
  const ScopedTimeScale stretched("100");
  LoopbackServer server([](const Request&) {
    raise(SIGINT);
    return SilentAnswer();
  });
  const CliRun run = RunCli({"fetch", server.Address("/a.htm")});
  EXPECT_EQ(run.code, 1);
  EXPECT_THAT(run.out, HasSubstr("<title>Gleaner-Light Web page skipped</title>"));
  EXPECT_FALSE(StopRequested());
}

Answer ServeSmallSite(const Request& request) {
  if (request.Target() == "/index.htm")
    return PageAnswer("<html><img src=\"logo.gif\"><a href=\"a.htm\">A</a></html>");
  if (request.Target() == "/a.htm") return PageAnswer("<html>A</html>");
  if (request.Target() == "/logo.gif") return PageAnswer("GIF89a;", "image/gif");
  return StatusAnswer(404);
}

// The brief is named from the working folder; every path the commands print is absolute.
class GenerateCommandTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(briefs_);
    fs::current_path(briefs_);
    ASSERT_EQ(RunCli({"new", brief_, "--name", "Test news"}).code, kExitDone);
    ASSERT_EQ(
        RunCli(Words("add B " + server_.Address("/index.htm") + " --name Home --depth 2 --images",
                     brief_))
            .code,
        kExitDone);
  }
  void TearDown() override { fs::current_path(workingFolder_); }

  TBriefRecord Reload() const { return ReadBriefs2(brief_).Document.Brief; }
  std::string Summary(const std::string& run) const {
    return (briefs_ / run / "Brief0.htm").string();
  }

  CliFolder folder_;
  std::atomic<int> requests_{0};
  std::atomic<int> interruptAtRequest_{0};  // 0: never
  std::atomic<int> signal_{SIGINT};
  LoopbackServer server_{[this](const Request& request) {
    if (++requests_ == interruptAtRequest_) kill(getpid(), signal_);
    return ServeSmallSite(request);
  }};
  fs::path briefs_ = folder_ / "briefs";
  fs::path workingFolder_ = fs::current_path();
  std::string brief_ = "news.brf";
};

// Runs list newest first by row; a row that is not there fails and changes nothing.
TEST_F(GenerateCommandTest, RunsEndWithTheSummaryPathListNewestFirstAndDeleteRemovesOne) {
  const CliRun none = RunCli({"archives", brief_});
  EXPECT_EQ(none.code, kExitDone);
  EXPECT_EQ(none.out + "|" + none.err, "|The brief has no archived runs.\n");
  const CliRun run = RunCli({"generate", brief_});
  ASSERT_EQ(run.code, kExitDone) << run.err;
  EXPECT_EQ(run.out, "Brief: Test news\nEntry: Home\n  [1 of 2] " + server_.Address("/index.htm") +
                         "\n  [2 of 2] " + server_.Address("/a.htm") +
                         "\nLoaded: 2 pages, 1 images and files, 0 KB\n" + Summary("0") + "\n");
  EXPECT_TRUE(fs::is_regular_file(Summary("0")));
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(server_.RequestCount(), 3u);
  EXPECT_EQ(RunCli({"generate", "--quiet", brief_}).out, Summary("1") + "\n");
  const std::vector<std::string> stamps = Reload().ArchiveStamps;
  ASSERT_EQ(Reload().ArchivePaths, (std::vector<std::string>{"0\\Brief0.htm", "1\\Brief0.htm"}));
  EXPECT_EQ(RunCli({"archives", brief_}).out, "1\t" + stamps[1] + "\t" + Summary("1") + "\n2\t" +
                                                  stamps[0] + "\t" + Summary("0") + "\n");
  for (const std::string row : {"0", "3", "-1"}) {
    const CliRun bad = RunCli({"delete-archive", brief_, row});
    EXPECT_EQ(bad.code, kExitFailed);
    EXPECT_EQ(bad.err, "There is no archived run " + row +
                           "; the brief has 2 archived runs (row 1 is the newest).\n");
  }
  EXPECT_EQ(Reload().ArchiveStamps, stamps);
  const CliRun deleted = RunCli({"delete-archive", brief_, "1"});
  ASSERT_EQ(deleted.code, kExitDone) << deleted.err;
  EXPECT_FALSE(fs::exists(briefs_ / "1"));
  EXPECT_TRUE(fs::is_regular_file(Summary("0")));
  EXPECT_EQ(Reload().ArchivePaths, std::vector<std::string>{"0\\Brief0.htm"});
  EXPECT_EQ(Reload().ArchiveStamps, std::vector<std::string>{stamps[0]});
  EXPECT_EQ(RunCli({"delete-archive", brief_, "2"}).err,
            "There is no archived run 2; the brief has 1 archived run (row 1 is the newest).\n");
}

TEST_F(GenerateCommandTest, CtrlCTermAndHangUpAbortTheRunRecordItAndPutTheHandlerBack) {
  const int signals[] = {SIGINT, SIGTERM, SIGHUP};
  for (std::size_t run = 0; run < std::size(signals); ++run) {
    SCOPED_TRACE(strsignal(signals[run]));
    signal_ = signals[run];
    interruptAtRequest_ = requests_ + 2;
    struct sigaction before {
    }, now{};  // SIGINT starts ignored in a background job
    sigaction(signals[run], nullptr, &before);
    const CliRun generated = RunCli({"generate", "-q", brief_});
    EXPECT_EQ(generated.code, cli::kExitAborted) << generated.err;
    EXPECT_EQ(generated.out, Summary(std::to_string(run)) + "\n");
    EXPECT_EQ(generated.err, "The run was stopped; it is recorded as far as it went.\n");
    EXPECT_TRUE(ReadFileBytes(Summary(std::to_string(run))).ends_with("</html>\r\n"));
    EXPECT_EQ(Reload().ArchivePaths.size(), run + 1);
    sigaction(signals[run], nullptr, &now);
    EXPECT_EQ(now.sa_handler, before.sa_handler);  // the handler was put back
  }
  EXPECT_EQ(server_.RequestCount(), 6u);  // each run stopped after its second request
}

// The wait status of a child process that runs `body`.
int InChild(const std::function<int()>& body) {
  const pid_t child = fork();
  if (child == 0) _exit(body());
  int status = 0;
  EXPECT_EQ(waitpid(child, &status, 0), child);
  return status;
}

TEST(StopOnInterruptTest, FirstStopSignalAsksForStopPipeIsIgnoredSecondEndsTheProgram) {
  const int status = InChild([] {
    cli::StopOnInterrupt guard;
    raise(SIGTERM);
    raise(SIGPIPE);
    if (!StopRequested()) return 2;
    raise(SIGINT);
    return 0;
  });
  ASSERT_TRUE(WIFSIGNALED(status)) << "exit status " << WEXITSTATUS(status);
  EXPECT_EQ(WTERMSIG(status), SIGINT);
}

TEST_F(GenerateCommandTest, AClosedOutputStopsTheOutputNotTheRun) {
  int pipeEnds[2];
  ASSERT_EQ(pipe(pipeEnds), 0);
  close(pipeEnds[0]);
  const int status = InChild([&] {
    dup2(pipeEnds[1], STDOUT_FILENO);
    const char* argv[] = {"gleaner", "generate", brief_.c_str()};
    return cli::RunGleaner(3, argv, std::cout, std::cerr);
  });
  close(pipeEnds[1]);
  ASSERT_TRUE(WIFEXITED(status)) << "ended by signal " << WTERMSIG(status);
  EXPECT_EQ(WEXITSTATUS(status), kExitDone);
  EXPECT_EQ(server_.RequestCount(), 3u);
  EXPECT_EQ(Reload().ArchivePaths.size(), 1u);
}

TEST_F(GenerateCommandTest, AFullDiskEndsTheRunWithTheDiskError) {
  CliRun run;
  {
    const ScopedFileSizeLimit limit(600);
    run = RunCli({"generate", "-q", brief_});
  }
  EXPECT_EQ(run.code, kExitFailed);
  EXPECT_TRUE(run.err.starts_with("Disk Error: ")) << run.err;
  EXPECT_TRUE(Reload().ArchivePaths.empty());
}

// No browser answers on the debugging port, so the program is started (a fifo waits for it).
TEST_F(GenerateCommandTest, OpenStartsTheBrowserWithTheSummaryAddress) {
  const auto open = [&] { return RunCli({"generate", "-q", "--open", brief_}); };
  const CliRun unset = open();
  EXPECT_EQ(unset.code, kExitDone);
  EXPECT_THAT(unset.err, HasSubstr("No browser is set"));
  ASSERT_EQ(RunCli(Words("settings browser-port " + std::to_string(ClosedLoopbackPort()))).code,
            kExitDone);
  ASSERT_EQ(RunCli(Words("settings browser-path /nonexistent/browser")).code, kExitDone);
  const CliRun missing = open();
  EXPECT_EQ(missing.code, kExitDone);
  EXPECT_TRUE(missing.err.starts_with("Cannot start /nonexistent/browser: ")) << missing.err;
  const fs::path fifo = folder_ / "browser-report", browser = folder_ / "browser.sh";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  WriteFileBytes(browser, "#!/bin/sh\nprintf '%s' \"$1\" > '" + fifo.string() + "'\n");
  fs::permissions(browser, fs::perms::owner_all);
  ASSERT_EQ(RunCli({"settings", "browser-path", browser.string()}).code, kExitDone);
  ASSERT_EQ(open().code, kExitDone);
  EXPECT_EQ(ReadFileBytes(fifo), "file://" + Summary("2"));
  EXPECT_EQ(Reload().ArchivePaths.size(), 3u);
}

}  // namespace
}  // namespace gl::test

namespace gl::cli {
namespace {

TEST(TerminalTextTest, ControlsBecomeEscapesAndEveryOtherByteStays) {
  const std::pair<std::string, std::string> rows[] = {
      {"plain\ttab", "plain\ttab"},
      {"\x1b[2J\x07\x7f", "\\x1B[2J\\x07\\x7F"},
      {"line\r\n", "line\\x0D\\x0A"},
      {"csi\xc2\x9b", "csi\\xC2\\x9B"},  // U+009B, the one-character CSI, in UTF-8
      {"raw\x9b", "raw\\x9B"},           // the same as one byte of an 8-bit code page
      {"caf\xc3\xa9 \xe9t\xe9 \xc2\xa0", "caf\xc3\xa9 \xe9t\xe9 \xc2\xa0"},  // letters, nbsp
      {"cut\xe6\x97", "cut\xe6\\x97"},  // a sequence that ends early leaves a lone 0x97
  };
  for (const auto& [text, shown] : rows) {
    SCOPED_TRACE(text);
    EXPECT_EQ(TerminalText(text), shown);
  }
}

TEST(FitTextTest, OneLineWithinTheWidthCutBetweenWholeCharacters) {
  const std::tuple<std::string, std::size_t, std::string> rows[] = {
      {"  \t\r\n lead", 10, "lead"},
      {"first\tsecond", 20, "first"},
      {"abcdefghij", 9, "abcdef..."},
      {"abcdefghij", 2, ".."},
      {"bell\x07", 8, "bell\\x07"},
      {"bell\x07", 7, "bell..."},
      // Latin-1 bytes and UTF-8 characters take a column each, wide ones two.
      {"\xe9t\xe9", 3, "\xe9t\xe9"},
      {"caf\xc3\xa9", 4, "caf\xc3\xa9"},
      {"\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9", 4, "\xc3\xa9..."},
      {"\xe6\x97\xa5\xe6\x9c\xac\xe8\xaa\x9e\xe3\x83\x86\xe3\x82\xad", 8,
       "\xe6\x97\xa5\xe6\x9c\xac..."},
  };
  for (const auto& [text, columns, fitted] : rows) {
    SCOPED_TRACE("\"" + text + "\" in " + std::to_string(columns));
    EXPECT_EQ(FitText(text, columns), fitted);
  }
}

// A line as wide as the terminal would wrap and break the redraw in place.
TEST(ProgressDisplayTest, NoLineReachesTheLastColumnTheBarShrinksAndPercentIsHeldWithin0To100) {
  ProgressState state;
  state.BriefName = state.CurrAddr = std::string(300, 'a');
  state.CurrDepth = "2 of 3";
  state.Percent = 40;
  state.Status = " Receiving data";
  for (int columns = 1; columns <= 160; ++columns) {
    SCOPED_TRACE(columns);
    const std::vector<std::string> lines = RenderProgressLines(state, columns);
    ASSERT_EQ(lines.size(), 5u);
    for (const std::string& line : lines)
      EXPECT_LE(line.size(), static_cast<std::size_t>(std::max(columns - 1, 1))) << line;
  }
  state.Status.clear();
  state.Percent = 250;
  EXPECT_EQ(RenderProgressLines(state, 80)[4], "[" + std::string(30, '#') + "] 100%");
  state.Percent = -7;
  EXPECT_EQ(RenderProgressLines(state, 7)[4], "[-] 0%");
  EXPECT_EQ(RenderProgressLines(state, 5)[4], "0%");
}

// A skipped entry reopens the window and names the brief again, which is not written twice.
TEST(TerminalHostTest, PlainModeWritesOneCleanLinePerEntryAndPage) {
  std::ostringstream out, err;
  TerminalHost host(out, err, DisplayMode::Lines);
  for (const char* entry : {"\x1b]0;owned\x07 Front\r\nsecond line", "Next"}) {
    host.UpdateItem(ProgressItem::BriefName, "Morning news");
    host.OpenProgressWindow();
    host.UpdateItem(ProgressItem::CurrEntry, entry);
    host.UpdateItem(ProgressItem::CurrDepth, "1 of 2");
    host.UpdateItem(ProgressItem::CurrAddr, "http://127.0.0.1/index.htm");
    host.CloseProgressWindow();
  }
  EXPECT_EQ(out.str(),
            "Brief: Morning news\nEntry: \\x1B]0;owned\\x07 Front\n  [1 of 2] "
            "http://127.0.0.1/index.htm\n"
            "Entry: Next\n  [1 of 2] http://127.0.0.1/index.htm\n");
  EXPECT_EQ(err.str(), "");
}

using Clock = TerminalHost::Clock;

TEST(LiveTerminalHostTest, DrawsTheBlockOnceOpenRedrawsInPlaceOnChangeFollowsTheWidthAndErrors) {
  std::ostringstream out, err;
  int columns = 60;
  std::atomic<int> seconds{0};  // every read moves the clock on, so every step redraws
  TerminalHost host{out, err, DisplayMode::Live, [&] { return columns; },
                    [&] { return Clock::time_point(std::chrono::seconds(++seconds)); }};
  const auto take = [&] {
    std::string text = out.str();
    out.str({});
    return text;
  };
  host.UpdateItem(ProgressItem::BriefName, "News");
  host.UpdateItem(ProgressItem::CurrEntry, "Front page");
  host.UpdateItem(ProgressItem::CurrDepth, "2 of 3");
  host.UpdateItem(ProgressItem::ImagesLoaded, "4");
  host.UpdateItem(ProgressItem::BytesLoaded, "345");
  host.SetStatusText(" Receiving data");
  host.SetProgress(40);
  EXPECT_EQ(take(), "");  // no window yet

  host.OpenProgressWindow();
  const std::string block =
      "\rBrief: News\x1b[K\n\rEntry: Front page\x1b[K\n\rPage:  \x1b[K\n"
      "\rDepth 2 of 3   Pages 1   Images 4   KB 345\x1b[K\n"
      "\r[############------------------] 40%  Receiving data\x1b[K\n";
  EXPECT_EQ(take(), std::string(block).replace(block.find("Pages 1"), 7, "Pages 0"));
  host.UpdateItem(ProgressItem::PagesLoaded, "1");
  EXPECT_EQ(take(), "\x1b[5A" + block);
  host.UpdateItem(ProgressItem::PagesLoaded, "1");
  EXPECT_EQ(take(), "");  // nothing changed, nothing drawn

  host.CloseProgressWindow();
  host.SetProgress(20);
  EXPECT_EQ(take(), "");
  host.OpenProgressWindow();
  EXPECT_TRUE(take().starts_with("\x1b[5A"));

  // The width is read on every redraw.
  host.UpdateItem(ProgressItem::CurrAddr, "http://127.0.0.1/" + std::string(100, 'p'));
  take();
  columns = 30;
  host.SetProgress(10);
  EXPECT_NE(take().find("\x1b[5A\rBrief: News\x1b[K\n\rEntry: Front page\x1b[K\n\rPage:  "
                        "http://127.0.0.1/pp...\x1b[K\n"),
            std::string::npos);

  // An error message stands below the block, so the next redraw starts a fresh block.
  host.ShowError("Disk Error", "Your disk appears to be full.");
  host.UpdateItem(ProgressItem::PagesLoaded, "3");
  const std::string redraw = take();
  EXPECT_EQ(redraw.find("\x1b[5A"), std::string::npos);
  EXPECT_NE(redraw.find("Pages 3"), std::string::npos);
  EXPECT_EQ(err.str(), "Disk Error: Your disk appears to be full.\n");
}

// A change that had to wait is drawn once the interval has passed, even while the run is silent.
TEST(ThrottledTerminalHostTest, RedrawsAtMostOnceAnIntervalAndEndsWithTheLoadedLine) {
  std::ostringstream out, err;
  const auto blocksDrawn = [](const std::string& output) {
    return std::ranges::distance(output | std::views::split(std::string_view("\rBrief: "))) - 1;
  };
  std::atomic<Clock::rep> now{0};
  std::promise<void> drawnLate;
  const std::thread::id runThread = std::this_thread::get_id();
  {
    TerminalHost host(
        out, err, DisplayMode::Live,
        [&] {
          if (std::this_thread::get_id() != runThread) drawnLate.set_value();
          return 80;
        },
        [&now] { return Clock::time_point(Clock::duration(now.load())); });
    host.OpenProgressWindow();
    for (int step = 1; step <= 1000; ++step)
      host.SetProgress(step % 100);
    host.SetStatusText(" Connecting");
    EXPECT_EQ(blocksDrawn(out.str()), 1u);  // the clock stands still
    now += std::chrono::duration_cast<Clock::duration>(TerminalHost::kRedrawInterval).count();
    ASSERT_EQ(drawnLate.get_future().wait_for(std::chrono::seconds(30)), std::future_status::ready);
    host.UpdateItem(ProgressItem::PagesLoaded, "7");
    host.CloseProgressWindow();
    host.EndRun();
  }
  const std::string output = out.str();
  EXPECT_EQ(blocksDrawn(output), 3u);
  EXPECT_NE(output.find("0%  Connecting\x1b[K\n\x1b[5A"), std::string::npos) << output;
  EXPECT_TRUE(
      output.ends_with("Pages 7   Images 0   KB 0\x1b[K\n\r[" + std::string(30, '-') +
                       "] 0%  Connecting\x1b[K\nLoaded: 7 pages, 0 images and files, 0 KB\n"))
      << output;
}

}  // namespace
}  // namespace gl::cli
