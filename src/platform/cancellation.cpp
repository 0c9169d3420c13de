#include "platform/cancellation.h"

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <mutex>

namespace gl {
namespace {

std::atomic<bool> stopFlag{false};
std::atomic<bool> skipFlag{false};

// A self-pipe: one byte in it means "a cancellation is pending". Both ends are non-blocking so
// neither a second cancel nor a drain of an empty pipe can hang.
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
    std::lock_guard lock(mutex_);
    if (pending_) return;
    char byte = 1;
    while (write(fds_[1], &byte, 1) < 0 && errno == EINTR) {
    }
    pending_ = true;
  }

  void Drain() {
    std::lock_guard lock(mutex_);
    char buffer[64];
    while (read(fds_[0], buffer, sizeof buffer) > 0) {
    }
    pending_ = false;
  }

 private:
  int fds_[2] = {-1, -1};
  std::mutex mutex_;
  bool pending_ = false;
};

WakePipe& Pipe() {
  static WakePipe pipe;
  return pipe;
}

void DrainWhenIdle() {
  if (!stopFlag.load() && !skipFlag.load()) Pipe().Drain();
}

}  // namespace

bool StopRequested() {
  return stopFlag.load();
}
bool SkipRequested() {
  return skipFlag.load();
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
  return Pipe().ReadEnd();
}

}  // namespace gl
