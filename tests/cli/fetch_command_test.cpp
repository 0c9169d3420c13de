#include <gtest/gtest.h>
#include <signal.h>

#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "cli_test_support.h"
#include "net/internal/base64.h"
#include "platform/cancellation.h"
#include "support/loopback_server.h"
#include "support/scoped_environment.h"

// The fetch command's own part: options and settings handed to the fetch, what goes to stdout
// and stderr, and the exit code. The fetch itself is pinned by the net tests.

namespace gl::test {
namespace {

class FetchCommandTest : public ::testing::Test {
 protected:
  CliFolder home_;
  ScopedTimeScale timeScale_{"0.05"};
  LoopbackServer server_;
};

// stdout gets the answer, or the explanation page without the zero byte that ends it in memory;
// stderr never gets a control byte from the server.
TEST_F(FetchCommandTest, PrintsTheResultAndWhereTheLastRedirectLed) {
  server_.Enqueue(RedirectAnswer(301, "/moved/\x1b[2Jhere.htm"));
  server_.Enqueue(PageAnswer("<html>hi</html>"));
  const CliRun found = RunCli({"fetch", server_.Address("/a.htm")});
  EXPECT_EQ(found.code, 0);
  EXPECT_EQ(found.out, PageAnswer("<html>hi</html>").Bytes);
  EXPECT_EQ(found.err, "page-ok=yes non-text=no external=no address=" + server_.HostPort() +
                           "/moved/\\x1B[2Jhere.htm\n");

  server_.Enqueue(StatusAnswer(404));
  const CliRun missing = RunCli({"fetch", server_.Address("/gone.htm")});
  EXPECT_EQ(missing.code, 1);
  EXPECT_TRUE(missing.out.starts_with("HTTP/1.0 500\r\n\r\n<html><title>Inaccessible Page"));
  EXPECT_TRUE(missing.out.ends_with("</body></html>")) << missing.out;
  EXPECT_EQ(missing.err,
            "page-ok=no non-text=no external=no address=" + server_.Address("/gone.htm") + "\n");
}

// Retries and the default credentials come from the settings; --user and --password win.
TEST_F(FetchCommandTest, SettingsGiveRetriesAndDefaultCredentials) {
  for (const auto& [key, value] :
       {std::pair{"retries", "1"}, {"user-name", "bob"}, {"password", "pw"}})
    ASSERT_EQ(RunCli({"settings", key, value}).code, 0);
  server_.Enqueue(StatusAnswer(401));
  server_.Enqueue(StatusAnswer(500));  // no second attempt with one retry
  EXPECT_EQ(RunCli({"fetch", server_.Address("/private.htm")}).code, 1);
  ASSERT_EQ(server_.RequestCount(), 2u);
  EXPECT_EQ(server_.Requests()[1].Header("Authorization"), "Basic " + EncodeBase64("bob:pw"));

  server_.Enqueue(StatusAnswer(401));
  server_.Enqueue(PageAnswer("members"));
  const CliRun run =
      RunCli({"fetch", server_.Address("/a.htm"), "--user", "ann", "--password", "secret"});
  EXPECT_EQ(run.code, 0);
  ASSERT_EQ(server_.RequestCount(), 4u);
  EXPECT_EQ(server_.Requests()[3].Header("Authorization"), "Basic " + EncodeBase64("ann:secret"));
}

// --images accepts images only, --other-files any type; --stay-local refuses another site than
// --base's without traffic. B stands for the address.
TEST_F(FetchCommandTest, OptionsDecideWhatIsAccepted) {
  const std::tuple<std::string, const char*, int, const char*> rows[] = {
      {"image/gif", "fetch B", 1, "page-ok=no non-text=yes "},
      {"image/gif", "fetch B --images", 0, "page-ok=yes non-text=yes "},
      {"application/zip", "fetch B --images", 1, "page-ok=no non-text=yes "},
      {"application/zip", "fetch B --other-files", 0, "page-ok=yes non-text=yes "},
      {"", "fetch B --stay-local --base http://www.example.com/", 1,
       "page-ok=no non-text=no external=yes "},
  };
  for (const auto& [type, command, code, err] : rows) {
    SCOPED_TRACE(command);
    if (!type.empty()) server_.Enqueue(PageAnswer("GIF89a", type));
    const CliRun run = RunCli(Words(command, server_.Address("/a")));
    EXPECT_EQ(run.code, code);
    EXPECT_TRUE(run.err.starts_with(err)) << run.err;
  }
  EXPECT_EQ(server_.RequestCount(), 4u);
}

// Ctrl+C while the transfer waits (without the guard it would end the tests) ends the fetch at
// once with the skipped page and leaves no Stop behind; putting the handler back is pinned by the
// generate command's test.
TEST_F(FetchCommandTest, CtrlCStopsAWaitingFetch) {
  const ScopedTimeScale stretched("100");
  LoopbackServer server([](const Request&) {
    raise(SIGINT);
    return SilentAnswer();
  });
  const CliRun run = RunCli({"fetch", server.Address("/a.htm")});
  EXPECT_EQ(run.code, 1);
  EXPECT_NE(run.out.find("<title>Gleaner-Light Web page skipped</title>"), std::string::npos);
  EXPECT_FALSE(StopRequested());
}

}  // namespace
}  // namespace gl::test
