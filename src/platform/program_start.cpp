#include "platform/program_start.h"

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <thread>

extern char** environ;

namespace gl {
namespace {

// A session of its own keeps the browser from our terminal's signals. Older systems' spawn cannot
// start one; the browser is started all the same.
#ifdef POSIX_SPAWN_SETSID
constexpr short kOwnSession = POSIX_SPAWN_SETSID;
#else
constexpr short kOwnSession = 0;
#endif

// Spawn attributes: a new session (away from our terminal's process group) and default
// dispositions for the signals a command-line run installs or ignores, since ignored signals
// would otherwise stay ignored in the child.
class SpawnAttributes {
 public:
  SpawnAttributes() {
    posix_spawnattr_init(&attributes_);
    sigset_t defaults;
    sigemptyset(&defaults);
    sigaddset(&defaults, SIGINT);
    sigaddset(&defaults, SIGPIPE);
    sigset_t noneBlocked;
    sigemptyset(&noneBlocked);
    posix_spawnattr_setsigdefault(&attributes_, &defaults);
    posix_spawnattr_setsigmask(&attributes_, &noneBlocked);
    posix_spawnattr_setflags(&attributes_,
                             kOwnSession | POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK);
  }
  SpawnAttributes(const SpawnAttributes&) = delete;
  SpawnAttributes& operator=(const SpawnAttributes&) = delete;
  ~SpawnAttributes() { posix_spawnattr_destroy(&attributes_); }

  const posix_spawnattr_t* Get() const { return &attributes_; }

 private:
  posix_spawnattr_t attributes_;
};

}  // namespace

ProgramStartResult StartProgram(const std::string& program,
                                const std::vector<std::string>& arguments) {
  if (program.empty()) return {false, "No program is set."};
  std::vector<char*> argv;
  argv.reserve(arguments.size() + 2);
  argv.push_back(const_cast<char*>(program.c_str()));
  for (const std::string& argument : arguments)
    argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);

  const SpawnAttributes attributes;
  pid_t child = 0;
  const int error =
      posix_spawnp(&child, program.c_str(), nullptr, attributes.Get(), argv.data(), environ);
  if (error != 0) return {false, "Cannot start " + program + ": " + std::strerror(error)};
  // The child outlives no one's interest in its status; a detached waiter keeps it from
  // lingering as a zombie while this program goes on.
  std::thread([child] {
    while (waitpid(child, nullptr, 0) < 0 && errno == EINTR) {
    }
  }).detach();
  return {true, {}};
}

}  // namespace gl
