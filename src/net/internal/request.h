#pragma once

#include <string>
#include <string_view>

#include "core/memory_stream.h"
#include "net/progress_sink.h"
#include "net/transfer.h"

// HTTP/1.0 GET requests (RFC 1945), plain or with Basic credentials, sent directly or through a
// proxy.

namespace gl {

// The proxy from the settings; an empty host means a direct connection.
struct Proxy {
  std::string Host;
  int Port = 80;
};

// Request texts for a bare address. Through a proxy the target is the full "http://" address
// (a plain request keeps the fragment there); directly it is the path. The Host header always
// names the requested server with its port. Blanks and control bytes of the address are sent
// percent-encoded, so no address can add a header line.
std::string PlainRequestText(std::string_view bareAddress, const Proxy& proxy);
std::string AuthRequestText(std::string_view bareAddress, std::string_view userName,
                            std::string_view password, const Proxy& proxy);

// What asks a proxy to open a tunnel for TLS to `server`: "CONNECT host:port HTTP/1.0", the user
// agent and a Host header naming the same server.
std::string TunnelRequestText(const HostPort& server);

// Where to connect: the requested host (with its port) directly, else "proxy:port".
std::string RequestEndpoint(std::string_view bareAddress, const Proxy& proxy);

// Build the request, choose the endpoint and return TransferRequest's result unchanged. A secure
// page's request (options.Secure) has the direct form, also through a proxy.
bool SendPlainRequest(std::string_view bareAddress, const Proxy& proxy,
                      const TransferOptions& options, MemoryStream& stream, ProgressSink& progress,
                      bool& nonText);
bool SendAuthRequest(std::string_view bareAddress, std::string_view userName,
                     std::string_view password, const Proxy& proxy, const TransferOptions& options,
                     MemoryStream& stream, ProgressSink& progress, bool& nonText);

}  // namespace gl
