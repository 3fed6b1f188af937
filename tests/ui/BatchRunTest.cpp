// Runs of the batch window through the real resolve worker against a local
// server: a whole run ending in tasks, a run with an empty box, and closing
// the program while a request hangs.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

#include "UiTestSupport.h"
#include "resolve/SiteTable.h"
#include "tasks/StoreFields.h"
#include "text/Text.h"
#include "ui/MonitorTimer.h"
#include "ui/ReportList.h"

namespace uitest {
namespace {

// A site-D play page (UTF-8) whose media address points back at the server.
std::string PlayPage(const testsupport::TestServer& server, const std::string& title, int n) {
  return "<html><script>var url = \"" + server.Url("/media/" + std::to_string(n) + ".mp3") +
         "\";</script><div class=\"tie\"><h2>" + title + "</h2></div></html>";
}

std::string SiteDTag() { return resolve::BuiltInSites().sites[3].tag; }

struct RunFixture : Harness {
  testsupport::TestServer server;

  void StartRun(const QString& lines) {
    program->ShowBatchWindow();
    Batch<QPlainTextEdit>("编辑框1")->setPlainText(lines);
    Batch<QPushButton>("按钮1")->click();
  }
  bool WaitForRunEnd() {
    return Pump([&] { return !program->RunActive(); }) &&
           Pump([&] { return !program->Batch().isVisible(); });
  }
};

TEST(BatchRunTest, AWholeRunCreatesTheTasksAndResetsTheWindow) {
  RunFixture h;
  h.MakeStore();
  h.Start();
  const std::string tag = SiteDTag();
  h.server.Serve("/" + tag + "/1.html", PlayPage(h.server, "舞曲一", 1));
  h.server.Serve("/" + tag + "/2.html", PlayPage(h.server, "舞曲二", 2));
  h.Main<QLineEdit>("编辑框_下载速度")->setText(U("800"));
  h.Main<QLineEdit>("编辑框_储存路径")->setText(U("/下载/"));
  h.program->Main().Timer().SetPeriod(0);
  h.engine.calls.clear();

  const QString lines = QString::fromStdString(h.server.Url("/" + tag + "/1.html")) +
                        U("\n\nnot a play page\n") +
                        QString::fromStdString(h.server.Url("/" + tag + "/2.html")) + U("\n");
  h.StartRun(lines);
  EXPECT_FALSE(h.Batch<QPushButton>("按钮1")->isEnabled());
  EXPECT_FALSE(h.Batch<QPlainTextEdit>("编辑框1")->isEnabled());
  ASSERT_TRUE(h.WaitForRunEnd());

  ui::ReportList& downloads = h.program->Main().Downloads();
  ASSERT_EQ(downloads.RowCount(), 2);
  EXPECT_EQ(downloads.Text(0, 0), text::Gbk("舞曲一.mp3"));
  EXPECT_EQ(downloads.Text(1, 0), text::Gbk("舞曲二.mp3"));
  store::DownloadStore& store = h.program->Store();
  const auto& f = tasks::Fields();
  ASSERT_EQ(store.RecordCount(store::Table::Downloads), 2);
  ASSERT_TRUE(store.GoToRecord(store::Table::Downloads, 1));
  EXPECT_EQ(store.ReadText(store::Table::Downloads, f.mediaUrl), h.server.Url("/media/2.mp3"));
  EXPECT_EQ(store.ReadText(store::Table::Downloads, f.downloadPath), text::Gbk("/下载/"));
  EXPECT_EQ(store.ReadText(store::Table::Downloads, f.source), tag);

  EXPECT_EQ(h.Batch<QLabel>("标签1")->text(), QString());
  EXPECT_EQ(h.Batch<QPlainTextEdit>("编辑框1")->toPlainText(), QString());
  EXPECT_TRUE(h.Batch<QPushButton>("按钮1")->isEnabled());
  EXPECT_TRUE(h.Batch<QPlainTextEdit>("编辑框1")->isEnabled());
  // 400 for the run, then the box's text, applied or not.
  EXPECT_EQ(h.engine.speedLimits, (std::vector<std::int32_t>{400, 800}));
  EXPECT_EQ(h.engine.CallsStartingWith("CreateTask").size(), 2u);
  EXPECT_EQ(h.program->Main().Timer().Period(), 1000);
}

TEST(BatchRunTest, AnEmptyBoxStillRunsAndResets) {
  RunFixture h;
  h.Start();
  h.Main<QLineEdit>("编辑框_下载速度")->setText(U("１２０KB"));  // full-width digits count
  h.StartRun(QString());
  ASSERT_TRUE(h.WaitForRunEnd());
  EXPECT_EQ(h.program->Main().Downloads().RowCount(), 0);
  EXPECT_EQ(h.Batch<QLabel>("标签1")->text(), QString());
  EXPECT_EQ(h.engine.speedLimits, (std::vector<std::int32_t>{400, 120}));
  EXPECT_EQ(h.server.RequestCount(), 0u);
}

// Last in this file: the abort it causes cannot be undone in this process
// (ctest runs every case in a process of its own).
TEST(BatchRunTest, ClosingDuringARunEndsItPromptly) {
  RunFixture h;
  h.Start();
  const std::string tag = SiteDTag();
  testsupport::Response stall;
  stall.stallBeforeReply = std::chrono::minutes(5);
  h.server.Serve("/" + tag + "/hang.html", stall);
  h.StartRun(QString::fromStdString(h.server.Url("/" + tag + "/hang.html")));
  ASSERT_TRUE(Pump([&] { return h.server.RequestCount() == 1; }));
  ASSERT_TRUE(h.program->RunActive());

  h.program->Main().close();  // ShutDown: the worker is joined before it returns
  EXPECT_FALSE(h.program->RunActive());
  EXPECT_EQ(h.engine.calls.back(), "UnInit");
  EXPECT_EQ(h.program->Main().Downloads().RowCount(), 0);
  // Work the worker had posted is dropped: nothing reaches the windows now.
  for (int i = 0; i < 20; ++i) QCoreApplication::processEvents();
  EXPECT_EQ(h.program->Main().Downloads().RowCount(), 0);
  h.program.reset();
}

}  // namespace
}  // namespace uitest
