#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// TCP over IPv4 for the page transfer. Every step that can block (connect, send, the wait for
// data, receive) also watches the cancellation descriptor, so Stop or Skip from another thread
// makes it return at once with SocketError::Cancelled.

namespace gl {

// How a socket step ended.
enum class SocketError {
  None,
  Cancelled,  // a cancellation is pending
  TimedOut,
  Aborted,  // the connection was aborted locally (ECONNABORTED); the step may be tried again
  Failed,   // any other failure
};

// The longest host name the transfer looks up.
inline constexpr std::size_t kMaxHostNameLength = 256;

// The IPv4 address of a host, in network byte order. Four groups of decimal digits separated by
// dots convert without a look-up; anything else, and a dotted form that does not convert, goes
// to the resolver, whose first address counts. Empty when the host is unknown, empty, or longer
// than kMaxHostNameLength bytes. The look-up itself cannot be cancelled.
std::optional<std::uint32_t> ResolveHost(std::string_view host);

// A connected byte stream that a transfer talks over: a plain socket, or a TLS session on one.
class ByteChannel {
 public:
  struct ReceiveResult {
    long Count = 0;  // bytes received; 0 when the peer closed; -1 on error
    SocketError Error = SocketError::None;
  };

  virtual ~ByteChannel() = default;

  // Sends every byte, waiting at most `timeout` each time the channel cannot take more.
  virtual SocketError Send(std::string_view data, std::chrono::milliseconds timeout) = 0;

  // Waits until data (or the peer's close) can be read.
  virtual SocketError WaitReadable(std::chrono::milliseconds timeout) = 0;

  // Receives at most `size` bytes, waiting at most `timeout` when none have arrived yet.
  virtual ReceiveResult Receive(char* buffer, std::size_t size,
                                std::chrono::milliseconds timeout) = 0;
};

class TcpSocket : public ByteChannel {
 public:
  // Creates the socket; IsOpen() tells whether that worked.
  TcpSocket();
  TcpSocket(const TcpSocket&) = delete;
  TcpSocket& operator=(const TcpSocket&) = delete;
  ~TcpSocket() override;

  bool IsOpen() const { return fd_ >= 0; }

  // Receive buffer 32000 bytes, send and receive time-outs `timeout`, keep-alive on, Nagle off.
  // Results are not checked: a socket that refuses one still works.
  void SetTransferOptions(std::chrono::milliseconds timeout);

  SocketError Connect(std::uint32_t address, std::uint16_t port, std::chrono::milliseconds timeout);

  SocketError Send(std::string_view data, std::chrono::milliseconds timeout) override;
  SocketError WaitReadable(std::chrono::milliseconds timeout) override;
  ReceiveResult Receive(char* buffer, std::size_t size, std::chrono::milliseconds timeout) override;

 private:
  SocketError WaitFor(short events, std::chrono::milliseconds timeout);

  int fd_ = -1;
};

}  // namespace gl
