#pragma once

#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "cli/cli.h"
#include "support/scoped_environment.h"
#include "support/temp_folder.h"

namespace gl::test {

struct CliRun {
  int code = -1;
  std::string out;
  std::string err;
};

// Runs `gleaner` in-process with the given arguments (without the program name).
inline CliRun RunCli(const std::vector<std::string>& arguments) {
  std::vector<const char*> argv = {"gleaner"};
  for (const std::string& argument : arguments)
    argv.push_back(argument.c_str());
  std::ostringstream out, err;
  const int code = cli::RunGleaner(static_cast<int>(argv.size()), argv.data(), out, err);
  return {code, out.str(), err.str()};
}

// The words of a command line as arguments: B stands for `brief`, '' for an empty argument.
inline std::vector<std::string> Words(const std::string& line, const std::string& brief = "") {
  std::istringstream in(line);
  std::vector<std::string> words{std::istream_iterator<std::string>(in), {}};
  for (std::string& word : words) {
    if (word == "B") word = brief;
    if (word == "''") word.clear();
  }
  return words;
}

// A temp folder that also holds the settings store for the test's lifetime.
class CliFolder : public TempFolder {
 public:
  CliFolder() : home_("GLEANER_LIGHT_HOME", Path().string()) {}

 private:
  ScopedEnvironment home_;
};

}  // namespace gl::test
