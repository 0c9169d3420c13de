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
  EXPECT_TRUE(StopOrSkipRequested());
  EXPECT_TRUE(CancellationPending());
  ClearSkip();
  EXPECT_TRUE(StopRequested());
  EXPECT_TRUE(CancellationPending());
  ClearStop();
  EXPECT_FALSE(StopOrSkipRequested());
  EXPECT_FALSE(CancellationPending());
}

TEST(FileAddressTest, SchemeMatchesInAnyCase) {
  EXPECT_TRUE(IsFileAddress("file:///home/ann/a.htm"));
  EXPECT_TRUE(IsFileAddress("FILE:///home/ann/a.htm"));
  EXPECT_FALSE(IsFileAddress("file:/x"));
  EXPECT_FALSE(IsFileAddress("http://file://"));
}

TEST(FileAddressTest, TheSlashAfterTheSchemeBelongsToThePath) {
  EXPECT_EQ(PathFromFileAddress("file:///home/ann/a.htm"), "/home/ann/a.htm");
  EXPECT_EQ(FileAddressFromPath("/home/ann/site/index.htm"), "file:///home/ann/site/index.htm");
}

class DateTimeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("TZ", "UTC", 1);
    tzset();
  }
};

TEST_F(DateTimeTest, FixedFormsWithoutLeadingZeros) {
  const std::time_t morning = 857552822;  // 5 March 1997, 09:07:02 UTC
  EXPECT_EQ(ShortDateText(morning), "3/5/1997");
  EXPECT_EQ(TimeText(morning), "9:07:02 AM");
}

TEST_F(DateTimeTest, NoonAndMidnightUseTwelve) {
  const std::time_t midnight = 946684800;  // 1 January 2000, 00:00:00 UTC
  EXPECT_EQ(TimeText(midnight), "12:00:00 AM");
  EXPECT_EQ(TimeText(midnight + 12 * 3600 + 5), "12:00:05 PM");
  EXPECT_EQ(TimeText(midnight + 23 * 3600 + 59 * 60 + 59), "11:59:59 PM");
  EXPECT_EQ(ShortDateText(midnight + 345 * 86400), "12/11/2000");
}

}  // namespace
}  // namespace gl
