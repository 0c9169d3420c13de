#include "generate/internal/page_clean.h"

#include <gtest/gtest.h>

#include <string>

#include "generate/internal/base_href.h"

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

// The header goes, comments and declarations outside scripts become blanks, one zero ends it.
TEST(PagePreparationTest, CleaningTitlesScanCopiesAndBaseTags) {
  const std::string lead = "H\r\n\r\n" + std::string(4990, 'x');
  const Pair rows[] = {
      {"HTTP/1.0 200\r\nA: b\r\n\r\n<p>x\n\ny", "<p>x\n\ny"},
      {"HTTP/1.0 200\nA: b\n\n<p>x\r\n\r\ny", "<p>x\r\n\r\ny"},
      {"<p>no header", "<p>no header"},
      {"", ""},
      {std::string("H\n\na\0\0b\0", 8), "a  b"},  // inner zero bytes become blanks
      {"H\n\na<!-- x -->b", "a          b"},
      {"H\n\n<!DOCTYPE html><p>", "               <p>"},
      {"H\n\na<!---->b", "a       b"},
      {"H\n\n<script>x='<!-- y -->'</script><!--z-->", "<script>x='<!-- y -->'</script>        "},
      {"H\n\n<SCRIPT>if(a<!b)</SCRIPT>c<!x>", "<SCRIPT>if(a<!b)</SCRIPT>c    "},
      {"H\n\n<!-- open <!-- x -->", "                    "},
      {"H\n\n<!-- never closed <!x>", "<!-- never closed <!x>"},
      {"H\n\n<!x", "<!x"},
      {"H\n\n<script>a<!--b-->", "<script>a<!--b-->"},
      {lead + "<!-- across -->y", lead.substr(5) + std::string(15, ' ') + "y"},
  };
  for (const auto& [page, cleaned] : rows) {
    SCOPED_TRACE(page.substr(0, 40));
    EXPECT_EQ(Cleaned(page), cleaned + '\0');
  }
  // The last complete title wins.
  const std::pair<std::string_view, std::optional<std::string_view>> titles[] = {
      {"<html><title>Home</title>", "Home"},
      {"<TITLE>Caps</Title>", "Caps"},
      {"<title>one</title><title>two</title>", "two"},
      {"<title>complete</title><title>open", "complete"},
      {"<title></title>", ""},
      {"<title>never closed", std::nullopt},
      {"<title>a<title>b</title>", "b"},
  };
  for (const auto& [page, title] : titles) {
    SCOPED_TRACE(page);
    EXPECT_EQ(PageTitle(page), title);
  }
  // A base tag loses its address.
  const std::pair<std::string_view, std::string_view> bases[] = {
      {"<head><BASE HREF=\"http://x/\"><a>", "<head><BASE                 ><a>"},
      {"<base target=_top href=http://x/>", "<base target=_top               >"},
      {"<base href='http://x/ y'>", "<base                   >"},
      {"<base target=x>", "<base target=x>"},
      {"<base href>", "<base href>"},
  };
  for (const auto& [before, after] : bases) {
    SCOPED_TRACE(before);
    MemoryStream page{std::string(before)};
    StripBaseHref(page);
    EXPECT_EQ(page.Bytes(), after);
  }
}

}  // namespace
}  // namespace gl
