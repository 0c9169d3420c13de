#include "platform/program_start.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <sstream>

#include "support/temp_folder.h"

namespace gl {
namespace {

// The started shell writes its arguments, its session and its process id into a named pipe;
// opening the pipe for reading waits until it has, so the test needs no timing.
TEST(ProgramStartTest, ArgumentsArriveUnchangedAndTheChildRunsInItsOwnSession) {
  test::TempFolder folder;
  const std::filesystem::path fifo = folder / "report";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  const std::string address = "file:///tmp/a b/Brief0.htm?x=1&y=$HOME;echo `id`";
  const ProgramStartResult result = StartProgram(
      "sh", {"-c", "{ printf '%s|' \"$@\"; echo; cut -d' ' -f6 /proc/$$/stat; echo $$; } > \"$0\"",
             fifo.string(), address, "two"});
  ASSERT_TRUE(result.Started) << result.Message;
  EXPECT_EQ(result.Message, "");

  std::istringstream report(test::ReadFileBytes(fifo));
  std::string arguments;
  long session = 0;
  long process = 0;
  std::getline(report, arguments);
  report >> session >> process;
  EXPECT_EQ(arguments, address + "|two|");
  EXPECT_EQ(session, process);
  EXPECT_NE(session, getsid(0));
}

TEST(ProgramStartTest, AMissingProgramIsReportedWithItsName) {
  const ProgramStartResult result = StartProgram("/nonexistent/browser", {"file:///x"});
  EXPECT_FALSE(result.Started);
  EXPECT_EQ(result.Message.rfind("Cannot start /nonexistent/browser: ", 0), 0u) << result.Message;
  const ProgramStartResult empty = StartProgram("", {"file:///x"});
  EXPECT_FALSE(empty.Started);
  EXPECT_EQ(empty.Message, "No program is set.");
}

}  // namespace
}  // namespace gl
