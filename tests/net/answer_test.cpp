#include "net/answer.h"

#include <gtest/gtest.h>

namespace gl {
namespace {

constexpr auto npos = std::string_view::npos;

TEST(FindHeaderEndTest, TakesWhicheverEmptyLineComesFirst) {
  struct Row {
    const char* answer;
    std::size_t from;
    std::size_t end;
  };
  const Row rows[] = {
      {"HTTP/1.0 200\r\nA: b\r\n\r\nbody", 0, 22}, {"HTTP/1.0 200\nA: b\n\nbody\r\n\r\n", 0, 19},
      {"HTTP/1.0 200\r\n\r\nx\n\n", 0, 16},        {"HTTP/1.0 200\r\nA: b\r\n", 0, npos},
      {"HTTP/1.0 200\r\nA: b\r\n\r\n", 17, 22},    {"", 0, npos},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.answer);
    EXPECT_EQ(FindHeaderEnd(row.answer, row.from), row.end);
  }
}

TEST(HeaderEndFinderTest, FindsAMarkerSplitOverChunks) {
  const std::string answer = "HTTP/1.0 200\r\nA: b\r\n\r\nbody";
  for (std::size_t cut = 0; cut <= answer.size(); ++cut) {
    SCOPED_TRACE(cut);
    HeaderEndFinder finder;
    const std::size_t early = finder.Find(std::string_view(answer).substr(0, cut));
    EXPECT_EQ(early, cut >= 22 ? 22 : npos);
    if (early == npos) {
      EXPECT_EQ(finder.Find(answer), 22u);
    }
  }
}

TEST(FindHeaderFieldTest, MatchesWholeFieldNamesInAnyCase) {
  const std::string_view header =
      "HTTP/1.0 200 location: status-line\r\n"
      "Content-Location: /wrong\r\n"
      "X-Location: /wrong\r\n"
      "LOCATION :  /right  \r\n"
      "Location: /second\r\n"
      "Empty:\r\n\r\n";
  EXPECT_EQ(FindHeaderField(header, "location"), "/right");
  EXPECT_EQ(FindHeaderField(header, "content-location"), "/wrong");
  EXPECT_EQ(FindHeaderField(header, "empty"), "");
  EXPECT_EQ(FindHeaderField(header, "missing"), std::nullopt);
  EXPECT_EQ(FindHeaderField("Location: /first-line-only", "location"), std::nullopt);
  EXPECT_EQ(FindHeaderField("HTTP/1.0 302\nLocation:/bare-lf", "location"), "/bare-lf");
}

TEST(AnalyseHeaderTest, ReadsLengthAndType) {
  struct Row {
    const char* header;
    std::optional<std::int64_t> length;
    std::optional<std::string> type;
  };
  const Row rows[] = {
      {"HTTP/1.0 200\r\nContent-Length: 1234\r\nContent-Type: text/html\r\n\r\n", 1234,
       "text/html"},
      {"HTTP/1.0 200\r\nCONTENT-TYPE: TEXT/HTML; charset=UTF-8\r\n\r\n", std::nullopt, "text/html"},
      {"HTTP/1.0 200\r\nContent-Length: 0\r\n\r\n", 1, std::nullopt},
      {"HTTP/1.0 200\r\nContent-Length: lots\r\n\r\n", 1, std::nullopt},
      {"HTTP/1.0 200\r\nContent-Length: 12;x\r\n\r\n", 12, std::nullopt},
      {"HTTP/1.0 200\r\nContent-Length: 99999999999999999999999\r\n\r\n",
       std::numeric_limits<std::int64_t>::max(), std::nullopt},
      {"HTTP/1.0 200\r\nX-Content-Type: image/gif\r\n\r\n", std::nullopt, std::nullopt},
      {"HTTP/1.0 200\r\n\r\n", std::nullopt, std::nullopt},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.header);
    const HeaderFacts facts = AnalyseHeader(row.header);
    EXPECT_EQ(facts.ContentLength, row.length);
    EXPECT_EQ(facts.ContentType, row.type);
  }
}

TEST(FindStatusCodeTest, ReadsThreeDigitsAfterTheVersion) {
  struct Row {
    std::string answer;
    std::optional<int> code;
  };
  const Row rows[] = {
      {"HTTP/1.0 200 OK\r\n", 200},
      {"http/1.1 404 Not Found", 404},
      {"junk before HTTP/1.0\t \r\n302 Moved", 302},
      {"HTTP/1.0 2x0", 404},
      {"HTTP/1.0 20", 404},
      {"HTTP/1.0", 404},
      {std::string("HTTP/1.0 200\0", 13), 200},
      {"no status line here", std::nullopt},
      {"", std::nullopt},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.answer);
    EXPECT_EQ(FindStatusCode(row.answer), row.code);
  }
}

TEST(FindLocationTest, LooksOnlyInTheHeaderBlock) {
  EXPECT_EQ(FindLocation("HTTP/1.0 302\r\nLocation: /a\r\n\r\nbody"), "/a");
  EXPECT_EQ(FindLocation("HTTP/1.0 302\r\nServer: x\r\n\r\nLocation: /body"), std::nullopt);
  EXPECT_EQ(FindLocation("HTTP/1.0 302\r\nLocation: /unterminated"), "/unterminated");
}

}  // namespace
}  // namespace gl
