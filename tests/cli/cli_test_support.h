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
  std::string out{}, err{};
  bool operator==(const CliRun&) const = default;
  friend void PrintTo(const CliRun& run, std::ostream* os) {
    *os << "exit " << run.code << ", out " << ::testing::PrintToString(run.out) << ", err "
        << ::testing::PrintToString(run.err);
  }
};

inline CliRun RunCli(const std::vector<std::string>& arguments) {
  std::vector<const char*> argv = {"gleaner"};
  for (const std::string& argument : arguments)
    argv.push_back(argument.c_str());
  std::ostringstream out, err;
  const int code = cli::RunGleaner(static_cast<int>(argv.size()), argv.data(), out, err);
  return {code, out.str(), err.str()};
}

// Whether the run exited with `code` and its error output begins with `err`.
inline ::testing::AssertionResult Exits(const CliRun& run, int code, const std::string& err) {
  if (run.code == code && run.err.starts_with(err)) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << ::testing::PrintToString(run);
}

// A command line's words: B stands for `brief`, '' for an empty word, c*N for N copies of c.
inline std::vector<std::string> Words(const std::string& line, const std::string& brief = "") {
  std::istringstream in(line);
  std::vector<std::string> words{std::istream_iterator<std::string>(in), {}};
  for (std::string& word : words) {
    if (word.size() > 2 && word[1] == '*') word = std::string(std::stoul(word.substr(2)), word[0]);
    word = word == "B" ? brief : word == "''" ? "" : word;
  }
  return words;
}

// Runs a command line (see Words) that must succeed.
inline void RunDone(const std::string& line, const std::string& brief = "") {
  const CliRun run = RunCli(Words(line, brief));
  EXPECT_EQ(run.code, kExitDone) << line << ": " << run.err;
}

struct CliFolder : TempFolder {
  ScopedEnvironment home{"GLEANER_LIGHT_HOME", Path().string()};
};

}  // namespace gl::test
