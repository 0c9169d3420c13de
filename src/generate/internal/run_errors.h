#pragma once

#include <stdexcept>
#include <string>
#include <utility>

#include "generate/internal/texts.h"

// The three ways a run leaves its normal course. They are raised only by the generation code at
// its own check points and caught by the run driver.

namespace gl {

// The Stop request: the run ends after closing its summary and recording itself.
class EAbortBrief : public std::runtime_error {
 public:
  EAbortBrief() : std::runtime_error(std::string(texts::kAbortBrief)) {}
};

// The Skip request: the current web entry ends, the run goes on with the next one.
class ESkipEntry : public std::runtime_error {
 public:
  ESkipEntry() : std::runtime_error(std::string(texts::kSkipEntry)) {}
};

// A failed write, a failed file or folder creation, or free space at the minimum. The reason,
// when there is one, says which file failed and why ("/home/ann/0: Permission denied"); the
// disk error shows it below its text.
class EInOutError : public std::runtime_error {
 public:
  explicit EInOutError(std::string reason = {})
      : std::runtime_error(std::string(texts::kDiskFull)), reason_(std::move(reason)) {}

  const std::string& Reason() const { return reason_; }

 private:
  std::string reason_;
};

}  // namespace gl
