#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/memory_stream.h"
#include "net/progress_sink.h"

namespace gl {

// The socket time-outs for connect, send and receive (before scaling).
inline constexpr std::chrono::milliseconds kSocketTimeout{32000};

// The most bytes one answer may hold; a longer answer counts as a failed receive.
inline constexpr std::size_t kMaxAnswerBytes = std::size_t{256} << 20;

// How hard one transfer tries, by attempt level (5 on a fetch's first attempt, 5 more for each
// retry): how many aborted send or receive calls it repeats, and how long it waits for the
// first data (before scaling).
struct RetryBudget {
  int FailedCalls = 0;
  std::chrono::seconds FirstDataWait{0};
};

RetryBudget RetryBudgetFor(int attemptLevel);

inline constexpr std::uint16_t kHttpPort = 80;
inline constexpr std::uint16_t kHttpsPort = 443;

// Host and port of an endpoint "host", "host:port" or "host:": the port is `defaultPort` when it
// is missing, and 0, where nothing answers, when it is not a port number: a mistyped port must not
// reach another server. Anything from a "/" on is ignored.
struct HostPort {
  std::string Host;
  std::uint16_t Port = kHttpPort;
};

HostPort SplitEndpoint(std::string_view endpoint, std::uint16_t defaultPort = kHttpPort);

// A secure page's exchange: TLS with the server its address names, directly or through a proxy.
struct SecureExchange {
  std::string_view Server;    // the address's "host" or "host:port" (port 443 when none is given)
  bool ThroughProxy = false;  // the endpoint is a proxy, asked to CONNECT to the server first
  std::string Refusal;        // filled in: why the server's certificate was refused, if it was
};

// What one transfer needs besides the request text.
struct TransferOptions {
  std::string_view DisplayAddress;  // for the generated pages
  bool AcceptImages = false;
  bool AcceptOtherFiles = false;
  int AttemptLevel = 5;
  std::size_t AnswerLimit = kMaxAnswerBytes;
  // The answer ends once its body holds the declared Content-Length, for a server that keeps the
  // connection open after answering. Otherwise it ends when the server closes.
  bool EndAtDeclaredLength = false;
  // Set for a secure page: the request goes over TLS as this describes. Null: plain HTTP.
  SecureExchange* Secure = nullptr;
};

// One HTTP exchange: connect to `endpoint`, send `requestText`, receive the answer into `stream`
// (cleared first is the caller's job), followed by one zero byte and positioned at 0. Status texts
// and progress go to `progress`; `nonText` tells whether the content type is not text.
//
// True: the stream holds an answer to classify, received or the busy-network page (after a
// failed connect or TLS handshake, no data in time or a failed receive); through a proxy that
// refused to CONNECT, its answer's header. False: no answer was obtained (unknown host, no
// socket, Stop or Skip, a rejected content type, a refused certificate); the stream then holds
// the skipped or unable-to-connect page, after a rejected content type what was received so far,
// after a refused certificate the page that says why.
bool TransferRequest(std::string_view endpoint, std::string_view requestText,
                     const TransferOptions& options, MemoryStream& stream, ProgressSink& progress,
                     bool& nonText);

}  // namespace gl
