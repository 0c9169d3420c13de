#include "platform/cancellation.h"

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>

namespace gl {
namespace {

std::atomic<bool> stopFlag{false};
std::atomic<bool> skipFlag{false};

// A self-pipe: bytes in it mean "a cancellation is pending". Signalling is a plain atomic store
// and a write(), so it is safe from a signal handler; both ends are non-blocking, so a full pipe
// (already readable) or a drain of an empty one never hangs.
class WakePipe {
 public:
  WakePipe() {
    if (pipe(fds_) == 0) {
      for (int fd : fds_) {
        fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_NONBLOCK);
        fcntl(fd, F_SETFD, FD_CLOEXEC);
      }
    }
  }
  int ReadEnd() const { return fds_[0]; }

  void Signal() {
    const char byte = 1;
    while (write(fds_[1], &byte, 1) < 0 && errno == EINTR) {
    }
  }

  void Drain() {
    char buffer[64];
    while (read(fds_[0], buffer, sizeof buffer) > 0) {
    }
  }

 private:
  int fds_[2] = {-1, -1};
};

// Made at program start, so a signal handler never runs its constructor.
WakePipe wakePipe;

WakePipe& Pipe() {
  return wakePipe;
}

// A request that arrives while the pipe is drained must not be lost: signal again afterwards
// when a flag is still (or newly) set.
void DrainWhenIdle() {
  if (stopFlag.load() || skipFlag.load()) return;
  Pipe().Drain();
  if (stopFlag.load() || skipFlag.load()) Pipe().Signal();
}

// How many RunRequestsIgnored the thread has in place.
thread_local int ignoring = 0;

}  // namespace

bool StopRequested() {
  return ignoring == 0 && stopFlag.load();
}
bool SkipRequested() {
  return ignoring == 0 && skipFlag.load();
}

void RequestStop() {
  stopFlag.store(true);
  CancelBlockingCall();
}

void RequestSkip() {
  skipFlag.store(true);
  CancelBlockingCall();
}

void ClearStop() {
  stopFlag.store(false);
  DrainWhenIdle();
}

void ClearSkip() {
  skipFlag.store(false);
  DrainWhenIdle();
}

void CancelBlockingCall() {
  Pipe().Signal();
}

int CancellationFd() {
  return ignoring == 0 ? Pipe().ReadEnd() : -1;
}

RunRequestsIgnored::RunRequestsIgnored() {
  ++ignoring;
}

RunRequestsIgnored::~RunRequestsIgnored() {
  --ignoring;
}

}  // namespace gl
