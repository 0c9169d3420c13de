#pragma once

#include <string>
#include <vector>

#include "support/scoped_environment.h"
#include "support/temp_folder.h"

namespace gl::test {

struct CliRun {
  int code = -1;
  std::string out;
  std::string err;
};

// Runs `gleaner` in-process with the given arguments (without the program name).
CliRun RunCli(const std::vector<std::string>& arguments);

// The words of a command line as arguments: B stands for `brief`, '' for an empty argument.
std::vector<std::string> Words(const std::string& line, const std::string& brief = "");

// A temp folder that also holds the settings store for the test's lifetime.
class CliFolder : public TempFolder {
 public:
  CliFolder() : home_("GLEANER_LIGHT_HOME", Path().string()) {}

 private:
  ScopedEnvironment home_;
};

}  // namespace gl::test
