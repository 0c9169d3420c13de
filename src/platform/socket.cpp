#include "platform/socket.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>

#include "platform/cancellation.h"
#include "platform/internal/stream_socket.h"

namespace gl {
namespace {

using Clock = std::chrono::steady_clock;

// Four groups of decimal digits separated by three dots; a group may be empty.
bool IsDottedDecimal(std::string_view host) {
  int dots = 0;
  for (char byte : host) {
    if (byte == '.') {
      ++dots;
    } else if (byte < '0' || byte > '9') {
      return false;
    }
  }
  return dots == 3;
}

std::optional<std::uint32_t> LookUp(const std::string& host) {
  addrinfo hints{};
  hints.ai_family = AF_INET;
  hints.ai_socktype = SOCK_STREAM;
  addrinfo* found = nullptr;
  if (getaddrinfo(host.c_str(), nullptr, &hints, &found) != 0 || found == nullptr) {
    return std::nullopt;
  }
  const auto* address = reinterpret_cast<const sockaddr_in*>(found->ai_addr);
  const std::uint32_t result = address->sin_addr.s_addr;
  freeaddrinfo(found);
  return result;
}

SocketError ErrorFromErrno(int error) {
  switch (error) {
    case ECONNABORTED:
      return SocketError::Aborted;
    case ETIMEDOUT:
      return SocketError::TimedOut;
    default:
      return SocketError::Failed;
  }
}

void SetOption(int fd, int level, int name, const void* value, socklen_t size) {
  static_cast<void>(setsockopt(fd, level, name, value, size));
}

}  // namespace

std::optional<std::uint32_t> ResolveHost(std::string_view host) {
  if (host.empty() || host.size() > kMaxHostNameLength) return std::nullopt;
  if (host.find('\0') != std::string_view::npos) return std::nullopt;
  const std::string name(host);
  if (IsDottedDecimal(name)) {
    const in_addr_t converted = inet_addr(name.c_str());
    if (converted != INADDR_NONE) return converted;
  }
  return LookUp(name);
}

TcpSocket::TcpSocket() : fd_(OpenStreamSocket()) {}

TcpSocket::~TcpSocket() {
  if (fd_ >= 0) close(fd_);
}

void TcpSocket::SetTransferOptions(std::chrono::milliseconds timeout) {
  const int receiveBuffer = 32000;
  const timeval wait{static_cast<time_t>(timeout.count() / 1000),
                     static_cast<suseconds_t>(timeout.count() % 1000 * 1000)};
  const int on = 1;
  SetOption(fd_, SOL_SOCKET, SO_RCVBUF, &receiveBuffer, sizeof receiveBuffer);
  SetOption(fd_, SOL_SOCKET, SO_SNDTIMEO, &wait, sizeof wait);
  SetOption(fd_, SOL_SOCKET, SO_RCVTIMEO, &wait, sizeof wait);
  SetOption(fd_, SOL_SOCKET, SO_KEEPALIVE, &on, sizeof on);
  SetOption(fd_, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
}

SocketError TcpSocket::WaitFor(short events, std::chrono::milliseconds timeout) {
  const auto deadline = Clock::now() + timeout;
  for (;;) {
    pollfd watched[2] = {{CancellationFd(), POLLIN, 0}, {fd_, events, 0}};
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
    const int ready = poll(watched, 2, static_cast<int>(std::max<long long>(left.count(), 0)));
    if (ready < 0) {
      if (errno == EINTR) continue;
      return SocketError::Failed;
    }
    // A pending cancellation wins even when the socket is ready too.
    if (watched[0].revents != 0) return SocketError::Cancelled;
    // Errors and hang-ups are reported by the call that follows.
    if (watched[1].revents != 0) return SocketError::None;
    if (ready == 0 && Clock::now() >= deadline) return SocketError::TimedOut;
  }
}

SocketError TcpSocket::Connect(std::uint32_t address, std::uint16_t port,
                               std::chrono::milliseconds timeout) {
  sockaddr_in target{};
  target.sin_family = AF_INET;
  target.sin_port = htons(port);
  target.sin_addr.s_addr = address;
  if (connect(fd_, reinterpret_cast<const sockaddr*>(&target), sizeof target) == 0) {
    return SocketError::None;
  }
  if (errno != EINPROGRESS && errno != EINTR) return ErrorFromErrno(errno);
  if (const SocketError waited = WaitFor(POLLOUT, timeout); waited != SocketError::None) {
    return waited;
  }
  int error = 0;
  socklen_t size = sizeof error;
  if (getsockopt(fd_, SOL_SOCKET, SO_ERROR, &error, &size) != 0) return SocketError::Failed;
  return error == 0 ? SocketError::None : ErrorFromErrno(error);
}

SocketError TcpSocket::Send(std::string_view data, std::chrono::milliseconds timeout) {
  while (!data.empty()) {
    const ssize_t sent = send(fd_, data.data(), data.size(), NoSignalSendFlags());
    if (sent >= 0) {
      data.remove_prefix(static_cast<std::size_t>(sent));
      continue;
    }
    if (errno == EINTR) continue;
    if (errno != EAGAIN && errno != EWOULDBLOCK) return ErrorFromErrno(errno);
    if (const SocketError waited = WaitFor(POLLOUT, timeout); waited != SocketError::None) {
      return waited;
    }
  }
  return SocketError::None;
}

SocketError TcpSocket::WaitReadable(std::chrono::milliseconds timeout) {
  return WaitFor(POLLIN, timeout);
}

TcpSocket::ReceiveResult TcpSocket::Receive(char* buffer, std::size_t size,
                                            std::chrono::milliseconds timeout) {
  // Data that has already arrived is taken without a wait; only an empty socket blocks.
  for (;;) {
    const ssize_t received = recv(fd_, buffer, size, 0);
    if (received >= 0) return {static_cast<long>(received), SocketError::None};
    if (errno == EINTR) continue;
    if (errno != EAGAIN && errno != EWOULDBLOCK) return {-1, ErrorFromErrno(errno)};
    if (const SocketError waited = WaitFor(POLLIN, timeout); waited != SocketError::None) {
      return {-1, waited};
    }
  }
}

}  // namespace gl
