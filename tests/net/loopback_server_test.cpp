#include "support/loopback_server.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <unistd.h>

#include "support/scoped_time_scale.h"

namespace gl::test {
namespace {

// A plain client: connects, sends `request`, and reads until the server closes.
class Client {
 public:
  explicit Client(std::uint16_t port) : fd_(socket(AF_INET, SOCK_STREAM, 0)) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(port);
    EXPECT_EQ(connect(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
  }
  Client(const Client&) = delete;
  Client& operator=(const Client&) = delete;
  ~Client() { close(fd_); }

  void Send(std::string_view request) {
    EXPECT_EQ(send(fd_, request.data(), request.size(), 0), static_cast<ssize_t>(request.size()));
  }
  std::string ReadAll() {
    std::string answer;
    char block[4096];
    for (ssize_t count; (count = recv(fd_, block, sizeof block, 0)) > 0;)
      answer.append(block, static_cast<std::size_t>(count));
    return answer;
  }

 private:
  int fd_;
};

TEST(LoopbackServerTest, QueueGoesBeforeTheHandlerAndRequestsAreRecorded) {
  LoopbackServer server([](const Request& request) { return PageAnswer(request.Target()); });
  server.Enqueue(StatusAnswer(404));
  {
    Client first(server.Port());
    first.Send("GET /one HTTP/1.0\r\nHost: h\r\n\r\n");
    EXPECT_EQ(first.ReadAll(), StatusAnswer(404).Bytes);
  }
  Client second(server.Port());
  second.Send("GET /two HTTP/1.0\nX-Name:  value\n\n");
  EXPECT_EQ(second.ReadAll(), PageAnswer("/two").Bytes);

  const auto requests = server.Requests();
  ASSERT_EQ(requests.size(), 2u);
  EXPECT_EQ(requests[0].Bytes, "GET /one HTTP/1.0\r\nHost: h\r\n\r\n");
  EXPECT_EQ(requests[0].Header("HOST"), "h");
  EXPECT_EQ(requests[1].Header("x-name"), "value");
  EXPECT_EQ(requests[1].Header("missing"), "");
}

TEST(LoopbackServerTest, DripSendsEveryByte) {
  const ScopedTimeScale scale("0.001");
  LoopbackServer server;
  Answer answer = PageAnswer(std::string(1000, 'd'));
  answer.DripSize = 7;
  answer.DripPause = std::chrono::milliseconds(1000);
  server.Enqueue(answer);
  Client client(server.Port());
  client.Send("GET / HTTP/1.0\r\n\r\n");
  EXPECT_EQ(client.ReadAll(), answer.Bytes);
}

// The destructor must not wait for a client that hangs on, nor sit out a long delay.
TEST(LoopbackServerTest, EndsPromptlyWhileAClientHangsOrAnAnswerIsDelayed) {
  for (const bool silent : {true, false}) {
    SCOPED_TRACE(silent ? "silent" : "delayed");
    auto server = std::make_unique<LoopbackServer>();
    Answer answer = silent ? SilentAnswer() : PageAnswer("late");
    answer.Delay = std::chrono::hours(1);
    server->Enqueue(answer);
    Client client(server->Port());
    client.Send("GET / HTTP/1.0\r\n\r\n");
    while (server->RequestCount() == 0)
      std::this_thread::yield();
    server.reset();
    EXPECT_EQ(client.ReadAll(), "");
  }
}

}  // namespace
}  // namespace gl::test
