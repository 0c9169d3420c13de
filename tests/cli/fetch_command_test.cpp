#include <gtest/gtest.h>
#include <signal.h>

#include <string>
#include <utility>
#include <vector>

#include "cli_test_support.h"
#include "core/settings_io.h"
#include "net/base64.h"
#include "platform/cancellation.h"
#include "platform/settings_store.h"
#include "support/loopback_server.h"
#include "support/scoped_time_scale.h"

namespace gl::test {
namespace {

// Runs `gleaner fetch ...` in-process with its settings store in a temp folder.
class FetchCommandTest : public ::testing::Test {
 protected:
  void TearDown() override {
    ClearStop();
    ClearSkip();
  }

  void Store(std::string_view group,
             const std::vector<std::pair<std::string_view, std::string_view>>& values) {
    SettingsStore store(DefaultSettingsFile());
    auto key = store.CreateKey(std::string(settings_keys::kRoot) + std::string(group));
    ASSERT_TRUE(key);
    ASSERT_TRUE(key->SetValues(values));
  }

  CliFolder home_;
  ScopedTimeScale timeScale_{"0.05"};
};

TEST_F(FetchCommandTest, PageOkPrintsTheAnswerAndExitsZero) {
  LoopbackServer server;
  server.Enqueue(PageAnswer("<html>hi</html>"));

  const CliRun run = RunCli({"fetch", server.Address("/a.htm")});

  EXPECT_EQ(run.code, 0);
  EXPECT_EQ(run.out, PageAnswer("<html>hi</html>").Bytes);
  EXPECT_EQ(run.err,
            "page-ok=yes non-text=no external=no address=" + server.Address("/a.htm") + "\n");
}

TEST_F(FetchCommandTest, MissingPagePrintsTheExplanationAndExitsOne) {
  LoopbackServer server;
  server.Enqueue(StatusAnswer(404));

  const CliRun run = RunCli({"fetch", server.Address("/gone.htm")});

  EXPECT_EQ(run.code, 1);
  EXPECT_TRUE(run.out.starts_with("HTTP/1.0 500\r\n\r\n<html><title>Inaccessible Page</title>"));
  EXPECT_NE(run.out.find("The server was unable to find or deliver the requested page."),
            std::string::npos);
  EXPECT_EQ(run.out.find('\0'), std::string::npos);
  EXPECT_TRUE(run.err.starts_with("page-ok=no "));
}

TEST_F(FetchCommandTest, RedirectReportsTheFinalAddress) {
  LoopbackServer server;
  server.Enqueue(RedirectAnswer(301, "/moved/here.htm"));
  server.Enqueue(PageAnswer("here"));

  const CliRun run = RunCli({"fetch", server.Address("/a.htm")});

  EXPECT_EQ(run.code, 0);
  EXPECT_EQ(run.err, "page-ok=yes non-text=no external=no address=" + server.HostPort() +
                         "/moved/here.htm\n");
}

TEST_F(FetchCommandTest, SettingsGiveRetriesAndDefaultCredentials) {
  Store(settings_keys::kBriefs, {{settings_keys::kRetries, "1"},
                                 {settings_keys::kUserName, "bob"},
                                 {settings_keys::kPassword, "pw"}});
  LoopbackServer server;
  server.Enqueue(StatusAnswer(401));
  server.Enqueue(StatusAnswer(500));
  server.Enqueue(PageAnswer("not reached with one attempt"));

  const CliRun run = RunCli({"fetch", server.Address("/private.htm")});

  EXPECT_EQ(run.code, 1);
  const auto requests = server.Requests();
  ASSERT_EQ(requests.size(), 2u);
  EXPECT_EQ(requests[1].Header("Authorization"), "Basic " + EncodeBase64("bob:pw"));
}

TEST_F(FetchCommandTest, CommandLineCredentialsComeBeforeTheDefaults) {
  Store(settings_keys::kBriefs, {{settings_keys::kUserName, "bob"}});
  LoopbackServer server;
  server.Enqueue(StatusAnswer(401));
  server.Enqueue(PageAnswer("members"));

  const CliRun run =
      RunCli({"fetch", server.Address("/a.htm"), "--user", "ann", "--password", "secret"});

  EXPECT_EQ(run.code, 0);
  ASSERT_EQ(server.RequestCount(), 2u);
  EXPECT_EQ(server.Requests()[1].Header("Authorization"), "Basic " + EncodeBase64("ann:secret"));
}

TEST_F(FetchCommandTest, ProxyFromTheSettingsGetsTheFullAddress) {
  LoopbackServer proxy;
  proxy.Enqueue(PageAnswer("proxied"));
  const std::string port = std::to_string(proxy.Port());
  Store(settings_keys::kProxy,
        {{settings_keys::kProxyServer, "127.0.0.1"}, {settings_keys::kProxyPort, port}});

  const CliRun run = RunCli({"fetch", "http://www.example.com/a.htm"});

  EXPECT_EQ(run.code, 0);
  ASSERT_EQ(proxy.RequestCount(), 1u);
  EXPECT_EQ(proxy.Requests()[0].Target(), "http://www.example.com/a.htm");
  EXPECT_EQ(proxy.Requests()[0].Header("Host"), "www.example.com");
}

TEST_F(FetchCommandTest, StayLocalRefusesAnotherSiteWithoutTraffic) {
  LoopbackServer server;
  server.Enqueue(PageAnswer("never asked for"));

  const CliRun run = RunCli({"fetch", server.Address("/a.htm"), "--stay-local", "--base",
                             "http://www.example.com/index.htm"});

  EXPECT_EQ(run.code, 1);
  EXPECT_NE(run.out.find("<title>External Link</title>"), std::string::npos);
  EXPECT_EQ(run.err,
            "page-ok=no non-text=no external=yes address=" + server.Address("/a.htm") + "\n");
  EXPECT_EQ(server.RequestCount(), 0u);
}

TEST_F(FetchCommandTest, ImagesAreFetchedOnlyWhenAsked) {
  LoopbackServer server;
  server.Enqueue(PageAnswer("GIF89a", "image/gif"));
  server.Enqueue(PageAnswer("GIF89a", "image/gif"));

  const CliRun refused = RunCli({"fetch", server.Address("/a.gif")});
  const CliRun fetched = RunCli({"fetch", server.Address("/a.gif"), "--images"});

  EXPECT_EQ(refused.code, 1);
  EXPECT_EQ(fetched.code, 0);
  EXPECT_EQ(fetched.out, PageAnswer("GIF89a", "image/gif").Bytes);
  EXPECT_TRUE(fetched.err.starts_with("page-ok=yes non-text=yes "));
}

TEST_F(FetchCommandTest, LocalFileIsPrintedBehindAStatusLine) {
  WriteFileBytes(home_ / "page.htm", "<html>\n\nlocal</html>");
  const std::string address = "file://" + (home_ / "page.htm").string();

  const CliRun run = RunCli({"fetch", address});

  EXPECT_EQ(run.code, 0);
  EXPECT_EQ(run.out, "HTTP/1.0 200\r\n\r\n<html>\n\nlocal</html>");
}

TEST_F(FetchCommandTest, MissingAddressIsAUsageError) {
  EXPECT_EQ(RunCli({"fetch"}).code, 2);
  EXPECT_EQ(RunCli({"fetch", "http://a/", "--no-such-option"}).code, 2);
}

// Ctrl+C while the transfer waits asks for Stop: the fetch ends at once with the skipped page,
// and afterwards the previous handling of Ctrl+C and a clear Stop flag are back.
TEST_F(FetchCommandTest, CtrlCStopsAWaitingFetch) {
  const ScopedTimeScale stretched("100");
  LoopbackServer server([](const Request&) {
    raise(SIGINT);
    return SilentAnswer();
  });
  struct sigaction before {};
  sigaction(SIGINT, nullptr, &before);

  const CliRun run = RunCli({"fetch", server.Address("/a.htm")});

  EXPECT_EQ(run.code, 1);
  EXPECT_NE(run.out.find("<title>Gleaner-Light Web page skipped</title>"), std::string::npos);
  struct sigaction after {};
  sigaction(SIGINT, nullptr, &after);
  EXPECT_EQ(after.sa_handler, before.sa_handler);
  EXPECT_FALSE(StopRequested());
}

}  // namespace
}  // namespace gl::test
