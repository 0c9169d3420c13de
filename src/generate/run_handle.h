#pragma once

#include <atomic>

#include "platform/cancellation.h"

namespace gl {

// The caller's grip on one run. A run clears the process-wide Stop flag when it starts, so a
// Stop set through the flag alone before then (a window closed right after Generate) would be
// lost; a Stop asked for through the run's handle is kept and the run ends at its first check.
// Made before the run starts; RequestStop may be called from any thread.
class RunHandle {
 public:
  // Remembers the request, then sets the Stop flag, which also cancels a waiting transfer.
  void RequestStop() {
    stop_.store(true);
    gl::RequestStop();
  }
  bool StopRequested() const { return stop_.load(); }

 private:
  std::atomic<bool> stop_{false};
};

}  // namespace gl
