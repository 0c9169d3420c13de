#pragma once

#include <gmock/gmock.h>

#include <filesystem>
#include <iterator>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "cli/cli.h"
#include "support/scoped_environment.h"
#include "support/temp_folder.h"

namespace gl::test {

namespace fs = std::filesystem;
using cli::kExitDone, cli::kExitFailed, cli::kExitUsage;
using nlohmann::json;
using ::testing::HasSubstr;

struct CliRun {
  int code = -1;
  std::string out, err;
};

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
  for (std::string& word : words)
    word = word == "B" ? brief : word == "''" ? "" : word;
  return words;
}

struct CliFolder : TempFolder {
  ScopedEnvironment home{"GLEANER_LIGHT_HOME", Path().string()};
};

}  // namespace gl::test
