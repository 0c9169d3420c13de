#include "net/answer.h"

#include <gtest/gtest.h>

#include <limits>
#include <tuple>

#include "net/internal/base64.h"
#include "net/internal/request.h"

namespace gl {
namespace {

constexpr auto npos = std::string_view::npos;

// The finder is given the answer so far, cut anywhere, and then the whole of it.
TEST(FindHeaderEndTest, TakesWhicheverEmptyLineComesFirstAlsoOverChunks) {
  const std::tuple<std::string_view, std::size_t, std::size_t> rows[] = {
      {"HTTP/1.0 200\r\nA: b\r\n\r\nbody", 0, 22}, {"HTTP/1.0 200\nA: b\n\nbody\r\n\r\n", 0, 19},
      {"HTTP/1.0 200\r\n\r\nx\n\n", 0, 16},        {"HTTP/1.0 200\r\nA: b\r\n", 0, npos},
      {"HTTP/1.0 200\r\nA: b\r\n\r\n", 17, 22},    {"", 0, npos},
  };
  for (const auto& [answer, from, end] : rows) {
    SCOPED_TRACE(answer);
    EXPECT_EQ(FindHeaderEnd(answer, from), end);
    for (std::size_t cut = 0; from == 0 && cut <= answer.size(); ++cut) {
      HeaderEndFinder finder;
      const std::size_t early = finder.Find(answer.substr(0, cut));
      EXPECT_EQ(early, cut >= end ? end : npos) << cut;
      if (early == npos) {
        EXPECT_EQ(finder.Find(answer), end) << cut;
      }
    }
  }
}

TEST(FindHeaderFieldTest, MatchesWholeFieldNamesInAnyCaseAndLocationOnlyInTheHeader) {
  const std::string_view header =
      "HTTP/1.0 200 location: status-line\r\nContent-Location: /wrong\r\nX-Location: /wrong\r\n"
      "LOCATION :  /right  \r\nLocation: /second\r\nEmpty:\r\n\r\n";
  EXPECT_EQ(FindHeaderField(header, "location"), "/right");
  EXPECT_EQ(FindHeaderField(header, "content-location"), "/wrong");
  EXPECT_EQ(FindHeaderField(header, "empty"), "");
  EXPECT_EQ(FindHeaderField(header, "missing"), std::nullopt);
  EXPECT_EQ(FindHeaderField("Location: /first-line-only", "location"), std::nullopt);
  EXPECT_EQ(FindHeaderField("HTTP/1.0 302\nLocation:/bare-lf", "location"), "/bare-lf");
  // A Location is looked for only in the header block.
  EXPECT_EQ(FindLocation("HTTP/1.0 302\r\nLocation: /a\r\n\r\nbody"), "/a");
  EXPECT_EQ(FindLocation("HTTP/1.0 302\r\nServer: x\r\n\r\nLocation: /body"), std::nullopt);
  EXPECT_EQ(FindLocation("HTTP/1.0 302\r\nLocation: /unterminated"), "/unterminated");
}

// A length is at least 1 (the progress divides by it) and saturates instead of overflowing.
TEST(AnalyseHeaderTest, ReadsLengthAndType) {
  constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
  using Length = std::optional<std::int64_t>;
  const std::tuple<const char*, Length, Length, std::optional<std::string>> rows[] = {
      {"Content-Length: 1234\r\nContent-Type: text/html", 1234, 1234, "text/html"},
      {"CONTENT-TYPE: TEXT/HTML; charset=UTF-8", {}, {}, "text/html"},
      {"Content-Length: 0", 1, 0, std::nullopt},
      {"Content-Length: lots", 1, {}, std::nullopt},
      {"Content-Length: 12;x", 12, 12, std::nullopt},
      {"Content-Length: 99999999999999999999999", kMax, kMax, std::nullopt},
  };
  for (const auto& [fields, length, body, type] : rows) {
    SCOPED_TRACE(fields);
    const HeaderFacts facts = AnalyseHeader("HTTP/1.0 200\r\n" + std::string(fields) + "\r\n\r\n");
    EXPECT_EQ(std::tie(facts.ContentLength, facts.BodyLength, facts.ContentType),
              std::tie(length, body, type));
  }
}

TEST(JudgeContentTypeTest, TextAlwaysImagesWithEitherChoiceOthersWithOtherFiles) {
  using enum ContentDecision;
  const std::tuple<const char*, bool, bool, ContentDecision> rows[] = {
      {"text/plain", false, false, Text},       {"image/gif", true, false, NonText},
      {"image/gif", false, true, NonText},      {"image/gif", false, false, Reject},
      {"application/zip", true, false, Reject}, {"application/zip", false, true, NonText},
      {"multipart/mixed", true, true, Reject}};
  for (const auto& [type, images, otherFiles, decision] : rows) {
    SCOPED_TRACE(::testing::Message() << type << images << otherFiles);
    EXPECT_EQ(JudgeContentType(type, images, otherFiles), decision);
  }
}

TEST(FindStatusCodeTest, ReadsThreeDigitsAfterTheVersion) {
  const std::pair<const char*, std::optional<int>> rows[] = {
      {"HTTP/1.0 200 OK\r\n", 200},
      {"http/1.1 404 Not Found", 404},
      {"junk before HTTP/1.0\t \r\n302 Moved", 302},
      {"HTTP/1.0 2x0", 404},
      {"HTTP/1.0", 404},
      {"no status line here", std::nullopt}};
  for (const auto& [answer, code] : rows) {
    SCOPED_TRACE(answer);
    EXPECT_EQ(FindStatusCode(answer), code);
  }
}

TEST(RequestTextTest, BlanksAndControlBytesCannotAddHeaderLines) {
  EXPECT_EQ(PlainRequestText("host\r\nX: 1/a b\r\nX-Evil: 1\t\x7f.htm", Proxy{}),
            "GET /a%20b%0D%0AX-Evil:%201%09%7F.htm HTTP/1.0\r\nUser-Agent: Gleaner-Light 1.0\r\n"
            "Host: host%0D%0AX:%201\r\nAccept: */*; q=1\r\n\r\n");
  EXPECT_EQ(AuthRequestText("host/\xc3\xa9\n", "u", "p", Proxy{"proxy.example", 3128}),
            "GET http://host/\xc3\xa9%0A HTTP/1.0\r\nAccept: */*; q=1\r\n"
            "User-Agent: Gleaner-Light 1.0\r\nHost: host\r\nAuthorization: Basic dTpw\r\n\r\n");
}

// Padding after whole groups, bytes above 0x7F, and no line breaks in a long text.
TEST(EncodeBase64Test, MatchesTheStandardAlphabetAndPadding) {
  const std::pair<std::string, std::string> rows[] = {
      {"", ""},
      {"foob", "Zm9vYg=="},
      {"fooba", "Zm9vYmE="},
      {std::string("\xff\xfe\x00\x3e\x3f", 5), "//4APj8="},
      {std::string(300, '\xff'), std::string(400, '/')}};
  for (const auto& [in, out] : rows) {
    SCOPED_TRACE(in.substr(0, 8));
    EXPECT_EQ(EncodeBase64(in), out);
  }
}

}  // namespace
}  // namespace gl
