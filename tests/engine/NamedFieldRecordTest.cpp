#include <gtest/gtest.h>

#include <string>

#include "engine/NamedFieldRecord.h"

namespace {

std::string Block(const engine::NamedFieldRecord& record, std::size_t count) {
  return std::string(static_cast<const char*>(record.Address()), count);
}

TEST(NamedFieldRecord, PadsToTheAlignmentWithTheFillPattern) {
  engine::NamedFieldRecord record;
  ASSERT_NE(record.Create(4), 0u);
  ASSERT_TRUE(record.AddField("a", 4, "AAAA"));
  ASSERT_TRUE(record.AddField("b", 1, "B"));
  ASSERT_TRUE(record.AddField("c", 4, "CCCC"));
  EXPECT_EQ(record.UsedSize(), 12);
  EXPECT_EQ(Block(record, 13), std::string("AAAAB\xCC\xCC\xCC"
                                           "CCCC\0",
                                           13));
  EXPECT_EQ(record.FindField("a"), 1);
  EXPECT_EQ(record.FindField("c"), 3);
}

TEST(NamedFieldRecord, InitialValueFillsAtMostTheWidth) {
  engine::NamedFieldRecord record;
  ASSERT_NE(record.Create(1, 0xCC, 16), 0u);
  ASSERT_TRUE(record.AddField("short", 4, "x"));
  ASSERT_TRUE(record.AddField("long", 2, "yyyy"));
  ASSERT_TRUE(record.AddField("next", 2));
  EXPECT_EQ(Block(record, 8), std::string("x\0\0\0yy\0\0", 8));
  EXPECT_EQ(record.ReadField("long"), "yy");
}

TEST(NamedFieldRecord, RefusesASecondFieldWithTheSameChecksum) {
  struct Case {
    const char* first;
    const char* second;
  };
  // "plumless" and "buckeroo" differ but share their CRC-32.
  for (const Case& c : {Case{"name", "name"}, Case{"plumless", "buckeroo"}}) {
    SCOPED_TRACE(c.second);
    engine::NamedFieldRecord record;
    ASSERT_NE(record.Create(), 0u);
    ASSERT_TRUE(record.AddField(c.first, 4, "1111"));
    EXPECT_FALSE(record.AddField(c.second, 8, "22222222"));
    EXPECT_EQ(record.UsedSize(), 4);
    EXPECT_EQ(record.ReadField(c.second), "1111");
    EXPECT_EQ(record.FindField(c.second), 1);
  }
}

TEST(NamedFieldRecord, RefusesAFieldPastTheEndOfTheBlock) {
  engine::NamedFieldRecord record;
  ASSERT_NE(record.Create(4, 0xCC, 10), 0u);
  ASSERT_TRUE(record.AddField("a", 4));
  EXPECT_FALSE(record.AddField("b", 7));
  // 6 bytes fit, but with their padding they would reach offset 12.
  EXPECT_FALSE(record.AddField("c", 6));
  EXPECT_TRUE(record.AddField("d", 4));
  EXPECT_EQ(record.UsedSize(), 8);
  EXPECT_EQ(record.FindField("b"), 0);
}

TEST(NamedFieldRecord, WriteStaysWithinTheField) {
  engine::NamedFieldRecord record;
  ASSERT_NE(record.Create(), 0u);
  ASSERT_TRUE(record.AddField("a", 2));
  ASSERT_TRUE(record.AddField("b", 2, "bb"));
  EXPECT_TRUE(record.WriteField("a", "xyz"));
  EXPECT_EQ(Block(record, 4), "xybb");
  EXPECT_FALSE(record.WriteField("missing", "x"));
  EXPECT_EQ(record.ReadField("missing"), "");
}

TEST(NamedFieldRecord, WithoutABlockNothingIsDeclared) {
  engine::NamedFieldRecord record;
  EXPECT_EQ(record.Address(), nullptr);
  EXPECT_FALSE(record.AddField("a", 4));
  EXPECT_EQ(record.Create(0), 0u);
  EXPECT_EQ(record.Create(1, 0xCC, 0), 0u);
  EXPECT_FALSE(record.AddField("a", 4));
}

TEST(NamedFieldRecord, CreateEmptiesTheRecord) {
  engine::NamedFieldRecord record;
  ASSERT_NE(record.Create(), 0u);
  ASSERT_TRUE(record.AddField("a", 4, "aaaa"));
  ASSERT_NE(record.Create(), 0u);
  EXPECT_EQ(record.UsedSize(), 0);
  EXPECT_EQ(record.FindField("a"), 0);
  EXPECT_TRUE(record.AddField("a", 4));
  EXPECT_EQ(record.ReadField("a"), std::string(4, '\0'));
  record.Release();
  EXPECT_EQ(record.Address(), nullptr);
  EXPECT_EQ(record.UsedSize(), 0);
}

}  // namespace
