#include <gtest/gtest.h>
#include <poll.h>
#include <stdlib.h>

#include <ctime>

#include "platform/cancellation.h"
#include "platform/date_time.h"
#include "platform/file_address.h"

namespace gl {
namespace {

bool CancellationPending() {
  pollfd descriptor{CancellationFd(), POLLIN, 0};
  return poll(&descriptor, 1, 0) == 1;
}

TEST(CancellationTest, RequestsStayPendingUntilBothFlagsAreCleared) {
  ASSERT_FALSE(CancellationPending());
  RequestStop();
  RequestSkip();
  EXPECT_TRUE(CancellationPending());
  ClearSkip();
  EXPECT_TRUE(StopRequested());
  EXPECT_TRUE(CancellationPending());
  ClearStop();
  EXPECT_FALSE(StopOrSkipRequested());
  EXPECT_FALSE(CancellationPending());
}

TEST(FileAddressTest, SchemeInAnyCaseAndTheSlashAfterItBelongsToThePath) {
  EXPECT_TRUE(IsFileAddress("FILE:///home/ann/a.htm"));
  EXPECT_FALSE(IsFileAddress("file:/x"));
  EXPECT_FALSE(IsFileAddress("http://file://"));
  EXPECT_EQ(PathFromFileAddress("file:///home/ann/a.htm"), "/home/ann/a.htm");
  EXPECT_EQ(FileAddressFromPath("/home/ann/site/index.htm"), "file:///home/ann/site/index.htm");
  // A browser reads "#" as a fragment, "?" as a query and "%" as an escape.
  EXPECT_EQ(FileAddressFromPath("/home/ann/C# notes?/50% caf\xC3\xA9.htm"),
            "file:///home/ann/C%23%20notes%3F/50%25%20caf%C3%A9.htm");
}

TEST(DateTimeTest, FixedFormsWithoutLeadingZerosAndTwelveForNoonAndMidnight) {
  setenv("TZ", "UTC", 1);
  tzset();
  const std::time_t midnight = 946684800;  // 1 January 2000, 00:00:00 UTC
  const struct {
    std::time_t time;
    const char* date;
    const char* clock;
  } cases[] = {
      {857552822, "3/5/1997", "9:07:02 AM"},
      {midnight, "1/1/2000", "12:00:00 AM"},
      {midnight + 12 * 3600 + 5, "1/1/2000", "12:00:05 PM"},
      {midnight + 345 * 86400 + 86399, "12/11/2000", "11:59:59 PM"},
  };
  for (const auto& row : cases) {
    SCOPED_TRACE(row.time);
    EXPECT_EQ(ShortDateText(row.time), row.date);
    EXPECT_EQ(TimeText(row.time), row.clock);
  }
}

}  // namespace
}  // namespace gl
