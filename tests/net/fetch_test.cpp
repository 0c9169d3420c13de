#include "net/fetch.h"

#include <gtest/gtest.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <thread>

#include "net/generated_pages.h"
#include "net/internal/local_file.h"
#include "net/net_fixture.h"
#include "support/temp_folder.h"
#include "support/test_authority.h"

namespace gl::test {
namespace {

using FetchTest = NetTest<>;
using ShortWaitFetchTest = NetTest<2>;
using StretchedFetchTest = NetTest<100000>;  // a wait that ignored a Stop would hang

// Each wait for first data is longer (here 250, then 500 ms): a 300 ms late answer is taken second.
TEST_F(FetchTest, EachAnswerDecidesTheOutcomeAndTheNumberOfRequests) {
  struct Row {
    const char* name;
    std::vector<Answer> answers;
    std::string stream;
    std::size_t requests;
    bool pageOk = false, locationMissing = false, nonText = false;
  };
  using enum StatusPage;
  const std::string a = server_.Address("/a.htm");
  const auto status = [&a](StatusPage page) { return Page(WriteStatusPage, page, a); };
  const Answer noStatus = MakeAnswer("no status here", {}, "just text");
  const Answer noLocation = MakeAnswer("HTTP/1.0 302 Moved", {{"Content-Type", "text/html"}}, "");
  const std::vector<Answer> refusedType = {
      StatusAnswer(401),
      MakeAnswer("HTTP/1.0 200 OK", {{"Content-Type", "multipart/x-mixed-replace"}}, "stream")};
  const Answer loop = RedirectAnswer(302, "/a.htm");
  const Answer emptyLocation = MakeAnswer("HTTP/1.0 301 Moved", {{"Location", ""}}, "");
  const std::string credentials = Page(WriteCredentialsPage, a, "ann", "pw");
  const Answer late{.Bytes = PageAnswer("late").Bytes, .Delay = std::chrono::milliseconds(6000)};
  const Answer image = PageAnswer("GIF89a", "image/gif");
  const Answer dripped{PageAnswer("PK\3\4", "application/zip").Bytes, 3,
                       std::chrono::milliseconds(20)};
  // Nothing goes to another site, also not through a redirect: "localhost" is not "127.0.0.1".
  const std::string elsewhere = "http://localhost:" + std::to_string(server_.Port()) + "/x";
  const std::string https = "https://" + server_.HostPort() + "/s", file = "file:///etc/passwd";
  const Row rows[] = {
      {"202", std::vector(3, StatusAnswer(202)), status(Accepted), 3},
      {"204", std::vector(3, StatusAnswer(204)), status(Empty), 3},
      {"400", {StatusAnswer(400)}, status(NoResponse), 1},
      {"403", {StatusAnswer(403)}, status(Refused), 1},
      {"404", {StatusAnswer(404)}, status(NotFound), 1},
      {"501", {StatusAnswer(501)}, status(NotFunctional), 1},
      {"418", std::vector(3, StatusAnswer(418)), status(UnableToRespond), 3},
      {"500, then 404", {StatusAnswer(500), StatusAnswer(404)}, status(NotFound), 2},
      {"closed without answer", {Answer{}}, Page(WriteUnableToConnectPage, a), 1},
      {"no status line", std::vector(3, noStatus), WithZero(noStatus.Bytes), 3, true},
      {"redirect loop", std::vector(11, loop), status(UnableToRespond), 11},
      {"redirect without Location", {noLocation}, WithZero(noLocation.Bytes), 1, false, true},
      {"empty Location", {emptyLocation}, status(NotFound), 1},
      {"401", std::vector(4, StatusAnswer(401)), WithZero(StatusAnswer(401).Bytes), 4},
      {"407", std::vector(3, StatusAnswer(407)), WithZero(StatusAnswer(407).Bytes), 3},
      {"401, then refused type", refusedType, credentials, 2, false, false, true},
      {"silent, then late", {SilentAnswer(), late}, WithZero(late.Bytes), 2, true},
      {"image", {image}, WithZero(image.Bytes), 1, true, false, true},
      {"refused file", {dripped}, Page(WriteUnableToConnectPage, a), 1, false, false, true},
      {"to another site", {RedirectAnswer(302, elsewhere)}, Page(WriteExternalLinkPage, a), 1},
      {"to https", {RedirectAnswer(301, https)}, Page(WriteOtherSchemePage, https, false), 1},
      {"to a file", {RedirectAnswer(301, file)}, Page(WriteOtherSchemePage, file, false), 1},
  };
  options_.StayLocal = true;
  options_.BaseAddress = server_.Address("/");
  options_.UserName = "ann";
  options_.Password = "pw";
  options_.AcceptImages = true;
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    for (const Answer& answer : row.answers)
      server_.Enqueue(answer);
    const std::size_t before = server_.RequestCount();
    const FetchResult result = Fetch(a);
    EXPECT_EQ(result.Stream.Bytes(), row.stream);
    EXPECT_EQ(std::tie(result.PageOk, result.LocationMissing, result.NonText),
              std::tie(row.pageOk, row.locationMissing, row.nonText));
    EXPECT_EQ(server_.RequestCount() - before, row.requests);
  }
  // Another site or scheme asked for directly is explained at once, not asked for.
  sink_.Statuses.clear();
  const std::size_t before = server_.RequestCount();
  const FetchResult link = Fetch(elsewhere);
  EXPECT_TRUE(link.External && !link.PageOk);
  EXPECT_EQ(link.Stream.Bytes(), Page(WriteExternalLinkPage, elsewhere));
  for (const std::string scheme : {"https", "ftp", "mailto"}) {
    const std::string address = scheme + "://" + server_.HostPort() + "/a.htm";
    EXPECT_EQ(Fetch(address).Stream.Bytes(),
              Page(WriteOtherSchemePage, address, scheme == "mailto"));
  }
  EXPECT_EQ(std::pair(server_.RequestCount(), sink_.Statuses.size()), std::pair(before, size_t{0}));
}

// The first 401 costs no attempt; the settings' defaults stand in only for no credentials at all.
TEST_F(FetchTest, UnauthorisedIsAskedAgainWithCredentials) {
  const std::tuple<const char*, const char*, const char*> rows[] = {
      {"ann", "secret", "YW5uOnNlY3JldA=="},
      {"", "", "Ym9iOnB3"},
      {"ann", "", "YW5uOg=="},
      {"", "secret", "OnNlY3JldA=="}};
  settings_.RetryCount = 1;
  settings_.DefaultUserName = "bob";
  settings_.DefaultPassword = "pw";
  const auto lastTwo = [this](const std::string& address) {
    server_.Enqueue(StatusAnswer(401));
    server_.Enqueue(PageAnswer("members only"));
    EXPECT_TRUE(Fetch(address).PageOk);
    const auto requests = server_.Requests();
    return std::pair(requests[requests.size() - 2].Bytes, requests.back().Bytes);
  };
  for (const auto& [user, password, basic] : rows) {
    SCOPED_TRACE(basic);
    options_.UserName = user;
    options_.Password = password;
    const std::string sent = SentRequest("/private/a.htm", server_.HostPort());
    EXPECT_EQ(lastTwo(server_.Address("/private/a.htm#part")),
              std::pair(sent, SentRequest("/private/a.htm", server_.HostPort(), basic)));
  }
  // By default they belong to the first address's host and port.
  LoopbackServer other;
  server_.Enqueue(StatusAnswer(401));
  server_.Enqueue(RedirectAnswer(302, other.Address("/moved.htm")));
  other.Enqueue(StatusAnswer(401));
  EXPECT_EQ(Fetch(server_.Address("/a.htm")).Stream.Bytes(), WithZero(StatusAnswer(401).Bytes));
  options_.CredentialsAddress = server_.Address("/index.htm");
  other.Enqueue(StatusAnswer(401));
  EXPECT_FALSE(Fetch(other.Address("/picture.gif")).PageOk);
  ASSERT_EQ(other.RequestCount(), 2u);
  for (const Request& request : other.Requests())
    EXPECT_EQ(request.Header("Authorization"), "");
  options_.CredentialsAddress.clear();
  settings_.ProxyServer = "127.0.0.1";
  settings_.ProxyPort = server_.Port();
  settings_.RetryCount = 1;
  const std::string target = "http://www.example.com:8080/a.htm";
  EXPECT_EQ(lastTwo("www.example.com:8080/a.htm#top"),
            std::pair(SentRequest(target, "www.example.com:8080"),
                      SentRequest(target, "www.example.com:8080", "OnNlY3JldA==")));
}

TEST_F(StretchedFetchTest, StopOrSkipEndsTheFetchWithTheSkippedPage) {
  RequestStop();
  const FetchResult stopped = Fetch(server_.Address("/a.htm"));
  EXPECT_FALSE(stopped.PageOk);
  EXPECT_EQ(stopped.Stream.Bytes(), Page(WriteSkippedPage, server_.Address("/a.htm")));
  EXPECT_EQ(server_.RequestCount(), 0u);
  ClearStop();

  settings_.SecurePages = true;
  const RawListener silent(1);
  int accepted = -1;
  std::thread stopper([&silent, &accepted] {
    accepted = silent.Accept();
    int queued = 0;  // the client's first handshake message has arrived
    while (queued == 0 && ioctl(accepted, FIONREAD, &queued) == 0)
      std::this_thread::yield();
    RequestStop();
  });
  const std::string address = "https://" + silent.Endpoint() + "/";
  EXPECT_EQ(Fetch(address).Stream.Bytes(), Page(WriteSkippedPage, address));
  stopper.join();
  close(accepted);
}

TEST_F(FetchTest, LocalFileIsReadBehindAStatusLineOrGivesTheFileErrorPage) {
  const TempFolder folder;
  const std::string content = "<html>\n\nblank lines</html>\n\n\x01\x02";
  WriteFileBytes(folder / "a.htm", content);
  WriteFileBytes(folder / "b.PNG", "PNG");
  WriteFileBytes(folder / "empty.htm", "");
  ASSERT_EQ(mkfifo((folder / "pipe.htm").c_str(), 0600), 0);
  const std::string dir = "file://" + folder.Path().string() + "/";

  const FetchResult result = Fetch(dir + "a.htm");
  EXPECT_TRUE(result.PageOk && !result.NonText);
  EXPECT_EQ(result.Stream.Bytes(), WithZero("HTTP/1.0 200\r\n\r\n" + content));
  EXPECT_TRUE(sink_.Statuses.empty());
  EXPECT_TRUE(Fetch(dir + "b.PNG").NonText);

  // Refused unread: a folder, a device that never ends, a named pipe without a writer.
  for (const std::string& address : {dir + "missing.htm", dir + "empty.htm", dir,
                                     std::string("file:///dev/zero"), dir + "pipe.htm"}) {
    SCOPED_TRACE(address);
    const FetchResult failed = Fetch(address);
    EXPECT_FALSE(failed.PageOk);
    EXPECT_EQ(
        failed.Stream.Bytes(),
        Page(WriteFileErrorPage, address,
             address.ends_with("missing.htm") ? FileError::NotFound : FileError::FailedToLoad));
  }
  FetchResult large;  // longer than the limit of an answer
  LoadLocalFile(dir + "a.htm", "a", large, content.size() - 1);
  EXPECT_FALSE(large.PageOk);
  EXPECT_EQ(large.Stream.Bytes(), Page(WriteFileErrorPage, "a", FileError::FailedToLoad));
}

std::vector<std::string> Targets(const LoopbackServer& server) {
  std::vector<std::string> targets;
  for (const Request& request : server.Requests())
    targets.push_back(request.Target());
  return targets;
}

std::string TunnelRequest(std::string_view server) {
  return "CONNECT " + std::string(server) +
         " HTTP/1.0\r\nUser-Agent: Gleaner-Light 1.0\r\nHost: " + std::string(server) + "\r\n\r\n";
}

// Any certificate but a trusted one naming the address's host gives the reason's page, unasked.
// A Location without a scheme stays secure; the caller learns the page's "https://" address.
TEST_F(FetchTest, SecurePagesComeOnlyFromVerifiedServersAlsoInRedirectChainsAndTunnels) {
  settings_.SecurePages = true;
  const TrustedAuthority authority;
  const ServerIdentity loopback = authority.Issue({"127.0.0.1", "localhost"});
  const TestAuthority stranger;
  const std::tuple<ServerIdentity, const char*, const char*> rows[] = {
      {loopback, "127.0.0.1", ""},
      {loopback, "localhost", ""},
      {authority.Issue({"elsewhere.test"}), "127.0.0.1", "IP address mismatch"},
      {authority.Issue({"elsewhere.test"}), "localhost", "hostname mismatch"},
      {authority.Issue({"127.0.0.1"}, -10, -1), "127.0.0.1", "certificate has expired"},
      {stranger.Issue({"127.0.0.1"}), "127.0.0.1", "unable to get local issuer certificate"}};
  const Answer page = PageAnswer("<html>" + std::string(100000, 's') + "</html>");  // many records
  for (const auto& [identity, name, refusal] : rows) {
    SCOPED_TRACE(std::string(name) + " " + refusal);
    LoopbackServer server({}, &identity);
    server.Enqueue(page);
    const std::string address = "https://" + (name + (":" + std::to_string(server.Port()))) + "/a";
    const FetchResult result = Fetch(address);
    const bool fetched = *refusal == '\0';
    EXPECT_EQ(result.Stream.Bytes(),
              fetched ? WithZero(page.Bytes) : Page(WriteRefusedCertificatePage, address, refusal));
    EXPECT_EQ(std::pair(result.PageOk, server.RequestCount()), std::pair(fetched, size_t{fetched}));
  }

  // Each Location is read against the address last requested, one without a scheme stays
  // secure, and the caller learns the last address.
  LoopbackServer secure({}, &loopback);
  server_.Enqueue(RedirectAnswer(302, server_.Address("/dir/b.htm")));
  for (const char* step : {"301 c.htm", "303 ../d.htm", "300 /e?x=1", "307 ?x=2"})
    server_.Enqueue(RedirectAnswer(std::atoi(step), step + 4));
  server_.Enqueue(RedirectAnswer(308, secure.Address("/x.htm")));
  secure.Enqueue(RedirectAnswer(302, "/y.htm"));
  secure.Enqueue(RedirectAnswer(301, server_.Address("/z.htm")));
  server_.Enqueue(RedirectAnswer(302, secure.Address("/end.htm")));
  const Answer end = MakeAnswer("HTTP/1.0 203 Non-Authoritative", {{"Content-Type", "text/html"}},
                                "<html>end of chain</html>");
  secure.Enqueue(end);
  const FetchResult result = Fetch(server_.HostPort() + "#top");
  EXPECT_EQ(std::tie(result.PageOk, result.NonText, result.External, result.LocationMissing),
            std::make_tuple(true, false, false, false));
  EXPECT_EQ(result.Stream.Bytes(), WithZero(end.Bytes));
  EXPECT_EQ(address_, secure.Address("/end.htm"));
  EXPECT_EQ(Targets(server_), (std::vector<std::string>{"/", "/dir/b.htm", "/dir/c.htm", "/d.htm",
                                                        "/e?x=1", "/e?x=2", "/z.htm"}));
  EXPECT_EQ(Targets(secure), (std::vector<std::string>{"/x.htm", "/y.htm", "/end.htm"}));

  // Through a proxy, a tunnel; a proxy that refuses it has its answer classified like any other.
  settings_.ProxyServer = "127.0.0.1";
  settings_.ProxyPort = secure.Port();
  secure.Enqueue(PageAnswer("tunnelled"));
  EXPECT_TRUE(Fetch(secure.Address("/p.htm#part")).PageOk);
  ASSERT_EQ(secure.RequestCount(), 5u);
  EXPECT_EQ(secure.Requests()[3].Bytes, TunnelRequest(secure.HostPort()));
  EXPECT_EQ(secure.Requests()[4].Bytes, SentRequest("/p.htm", secure.HostPort()));

  settings_.ProxyPort = server_.Port();
  settings_.RetryCount = 1;
  const Answer refusal = StatusAnswer(407);
  server_.Enqueue(refusal);
  const FetchResult refused = Fetch("https://secure.example/");
  EXPECT_FALSE(refused.PageOk);
  EXPECT_EQ(refused.Stream.Bytes(),
            WithZero(refusal.Bytes.substr(0, refusal.Bytes.find("\r\n\r\n") + 4)));
  ASSERT_EQ(server_.RequestCount(), 8u);
  EXPECT_EQ(server_.Requests()[7].Bytes, TunnelRequest("secure.example:443"));
}

// As a silent plain server is.
TEST_F(ShortWaitFetchTest, ASilentHandshakeIsAskedAgainAndEndsUnableToRespond) {
  settings_.SecurePages = true;
  const RawListener silent(4);
  const std::string address = "https://" + silent.Endpoint() + "/";
  EXPECT_EQ(Fetch(address).Stream.Bytes(),
            Page(WriteStatusPage, StatusPage::UnableToRespond, address));
  EXPECT_EQ(sink_.Statuses.size(), 6u);  // contacting and connected, three times
}

}  // namespace
}  // namespace gl::test
