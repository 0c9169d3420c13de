#pragma once

#include <sys/types.h>

#include <cstddef>
#include <memory>

#include "support/test_authority.h"

// The loopback server's side of one connection: plain bytes, or TLS once the handshake is done.
// The socket is non-blocking; every call returns at once, and -1 with errno EAGAIN means: wait
// until the socket shows Wanted(), then call again.

typedef struct ssl_st SSL;
typedef struct ssl_ctx_st SSL_CTX;

namespace gl::test {

// A server context presenting one identity.
using ServerTls = std::unique_ptr<SSL_CTX, void (*)(SSL_CTX*)>;
ServerTls MakeServerTls(const ServerIdentity& identity);

class ServerLink {
 public:
  explicit ServerLink(int fd) : fd_(fd) {}
  ServerLink(const ServerLink&) = delete;
  ServerLink& operator=(const ServerLink&) = delete;
  ~ServerLink();

  int Fd() const { return fd_; }
  // The poll event the last call that returned EAGAIN waits for.
  short Wanted() const { return wanted_; }

  // One step of the server's TLS handshake: 1 done, 0 failed, -1 (EAGAIN) not yet.
  int AcceptTls(SSL_CTX* context);

  // As recv and send, through TLS once it is on.
  ssize_t Receive(char* buffer, std::size_t size);
  ssize_t Send(const char* data, std::size_t size);

 private:
  // -1 with errno set from OpenSSL's verdict on a call that returned `result`.
  ssize_t Failed(int result);

  int fd_;
  SSL* ssl_ = nullptr;
  short wanted_ = 0;
};

}  // namespace gl::test
