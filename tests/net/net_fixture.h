#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/memory_stream.h"
#include "net/progress_sink.h"
#include "platform/cancellation.h"
#include "support/scoped_environment.h"

namespace gl::test {

// Records every report in order.
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

// Network tests run with time-outs shrunk (by default 5 s of waiting for data becomes 250 ms)
// and leave no Stop or Skip behind. The factor is set before any member starts a server thread.
class NetTest : public ::testing::Test {
 protected:
  explicit NetTest(const char* timeScale = "0.05") : timeScale_(timeScale) {}
  void TearDown() override {
    ClearStop();
    ClearSkip();
  }

  ScopedTimeScale timeScale_;
  RecordingSink sink_;
};

}  // namespace gl::test
