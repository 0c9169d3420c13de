#include "cli/interrupt.h"

#include "platform/cancellation.h"

namespace gl::cli {
namespace {

constexpr std::array kStopSignals{SIGINT, SIGTERM, SIGHUP};

void SetHandler(int signal, void (*handler)(int), int flags, struct sigaction* previous) {
  struct sigaction action {};
  action.sa_handler = handler;
  sigemptyset(&action.sa_mask);
  action.sa_flags = flags;
  sigaction(signal, &action, previous);
}

// RequestStop is an atomic store and a write() to the wake-up pipe, and sigaction may be called
// in a signal handler: all of it is safe here.
void OnStopSignal(int) {
  RequestStop();
  for (const int signal : kStopSignals)
    SetHandler(signal, SIG_DFL, 0, nullptr);
}

}  // namespace

StopOnInterrupt::StopOnInterrupt() {
  static_assert(kStopSignals.size() == std::tuple_size_v<decltype(previous_)>);
  for (std::size_t i = 0; i < kStopSignals.size(); ++i)
    SetHandler(kStopSignals[i], OnStopSignal, SA_RESTART, &previous_[i]);
  // StartProgram gives the programs it starts (the browser) the default handling back, as an
  // ignored signal would otherwise stay ignored in them.
  SetHandler(SIGPIPE, SIG_IGN, 0, &previousPipe_);
}

StopOnInterrupt::~StopOnInterrupt() {
  for (std::size_t i = 0; i < kStopSignals.size(); ++i)
    sigaction(kStopSignals[i], &previous_[i], nullptr);
  sigaction(SIGPIPE, &previousPipe_, nullptr);
}

}  // namespace gl::cli
