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

// Host and port of an endpoint "host", "host:port" or "host:": the port is 80 when it is missing
// or not a port number. Anything from a "/" on is ignored.
struct HostPort {
  std::string Host;
  std::uint16_t Port = 80;
};

HostPort SplitEndpoint(std::string_view endpoint);

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
};

// One HTTP exchange: connect to `endpoint`, send `requestText`, receive the answer into `stream`
// (cleared first is the caller's job), followed by one zero byte and positioned at 0. Status texts
// and progress go to `progress`; `nonText` tells whether the content type is not text.
//
// True: the stream holds an answer to classify, received or the busy-network page (after a
// failed connect, no data in time or a failed receive). False: no answer was obtained (unknown
// host, no socket, Stop or Skip, a rejected content type); the stream then holds the skipped or
// unable-to-connect page, or after a rejected content type what was received so far.
bool TransferRequest(std::string_view endpoint, std::string_view requestText,
                     const TransferOptions& options, MemoryStream& stream, ProgressSink& progress,
                     bool& nonText);

}  // namespace gl
