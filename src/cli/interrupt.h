#pragma once

#include <signal.h>

#include <array>

namespace gl::cli {

// While it lives, the first Ctrl+C (SIGINT), SIGTERM or SIGHUP asks the run to stop, as the
// progress window's Abort button does: the run closes its summary and records itself. The handler
// then puts the default handling back, so a second one of them ends the program at once. A
// closed output (SIGPIPE, as when `| head` has read enough) makes writes fail instead of ending
// the program: the output stops, the run goes on. The previous handling comes back when the guard
// goes.
class StopOnInterrupt {
 public:
  StopOnInterrupt();
  StopOnInterrupt(const StopOnInterrupt&) = delete;
  StopOnInterrupt& operator=(const StopOnInterrupt&) = delete;
  ~StopOnInterrupt();

 private:
  std::array<struct sigaction, 3> previous_{};  // SIGINT, SIGTERM, SIGHUP
  struct sigaction previousPipe_ {};
};

}  // namespace gl::cli
