#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cli_test_support.h"
#include "core/brief_file.h"

namespace gl::test {
namespace {

// A folder inside a folder, around links; a caption with a control byte.
constexpr std::string_view kBookmarks = R"(<TITLE>Ann's links</TITLE><DL><p>
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
  }

  CliFolder folder_;
  std::string bookmarks_ = (folder_ / "bookmarks.html").string();
  std::string brief_ = (folder_ / "news.brf").string();
};

TEST_F(BookmarkCommandsTest, ListsTheTreeIndented) {
  const CliRun run = RunCli({"bookmarks", bookmarks_});
  EXPECT_EQ(run.code, cli::kExitDone);
  EXPECT_EQ(run.out,
            "Ann's links\n"
            "[News]\n"
            "  BBC & more  http://www.bbc.co.uk/\n"
            "  [Weather]\n"
            "    Forecast\\x1B[2J  http://weather.example.com/\n"
            "  NPR  http://www.npr.org/\n"
            "Example  http://www.example.com/\n");
}

// A folder's links (its inner folder's included), then every link, each appended in file order.
TEST_F(BookmarkCommandsTest, ImportsEveryLinkOrAFoldersLinksInFileOrder) {
  const CliRun folder = RunCli({"import-bookmarks", bookmarks_, brief_, "--folder", "News"});
  EXPECT_EQ(folder.code, cli::kExitDone);
  EXPECT_EQ(folder.out, "Added 3 web entries to " + brief_ + ".\n");
  EXPECT_EQ(RunCli({"import-bookmarks", bookmarks_, brief_}).code, cli::kExitDone);
  std::vector<std::string> entries;
  for (const TWebEntry& entry : ReadBriefs2(brief_).Document.Brief.WebList) {
    EXPECT_TRUE(entry.NameSet);
    entries.push_back(entry.Name + " " + entry.URL);
  }
  const char* news[] = {"BBC & more http://www.bbc.co.uk/",
                        "Forecast\x1B[2J http://weather.example.com/", "NPR http://www.npr.org/"};
  std::vector<std::string> expected(std::begin(news), std::end(news));
  expected.insert(expected.end(), std::begin(news), std::end(news));
  expected.push_back("Example http://www.example.com/");
  EXPECT_EQ(entries, expected);
}

TEST_F(BookmarkCommandsTest, FailuresChangeNothing) {
  const std::string page = (folder_ / "page.html").string();
  WriteFileBytes(page, "<html><body>Not bookmarks</body></html>");
  const std::string before = ReadFileBytes(brief_);
  const std::pair<std::vector<std::string>, std::string> rows[] = {
      {{"bookmarks", (folder_ / "missing.html").string()}, "Bookmark File Loading Error"},
      {{"import-bookmarks", page, brief_}, "Bookmark File Loading Error"},
      {{"import-bookmarks", bookmarks_, brief_, "--folder", "NPR"},
       "There is no folder \"NPR\" in " + bookmarks_ + ".\n"},
  };
  for (const auto& [arguments, message] : rows) {
    SCOPED_TRACE(message);
    const CliRun run = RunCli(arguments);
    EXPECT_EQ(run.code, cli::kExitFailed);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err.substr(0, message.size()), message);
  }
  EXPECT_EQ(ReadFileBytes(brief_), before);
}

}  // namespace
}  // namespace gl::test
