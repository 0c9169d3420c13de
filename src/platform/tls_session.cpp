#include "platform/tls_session.h"

#include <openssl/bio.h>
#include <openssl/err.h>
#include <openssl/ssl.h>
#include <openssl/x509_vfy.h>
#include <openssl/x509v3.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <mutex>

namespace gl {
namespace {

// How many bytes move between the socket and OpenSSL at a time.
constexpr std::size_t kWireChunk = 16 * 1024;
// What each direction between OpenSSL and the socket holds: room for the largest record (16 KiB
// of data and up to 2 KiB of framing and expansion) with some to spare.
constexpr std::size_t kWireBuffer = 32 * 1024;

std::string EnvironmentValue(const char* name) {
  const char* value = std::getenv(name);
  return value == nullptr ? std::string() : std::string(value);
}

// One client context per trust store. Loading the store costs far more than a handshake, and the
// variables that choose it (SSL_CERT_FILE, SSL_CERT_DIR) rarely change while the program runs;
// when they do, the next session gets a context made afresh. Sessions hold their own reference,
// so a context that is replaced lives on until its last session ends.
class ClientContexts {
 public:
  SSL_CTX* Acquire() {
    const std::string store = EnvironmentValue(X509_get_default_cert_file_env()) + '\n' +
                              EnvironmentValue(X509_get_default_cert_dir_env());
    const std::lock_guard lock(mutex_);
    if (context_ == nullptr || store != store_) {
      SSL_CTX_free(context_);
      context_ = Make();
      store_ = store;
    }
    if (context_ != nullptr) SSL_CTX_up_ref(context_);
    return context_;
  }

 private:
  static SSL_CTX* Make() {
    SSL_CTX* context = SSL_CTX_new(TLS_client_method());
    if (context == nullptr) return nullptr;
    SSL_CTX_set_min_proto_version(context, TLS1_2_VERSION);
    SSL_CTX_set_verify(context, SSL_VERIFY_PEER, nullptr);
    SSL_CTX_set_options(context, SSL_OP_IGNORE_UNEXPECTED_EOF);
    if (SSL_CTX_set_default_verify_paths(context) != 1) ERR_clear_error();
    return context;
  }

  std::mutex mutex_;
  SSL_CTX* context_ = nullptr;
  std::string store_;
};

// Never destroyed: OpenSSL frees its own state when the program ends, and a context freed after
// that would touch freed memory.
ClientContexts& Contexts() {
  static auto* contexts = new ClientContexts;
  return *contexts;
}

}  // namespace

TlsSession::TlsSession(TcpSocket& socket) : socket_(socket) {
  SSL_CTX* context = Contexts().Acquire();
  if (context == nullptr) return;
  ssl_ = SSL_new(context);
  SSL_CTX_free(context);  // the session keeps its own reference
  BIO* inner = nullptr;
  if (ssl_ == nullptr || BIO_new_bio_pair(&inner, kWireBuffer, &network_, kWireBuffer) != 1) {
    SSL_free(ssl_);
    ssl_ = nullptr;
    return;
  }
  SSL_set_bio(ssl_, inner, inner);
}

TlsSession::~TlsSession() {
  SSL_free(ssl_);
  BIO_free(network_);
}

template <typename Call>
SocketError TlsSession::Drive(Call call, std::chrono::milliseconds timeout) {
  if (ssl_ == nullptr) return SocketError::Failed;
  for (;;) {
    ERR_clear_error();
    const int result = call();
    if (const SocketError sent = SendPending(timeout); sent != SocketError::None) return sent;
    if (result > 0) return SocketError::None;
    switch (SSL_get_error(ssl_, result)) {
      case SSL_ERROR_WANT_READ:
        if (const SocketError received = ReceiveMore(timeout); received != SocketError::None) {
          return received;
        }
        break;
      case SSL_ERROR_WANT_WRITE:
        break;  // the records waiting for room have just been sent
      case SSL_ERROR_ZERO_RETURN:
        peerClosed_ = true;
        return SocketError::None;
      default:
        return SocketError::Failed;
    }
  }
}

SocketError TlsSession::SendPending(std::chrono::milliseconds timeout) {
  std::array<char, kWireChunk> chunk;
  for (;;) {
    const int taken = BIO_read(network_, chunk.data(), static_cast<int>(chunk.size()));
    if (taken <= 0) return SocketError::None;
    const std::string_view bytes(chunk.data(), static_cast<std::size_t>(taken));
    if (const SocketError sent = socket_.Send(bytes, timeout); sent != SocketError::None) {
      return sent;
    }
  }
}

SocketError TlsSession::ReceiveMore(std::chrono::milliseconds timeout) {
  std::array<char, kWireChunk> chunk;
  const std::size_t room = std::min(BIO_ctrl_get_write_guarantee(network_), chunk.size());
  if (room == 0) return SocketError::Failed;  // a record larger than any TLS allows
  const ReceiveResult received = socket_.Receive(chunk.data(), room, timeout);
  if (received.Count < 0) return received.Error;
  if (received.Count == 0) {
    // OpenSSL sees the end of the stream on its next read; it must not ask for more after it.
    if (wireClosed_) return SocketError::Failed;
    wireClosed_ = true;
    BIO_shutdown_wr(network_);
    return SocketError::None;
  }
  BIO_write(network_, chunk.data(), static_cast<int>(received.Count));
  return SocketError::None;
}

TlsHandshake TlsSession::Handshake(std::string_view host, std::chrono::milliseconds timeout) {
  // OpenSSL reads an empty name as "check no name", and a zero byte would end the name early.
  if (ssl_ == nullptr || host.empty() || host.find('\0') != std::string_view::npos) {
    return {SocketError::Failed, {}};
  }
  const std::string name(host);
  // An address is matched against the certificate's addresses and is never sent as a name. A
  // name is matched as browsers match it: a wildcard stands for one whole label only.
  if (X509_VERIFY_PARAM_set1_ip_asc(SSL_get0_param(ssl_), name.c_str()) != 1) {
    SSL_set_tlsext_host_name(ssl_, name.c_str());
    SSL_set_hostflags(ssl_, X509_CHECK_FLAG_NO_PARTIAL_WILDCARDS);
    if (SSL_set1_host(ssl_, name.c_str()) != 1) return {SocketError::Failed, {}};
  }
  TlsHandshake result{Drive([this] { return SSL_connect(ssl_); }, timeout), {}};
  if (result.Error == SocketError::None && peerClosed_) result.Error = SocketError::Failed;
  const long verified = SSL_get_verify_result(ssl_);
  if (result.Error == SocketError::Failed && verified != X509_V_OK) {
    result.Refusal = X509_verify_cert_error_string(verified);
  }
  return result;
}

SocketError TlsSession::Send(std::string_view data, std::chrono::milliseconds timeout) {
  while (!data.empty()) {
    std::size_t written = 0;
    const SocketError error =
        Drive([&] { return SSL_write_ex(ssl_, data.data(), data.size(), &written); }, timeout);
    if (error != SocketError::None) return error;
    if (written == 0) return SocketError::Failed;  // the server closed the session
    data.remove_prefix(written);
  }
  return SocketError::None;
}

SocketError TlsSession::WaitReadable(std::chrono::milliseconds timeout) {
  // Records that carry no page data (session tickets after the handshake) are taken in on the
  // way, so the wait ends only with data or the close.
  char byte = 0;
  std::size_t peeked = 0;
  return Drive([&] { return SSL_peek_ex(ssl_, &byte, 1, &peeked); }, timeout);
}

ByteChannel::ReceiveResult TlsSession::Receive(char* buffer, std::size_t size,
                                               std::chrono::milliseconds timeout) {
  std::size_t count = 0;
  const SocketError error = Drive([&] { return SSL_read_ex(ssl_, buffer, size, &count); }, timeout);
  if (error != SocketError::None) return {-1, error};
  return {static_cast<long>(count), SocketError::None};
}

}  // namespace gl
