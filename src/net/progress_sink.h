#pragma once

#include <string>

namespace gl {

// Where a transfer reports what it is doing. The generation run's host implements it; each call
// returns once the report has been shown.
class ProgressSink {
 public:
  virtual ~ProgressSink() = default;
  // Status texts begin with one blank (" Contacting host...").
  virtual void SetStatusText(const std::string& text) = 0;
  virtual void SetProgress(int percent) = 0;
};

// For transfers whose progress nobody watches.
class SilentProgress final : public ProgressSink {
 public:
  void SetStatusText(const std::string&) override {}
  void SetProgress(int) override {}
};

}  // namespace gl
