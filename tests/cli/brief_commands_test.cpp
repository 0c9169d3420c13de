#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <string>

#include "cli/cli.h"
#include "cli_test_support.h"
#include "core/brief_file.h"
#include "core/brief_format.h"

namespace gl {
namespace {

using test::CliFolder;
using test::ReadFileBytes;
using test::RunCli;
using test::WriteFileBytes;

constexpr const char* kLoadingError =
    "Brief File Loading Error: This file is either corrupt or is not a Brief file. Gleaner-Light "
    "cannot load it.\n";

class BriefCommandsTest : public ::testing::Test {
 protected:
  std::string BriefPath() const { return (folder_ / "news.brf").string(); }

  // A brief file with two entries and an archived run, written directly.
  void WriteSample() {
    TBriefDocument document{BriefPath(), {}};
    document.Brief.Name = "News";
    document.Brief.Comments = "Morning papers.\r\nAnd the weather.";
    TWebEntry& first = CreateNewWebEntry(document.Brief, 0);
    first.URL = "http://news.example.com/";
    UpdateShownName(first);
    TWebEntry& second = CreateNewWebEntry(document.Brief, 1);
    second.URL = "http://weather.example.com/today/";
    second.Name = "Weather";
    second.NameSet = true;
    second.Depth = 3;
    second.Images = true;
    second.UserName = "ann";
    second.Password = "secret";
    document.Brief.ArchivePaths = {"0\\Brief0.htm"};
    document.Brief.ArchiveStamps = {"3/5/1997  9:07:02 AM"};
    ASSERT_EQ(SaveBriefs2(document).Outcome, SaveOutcome::Saved);
  }

  TBriefRecord Reload() const {
    LoadResult result = ReadBriefs2(BriefPath());
    EXPECT_TRUE(result.Loaded);
    return result.Document.Brief;
  }

  CliFolder folder_;
};

TEST_F(BriefCommandsTest, NewWritesADefaultBriefAndItsCatalogue) {
  const auto run = RunCli({"new", BriefPath()});
  EXPECT_EQ(run.code, cli::kExitDone);
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(ReadFileBytes(BriefPath()), BriefFileBytes(TBriefRecord{}));
  EXPECT_EQ(ReadFileBytes(folder_ / "news.cat"), std::string(2, '\0'));

  ASSERT_EQ(RunCli({"new", (folder_ / "named.brf").string(), "--name", "Sports"}).code, 0);
  EXPECT_EQ(ReadBriefs2(folder_ / "named.brf").Document.Brief.Name, "Sports");
}

TEST_F(BriefCommandsTest, NewNeverReplacesAFile) {
  WriteFileBytes(BriefPath(), "precious");
  const auto run = RunCli({"new", BriefPath(), "--name", "Other"});
  EXPECT_EQ(run.code, cli::kExitFailed);
  EXPECT_EQ(run.err,
            "The file " + BriefPath() + " already exists; gleaner new does not replace it.\n");
  EXPECT_EQ(ReadFileBytes(BriefPath()), "precious");
  EXPECT_FALSE(std::filesystem::exists(folder_ / "news.cat"));
}

TEST_F(BriefCommandsTest, NewIntoAMissingFolderFailsWithTheSavingError) {
  const auto run = RunCli({"new", (folder_ / "nowhere" / "x.brf").string()});
  EXPECT_EQ(run.code, cli::kExitFailed);
  EXPECT_EQ(run.err, "Brief File Saving Error: Failed to save Brief File.\n");
}

TEST_F(BriefCommandsTest, BriefNamesKeepToSixtyCharacters) {
  const std::string sixtyLetters(60, 'a');
  std::string sixtyAccented;
  for (int i = 0; i < 60; ++i)
    sixtyAccented += "\xC3\xA9";
  EXPECT_EQ(RunCli({"new", BriefPath(), "--name", sixtyAccented}).code, cli::kExitDone);
  const auto tooLong = RunCli({"edit", BriefPath(), "--name", sixtyLetters + "b"});
  EXPECT_EQ(tooLong.code, cli::kExitUsage);
  EXPECT_THAT(tooLong.err, ::testing::HasSubstr("A brief name holds at most 60 characters."));
  EXPECT_EQ(Reload().Name, sixtyAccented);
  EXPECT_EQ(RunCli({"new", (folder_ / "b.brf").string(), "--name", sixtyLetters + "b"}).code,
            cli::kExitUsage);
  EXPECT_FALSE(std::filesystem::exists(folder_ / "b.brf"));
}

TEST_F(BriefCommandsTest, ShowPrintsTheBrief) {
  WriteSample();
  const auto run = RunCli({"show", BriefPath()});
  EXPECT_EQ(run.code, cli::kExitDone);
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(run.out,
            "Brief: News\n"
            "State: Active\n"
            "Comments:\n"
            "  Morning papers.\n"
            "  And the weather.\n"
            "Web entries: 2\n"
            "  1. http://news.example.com/ (Active)\n"
            "     Address: http://news.example.com/\n"
            "     Spider depth: 1  Images: No  Other files: No  Follow external links: No\n"
            "  2. Weather (Active)\n"
            "     Address: http://weather.example.com/today/\n"
            "     Spider depth: 3  Images: Yes  Other files: No  Follow external links: No\n"
            "     User name: ann  (password set)\n"
            "Archived runs: 1\n"
            "  1. 3/5/1997  9:07:02 AM  0\\Brief0.htm\n");
}

TEST_F(BriefCommandsTest, ShowKeepsControlBytesAwayFromTheTerminal) {
  TBriefDocument document{BriefPath(), {}};
  document.Brief.Name = "Red\x1B[31m\x07\x7F\tend";
  document.Brief.Comments = "one\r\ntwo\rthree";
  ASSERT_EQ(SaveBriefs2(document).Outcome, SaveOutcome::Saved);
  const auto run = RunCli({"show", BriefPath()});
  EXPECT_EQ(run.code, cli::kExitDone);
  EXPECT_EQ(run.out,
            "Brief: Red\\x1B[31m\\x07\\x7F\tend\n"
            "State: Active\n"
            "Comments:\n"
            "  one\n"
            "  two\\x0Dthree\n"
            "Web entries: 0\n"
            "Archived runs: 0\n");
}

TEST_F(BriefCommandsTest, ShowJsonKeepsEveryByte) {
  TBriefDocument document{BriefPath(), {}};
  document.Brief.Name = "caf\xE9";  // Latin-1, not UTF-8
  document.Brief.ExtraStrings = {"x"};
  TWebEntry& entry = CreateNewWebEntry(document.Brief, 0);
  entry.URL = "http://\xC3\xA9t\xC3\xA9.example/";  // UTF-8
  entry.Password = std::string("\0\xFF", 2);
  ASSERT_EQ(SaveBriefs2(document).Outcome, SaveOutcome::Saved);

  const auto run = RunCli({"show", BriefPath(), "--json"});
  EXPECT_EQ(run.code, cli::kExitDone);
  EXPECT_EQ(run.out,
            "{\n"
            "  \"Name\": {\n    \"hex\": \"636166e9\"\n  },\n"
            "  \"Comments\": \"\",\n"
            "  \"ExtraFlag\": false,\n"
            "  \"ExtraCode\": \"\",\n"
            "  \"Active\": true,\n"
            "  \"ExtraStrings\": [\n    \"x\"\n  ],\n"
            "  \"ArchivePaths\": [],\n"
            "  \"ArchiveStamps\": [],\n"
            "  \"Entries\": [\n"
            "    {\n"
            "      \"Active\": true,\n"
            "      \"Name\": \"http://\xC3\xA9t\xC3\xA9.example/\",\n"
            "      \"NameSet\": false,\n"
            "      \"URL\": \"http://\xC3\xA9t\xC3\xA9.example/\",\n"
            "      \"Depth\": 1,\n"
            "      \"EntryFlag\": true,\n"
            "      \"Images\": false,\n"
            "      \"OtherFiles\": false,\n"
            "      \"StayLocal\": true,\n"
            "      \"UserName\": \"\",\n"
            "      \"Password\": {\n        \"hex\": \"00ff\"\n      },\n"
            "      \"ExtraText\": \"\"\n"
            "    }\n"
            "  ]\n"
            "}\n");
}

TEST_F(BriefCommandsTest, ShowJsonHasTheArchivedRuns) {
  WriteSample();
  const auto run = RunCli({"show", BriefPath(), "--json"});
  ASSERT_EQ(run.code, cli::kExitDone);
  const auto json = nlohmann::json::parse(run.out);
  EXPECT_EQ(json["ArchivePaths"], nlohmann::json::array({"0\\Brief0.htm"}));
  EXPECT_EQ(json["ArchiveStamps"], nlohmann::json::array({"3/5/1997  9:07:02 AM"}));
  EXPECT_EQ(json["Comments"], "Morning papers.\r\nAnd the weather.");
  ASSERT_EQ(json["Entries"].size(), 2u);
  EXPECT_EQ(json["Entries"][1]["Name"], "Weather");
  EXPECT_EQ(json["Entries"][1]["Password"], "secret");
}

TEST_F(BriefCommandsTest, EveryCommandReportsAnUnloadableBrief) {
  WriteFileBytes(folder_ / "corrupt.brf", "GLBF-ORX\x01\x00");
  std::string fewFlags = "GLBF-ORX";
  fewFlags += std::string("\x01\x00\x00\x00\x01\x00\x01\x00", 8);
  WriteFileBytes(folder_ / "few.brf", fewFlags);
  for (const std::string file : {"corrupt.brf", "few.brf", "missing.brf"}) {
    const std::string path = (folder_ / file).string();
    for (const auto& run : {RunCli({"show", path}), RunCli({"show", path, "--json"}),
                            RunCli({"add", path, "http://a/"}), RunCli({"edit-entry", path, "1"}),
                            RunCli({"remove", path, "1"}), RunCli({"edit", path, "--inactive"})}) {
      SCOPED_TRACE(file);
      EXPECT_EQ(run.code, cli::kExitFailed);
      EXPECT_EQ(run.out, "");
      EXPECT_EQ(run.err, kLoadingError);
    }
  }
  EXPECT_EQ(ReadFileBytes(folder_ / "few.brf"), fewFlags);
  EXPECT_FALSE(std::filesystem::exists(folder_ / "missing.brf"));
}

TEST_F(BriefCommandsTest, AddAppendsAnEntry) {
  ASSERT_EQ(RunCli({"new", BriefPath()}).code, 0);
  EXPECT_EQ(RunCli({"add", BriefPath(), "http://a.example/"}).code, cli::kExitDone);
  EXPECT_EQ(
      RunCli({"add", BriefPath(), "http://b.example/", "--name", "Bee", "--depth", "99", "--images",
              "--other-files", "--follow-external", "--user", "u", "--password", "p", "--inactive"})
          .code,
      cli::kExitDone);
  const TBriefRecord brief = Reload();
  ASSERT_EQ(brief.WebList.size(), 2u);
  const TWebEntry& plain = brief.WebList[0];
  EXPECT_EQ(plain.Name, "http://a.example/");
  EXPECT_FALSE(plain.NameSet);
  EXPECT_TRUE(plain.Active);
  EXPECT_EQ(plain.Depth, 1);
  EXPECT_TRUE(plain.StayLocal);
  EXPECT_FALSE(plain.Images);
  const TWebEntry& full = brief.WebList[1];
  EXPECT_EQ(full.Name, "Bee");
  EXPECT_TRUE(full.NameSet);
  EXPECT_EQ(full.URL, "http://b.example/");
  EXPECT_EQ(full.Depth, 99);
  EXPECT_TRUE(full.Images);
  EXPECT_TRUE(full.OtherFiles);
  EXPECT_FALSE(full.StayLocal);
  EXPECT_EQ(full.UserName, "u");
  EXPECT_EQ(full.Password, "p");
  EXPECT_FALSE(full.Active);
}

TEST_F(BriefCommandsTest, UsageErrorsChangeNothing) {
  WriteSample();
  const std::string before = ReadFileBytes(BriefPath());
  const std::initializer_list<std::string> usages[] = {
      {"add", BriefPath(), "http://a/", "--depth", "0"},
      {"add", BriefPath(), "http://a/", "--depth", "100"},
      {"add", BriefPath(), "http://a/", "--depth", "two"},
      {"add", BriefPath()},
      {"add", BriefPath(), "http://a/", "--no-images"},
      {"edit-entry", BriefPath(), "1", "--images", "--no-images"},
      {"edit-entry", BriefPath(), "1", "--active", "--inactive"},
      {"edit-entry", BriefPath(), "1.5"},
      {"edit-entry", BriefPath()},
      {"edit", BriefPath(), "--active", "--inactive"},
      {"remove", BriefPath(), "one"},
      {"show"},
      {"frobnicate"},
      {},
  };
  for (const auto& arguments : usages) {
    const auto run = RunCli(arguments);
    SCOPED_TRACE(run.err);
    EXPECT_EQ(run.code, cli::kExitUsage);
    EXPECT_NE(run.err, "");
  }
  EXPECT_EQ(ReadFileBytes(BriefPath()), before);
}

TEST_F(BriefCommandsTest, EditEntryChangesOnlyWhatIsGiven) {
  WriteSample();
  ASSERT_EQ(RunCli({"edit-entry", BriefPath(), "2", "--no-images", "--other-files"}).code, 0);
  TBriefRecord brief = Reload();
  EXPECT_FALSE(brief.WebList[1].Images);
  EXPECT_TRUE(brief.WebList[1].OtherFiles);
  EXPECT_EQ(brief.WebList[1].Name, "Weather");
  EXPECT_EQ(brief.WebList[1].Depth, 3);
  EXPECT_EQ(brief.WebList[1].UserName, "ann");
  EXPECT_EQ(brief.WebList[1].Password, "secret");
  EXPECT_EQ(brief.ArchivePaths, std::vector<std::string>{"0\\Brief0.htm"});

  // A new address shows as the name of an entry whose name was never typed, not of a named one.
  ASSERT_EQ(RunCli({"edit-entry", BriefPath(), "1", "--url", "http://moved.example/"}).code, 0);
  ASSERT_EQ(RunCli({"edit-entry", BriefPath(), "2", "--url", "http://w2.example/"}).code, 0);
  brief = Reload();
  EXPECT_EQ(brief.WebList[0].Name, "http://moved.example/");
  EXPECT_EQ(brief.WebList[1].Name, "Weather");

  // An empty name goes back to showing the address; the flags' negations apply.
  ASSERT_EQ(RunCli({"edit-entry", BriefPath(), "2", "--name", "", "--follow-external", "--inactive",
                    "--depth", "5"})
                .code,
            0);
  brief = Reload();
  EXPECT_EQ(brief.WebList[1].Name, "http://w2.example/");
  EXPECT_FALSE(brief.WebList[1].NameSet);
  EXPECT_FALSE(brief.WebList[1].StayLocal);
  EXPECT_FALSE(brief.WebList[1].Active);
  EXPECT_EQ(brief.WebList[1].Depth, 5);
  ASSERT_EQ(RunCli({"edit-entry", BriefPath(), "2", "--stay-local", "--active"}).code, 0);
  brief = Reload();
  EXPECT_TRUE(brief.WebList[1].StayLocal);
  EXPECT_TRUE(brief.WebList[1].Active);
}

TEST_F(BriefCommandsTest, BadIndexesFailWithAMessage) {
  WriteSample();
  const std::string before = ReadFileBytes(BriefPath());
  for (const char* index : {"0", "3", "-1", "4294967296"}) {
    SCOPED_TRACE(index);
    for (const auto& run : {RunCli({"edit-entry", BriefPath(), index, "--images"}),
                            RunCli({"remove", BriefPath(), index})}) {
      EXPECT_EQ(run.code, cli::kExitFailed);
      EXPECT_EQ(run.err, "There is no web entry " + std::string(index) + " in " + BriefPath() +
                             "; it has 2 entries.\n");
    }
  }
  EXPECT_EQ(ReadFileBytes(BriefPath()), before);
}

TEST_F(BriefCommandsTest, RemoveDeletesOneEntry) {
  WriteSample();
  ASSERT_EQ(RunCli({"add", BriefPath(), "http://third.example/"}).code, 0);
  EXPECT_EQ(RunCli({"remove", BriefPath(), "2"}).code, cli::kExitDone);
  const TBriefRecord brief = Reload();
  ASSERT_EQ(brief.WebList.size(), 2u);
  EXPECT_EQ(brief.WebList[0].URL, "http://news.example.com/");
  EXPECT_EQ(brief.WebList[1].URL, "http://third.example/");
  EXPECT_EQ(RunCli({"remove", BriefPath(), "1"}).code, 0);
  EXPECT_EQ(RunCli({"remove", BriefPath(), "1"}).code, 0);
  const auto run = RunCli({"remove", BriefPath(), "1"});
  EXPECT_EQ(run.err, "There is no web entry 1 in " + BriefPath() + "; it has 0 entries.\n");
}

TEST_F(BriefCommandsTest, EditChangesTheBrief) {
  WriteSample();
  ASSERT_EQ(RunCli({"edit", BriefPath(), "--name", "Papers", "--inactive"}).code, 0);
  TBriefRecord brief = Reload();
  EXPECT_EQ(brief.Name, "Papers");
  EXPECT_FALSE(brief.Active);
  EXPECT_EQ(brief.Comments, "Morning papers.\r\nAnd the weather.");
  EXPECT_EQ(brief.WebList.size(), 2u);
  ASSERT_EQ(RunCli({"edit", BriefPath(), "--comments", "", "--active"}).code, 0);
  brief = Reload();
  EXPECT_EQ(brief.Comments, "");
  EXPECT_TRUE(brief.Active);
  EXPECT_THAT(RunCli({"show", BriefPath()}).out, ::testing::HasSubstr("Comments: none\n"));
}

TEST(CliTest, VersionAndHelp) {
  const auto version = RunCli({"--version"});
  EXPECT_EQ(version.code, cli::kExitDone);
  EXPECT_THAT(version.out, ::testing::MatchesRegex("gleaner [0-9]+\\.[0-9]+\\.[0-9]+\n"));
  const auto help = RunCli({"--help"});
  EXPECT_EQ(help.code, cli::kExitDone);
  for (const char* command : {"new", "show", "add", "edit-entry", "remove", "edit", "settings"})
    EXPECT_THAT(help.out, ::testing::HasSubstr(std::string("\n  ") + command + " "));
}

}  // namespace
}  // namespace gl
