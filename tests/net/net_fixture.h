#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "net/progress_sink.h"
#include "platform/cancellation.h"
#include "support/scoped_time_scale.h"

namespace gl::test {

// Records every report in order, for assertions on what a transfer told its window.
class RecordingSink : public ProgressSink {
 public:
  void SetStatusText(const std::string& text) override { Statuses.push_back(text); }
  void SetProgress(int percent) override { Progress.push_back(percent); }

  std::vector<std::string> Statuses;
  std::vector<int> Progress;
};

// Network tests run with time-outs shrunk (5 s of waiting for data becomes 250 ms) and leave no
// Stop or Skip behind.
class NetTest : public ::testing::Test {
 protected:
  void TearDown() override {
    ClearStop();
    ClearSkip();
  }

  ScopedTimeScale timeScale_{"0.05"};
  RecordingSink sink_;
};

}  // namespace gl::test
