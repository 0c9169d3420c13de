#include "cli_test_support.h"

#include <iterator>
#include <sstream>

#include "cli/cli.h"

namespace gl::test {

CliRun RunCli(const std::vector<std::string>& arguments) {
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

std::vector<std::string> Words(const std::string& line, const std::string& brief) {
  std::istringstream in(line);
  std::vector<std::string> words{std::istream_iterator<std::string>(in), {}};
  for (std::string& word : words) {
    if (word == "B") word = brief;
    if (word == "''") word.clear();
  }
  return words;
}

}  // namespace gl::test
