#include "support/server_link.h"

#include <openssl/bio.h>
#include <openssl/err.h>
#include <openssl/pem.h>
#include <openssl/ssl.h>
#include <poll.h>
#include <sys/socket.h>

#include <cerrno>
#include <stdexcept>

namespace gl::test {

ServerTls MakeServerTls(const ServerIdentity& identity) {
  ServerTls context(SSL_CTX_new(TLS_server_method()), SSL_CTX_free);
  const auto pem = [](const std::string& text) {
    return std::unique_ptr<BIO, int (*)(BIO*)>(
        BIO_new_mem_buf(text.data(), static_cast<int>(text.size())), BIO_free);
  };
  X509* certificate =
      PEM_read_bio_X509(pem(identity.CertificatePem).get(), nullptr, nullptr, nullptr);
  EVP_PKEY* key = PEM_read_bio_PrivateKey(pem(identity.KeyPem).get(), nullptr, nullptr, nullptr);
  const bool ready = context && SSL_CTX_use_certificate(context.get(), certificate) == 1 &&
                     SSL_CTX_use_PrivateKey(context.get(), key) == 1;
  X509_free(certificate);
  EVP_PKEY_free(key);
  if (!ready) throw std::runtime_error("loopback server: no TLS context");
  // Sends return what fitted, as send() does.
  SSL_CTX_set_mode(context.get(), SSL_MODE_ENABLE_PARTIAL_WRITE);
  return context;
}

ServerLink::~ServerLink() {
  SSL_free(ssl_);
}

int ServerLink::AcceptTls(SSL_CTX* context) {
  if (ssl_ == nullptr) {
    ssl_ = SSL_new(context);
    if (ssl_ == nullptr || SSL_set_fd(ssl_, fd_) != 1) return 0;
  }
  ERR_clear_error();
  const int result = SSL_accept(ssl_);
  if (result == 1) return 1;
  return Failed(result) < 0 && errno == EAGAIN ? -1 : 0;
}

ssize_t ServerLink::Receive(char* buffer, std::size_t size) {
  wanted_ = POLLIN;
  if (ssl_ == nullptr) return recv(fd_, buffer, size, 0);
  ERR_clear_error();
  std::size_t count = 0;
  const int result = SSL_read_ex(ssl_, buffer, size, &count);
  return result == 1 ? static_cast<ssize_t>(count) : Failed(result);
}

ssize_t ServerLink::Send(const char* data, std::size_t size) {
  wanted_ = POLLOUT;
  if (ssl_ == nullptr) return send(fd_, data, size, MSG_NOSIGNAL);
  ERR_clear_error();
  std::size_t count = 0;
  const int result = SSL_write_ex(ssl_, data, size, &count);
  return result == 1 ? static_cast<ssize_t>(count) : Failed(result);
}

ssize_t ServerLink::Failed(int result) {
  switch (SSL_get_error(ssl_, result)) {
    case SSL_ERROR_WANT_READ:
      wanted_ = POLLIN;
      errno = EAGAIN;
      return -1;
    case SSL_ERROR_WANT_WRITE:
      wanted_ = POLLOUT;
      errno = EAGAIN;
      return -1;
    case SSL_ERROR_ZERO_RETURN:
      return 0;
    default:
      errno = ECONNRESET;
      return -1;
  }
}

}  // namespace gl::test
