// The restore of a prepared store, the context menus and their handlers, the
// double clicks, and the clearing of the completed list.
#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QTreeView>

#include "UiTestSupport.h"
#include "tasks/StoreFields.h"
#include "text/Text.h"
#include "ui/ClickLabel.h"
#include "ui/MonitorTimer.h"
#include "ui/ReportList.h"

namespace uitest {
namespace {

const char* const kNames[] = {"一.mp3", "二.mp3", "三.mp3"};

// Three unfinished tasks, the settings with the given automatic start, two
// completed downloads.
void PrepareStore(Harness& h, int autoStart) {
  h.MakeStore();
  store::DownloadStore s;
  ASSERT_TRUE(s.OpenStore(h.StoreFile(), store::kStorePassword));
  const auto& f = tasks::Fields();
  for (int i = 0; i < 3; ++i) {
    ASSERT_TRUE(s.AddRecord(store::Table::Downloads));
    s.WriteText(store::Table::Downloads, f.mediaUrl, "http://127.0.0.1:9/" + std::to_string(i));
    s.WriteText(store::Table::Downloads, f.downloadName, text::Gbk(kNames[i]));
    s.WriteText(store::Table::Downloads, f.downloadPath, "/d/");
    s.WriteText(store::Table::Downloads, f.source, "d.example");
    s.RenumberDownloads();
  }
  ASSERT_TRUE(s.AddRecord(store::Table::Settings));
  s.WriteText(store::Table::Settings, f.speed, "500");
  s.WriteText(store::Table::Settings, f.downloadPath, text::Gbk("/恢复/"));
  s.WriteNumber(store::Table::Settings, f.autoStart, autoStart);
  s.MoveNext(store::Table::Settings);
  for (int i = 0; i < 2; ++i) {
    ASSERT_TRUE(s.AddRecord(store::Table::Completed));
    s.WriteText(store::Table::Completed, f.fileName, "c" + std::to_string(i) + ".mp3");
    s.WriteText(store::Table::Completed, f.completedTime, text::Gbk("2026年1月2日3时"));
    s.WriteText(store::Table::Completed, f.source, "a.example");
    s.WriteText(store::Table::Completed, f.completedDirectory, "/c" + std::to_string(i) + "/");
    s.MoveNext(store::Table::Completed);
  }
}

TEST(RestoreTest, PreparedStoreComesBackInRecordOrder) {
  for (int autoStart : {1, 0}) {
    SCOPED_TRACE(autoStart);
    Harness h;
    PrepareStore(h, autoStart);
    h.Start();
    ui::MainWindow& main = h.program->Main();
    EXPECT_EQ(h.Main<QLineEdit>("编辑框_下载速度")->text(), U("500"));
    EXPECT_EQ(h.Main<QLineEdit>("编辑框_储存路径")->text(), U("/恢复/"));
    EXPECT_EQ(h.Main<QCheckBox>("选择框1")->isChecked(), autoStart == 1);

    ASSERT_EQ(main.Downloads().RowCount(), 3);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(main.Downloads().Text(i, 0), text::Gbk(kNames[i]));
    std::vector<std::string> expected = {"SetSpeedLimit 500"};
    for (int i = 1; i <= 3; ++i) {
      expected.push_back("CreateTask");
      expected.push_back("StartTask " + std::to_string(i));
      if (autoStart == 0) expected.push_back("StopTask " + std::to_string(i));
    }
    expected.push_back("Init");  // last, after the restore
    EXPECT_EQ(h.engine.calls, expected);
    EXPECT_EQ(main.Timer().Period(), 1000);

    ASSERT_EQ(main.Completed().RowCount(), 2);
    for (int q = 0; q < 2; ++q) {
      EXPECT_EQ(main.Completed().Text(q, 0), "c" + std::to_string(q) + ".mp3");
      EXPECT_EQ(main.Completed().Text(q, 1), text::Gbk("2026年1月2日3时"));
      EXPECT_EQ(main.Completed().Text(q, 2), "a.example");
      EXPECT_EQ(main.Completed().Text(q, 3), "/c" + std::to_string(q) + "/");
      EXPECT_EQ(main.Completed().Model().StateImage(q), 4);
    }
    EXPECT_EQ(h.program->Store().RecordCount(store::Table::Downloads), 3);
  }
}

void DoubleClickRow(QTreeView& view, int row) {
  const QRect rect = view.visualRect(view.model()->index(row, 0));
  const QPointF at = rect.center();
  const QPointF global = view.viewport()->mapToGlobal(at);
  for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease,
                            QEvent::MouseButtonDblClick, QEvent::MouseButtonRelease}) {
    const bool down = type != QEvent::MouseButtonRelease;
    QMouseEvent e(type, at, global, Qt::LeftButton, down ? Qt::LeftButton : Qt::NoButton,
                  Qt::NoModifier);
    QCoreApplication::sendEvent(view.viewport(), &e);
  }
}

TEST(MenusTest, TaskMenuItemsAndTheDoubleClickReachTheTaskCommands) {
  Harness h;
  PrepareStore(h, 1);
  h.Start();
  ui::MainWindow& main = h.program->Main();
  main.Timer().SetPeriod(0);  // no ticks in between: the commands alone act
  h.engine.states = {{1, 3}, {2, 2}, {3, 3}};

  // A right click opens "操作" at the pointer.
  emit main.Downloads().customContextMenuRequested({10, 10});
  EXPECT_TRUE(main.TaskMenu().isVisible());
  EXPECT_EQ(main.TaskMenu().title(), U("操作"));
  QStringList items;
  for (QAction* a : main.TaskMenu().actions()) items << a->text();
  EXPECT_EQ(items, (QStringList{U("删除任务"), U("全部开始"), U("全部暂停")}));
  main.TaskMenu().hide();

  h.engine.calls.clear();
  main.PauseAllAction().trigger();
  EXPECT_EQ(h.engine.calls, (std::vector<std::string>{"StopTask 1", "StopTask 3"}));
  for (int r = 0; r < 3; ++r) EXPECT_EQ(main.Downloads().Model().StateImage(r), 1);

  h.engine.calls.clear();
  main.StartAllAction().trigger();
  EXPECT_EQ(h.engine.calls, std::vector<std::string>{"StartTask 2"});
  for (int r = 0; r < 3; ++r) EXPECT_EQ(main.Downloads().Model().StateImage(r), 0);

  h.engine.calls.clear();
  DoubleClickRow(main.Downloads(), 1);
  EXPECT_EQ(main.Downloads().SelectedRow(), 1);
  EXPECT_EQ(h.engine.calls, std::vector<std::string>{"StartTask 2"});

  h.engine.calls.clear();
  main.Downloads().SelectRow(1);
  main.DeleteTaskAction().trigger();
  EXPECT_EQ(h.engine.calls, (std::vector<std::string>{"DeleteTask 2", "DelTempFile"}));
  EXPECT_EQ(main.Downloads().RowCount(), 3);  // the monitor drops it later
}

TEST(MenusTest, DoubleClickOnACompletedRowOpensItsFolder) {
  Harness h;
  PrepareStore(h, 0);
  h.Start();
  DoubleClickRow(h.program->Main().Completed(), 1);
  EXPECT_EQ(h.dialogs.opened, std::vector<QString>{U("/c1/")});
}

void PressSiteGLine(Harness& h) {
  auto* line = h.Main<ui::ClickLabel>("透明标签10");
  const QPointF at(3, 3);
  QMouseEvent press(QEvent::MouseButtonPress, at, line->mapToGlobal(at), Qt::LeftButton,
                    Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(line, &press);
}

TEST(ClearingTest, AskedFromTheLogMenuOrTheSiteGLine) {
  struct Case {
    bool fromSiteG;
    bool answer;
  };
  for (const Case c :
       {Case{false, false}, Case{false, true}, Case{true, false}, Case{true, true}}) {
    SCOPED_TRACE(testing::Message() << c.fromSiteG << c.answer);
    Harness h;
    PrepareStore(h, 0);
    h.Start();
    ui::MainWindow& main = h.program->Main();
    h.dialogs.answer = c.answer;
    if (c.fromSiteG) {
      PressSiteGLine(h);
    } else {
      emit main.Completed().customContextMenuRequested({5, 5});
      EXPECT_TRUE(main.LogMenu().isVisible());
      ASSERT_EQ(main.LogMenu().actions().size(), 1);
      EXPECT_EQ(main.LogMenu().actions()[0]->text(), U("清空日志"));
      main.LogMenu().hide();
      main.ClearLogAction().trigger();
    }
    ASSERT_EQ(h.dialogs.asked.size(), 1u);
    EXPECT_EQ(h.dialogs.asked[0].caption, U("清理"));
    EXPECT_EQ(h.dialogs.asked[0].text, U("是否清空下载记录？"));
    const int left = c.answer ? 0 : 2;
    EXPECT_EQ(main.Completed().RowCount(), left);
    EXPECT_EQ(h.program->Store().RecordCount(store::Table::Completed), left);
    // Downloads are not touched.
    EXPECT_EQ(main.Downloads().RowCount(), 3);
    EXPECT_EQ(h.program->Store().RecordCount(store::Table::Downloads), 3);

    // With the list empty nothing is asked.
    if (c.answer) {
      main.ClearLogAction().trigger();
      EXPECT_EQ(h.dialogs.asked.size(), 1u);
    }
  }
}

}  // namespace
}  // namespace uitest
