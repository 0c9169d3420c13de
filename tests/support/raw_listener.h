#pragma once

#include <cstdint>
#include <string>

namespace gl::test {

// A listening socket on 127.0.0.1 that a test drives by hand: it accepts only when told to, so
// connections can queue up in the backlog or sit unread.
class RawListener {
 public:
  explicit RawListener(int backlog);
  RawListener(const RawListener&) = delete;
  RawListener& operator=(const RawListener&) = delete;
  ~RawListener();

  int Fd() const { return fd_; }
  std::uint16_t Port() const { return port_; }
  // "127.0.0.1:<port>"
  std::string Endpoint() const;
  // Accepts one connection (blocking, unless `flags` holds SOCK_NONBLOCK); the caller closes it.
  int Accept(int flags = 0) const;

 private:
  int fd_ = -1;
  std::uint16_t port_ = 0;
};

// A port on 127.0.0.1 where nothing listens: the system gave it to a listener that is closed
// again, so connecting there is refused.
std::uint16_t ClosedLoopbackPort();

}  // namespace gl::test
