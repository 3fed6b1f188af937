#include <gtest/gtest.h>

#include "tasks/FailureText.h"
#include "tasks/Formatting.h"
#include "text/Text.h"

namespace {

TEST(Formatting, TwoDecimalsRoundHalvesAwayFromZero) {
  const struct {
    double value;
    const char* text;
  } cases[] = {
      {3.2, "3.20"},
      {3, "3.00"},
      {0, "0.00"},
      {0.125, "0.13"},
      {-0.125, "-0.13"},
      {1.005, "1.01"},
      {2.675, "2.68"},
      {0.004999, "0.00"},
      {-0.001, "0.00"},
      {99.995, "100.00"},
      {1234567.891, "1234567.89"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(tasks::TwoDecimals(c.value), c.text) << c.value;
  }
}

TEST(Formatting, DateTimeStopsAtTheLastUnitThatIsNotZero) {
  const struct {
    tasks::DateTime t;
    const char* utf8;
  } cases[] = {
      {{2026, 1, 2, 3, 4, 5}, "2026年1月2日3时4分5秒"},
      {{2026, 1, 2, 0, 0, 5}, "2026年1月2日0时0分5秒"},
      {{2026, 12, 31, 23, 59, 0}, "2026年12月31日23时59分"},
      {{2026, 1, 2, 0, 7, 0}, "2026年1月2日0时7分"},
      {{2026, 1, 2, 3, 0, 0}, "2026年1月2日3时"},
      {{2026, 1, 2, 0, 0, 0}, "2026年1月2日"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(tasks::DateTimeText(c.t), text::Gbk(c.utf8)) << c.utf8;
  }
}

TEST(Formatting, FailureTextNamesTheCodeAndAKnownReason) {
  EXPECT_EQ(tasks::FailureText(4), text::Gbk("下载失败（错误 4）：服务器返回错误状态"));
  EXPECT_EQ(tasks::FailureText(99), text::Gbk("下载失败（错误 99）"));
}

}  // namespace
