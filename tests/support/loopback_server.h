#pragma once

#include <chrono>
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

#include "support/test_authority.h"

// A scriptable HTTP server on 127.0.0.1: one connection at a time on its own thread (after
// ServeInParallel, several at once), every request recorded. Answers come from a queue, else from
// a handler, else the connection closes unanswered. Given an identity it serves HTTPS, and is its
// own proxy: a "CONNECT" first is recorded and answered "HTTP/1.0 200 Connection established".

typedef struct ssl_ctx_st SSL_CTX;

namespace gl::test {

class ServerLink;

// A listening socket on 127.0.0.1 that accepts only when told to.
class RawListener {
 public:
  explicit RawListener(int backlog);
  RawListener(const RawListener&) = delete;
  RawListener& operator=(const RawListener&) = delete;
  ~RawListener();

  int Fd() const { return fd_; }
  std::uint16_t Port() const { return port_; }
  std::string Endpoint() const { return "127.0.0.1:" + std::to_string(port_); }
  int Accept(int flags = 0) const;  // the caller closes the connection

 private:
  int fd_ = -1;
  std::uint16_t port_ = 0;
};

// A port on 127.0.0.1 where nothing listens: connecting there is refused.
std::uint16_t ClosedLoopbackPort();

// One request, up to and including the empty line that ends it.
struct Request {
  std::string Bytes;
  std::string Target() const;                       // "/a.htm" from "GET /a.htm HTTP/1.0"
  std::string Header(std::string_view name) const;  // empty when absent
};

// Bytes sent as they are, then the connection closes. Pauses are scaled as the client's time-outs.
struct Answer {
  std::string Bytes;
  std::size_t DripSize = 0;  // above 0: pieces of this size, DripPause apart
  std::chrono::milliseconds DripPause{0};
  std::chrono::milliseconds Delay{0};  // before the first byte, unless the client closes first
  bool HoldOpen = false;               // after sending, wait until the client closes
};

// Status line, headers in order, an empty line, the body.
Answer MakeAnswer(std::string_view statusLine,
                  const std::vector<std::pair<std::string, std::string>>& headers,
                  std::string_view body);
// "HTTP/1.0 200 OK" with a Content-Type and Content-Length.
Answer PageAnswer(std::string_view body, std::string_view contentType = "text/html");
// "HTTP/1.0 <code> Moved" with a Location.
Answer RedirectAnswer(int code, std::string_view location);
// "HTTP/1.0 <code> Status" with a short body.
Answer StatusAnswer(int code);
// Silent until the client gives up.
inline Answer SilentAnswer() {
  return {.Bytes = {}, .HoldOpen = true};
}

class LoopbackServer {
  template <typename Call>
  auto Locked(Call call) const {
    const std::lock_guard lock(mutex_);
    return call();
  }

 public:
  using Handler = std::function<Answer(const Request&)>;

  explicit LoopbackServer(Handler handler = {}, const ServerIdentity* tls = nullptr);
  LoopbackServer(const LoopbackServer&) = delete;
  LoopbackServer& operator=(const LoopbackServer&) = delete;
  // Ends promptly, also while a client hangs on or an answer is dripping.
  ~LoopbackServer();

  std::uint16_t Port() const { return listener_.Port(); }
  std::string HostPort() const { return listener_.Endpoint(); }  // "127.0.0.1:<port>"
  std::string Address(std::string_view path = "/") const;        // "http(s)://" + HostPort + path

  void Enqueue(Answer answer);
  std::vector<Request> Requests() const {
    return Locked([this] { return requests_; });
  }
  std::size_t RequestCount() const {
    return Locked([this] { return requests_.size(); });
  }
  // Connections accepted and not yet closed; the most there have been at once.
  std::size_t OpenConnections() const {
    return Locked([this] { return openConnections_; });
  }
  std::size_t PeakConnections() const {
    return Locked([this] { return peakConnections_; });
  }

  void ServeInParallel();  // up to 32 connections at once from now on

 private:
  void Serve();  // accepts and serves connections one after another until the server stops
  void ServeConnection(ServerLink& link);
  Answer NextAnswer(const Request& request);

  Handler handler_;
  std::unique_ptr<SSL_CTX, void (*)(SSL_CTX*)> tls_;
  RawListener listener_{64};
  int stopPipe_[2] = {-1, -1};
  mutable std::mutex mutex_;
  std::deque<Answer> queue_;
  std::vector<Request> requests_;
  std::size_t openConnections_ = 0;
  std::size_t peakConnections_ = 0;
  std::vector<std::thread> workers_;  // each serving as thread_ does
  std::thread thread_;
};

}  // namespace gl::test
