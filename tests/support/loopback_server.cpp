#include "support/loopback_server.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <openssl/bio.h>
#include <openssl/err.h>
#include <openssl/pem.h>
#include <openssl/ssl.h>
#include <poll.h>
#include <pthread.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <sstream>
#include <stdexcept>

#include "core/byte_text.h"
#include "platform/time_scale.h"

namespace gl::test {
namespace {

constexpr std::chrono::milliseconds kForever{-1};
constexpr std::size_t kMaxRequestBytes = std::size_t{16} << 20;  // the client never sends more
constexpr int kTlsHandshakeRecord = 0x16;                        // a TLS connection's first byte
constexpr std::string_view kTunnelOpen = "HTTP/1.0 200 Connection established\r\n\r\n";

// Waits until `fd` (none: -1) shows `events` or `timeout` passes; false once `stopFd` is readable.
bool WaitFor(int stopFd, int fd, short events, std::chrono::milliseconds timeout) {
  pollfd watched[2] = {{stopFd, POLLIN, 0}, {fd, events, 0}};
  for (;;) {
    const int ready = poll(watched, fd < 0 ? 1 : 2, static_cast<int>(timeout.count()));
    if (ready < 0 && errno == EINTR) continue;
    return ready >= 0 && watched[0].revents == 0;
  }
}

SSL_CTX* MakeServerTls(const ServerIdentity& identity) {
  SSL_CTX* context = SSL_CTX_new(TLS_server_method());
  const std::string pem = identity.CertificatePem + identity.KeyPem;  // read in this order
  BIO* in = BIO_new_mem_buf(pem.data(), static_cast<int>(pem.size()));
  X509* certificate = PEM_read_bio_X509(in, nullptr, nullptr, nullptr);
  EVP_PKEY* key = PEM_read_bio_PrivateKey(in, nullptr, nullptr, nullptr);
  BIO_free(in);
  const bool ready = context != nullptr && SSL_CTX_use_certificate(context, certificate) == 1 &&
                     SSL_CTX_use_PrivateKey(context, key) == 1;
  X509_free(certificate);
  EVP_PKEY_free(key);
  if (!ready) throw std::runtime_error("loopback server: no TLS context");
  // Sends return what fitted, as send() does.
  SSL_CTX_set_mode(context, SSL_MODE_ENABLE_PARTIAL_WRITE);
  return context;
}

// The server's side of one connection on a non-blocking socket, plain or TLS once accepted.
// Every call waits until it can go on, and fails once the server stops.
}  // namespace

class ServerLink {
 public:
  ServerLink(int fd, int stopFd) : fd_(fd), stopFd_(stopFd) {}
  ~ServerLink() {
    SSL_free(ssl_);
    close(fd_);
  }

  bool Pause(std::chrono::milliseconds pause) const { return WaitFor(stopFd_, -1, 0, pause); }
  // Waits `pause` before answering; false when the server stops or the client closes first. Bytes
  // that the client sends meanwhile end the wait early.
  bool Delay(std::chrono::milliseconds pause) {
    char byte = 0;  // a peek finds nothing when the pause ran out, and ends at 0 once closed
    return pause.count() == 0 || (WaitFor(stopFd_, fd_, POLLIN, pause) &&
                                  recv(fd_, &byte, 1, MSG_PEEK | MSG_DONTWAIT) != 0);
  }
  int PeekByte() {
    char first = 0;
    return Retry(POLLIN, [&] { return recv(fd_, &first, 1, MSG_PEEK); }) == 1 ? first : -1;
  }
  bool AcceptTls(SSL_CTX* context) {
    ssl_ = SSL_new(context);
    return ssl_ != nullptr && SSL_set_fd(ssl_, fd_) == 1 &&
           Retry(POLLIN, [this] { return SSL_accept(ssl_); }) == 1;
  }
  // As recv: the bytes received, 0 when the client has closed, -1 on failure.
  ssize_t Receive(char* buffer, std::size_t size) {
    return Retry(POLLIN, [&]() -> ssize_t {
      return ssl_ != nullptr ? SSL_read(ssl_, buffer, static_cast<int>(size))
                             : recv(fd_, buffer, size, 0);
    });
  }
  bool SendAll(std::string_view bytes) {
    while (!bytes.empty()) {
      const ssize_t sent = Retry(POLLOUT, [&]() -> ssize_t {
        return ssl_ != nullptr ? SSL_write(ssl_, bytes.data(), static_cast<int>(bytes.size()))
                               : send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL);
      });
      if (sent <= 0) return false;  // the client went away
      bytes.remove_prefix(static_cast<std::size_t>(sent));
    }
    return true;
  }

 private:
  // Repeats `call` until it returns above 0, waiting for what the socket or TLS asks for.
  template <typename Call>
  ssize_t Retry(short events, Call call) {
    for (;;) {
      ERR_clear_error();
      const ssize_t result = call();
      if (result > 0) return result;
      if (ssl_ != nullptr) {
        const int error = SSL_get_error(ssl_, static_cast<int>(result));
        if (error == SSL_ERROR_ZERO_RETURN) return 0;
        if (error != SSL_ERROR_WANT_READ && error != SSL_ERROR_WANT_WRITE) return -1;
        events = error == SSL_ERROR_WANT_READ ? POLLIN : POLLOUT;
      } else if (result == 0 || (errno != EINTR && errno != EAGAIN)) {
        return result;
      }
      if (!WaitFor(stopFd_, fd_, events, kForever)) return -1;
    }
  }

  int fd_;
  int stopFd_;
  SSL* ssl_ = nullptr;
};

namespace {

bool ReadRequest(ServerLink& link, Request& request) {
  char block[4096];
  for (std::size_t from = 0;; from = std::max<std::size_t>(request.Bytes.size(), 3) - 3) {
    const ssize_t received = link.Receive(block, sizeof block);
    if (received <= 0) return !request.Bytes.empty();
    request.Bytes.append(block, static_cast<std::size_t>(received));
    if (request.Bytes.find("\r\n\r\n", from) != std::string::npos ||
        request.Bytes.find("\n\n", from) != std::string::npos ||
        request.Bytes.size() >= kMaxRequestBytes) {
      return true;
    }
  }
}

bool SendAnswer(ServerLink& link, const Answer& answer) {
  std::string_view rest = answer.Bytes;
  const std::size_t piece = answer.DripSize > 0 ? answer.DripSize : rest.size();
  if (!link.Delay(Scaled(answer.Delay))) return false;
  while (!rest.empty()) {
    if (!link.SendAll(rest.substr(0, piece))) return false;
    rest.remove_prefix(std::min(piece, rest.size()));
    if (!rest.empty() && !link.Pause(Scaled(answer.DripPause))) return false;
  }
  return true;
}

// OpenSSL writes to the socket without MSG_NOSIGNAL: a client that has gone away must not end
// the test program with SIGPIPE.
void BlockBrokenPipe() {
  sigset_t pipe;
  sigemptyset(&pipe);
  sigaddset(&pipe, SIGPIPE);
  pthread_sigmask(SIG_BLOCK, &pipe, nullptr);
}

}  // namespace

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

int RawListener::Accept(int flags) const {
  return accept4(fd_, nullptr, nullptr, SOCK_CLOEXEC | flags);
}

std::uint16_t ClosedLoopbackPort() {
  return RawListener(1).Port();
}

std::string Request::Target() const {
  std::string method, target;
  std::istringstream(Bytes) >> method >> target;
  return target;
}

std::string Request::Header(std::string_view name) const {
  const std::string pattern = "\n" + LowerAscii(name) + ":";
  const std::size_t at = FindNoCase(Bytes, pattern);
  const std::size_t start =
      at == std::string::npos ? at : Bytes.find_first_not_of(' ', at + pattern.size());
  if (start == std::string::npos) return {};
  return Bytes.substr(start, Bytes.find_first_of("\r\n", start) - start);
}

Answer MakeAnswer(std::string_view statusLine,
                  const std::vector<std::pair<std::string, std::string>>& headers,
                  std::string_view body) {
  Answer answer{std::string(statusLine) + "\r\n"};
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
  return MakeAnswer("HTTP/1.0 " + std::to_string(code) + " Moved",
                    {{"Location", std::string(location)}}, "");
}

Answer StatusAnswer(int code) {
  return MakeAnswer("HTTP/1.0 " + std::to_string(code) + " Status", {{"Content-Type", "text/html"}},
                    "<html>status</html>");
}

LoopbackServer::LoopbackServer(Handler handler, const ServerIdentity* tls)
    : handler_(std::move(handler)), tls_(tls ? MakeServerTls(*tls) : nullptr, SSL_CTX_free) {
  if (pipe2(stopPipe_, O_CLOEXEC) != 0) throw std::runtime_error("loopback server: no pipe");
  thread_ = std::thread([this] { Serve(); });
}

LoopbackServer::~LoopbackServer() {
  shutdown(listener_.Fd(), SHUT_RDWR);  // every blocked Accept fails from now on
  const char byte = 1;
  while (write(stopPipe_[1], &byte, 1) < 0 && errno == EINTR) {
  }
  thread_.join();
  for (std::thread& worker : workers_)
    worker.join();
  close(stopPipe_[0]);
  close(stopPipe_[1]);
}

std::string LoopbackServer::Address(std::string_view path) const {
  return (tls_ ? "https://" : "http://") + HostPort() + std::string(path);
}

void LoopbackServer::Enqueue(Answer answer) {
  Locked([&] { queue_.push_back(std::move(answer)); });
}

void LoopbackServer::ServeInParallel() {
  while (workers_.size() < 31)
    workers_.emplace_back([this] { Serve(); });
}

void LoopbackServer::Serve() {
  BlockBrokenPipe();
  for (;;) {
    const int connection = listener_.Accept(SOCK_NONBLOCK);
    if (connection < 0 && errno == EINVAL) return;  // the listener is shut down
    if (connection < 0) continue;
    Locked([this] { peakConnections_ = std::max(peakConnections_, ++openConnections_); });
    ServerLink link(connection, stopPipe_[0]);
    ServeConnection(link);
    // Counted as closed before it closes: a client that sees the close may connect again at once,
    // and the count must never show more connections than the client has open.
    Locked([this] { --openConnections_; });
  }
}

void LoopbackServer::ServeConnection(ServerLink& link) {
  Request request;
  if (tls_ && link.PeekByte() != kTlsHandshakeRecord) {  // a proxy's CONNECT
    if (!ReadRequest(link, request)) return;
    Locked([&] { requests_.push_back(request); });
    if (!link.SendAll(kTunnelOpen)) return;
    request = {};
  }
  if (tls_ && !link.AcceptTls(tls_.get())) return;
  if (!ReadRequest(link, request)) return;
  Locked([&] { requests_.push_back(request); });
  const Answer answer = NextAnswer(request);
  char block[4096];
  if (SendAnswer(link, answer) && answer.HoldOpen) {
    while (link.Receive(block, sizeof block) > 0) {
    }
  }
}

Answer LoopbackServer::NextAnswer(const Request& request) {
  std::unique_lock lock(mutex_);
  if (queue_.empty()) {
    lock.unlock();  // a handler may take its time
    return handler_ ? handler_(request) : Answer{};
  }
  Answer answer = std::move(queue_.front());
  queue_.pop_front();
  return answer;
}

}  // namespace gl::test
