#include "net/internal/request.h"

#include "net/address_forms.h"
#include "net/internal/base64.h"
#include "net/texts.h"
#include "platform/percent_encode.h"

namespace gl {
namespace {

constexpr std::string_view kLineEnd = "\r\n";

// A blank or control byte in an address would end the request line early or start a header
// line of its own, so each is sent percent-encoded; every other byte goes as it is.
bool GoesAsItIs(unsigned char byte) {
  return byte > ' ' && byte != 0x7F;
}

std::string RequestSafe(std::string_view text) {
  return PercentEncode(text, GoesAsItIs);
}

std::string RequestLine(std::string_view target) {
  std::string line = "GET ";
  line += RequestSafe(target);
  line += " HTTP/1.0";
  line += kLineEnd;
  return line;
}

std::string HeaderLine(std::string_view name, std::string_view value) {
  std::string line(name);
  line += ": ";
  line += value;
  line += kLineEnd;
  return line;
}

constexpr std::string_view kAcceptLine = "Accept: */*; q=1\r\n";

// Through a proxy the target is the absolute address, which NormaliseDisplayAddress builds. A
// fragment names a place in the page for the reader alone: it is never sent.
std::string Target(std::string_view address, std::string_view path, const Proxy& proxy) {
  return proxy.Host.empty() ? std::string(path) : NormaliseDisplayAddress(CutFragment(address));
}

// A secure page's request travels inside TLS, through a proxy's tunnel or not, and is read by
// the server itself: it takes the direct form.
const Proxy& RequestTextProxy(const Proxy& proxy, const TransferOptions& options) {
  static const Proxy kDirect;
  return options.Secure != nullptr ? kDirect : proxy;
}

}  // namespace

std::string PlainRequestText(std::string_view bareAddress, const Proxy& proxy) {
  const HostAndPath parts = SplitHostAndPath(bareAddress);
  return RequestLine(Target(bareAddress, parts.Path, proxy)) +
         HeaderLine("User-Agent", texts::kUserAgent) + HeaderLine("Host", RequestSafe(parts.Host)) +
         std::string(kAcceptLine) + std::string(kLineEnd);
}

std::string AuthRequestText(std::string_view bareAddress, std::string_view userName,
                            std::string_view password, const Proxy& proxy) {
  const HostAndPath parts = SplitHostAndPath(bareAddress);
  std::string credentials(userName);
  credentials += ':';
  credentials += password;
  return RequestLine(Target(bareAddress, parts.Path, proxy)) + std::string(kAcceptLine) +
         HeaderLine("User-Agent", texts::kUserAgent) + HeaderLine("Host", RequestSafe(parts.Host)) +
         HeaderLine("Authorization", "Basic " + EncodeBase64(credentials)) + std::string(kLineEnd);
}

std::string TunnelRequestText(const HostPort& server) {
  const std::string target = RequestSafe(server.Host) + ":" + std::to_string(server.Port);
  return "CONNECT " + target + " HTTP/1.0" + std::string(kLineEnd) +
         HeaderLine("User-Agent", texts::kUserAgent) + HeaderLine("Host", target) +
         std::string(kLineEnd);
}

std::string RequestEndpoint(std::string_view bareAddress, const Proxy& proxy) {
  if (proxy.Host.empty()) return std::string(SplitHostAndPath(bareAddress).Host);
  return proxy.Host + ":" + std::to_string(proxy.Port);
}

bool SendPlainRequest(std::string_view bareAddress, const Proxy& proxy,
                      const TransferOptions& options, MemoryStream& stream, ProgressSink& progress,
                      bool& nonText) {
  return TransferRequest(RequestEndpoint(bareAddress, proxy),
                         PlainRequestText(bareAddress, RequestTextProxy(proxy, options)), options,
                         stream, progress, nonText);
}

bool SendAuthRequest(std::string_view bareAddress, std::string_view userName,
                     std::string_view password, const Proxy& proxy, const TransferOptions& options,
                     MemoryStream& stream, ProgressSink& progress, bool& nonText) {
  return TransferRequest(
      RequestEndpoint(bareAddress, proxy),
      AuthRequestText(bareAddress, userName, password, RequestTextProxy(proxy, options)), options,
      stream, progress, nonText);
}

}  // namespace gl
