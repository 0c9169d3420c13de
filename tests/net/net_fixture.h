#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/memory_stream.h"
#include "net/fetch.h"
#include "net/progress_sink.h"
#include "platform/cancellation.h"
#include "support/loopback_server.h"
#include "support/scoped_environment.h"

namespace gl::test {

class RecordingSink : public ProgressSink {
 public:
  void SetStatusText(const std::string& text) override { Statuses.push_back(text); }
  void SetProgress(int percent) override { Progress.push_back(percent); }
  std::vector<std::string> Statuses;
  std::vector<int> Progress;
};

// The bytes a page writer leaves in a stream that held an earlier answer.
template <typename Write, typename... Args>
std::string Page(Write write, const Args&... args) {
  MemoryStream stream("left over from an earlier answer");
  write(stream, args...);
  return stream.Bytes();
}

inline std::string WithZero(std::string bytes) {
  return bytes + '\0';
}

// A request as the fetch sends it: with `basic` credentials the headers come in another order.
inline std::string SentRequest(std::string_view target, std::string_view host,
                               std::string_view basic = {}) {
  const std::string get = "GET " + std::string(target) + " HTTP/1.0\r\n";
  const std::string agentAndHost =
      "User-Agent: Gleaner-Light 1.0\r\nHost: " + std::string(host) + "\r\n";
  if (basic.empty()) return get + agentAndHost + "Accept: */*; q=1\r\n\r\n";
  return get + "Accept: */*; q=1\r\n" + agentAndHost + "Authorization: Basic " +
         std::string(basic) + "\r\n\r\n";
}

// Time-outs scaled by kThousandths/1000, set before the server thread starts.
template <int kThousandths = 50>
class NetTest : public ::testing::Test {
 protected:
  void TearDown() override {
    ClearStop();
    ClearSkip();
  }
  FetchResult Fetch(std::string address) {
    address_ = std::move(address);
    return FetchPage(address_, options_, settings_, sink_);
  }

  ScopedTimeScale timeScale_{std::to_string(kThousandths / 1000.0).c_str()};
  LoopbackServer server_;
  RecordingSink sink_;
  FetchOptions options_;
  Settings settings_;
  std::string address_;
};

}  // namespace gl::test
