#pragma once

#include <string>
#include <vector>

namespace gl {

struct ProgramStartResult {
  bool Started = false;
  std::string Message;  // why the program could not be started; empty once it runs
};

// Starts `program` (searched on PATH when it holds no "/") with `arguments` as its own argument
// vector, never through a shell, and returns without waiting for it. The program runs in its own
// session with default signal handling, so a Ctrl+C meant for this program does not reach it;
// it is reaped in the background when it ends.
[[nodiscard]] ProgramStartResult StartProgram(const std::string& program,
                                              const std::vector<std::string>& arguments);

}  // namespace gl
