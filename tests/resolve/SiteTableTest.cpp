#include <gtest/gtest.h>

#include "resolve/SiteRules.h"
#include "resolve/SiteTable.h"

namespace {

TEST(SiteTableTest, EachExampleAddressBelongsToItsOwnRuleOnly) {
  const resolve::SiteTable sites = resolve::BuiltInSites();
  for (int site = 0; site < resolve::kSiteCount; ++site) {
    const std::string address = resolve::ExamplePlayAddress(sites, site);
    SCOPED_TRACE(address);
    for (int other = 0; other < resolve::kSiteCount; ++other) {
      EXPECT_EQ(resolve::Matches(address, sites.sites[other]), other == site) << other;
    }
  }
}

TEST(SiteTableTest, SiteTextSetsOnlyTheNamedEndpoints) {
  resolve::SiteTable sites = resolve::BuiltInSites();
  const auto error = resolve::ApplySiteText(
      "# real hosts\n"
      "A tag  a.real\n"
      "\n"
      "c media_host media.c.real:9000   # with its port\r\n"
      "G media_path  mp3/\n",
      sites);
  ASSERT_FALSE(error) << *error;
  EXPECT_EQ(sites.sites[0].tag, "a.real");
  EXPECT_EQ(sites.sites[0].mediaHost, "media.a-dj.example");
  EXPECT_EQ(sites.sites[2].mediaHost, "media.c.real:9000");
  EXPECT_EQ(sites.sites[6].mediaPath, "mp3/");
  EXPECT_EQ(sites.sites[6].webHost, "www.g-dj.example");
}

TEST(SiteTableTest, BadLinesAreReportedWithTheirNumber) {
  const std::pair<const char*, const char*> cases[] = {
      {"A tag a.real\nZ tag z.real\n", "line 2: unknown site \"Z\""},
      {"B colour red\n", "line 1: unknown key \"colour\""},
      {"\n\nE tag\n", "line 3: a tag cannot be empty"},
      {"AB tag x\n", "line 1: unknown site \"AB\""},
  };
  for (const auto& [input, message] : cases) {
    SCOPED_TRACE(input);
    resolve::SiteTable sites = resolve::BuiltInSites();
    const auto error = resolve::ApplySiteText(input, sites);
    ASSERT_TRUE(error);
    EXPECT_EQ(error->rfind(message, 0), 0u) << *error;
    EXPECT_EQ(sites.sites[0].tag, "a-dj.example");  // nothing applied
  }
}

}  // namespace
