#pragma once

#include <stdlib.h>
#include <sys/resource.h>

#include <csignal>
#include <optional>
#include <string>
#include <utility>

namespace gl::test {

// Sets an environment variable (or removes it when `value` is none) for the object's lifetime.
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

// Create it before any thread that waits (a loopback server) starts: the environment is not
// thread-safe.
struct ScopedTimeScale : ScopedEnvironment {
  explicit ScopedTimeScale(const char* factor)
      : ScopedEnvironment("GLEANER_LIGHT_TIME_SCALE", std::string(factor)) {}
};

// While it lives, this process may write files of at most `bytes`: a write past that fails half
// way, as on a full disk, without a disk to fill.
class ScopedFileSizeLimit {
 public:
  explicit ScopedFileSizeLimit(rlim_t bytes) : handler_(std::signal(SIGXFSZ, SIG_IGN)) {
    getrlimit(RLIMIT_FSIZE, &previous_);
    const rlimit limited{bytes, previous_.rlim_max};
    setrlimit(RLIMIT_FSIZE, &limited);
  }
  ~ScopedFileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &previous_);
    std::signal(SIGXFSZ, handler_);
  }

 private:
  void (*handler_)(int);
  rlimit previous_{};
};

}  // namespace gl::test
