#include "support/loopback_server.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <stdexcept>

#include "core/byte_text.h"
#include "platform/time_scale.h"

namespace gl::test {
namespace {

constexpr std::chrono::milliseconds kForever{-1};
// A request longer than this is cut off; the client under test never sends one.
constexpr std::size_t kMaxRequestBytes = std::size_t{16} << 20;

std::string ReasonFor(int code) {
  return code == 200 ? "OK" : code / 100 == 3 ? "Moved" : "Status";
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

LoopbackServer::LoopbackServer(Handler handler) : handler_(std::move(handler)) {
  if (pipe2(stopPipe_, O_CLOEXEC) != 0) throw std::runtime_error("loopback server: no pipe");
  thread_ = std::thread([this] { Serve(); });
}

LoopbackServer::~LoopbackServer() {
  const char byte = 1;
  while (write(stopPipe_[1], &byte, 1) < 0 && errno == EINTR) {
  }
  thread_.join();
  close(stopPipe_[0]);
  close(stopPipe_[1]);
}

std::string LoopbackServer::Address(std::string_view path) const {
  return "http://" + HostPort() + std::string(path);
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
  while (WaitFor(listener_.Fd(), POLLIN, kForever)) {
    const int connection = listener_.Accept(SOCK_NONBLOCK);
    if (connection < 0) continue;
    ServeConnection(connection);
    close(connection);
  }
}

void LoopbackServer::ServeConnection(int connection) {
  Request request;
  if (!ReadRequest(connection, request)) return;
  {
    const std::lock_guard lock(mutex_);
    requests_.push_back(request);
  }
  const Answer answer = NextAnswer(request);
  if (SendAnswer(connection, answer) && answer.HoldOpen) WaitForClientClose(connection);
}

bool LoopbackServer::ReadRequest(int connection, Request& request) {
  char block[4096];
  while (request.Bytes.find("\r\n\r\n") == std::string::npos &&
         request.Bytes.find("\n\n") == std::string::npos &&
         request.Bytes.size() < kMaxRequestBytes) {
    if (!WaitFor(connection, POLLIN, kForever)) return false;
    const ssize_t received = recv(connection, block, sizeof block, 0);
    if (received < 0 && (errno == EINTR || errno == EAGAIN)) continue;
    if (received <= 0) return !request.Bytes.empty();
    request.Bytes.append(block, static_cast<std::size_t>(received));
  }
  return true;
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

bool LoopbackServer::SendAnswer(int connection, const Answer& answer) {
  std::string_view rest = answer.Bytes;
  const std::size_t piece = answer.DripSize > 0 ? answer.DripSize : rest.size();
  while (!rest.empty()) {
    std::string_view part = rest.substr(0, piece);
    rest.remove_prefix(part.size());
    while (!part.empty()) {
      if (!WaitFor(connection, POLLOUT, kForever)) return false;
      const ssize_t sent = send(connection, part.data(), part.size(), MSG_NOSIGNAL);
      if (sent < 0 && (errno == EINTR || errno == EAGAIN)) continue;
      if (sent < 0) return false;  // the client went away
      part.remove_prefix(static_cast<std::size_t>(sent));
    }
    if (!rest.empty() && !WaitFor(-1, 0, Scaled(answer.DripPause))) return false;
  }
  return true;
}

void LoopbackServer::WaitForClientClose(int connection) {
  char block[4096];
  while (WaitFor(connection, POLLIN, kForever)) {
    const ssize_t received = recv(connection, block, sizeof block, 0);
    if (received == 0 || (received < 0 && errno != EINTR && errno != EAGAIN)) return;
  }
}

}  // namespace gl::test
