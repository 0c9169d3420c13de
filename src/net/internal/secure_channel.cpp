#include "net/internal/secure_channel.h"

#include <array>
#include <optional>
#include <string>

#include "net/answer.h"
#include "net/generated_pages.h"
#include "net/internal/request.h"
#include "platform/cancellation.h"
#include "platform/time_scale.h"

namespace gl {
namespace {

// A proxy's answer to CONNECT is a status line and a few header lines; anything longer is not one.
constexpr std::size_t kMaxTunnelAnswer = 64 * 1024;

// The proxy's answer to CONNECT up to the end of its header block; none when it did not come in
// time, ended early or ran too long.
std::optional<std::string> ReadTunnelAnswer(TcpSocket& socket,
                                            std::chrono::milliseconds firstWait) {
  std::string answer;
  std::array<char, 1024> chunk;
  HeaderEndFinder headerEnd;
  while (answer.size() < kMaxTunnelAnswer) {
    const auto wait = answer.empty() ? firstWait : Scaled(kSocketTimeout);
    const TcpSocket::ReceiveResult received = socket.Receive(chunk.data(), chunk.size(), wait);
    if (received.Count <= 0) return std::nullopt;
    answer.append(chunk.data(), static_cast<std::size_t>(received.Count));
    if (const std::size_t end = headerEnd.Find(answer); end != std::string::npos) {
      answer.resize(end);
      return answer;
    }
  }
  return std::nullopt;
}

// Asks a proxy to CONNECT to the server: true once the tunnel is open; otherwise the channel's
// result and the stream say how the transfer ends.
bool OpenTunnel(TcpSocket& socket, const HostPort& server, const TransferOptions& options,
                const RetryBudget& budget, MemoryStream& stream, SecureChannel& channel) {
  // A failed send shows as a missing answer.
  static_cast<void>(socket.Send(TunnelRequestText(server), Scaled(kSocketTimeout)));
  const std::optional<std::string> answer = ReadTunnelAnswer(socket, Scaled(budget.FirstDataWait));
  if (StopOrSkipRequested()) {
    channel.Result = false;
    return false;
  }
  if (!answer) {
    WriteBusyNetworkPage(stream, options.DisplayAddress);
    return false;
  }
  const std::optional<int> code = FindStatusCode(*answer);
  if (code && *code / 100 == 2) return true;
  // The proxy's refusal (a 407 asks for its own credentials) is the answer to classify.
  stream.Bytes() = *answer + '\0';
  stream.Seek(0);
  return false;
}

}  // namespace

SecureChannel OpenSecureChannel(TcpSocket& socket, const TransferOptions& options,
                                const RetryBudget& budget, MemoryStream& stream) {
  SecureExchange& secure = *options.Secure;
  const HostPort server = SplitEndpoint(secure.Server, kHttpsPort);
  SecureChannel channel;
  if (secure.ThroughProxy && !OpenTunnel(socket, server, options, budget, stream, channel)) {
    return channel;
  }

  // The server's part of the handshake is its first data: it is awaited as long, and a silent
  // server is asked again with longer waits, as one that does not answer a plain request.
  auto session = std::make_unique<TlsSession>(socket);
  const TlsHandshake handshake = session->Handshake(server.Host, Scaled(budget.FirstDataWait));
  if (handshake.Error == SocketError::None) {
    channel.Session = std::move(session);
  } else if (StopOrSkipRequested() || handshake.Error == SocketError::Cancelled) {
    channel.Result = false;
  } else if (!handshake.Refusal.empty()) {
    // Never a quiet fall-back to plain HTTP: the page says why nothing was fetched.
    secure.Refusal = handshake.Refusal;
    WriteRefusedCertificatePage(stream, options.DisplayAddress, handshake.Refusal);
    channel.Result = false;
  } else {
    WriteBusyNetworkPage(stream, options.DisplayAddress);
  }
  return channel;
}

}  // namespace gl
