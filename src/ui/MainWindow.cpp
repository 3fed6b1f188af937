#include "ui/MainWindow.h"

#include <QCloseEvent>
#include <QLabel>
#include <QMenu>
#include <QProxyStyle>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>

#include "ui/Gbk.h"
#include "ui/MonitorTimer.h"
#include "ui/Platform.h"
#include "ui/ProgressDelegate.h"
#include "ui/ReportList.h"
#include "ui/SettingsPanel.h"
#include "ui/StatusLine.h"
#include "ui/UiNames.h"
#include "ui/UiTexts.h"

namespace ui {
namespace {
// The status bar's designed place; it keeps to the bottom edge of a client
// made smaller by a window frame.
constexpr int kStatusY = 392, kStatusWidth = 763, kStatusHeight = 20;

// Tabs as narrow as their captions allow: the three must fit left of the
// notice label, which starts at x = 186.
class CompactTabStyle : public QProxyStyle {
 public:
  int pixelMetric(PixelMetric metric, const QStyleOption* option,
                  const QWidget* widget) const override {
    if (metric == PM_TabBarTabHSpace) return 12;
    return QProxyStyle::pixelMetric(metric, option, widget);
  }
};

class TabControl : public QTabWidget {
 public:
  explicit TabControl(QWidget* parent) : QTabWidget(parent) {
    auto* style = new CompactTabStyle;
    style->setParent(this);
    tabBar()->setStyle(style);
  }
};

QWidget* Page(QTabWidget* tabs, const char* title) {
  auto* page = new QWidget(tabs);
  tabs->addTab(page, Tr(title));
  return page;
}
}  // namespace

MainWindow::MainWindow(engine::EngineApi& engine, store::DownloadStore& store, Dialogs& dialogs,
                       const std::array<SiteNote, kSiteCount>& sites) {
  setWindowTitle(Tr(texts::kMainCaption));
  setFont(WindowFont());
  move(kLeft, kTop);
  setFixedSize(kOuterWidth, kOuterHeight);

  settings_ = new SettingsPanel(engine, store, dialogs, this);
  settings_->setGeometry(2, 3, 678, 53);

  showBatch_ = new QPushButton(Tr(texts::kShowBatchButton), this);
  showBatch_->setObjectName(Tr(names::kShowBatchButton));
  showBatch_->setGeometry(688, 7, 80, 48);

  // The tabs sit at the bottom edge: the notice label fills the strip to
  // their right.
  tabs_ = new TabControl(this);
  tabs_->setObjectName(Tr(names::kTabs));
  tabs_->setTabPosition(QTabWidget::South);
  tabs_->setGeometry(2, 57, 766, 300);
  QWidget* downloading = Page(tabs_, texts::kPageDownloading);
  QWidget* completed = Page(tabs_, texts::kPageCompleted);
  QWidget* notes = Page(tabs_, texts::kPageSites);

  downloads_ = new ReportList(Tr(names::kDownloadList), DownloadColumns(), downloading);
  downloads_->setGeometry(5, 5, 755, 255);
  downloads_->setItemDelegateForColumn(kProgressColumn, new ProgressDelegate(downloads_));
  completed_ = new ReportList(Tr(names::kCompletedList), CompletedColumns(), completed);
  completed_->setGeometry(5, 5, 755, 255);
  sites_ = new SiteNotes(sites, notes);
  sites_->setGeometry(5, 5, 755, 255);

  notice_ = new QLabel(Tr(texts::kNotice), this);
  notice_->setObjectName(Tr(names::kNotice));
  notice_->setGeometry(186, 329, 582, 24);
  notice_->setAttribute(Qt::WA_TransparentForMouseEvents);

  status_ = new StatusLine(this);
  status_->setGeometry(0, kStatusY, kStatusWidth, kStatusHeight);

  timer_ = new MonitorTimer(this);

  taskMenu_ = new QMenu(Tr(texts::kTaskMenu), this);
  taskMenu_->setObjectName(Tr(names::kTaskMenu));
  deleteTask_ = taskMenu_->addAction(Tr(texts::kDeleteTask));
  startAll_ = taskMenu_->addAction(Tr(texts::kStartAll));
  pauseAll_ = taskMenu_->addAction(Tr(texts::kPauseAll));
  logMenu_ = new QMenu(Tr(texts::kLogMenu), this);
  logMenu_->setObjectName(Tr(names::kLogMenu));
  clearLog_ = logMenu_->addAction(Tr(texts::kClearLog));

  connect(showBatch_, &QPushButton::clicked, this, &MainWindow::showBatchRequested);
}

void MainWindow::closeEvent(QCloseEvent* event) {
  event->accept();
  emit closing();
}

void MainWindow::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  FitFrameToOuterSize(this, {kOuterWidth, kOuterHeight});
}

void MainWindow::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  status_->setGeometry(0, std::min(kStatusY, height() - kStatusHeight), kStatusWidth,
                       kStatusHeight);
}

}  // namespace ui
