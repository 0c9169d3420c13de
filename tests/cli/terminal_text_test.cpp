#include "cli/terminal_text.h"

#include <gtest/gtest.h>

#include <string>

namespace gl::cli {
namespace {

struct FitCase {
  std::string Text;
  std::size_t Columns;
  std::string Expected;
};

void CheckAll(const std::vector<FitCase>& cases) {
  for (const FitCase& row : cases) {
    SCOPED_TRACE("text \"" + row.Text + "\" in " + std::to_string(row.Columns) + " columns");
    EXPECT_EQ(FitText(row.Text, row.Columns), row.Expected);
  }
}

TEST(FitTextTest, TrimsTheStartAndEndsAtTheFirstTabOrLineEnd) {
  CheckAll({
      {"plain", 10, "plain"},
      {"", 10, ""},
      {" \t\r\n ", 10, ""},
      {"  \t\r\n lead", 10, "lead"},
      {"first\tsecond", 20, "first"},
      {"one\r\ntwo", 20, "one"},
      {"inner  blanks stay ", 30, "inner  blanks stay "},
  });
}

TEST(FitTextTest, ShortensWithAnEllipsisToTheWidth) {
  CheckAll({
      {"abcdefghij", 10, "abcdefghij"},
      {"abcdefghij", 9, "abcdef..."},
      {"abcdefghij", 4, "a..."},
      {"abcdefghij", 3, "..."},
      {"abcdefghij", 2, ".."},
      {"abcdefghij", 0, ""},
      {"http://www.example.com/a/very/long/path/index.htm", 20, "http://www.exampl..."},
  });
}

TEST(TerminalTextTest, ControlsBecomeEscapesAndEveryOtherByteStays) {
  const struct {
    std::string Text;
    std::string Shown;
  } cases[] = {
      {"plain\ttab", "plain\ttab"},
      {"\x1b[2J\x07\x7f", "\\x1B[2J\\x07\\x7F"},
      {"line\r\n", "line\\x0D\\x0A"},
      {"csi\xc2\x9b"
       "31m",
       "csi\\xC2\\x9B31m"},  // U+009B, the one-character CSI, in UTF-8
      {"raw\x9b"
       "31m",
       "raw\\x9B31m"},  // the same as one byte of an 8-bit code page
      {"caf\xc3\xa9 \xe9t\xe9", "caf\xc3\xa9 \xe9t\xe9"},  // UTF-8 and Latin-1 letters
      {"nbsp\xc2\xa0", "nbsp\xc2\xa0"},
      {"cut\xe6\x97", "cut\xe6\\x97"},  // a sequence that ends early leaves a lone 0x97
  };
  for (const auto& row : cases) {
    SCOPED_TRACE(row.Text);
    EXPECT_EQ(TerminalText(row.Text), row.Shown);
  }
}

TEST(FitTextTest, ControlsAreShownEscapedAndCountTheirEscape) {
  CheckAll({
      {"\x1b[2Jtitle", 20, "\\x1B[2Jtitle"},
      {"bell\x07", 8, "bell\\x07"},
      {"bell\x07", 7, "bell..."},
      {"\xe9t\xe9", 3, "\xe9t\xe9"},  // Latin-1 bytes take a column each
  });
}

TEST(FitTextTest, CutsOnlyBetweenWholeCharacters) {
  CheckAll({
      {"caf\xc3\xa9", 4, "caf\xc3\xa9"},
      {"\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9", 4, "\xc3\xa9..."},
      // Seven wide characters take 14 columns; two of them and "..." fit into 8.
      {"\xe6\x97\xa5\xe6\x9c\xac\xe8\xaa\x9e\xe3\x83\x86\xe3\x82\xad\xe3\x82\xb9\xe3\x83\x88", 8,
       "\xe6\x97\xa5\xe6\x9c\xac..."},
      {"\xe6\x97\xa5\xe6\x9c\xac", 4, "\xe6\x97\xa5\xe6\x9c\xac"},
      {"\xf0\x9f\x8c\x8d globe", 8, "\xf0\x9f\x8c\x8d globe"},
  });
}

}  // namespace
}  // namespace gl::cli
