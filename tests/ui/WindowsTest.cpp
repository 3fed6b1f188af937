// Both windows as built: controls found by their control names, with their
// geometry and texts; the list columns; the site notes; the first start
// without a store and the shut-down.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QAbstractItemModel>
#include <QCheckBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTabWidget>
#include <QTimer>
#include <QTreeView>

#include "UiTestSupport.h"
#include "resolve/SiteTable.h"
#include "ui/Gbk.h"
#include "ui/MonitorTimer.h"
#include "ui/Platform.h"
#include "ui/ReportList.h"
#include "ui/StatusLine.h"

namespace uitest {
namespace {

struct Control {
  const char* name;
  QRect geometry;    // relative to its parent
  const char* text;  // nullptr: not checked here
};

QString TextOf(QWidget* w) {
  if (auto* b = qobject_cast<QPushButton*>(w)) return b->text();
  if (auto* c = qobject_cast<QCheckBox*>(w)) return c->text();
  if (auto* l = qobject_cast<QLabel*>(w)) return l->text();
  if (auto* e = qobject_cast<QLineEdit*>(w)) return e->text();
  if (auto* g = qobject_cast<QGroupBox*>(w)) return g->title();
  if (auto* p = qobject_cast<QPlainTextEdit*>(w)) return p->toPlainText();
  return {};
}

void ExpectControls(QWidget* window, const std::vector<Control>& controls) {
  for (const Control& c : controls) {
    SCOPED_TRACE(c.name);
    auto* w = window->findChild<QWidget*>(U(c.name));
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->geometry(), c.geometry);
    if (c.text != nullptr) {
      EXPECT_EQ(TextOf(w), U(c.text));
    }
  }
}

TEST(WindowsTest, MainWindowControlsHaveTheirNamesPlacesAndTexts) {
  Harness h;
  h.Start();
  ui::MainWindow& main = h.program->Main();
  EXPECT_EQ(main.windowTitle(), U("Velmira V201605101553"));
  EXPECT_EQ(main.pos(), QPoint(50, 50));
  EXPECT_EQ(main.size(), QSize(777, 416));

  ExpectControls(&main, {
                            {"分组框1", {2, 3, 678, 53}, "下载设置"},
                            {"按钮1", {688, 7, 80, 48}, "下 载\n\n舞 曲"},
                            {"高级选择夹1", {2, 57, 766, 300}, nullptr},
                            {"下载列表框", {5, 5, 755, 255}, nullptr},
                            {"完成列表框", {5, 5, 755, 255}, nullptr},
                            {"分组框3", {5, 5, 755, 255}, "舞曲下载说明"},
                            {"标签1",
                             {186, 329, 582, 24},
                             "特别声明：本工具下载的歌曲部分站点为试听音源，并非全是320kbps "
                             "本软件仅提供学习，请勿使用商业用途"},
                            {"状态条1", {0, 392, 763, 20}, nullptr},
                            // The settings panel, relative to "分组框1".
                            {"透明标签2", {8, 20, 52, 19}, "下载限速："},
                            {"编辑框_下载速度", {65, 22, 71, 16}, "9999"},
                            {"透明标签4", {140, 20, 32, 19}, "KB/s"},
                            {"选择框1", {178, 17, 132, 24}, "启动自动开始下载"},
                            {"透明标签3", {314, 20, 52, 19}, "下载目录："},
                            {"编辑框_储存路径", {373, 20, 153, 18}, nullptr},
                            {"透明标签_浏览", {536, 19, 26, 20}, "浏览"},
                            {"按钮2", {583, 12, 75, 32}, "应 用"},
                        });
  EXPECT_EQ(h.Main<QLineEdit>("编辑框_储存路径")->text(), ui::DefaultSaveDirectory());
  EXPECT_TRUE(ui::DefaultSaveDirectory().endsWith(U("/DJ舞曲/")));

  auto* tabs = h.Main<QTabWidget>("高级选择夹1");
  ASSERT_EQ(tabs->count(), 3);
  EXPECT_EQ(tabs->tabText(0), U("正在下载"));
  EXPECT_EQ(tabs->tabText(1), U("完成下载"));
  EXPECT_EQ(tabs->tabText(2), U("站点说明"));
  EXPECT_EQ(h.Main<QWidget>("下载列表框")->parentWidget(), tabs->widget(0));
  EXPECT_EQ(h.Main<QWidget>("完成列表框")->parentWidget(), tabs->widget(1));
  EXPECT_EQ(h.Main<QWidget>("分组框3")->parentWidget(), tabs->widget(2));

  auto& status = static_cast<ui::StatusLine&>(*h.Main<QStatusBar>("状态条1"));
  EXPECT_EQ(status.PartText(0), U("0 KB/s"));
  EXPECT_EQ(status.PartText(1), U("智能分析下载地址，自动转换格式，支持多个舞曲音乐网，"
                                  "使用高速下载引擎下载，更快、更多、更稳。"));
  auto* timer = main.findChild<ui::MonitorTimer*>(U("时钟1"));
  ASSERT_NE(timer, nullptr);
  EXPECT_EQ(timer->Period(), 0);
}

TEST(WindowsTest, ListColumnsHaveTheirTitlesWidthsAndAlignment) {
  Harness h;
  h.Start();
  struct Column {
    const char* title;
    int width;
    bool right;
  };
  const std::vector<std::pair<const char*, std::vector<Column>>> lists = {
      {"下载列表框",
       {{"舞曲名称", 350, false},
        {"下载速度", 80, true},
        {"下载进度", 70, true},
        {"下载大小", 70, true},
        {"文件大小", 70, true},
        {"舞曲来源", 80, false}}},
      {"完成列表框",
       {{"舞曲名称", 300, false},
        {"完成时间", 180, false},
        {"歌曲来源", 100, false},
        {"下载目录", 150, false}}},
  };
  for (const auto& [name, columns] : lists) {
    SCOPED_TRACE(name);
    auto* view = h.Main<QTreeView>(name);
    ASSERT_NE(view, nullptr);
    QAbstractItemModel* model = view->model();
    ASSERT_EQ(model->columnCount(), static_cast<int>(columns.size()));
    for (int i = 0; i < model->columnCount(); ++i) {
      const Column& c = columns[static_cast<std::size_t>(i)];
      EXPECT_EQ(model->headerData(i, Qt::Horizontal).toString(), U(c.title));
      EXPECT_EQ(view->header()->sectionSize(i), c.width);
      const int align = model->headerData(i, Qt::Horizontal, Qt::TextAlignmentRole).toInt();
      EXPECT_EQ((align & Qt::AlignRight) != 0, c.right) << i;
    }
  }
}

TEST(WindowsTest, SiteNotesComeFromTheSiteTable) {
  Harness h;
  resolve::SiteTable sites = resolve::BuiltInSites();
  sites.sites[0].tag = "a.example";
  sites.sites[4].tag = "e-site.example";
  h.Start(sites);
  const int ys[] = {18, 40, 62, 84, 106, 128, 152, 177};
  const char* names[] = {"透明标签1", "透明标签5", "透明标签6",  "透明标签7",
                         "透明标签8", "透明标签9", "透明标签10", "透明标签11"};
  const char* formats[] = {"MP3", "MP4", "MP3", "MP3", "FLV", "MP3", "MP3", "MP3"};
  for (int i = 0; i < 8; ++i) {
    SCOPED_TRACE(i);
    auto* line = h.Main<QLabel>(names[i]);
    ASSERT_NE(line, nullptr);
    EXPECT_EQ(line->geometry(), QRect(10, ys[i], 720, 16));
    EXPECT_TRUE(line->text().contains(U("下载格式  ") + U(formats[i]) +
                                      U("  下载地址：播放地址  例：") +
                                      ui::FromGbk(resolve::ExamplePlayAddress(sites, i))));
  }
  EXPECT_EQ(h.Main<QLabel>("透明标签1")->text().left(15), U("A.EXAMPLE     下"));
  EXPECT_TRUE(h.Main<QLabel>("透明标签8")->text().startsWith(U("E-SITE.EXAMPLE下载格式  FLV")));
  EXPECT_TRUE(h.Main<QLabel>("透明标签8")->text().endsWith(U(" （ 自动转换到MP3格式 ）")));
  EXPECT_FALSE(h.Main<QLabel>("透明标签1")->text().contains(U("自动转换")));
}

TEST(WindowsTest, BatchWindowIsItsOwnHiddenWindowThatOnlyHidesOnClose) {
  Harness h;
  h.Start();
  ui::BatchWindow& batch = h.program->Batch();
  EXPECT_EQ(batch.parentWidget(), nullptr);
  EXPECT_FALSE(batch.isVisible());
  EXPECT_FALSE(batch.isModal());
  EXPECT_EQ(batch.windowTitle(), U("Korvane（一个播放地址一行，可同时下载不同舞曲网舞曲）"));
  EXPECT_EQ(batch.pos(), QPoint(50, 50));
  EXPECT_EQ(batch.size(), QSize(618, 266));
  ExpectControls(&batch, {
                             {"编辑框1", {5, 8, 603, 192}, ""},
                             {"标签1", {7, 208, 425, 17}, "正在等待解析..."},
                             {"选择框1", {444, 207, 80, 24}, "显示在前"},
                             {"按钮1", {529, 203, 80, 32}, "开始下载"},
                         });

  h.Main<QPushButton>("按钮1")->click();
  EXPECT_TRUE(batch.isVisible());
  h.Batch<QCheckBox>("选择框1")->click();
  EXPECT_TRUE(batch.windowFlags() & Qt::WindowStaysOnTopHint);
  EXPECT_TRUE(batch.isVisible());
  h.Batch<QCheckBox>("选择框1")->click();
  EXPECT_FALSE(batch.windowFlags() & Qt::WindowStaysOnTopHint);

  EXPECT_FALSE(batch.close());
  EXPECT_FALSE(batch.isVisible());
  h.Main<QPushButton>("按钮1")->click();
  EXPECT_TRUE(batch.isVisible());
}

TEST(WindowsTest, FirstStartWithoutStoreThenShutDown) {
  Harness h;
  h.Start();
  EXPECT_FALSE(h.program->Store().IsOpen());
  EXPECT_EQ(h.program->Main().Downloads().RowCount(), 0);
  EXPECT_EQ(h.program->Main().Completed().RowCount(), 0);
  EXPECT_EQ(h.engine.calls, std::vector<std::string>{"Init"});
  const std::string extractor = h.folder.Path() + "/flvtomp3";
  struct stat st {};
  ASSERT_EQ(::stat(extractor.c_str(), &st), 0);
  EXPECT_TRUE(st.st_mode & S_IXUSR);
  EXPECT_GT(st.st_size, 0);

  h.program->Main().close();
  EXPECT_EQ(h.engine.calls, (std::vector<std::string>{"Init", "UnInit"}));
  EXPECT_FALSE(std::filesystem::exists(extractor));
}

}  // namespace
}  // namespace uitest
