#include <gtest/gtest.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <thread>

#include "net/fetch.h"
#include "net/generated_pages.h"
#include "net/net_fixture.h"
#include "support/loopback_server.h"
#include "support/test_authority.h"

namespace gl::test {
namespace {

std::string TunnelRequest(std::string_view server) {
  return "CONNECT " + std::string(server) +
         " HTTP/1.0\r\nUser-Agent: Gleaner-Light 1.0\r\nHost: " + std::string(server) + "\r\n\r\n";
}

// Secure pages on, with a throw-away authority as the only one trusted. The authority is made
// before any server thread starts, as it sets SSL_CERT_FILE.
class SecureFetchTest : public NetTest {
 protected:
  explicit SecureFetchTest(const char* timeScale = "0.05") : NetTest(timeScale) {
    settings_.SecurePages = true;
  }

  TrustedAuthority authority_;
  const ServerIdentity loopback_ = authority_.Issue({"127.0.0.1", "localhost"});
  LoopbackServer server_{{}, &loopback_};
};

// A certificate that leads to the trusted authority and names the host the address names gives
// the page; any other gives the page that names the reason, at once and without a request.
TEST_F(SecureFetchTest, OnlyAVerifiedServerIsAskedForThePage) {
  const TestAuthority stranger;
  const struct {
    const char* trace;
    ServerIdentity identity;
    const char* host;
    const char* refusal;  // empty: the page is fetched
  } rows[] = {
      {"address", loopback_, "127.0.0.1", ""},
      {"name", loopback_, "localhost", ""},
      {"other name, address", authority_.Issue({"elsewhere.test"}), "127.0.0.1",
       "IP address mismatch"},
      {"other name", authority_.Issue({"elsewhere.test"}), "localhost", "hostname mismatch"},
      {"expired", authority_.Issue({"127.0.0.1"}, -10, -1), "127.0.0.1", "certificate has expired"},
      {"unknown authority", stranger.Issue({"127.0.0.1"}), "127.0.0.1",
       "unable to get local issuer certificate"},
  };
  const Answer page = PageAnswer("<html>" + std::string(100000, 's') + "</html>");  // many records
  for (const auto& row : rows) {
    SCOPED_TRACE(row.trace);
    LoopbackServer server({}, &row.identity);
    server.Enqueue(page);
    const std::string host = row.host + (":" + std::to_string(server.Port()));
    const std::string address = "https://" + host + "/a.htm";

    const FetchResult result = Fetch(address);

    if (*row.refusal == '\0') {
      EXPECT_TRUE(result.PageOk);
      EXPECT_EQ(result.Stream.Bytes(), WithZero(page.Bytes));
      ASSERT_EQ(server.RequestCount(), 1u);
      EXPECT_EQ(server.Requests()[0].Bytes, SentRequest("/a.htm", host));
    } else {
      EXPECT_FALSE(result.PageOk);
      EXPECT_EQ(result.Stream.Bytes(), Page(WriteRefusedCertificatePage, address, row.refusal));
      EXPECT_EQ(server.RequestCount(), 0u);
    }
  }
}

// From plain to secure and back: a Location without a scheme stays on the secure server, and
// the caller learns where the page was found, with "https://" where it was secure.
TEST_F(SecureFetchTest, RedirectsLeadFromPlainToSecureAndBack) {
  LoopbackServer plain;
  plain.Enqueue(RedirectAnswer(302, server_.Address("/x.htm")));
  server_.Enqueue(RedirectAnswer(302, "/y.htm"));
  server_.Enqueue(RedirectAnswer(301, plain.Address("/z.htm")));
  plain.Enqueue(RedirectAnswer(302, server_.Address("/end.htm")));
  server_.Enqueue(PageAnswer("found"));

  const FetchResult result = Fetch(plain.Address("/"));

  EXPECT_TRUE(result.PageOk);
  EXPECT_EQ(result.Stream.Bytes(), WithZero(PageAnswer("found").Bytes));
  EXPECT_EQ(address_, server_.Address("/end.htm"));
  ASSERT_EQ(plain.RequestCount(), 2u);
  EXPECT_EQ(plain.Requests()[1].Bytes, SentRequest("/z.htm", plain.HostPort()));
  ASSERT_EQ(server_.RequestCount(), 3u);
  EXPECT_EQ(server_.Requests()[1].Bytes, SentRequest("/y.htm", server_.HostPort()));
}

// Through a proxy the server is reached by CONNECT, and the request inside the tunnel has the
// direct form. A proxy that refuses the tunnel has its answer classified like any other (a 407
// is kept once the attempts are used up); the https port is 443 when the address names none.
TEST_F(SecureFetchTest, AProxyIsAskedToConnectToTheServer) {
  settings_.ProxyServer = "127.0.0.1";
  settings_.ProxyPort = server_.Port();
  server_.Enqueue(PageAnswer("tunnelled"));

  EXPECT_TRUE(Fetch(server_.Address("/p.htm#part")).PageOk);

  ASSERT_EQ(server_.RequestCount(), 2u);
  EXPECT_EQ(server_.Requests()[0].Bytes, TunnelRequest(server_.HostPort()));
  EXPECT_EQ(server_.Requests()[1].Bytes, SentRequest("/p.htm", server_.HostPort()));

  LoopbackServer refusing;
  settings_.ProxyPort = refusing.Port();
  settings_.RetryCount = 1;
  const Answer refusal = StatusAnswer(407);
  refusing.Enqueue(refusal);
  const FetchResult refused = Fetch("https://secure.example/");
  EXPECT_FALSE(refused.PageOk);
  EXPECT_EQ(refused.Stream.Bytes(),
            WithZero(refusal.Bytes.substr(0, refusal.Bytes.find("\r\n\r\n") + 4)));
  ASSERT_EQ(refusing.RequestCount(), 1u);
  EXPECT_EQ(refusing.Requests()[0].Bytes, TunnelRequest("secure.example:443"));
}

class ShortWaitSecureFetchTest : public SecureFetchTest {
 protected:
  ShortWaitSecureFetchTest() : SecureFetchTest("0.002") {}
};

// A server that takes the connection and never answers the handshake is asked again, as a
// silent plain server is.
TEST_F(ShortWaitSecureFetchTest, ASilentHandshakeIsAskedAgainAndEndsUnableToRespond) {
  const RawListener silent(4);
  const std::string address = "https://" + silent.Endpoint() + "/";

  EXPECT_EQ(Fetch(address).Stream.Bytes(),
            Page(WriteStatusPage, StatusPage::UnableToRespond, address));
  EXPECT_EQ(sink_.Statuses.size(), 6u);  // contacting and connected, three times
}

// Waits stretched a hundredfold: a handshake that ignored the Stop would hang far past the
// test's time limit.
class StretchedSecureFetchTest : public SecureFetchTest {
 protected:
  StretchedSecureFetchTest() : SecureFetchTest("100") {}
};

// The server takes the connection and the client's first handshake message, and never answers
// nor closes while the client waits.
TEST_F(StretchedSecureFetchTest, StopEndsAHandshakeAtOnce) {
  const RawListener silent(1);
  int accepted = -1;
  std::thread stopper([&silent, &accepted] {
    accepted = silent.Accept();
    int queued = 0;
    while (queued == 0 && ioctl(accepted, FIONREAD, &queued) == 0)
      std::this_thread::yield();
    RequestStop();
  });
  const std::string address = "https://" + silent.Endpoint() + "/";

  const FetchResult result = Fetch(address);
  stopper.join();
  close(accepted);

  EXPECT_FALSE(result.PageOk);
  EXPECT_EQ(result.Stream.Bytes(), Page(WriteSkippedPage, address));
}

}  // namespace
}  // namespace gl::test
