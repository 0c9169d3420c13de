#pragma once

// The run's two process-wide requests, Stop (abort the whole run) and Skip (end the current web
// entry). The window thread sets them; the generation thread polls them between steps. Setting one
// also cancels any blocking socket call, so a waiting transfer notices at once.

namespace gl {

bool StopRequested();
bool SkipRequested();
inline bool StopOrSkipRequested() {
  return StopRequested() || SkipRequested();
}

// Set the flag, then cancel the blocking call of the generation thread. Safe to call from a
// signal handler.
void RequestStop();
void RequestSkip();

// Cleared by the run driver: Stop when a run starts, Skip when a web entry starts. Once neither
// flag is set, blocking calls block again.
void ClearStop();
void ClearSkip();

// Makes every blocking socket step that is waiting, or that starts before the flags are cleared,
// return at once with an error.
void CancelBlockingCall();

// A descriptor that is readable while a cancellation is pending. Blocking steps poll it together
// with their socket. -1, which poll passes over, on a thread that ignores the requests.
int CancellationFd();

// While one is in place, the calling thread sees neither request and its blocking steps are not
// cancelled: for work beside the run, such as asking the browser to show a page while an entry
// of the run is being skipped.
class RunRequestsIgnored {
 public:
  RunRequestsIgnored();
  RunRequestsIgnored(const RunRequestsIgnored&) = delete;
  RunRequestsIgnored& operator=(const RunRequestsIgnored&) = delete;
  ~RunRequestsIgnored();
};

}  // namespace gl
