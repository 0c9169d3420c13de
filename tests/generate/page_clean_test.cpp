#include "generate/page_clean.h"

#include <gtest/gtest.h>

#include <string>

#include "generate/scan_copy.h"

namespace gl {
namespace {

std::string Cleaned(std::string_view bytes) {
  MemoryStream page{std::string(bytes)};
  page.Seek(page.Size());
  CleanPage(page);
  EXPECT_EQ(page.Position(), 0u);
  return page.Bytes();
}

std::string Z(std::string text) {
  text += '\0';
  return text;
}

TEST(CleanPageTest, DropsTheHeaderAtTheFirstEmptyLine) {
  EXPECT_EQ(Cleaned("HTTP/1.0 200\r\nA: b\r\n\r\n<p>x\n\ny"), Z("<p>x\n\ny"));
  EXPECT_EQ(Cleaned("HTTP/1.0 200\nA: b\n\n<p>x\r\n\r\ny"), Z("<p>x\r\n\r\ny"));
  EXPECT_EQ(Cleaned("<p>no header"), Z("<p>no header"));
  EXPECT_EQ(Cleaned(""), Z(""));
}

TEST(CleanPageTest, BlanksCommentsAndDeclarationsButNotScripts) {
  struct Row {
    std::string_view body;
    std::string_view cleaned;
  };
  const Row rows[] = {
      {"a<!-- x -->b", "a          b"},
      {"<!DOCTYPE html><p>", "               <p>"},
      {"a<!---->b", "a       b"},
      {"<script>x='<!-- y -->'</script><!--z-->", "<script>x='<!-- y -->'</script>        "},
      {"<SCRIPT>if(a<!b)</SCRIPT>c<!x>", "<SCRIPT>if(a<!b)</SCRIPT>c    "},
      // A comment without an end stops the cleaning there.
      {"<!-- open <!-- x -->", "                    "},
      {"<!-- never closed <!x>", "<!-- never closed <!x>"},
      {"<!x", "<!x"},
      // A script without an end leaves the rest alone.
      {"<script>a<!--b-->", "<script>a<!--b-->"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.body);
    EXPECT_EQ(Cleaned("H\r\n\r\n" + std::string(row.body)), Z(std::string(row.cleaned)));
  }
}

TEST(CleanPageTest, FindsACommentAcrossWhatWouldBeABlockBoundary) {
  const std::string lead(4990, 'x');
  EXPECT_EQ(Cleaned("H\r\n\r\n" + lead + "<!-- across -->y"), Z(lead + std::string(15, ' ') + "y"));
}

TEST(CleanPageTest, TurnsZeroBytesIntoBlanksAndKeepsOneTerminator) {
  EXPECT_EQ(Cleaned(std::string("H\n\na\0b\0", 7)), Z("a b"));
  EXPECT_EQ(Cleaned(std::string("H\n\na\0\0b", 7)), Z("a  b"));
}

TEST(PageTitleTest, Cases) {
  struct Row {
    std::string_view page;
    std::optional<std::string_view> title;
  };
  const Row rows[] = {
      {"<html><title>Home</title>", "Home"},
      {"<TITLE>Caps</Title>", "Caps"},
      {"<title>one</title><title>two</title>", "two"},
      {"<title>complete</title><title>open", "complete"},
      {"<title></title>", ""},
      {"<title>never closed", std::nullopt},
      {"no title", std::nullopt},
      {"<title>a<title>b</title>", "b"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.page);
    EXPECT_EQ(PageTitle(row.page), row.title);
  }
}

TEST(ScanCopyTest, MarksEveryDelimiterAndNeutralisesMarkerBytes) {
  const MemoryStream page{std::string("<a>x > y <b\x01\x02>", 14)};
  EXPECT_EQ(MakeScanCopy(page).Bytes(), std::string("\x01"
                                                    "a\x02x \x02 y \x01"
                                                    "b  \x02",
                                                    14));
}

TEST(ScanCopyTest, StripBaseHrefBlanksTheAddressOnly) {
  struct Row {
    std::string_view page;
    std::string_view stripped;
  };
  const Row rows[] = {
      {"<head><BASE HREF=\"http://x/\"><a>", "<head><BASE                 ><a>"},
      {"<base target=_top href=http://x/>", "<base target=_top               >"},
      {"<base href='http://x/ y'>", "<base                 y'>"},
      {"<base target=x>", "<base target=x>"},
      {"<base href>", "<base href>"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.page);
    MemoryStream page{std::string(row.page)};
    StripBaseHref(page);
    EXPECT_EQ(page.Bytes(), row.stripped);
  }
}

}  // namespace
}  // namespace gl
