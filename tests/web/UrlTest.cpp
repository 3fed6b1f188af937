#include <gtest/gtest.h>

#include "web/Url.h"

namespace {

struct UrlCase {
  const char* url;
  const char* host;
  const char* hostWithPort;
  int port;
  const char* path;
};

TEST(UrlTest, SplitsAddressesByTextSearch) {
  const UrlCase cases[] = {
      {"http://www.example.com", "www.example.com", "www.example.com", 80, "/"},
      {"https://www.example.com", "www.example.com", "www.example.com", 443, "/"},
      {"HTTPS://WWW.Example.COM/A/B?Q=1#F", "www.example.com", "www.example.com", 443,
       "/A/B?Q=1#F"},
      {"www.example.com/a/b", "www.example.com", "www.example.com", 80, "/a/b"},
      {"http://host.example:8080/p/q", "host.example", "host.example:8080", 8080, "/p/q"},
      {"http://host.example:abc/x", "host.example", "host.example:abc", 0, "/x"},
      // A query straight after the port: no "/" ends the host text.
      {"http://host.example:81?q=1", "host.example", "host.example:81?q=1", 81, "/"},
      {"http://host.example?a=1", "host.example?a=1", "host.example?a=1", 80, "/"},
      // User information is not recognised: the host is cut at its first ":".
      {"http://user:pw@host.example/x", "user", "user:pw@host.example", 0, "/x"},
      // Without a scheme, a later "http://" supplies the host.
      {"www.a.example/go?to=http://b.example/x", "b.example", "b.example", 80, "/x"},
      {"", "", "", 80, "/"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.url);
    EXPECT_EQ(web::UrlHost(c.url), c.host);
    EXPECT_EQ(web::UrlHost(c.url, true), c.hostWithPort);
    EXPECT_EQ(web::UrlPort(c.url), c.port);
    EXPECT_EQ(web::UrlPath(c.url), c.path);
  }
}

}  // namespace
