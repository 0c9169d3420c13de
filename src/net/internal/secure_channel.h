#pragma once

#include <memory>

#include "core/memory_stream.h"
#include "net/transfer.h"
#include "platform/socket.h"
#include "platform/tls_session.h"

// The TLS leg of a secure page's transfer, between connecting and sending the request.

namespace gl {

// The session a secure exchange sends its request over, or why there is none.
struct SecureChannel {
  std::unique_ptr<TlsSession> Session;
  // Without a session, what the transfer answers (TransferRequest's meaning), with the stream
  // holding: the header of a proxy's refusal to CONNECT (true), the busy-network page after a
  // failed handshake or no answer from the proxy (true), the page that names why the server's
  // certificate was refused (false; the reason is in options.Secure->Refusal too), or nothing
  // after Stop or Skip (false; the transfer writes the skipped page).
  bool Result = true;
};

// Opens TLS with options.Secure's server over `socket`, connected to it or to a proxy. A proxy
// is first asked to CONNECT. The proxy's answer and each step of the server's handshake are
// awaited as long as a request's first data.
SecureChannel OpenSecureChannel(TcpSocket& socket, const TransferOptions& options,
                                const RetryBudget& budget, MemoryStream& stream);

}  // namespace gl
