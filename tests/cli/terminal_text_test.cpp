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

TEST(FitTextTest, ControlCharactersAndForeignBytesBecomeQuestionMarks) {
  CheckAll({
      {"\x1b[2Jtitle", 20, "?[2Jtitle"},
      {"bell\x07", 20, "bell?"},
      {"del\x7f", 20, "del?"},
      {"csi\xc2\x9b"
       "31m",
       20, "csi?31m"},                 // U+009B, the one-byte control sequence introducer
      {"\xe9t\xe9", 20, "?t?"},        // Latin-1, not UTF-8
      {"over\xc0\xaf", 20, "over??"},  // an overlong "/"
      {"cut\xe6\x97", 20, "cut??"},    // a sequence that ends early
      {"\xed\xa0\x80", 20, "???"},     // a UTF-16 surrogate
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
