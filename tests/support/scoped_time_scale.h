#pragma once

#include <string>

#include "support/scoped_environment.h"

namespace gl::test {

// Sets GLEANER_LIGHT_TIME_SCALE for one test and restores the old value afterwards. Create it
// before any thread that waits (a loopback server) starts, since the environment is not
// thread-safe.
class ScopedTimeScale : public ScopedEnvironment {
 public:
  explicit ScopedTimeScale(const char* factor)
      : ScopedEnvironment("GLEANER_LIGHT_TIME_SCALE", std::string(factor)) {}
};

}  // namespace gl::test
