#include "cli_test_support.h"

#include <sstream>
#include <vector>

#include "cli/cli.h"

namespace gl::test {

CliRun RunCli(std::initializer_list<std::string> arguments) {
  std::vector<const char*> argv = {"gleaner"};
  for (const std::string& argument : arguments)
    argv.push_back(argument.c_str());
  std::ostringstream out, err;
  CliRun run;
  run.code = cli::RunGleaner(static_cast<int>(argv.size()), argv.data(), out, err);
  run.out = out.str();
  run.err = err.str();
  return run;
}

}  // namespace gl::test
