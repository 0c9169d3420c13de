#include "platform/socket.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <unistd.h>

#include <thread>

#include "platform/cancellation.h"
#include "support/raw_listener.h"

namespace gl {
namespace {

using std::chrono::milliseconds;
using test::RawListener;

// Long enough that a step which ignored a cancellation would hang far past the test's limit.
constexpr milliseconds kHour{60 * 60 * 1000};

TEST(ResolveHostTest, DottedAddressesConvertAndBadHostsAreUnknown) {
  struct Row {
    std::string host;
    std::optional<std::uint32_t> address;  // host byte order
  };
  const Row rows[] = {
      {"127.0.0.1", 0x7f000001},
      {"10.1.2.3", 0x0a010203},
      {"010.0.0.1", 0x08000001},  // octal groups, as the classic converter reads them
      {"localhost", 0x7f000001},
      {"", std::nullopt},
      {std::string("127.0.0.1\0.evil", 15), std::nullopt},
      {std::string(257, 'a'), std::nullopt},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.host);
    const auto address = ResolveHost(row.host);
    ASSERT_EQ(address.has_value(), row.address.has_value());
    if (address) {
      EXPECT_EQ(ntohl(*address), *row.address);
    }
  }
}

class SocketTest : public ::testing::Test {
 protected:
  void TearDown() override {
    ClearStop();
    ClearSkip();
  }

  // Connects `socket` to `listener` and returns the accepted end.
  int ConnectPair(TcpSocket& socket, const RawListener& listener) {
    EXPECT_EQ(socket.Connect(htonl(INADDR_LOOPBACK), listener.Port(), kHour), SocketError::None);
    return listener.Accept();
  }
};

TEST_F(SocketTest, SendsEverythingAndReceivesUntilThePeerCloses) {
  RawListener listener(1);
  TcpSocket socket;
  ASSERT_TRUE(socket.IsOpen());
  socket.SetTransferOptions(milliseconds(32000));
  const int peer = ConnectPair(socket, listener);
  const std::string request(8 << 20, 'q');

  std::string arrived;
  std::thread reader([&] {
    char block[65536];
    while (arrived.size() < request.size()) {
      const ssize_t count = recv(peer, block, sizeof block, 0);
      if (count <= 0) break;
      arrived.append(block, static_cast<std::size_t>(count));
    }
    send(peer, "answer", 6, 0);
    shutdown(peer, SHUT_WR);
  });
  EXPECT_EQ(socket.Send(request, kHour), SocketError::None);
  reader.join();

  EXPECT_EQ(arrived, request);
  EXPECT_EQ(socket.WaitReadable(kHour), SocketError::None);
  char buffer[100];
  const auto first = socket.Receive(buffer, sizeof buffer, kHour);
  EXPECT_EQ(std::string(buffer, static_cast<std::size_t>(std::max(first.Count, 0L))), "answer");
  const auto end = socket.Receive(buffer, sizeof buffer, kHour);
  EXPECT_EQ(end.Count, 0);
  EXPECT_EQ(end.Error, SocketError::None);
  close(peer);
}

TEST_F(SocketTest, WaitForSilentPeerTimesOut) {
  RawListener listener(1);
  TcpSocket socket;
  const int peer = ConnectPair(socket, listener);

  EXPECT_EQ(socket.WaitReadable(milliseconds(20)), SocketError::TimedOut);
  char buffer[10];
  EXPECT_EQ(socket.Receive(buffer, sizeof buffer, milliseconds(20)).Error, SocketError::TimedOut);
  close(peer);
}

TEST_F(SocketTest, ConnectToClosedPortFails) {
  std::uint16_t port = 0;
  {
    RawListener closed(1);
    port = closed.Port();
  }
  TcpSocket socket;
  EXPECT_EQ(socket.Connect(htonl(INADDR_LOOPBACK), port, kHour), SocketError::Failed);
}

TEST_F(SocketTest, PendingCancellationEndsEveryBlockingStepAtOnce) {
  RawListener listener(1);
  TcpSocket socket;
  const int peer = ConnectPair(socket, listener);
  RequestSkip();

  char buffer[10];
  EXPECT_EQ(socket.WaitReadable(kHour), SocketError::Cancelled);
  EXPECT_EQ(socket.Receive(buffer, sizeof buffer, kHour).Error, SocketError::Cancelled);
  EXPECT_EQ(socket.Send(std::string(64 << 20, 's'), kHour), SocketError::Cancelled);
  close(peer);
}

TEST_F(SocketTest, CancellationFromAnotherThreadEndsAWait) {
  RawListener listener(1);
  TcpSocket socket;
  const int peer = ConnectPair(socket, listener);
  std::thread canceller([] {
    std::this_thread::sleep_for(milliseconds(20));
    RequestStop();
  });

  EXPECT_EQ(socket.WaitReadable(kHour), SocketError::Cancelled);
  canceller.join();
  close(peer);
}

// With a backlog of 0 the listener holds one unaccepted connection; the next connect hangs.
TEST_F(SocketTest, CancellationEndsAHangingConnect) {
  RawListener full(0);
  TcpSocket filler;
  ASSERT_EQ(filler.Connect(htonl(INADDR_LOOPBACK), full.Port(), kHour), SocketError::None);
  std::thread canceller([] {
    std::this_thread::sleep_for(milliseconds(20));
    RequestStop();
  });

  TcpSocket socket;
  EXPECT_EQ(socket.Connect(htonl(INADDR_LOOPBACK), full.Port(), kHour), SocketError::Cancelled);
  canceller.join();
}

TEST_F(SocketTest, ClearedFlagsLetStepsBlockAgain) {
  RawListener listener(1);
  TcpSocket socket;
  const int peer = ConnectPair(socket, listener);
  RequestStop();
  ClearStop();

  EXPECT_EQ(socket.WaitReadable(milliseconds(10)), SocketError::TimedOut);
  close(peer);
}

}  // namespace
}  // namespace gl
