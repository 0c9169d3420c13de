#pragma once

#include <chrono>
#include <cstddef>
#include <string>
#include <string_view>

#include "platform/socket.h"

// TLS client sessions (OpenSSL) over a connected TcpSocket. OpenSSL never touches the socket
// itself: every byte it wants to send or receive goes through the socket's own steps, so a
// session waits, times out and is cancelled exactly as a plain transfer is.
//
//   TlsSession session(socket);
//   const TlsHandshake shake = session.Handshake("www.example.com", timeout);
//   if (shake.Error == SocketError::None) session.Send(request, timeout);

typedef struct ssl_st SSL;
typedef struct bio_st BIO;

namespace gl {

// How a handshake ended.
struct TlsHandshake {
  SocketError Error = SocketError::None;
  // Why the server's certificate was refused, in OpenSSL's words ("certificate has expired");
  // empty when it was not. Error is then Failed.
  std::string Refusal;
};

class TlsSession : public ByteChannel {
 public:
  // A client session over `socket`, which must stay open while the session lives.
  explicit TlsSession(TcpSocket& socket);
  TlsSession(const TlsSession&) = delete;
  TlsSession& operator=(const TlsSession&) = delete;
  ~TlsSession() override;

  // TLS 1.2 or later with the server `host`, a name or an IPv4 address. A name goes out as the
  // server name indication. The server's certificate chain must lead to one of OpenSSL's default
  // trust store (the system's, or SSL_CERT_FILE and SSL_CERT_DIR when they are set), and the
  // certificate must name `host`. Each wait for the server lasts at most `timeout`.
  TlsHandshake Handshake(std::string_view host, std::chrono::milliseconds timeout);

  SocketError Send(std::string_view data, std::chrono::milliseconds timeout) override;
  SocketError WaitReadable(std::chrono::milliseconds timeout) override;
  // A server that ends the connection without TLS's closing message has still closed it: HTTP/1.0
  // marks the end of an answer that way, and a body cut short shows against its Content-Length.
  ReceiveResult Receive(char* buffer, std::size_t size, std::chrono::milliseconds timeout) override;

 private:
  // Repeats one OpenSSL call until it completes: what OpenSSL has to send goes out over the
  // socket, and what it waits for is received from it. None also when the peer closed the
  // session (peerClosed_).
  template <typename Call>
  SocketError Drive(Call call, std::chrono::milliseconds timeout);
  SocketError SendPending(std::chrono::milliseconds timeout);
  SocketError ReceiveMore(std::chrono::milliseconds timeout);

  TcpSocket& socket_;
  SSL* ssl_ = nullptr;
  BIO* network_ = nullptr;   // OpenSSL's side of the wire, emptied into and filled from the socket
  bool peerClosed_ = false;  // the session has ended
  bool wireClosed_ = false;  // the socket has ended
};

}  // namespace gl
