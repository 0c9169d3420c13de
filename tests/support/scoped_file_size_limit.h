#pragma once

#include <sys/resource.h>

#include <csignal>

namespace gl::test {

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
