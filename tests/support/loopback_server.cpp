#include "support/loopback_server.h"

#include <fcntl.h>
#include <openssl/ssl.h>
#include <poll.h>
#include <pthread.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <stdexcept>

#include "core/byte_text.h"
#include "platform/time_scale.h"

namespace gl::test {
namespace {

constexpr std::chrono::milliseconds kForever{-1};
// A request longer than this is cut off; the client under test never sends one.
constexpr std::size_t kMaxRequestBytes = std::size_t{16} << 20;
// The first byte of a TLS connection: a handshake record.
constexpr char kTlsHandshakeRecord = 0x16;
// How the server, as a proxy, accepts a CONNECT.
constexpr std::string_view kTunnelOpen = "HTTP/1.0 200 Connection established\r\n\r\n";

std::string ReasonFor(int code) {
  return code == 200 ? "OK" : code / 100 == 3 ? "Moved" : "Status";
}

// Whether the client has closed (or reset) a connection whose request has been read.
bool ClientClosed(int fd) {
  char byte = 0;
  const ssize_t received = recv(fd, &byte, 1, MSG_PEEK | MSG_DONTWAIT);
  return received == 0 || (received < 0 && errno != EAGAIN && errno != EINTR);
}

}  // namespace

std::string Request::Target() const {
  const std::size_t start = Bytes.find(' ');
  if (start == std::string::npos) return {};
  const std::size_t end = Bytes.find_first_of(" \r\n", start + 1);
  return Bytes.substr(start + 1, end == std::string::npos ? end : end - start - 1);
}

std::string Request::Header(std::string_view name) const {
  const std::string pattern = "\n" + LowerAscii(name) + ":";
  const std::size_t at = FindNoCase(Bytes, pattern);
  if (at == std::string::npos) return {};
  std::size_t start = at + pattern.size();
  while (start < Bytes.size() && Bytes[start] == ' ')
    ++start;
  const std::size_t end = Bytes.find_first_of("\r\n", start);
  return Bytes.substr(start, end == std::string::npos ? end : end - start);
}

Answer MakeAnswer(std::string_view statusLine,
                  const std::vector<std::pair<std::string, std::string>>& headers,
                  std::string_view body) {
  Answer answer;
  answer.Bytes = std::string(statusLine) + "\r\n";
  for (const auto& [name, value] : headers)
    answer.Bytes += name + ": " + value + "\r\n";
  answer.Bytes += "\r\n";
  answer.Bytes += body;
  return answer;
}

Answer PageAnswer(std::string_view body, std::string_view contentType) {
  return MakeAnswer(
      "HTTP/1.0 200 OK",
      {{"Content-Type", std::string(contentType)}, {"Content-Length", std::to_string(body.size())}},
      body);
}

Answer RedirectAnswer(int code, std::string_view location) {
  return MakeAnswer("HTTP/1.0 " + std::to_string(code) + " " + ReasonFor(code),
                    {{"Location", std::string(location)}}, "");
}

Answer StatusAnswer(int code) {
  return MakeAnswer("HTTP/1.0 " + std::to_string(code) + " " + ReasonFor(code),
                    {{"Content-Type", "text/html"}}, "<html>status</html>");
}

LoopbackServer::LoopbackServer(Handler handler, const ServerIdentity* tls)
    : handler_(std::move(handler)),
      tls_(tls != nullptr ? MakeServerTls(*tls) : ServerTls(nullptr, SSL_CTX_free)) {
  if (pipe2(stopPipe_, O_CLOEXEC) != 0) throw std::runtime_error("loopback server: no pipe");
  thread_ = std::thread([this] { Serve(); });
}

LoopbackServer::~LoopbackServer() {
  const char byte = 1;
  while (write(stopPipe_[1], &byte, 1) < 0 && errno == EINTR) {
  }
  thread_.join();
  {
    const std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  acceptedReady_.notify_all();
  for (std::thread& worker : workers_)
    worker.join();
  for (int connection : accepted_)
    close(connection);
  close(stopPipe_[0]);
  close(stopPipe_[1]);
}

std::string LoopbackServer::Address(std::string_view path) const {
  return (tls_ ? "https://" : "http://") + HostPort() + std::string(path);
}

void LoopbackServer::Enqueue(Answer answer) {
  const std::lock_guard lock(mutex_);
  queue_.push_back(std::move(answer));
}

std::vector<Request> LoopbackServer::Requests() const {
  const std::lock_guard lock(mutex_);
  return requests_;
}

std::size_t LoopbackServer::RequestCount() const {
  const std::lock_guard lock(mutex_);
  return requests_.size();
}

std::size_t LoopbackServer::OpenConnections() const {
  const std::lock_guard lock(mutex_);
  return openConnections_;
}

std::size_t LoopbackServer::PeakConnections() const {
  const std::lock_guard lock(mutex_);
  return peakConnections_;
}

void LoopbackServer::ServeInParallel() {
  const std::lock_guard lock(mutex_);
  while (workers_.size() < kParallelConnections)
    workers_.emplace_back([this] { ServeQueued(); });
}

bool LoopbackServer::WaitFor(int fd, short events, std::chrono::milliseconds timeout) {
  pollfd watched[2] = {{stopPipe_[0], POLLIN, 0}, {fd, events, 0}};
  const int count = fd < 0 ? 1 : 2;
  for (;;) {
    const int ready = poll(watched, count, static_cast<int>(timeout.count()));
    if (ready < 0 && errno == EINTR) continue;
    return ready >= 0 && watched[0].revents == 0;
  }
}

void LoopbackServer::Serve() {
  // OpenSSL writes to the socket without MSG_NOSIGNAL: a client that has gone away must not end
  // the test program with SIGPIPE.
  sigset_t pipe;
  sigemptyset(&pipe);
  sigaddset(&pipe, SIGPIPE);
  pthread_sigmask(SIG_BLOCK, &pipe, nullptr);
  while (WaitFor(listener_.Fd(), POLLIN, kForever)) {
    const int connection = listener_.Accept(SOCK_NONBLOCK);
    if (connection < 0) continue;
    bool parallel = false;
    {
      const std::lock_guard lock(mutex_);
      peakConnections_ = std::max(peakConnections_, ++openConnections_);
      parallel = !workers_.empty();
      if (parallel) accepted_.push_back(connection);
    }
    if (parallel) {
      acceptedReady_.notify_one();
    } else {
      ServeAccepted(connection);
    }
  }
}

void LoopbackServer::ServeQueued() {
  sigset_t pipe;
  sigemptyset(&pipe);
  sigaddset(&pipe, SIGPIPE);
  pthread_sigmask(SIG_BLOCK, &pipe, nullptr);
  for (;;) {
    std::unique_lock lock(mutex_);
    acceptedReady_.wait(lock, [this] { return stopping_ || !accepted_.empty(); });
    if (stopping_) return;
    const int connection = accepted_.front();
    accepted_.pop_front();
    lock.unlock();
    ServeAccepted(connection);
  }
}

void LoopbackServer::ServeAccepted(int connection) {
  {
    ServerLink link(connection);
    ServeConnection(link);
  }
  // Counted as closed first: a client that sees the close may connect again at once, and the
  // count must never show more connections than the client has open.
  {
    const std::lock_guard lock(mutex_);
    --openConnections_;
  }
  close(connection);
}

void LoopbackServer::ServeConnection(ServerLink& link) {
  if (tls_ && !StartTls(link)) return;
  Request request;
  if (!ReadRequest(link, request)) return;
  Record(request);
  const Answer answer = NextAnswer(request);
  // A client that closes while it waits is gone: the wait ends, and with it the connection.
  if (answer.FirstByteDelay.count() > 0 &&
      (!WaitFor(link.Fd(), POLLIN, Scaled(answer.FirstByteDelay)) || ClientClosed(link.Fd()))) {
    return;
  }
  if (SendAnswer(link, answer) && answer.HoldOpen) WaitForClientClose(link);
}

bool LoopbackServer::StartTls(ServerLink& link) {
  char first = 0;
  if (!WaitFor(link.Fd(), POLLIN, kForever)) return false;
  if (recv(link.Fd(), &first, 1, MSG_PEEK) == 1 && first != kTlsHandshakeRecord) {
    Request tunnel;
    if (!ReadRequest(link, tunnel)) return false;
    Record(tunnel);
    if (!SendAnswer(link, Answer{std::string(kTunnelOpen)})) return false;
  }
  for (;;) {
    const int step = link.AcceptTls(tls_.get());
    if (step >= 0) return step == 1;
    if (!WaitFor(link.Fd(), link.Wanted(), kForever)) return false;
  }
}

bool LoopbackServer::ReadRequest(ServerLink& link, Request& request) {
  char block[4096];
  while (request.Bytes.find("\r\n\r\n") == std::string::npos &&
         request.Bytes.find("\n\n") == std::string::npos &&
         request.Bytes.size() < kMaxRequestBytes) {
    const ssize_t received = link.Receive(block, sizeof block);
    if (received < 0 && errno == EINTR) continue;
    if (received < 0 && errno == EAGAIN) {
      if (!WaitFor(link.Fd(), link.Wanted(), kForever)) return false;
      continue;
    }
    if (received <= 0) return !request.Bytes.empty();
    request.Bytes.append(block, static_cast<std::size_t>(received));
  }
  return true;
}

void LoopbackServer::Record(const Request& request) {
  const std::lock_guard lock(mutex_);
  requests_.push_back(request);
}

Answer LoopbackServer::NextAnswer(const Request& request) {
  {
    const std::lock_guard lock(mutex_);
    if (!queue_.empty()) {
      Answer answer = std::move(queue_.front());
      queue_.pop_front();
      return answer;
    }
  }
  return handler_ ? handler_(request) : CloseAnswer();
}

bool LoopbackServer::SendAnswer(ServerLink& link, const Answer& answer) {
  std::string_view rest = answer.Bytes;
  const std::size_t piece = answer.DripSize > 0 ? answer.DripSize : rest.size();
  while (!rest.empty()) {
    std::string_view part = rest.substr(0, piece);
    rest.remove_prefix(part.size());
    while (!part.empty()) {
      const ssize_t sent = link.Send(part.data(), part.size());
      if (sent < 0 && errno == EINTR) continue;
      if (sent < 0 && errno == EAGAIN) {
        if (!WaitFor(link.Fd(), link.Wanted(), kForever)) return false;
        continue;
      }
      if (sent <= 0) return false;  // the client went away
      part.remove_prefix(static_cast<std::size_t>(sent));
    }
    if (!rest.empty() && !WaitFor(-1, 0, Scaled(answer.DripPause))) return false;
  }
  return true;
}

void LoopbackServer::WaitForClientClose(ServerLink& link) {
  char block[4096];
  for (;;) {
    const ssize_t received = link.Receive(block, sizeof block);
    if (received == 0 || (received < 0 && errno != EINTR && errno != EAGAIN)) return;
    if (received < 0 && errno == EAGAIN && !WaitFor(link.Fd(), link.Wanted(), kForever)) return;
  }
}

}  // namespace gl::test
