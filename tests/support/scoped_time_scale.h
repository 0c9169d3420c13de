#pragma once

#include <stdlib.h>

#include <optional>
#include <string>

namespace gl::test {

// Sets GLEANER_LIGHT_TIME_SCALE for one test and restores the old value afterwards. Create it
// before any thread that waits (a loopback server) starts, since the environment is not
// thread-safe.
class ScopedTimeScale {
 public:
  explicit ScopedTimeScale(const char* factor) {
    if (const char* old = getenv(kName)) previous_ = old;
    setenv(kName, factor, 1);
  }
  ScopedTimeScale(const ScopedTimeScale&) = delete;
  ScopedTimeScale& operator=(const ScopedTimeScale&) = delete;
  ~ScopedTimeScale() {
    if (previous_) {
      setenv(kName, previous_->c_str(), 1);
    } else {
      unsetenv(kName);
    }
  }

 private:
  static constexpr const char* kName = "GLEANER_LIGHT_TIME_SCALE";
  std::optional<std::string> previous_;
};

}  // namespace gl::test
