#pragma once

#include <iosfwd>

namespace gl::cli {

// Exit codes of the command line program.
inline constexpr int kExitDone = 0;
inline constexpr int kExitFailed = 1;   // the operation failed; the message is on stderr
inline constexpr int kExitUsage = 2;    // the command line itself was wrong
inline constexpr int kExitAborted = 3;  // a generation run was stopped (Ctrl+C)

// Parses the arguments and runs one command. Everything the command prints goes to `out` and
// `err`, so tests can run it in-process.
int RunGleaner(int argc, const char* const* argv, std::ostream& out, std::ostream& err);

}  // namespace gl::cli
