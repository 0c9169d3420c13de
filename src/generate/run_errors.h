#pragma once

#include <stdexcept>
#include <string>

#include "generate/texts.h"

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

// A failed write, a failed file or folder creation, or free space at the minimum.
class EInOutError : public std::runtime_error {
 public:
  EInOutError() : std::runtime_error(std::string(texts::kDiskFull)) {}
};

}  // namespace gl
