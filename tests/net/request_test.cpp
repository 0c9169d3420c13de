#include "net/request.h"

#include <gtest/gtest.h>

namespace gl {
namespace {

const Proxy kDirect{};
const Proxy kProxy{"proxy.example", 3128};

TEST(PlainRequestTextTest, IsByteExact) {
  struct Row {
    const char* bare;
    const Proxy* proxy;
    const char* text;
  };
  const Row rows[] = {
      {"www.example.com:8080/a#top", &kDirect,
       "GET /a HTTP/1.0\r\nUser-Agent: Gleaner-Light 1.0\r\nHost: www.example.com:8080\r\n"
       "Accept: */*; q=1\r\n\r\n"},
      {"www.example.com", &kDirect,
       "GET / HTTP/1.0\r\nUser-Agent: Gleaner-Light 1.0\r\nHost: www.example.com\r\n"
       "Accept: */*; q=1\r\n\r\n"},
      {"www.example.com:8080/a?x=1#top", &kProxy,
       "GET http://www.example.com:8080/a?x=1#top HTTP/1.0\r\nUser-Agent: Gleaner-Light 1.0\r\n"
       "Host: www.example.com:8080\r\nAccept: */*; q=1\r\n\r\n"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.bare);
    EXPECT_EQ(PlainRequestText(row.bare, *row.proxy), row.text);
  }
}

TEST(PlainRequestTextTest, BlanksAndControlBytesCannotAddHeaderLines) {
  EXPECT_EQ(PlainRequestText("host\r\nX: 1/a b\r\nX-Evil: 1\t\x7f.htm", kDirect),
            "GET /a%20b%0D%0AX-Evil:%201%09%7F.htm HTTP/1.0\r\nUser-Agent: Gleaner-Light 1.0\r\n"
            "Host: host%0D%0AX:%201\r\nAccept: */*; q=1\r\n\r\n");
  EXPECT_EQ(AuthRequestText("host/\xc3\xa9\n", "u", "p", kProxy),
            "GET http://host/\xc3\xa9%0A HTTP/1.0\r\nAccept: */*; q=1\r\n"
            "User-Agent: Gleaner-Light 1.0\r\nHost: host\r\nAuthorization: Basic dTpw\r\n\r\n");
}

TEST(AuthRequestTextTest, IsByteExactAndNeverSendsTheFragment) {
  struct Row {
    const char* bare;
    const char* user;
    const char* password;
    const Proxy* proxy;
    const char* text;
  };
  const Row rows[] = {
      {"www.example.com/private/a.htm#x", "user", "pass", &kDirect,
       "GET /private/a.htm HTTP/1.0\r\nAccept: */*; q=1\r\nUser-Agent: Gleaner-Light 1.0\r\n"
       "Host: www.example.com\r\nAuthorization: Basic dXNlcjpwYXNz\r\n\r\n"},
      {"www.example.com:81/a#x", "", "", &kProxy,
       "GET http://www.example.com:81/a HTTP/1.0\r\nAccept: */*; q=1\r\n"
       "User-Agent: Gleaner-Light 1.0\r\nHost: www.example.com:81\r\n"
       "Authorization: Basic Og==\r\n\r\n"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.bare);
    EXPECT_EQ(AuthRequestText(row.bare, row.user, row.password, *row.proxy), row.text);
  }
}

TEST(RequestEndpointTest, IsTheServerDirectlyAndTheProxyOtherwise) {
  EXPECT_EQ(RequestEndpoint("www.example.com:8080/a", kDirect), "www.example.com:8080");
  EXPECT_EQ(RequestEndpoint("www.example.com", kDirect), "www.example.com");
  EXPECT_EQ(RequestEndpoint("www.example.com:8080/a", kProxy), "proxy.example:3128");
  EXPECT_EQ(RequestEndpoint("www.example.com/a", Proxy{"10.0.0.1", 80}), "10.0.0.1:80");
}

}  // namespace
}  // namespace gl
