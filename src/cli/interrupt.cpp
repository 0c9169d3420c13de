#include "cli/interrupt.h"

#include "platform/cancellation.h"

namespace gl::cli {
namespace {

// RequestStop is an atomic store and a write() to the wake-up pipe: safe in a signal handler.
void OnInterrupt(int) {
  RequestStop();
}

}  // namespace

StopOnInterrupt::StopOnInterrupt() {
  struct sigaction action {};
  action.sa_handler = OnInterrupt;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESETHAND | SA_RESTART;
  sigaction(SIGINT, &action, &previous_);
}

StopOnInterrupt::~StopOnInterrupt() {
  sigaction(SIGINT, &previous_, nullptr);
}

}  // namespace gl::cli
