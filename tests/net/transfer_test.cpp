#include "net/transfer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <tuple>

#include "net/generated_pages.h"
#include "net/net_fixture.h"

namespace gl::test {
namespace {

constexpr std::string_view kDisplay = "http://example.test/page.htm";
constexpr std::string_view kRequest = "GET /page.htm HTTP/1.0\r\nHost: example.test\r\n\r\n";

template <int kThousandths = 50>
class TransferTest : public NetTest<kThousandths> {
 protected:
  bool Transfer(std::string_view endpoint) {
    return TransferRequest(endpoint, kRequest, transfer_, stream_, this->sink_, nonText_);
  }
  TransferOptions transfer_{kDisplay};
  MemoryStream stream_;
  bool nonText_ = true;
};
using PlainTransferTest = TransferTest<>;
using ShortWaitTransferTest = TransferTest<2>;
using StretchedTransferTest = TransferTest<100000>;  // a wait that ignored a Stop would hang

// The body spans several receives; an answer without a length shows progress by quarters.
TEST_F(PlainTransferTest, AnswersAreReceivedWholeAndTerminated) {
  const std::string body(25000, 'b');
  server_.Enqueue(PageAnswer(body));
  EXPECT_TRUE(Transfer(server_.HostPort()));
  EXPECT_EQ(stream_.Bytes(), WithZero(PageAnswer(body).Bytes));
  EXPECT_EQ(stream_.Position(), 0u);
  EXPECT_FALSE(nonText_);
  ASSERT_EQ(server_.RequestCount(), 1u);
  EXPECT_EQ(server_.Requests()[0].Bytes, kRequest);
  EXPECT_EQ(sink_.Statuses, (std::vector<std::string>{" Contacting host...", " Connected...",
                                                      " Transferring data..."}));
  EXPECT_TRUE(sink_.Progress.size() > 1 && sink_.Progress.front() == 0 &&
              sink_.Progress.back() == 100 && std::ranges::is_sorted(sink_.Progress));

  sink_.Progress.clear();
  stream_.Clear();
  const Answer unsized{MakeAnswer("HTTP/1.0 200 OK", {}, std::string(60, 'x')).Bytes, 10,
                       std::chrono::milliseconds(400)};
  server_.Enqueue(unsized);
  EXPECT_TRUE(Transfer(server_.HostPort()));
  EXPECT_EQ(stream_.Bytes(), WithZero(unsized.Bytes));
  ASSERT_GE(sink_.Progress.size(), 2u);
  for (std::size_t i = 1; i < sink_.Progress.size(); ++i)
    EXPECT_EQ(sink_.Progress[i], static_cast<int>((i - 1) % 5 * 25));

  // It can end at its declared length, whole or split, while the server keeps the connection.
  transfer_.EndAtDeclaredLength = true;
  transfer_.AcceptOtherFiles = true;
  for (const std::size_t drip : {std::size_t{0}, std::size_t{7}}) {
    SCOPED_TRACE(drip);
    const Answer answer{.Bytes = PageAnswer(R"([ {"id": "A"} ])", "application/json").Bytes,
                        .DripSize = drip,
                        .HoldOpen = true};
    server_.Enqueue(answer);
    stream_.Clear();
    EXPECT_TRUE(Transfer(server_.HostPort()));
    EXPECT_EQ(stream_.Bytes(), WithZero(answer.Bytes));
  }
}

// The busy page comes with true: an answer for the caller to classify.
TEST_F(ShortWaitTransferTest, FailedExchangeGivesAnInaccessiblePage) {
  std::string half = PageAnswer(std::string(100, 'x')).Bytes;  // of a declared 100-byte body
  half.resize(half.size() - 50);
  const std::string server = server_.HostPort();
  const std::tuple<const char*, std::string, std::optional<Answer>, bool> rows[] = {
      {"long host", std::string(257, 'h') + ":80", {}, false},
      {"no host", ":80", {}, false},
      {"no port", server.substr(0, server.find(':')) + ":99999", {}, false},
      {"silent", server, SilentAnswer(), true},
      {"cut", server, Answer{.Bytes = half, .HoldOpen = true}, true},
      {"closed short", server, Answer{half}, true},
      {"too long", server, PageAnswer(std::string(200000, 'x')), true},
      {"refused", "127.0.0.1:" + std::to_string(ClosedLoopbackPort()), {}, true}};
  transfer_.AnswerLimit = 100000;
  for (const auto& [name, endpoint, answer, busy] : rows) {
    SCOPED_TRACE(name);
    if (answer) server_.Enqueue(*answer);
    stream_.Clear();
    EXPECT_EQ(Transfer(endpoint), busy);
    EXPECT_EQ(stream_.Bytes(),
              Page(busy ? WriteBusyNetworkPage : WriteUnableToConnectPage, kDisplay));
  }
}

TEST_F(StretchedTransferTest, SkipDuringTheExchangeEndsWithTheSkippedPage) {
  LoopbackServer server([](const Request&) {
    RequestSkip();
    return SilentAnswer();
  });
  EXPECT_FALSE(Transfer(server.HostPort()));
  EXPECT_EQ(stream_.Bytes(), Page(WriteSkippedPage, kDisplay));
}

// A port that is not one is 0, which no server answers, rather than the default.
TEST(SplitEndpointTest, PortDefaultsTo80) {
  const std::tuple<const char*, const char*, int> rows[] = {
      {"www.example.com", "www.example.com", 80},
      {"10.0.0.1:8080", "10.0.0.1", 8080},
      {"host:", "host", 80},
      {"host:abc", "host", 0},
      {"host:8x", "host", 0},
      {"host:99999", "host", 0},
      {"host:000000000080", "host", 80},
      {"host:65535", "host", 65535},
      {"host:81/path:82", "host", 81},
      {"host/path:82", "host", 80},
      {"", "", 80}};
  for (const auto& [endpoint, host, port] : rows) {
    SCOPED_TRACE(endpoint);
    const HostPort split = SplitEndpoint(endpoint);
    EXPECT_EQ(std::tie(split.Host, split.Port), std::tuple(host, port));
  }
}

}  // namespace
}  // namespace gl::test
