#include "platform/program_start.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <sstream>

#include "support/temp_folder.h"

namespace gl {
namespace {

// The started program writes into a named pipe; opening the pipe for reading waits until it
// has, so the test needs no timing.
TEST(ProgramStartTest, ArgumentsArriveUnchangedWithoutAShell) {
  test::TempFolder folder;
  const std::filesystem::path fifo = folder / "report";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  const std::string address = "file:///tmp/a b/Brief0.htm?x=1&y=$HOME;echo `id`";
  const ProgramStartResult result =
      StartProgram("sh", {"-c", "printf '%s|' \"$@\" > \"$0\"", fifo.string(), address, "two"});
  ASSERT_TRUE(result.Started) << result.Message;
  EXPECT_TRUE(result.Message.empty());
  EXPECT_EQ(test::ReadFileBytes(fifo), address + "|two|");
}

TEST(ProgramStartTest, TheChildRunsInItsOwnSession) {
  test::TempFolder folder;
  const std::filesystem::path fifo = folder / "report";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  const ProgramStartResult result = StartProgram(
      "sh", {"-c", "{ cut -d' ' -f6 /proc/$$/stat; echo $$; } > \"$0\"", fifo.string()});
  ASSERT_TRUE(result.Started) << result.Message;
  std::istringstream lines(test::ReadFileBytes(fifo));
  long session = 0;
  long process = 0;
  lines >> session >> process;
  EXPECT_EQ(session, process);
  EXPECT_NE(session, getsid(0));
}

TEST(ProgramStartTest, AMissingProgramIsReportedWithItsName) {
  const ProgramStartResult result = StartProgram("/nonexistent/browser", {"file:///x"});
  EXPECT_FALSE(result.Started);
  EXPECT_NE(result.Message.find("Cannot start /nonexistent/browser: "), std::string::npos)
      << result.Message;
  const ProgramStartResult empty = StartProgram("", {"file:///x"});
  EXPECT_FALSE(empty.Started);
  EXPECT_EQ(empty.Message, "No program is set.");
}

}  // namespace
}  // namespace gl
