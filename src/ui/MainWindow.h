#pragma once
// The main window "Velmira V201605101553": settings panel, the button that
// shows the batch window, the three tab pages (download list, completed
// list, site notes), the notice, the status bar, the timer "时钟1" and the
// two context menus. It only lays out and reports; Program decides what the
// events do. UI thread only.

#include <QWidget>
#include <array>

#include "engine/EngineApi.h"
#include "store/DownloadStore.h"
#include "ui/Dialogs.h"
#include "ui/SiteNotes.h"

class QMenu;
class QAction;
class QPushButton;
class QTabWidget;
class QLabel;

namespace ui {

class MonitorTimer;
class ReportList;
class SettingsPanel;
class StatusLine;

class MainWindow : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kLeft = 50, kTop = 50, kOuterWidth = 777, kOuterHeight = 416;

  MainWindow(engine::EngineApi& engine, store::DownloadStore& store, Dialogs& dialogs,
             const std::array<SiteNote, kSiteCount>& sites);

  SettingsPanel& Settings() { return *settings_; }
  ReportList& Downloads() { return *downloads_; }
  ReportList& Completed() { return *completed_; }
  StatusLine& Status() { return *status_; }
  MonitorTimer& Timer() { return *timer_; }
  SiteNotes& Sites() { return *sites_; }
  QMenu& TaskMenu() { return *taskMenu_; }
  QMenu& LogMenu() { return *logMenu_; }
  QAction& DeleteTaskAction() { return *deleteTask_; }
  QAction& StartAllAction() { return *startAll_; }
  QAction& PauseAllAction() { return *pauseAll_; }
  QAction& ClearLogAction() { return *clearLog_; }

 signals:
  void showBatchRequested();
  // The window is closing: the program ends.
  void closing();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  SettingsPanel* settings_;
  QPushButton* showBatch_;
  QTabWidget* tabs_;
  ReportList* downloads_;
  ReportList* completed_;
  SiteNotes* sites_;
  QLabel* notice_;
  StatusLine* status_;
  MonitorTimer* timer_;
  QMenu* taskMenu_;
  QMenu* logMenu_;
  QAction* deleteTask_;
  QAction* startAll_;
  QAction* pauseAll_;
  QAction* clearLog_;
};

}  // namespace ui
