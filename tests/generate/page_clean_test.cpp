#include "generate/internal/page_clean.h"

#include <gtest/gtest.h>

#include <string>

#include "generate/internal/scan_copy.h"

namespace gl {
namespace {

using Pair = std::pair<std::string, std::string>;

std::string Cleaned(std::string_view bytes) {
  MemoryStream page{std::string(bytes)};
  page.Seek(page.Size());
  CleanPage(page);
  EXPECT_EQ(page.Position(), 0u);
  return page.Bytes();
}

TEST(CleanPageTest, DropsTheHeaderAndLeavesOneTerminatingZero) {
  const Pair rows[] = {
      {"HTTP/1.0 200\r\nA: b\r\n\r\n<p>x\n\ny", "<p>x\n\ny"},
      {"HTTP/1.0 200\nA: b\n\n<p>x\r\n\r\ny", "<p>x\r\n\r\ny"},
      {"<p>no header", "<p>no header"},
      {"", ""},
      {std::string("H\n\na\0b\0", 7), "a b"},  // inner zero bytes become blanks
      {std::string("H\n\na\0\0b", 7), "a  b"},
  };
  for (const auto& [page, cleaned] : rows) {
    SCOPED_TRACE(page);
    EXPECT_EQ(Cleaned(page), cleaned + '\0');
  }
}

TEST(CleanPageTest, BlanksCommentsAndDeclarationsButNotScripts) {
  const std::string lead(4990, 'x');
  const Pair rows[] = {
      {"a<!-- x -->b", "a          b"},
      {"<!DOCTYPE html><p>", "               <p>"},
      {"a<!---->b", "a       b"},
      {"<script>x='<!-- y -->'</script><!--z-->", "<script>x='<!-- y -->'</script>        "},
      {"<SCRIPT>if(a<!b)</SCRIPT>c<!x>", "<SCRIPT>if(a<!b)</SCRIPT>c    "},
      {"<!-- open <!-- x -->", "                    "},
      {"<!-- never closed <!x>", "<!-- never closed <!x>"},
      {"<!x", "<!x"},
      {"<script>a<!--b-->", "<script>a<!--b-->"},
      {lead + "<!-- across -->y", lead + std::string(15, ' ') + "y"},
  };
  for (const auto& [body, cleaned] : rows) {
    SCOPED_TRACE(body.substr(0, 40));
    EXPECT_EQ(Cleaned("H\r\n\r\n" + body), cleaned + '\0');
  }
}

TEST(PageTitleTest, TheLastCompleteTitleWins) {
  const std::pair<std::string_view, std::optional<std::string_view>> rows[] = {
      {"<html><title>Home</title>", "Home"},
      {"<TITLE>Caps</Title>", "Caps"},
      {"<title>one</title><title>two</title>", "two"},
      {"<title>complete</title><title>open", "complete"},
      {"<title></title>", ""},
      {"<title>never closed", std::nullopt},
      {"<title>a<title>b</title>", "b"},
  };
  for (const auto& [page, title] : rows) {
    SCOPED_TRACE(page);
    EXPECT_EQ(PageTitle(page), title);
  }
}

TEST(ScanCopyTest, MarksEveryDelimiterAndNeutralisesMarkerBytes) {
  const MemoryStream page{std::string("<a>x > y <b\x01\x02>", 14)};
  EXPECT_EQ(MakeScanCopy(page).Bytes(), std::string("\001a\002x \002 y \001b  \002", 14));
}

TEST(ScanCopyTest, StripBaseHrefBlanksTheAddressOnly) {
  const std::pair<std::string_view, std::string_view> rows[] = {
      {"<head><BASE HREF=\"http://x/\"><a>", "<head><BASE                 ><a>"},
      {"<base target=_top href=http://x/>", "<base target=_top               >"},
      {"<base href='http://x/ y'>", "<base                   >"},
      {"<base target=x>", "<base target=x>"},
      {"<base href>", "<base href>"},
  };
  for (const auto& [before, after] : rows) {
    SCOPED_TRACE(before);
    MemoryStream page{std::string(before)};
    StripBaseHref(page);
    EXPECT_EQ(page.Bytes(), after);
  }
}

}  // namespace
}  // namespace gl
