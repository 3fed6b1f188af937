// "应 用" on a table of speed texts (message, box afterwards, engine limit,
// stored record) and the folder picker's result.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>

#include "UiTestSupport.h"
#include "tasks/StoreFields.h"
#include "text/Text.h"
#include "ui/ClickLabel.h"

namespace uitest {
namespace {

TEST(SettingsPanelTest, ApplyChecksTheSpeedThenStoresAllThree) {
  struct Case {
    const char* typed;
    const char* message;  // nullptr: accepted
    const char* boxAfter;
    const char* stored;
    std::int32_t limit;
  };
  const Case cases[] = {
      {"", "速度限制不能为空！", "99999", nullptr, 0},
      {"99", "速度限制不能小于100KB！", "99999", nullptr, 0},
      {"100", nullptr, "100", "100", 100},
      {"1000", nullptr, "1000", "1000", 1000},
      {"abc", "速度限制不能小于100KB！", "99999", nullptr, 0},
      {" 150 ", nullptr, " 150 ", "150", 150},
  };
  Harness h;
  h.MakeStore();
  h.Start();
  store::DownloadStore& store = h.program->Store();
  ASSERT_TRUE(store.IsOpen());
  auto* speed = h.Main<QLineEdit>("编辑框_下载速度");
  auto* directory = h.Main<QLineEdit>("编辑框_储存路径");
  auto* autoStart = h.Main<QCheckBox>("选择框1");
  directory->setText(U(" /srv/舞曲/ "));
  const auto& f = tasks::Fields();
  bool tick = false;
  std::string lastStored;  // the record a rejected value must leave alone
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    h.dialogs.informed.clear();
    h.engine.speedLimits.clear();
    tick = !tick;
    autoStart->setChecked(tick);
    speed->setText(U(c.typed));
    h.Main<QPushButton>("按钮2")->click();

    EXPECT_EQ(speed->text(), U(c.boxAfter));
    EXPECT_EQ(directory->text(), U(" /srv/舞曲/ "));
    if (c.message != nullptr) {
      ASSERT_EQ(h.dialogs.informed.size(), 1u);
      EXPECT_EQ(h.dialogs.informed[0].caption, U("信息："));
      EXPECT_EQ(h.dialogs.informed[0].text, U(c.message));
      EXPECT_TRUE(h.engine.speedLimits.empty());
    } else {
      EXPECT_TRUE(h.dialogs.informed.empty());
      EXPECT_EQ(h.engine.speedLimits, std::vector<std::int32_t>{c.limit});
      lastStored = c.stored;
    }
    // Applying again and again leaves one settings record.
    const std::int64_t records = store.RecordCount(store::Table::Settings);
    EXPECT_EQ(records, lastStored.empty() ? 0 : 1);
    if (records == 1) {
      ASSERT_TRUE(store.GoToRecord(store::Table::Settings, 0));
      EXPECT_EQ(store.ReadText(store::Table::Settings, f.speed), lastStored);
      EXPECT_EQ(store.ReadText(store::Table::Settings, f.downloadPath), text::Gbk("/srv/舞曲/"));
      if (c.message == nullptr) {
        std::int64_t stored = -1;
        EXPECT_TRUE(store.ReadInteger(store::Table::Settings, f.autoStart, stored));
        EXPECT_EQ(stored, tick ? 1 : 0);
      }
    }
  }
}

TEST(SettingsPanelTest, TheFolderPickerResultEndsWithASeparator) {
  struct Case {
    const char* picked;
    const char* box;
  };
  const Case cases[] = {
      {"/home/u/Music", "/home/u/Music/"},
      {"/", "/"},
      {"/srv/舞曲/", "/srv/舞曲/"},
      {"", "/srv/舞曲/"},  // cancelled: the box keeps its text
  };
  Harness h;
  h.Start();
  auto* box = h.Main<QLineEdit>("编辑框_储存路径");
  auto* browse = h.Main<ui::ClickLabel>("透明标签_浏览");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.picked);
    h.dialogs.picked = U(c.picked);
    // The picker opens on the release of the left button.
    const QPointF at(5, 5);
    QMouseEvent press(QEvent::MouseButtonPress, at, browse->mapToGlobal(at), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, at, browse->mapToGlobal(at), Qt::LeftButton,
                        Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(browse, &press);
    QCoreApplication::sendEvent(browse, &release);
    EXPECT_EQ(h.dialogs.pickerTitle, U("保存文件"));
    EXPECT_EQ(box->text(), U(c.box));
  }
}

}  // namespace
}  // namespace uitest
