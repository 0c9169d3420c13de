#pragma once

#include <stdlib.h>

#include <optional>
#include <string>
#include <utility>

namespace gl::test {

// Sets an environment variable (or removes it when `value` is none) for the object's lifetime,
// then puts back what was there before.
class ScopedEnvironment {
 public:
  ScopedEnvironment(std::string name, const std::optional<std::string>& value)
      : name_(std::move(name)) {
    if (const char* previous = getenv(name_.c_str())) previous_ = previous;
    Put(value);
  }
  ScopedEnvironment(const ScopedEnvironment&) = delete;
  ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;
  ~ScopedEnvironment() { Put(previous_); }

 private:
  void Put(const std::optional<std::string>& value) const {
    if (value)
      setenv(name_.c_str(), value->c_str(), 1);
    else
      unsetenv(name_.c_str());
  }

  std::string name_;
  std::optional<std::string> previous_;
};

// Sets GLEANER_LIGHT_TIME_SCALE for one test. Create it before any thread that waits (a loopback
// server) starts, since the environment is not thread-safe.
struct ScopedTimeScale : ScopedEnvironment {
  explicit ScopedTimeScale(const char* factor)
      : ScopedEnvironment("GLEANER_LIGHT_TIME_SCALE", std::string(factor)) {}
};

}  // namespace gl::test
