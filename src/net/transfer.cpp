#include "net/transfer.h"

#include <algorithm>
#include <array>
#include <optional>

#include "net/answer.h"
#include "net/generated_pages.h"
#include "net/internal/secure_channel.h"
#include "net/texts.h"
#include "platform/cancellation.h"
#include "platform/socket.h"
#include "platform/time_scale.h"

namespace gl {
namespace {

// Each receive asks for at most this many bytes.
constexpr std::size_t kChunkSize = 9999;

// The receiving half of one transfer, from the wait for data to the end of the answer.
class Receiver {
 public:
  Receiver(ByteChannel& socket, const TransferOptions& options, const RetryBudget& budget,
           MemoryStream& stream, ProgressSink& progress, bool& nonText)
      : socket_(socket),
        options_(options),
        budget_(budget),
        stream_(stream),
        progress_(progress),
        nonText_(nonText) {}

  // Receives the whole answer; false when its content type is refused.
  bool Run() {
    nonText_ = false;
    long count = ReceiveChunk();
    if (count > 0) Append(count);
    while (count > 0) {
      if (!headerAnalysed_ && !AnalyseHeaderOnce()) return false;
      if (options_.EndAtDeclaredLength && BodyComplete()) break;
      count = ReceiveChunk();
      if (StopOrSkipRequested()) {
        count = 0;
        stream_.Clear();
      }
      if (count > 0) {
        Append(count);
        ReportProgress();
        if (stream_.Size() > options_.AnswerLimit) count = -1;
      }
      if (count < 0) {
        WriteBusyNetworkPage(stream_, options_.DisplayAddress);
        return true;
      }
    }
    if (BodyCutShort()) {
      WriteBusyNetworkPage(stream_, options_.DisplayAddress);
      return true;
    }
    stream_.Bytes() += '\0';
    stream_.Seek(0);
    return true;
  }

 private:
  // An aborted receive is repeated while the budget lasts; each receive counts from 0.
  long ReceiveChunk() {
    int failures = 0;
    for (;;) {
      const auto received = socket_.Receive(buffer_.data(), buffer_.size(), Scaled(kSocketTimeout));
      if (received.Error != SocketError::Aborted || ++failures >= budget_.FailedCalls ||
          StopOrSkipRequested()) {
        return received.Count;
      }
    }
  }

  void Append(long count) {
    stream_.Bytes().append(buffer_.data(), static_cast<std::size_t>(count));
    received_ += count;
  }

  // Looks once for the end of the header block in what has arrived, picking up where the last
  // look stopped, so a header split over chunks is read whole. False when the content type is
  // refused.
  bool AnalyseHeaderOnce() {
    const std::string_view answer = stream_.View();
    const std::size_t end = headerEnd_.Find(answer);
    if (end == std::string_view::npos) return true;
    headerAnalysed_ = true;
    bodyStart_ = end;
    const HeaderFacts facts = AnalyseHeader(answer.substr(0, end));
    bodyLength_ = facts.BodyLength;
    if (facts.ContentLength) {
      contentLength_ = *facts.ContentLength;
      ReportProgress();
    }
    if (!facts.ContentType) return true;
    const ContentDecision decision =
        JudgeContentType(*facts.ContentType, options_.AcceptImages, options_.AcceptOtherFiles);
    if (decision != ContentDecision::Text) nonText_ = true;
    return decision != ContentDecision::Reject;
  }

  // Whether the body announced by the header has arrived whole.
  bool BodyComplete() const {
    return headerAnalysed_ && bodyLength_ &&
           stream_.Size() - bodyStart_ >= static_cast<std::uint64_t>(*bodyLength_);
  }

  // A server that closed before the body it announced was complete failed to deliver it. (After
  // Stop or Skip the stream is empty and the caller writes its own page.)
  bool BodyCutShort() const {
    if (!bodyLength_ || StopOrSkipRequested() || stream_.Size() < bodyStart_) return false;
    return !BodyComplete();
  }

  // With a known length the share received (headers count, so it is capped at 100); without
  // one the bar steps through 0, 25, 50, 75, 100 and starts again.
  void ReportProgress() {
    if (contentLength_ > 0) {
      progress_.SetProgress(static_cast<int>(std::min<std::int64_t>(
          received_ >= INT64_MAX / 100 ? 100 : received_ * 100 / contentLength_, 100)));
      return;
    }
    progress_.SetProgress(step_ * 25);
    step_ = (step_ + 1) % 5;
  }

  ByteChannel& socket_;
  const TransferOptions& options_;
  const RetryBudget& budget_;
  MemoryStream& stream_;
  ProgressSink& progress_;
  bool& nonText_;
  std::array<char, kChunkSize> buffer_;  // only what Receive wrote is read: no zeroing
  std::int64_t received_ = 0;
  std::int64_t contentLength_ = 0;
  bool headerAnalysed_ = false;
  std::size_t bodyStart_ = 0;
  std::optional<std::int64_t> bodyLength_;
  HeaderEndFinder headerEnd_;
  int step_ = 0;
};

// An aborted send is repeated while the budget lasts. Any other failure is left to the wait
// for data, which then finds no answer.
void SendRequest(ByteChannel& socket, std::string_view requestText, const RetryBudget& budget) {
  for (int failures = 0;;) {
    const SocketError error = socket.Send(requestText, Scaled(kSocketTimeout));
    if (error != SocketError::Aborted || ++failures >= budget.FailedCalls ||
        StopOrSkipRequested()) {
      return;
    }
  }
}

// Connect, send, wait and receive on an open socket; the result as TransferRequest's.
bool Exchange(TcpSocket& socket, std::uint32_t address, std::uint16_t port,
              std::string_view requestText, const TransferOptions& options,
              const RetryBudget& budget, MemoryStream& stream, ProgressSink& progress,
              bool& nonText) {
  if (StopOrSkipRequested()) return false;
  if (socket.Connect(address, port, Scaled(kSocketTimeout)) != SocketError::None) {
    WriteBusyNetworkPage(stream, options.DisplayAddress);
    return true;
  }
  progress.SetStatusText(std::string(texts::kConnected));
  if (StopOrSkipRequested()) return false;

  ByteChannel* channel = &socket;
  SecureChannel secure;
  if (options.Secure != nullptr) {
    secure = OpenSecureChannel(socket, options, budget, stream);
    if (!secure.Session) return secure.Result;
    channel = secure.Session.get();
  }

  SendRequest(*channel, requestText, budget);
  progress.SetStatusText(std::string(texts::kTransferringData));
  if (StopOrSkipRequested()) return false;

  if (channel->WaitReadable(Scaled(budget.FirstDataWait)) != SocketError::None) {
    WriteBusyNetworkPage(stream, options.DisplayAddress);
    return true;
  }
  return Receiver(*channel, options, budget, stream, progress, nonText).Run();
}

}  // namespace

RetryBudget RetryBudgetFor(int attemptLevel) {
  const std::chrono::seconds wait{std::max(attemptLevel, 1)};
  switch (attemptLevel) {
    case 5:
      return {2, wait};
    case 10:
      return {4, wait};
    case 15:
      return {5, wait};
    case 20:
      return {6, wait};
    default:
      return {8, wait};
  }
}

HostPort SplitEndpoint(std::string_view endpoint, std::uint16_t defaultPort) {
  endpoint = endpoint.substr(0, endpoint.find('/'));
  const std::size_t colon = endpoint.find(':');
  HostPort result{std::string(endpoint.substr(0, colon)), defaultPort};
  if (colon == std::string_view::npos) return result;
  const std::string_view port = endpoint.substr(colon + 1);
  if (port.empty()) return result;
  unsigned value = 0;
  for (char byte : port) {
    if (byte < '0' || byte > '9' || value > 65535) return {result.Host, 0};
    value = value * 10 + static_cast<unsigned>(byte - '0');
  }
  result.Port = value <= 65535 ? static_cast<std::uint16_t>(value) : 0;
  return result;
}

bool TransferRequest(std::string_view endpoint, std::string_view requestText,
                     const TransferOptions& options, MemoryStream& stream, ProgressSink& progress,
                     bool& nonText) {
  const RetryBudget budget = RetryBudgetFor(options.AttemptLevel);
  progress.SetStatusText(std::string(texts::kContactingHost));
  progress.SetProgress(0);
  if (StopOrSkipRequested()) {
    WriteSkippedPage(stream, options.DisplayAddress);
    return false;
  }

  TcpSocket socket;
  if (!socket.IsOpen()) {
    WriteUnableToConnectPage(stream, options.DisplayAddress);
    return false;
  }
  socket.SetTransferOptions(Scaled(kSocketTimeout));

  // A secure page's server listens on the https port unless its address names another.
  const bool directlySecure = options.Secure != nullptr && !options.Secure->ThroughProxy;
  const HostPort target = SplitEndpoint(endpoint, directlySecure ? kHttpsPort : kHttpPort);
  const auto address = target.Port == 0 ? std::nullopt : ResolveHost(target.Host);
  if (!address) {
    if (StopOrSkipRequested()) {
      WriteSkippedPage(stream, options.DisplayAddress);
    } else {
      WriteUnableToConnectPage(stream, options.DisplayAddress);
    }
    return false;
  }

  const bool result = Exchange(socket, *address, target.Port, requestText, options, budget, stream,
                               progress, nonText);
  if (StopOrSkipRequested()) {
    WriteSkippedPage(stream, options.DisplayAddress);
    return false;
  }
  return result;
}

}  // namespace gl
