#pragma once

#include <signal.h>

namespace gl::cli {

// While it lives, the first Ctrl+C (SIGINT) asks the run to stop, as the progress window's Abort
// button does: the run closes its summary and records itself. The handler resets itself as it
// runs, so a second Ctrl+C ends the program at once. The previous handling comes back when the
// guard goes.
class StopOnInterrupt {
 public:
  StopOnInterrupt();
  StopOnInterrupt(const StopOnInterrupt&) = delete;
  StopOnInterrupt& operator=(const StopOnInterrupt&) = delete;
  ~StopOnInterrupt();

 private:
  struct sigaction previous_ {};
};

}  // namespace gl::cli
