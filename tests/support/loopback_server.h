#pragma once

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <utility>
#include <vector>

#include "support/raw_listener.h"
#include "support/server_link.h"

// A scriptable HTTP server on 127.0.0.1 for tests and benchmarks. It listens on a port the
// system picks, serves one connection at a time on its own thread (or, once ServeInParallel is
// called, each on one of a few threads of its own), and records every request.
// Answers come from a queue (protocol tests script each exchange) or, when the queue is empty,
// from a handler (a whole site served to the generator). With neither, the server closes the
// connection without answering.
//
// Given an identity, it serves HTTPS instead. It is then also its own proxy: a connection that
// begins with "CONNECT" has that request recorded and answered with "HTTP/1.0 200 Connection
// established" before TLS starts on it.

namespace gl::test {

// One request as received: everything up to and including the empty line that ends it.
struct Request {
  std::string Bytes;

  // "/a.htm" from "GET /a.htm HTTP/1.0".
  std::string Target() const;
  // The value of a header, found by name in any letter case; empty when absent.
  std::string Header(std::string_view name) const;
};

// What the server does with one request: it sends Bytes exactly as they are (none: it closes at
// once) and closes. Pauses pass through GLEANER_LIGHT_TIME_SCALE, so tests that shrink time-outs
// shrink them too.
struct Answer {
  std::string Bytes;
  // Above 0: Bytes go out in pieces of this size with DripPause between them.
  std::size_t DripSize = 0;
  std::chrono::milliseconds DripPause{0};
  // After sending, keep the connection open until the client closes it.
  bool HoldOpen = false;
  // The time to the first byte: the server waits this long (or until the client closes) first.
  std::chrono::milliseconds FirstByteDelay{0};
};

// A complete answer: status line, headers in order, an empty line, the body.
Answer MakeAnswer(std::string_view statusLine,
                  const std::vector<std::pair<std::string, std::string>>& headers,
                  std::string_view body);
// "HTTP/1.0 200 OK" with a Content-Type and Content-Length.
Answer PageAnswer(std::string_view body, std::string_view contentType = "text/html");
// "HTTP/1.0 <code> Moved" with a Location.
Answer RedirectAnswer(int code, std::string_view location);
// "HTTP/1.0 <code> Status" with a short body.
Answer StatusAnswer(int code);
// Closes the connection without a byte.
inline Answer CloseAnswer() {
  return {};
}
// Keeps the connection open and silent until the client gives up.
inline Answer SilentAnswer() {
  Answer answer;
  answer.HoldOpen = true;
  return answer;
}

class LoopbackServer {
 public:
  using Handler = std::function<Answer(const Request&)>;

  explicit LoopbackServer(Handler handler = {}, const ServerIdentity* tls = nullptr);
  LoopbackServer(const LoopbackServer&) = delete;
  LoopbackServer& operator=(const LoopbackServer&) = delete;
  // Ends promptly, also while a client hangs on or an answer is dripping.
  ~LoopbackServer();

  std::uint16_t Port() const { return listener_.Port(); }
  // "127.0.0.1:<port>"
  std::string HostPort() const { return listener_.Endpoint(); }
  // "http://127.0.0.1:<port>" + path ("https://" with an identity)
  std::string Address(std::string_view path = "/") const;

  // Serves up to kParallelConnections connections at once from now on.
  void ServeInParallel();

  void Enqueue(Answer answer);
  std::vector<Request> Requests() const;
  std::size_t RequestCount() const;
  // Connections accepted and not yet closed; the most there have been at once.
  std::size_t OpenConnections() const;
  std::size_t PeakConnections() const;

  static constexpr std::size_t kParallelConnections = 32;

 private:
  void Serve();
  void ServeAccepted(int connection);
  // A parallel server's worker: takes accepted connections until the server stops.
  void ServeQueued();
  void ServeConnection(ServerLink& link);
  // Takes a proxy's CONNECT if one comes first, then does the TLS handshake.
  bool StartTls(ServerLink& link);
  bool ReadRequest(ServerLink& link, Request& request);
  void Record(const Request& request);
  Answer NextAnswer(const Request& request);
  bool SendAnswer(ServerLink& link, const Answer& answer);
  // Waits until `fd` shows one of `events` or `timeout` passes; false when the server stops.
  bool WaitFor(int fd, short events, std::chrono::milliseconds timeout);
  void WaitForClientClose(ServerLink& link);

  Handler handler_;
  ServerTls tls_;
  RawListener listener_{64};
  int stopPipe_[2] = {-1, -1};
  mutable std::mutex mutex_;
  std::deque<Answer> queue_;
  std::vector<Request> requests_;
  std::size_t openConnections_ = 0;
  std::size_t peakConnections_ = 0;
  std::deque<int> accepted_;  // waiting for a parallel worker
  std::condition_variable acceptedReady_;
  bool stopping_ = false;
  std::vector<std::thread> workers_;
  std::thread thread_;
};

}  // namespace gl::test
