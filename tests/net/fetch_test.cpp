#include "net/fetch.h"

#include <gtest/gtest.h>

#include "support/loopback_server.h"
#include "net/net_fixture.h"

namespace gl::test {
namespace {

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
  EXPECT_EQ(result.Stream.Bytes(),
            PageAnswer("<html>hello</html>").Bytes + std::string(1, '\0'));
  ASSERT_EQ(server.RequestCount(), 1u);
  EXPECT_EQ(server.Requests()[0].Bytes,
            "GET /index.htm HTTP/1.0\r\nUser-Agent: Gleaner-Light 1.0\r\nHost: " +
                server.HostPort() + "\r\nAccept: */*; q=1\r\n\r\n");
}

}  // namespace
}  // namespace gl::test
