#include <gtest/gtest.h>

#include "web/Cookies.h"

namespace {

struct MergeCase {
  const char* kept;
  const char* returned;
  const char* merged;
  const char* returnedAfter;
};

TEST(CookiesTest, MergeCookiesFoldsNewIntoKept) {
  const MergeCase cases[] = {
      {"a=1; b=2", "b=3", "b=3; a=1", "b=3"},
      {"a=1; b=2", "a=deleted", "b=2", "a=deleted"},
      {"", "x=1; y=2", "x=1; y=2", "x=1;y=2"},
      {"", "", "", ""},
      // An item without "=" is named by its whole text.
      {"flag=1", "flag", "flag", "flag"},
      {"A=1", "a=2", "a=2; A=1", "a=2"},
      {"", "v=a b", "v=ab", "v=ab"},
      {"a=1;;b=2", "", "a=1; ; b=2", ""},
      {"a=1; a=2", "", "a=1", ""},
      {"", "c=1; c=1", "c=1", "c=1;c=1"},
      {"", "c=1; c=2", "c=1; c=2", "c=1;c=2"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.kept) + " + " + c.returned);
    std::string kept = c.kept, returned = c.returned;
    EXPECT_EQ(web::MergeCookies(kept, returned), c.merged);
    EXPECT_EQ(kept, c.merged);
    EXPECT_EQ(returned, c.returnedAfter);
  }
}

TEST(CookiesTest, CookieNameAndUniqueItems) {
  EXPECT_EQ(web::CookieName(" sid =abc=def"), "sid");
  EXPECT_EQ(web::CookieName("flag"), "flag");
  EXPECT_EQ(web::UniqueItems("a; b; a; ; c; ", "; "), "a; b; ; c");
  EXPECT_EQ(web::UniqueItems("", "; "), "");
}

}  // namespace
