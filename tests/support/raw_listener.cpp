#include "support/raw_listener.h"

#include <arpa/inet.h>
#include <sys/socket.h>
#include <unistd.h>

#include <stdexcept>

namespace gl::test {

RawListener::RawListener(int backlog) : fd_(socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0)) {
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t size = sizeof address;
  if (fd_ < 0 || bind(fd_, reinterpret_cast<sockaddr*>(&address), size) != 0 ||
      listen(fd_, backlog) != 0 ||
      getsockname(fd_, reinterpret_cast<sockaddr*>(&address), &size) != 0) {
    throw std::runtime_error("raw listener: cannot listen on 127.0.0.1");
  }
  port_ = ntohs(address.sin_port);
}

RawListener::~RawListener() {
  close(fd_);
}

std::string RawListener::Endpoint() const {
  return "127.0.0.1:" + std::to_string(port_);
}

int RawListener::Accept(int flags) const {
  return accept4(fd_, nullptr, nullptr, SOCK_CLOEXEC | flags);
}

std::uint16_t ClosedLoopbackPort() {
  return RawListener(1).Port();
}

}  // namespace gl::test
