#include <gtest/gtest.h>
#include <poll.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <ctime>
#include <sstream>

#include "platform/atomic_file.h"
#include "platform/cancellation.h"
#include "platform/date_time.h"
#include "platform/file_address.h"
#include "platform/program_start.h"
#include "platform/time_scale.h"
#include "support/scoped_environment.h"
#include "support/temp_folder.h"

namespace gl::test {
namespace {

mode_t ModeOf(const std::filesystem::path& path) {
  struct stat status {};
  EXPECT_EQ(stat(path.c_str(), &status), 0);
  return status.st_mode & 07777;
}

TEST(CancellationTest, RequestsStayPendingUntilBothFlagsAreCleared) {
  const auto pending = [] {
    pollfd descriptor{CancellationFd(), POLLIN, 0};
    return poll(&descriptor, 1, 0) == 1;
  };
  ASSERT_FALSE(pending());
  RequestStop();
  RequestSkip();
  ClearSkip();
  EXPECT_TRUE(StopRequested());
  EXPECT_TRUE(pending());
  ClearStop();
  EXPECT_FALSE(StopOrSkipRequested());
  EXPECT_FALSE(pending());
}

TEST(FileAddressTest, SchemeInAnyCaseAndTheSlashAfterItBelongsToThePath) {
  EXPECT_TRUE(IsFileAddress("FILE:///home/ann/a.htm"));
  EXPECT_FALSE(IsFileAddress("file:/x"));
  EXPECT_FALSE(IsFileAddress("http://file://"));
  EXPECT_EQ(PathFromFileAddress("file:///home/ann/a.htm"), "/home/ann/a.htm");
  // A browser reads "#" as a fragment, "?" as a query and "%" as an escape.
  EXPECT_EQ(FileAddressFromPath("/home/ann/C# notes?/50% caf\xC3\xA9.htm"),
            "file:///home/ann/C%23%20notes%3F/50%25%20caf%C3%A9.htm");
}

TEST(DateTimeTest, FixedFormsWithoutLeadingZerosAndTwelveForNoonAndMidnight) {
  const ScopedEnvironment utc("TZ", "UTC");
  tzset();
  const std::time_t midnight = 946684800;  // 1 January 2000, 00:00:00 UTC
  const std::tuple<std::time_t, const char*, const char*> rows[] = {
      {857552822, "3/5/1997", "9:07:02 AM"},
      {midnight, "1/1/2000", "12:00:00 AM"},
      {midnight + 12 * 3600 + 5, "1/1/2000", "12:00:05 PM"},
      {midnight + 345 * 86400 + 86399, "12/11/2000", "11:59:59 PM"},
  };
  for (const auto& [time, date, clock] : rows) {
    SCOPED_TRACE(time);
    EXPECT_EQ(ShortDateText(time), date);
    EXPECT_EQ(TimeText(time), clock);
  }
}

// Only a positive number scales; a scaled wait rounds up, never vanishes and has a ceiling.
TEST(TimeScaleTest, OnlyPositiveNumbersScaleAndWaitsRoundUp) {
  const std::tuple<const char*, long long, long long> rows[] = {
      {"1e-3", 32000, 32}, {"", 5000, 5000}, {"0.5x", 5000, 5000},      {"0", 5000, 5000},
      {"-1", 5000, 5000},  {"inf", 50, 50},  {"nan", 5000, 5000},       {"0.0001", 5000, 1},
      {"0.003", 5000, 15}, {"0.001", 0, 0},  {"1e300", 5000, 86400000},
  };
  for (const auto& [factor, in, out] : rows) {
    SCOPED_TRACE(factor);
    const ScopedTimeScale scale(factor);
    EXPECT_EQ(Scaled(std::chrono::milliseconds(in)), std::chrono::milliseconds(out));
  }
}

// New files follow the umask; a replaced file keeps its mode, and a symbolic link stays while
// its target is replaced. Failed writes are checked through the files saved with it.
TEST(AtomicFileTest, ModesAndLinksSurviveAReplacement) {
  TempFolder folder;
  const mode_t previous = umask(022);
  ASSERT_TRUE(WriteFileAtomically(folder / "shared", "a"));
  umask(previous);
  EXPECT_EQ(ModeOf(folder / "shared"), 0644u);

  WriteFileBytes(folder / "brief.brf", "a much longer old content");
  ASSERT_EQ(chmod((folder / "brief.brf").c_str(), 0640), 0);
  std::filesystem::create_symlink(folder / "brief.brf", folder / "link.brf");
  ASSERT_TRUE(WriteFileAtomically(folder / "link.brf", std::string("new\0bytes", 9)));
  EXPECT_TRUE(std::filesystem::is_symlink(folder / "link.brf"));
  EXPECT_EQ(ReadFileBytes(folder / "brief.brf"), std::string("new\0bytes", 9));
  EXPECT_EQ(ModeOf(folder / "brief.brf"), 0640u);
}

// The started shell writes its arguments, its session and its process id into a named pipe;
// opening the pipe for reading waits until it has, so the test needs no timing.
TEST(ProgramStartTest, ArgumentsArriveUnchangedAndTheChildRunsInItsOwnSession) {
  TempFolder folder;
  const std::filesystem::path fifo = folder / "report";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  const std::string address = "file:///tmp/a b/Brief0.htm?x=1&y=$HOME;echo `id`";
  const ProgramStartResult result = StartProgram(
      "sh", {"-c", "{ printf '%s|' \"$@\"; echo; cut -d' ' -f6 /proc/$$/stat; echo $$; } > \"$0\"",
             fifo.string(), address, "two"});
  ASSERT_TRUE(result.Started) << result.Message;
  EXPECT_EQ(result.Message, "");

  std::istringstream report(ReadFileBytes(fifo));
  std::string arguments;
  long session = 0;
  long process = 0;
  std::getline(report, arguments);
  report >> session >> process;
  EXPECT_EQ(arguments, address + "|two|");
  EXPECT_EQ(session, process);
  EXPECT_NE(session, getsid(0));

  const ProgramStartResult missing = StartProgram("/nonexistent/browser", {"file:///x"});
  EXPECT_FALSE(missing.Started);
  EXPECT_EQ(missing.Message.rfind("Cannot start /nonexistent/browser: ", 0), 0u);
  EXPECT_EQ(StartProgram("", {"file:///x"}).Message, "No program is set.");
}

}  // namespace
}  // namespace gl::test
