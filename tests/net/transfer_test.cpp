#include "net/transfer.h"

#include <gtest/gtest.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <thread>

#include "net/generated_pages.h"
#include "net/net_fixture.h"
#include "net/texts.h"
#include "support/loopback_server.h"
#include "support/raw_listener.h"
#include "support/scoped_time_scale.h"

namespace gl::test {
namespace {

constexpr std::string_view kDisplay = "http://example.test/page.htm";
constexpr std::string_view kRequest = "GET /page.htm HTTP/1.0\r\nHost: example.test\r\n\r\n";

std::string Busy() {
  MemoryStream stream;
  WriteBusyNetworkPage(stream, kDisplay);
  return stream.Bytes();
}

std::string Skipped() {
  MemoryStream stream;
  WriteSkippedPage(stream, kDisplay);
  return stream.Bytes();
}

std::string UnableToConnect() {
  MemoryStream stream;
  WriteUnableToConnectPage(stream, kDisplay);
  return stream.Bytes();
}

class TransferTest : public NetTest {
 protected:
  bool Transfer(std::string_view endpoint, std::string_view request = kRequest) {
    return TransferRequest(endpoint, request, options_, stream_, sink_, nonText_);
  }

  TransferOptions options_{kDisplay};
  MemoryStream stream_;
  bool nonText_ = true;
};

TEST_F(TransferTest, AnswerIsReceivedWholeAndTerminated) {
  LoopbackServer server;
  const std::string body(25000, 'b');
  server.Enqueue(PageAnswer(body));

  EXPECT_TRUE(Transfer(server.HostPort()));

  EXPECT_EQ(stream_.Bytes(), PageAnswer(body).Bytes + std::string(1, '\0'));
  EXPECT_EQ(stream_.Position(), 0u);
  EXPECT_FALSE(nonText_);
  ASSERT_EQ(server.RequestCount(), 1u);
  EXPECT_EQ(server.Requests()[0].Bytes, kRequest);
  EXPECT_EQ(sink_.Statuses, (std::vector<std::string>{" Contacting host...", " Connected...",
                                                      " Transferring data..."}));
  ASSERT_FALSE(sink_.Progress.empty());
  EXPECT_EQ(sink_.Progress.front(), 0);
  EXPECT_EQ(sink_.Progress.back(), 100);
  EXPECT_TRUE(std::is_sorted(sink_.Progress.begin(), sink_.Progress.end()));
}

TEST_F(TransferTest, ProgressStepsByQuartersWithoutContentLength) {
  LoopbackServer server;
  Answer answer = MakeAnswer("HTTP/1.0 200 OK", {}, std::string(60, 'x'));
  answer.DripSize = 10;
  answer.DripPause = std::chrono::milliseconds(400);
  server.Enqueue(answer);

  EXPECT_TRUE(Transfer(server.HostPort()));

  EXPECT_EQ(stream_.Bytes(), answer.Bytes + std::string(1, '\0'));
  // The first report is the start; every chunk after the first steps once.
  ASSERT_GE(sink_.Progress.size(), 2u);
  for (std::size_t i = 1; i < sink_.Progress.size(); ++i)
    EXPECT_EQ(sink_.Progress[i], static_cast<int>((i - 1) % 5 * 25));
}

TEST_F(TransferTest, ServerClosingWithoutAnswerLeavesOneZeroByte) {
  LoopbackServer server;
  server.Enqueue(CloseAnswer());

  EXPECT_TRUE(Transfer(server.HostPort()));

  EXPECT_EQ(stream_.Bytes(), std::string(1, '\0'));
}

TEST_F(TransferTest, SilentServerEndsWithTheBusyPageAfterTheScaledWait) {
  const ScopedTimeScale scale("0.002");
  LoopbackServer server;
  server.Enqueue(SilentAnswer());

  EXPECT_TRUE(Transfer(server.HostPort()));

  EXPECT_EQ(stream_.Bytes(), Busy());
}

TEST_F(TransferTest, ServerStoppingMidAnswerEndsWithTheBusyPage) {
  const ScopedTimeScale scale("0.002");
  LoopbackServer server;
  Answer answer = PageAnswer(std::string(100, 'x'));
  answer.Bytes.resize(answer.Bytes.size() - 50);
  answer.HoldOpen = true;
  server.Enqueue(answer);

  EXPECT_TRUE(Transfer(server.HostPort()));

  EXPECT_EQ(stream_.Bytes(), Busy());
}

TEST_F(TransferTest, RefusedConnectionGivesTheBusyPage) {
  std::string endpoint;
  {
    RawListener closed(1);
    endpoint = closed.Endpoint();
  }

  EXPECT_TRUE(Transfer(endpoint));

  EXPECT_EQ(stream_.Bytes(), Busy());
}

TEST_F(TransferTest, UnknownHostGivesUnableToConnect) {
  EXPECT_FALSE(Transfer(std::string(257, 'h') + ":80"));
  EXPECT_EQ(stream_.Bytes(), UnableToConnect());
  EXPECT_FALSE(Transfer(":80"));
  EXPECT_EQ(stream_.Bytes(), UnableToConnect());
}

TEST_F(TransferTest, StopBeforeTheTransferSendsNothing) {
  LoopbackServer server;
  server.Enqueue(PageAnswer("never asked for"));
  RequestStop();

  EXPECT_FALSE(Transfer(server.HostPort()));

  EXPECT_EQ(stream_.Bytes(), Skipped());
  EXPECT_EQ(server.RequestCount(), 0u);
}

TEST_F(TransferTest, ContentTypeDecidesAcceptance) {
  struct Row {
    const char* type;
    bool images;
    bool otherFiles;
    bool accepted;
    bool nonText;
  };
  const Row rows[] = {
      {"text/html", false, false, true, false},
      {"TEXT/HTML", false, false, true, false},
      {"text/plain; charset=utf-8", false, false, true, false},
      {"image/gif", true, false, true, true},
      {"image/gif", false, true, true, true},
      {"image/gif", false, false, false, true},
      {"application/zip", true, false, false, true},
      {"application/zip", false, true, true, true},
      {"multipart/x-mixed-replace", true, true, false, true},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(std::string(row.type) + (row.images ? " images" : "") +
                 (row.otherFiles ? " other" : ""));
    LoopbackServer server;
    const Answer answer =
        MakeAnswer("HTTP/1.0 200 OK", {{"CONTENT-TYPE", row.type}}, "body\r\n\r\nmore");
    server.Enqueue(answer);
    options_.AcceptImages = row.images;
    options_.AcceptOtherFiles = row.otherFiles;
    stream_.Clear();

    EXPECT_EQ(Transfer(server.HostPort()), row.accepted);

    EXPECT_EQ(nonText_, row.nonText);
    if (row.accepted) {
      EXPECT_EQ(stream_.Bytes(), answer.Bytes + std::string(1, '\0'));
    } else {
      EXPECT_EQ(stream_.Bytes(), answer.Bytes);
    }
  }
}

// A header that arrives a few bytes at a time, split inside the status line, a field name and
// the empty line, is still read whole.
TEST_F(TransferTest, HeaderSplitOverManyChunksIsStillAnalysed) {
  LoopbackServer server;
  Answer answer = MakeAnswer("HTTP/1.0 200 OK", {{"Content-Type", "multipart/mixed"}}, "body");
  answer.DripSize = 3;
  server.Enqueue(answer);
  options_.AcceptOtherFiles = true;

  EXPECT_FALSE(Transfer(server.HostPort()));

  EXPECT_TRUE(nonText_);
}

TEST_F(TransferTest, ContentLengthFarBeyondWhatArrivesKeepsWhatCame) {
  LoopbackServer server;
  const Answer answer = MakeAnswer(
      "HTTP/1.0 200 OK", {{"Content-Length", "99999999999999999999999999"}}, "short body");
  server.Enqueue(answer);

  EXPECT_TRUE(Transfer(server.HostPort()));

  EXPECT_EQ(stream_.Bytes(), answer.Bytes + std::string(1, '\0'));
  for (int percent : sink_.Progress) {
    EXPECT_GE(percent, 0);
    EXPECT_LE(percent, 100);
  }
}

TEST_F(TransferTest, AnswerBeyondTheLimitGivesTheBusyPage) {
  LoopbackServer server;
  server.Enqueue(PageAnswer(std::string(200000, 'x')));
  options_.AnswerLimit = 100000;

  EXPECT_TRUE(Transfer(server.HostPort()));

  EXPECT_EQ(stream_.Bytes(), Busy());
}

// Cancellation during each blocking step. Time-outs are stretched a hundredfold, so a step that
// ignored the cancellation would hang far past the test's time limit.

class CancelTest : public TransferTest {
 protected:
  ScopedTimeScale stretched_{"100"};
};

// A listener with a backlog of 0 holds one connection that nobody accepts; further connects
// hang until the client gives up.
TEST_F(CancelTest, StopDuringConnectEndsWithTheSkippedPage) {
  RawListener full(0);
  const sockaddr_in address = full.Address();
  const int filler = socket(AF_INET, SOCK_STREAM, 0);
  ASSERT_EQ(connect(filler, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
  std::thread stopper([] {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    RequestStop();
  });

  const bool result = Transfer(full.Endpoint());
  stopper.join();
  close(filler);

  EXPECT_FALSE(result);
  EXPECT_EQ(stream_.Bytes(), Skipped());
  EXPECT_EQ(sink_.Statuses, std::vector<std::string>{" Contacting host..."});
}

// A request far larger than the socket buffers, to a peer that reads nothing, blocks in send.
TEST_F(CancelTest, SkipDuringSendEndsWithTheSkippedPage) {
  RawListener silent(1);
  std::thread skipper([&silent] {
    const int accepted = silent.Accept();
    int queued = 0;
    while (queued < 65536 && ioctl(accepted, FIONREAD, &queued) == 0)
      std::this_thread::yield();
    RequestSkip();
    close(accepted);
  });
  const std::string hugeRequest(64 << 20, 'r');

  const bool result = Transfer(silent.Endpoint(), hugeRequest);
  skipper.join();

  EXPECT_FALSE(result);
  EXPECT_EQ(stream_.Bytes(), Skipped());
}

TEST_F(CancelTest, SkipWhileWaitingForDataEndsWithTheSkippedPage) {
  LoopbackServer server([](const Request&) {
    RequestSkip();
    return SilentAnswer();
  });

  EXPECT_FALSE(Transfer(server.HostPort()));

  EXPECT_EQ(stream_.Bytes(), Skipped());
}

// Stops once the first chunk has been reported while the server holds the rest back.
class StopOnFirstChunk : public RecordingSink {
 public:
  void SetProgress(int percent) override {
    RecordingSink::SetProgress(percent);
    if (Statuses.size() == 3) RequestStop();
  }
};

TEST_F(CancelTest, StopDuringReceiveEndsWithTheSkippedPage) {
  LoopbackServer server;
  Answer answer = MakeAnswer("HTTP/1.0 200 OK", {{"Content-Length", "1000"}}, "first part");
  answer.HoldOpen = true;
  server.Enqueue(answer);
  StopOnFirstChunk sink;

  EXPECT_FALSE(TransferRequest(server.HostPort(), kRequest, options_, stream_, sink, nonText_));

  EXPECT_EQ(stream_.Bytes(), Skipped());
}

TEST(RetryBudgetTest, GrowsWithTheAttemptLevel) {
  struct Row {
    int level;
    int failedCalls;
    int waitSeconds;
  };
  const Row rows[] = {{5, 2, 5}, {10, 4, 10}, {15, 5, 15}, {20, 6, 20}, {25, 8, 25}, {40, 8, 40}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.level);
    const RetryBudget budget = RetryBudgetFor(row.level);
    EXPECT_EQ(budget.FailedCalls, row.failedCalls);
    EXPECT_EQ(budget.FirstDataWait, std::chrono::seconds(row.waitSeconds));
  }
}

TEST(SplitEndpointTest, PortDefaultsTo80) {
  struct Row {
    const char* endpoint;
    const char* host;
    int port;
  };
  const Row rows[] = {
      {"www.example.com", "www.example.com", 80},
      {"www.example.com:8080", "www.example.com", 8080},
      {"10.0.0.1:8080", "10.0.0.1", 8080},
      {"host:", "host", 80},
      {"host:abc", "host", 80},
      {"host:99999", "host", 80},
      {"host:81/path:82", "host", 81},
      {"host/path:82", "host", 80},
      {"", "", 80},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.endpoint);
    const HostPort split = SplitEndpoint(row.endpoint);
    EXPECT_EQ(split.Host, row.host);
    EXPECT_EQ(split.Port, row.port);
  }
}

}  // namespace
}  // namespace gl::test
