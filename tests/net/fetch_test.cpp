#include "net/fetch.h"

#include <gtest/gtest.h>

#include "net/base64.h"
#include "net/generated_pages.h"
#include "net/net_fixture.h"
#include "support/loopback_server.h"
#include "support/scoped_time_scale.h"
#include "support/temp_folder.h"

namespace gl::test {
namespace {

using std::chrono::milliseconds;

std::string WithZero(std::string bytes) {
  bytes += '\0';
  return bytes;
}

std::string StatusPageBytes(StatusPage page, std::string_view display) {
  MemoryStream stream;
  WriteStatusPage(stream, page, display);
  return stream.Bytes();
}

std::string UnableToConnectBytes(std::string_view display) {
  MemoryStream stream;
  WriteUnableToConnectPage(stream, display);
  return stream.Bytes();
}

std::string SkippedBytes(std::string_view display) {
  MemoryStream stream;
  WriteSkippedPage(stream, display);
  return stream.Bytes();
}

std::string PlainRequest(std::string_view target, std::string_view host) {
  return "GET " + std::string(target) +
         " HTTP/1.0\r\nUser-Agent: Gleaner-Light 1.0\r\nHost: " + std::string(host) +
         "\r\nAccept: */*; q=1\r\n\r\n";
}

std::string AuthRequest(std::string_view target, std::string_view host,
                        std::string_view credentials) {
  return "GET " + std::string(target) +
         " HTTP/1.0\r\nAccept: */*; q=1\r\nUser-Agent: Gleaner-Light 1.0\r\nHost: " +
         std::string(host) + "\r\nAuthorization: Basic " + EncodeBase64(credentials) + "\r\n\r\n";
}

class FetchTest : public NetTest {
 protected:
  FetchResult Fetch(std::string& address) { return FetchPage(address, options_, settings_, sink_); }

  FetchOptions options_;
  Settings settings_;
};

TEST_F(FetchTest, PageOkKeepsTheAnswerAsReceived) {
  LoopbackServer server;
  server.Enqueue(PageAnswer("<html>hello</html>"));
  std::string address = server.Address("/index.htm");

  const FetchResult result = Fetch(address);

  EXPECT_TRUE(result.Result);
  EXPECT_TRUE(result.PageOk);
  EXPECT_FALSE(result.NonText);
  EXPECT_FALSE(result.External);
  EXPECT_EQ(result.Stream.Bytes(), WithZero(PageAnswer("<html>hello</html>").Bytes));
  EXPECT_EQ(address, server.Address("/index.htm"));
  ASSERT_EQ(server.RequestCount(), 1u);
  EXPECT_EQ(server.Requests()[0].Bytes, PlainRequest("/index.htm", server.HostPort()));
}

TEST_F(FetchTest, AddressWithoutSchemeOrPathIsRequestedAsRoot) {
  LoopbackServer server;
  server.Enqueue(MakeAnswer("HTTP/1.0 203 Non-Authoritative", {}, "x"));
  std::string address = server.HostPort();

  const FetchResult result = Fetch(address);

  EXPECT_TRUE(result.PageOk);
  ASSERT_EQ(server.RequestCount(), 1u);
  EXPECT_EQ(server.Requests()[0].Bytes, PlainRequest("/", server.HostPort()));
}

TEST_F(FetchTest, StatusCodesWithoutUsablePageGiveTheirStatusPage) {
  struct Row {
    int code;
    StatusPage page;
  };
  const Row rows[] = {
      {202, StatusPage::Accepted},        {204, StatusPage::Empty},
      {400, StatusPage::NoResponse},      {403, StatusPage::Refused},
      {404, StatusPage::NotFound},        {501, StatusPage::NotFunctional},
      {500, StatusPage::UnableToRespond}, {418, StatusPage::UnableToRespond},
  };
  settings_.RetryCount = 1;
  for (const Row& row : rows) {
    SCOPED_TRACE(row.code);
    LoopbackServer server;
    server.Enqueue(StatusAnswer(row.code));
    std::string address = server.Address("/page.htm");

    const FetchResult result = Fetch(address);

    EXPECT_TRUE(result.Result);
    EXPECT_FALSE(result.PageOk);
    EXPECT_EQ(result.Stream.Bytes(), StatusPageBytes(row.page, server.Address("/page.htm")));
    EXPECT_EQ(server.RequestCount(), 1u);
  }
}

TEST_F(FetchTest, StatusWithoutDigitsCountsAsNotFound) {
  LoopbackServer server;
  server.Enqueue(MakeAnswer("HTTP/1.0 2x0 Odd", {}, "body"));
  std::string address = server.Address("/odd.htm");

  const FetchResult result = Fetch(address);

  EXPECT_FALSE(result.PageOk);
  EXPECT_EQ(result.Stream.Bytes(), StatusPageBytes(StatusPage::NotFound, address));
}

TEST_F(FetchTest, ServerErrorIsRequestedRetryCountTimes) {
  LoopbackServer server;
  for (int i = 0; i < 3; ++i)
    server.Enqueue(StatusAnswer(500));
  std::string address = server.Address("/busy.htm");

  const FetchResult result = Fetch(address);

  EXPECT_FALSE(result.PageOk);
  EXPECT_EQ(result.Stream.Bytes(), StatusPageBytes(StatusPage::UnableToRespond, address));
  const auto requests = server.Requests();
  ASSERT_EQ(requests.size(), 3u);
  for (const Request& request : requests)
    EXPECT_EQ(request.Bytes, PlainRequest("/busy.htm", server.HostPort()));
}

TEST_F(FetchTest, RetryAfterAnAcceptedStatusIsNotMade) {
  LoopbackServer server;
  server.Enqueue(StatusAnswer(500));
  server.Enqueue(StatusAnswer(404));
  server.Enqueue(PageAnswer("never asked for"));
  std::string address = server.Address("/gone.htm");

  const FetchResult result = Fetch(address);

  EXPECT_EQ(result.Stream.Bytes(), StatusPageBytes(StatusPage::NotFound, address));
  EXPECT_EQ(server.RequestCount(), 2u);
}

// Records when each status text was reported.
class TimedSink : public RecordingSink {
 public:
  void SetStatusText(const std::string& text) override {
    RecordingSink::SetStatusText(text);
    Times.push_back(std::chrono::steady_clock::now());
  }
  std::vector<std::chrono::steady_clock::time_point> Times;
};

// Each retry waits longer for the first data: 5, 10 and 15 s, here scaled to 20, 40 and 60 ms.
// A silent server makes every attempt wait its full time, which lies between the attempt's
// " Transferring data..." and the next attempt's " Contacting host...".
TEST_F(FetchTest, SilentServerIsRetriedWithLongerWaitsAndEndsUnableToRespond) {
  const ScopedTimeScale scale("0.004");
  LoopbackServer server;
  for (int i = 0; i < 3; ++i)
    server.Enqueue(SilentAnswer());
  std::string address = server.Address("/slow.htm");
  TimedSink sink;

  const FetchResult result = FetchPage(address, options_, settings_, sink);
  const auto finished = std::chrono::steady_clock::now();

  EXPECT_FALSE(result.PageOk);
  EXPECT_EQ(result.Stream.Bytes(), StatusPageBytes(StatusPage::UnableToRespond, address));
  EXPECT_EQ(server.RequestCount(), 3u);
  const std::vector<std::string> oneAttempt{" Contacting host...", " Connected...",
                                            " Transferring data..."};
  std::vector<std::string> threeAttempts;
  for (int i = 0; i < 3; ++i)
    threeAttempts.insert(threeAttempts.end(), oneAttempt.begin(), oneAttempt.end());
  ASSERT_EQ(sink.Statuses, threeAttempts);
  EXPECT_GE(sink.Times[3] - sink.Times[2], milliseconds(20));
  EXPECT_GE(sink.Times[6] - sink.Times[5], milliseconds(40));
  EXPECT_GE(finished - sink.Times[8], milliseconds(60));
}

TEST_F(FetchTest, ServerClosingWithoutAnswerGivesUnableToConnectAtOnce) {
  LoopbackServer server;
  server.Enqueue(CloseAnswer());
  server.Enqueue(PageAnswer("never asked for"));
  std::string address = server.Address("/a.htm");

  const FetchResult result = Fetch(address);

  EXPECT_FALSE(result.PageOk);
  EXPECT_EQ(result.Stream.Bytes(), UnableToConnectBytes(address));
  EXPECT_EQ(server.RequestCount(), 1u);
}

TEST_F(FetchTest, AnswerWithoutStatusLineIsRetriedThenKeptAsReceived) {
  settings_.RetryCount = 2;
  LoopbackServer server;
  server.Enqueue(MakeAnswer("no status here", {}, "just text"));
  server.Enqueue(MakeAnswer("no status here", {}, "just text"));
  std::string address = server.Address("/plain");

  const FetchResult result = Fetch(address);

  EXPECT_TRUE(result.PageOk);
  EXPECT_EQ(result.Stream.Bytes(), WithZero("no status here\r\n\r\njust text"));
  EXPECT_EQ(server.RequestCount(), 2u);
}

TEST_F(FetchTest, HostLongerThan256BytesIsUnknown) {
  std::string address = "http://" + std::string(300, 'h') + ".example/a.htm";
  const std::string display = address;

  const FetchResult result = Fetch(address);

  EXPECT_FALSE(result.PageOk);
  EXPECT_EQ(result.Stream.Bytes(), UnableToConnectBytes(display));
}

// Redirects.

TEST_F(FetchTest, AbsoluteRedirectIsFollowedWithoutUsingAnAttempt) {
  settings_.RetryCount = 1;
  LoopbackServer server;
  server.Enqueue(RedirectAnswer(302, server.Address("/new.htm")));
  server.Enqueue(PageAnswer("moved here"));
  std::string address = server.Address("/old.htm");

  const FetchResult result = Fetch(address);

  EXPECT_TRUE(result.PageOk);
  EXPECT_EQ(address, server.HostPort() + "/new.htm");
  EXPECT_EQ(result.Stream.Bytes(), WithZero(PageAnswer("moved here").Bytes));
  const auto requests = server.Requests();
  ASSERT_EQ(requests.size(), 2u);
  EXPECT_EQ(requests[1].Bytes, PlainRequest("/new.htm", server.HostPort()));
}

TEST_F(FetchTest, RelativeRedirectsResolveAgainstTheRequestedAddress) {
  struct Row {
    const char* location;
    const char* target;
  };
  const Row rows[] = {
      {"/top.htm", "/top.htm"},
      {"next.htm", "/dir/next.htm"},
      {"../up.htm", "/up.htm"},
      {"?page=2", "/dir/page.htm?page=2"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.location);
    LoopbackServer server;
    server.Enqueue(RedirectAnswer(301, row.location));
    server.Enqueue(PageAnswer("found"));
    std::string address = server.Address("/dir/page.htm");
    const std::string display = address;

    const FetchResult result = Fetch(address);

    EXPECT_TRUE(result.PageOk);
    EXPECT_EQ(address, server.HostPort() + row.target);
    const auto requests = server.Requests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[1].Bytes, PlainRequest(row.target, server.HostPort()));
  }
}

TEST_F(FetchTest, RedirectChainIsFollowedToTheEnd) {
  settings_.RetryCount = 1;
  LoopbackServer server;
  server.Enqueue(RedirectAnswer(301, "/b"));
  server.Enqueue(RedirectAnswer(302, "/c"));
  server.Enqueue(RedirectAnswer(303, "/d"));
  server.Enqueue(RedirectAnswer(300, "/e"));
  server.Enqueue(RedirectAnswer(307, "/f"));
  server.Enqueue(RedirectAnswer(308, "/g"));
  server.Enqueue(PageAnswer("end of chain"));
  std::string address = server.Address("/a");

  const FetchResult result = Fetch(address);

  EXPECT_TRUE(result.PageOk);
  EXPECT_EQ(address, server.HostPort() + "/g");
  const auto requests = server.Requests();
  ASSERT_EQ(requests.size(), 7u);
  EXPECT_EQ(requests[6].Target(), "/g");
}

TEST_F(FetchTest, RedirectLoopEndsAfterTenRedirectsWithUnableToRespond) {
  LoopbackServer server([](const Request&) { return RedirectAnswer(302, "/loop"); });
  std::string address = server.Address("/loop");
  const std::string display = address;

  const FetchResult result = Fetch(address);

  EXPECT_FALSE(result.PageOk);
  EXPECT_TRUE(result.Result);
  EXPECT_EQ(result.Stream.Bytes(), StatusPageBytes(StatusPage::UnableToRespond, display));
  EXPECT_EQ(server.RequestCount(), 11u);
}

TEST_F(FetchTest, RedirectWithoutLocationFailsAndKeepsTheAnswer) {
  LoopbackServer server;
  const Answer moved = MakeAnswer("HTTP/1.0 302 Moved", {{"Content-Type", "text/html"}}, "");
  server.Enqueue(moved);
  std::string address = server.Address("/a");

  const FetchResult result = Fetch(address);

  EXPECT_FALSE(result.Result);
  EXPECT_FALSE(result.PageOk);
  EXPECT_EQ(result.Stream.Bytes(), WithZero(moved.Bytes));
  EXPECT_EQ(server.RequestCount(), 1u);
}

TEST_F(FetchTest, RedirectWithEmptyLocationGivesNotFound) {
  LoopbackServer server;
  server.Enqueue(MakeAnswer("HTTP/1.0 301 Moved", {{"Location", ""}}, ""));
  std::string address = server.Address("/a");

  const FetchResult result = Fetch(address);

  EXPECT_FALSE(result.PageOk);
  EXPECT_EQ(result.Stream.Bytes(), StatusPageBytes(StatusPage::NotFound, address));
}

TEST_F(FetchTest, OnlyTheLocationFieldNamesTheRedirectTarget) {
  LoopbackServer server;
  server.Enqueue(MakeAnswer("HTTP/1.0 302 Moved",
                            {{"Content-Location", "/wrong"}, {"Location", "/right"}},
                            "see location: /body"));
  server.Enqueue(PageAnswer("right"));
  std::string address = server.Address("/a");

  const FetchResult result = Fetch(address);

  EXPECT_TRUE(result.PageOk);
  ASSERT_EQ(server.RequestCount(), 2u);
  EXPECT_EQ(server.Requests()[1].Target(), "/right");
}

TEST_F(FetchTest, RedirectToAnotherSiteIsRefusedWhenExternalLinksAreForbidden) {
  LoopbackServer server;
  server.Enqueue(RedirectAnswer(302, "http://localhost:" + std::to_string(server.Port()) + "/x"));
  std::string address = server.Address("/a");
  const std::string display = address;
  options_.ForbidExternal = true;
  options_.BaseAddress = server.Address("/");

  const FetchResult result = Fetch(address);

  EXPECT_TRUE(result.External);
  EXPECT_FALSE(result.PageOk);
  MemoryStream expected;
  WriteExternalLinkPage(expected, display);
  EXPECT_EQ(result.Stream.Bytes(), expected.Bytes());
  EXPECT_EQ(server.RequestCount(), 1u);
}

// Credentials.

TEST_F(FetchTest, UnauthorisedIsRetriedOnceWithTheEntrysCredentials) {
  settings_.RetryCount = 1;
  options_.UserName = "ann";
  options_.Password = "secret";
  settings_.DefaultUserName = "default";
  settings_.DefaultPassword = "unused";
  LoopbackServer server;
  server.Enqueue(StatusAnswer(401));
  server.Enqueue(PageAnswer("members only"));
  std::string address = server.Address("/private/a.htm#part");

  const FetchResult result = Fetch(address);

  EXPECT_TRUE(result.PageOk);
  const auto requests = server.Requests();
  ASSERT_EQ(requests.size(), 2u);
  EXPECT_EQ(requests[0].Bytes, PlainRequest("/private/a.htm", server.HostPort()));
  EXPECT_EQ(requests[1].Bytes, AuthRequest("/private/a.htm", server.HostPort(), "ann:secret"));
}

TEST_F(FetchTest, UnauthorisedUsesTheDefaultCredentialsWhenTheEntryHasNone) {
  settings_.DefaultUserName = "bob";
  settings_.DefaultPassword = "pw";
  LoopbackServer server;
  server.Enqueue(StatusAnswer(401));
  server.Enqueue(PageAnswer("members only"));
  std::string address = server.Address("/a.htm");

  const FetchResult result = Fetch(address);

  EXPECT_TRUE(result.PageOk);
  const auto requests = server.Requests();
  ASSERT_EQ(requests.size(), 2u);
  EXPECT_EQ(requests[1].Header("Authorization"), "Basic " + EncodeBase64("bob:pw"));
}

TEST_F(FetchTest, RepeatedUnauthorisedUsesUpTheAttemptsAndKeepsTheAnswer) {
  options_.UserName = "ann";
  LoopbackServer server;
  for (int i = 0; i < 4; ++i)
    server.Enqueue(StatusAnswer(401));
  std::string address = server.Address("/a.htm");

  const FetchResult result = Fetch(address);

  EXPECT_FALSE(result.PageOk);
  EXPECT_EQ(result.Stream.Bytes(), WithZero(StatusAnswer(401).Bytes));
  const auto requests = server.Requests();
  ASSERT_EQ(requests.size(), 4u);
  EXPECT_EQ(requests[3].Header("Authorization"), "Basic " + EncodeBase64("ann:"));
}

TEST_F(FetchTest, FailedTransferInCredentialsModeGivesTheCredentialsPage) {
  options_.UserName = "ann";
  options_.Password = "pw";
  LoopbackServer server;
  server.Enqueue(StatusAnswer(401));
  server.Enqueue(
      MakeAnswer("HTTP/1.0 200 OK", {{"Content-Type", "multipart/x-mixed-replace"}}, "stream"));
  std::string address = server.Address("/cam");

  const FetchResult result = Fetch(address);

  EXPECT_FALSE(result.PageOk);
  MemoryStream expected;
  WriteCredentialsPage(expected, address, "ann", "pw");
  EXPECT_EQ(result.Stream.Bytes(), expected.Bytes());
}

TEST_F(FetchTest, ProxyAuthenticationRequiredKeepsTheProxysAnswer) {
  settings_.RetryCount = 2;
  LoopbackServer proxy;
  proxy.Enqueue(StatusAnswer(407));
  proxy.Enqueue(StatusAnswer(407));
  settings_.ProxyServer = "127.0.0.1";
  settings_.ProxyPort = proxy.Port();
  std::string address = "http://www.example.com/a.htm";

  const FetchResult result = Fetch(address);

  EXPECT_FALSE(result.PageOk);
  EXPECT_EQ(result.Stream.Bytes(), WithZero(StatusAnswer(407).Bytes));
  EXPECT_EQ(proxy.RequestCount(), 2u);
}

// Proxy request texts.

TEST_F(FetchTest, ProxyGetsTheFullAddressAndTheServersHost) {
  LoopbackServer proxy;
  proxy.Enqueue(PageAnswer("via proxy"));
  settings_.ProxyServer = "127.0.0.1";
  settings_.ProxyPort = proxy.Port();
  std::string address = "http://www.example.com:8080/a.htm#top";

  const FetchResult result = Fetch(address);

  EXPECT_TRUE(result.PageOk);
  ASSERT_EQ(proxy.RequestCount(), 1u);
  EXPECT_EQ(proxy.Requests()[0].Bytes,
            PlainRequest("http://www.example.com:8080/a.htm#top", "www.example.com:8080"));
}

TEST_F(FetchTest, ProxyGetsCredentialsWithoutTheFragment) {
  options_.UserName = "user";
  options_.Password = "pass";
  LoopbackServer proxy;
  proxy.Enqueue(StatusAnswer(401));
  proxy.Enqueue(PageAnswer("via proxy"));
  settings_.ProxyServer = "127.0.0.1";
  settings_.ProxyPort = proxy.Port();
  std::string address = "www.example.com/a.htm#top";

  const FetchResult result = Fetch(address);

  EXPECT_TRUE(result.PageOk);
  ASSERT_EQ(proxy.RequestCount(), 2u);
  EXPECT_EQ(proxy.Requests()[1].Bytes,
            AuthRequest("http://www.example.com/a.htm", "www.example.com", "user:pass"));
}

// Content types.

TEST_F(FetchTest, ImageIsFetchedWhenImagesAreAccepted) {
  options_.AcceptImages = true;
  LoopbackServer server;
  server.Enqueue(PageAnswer("GIF89a", "image/gif"));
  std::string address = server.Address("/a.gif");

  const FetchResult result = Fetch(address);

  EXPECT_TRUE(result.PageOk);
  EXPECT_TRUE(result.NonText);
  EXPECT_EQ(result.Stream.Bytes(), WithZero(PageAnswer("GIF89a", "image/gif").Bytes));
}

TEST_F(FetchTest, RefusedContentTypeGivesUnableToConnectWithoutRetry) {
  LoopbackServer server;
  server.Enqueue(PageAnswer("GIF89a", "image/gif"));
  std::string address = server.Address("/a.gif");

  const FetchResult result = Fetch(address);

  EXPECT_FALSE(result.PageOk);
  EXPECT_TRUE(result.NonText);
  EXPECT_EQ(result.Stream.Bytes(), UnableToConnectBytes(address));
  EXPECT_EQ(server.RequestCount(), 1u);
}

// External links.

TEST_F(FetchTest, ExternalLinkIsRefusedWithoutTraffic) {
  LoopbackServer server;
  server.Enqueue(PageAnswer("never asked for"));
  options_.ForbidExternal = true;
  options_.BaseAddress = "http://www.example.com/index.htm";
  std::string address = server.Address("/a.htm");

  const FetchResult result = Fetch(address);

  EXPECT_TRUE(result.External);
  EXPECT_FALSE(result.PageOk);
  EXPECT_TRUE(result.Result);
  MemoryStream expected;
  WriteExternalLinkPage(expected, address);
  EXPECT_EQ(result.Stream.Bytes(), expected.Bytes());
  EXPECT_EQ(server.RequestCount(), 0u);
  EXPECT_TRUE(sink_.Statuses.empty());
}

TEST_F(FetchTest, SameSiteLinkIsFetchedWhenExternalLinksAreForbidden) {
  LoopbackServer server;
  server.Enqueue(PageAnswer("same site"));
  options_.ForbidExternal = true;
  options_.BaseAddress = server.Address("/index.htm");
  std::string address = server.Address("/a.htm");

  const FetchResult result = Fetch(address);

  EXPECT_FALSE(result.External);
  EXPECT_TRUE(result.PageOk);
  EXPECT_EQ(server.RequestCount(), 1u);
}

// Stop and Skip.

TEST_F(FetchTest, StopBeforeTheFetchGivesTheSkippedPageWithoutTraffic) {
  LoopbackServer server;
  server.Enqueue(PageAnswer("never asked for"));
  std::string address = server.Address("/a.htm");
  RequestStop();

  const FetchResult result = Fetch(address);

  EXPECT_FALSE(result.PageOk);
  EXPECT_EQ(result.Stream.Bytes(), SkippedBytes(address));
  EXPECT_EQ(server.RequestCount(), 0u);
}

TEST_F(FetchTest, SkipWhileWaitingForDataEndsTheFetchWithTheSkippedPage) {
  // Stretched waits: without the cancellation this fetch would hang past the test's time limit.
  const ScopedTimeScale scale("100");
  LoopbackServer server([](const Request&) {
    RequestSkip();
    return SilentAnswer();
  });
  std::string address = server.Address("/a.htm");

  const FetchResult result = Fetch(address);

  EXPECT_FALSE(result.PageOk);
  EXPECT_EQ(result.Stream.Bytes(), SkippedBytes(address));
  EXPECT_EQ(server.RequestCount(), 1u);
}

// Local files.

class LocalFetchTest : public FetchTest {
 protected:
  TempFolder folder_;
};

TEST_F(LocalFetchTest, FileIsServedBehindAStatusLine) {
  const std::string content = "<html>\n\nblank lines</html>\n\n\x01\x02";
  WriteFileBytes(folder_ / "a.htm", content);
  std::string address = "file://" + (folder_ / "a.htm").string();

  const FetchResult result = Fetch(address);

  EXPECT_TRUE(result.PageOk);
  EXPECT_EQ(result.Stream.Bytes(), WithZero("HTTP/1.0 200\r\n\r\n" + content));
  EXPECT_TRUE(sink_.Statuses.empty());
}

TEST_F(LocalFetchTest, UpperCaseSchemeLoadsTheAbsolutePath) {
  WriteFileBytes(folder_ / "b.htm", "x");
  std::string address = "FILE://" + (folder_ / "b.htm").string();

  const FetchResult result = Fetch(address);

  EXPECT_TRUE(result.PageOk);
  EXPECT_EQ(result.Stream.Bytes(), WithZero("HTTP/1.0 200\r\n\r\nx"));
}

TEST_F(LocalFetchTest, MissingAndEmptyFilesGiveTheFileErrorPage) {
  WriteFileBytes(folder_ / "empty.htm", "");
  struct Row {
    std::string name;
    FileError error;
  };
  const Row rows[] = {{"missing.htm", FileError::NotFound},
                      {"empty.htm", FileError::FailedToLoad},
                      {"", FileError::FailedToLoad}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    std::string address = "file://" + (folder_ / row.name).string();

    const FetchResult result = Fetch(address);

    EXPECT_FALSE(result.PageOk);
    MemoryStream expected;
    WriteFileErrorPage(expected, address, row.error);
    EXPECT_EQ(result.Stream.Bytes(), expected.Bytes());
  }
}

}  // namespace
}  // namespace gl::test
