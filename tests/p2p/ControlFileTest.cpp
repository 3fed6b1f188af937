#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "ControlFile.h"

namespace {

class ControlFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/p2p-ctl-XXXXXX";
    ASSERT_NE(::mkdtemp(pattern), nullptr);
    dir_ = pattern;
    path_ = dir_ + "/f.part.ctl";
  }
  void TearDown() override {
    std::remove(path_.c_str());
    std::remove((path_ + ".tmp").c_str());
    std::remove(dir_.c_str());
  }
  void Write(const std::string& text) { std::ofstream(path_, std::ios::binary) << text; }

  std::string dir_;
  std::string path_;
};

TEST_F(ControlFileTest, RoundTripsAndLeavesNoTemporaryFile) {
  p2p::ControlState st;
  st.total = 5000000000;
  st.etag = "\"abc def\"";
  st.lastModified = "Wed, 21 Oct 2015 07:28:00 GMT";
  st.segments = {{0, 100, 2500000000}, {2500000000, 0, 5000000000}};
  ASSERT_TRUE(p2p::SaveControlFile(path_, st));
  EXPECT_FALSE(std::ifstream(path_ + ".tmp").good());
  const auto back = p2p::LoadControlFile(path_);
  ASSERT_TRUE(back);
  EXPECT_EQ(back->total, st.total);
  EXPECT_EQ(back->etag, st.etag);
  EXPECT_EQ(back->lastModified, st.lastModified);
  ASSERT_EQ(back->segments.size(), 2u);
  EXPECT_EQ(back->segments[1].start, 2500000000);
  EXPECT_EQ(back->segments[0].written, 100);
}

TEST(CoversWholeFile, AcceptsStolenSegmentsInAnyOrderAndRejectsGaps) {
  p2p::ControlState st;
  st.total = 100;
  st.segments = {{0, 10, 40}, {70, 0, 100}, {40, 5, 70}};  // a steal appended [70, 100)
  EXPECT_TRUE(p2p::CoversWholeFile(st));
  EXPECT_EQ(st.segments[1].start, 40);
  st.segments = {{0, 0, 40}, {50, 0, 100}};
  EXPECT_FALSE(p2p::CoversWholeFile(st));
  st.segments = {{0, 0, 60}, {50, 0, 100}};
  EXPECT_FALSE(p2p::CoversWholeFile(st));
  st.segments = {{0, 0, 90}};
  EXPECT_FALSE(p2p::CoversWholeFile(st));
}

TEST_F(ControlFileTest, RejectsFilesThatAreNotWholeControlFiles) {
  const char* bad[] = {
      "",
      "some other file\n",
      "velmira-part 1\nsize 10\n",                    // cut before its end line
      "velmira-part 1\nsize 10\nseg 0 11 10\nend\n",  // more written than the segment holds
      "velmira-part 1\nsize x\nend\n",
      "velmira-part 1\nsize 10\nbogus line\nend\n",
  };
  for (const char* text : bad) {
    Write(text);
    EXPECT_FALSE(p2p::LoadControlFile(path_)) << text;
  }
  EXPECT_FALSE(p2p::LoadControlFile(dir_ + "/missing.ctl"));
}

}  // namespace
