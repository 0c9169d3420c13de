#include "net/transfer.h"

#include <gtest/gtest.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <thread>
#include <tuple>

#include "net/generated_pages.h"
#include "net/net_fixture.h"
#include "support/loopback_server.h"

namespace gl::test {
namespace {

constexpr std::string_view kDisplay = "http://example.test/page.htm";
constexpr std::string_view kRequest = "GET /page.htm HTTP/1.0\r\nHost: example.test\r\n\r\n";

class TransferTest : public NetTest {
 protected:
  explicit TransferTest(const char* timeScale = "0.05") : NetTest(timeScale) {}

  bool Transfer(std::string_view endpoint, std::string_view request = kRequest) {
    return TransferRequest(endpoint, request, options_, stream_, sink_, nonText_);
  }

  LoopbackServer server_;
  TransferOptions options_{kDisplay};
  MemoryStream stream_;
  bool nonText_ = true;
};

// The body spans several receives.
TEST_F(TransferTest, AnswerIsReceivedWholeAndTerminated) {
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
  ASSERT_FALSE(sink_.Progress.empty());
  EXPECT_EQ(sink_.Progress.front(), 0);
  EXPECT_EQ(sink_.Progress.back(), 100);
  EXPECT_TRUE(std::is_sorted(sink_.Progress.begin(), sink_.Progress.end()));
}

// Without a length the bar steps 0, 25, 50, 75, 100 and over again, once per piece after the
// first; the report before the transfer starts is 0 as well.
TEST_F(TransferTest, ProgressStepsByQuartersWithoutContentLength) {
  Answer answer = MakeAnswer("HTTP/1.0 200 OK", {}, std::string(60, 'x'));
  answer.DripSize = 10;
  answer.DripPause = std::chrono::milliseconds(400);
  server_.Enqueue(answer);

  EXPECT_TRUE(Transfer(server_.HostPort()));

  EXPECT_EQ(stream_.Bytes(), WithZero(answer.Bytes));
  ASSERT_GE(sink_.Progress.size(), 2u);
  for (std::size_t i = 1; i < sink_.Progress.size(); ++i)
    EXPECT_EQ(sink_.Progress[i], static_cast<int>((i - 1) % 5 * 25));
}

// A server that keeps the connection open after answering: the answer ends with its declared
// body, in one piece or split over receives, without waiting for the close.
TEST_F(TransferTest, AnAnswerCanEndAtItsDeclaredLength) {
  options_.EndAtDeclaredLength = true;
  options_.AcceptOtherFiles = true;
  for (const std::size_t drip : {std::size_t{0}, std::size_t{7}}) {
    SCOPED_TRACE(drip);
    Answer answer = PageAnswer(R"([ {"id": "A"} ])", "application/json");
    answer.HoldOpen = true;
    answer.DripSize = drip;
    server_.Enqueue(answer);
    stream_.Clear();
    EXPECT_TRUE(Transfer(server_.HostPort()));
    EXPECT_EQ(stream_.Bytes(), WithZero(answer.Bytes));
  }
}

TEST_F(TransferTest, UnknownHostGivesUnableToConnect) {
  for (const std::string& endpoint : {std::string(257, 'h') + ":80", std::string(":80")}) {
    SCOPED_TRACE(endpoint);
    stream_.Clear();
    EXPECT_FALSE(Transfer(endpoint));
    EXPECT_EQ(stream_.Bytes(), Page(WriteUnableToConnectPage, kDisplay));
  }
}

class ShortWaitTransferTest : public TransferTest {
 protected:
  ShortWaitTransferTest() : TransferTest("0.002") {}
};

// No data in time, a server stopping mid-answer or closing before the body it announced is
// complete, an answer beyond the limit or a refused connection: the stream holds the busy page,
// an answer for the caller to classify.
TEST_F(ShortWaitTransferTest, FailedExchangeGivesTheBusyPage) {
  Answer closed = PageAnswer(std::string(100, 'x'));
  closed.Bytes.resize(closed.Bytes.size() - 50);
  Answer cut = closed;
  cut.HoldOpen = true;
  const std::pair<const char*, Answer> rows[] = {
      {"silent", SilentAnswer()},
      {"cut", cut},
      {"closed short", closed},
      {"too long", PageAnswer(std::string(200000, 'x'))}};
  options_.AnswerLimit = 100000;
  for (const auto& [name, answer] : rows) {
    SCOPED_TRACE(name);
    server_.Enqueue(answer);
    stream_.Clear();
    EXPECT_TRUE(Transfer(server_.HostPort()));
    EXPECT_EQ(stream_.Bytes(), Page(WriteBusyNetworkPage, kDisplay));
  }

  std::string refused;
  {
    const RawListener gone(1);
    refused = gone.Endpoint();
  }
  stream_.Clear();
  EXPECT_TRUE(Transfer(refused));
  EXPECT_EQ(stream_.Bytes(), Page(WriteBusyNetworkPage, kDisplay));
}

// Waits stretched a hundredfold: a step that ignored the cancellation would hang far past the
// test's time limit.
class CancelTest : public TransferTest {
 protected:
  CancelTest() : TransferTest("100") {}
};

// A request far larger than the socket buffers, to a peer that reads nothing, blocks in send.
TEST_F(CancelTest, SkipDuringSendEndsWithTheSkippedPage) {
  const RawListener silent(1);
  std::thread skipper([&silent] {
    const int accepted = silent.Accept();
    int queued = 0;
    while (queued < 65536 && ioctl(accepted, FIONREAD, &queued) == 0)
      std::this_thread::yield();
    RequestSkip();
    close(accepted);
  });

  const bool result = Transfer(silent.Endpoint(), std::string(64 << 20, 'r'));
  skipper.join();

  EXPECT_FALSE(result);
  EXPECT_EQ(stream_.Bytes(), Page(WriteSkippedPage, kDisplay));
}

// Stops once the first piece has been reported while the server holds the rest back.
class StopOnFirstPiece : public RecordingSink {
 public:
  void SetProgress(int percent) override {
    RecordingSink::SetProgress(percent);
    if (Statuses.size() == 3) RequestStop();
  }
};

TEST_F(CancelTest, StopDuringReceiveEndsWithTheSkippedPage) {
  Answer answer = MakeAnswer("HTTP/1.0 200 OK", {{"Content-Length", "1000"}}, "first part");
  answer.HoldOpen = true;
  server_.Enqueue(answer);
  StopOnFirstPiece sink;

  EXPECT_FALSE(TransferRequest(server_.HostPort(), kRequest, options_, stream_, sink, nonText_));

  EXPECT_EQ(stream_.Bytes(), Page(WriteSkippedPage, kDisplay));
}

TEST(RetryBudgetTest, GrowsWithTheAttemptLevel) {
  // {level, failed calls repeated, seconds to wait for the first data}
  const std::array<int, 3> rows[] = {{5, 2, 5},   {10, 4, 10}, {15, 5, 15},
                                     {20, 6, 20}, {25, 8, 25}, {40, 8, 40}};
  for (const auto& [level, failedCalls, wait] : rows) {
    SCOPED_TRACE(level);
    EXPECT_EQ(RetryBudgetFor(level).FailedCalls, failedCalls);
    EXPECT_EQ(RetryBudgetFor(level).FirstDataWait, std::chrono::seconds(wait));
  }
}

TEST(SplitEndpointTest, PortDefaultsTo80) {
  const std::tuple<const char*, const char*, int> rows[] = {
      {"www.example.com", "www.example.com", 80},
      {"10.0.0.1:8080", "10.0.0.1", 8080},
      {"host:", "host", 80},
      {"host:abc", "host", 80},
      {"host:99999", "host", 80},
      {"host:81/path:82", "host", 81},
      {"host/path:82", "host", 80},
      {"", "", 80},
  };
  for (const auto& [endpoint, host, port] : rows) {
    SCOPED_TRACE(endpoint);
    EXPECT_EQ(SplitEndpoint(endpoint).Host, host);
    EXPECT_EQ(SplitEndpoint(endpoint).Port, port);
  }
}

}  // namespace
}  // namespace gl::test
