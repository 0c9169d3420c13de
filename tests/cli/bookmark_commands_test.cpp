#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "cli/cli.h"
#include "cli_test_support.h"
#include "core/brief_file.h"

namespace gl::test {
namespace {

// Two folders, one inside the other, around links; a caption with a control byte.
constexpr std::string_view kBookmarks = R"(<TITLE>Ann's links</TITLE>
<DL><p>
  <DT><H3>News</H3>
  <DL><p>
    <DT><A HREF="http://www.bbc.co.uk/">BBC &amp; more</A>
    <DT><H3>Weather</H3>
    <DL><p><DT><A HREF="http://weather.example.com/">Forecast)"
                                        "\x1B"
                                        R"([2J</A></DL><p>
    <DT><A HREF="http://www.npr.org/">NPR</A>
  </DL><p>
  <DT><A HREF="http://www.example.com/">Example</A>
</DL>)";

class BookmarkCommandsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    WriteFileBytes(bookmarks_, kBookmarks);
    ASSERT_EQ(RunCli({"new", brief_}).code, cli::kExitDone);
    ASSERT_EQ(RunCli({"add", brief_, "http://first.example/"}).code, cli::kExitDone);
  }

  // Each entry's name and address, in list order.
  std::vector<std::pair<std::string, std::string>> Entries() const {
    std::vector<std::pair<std::string, std::string>> entries;
    for (const TWebEntry& entry : ReadBriefs2(brief_).Document.Brief.WebList)
      entries.emplace_back(entry.Name, entry.URL);
    return entries;
  }

  CliFolder folder_;
  std::string bookmarks_ = (folder_ / "bookmarks.html").string();
  std::string brief_ = (folder_ / "news.brf").string();
};

TEST_F(BookmarkCommandsTest, ListsTheTreeIndented) {
  const CliRun run = RunCli({"bookmarks", bookmarks_});
  EXPECT_EQ(run.code, cli::kExitDone);
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(run.out,
            "Ann's links\n"
            "[News]\n"
            "  BBC & more  http://www.bbc.co.uk/\n"
            "  [Weather]\n"
            "    Forecast\\x1B[2J  http://weather.example.com/\n"
            "  NPR  http://www.npr.org/\n"
            "Example  http://www.example.com/\n");
}

TEST_F(BookmarkCommandsTest, ImportsEveryLinkOrAFoldersLinksInFileOrder) {
  const CliRun folder = RunCli({"import-bookmarks", bookmarks_, brief_, "--folder", "News"});
  EXPECT_EQ(folder.code, cli::kExitDone) << folder.err;
  EXPECT_EQ(folder.out, "Added 3 web entries to " + brief_ + ".\n");
  const CliRun all = RunCli({"import-bookmarks", bookmarks_, brief_});
  EXPECT_EQ(all.out, "Added 4 web entries to " + brief_ + ".\n");
  const std::vector<std::pair<std::string, std::string>> news = {
      {"BBC & more", "http://www.bbc.co.uk/"},
      {"Forecast\x1B[2J", "http://weather.example.com/"},
      {"NPR", "http://www.npr.org/"}};
  std::vector<std::pair<std::string, std::string>> expected = {
      {"http://first.example/", "http://first.example/"}};
  expected.insert(expected.end(), news.begin(), news.end());
  expected.insert(expected.end(), news.begin(), news.end());
  expected.emplace_back("Example", "http://www.example.com/");
  EXPECT_EQ(Entries(), expected);
  const TWebEntry imported = ReadBriefs2(brief_).Document.Brief.WebList[1];
  EXPECT_TRUE(imported.NameSet);
  EXPECT_EQ(imported.Depth, 1);

  // An empty folder adds nothing and leaves the file alone.
  WriteFileBytes(bookmarks_, "<DL><DT><H3>Empty</H3><DL></DL><DT><A HREF=x>X</A></DL>");
  const std::string before = ReadFileBytes(brief_);
  const CliRun none = RunCli({"import-bookmarks", bookmarks_, brief_, "--folder", "Empty"});
  EXPECT_EQ(none.code, cli::kExitDone);
  EXPECT_EQ(none.out, "Added 0 web entries to " + brief_ + ".\n");
  EXPECT_EQ(ReadFileBytes(brief_), before);
}

TEST_F(BookmarkCommandsTest, FailuresChangeNothing) {
  WriteFileBytes(folder_ / "page.html", "<html><body>Not bookmarks</body></html>");
  const std::string before = ReadFileBytes(brief_);
  const std::string notBookmarks =
      "Bookmark File Loading Error: This file is either corrupt or is not a Bookmark file. "
      "Gleaner-Light cannot load it.\n";
  const std::string notBrief =
      "Brief File Loading Error: This file is either corrupt or is not a Brief file. "
      "Gleaner-Light cannot load it.\n";
  const std::string page = (folder_ / "page.html").string();
  const struct {
    std::vector<std::string> arguments;
    int code;
    std::string err;
  } rows[] = {
      {{"bookmarks", page}, cli::kExitFailed, notBookmarks},
      {{"import-bookmarks", page, brief_}, cli::kExitFailed, notBookmarks},
      {{"import-bookmarks", bookmarks_, bookmarks_}, cli::kExitFailed, notBrief},
      {{"import-bookmarks", bookmarks_, brief_, "--folder", "BBC & more"},
       cli::kExitFailed,
       "There is no folder \"BBC & more\" in " + bookmarks_ + ".\n"},
      {{"import-bookmarks", bookmarks_}, cli::kExitUsage, ""},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.arguments.back());
    const CliRun run = RunCli(row.arguments);
    EXPECT_EQ(run.code, row.code);
    EXPECT_EQ(run.out, "");
    if (row.code == cli::kExitFailed) {
      EXPECT_EQ(run.err, row.err);
    } else {
      EXPECT_NE(run.err, "");
    }
  }
  EXPECT_EQ(ReadFileBytes(brief_), before);
}

}  // namespace
}  // namespace gl::test
