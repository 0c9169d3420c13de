#include "platform/socket.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <unistd.h>

#include <optional>
#include <thread>
#include <tuple>

#include "platform/cancellation.h"
#include "support/loopback_server.h"

namespace gl {
namespace {

constexpr std::chrono::milliseconds kHour{60 * 60 * 1000};

TEST(ResolveHostTest, DottedAddressesConvertAndBadHostsAreUnknown) {
  const std::pair<std::string, std::optional<std::uint32_t>> rows[] = {
      {"127.0.0.1", 0x7f000001},
      {"010.0.0.1", 0x08000001},  // octal groups, as the classic converter reads them
      {"localhost", 0x7f000001},
      {"", std::nullopt},
      {std::string("127.0.0.1\0.evil", 15), std::nullopt},
      {std::string(257, 'a'), std::nullopt},
  };
  for (const auto& [host, expected] : rows) {
    SCOPED_TRACE(host);
    const auto address = ResolveHost(host);
    EXPECT_EQ(address ? std::optional(ntohl(*address)) : std::nullopt, expected);
  }
}

// With a cancellation pending, every step that would block returns at once with Cancelled: a
// connect to a listener whose backlog is full, a wait and a receive on a silent peer, and a send
// into a peer that reads nothing (the one connection that backlog took); each would otherwise wait
// out its hour. Once it is drained, a request far larger than the socket buffers goes out whole in
// many partial sends, and the answer is received until the peer closes.
TEST(TcpSocketTest, BlockingStepsEndWhenCancelledAndOtherwiseCarryEverything) {
  const test::RawListener backlogFull(0);
  TcpSocket first;
  ASSERT_EQ(first.Connect(htonl(INADDR_LOOPBACK), backlogFull.Port(), kHour), SocketError::None);
  const test::RawListener listener(1);
  TcpSocket socket;
  socket.SetTransferOptions(std::chrono::milliseconds(32000));
  ASSERT_EQ(socket.Connect(htonl(INADDR_LOOPBACK), listener.Port(), kHour), SocketError::None);
  const int peer = listener.Accept();

  CancelBlockingCall();
  TcpSocket waiting;
  EXPECT_EQ(waiting.Connect(htonl(INADDR_LOOPBACK), backlogFull.Port(), kHour),
            SocketError::Cancelled);
  EXPECT_EQ(first.WaitReadable(kHour), SocketError::Cancelled);
  char buffer[100];
  EXPECT_EQ(first.Receive(buffer, sizeof buffer, kHour).Error, SocketError::Cancelled);
  EXPECT_EQ(first.Send(std::string(64 << 20, 's'), kHour), SocketError::Cancelled);
  ClearStop();  // no flag is set: this drains the pending cancellation
  EXPECT_EQ(first.WaitReadable(std::chrono::milliseconds(1)), SocketError::TimedOut);

  const std::string request(8 << 20, 'q');
  std::string arrived;
  std::thread reader([&] {
    char block[65536];
    ssize_t count = 0;
    while (arrived.size() < request.size() && (count = recv(peer, block, sizeof block, 0)) > 0)
      arrived.append(block, static_cast<std::size_t>(count));
    send(peer, "answer", 6, 0);
    close(peer);
  });
  EXPECT_EQ(socket.Send(request, kHour), SocketError::None);
  reader.join();
  EXPECT_EQ(arrived, request);
  EXPECT_EQ(socket.WaitReadable(kHour), SocketError::None);
  ASSERT_EQ(socket.Receive(buffer, sizeof buffer, kHour).Count, 6);
  EXPECT_EQ(std::string(buffer, 6), "answer");
  const auto end = socket.Receive(buffer, sizeof buffer, kHour);
  EXPECT_EQ(std::tie(end.Count, end.Error), std::make_tuple(0, SocketError::None));
}

}  // namespace
}  // namespace gl
