#include "browser/internal/debugging_endpoint.h"

#include <algorithm>

#include "core/memory_stream.h"
#include "net/answer.h"
#include "net/progress_sink.h"
#include "net/texts.h"
#include "net/transfer.h"
#include "platform/cancellation.h"
#include "platform/percent_encode.h"

namespace gl {
namespace {

// The endpoint answers in JSON or plain text; a list of many tabs stays far below this.
constexpr std::size_t kMaxEndpointAnswer = std::size_t{8} << 20;

// The endpoint decodes every %XX of a path or query, so all but a few plain bytes go encoded:
// an address keeps its own escapes and its "#", and no byte can end the request line.
bool StaysPlain(unsigned char byte) {
  return IsUnreserved(byte) || byte == ':' || byte == '/';
}

std::string Encoded(std::string_view text) {
  return PercentEncode(text, StaysPlain);
}

// A transfer waits for its first data as many seconds as its attempt level.
int AttemptLevelFor(std::chrono::milliseconds wait) {
  const auto seconds = std::chrono::ceil<std::chrono::seconds>(wait).count();
  return static_cast<int>(std::clamp<decltype(seconds)>(seconds, 1, 60));
}

}  // namespace

std::optional<std::vector<EndpointPage>> DebuggingEndpoint::ListPages(
    std::chrono::milliseconds wait) const {
  const std::optional<std::string> body = Call("GET", "/json/list", wait);
  return body ? ParsePageList(*body) : std::nullopt;
}

std::optional<EndpointPage> DebuggingEndpoint::OpenPage(std::string_view address,
                                                        std::chrono::milliseconds wait) const {
  const std::optional<std::string> body = Call("PUT", "/json/new?" + Encoded(address), wait);
  return body ? ParsePage(*body) : std::nullopt;
}

bool DebuggingEndpoint::ActivatePage(std::string_view id, std::chrono::milliseconds wait) const {
  return Call("GET", "/json/activate/" + Encoded(id), wait).has_value();
}

std::optional<std::string> DebuggingEndpoint::Call(std::string_view method,
                                                   const std::string& target,
                                                   std::chrono::milliseconds wait) const {
  // The browser is asked beside a run: a Stop or Skip of the run does not cut the call short.
  const RunRequestsIgnored besideTheRun;
  const std::string endpoint = "127.0.0.1:" + std::to_string(port_);
  const std::string display = "http://" + endpoint + target;
  // HTTP/1.1, since the endpoint refuses HTTP/1.0 requests. It keeps the connection open after
  // answering, so the answer ends at its declared length.
  std::string request(method);
  request += " " + target + " HTTP/1.1\r\nHost: " + endpoint + "\r\nUser-Agent: ";
  request += texts::kUserAgent;
  request += "\r\n\r\n";

  TransferOptions options;
  options.DisplayAddress = display;
  options.AcceptImages = true;
  options.AcceptOtherFiles = true;
  options.AttemptLevel = AttemptLevelFor(wait);
  options.AnswerLimit = kMaxEndpointAnswer;
  options.EndAtDeclaredLength = true;
  MemoryStream stream;
  SilentProgress progress;
  bool nonText = false;
  if (!TransferRequest(endpoint, request, options, stream, progress, nonText)) return std::nullopt;

  // A failed exchange leaves a generated page, which never has status 200 here.
  std::string_view answer = stream.View();
  if (answer.ends_with('\0')) answer.remove_suffix(1);  // the stream's terminating zero
  const std::size_t bodyStart = FindHeaderEnd(answer);
  if (FindStatusCode(answer) != 200 || bodyStart == std::string_view::npos) return std::nullopt;
  return std::string(answer.substr(bodyStart));
}

}  // namespace gl
