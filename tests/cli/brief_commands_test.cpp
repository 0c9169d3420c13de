#include "cli/cli_test_support.h"
#include "core/brief_file.h"
#include "core/brief_format.h"

namespace gl::test {
namespace {

// A brief with two entries and two archived runs, then changed by each command in turn.
TEST(BriefCommandsTest, NewsBriefIsNeverReplacedShownSafelyAndChangedOnlyWhereAsked) {
  const CliFolder folder;
  const std::string brief = (folder / "news.brf").string();
  TBriefDocument document{brief, {}};
  document.Brief.Name = "News\xE9\x1B[31m";
  document.Brief.Comments = "Morning papers.\r\nAnd the\r\xC3\xA9t\xC3\xA9.";
  CreateNewWebEntry(document.Brief, 0).URL = "http://news.example.com/";
  const TWebEntry weather{true, "Weather", true,          "http://weather.example.com/today/",
                          3,    true,      true,          false,
                          true, "ann",     {"\0\xFF", 2}, ""};
  document.Brief.WebList.push_back(weather);
  document.Brief.ArchivePaths = {"0\\Brief0.htm", "1\\Brief0.htm"};
  document.Brief.ArchiveStamps = {"3/5/1997  9:07:02 AM", "3/6/1997  1:00:00 PM"};
  ASSERT_EQ(SaveBriefs2(document).Outcome, SaveOutcome::Saved);
  const auto shown = [&] { return json::parse(RunCli({"show", brief, "--json"}).out); };

  // The longest name the brief setup dialog takes: 60 characters, 120 bytes.
  const std::string path = (folder / "new.brf").string();
  TBriefRecord created;
  created.Name.clear();
  for (int i = 0; i < 60; ++i)
    created.Name += "\xC3\xA9";
  EXPECT_EQ(RunCli({"new", path, "--name", created.Name}), CliRun{kExitDone});
  EXPECT_EQ(ReadFileBytes(path), BriefFileBytes(created));
  EXPECT_EQ(ReadFileBytes(folder / "new.cat"), std::string(2, '\0'));

  const std::string before = ReadFileBytes(brief);
  EXPECT_EQ(RunCli({"new", brief}),
            (CliRun{kExitFailed, "",
                    "The file " + brief + " already exists; gleaner new does not replace it.\n"}));
  EXPECT_EQ(ReadFileBytes(brief), before);

  const std::string nowhere = (folder / "nowhere" / "x.brf").string();
  EXPECT_EQ(RunCli({"new", nowhere}).err, "Brief File Saving Error: Failed to save Brief File.\n" +
                                              nowhere + ": No such file or directory\n");

  EXPECT_EQ(RunCli({"show", brief}).out,
            "Brief: News\xE9\\x1B[31m\nState: Active\nComments:\n  Morning papers.\n"
            "  And the\\x0D\xC3\xA9t\xC3\xA9.\nWeb entries: 2\n"
            "  1. http://news.example.com/ (Active)\n     Address: http://news.example.com/\n"
            "     Spider depth: 1  Images: No  Other files: No  Follow external links: No\n"
            "  2. Weather (Active)\n     Address: http://weather.example.com/today/\n"
            "     Spider depth: 3  Images: Yes  Other files: No  Follow external links: No\n"
            "     User name: ann  (password set)\nArchived runs: 2\n  1. 3/6/1997  1:00:00 PM  " +
                (folder / "1" / "Brief0.htm").string() + "\n  2. 3/5/1997  9:07:02 AM  " +
                (folder / "0" / "Brief0.htm").string() + "\n");
  EXPECT_EQ(nlohmann::ordered_json::parse(RunCli({"show", brief, "--json"}).out),
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

  for (const std::string index : {"0", "3", "-1", "4294967296"}) {
    const CliRun refused{
        kExitFailed, "",
        "There is no web entry " + index + " in " + brief + "; it has 2 entries.\n"};
    EXPECT_EQ(RunCli({"edit-entry", brief, index, "--images"}), refused);
    EXPECT_EQ(RunCli({"remove", brief, index}), refused);
  }
  EXPECT_EQ(ReadFileBytes(brief), before);
  // Entry 2 goes; the rows below edit entry 1 as the one whose name was never typed.
  RunDone("remove B 2", brief);
  EXPECT_EQ(RunCli({"remove", brief, "2"}).err,
            "There is no web entry 2 in " + brief + "; it has 1 entry.\n");

  const std::pair<const char*, const char*> edits[] = {
      {"add B http://b/ --name Bee --depth 99 --images --other-files --follow-external --user u "
       "--password p --inactive",
       R"({"Active": false, "Name": "Bee", "NameSet": true, "URL": "http://b/", "Depth": 99,
        "EntryFlag": true, "Images": true, "OtherFiles": true, "StayLocal": false,
        "UserName": "u", "Password": "p", "ExtraText": ""})"},
      // An entry whose name was never typed, or was emptied, shows its address as its name.
      {"edit-entry B 2 --no-images --other-files", R"({"Images": false, "OtherFiles": true})"},
      {"edit-entry B 1 --url http://moved/",
       R"({"URL": "http://moved/", "Name": "http://moved/"})"},
      {"edit-entry B 2 --url http://w2/", R"({"URL": "http://w2/"})"},
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
    const std::vector<std::string> arguments = Words(command, brief);
    json expected = shown();
    json& changed = arguments[0] == "edit"  ? expected
                    : arguments[0] == "add" ? expected["Entries"][expected["Entries"].size()]
                                            : expected["Entries"][std::stoi(arguments[2]) - 1];
    changed.merge_patch(json::parse(patch));
    EXPECT_EQ(RunCli(arguments).code, kExitDone);
    EXPECT_EQ(shown(), expected);
  }
  EXPECT_THAT(RunCli({"show", brief}).out, HasSubstr("\nComments: none\n"));

  // A secure address is stored either way; while secure pages are off it comes with one warning.
  const std::string warning = RunCli({"add", brief, "HTTPS://a.example/"}).err;
  EXPECT_TRUE(warning.starts_with("Secure Pages Are Off: ")) << warning;
  EXPECT_TRUE(warning.ends_with("or with: gleaner settings secure-pages Yes\n")) << warning;
  EXPECT_EQ(RunCli({"edit-entry", brief, "1", "--url", "https://b.example/"}).err, warning);
  EXPECT_EQ(RunCli({"add", brief, "http://c.example/"}).err, "");
  RunDone("settings secure-pages Yes");
  EXPECT_EQ(RunCli({"add", brief, "https://d.example/"}).err, "");
  EXPECT_EQ(shown()["Entries"][2]["URL"], "HTTPS://a.example/");
}

}  // namespace
}  // namespace gl::test
