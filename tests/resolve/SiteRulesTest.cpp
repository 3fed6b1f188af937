#include <gtest/gtest.h>

#include "resolve/SiteRules.h"
#include "support/TestServer.h"
#include "text/Text.h"

namespace {

using resolve::SiteRules;
using testsupport::ReadFixture;
using text::Gbk;

enum Site { A, B, C, D, E, F, G, H };

// The built-in table with the hosts that rules fetch from pointed at the test
// server; media hosts stay as built in, they only appear in the entries.
class SiteRulesTest : public ::testing::Test {
 protected:
  resolve::SiteTable Sites() const {
    resolve::SiteTable t = resolve::BuiltInSites();
    t.sites[E].scriptHost = server.Host();
    t.sites[G].webHost = server.Host();
    t.sites[H].webHost = server.Host();
    return t;
  }
  std::string Path(Site site, std::string_view rest = "/play/1.html") const {
    return "/" + Sites().sites[site].tag + std::string(rest);
  }
  std::optional<std::string> Resolve(Site site, const std::string& line) const {
    const resolve::SiteTable t = Sites();
    return SiteRules()[site].resolve(line, t.sites[site]);
  }
  void ServeSiteE() {
    std::string script = ReadFixture("resolve/site_e_script.js");
    script.replace(script.find("{HOST}"), 6, server.Host());
    server.Serve("/i/c.php", script);
    server.Serve(Path(E), ReadFixture("resolve/site_e_play.html"));
    server.Serve("/_sys_vw.vhtml?js=yes", ReadFixture("resolve/site_e_visitor.js"));
  }

  testsupport::TestServer server;
};

TEST_F(SiteRulesTest, TableHoldsTheEightSitesInOrder) {
  ASSERT_EQ(SiteRules().size(), 8u);
  for (int i = 0; i < 8; ++i) EXPECT_EQ(SiteRules()[i].site, i);
}

TEST_F(SiteRulesTest, SingleFetchSitesResolveTheirFixtures) {
  struct Case {
    Site site;
    const char* fixture;
    const char* entry;  // UTF-8 here; the rules work in code page 936
  } const cases[] = {
      {A, "site_a.html",
       "http://media.a-dj.example/mp3/2015/05/a1001.mp3|夜店舞曲 A.mp3|a-dj.example"},
      {B, "site_b.html",
       "http://media.b-dj.example/djmusic/dj/2016/b2002.mp4|重低音 B.mp4|b-dj.example"},
      {C, "site_c.html", "http://media.c-dj.example:8080/2015/c3003.mp3|慢摇 C.mp3|c-dj.example"},
      {D, "site_d.html", "http://media.d-dj.example/2017/d4004.mp3|串烧 D.mp3|d-dj.example"},
      {F, "site_f.html", "http://media.f-dj.example:8081/2019/f6006.mp3|嗨曲 F.mp3|f-dj.example"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.fixture);
    server.ClearRequests();
    server.Serve(Path(c.site), ReadFixture(std::string("resolve/") + c.fixture));
    EXPECT_EQ(Resolve(c.site, server.Url(Path(c.site))), Gbk(c.entry));
    ASSERT_EQ(server.RequestCount(), 1u);
    EXPECT_EQ(server.Requests()[0].target, Path(c.site));
  }
}

TEST_F(SiteRulesTest, PagesWithoutMarkers) {
  const std::string lfOnly = text::ReplaceAll(ReadFixture("resolve/site_f.html"), "\r\n", "\n");
  struct Case {
    const char* name;
    Site site;
    std::string page;
    std::optional<std::string> entry;
  } const cases[] = {
      {"A empty", A, "", std::nullopt},
      {"A title without separator", A, "var list=[{title:\"T\",m4a:\"/x.m4a\"}];", std::nullopt},
      {"A separator in capitals", A,
       "var list=[{title:\"T\",ARTIST:\"-\",M4A: S_STR+\"/p/q.m4a\"}];",
       "http://media.a-dj.example/mp3/p/q.mp3|T.mp3|a-dj.example"},
      {"B empty", B, "", std::nullopt},
      {"B separator in capitals", B, "name: 'T', FILE: 'x/y', good",
       "http://media.b-dj.example/djmusic/x/y.mp4|T.mp4|b-dj.example"},
      {"C empty", C, "", "http://media.c-dj.example:8080/|.mp3|c-dj.example"},
      {"D empty", D, "", "|.mp3|d-dj.example"},
      {"D cut at a zero byte", D,
       std::string("var url = \"http://m.example/d.mp3\";") + '\0' +
           "<div class=\"tie\"><h2>T</h2></div>",
       "http://m.example/d.mp3|.mp3|d-dj.example"},
      {"E nothing anywhere", E, "", "http:///.ik?vsid=&name=www.e-dj.example|.flv|e-dj.example"},
      {"F empty", F, "", "http://media.f-dj.example:8081/mp3|.mp3|f-dj.example"},
      {"F bare line feeds", F, lfOnly,
       text::Gbk("http://media.f-dj.example:8081/mp3|嗨曲 F.mp3|f-dj.example")},
      {"G empty answer", G, "", "http://media.g-dj.example/musicmp3|.mp3|g-dj.example"},
      {"H empty", H, "", "|.mp3|h-dj.example"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    server.Serve(Path(c.site, "/play/x_1.html"), c.page);
    server.Serve("/uc.php?m=uc&a=playlistadd&songid=1", c.page);
    EXPECT_EQ(Resolve(c.site, server.Url(Path(c.site, "/play/x_1.html"))), c.entry);
  }
}

TEST_F(SiteRulesTest, SiteEFetchesScriptPlayAndVisitorPages) {
  ServeSiteE();
  const std::string line = server.Url(Path(E));
  EXPECT_EQ(Resolve(E, line), Gbk("http://" + server.Host() +
                                  "/flv/2018/e5005/track.ik?vsid=vs123&name=www.e-dj.example"
                                  "|电音 E.flv|e-dj.example"));
  const auto requests = server.Requests();
  ASSERT_EQ(requests.size(), 3u);
  EXPECT_EQ(requests[0].target, "/i/c.php");
  EXPECT_EQ(requests[1].target, Path(E));
  EXPECT_EQ(requests[2].target, "/_sys_vw.vhtml?js=yes");
}

TEST_F(SiteRulesTest, SiteGTakesTheIdFromTheLineAndUnescapesTheAnswer) {
  server.Serve("/uc.php?m=uc&a=playlistadd&songid=B/C_123",
               ReadFixture("resolve/site_g_answer.json"));
  const std::string line = server.Url(Path(G, "/A_B/C_123.html"));
  EXPECT_EQ(Resolve(G, line),
            Gbk("http://media.g-dj.example/music/2020/06/g7007.mp3|舞曲 G.mp3|g-dj.example"));
  ASSERT_EQ(server.RequestCount(), 1u);  // the play page itself is never fetched

  // No underscore: the playlist request goes out with an empty song id.
  server.ClearRequests();
  Resolve(G, server.Url(Path(G, "/play/7.html")));
  ASSERT_EQ(server.RequestCount(), 1u);
  EXPECT_EQ(server.Requests()[0].target, "/uc.php?m=uc&a=playlistadd&songid=");
}

TEST_F(SiteRulesTest, SiteHFollowsTheDownloadLink) {
  server.Serve(Path(H), ReadFixture("resolve/site_h_play.html"));
  server.Serve("/down/8008.html", ReadFixture("resolve/site_h_down.html"));
  EXPECT_EQ(Resolve(H, server.Url(Path(H))),
            Gbk("http://media.h-dj.example/2021/h8008.mp3|车载 H.mp3|h-dj.example"));
  const auto requests = server.Requests();
  ASSERT_EQ(requests.size(), 2u);
  EXPECT_EQ(requests[1].target, "/down/8008.html");
}

}  // namespace
