#include <gtest/gtest.h>

#include <memory>
#include <optional>

#include "support/TestServer.h"
#include "web/WebRequest.h"

namespace {

using testsupport::Response;
using testsupport::TestServer;

const std::string kAgentLine = "User-Agent: Mozilla/4.0 (compatible; MSIE 9.0; Windows NT 6.1)";
const std::string kBlankHeaders(5000, ' ');

class WebRequestTest : public ::testing::Test {
 protected:
  void TearDown() override { web::SetLimits(web::DefaultLimits()); }

  // The request head the server saw, after its request line and Host line.
  std::string HeadAfterHost(std::size_t index = 0) const {
    const auto requests = server.Requests();
    if (index >= requests.size()) return "<no request>";
    const auto& r = requests[index];
    std::string out;
    for (std::size_t i = 0; i < r.headerLines.size(); ++i) {
      if (i == 0) {
        EXPECT_EQ(r.headerLines[0], "Host: " + server.Host());
        continue;
      }
      out += r.headerLines[i] + "\r\n";
    }
    return out;
  }

  TestServer server;
};

TEST_F(WebRequestTest, DefaultRequestIsExactOnTheWire) {
  server.Serve("/page?id=1", "hello");
  const std::string url = server.Url("/page?id=1");
  EXPECT_EQ(web::WebRequest(url), "hello");
  ASSERT_EQ(server.RequestCount(), 1u);
  EXPECT_EQ(server.Requests()[0].requestLine, "GET /page?id=1 HTTP/1.1");
  EXPECT_EQ(HeadAfterHost(), "Accept: */*\r\nReferer: " + url +
                                 "\r\nAccept-Language: zh-cn\r\n"
                                 "Content-Type: application/x-www-form-urlencoded\r\n" +
                                 kAgentLine + "\r\n");
}

struct BlockCase {
  const char* name;
  std::optional<std::string> extraHeaders;  // nullopt: omitted
  std::optional<std::string> cookies;       // nullopt: omitted
  std::string block;                        // written back; "$URL" stands for the address
  std::string wireTail;                     // what follows the block lines on the wire
};

TEST_F(WebRequestTest, HeaderBlockRulesAndWire) {
  server.Serve("/b", "ok");
  const std::string url = server.Url("/b");
  const std::string rest =
      "\r\nReferer: $URL\r\nAccept-Language: zh-cn"
      "\r\nContent-Type: application/x-www-form-urlencoded";
  const std::string agent = kAgentLine + "\r\n";
  const BlockCase cases[] = {
      {"empty block", std::string(), std::nullopt, "Accept: */*" + rest, agent},
      {"caller Accept", "Accept: text/html", std::nullopt, "Accept: text/html" + rest, agent},
      {"lower-case accept", "accept: text/html", std::nullopt,
       "accept: text/html\r\nAccept: */*" + rest, agent},
      {"caller Referer", "Referer: http://r.example/", std::nullopt,
       "Referer: http://r.example/\r\nAccept: */*\r\nAccept-Language: zh-cn"
       "\r\nContent-Type: application/x-www-form-urlencoded",
       agent},
      {"lower-case agent line", "user-agent: Probe/1.0", std::nullopt,
       "user-agent: Probe/1.0\r\nAccept: */*" + rest, ""},
      {"agent as last line", "X-One: 1\r\nUser-Agent:  Last/2 ", std::nullopt,
       "X-One: 1\r\nUser-Agent:  Last/2 \r\nAccept: */*" + rest, ""},
      {"cookies supplied empty", std::nullopt, std::string(), "Accept: */*" + rest, agent},
      {"cookies supplied", std::nullopt, std::string("a=1; b=2"),
       "Accept: */*" + rest + "\r\nCookie: a=1; b=2", agent},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    server.ClearRequests();
    std::string extra = c.extraHeaders.value_or("");
    std::string cookies = c.cookies.value_or("");
    web::WebRequest(url, 0, {}, c.cookies ? &cookies : nullptr, nullptr,
                    c.extraHeaders ? &extra : nullptr);
    std::string block = c.block;
    if (const auto at = block.find("$URL"); at != std::string::npos) block.replace(at, 4, url);
    if (c.extraHeaders) {
      EXPECT_EQ(extra, block);
    }
    std::string wire;
    for (std::size_t at = 0; at <= block.size();) {
      const std::size_t end = std::min(block.find("\r\n", at), block.size());
      wire += block.substr(at, end - at) + "\r\n";
      at = end + 2;
    }
    EXPECT_EQ(HeadAfterHost(), wire + c.wireTail);
  }
}

TEST_F(WebRequestTest, AgentComesFromTheBlock) {
  // The agent also goes to a proxy's CONNECT; here it is visible as the one
  // User-Agent line, taken from the block and trimmed.
  server.Serve("/a", "ok");
  std::string extra = "X-User-Agent:  Probe/3 \r\nX-Two: 2";
  web::WebRequest(server.Url("/a"), 0, {}, nullptr, nullptr, &extra);
  EXPECT_EQ(server.Requests().at(0).Header("User-Agent"), "Probe/3");
}

TEST_F(WebRequestTest, VerbsAndBodies) {
  server.Serve("/v", "body");
  struct Case {
    int method;
    std::string postText, postBytes;
    std::string line, sent, bytesAfter, returned;
  } const cases[] = {
      {0, "ignored", "", "GET /v HTTP/1.1", "", "", "body"},
      {7, "", "", "GET /v HTTP/1.1", "", "", "body"},
      {-1, "", "", "GET /v HTTP/1.1", "", "", "body"},
      {1, "a=1&b=2", "", "POST /v HTTP/1.1", "a=1&b=2", "a=1&b=2", "body"},
      {1, "ignored",
       "raw\x01"
       "bytes",
       "POST /v HTTP/1.1",
       "raw\x01"
       "bytes",
       "raw\x01"
       "bytes",
       "body"},
      {2, "q=1", "", "HEAD /v HTTP/1.1", "q=1", "q=1", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.method);
    server.ClearRequests();
    std::string bytes = c.postBytes;
    EXPECT_EQ(web::WebRequest(server.Url("/v"), c.method, c.postText, nullptr, nullptr, nullptr,
                              nullptr, false, &bytes),
              c.returned);
    ASSERT_EQ(server.RequestCount(), 1u);
    const auto r = server.Requests()[0];
    EXPECT_EQ(r.requestLine, c.line);
    EXPECT_EQ(r.body, c.sent);
    EXPECT_EQ(bytes, c.bytesAfter);
    if (c.method == 1 || c.method == 2) {
      // Content-Length is HTTP's own for a body, the one line after the agent.
      EXPECT_EQ(r.headerLines.back(), "Content-Length: " + std::to_string(c.sent.size()));
      EXPECT_EQ(r.headerLines[r.headerLines.size() - 2], kAgentLine);
    } else {
      EXPECT_EQ(r.headerLines.back(), kAgentLine);
    }
  }
}

TEST_F(WebRequestTest, RedirectsGiveTheFinalResponseOnly) {
  server.Redirect("/start", "/final");
  Response final;
  final.body = "done";
  final.headers = {{"X-Final", "yes"}};
  server.Serve("/final", final);

  std::string headers;
  EXPECT_EQ(web::WebRequest(server.Url("/start"), 0, {}, nullptr, nullptr, nullptr, &headers),
            "done");
  EXPECT_EQ(headers,
            "HTTP/1.1 200 OK\r\nContent-Type: application/octet-stream\r\nX-Final: yes\r\n"
            "Accept-Ranges: bytes\r\nContent-Length: 4\r\n\r\n");
  ASSERT_EQ(server.RequestCount(), 2u);
  EXPECT_EQ(server.Requests()[1].requestLine, "GET /final HTTP/1.1");

  server.ClearRequests();
  EXPECT_EQ(web::WebRequest(server.Url("/start"), 0, {}, nullptr, nullptr, nullptr, &headers, true),
            "");
  EXPECT_EQ(headers.substr(0, 22), "HTTP/1.1 302 Found\r\nCo");
  EXPECT_EQ(server.RequestCount(), 1u);
}

TEST_F(WebRequestTest, PostBecomesGetAfterFound) {
  server.Redirect("/form", "/done");
  server.Serve("/done", "thanks");
  EXPECT_EQ(web::WebRequest(server.Url("/form"), 1, "x=1"), "thanks");
  ASSERT_EQ(server.RequestCount(), 2u);
  EXPECT_EQ(server.Requests()[1].requestLine, "GET /done HTTP/1.1");
  EXPECT_EQ(server.Requests()[1].body, "");
}

TEST_F(WebRequestTest, ReturnedCookiesAndMerge) {
  Response r;
  r.body = "c";
  r.headers = {{"Set-Cookie", "a=1; Path=/scoped"}, {"set-cookie", "b=2"}};
  server.Serve("/c", r);

  std::string returned = "stale", headers;
  web::WebRequest(server.Url("/c"), 0, {}, nullptr, &returned, nullptr, &headers);
  EXPECT_EQ(returned, "a=1; b=2");
  EXPECT_NE(headers.find("\r\nSet-Cookie: b=2\r\n"), std::string::npos);

  std::string cookies;
  web::WebRequest(server.Url("/c"), 0, {}, &cookies, &returned);
  EXPECT_EQ(cookies, "a=1; b=2");
  EXPECT_EQ(returned, "a=1;b=2");

  cookies = "b=old; z=9";
  web::WebRequest(server.Url("/c"), 0, {}, &cookies);
  EXPECT_EQ(cookies, "a=1; b=2; z=9");
}

TEST_F(WebRequestTest, SharedCookieStoreOnlyWithoutCookies) {
  Response set;
  set.headers = {{"Set-Cookie", "jar=1; Path=/jar"}};
  server.Serve("/jar/set", set);
  server.Serve("/jar/check", "ok");

  web::WebRequest(server.Url("/jar/set"));
  web::WebRequest(server.Url("/jar/check"));
  std::string cookies;
  web::WebRequest(server.Url("/jar/check"), 0, {}, &cookies);

  const auto requests = server.Requests();
  ASSERT_EQ(requests.size(), 3u);
  // The store is process-wide: cookies that earlier tests of this process left for
  // 127.0.0.1 may come along, so look for ours among them.
  const std::string sent = requests[1].Header("Cookie").value_or("");
  EXPECT_NE(("; " + sent + ";").find("; jar=1;"), std::string::npos) << sent;
  EXPECT_EQ(requests[2].Header("Cookie"), std::nullopt);
}

TEST_F(WebRequestTest, RefusedConnectionLooksLikeAnEmptyAnswer) {
  std::string url;
  {
    TestServer gone;
    url = gone.Url("/x");
  }
  std::string cookies = "keep=1", returned = "stale", headers = "stale", extra;
  EXPECT_EQ(web::WebRequest(url, 0, {}, &cookies, &returned, &extra, &headers), "");
  EXPECT_EQ(headers, kBlankHeaders);
  EXPECT_EQ(returned, "");
  EXPECT_EQ(cookies, "keep=1");
  EXPECT_EQ(extra.substr(0, 11), "Accept: */*");
}

TEST_F(WebRequestTest, OversizedHeadIsNotReturned) {
  Response r;
  r.body = "still here";
  r.headers = {{"Set-Cookie", "big=1"}, {"X-Filler", std::string(5000, 'f')}};
  server.Serve("/big", r);
  std::string returned = "stale", headers;
  EXPECT_EQ(web::WebRequest(server.Url("/big"), 0, {}, nullptr, &returned, nullptr, &headers),
            "still here");
  EXPECT_EQ(headers, kBlankHeaders);
  EXPECT_EQ(returned, "");
}

TEST_F(WebRequestTest, HeadJustUnderTheBufferIsReturned) {
  // Status line and fixed lines of the test server, then a filler that brings
  // the head to 4999 bytes: with its terminating zero it fills the buffer.
  Response r;
  r.body = "x";
  const std::string fixed =
      "HTTP/1.1 200 OK\r\nContent-Type: application/octet-stream\r\nX-Filler: \r\n"
      "Accept-Ranges: bytes\r\nContent-Length: 1\r\n\r\n";
  r.headers = {{"X-Filler", std::string(4999 - fixed.size(), 'f')}};
  server.Serve("/edge", r);
  std::string headers;
  web::WebRequest(server.Url("/edge"), 0, {}, nullptr, nullptr, nullptr, &headers);
  EXPECT_EQ(headers.size(), 4999u);
  EXPECT_EQ(headers.substr(0, 15), "HTTP/1.1 200 OK");

  r.headers = {{"X-Filler", std::string(5000 - fixed.size(), 'f')}};
  server.Serve("/edge", r);
  web::WebRequest(server.Url("/edge"), 0, {}, nullptr, nullptr, nullptr, &headers);
  EXPECT_EQ(headers, kBlankHeaders);
}

TEST_F(WebRequestTest, ErrorPagesAndEmptyBodies) {
  std::string headers;
  EXPECT_EQ(web::WebRequest(server.Url("/missing"), 0, {}, nullptr, nullptr, nullptr, &headers),
            "not found");
  EXPECT_EQ(headers.substr(0, 22), "HTTP/1.1 404 Not Found");

  server.Serve("/empty", "");
  EXPECT_EQ(web::WebRequest(server.Url("/empty"), 0, {}, nullptr, nullptr, nullptr, &headers), "");
  EXPECT_EQ(headers.substr(0, 15), "HTTP/1.1 200 OK");
  EXPECT_EQ(headers.substr(headers.size() - 4), "\r\n\r\n");
}

TEST_F(WebRequestTest, CutStalledAndCappedBodiesKeepWhatCame) {
  const std::string page(4000, 'p');
  web::SetLimits({2000, 300, 1 << 20});

  Response cut;
  cut.body = page;
  cut.cutAfter = 1000;
  server.Serve("/cut", cut);
  EXPECT_EQ(web::WebRequest(server.Url("/cut")), page.substr(0, 1000));

  Response stallMidway = cut;
  stallMidway.stallAfterCut = std::chrono::seconds(60);
  server.Serve("/stall-midway", stallMidway);
  EXPECT_EQ(web::WebRequest(server.Url("/stall-midway")), page.substr(0, 1000));

  Response silent;
  silent.body = page;
  silent.stallBeforeReply = std::chrono::seconds(60);
  server.Serve("/silent", silent);
  std::string headers;
  EXPECT_EQ(web::WebRequest(server.Url("/silent"), 0, {}, nullptr, nullptr, nullptr, &headers), "");
  EXPECT_EQ(headers, kBlankHeaders);

  web::SetLimits({2000, 30000, 1500});
  server.Serve("/long", page);
  EXPECT_EQ(web::WebRequest(server.Url("/long")), page.substr(0, 1500));
}

TEST_F(WebRequestTest, BinaryBodiesComeBackExact) {
  std::string binary;
  for (int i = 0; i < 256; ++i) binary += static_cast<char>(i);
  binary += std::string(1 << 20, 'L');  // one line of a megabyte
  binary += std::string("\0\0end", 5);
  Response r;
  r.body = binary;
  r.chunked = true;
  server.Serve("/bin", r);
  EXPECT_EQ(web::WebRequest(server.Url("/bin")), binary);
}

TEST_F(WebRequestTest, PathBytesGoOutAsWritten) {
  server.Serve("/a/../b%20c/\xb2\xe2?q=\xca\xd4#frag", "raw");
  server.Serve("/sp%20ace", "escaped");
  EXPECT_EQ(web::WebRequest(server.Url("/a/../b%20c/\xb2\xe2?q=\xca\xd4#frag")), "raw");
  // A space would break the request line: it is the one byte that is escaped.
  EXPECT_EQ(web::WebRequest(server.Url("/sp ace")), "escaped");
}

}  // namespace
