#include "cli/interrupt.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/cancellation.h"

namespace gl::cli {
namespace {

TEST(StopOnInterruptTest, TheFirstInterruptRequestsStop) {
  ClearStop();
  {
    StopOnInterrupt guard;
    ASSERT_EQ(raise(SIGINT), 0);
    EXPECT_TRUE(StopRequested());
    // The handler has handed SIGINT back to its default action for the second Ctrl+C.
    struct sigaction now {};
    sigaction(SIGINT, nullptr, &now);
    EXPECT_EQ(now.sa_handler, SIG_DFL);
  }
  ClearStop();
}

TEST(StopOnInterruptTest, ThePreviousHandlingComesBack) {
  struct sigaction ignore {};
  ignore.sa_handler = SIG_IGN;
  struct sigaction before {};
  sigaction(SIGINT, &ignore, &before);
  {
    StopOnInterrupt guard;
    struct sigaction during {};
    sigaction(SIGINT, nullptr, &during);
    EXPECT_NE(during.sa_handler, SIG_IGN);
  }
  struct sigaction after {};
  sigaction(SIGINT, nullptr, &after);
  EXPECT_EQ(after.sa_handler, SIG_IGN);
  sigaction(SIGINT, &before, nullptr);
}

// In a child process: survive one interrupt with Stop requested, die of the second.
TEST(StopOnInterruptTest, TheSecondInterruptEndsTheProgram) {
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    StopOnInterrupt guard;
    raise(SIGINT);
    if (!StopRequested()) _exit(2);
    raise(SIGINT);
    _exit(0);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFSIGNALED(status)) << "exit status " << WEXITSTATUS(status);
  EXPECT_EQ(WTERMSIG(status), SIGINT);
}

}  // namespace
}  // namespace gl::cli
