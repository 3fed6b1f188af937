#include "ui/Program.h"

#include <QAction>
#include <QCoreApplication>
#include <QCursor>
#include <QFile>
#include <QMenu>
#include <filesystem>

#include "flv/ExtractorImage.h"
#include "resolve/ResolveRun.h"
#include "tasks/CreateDownloadTask.h"
#include "tasks/RestoreFromStore.h"
#include "tasks/TaskCommands.h"
#include "ui/ClickLabel.h"
#include "ui/Gbk.h"
#include "ui/MonitorTimer.h"
#include "ui/ReportList.h"
#include "ui/SettingsPanel.h"
#include "ui/SiteNoteSource.h"
#include "ui/StatusLine.h"
#include "ui/UiNames.h"
#include "ui/UiRunHost.h"
#include "ui/UiTexts.h"
#include "web/WebRequest.h"

namespace ui {
namespace {
constexpr std::int32_t kRunSpeedLimit = 400;  // KB/s while a run resolves
constexpr const char* kExtractorName = "flvtomp3";
}  // namespace

Program::Program(engine::EngineApi& engine, Dialogs& dialogs, std::string programFolder,
                 resolve::SiteTable sites)
    : engine_(engine),
      dialogs_(dialogs),
      programFolder_(std::move(programFolder)),
      sites_(std::move(sites)) {
  main_ = std::make_unique<MainWindow>(engine_, store_, dialogs_, SiteNotesOf(sites_));
  context_ = std::make_unique<tasks::TaskContext>(tasks::TaskContext{
      engine_, handles_, param_, info_, store_, main_->Downloads(), main_->Completed(),
      main_->Status(), main_->Timer(), events_, main_->Settings(), programFolder_});
  monitor_ = std::make_unique<tasks::ProgressMonitor>(*context_);
}

Program::~Program() {
  StopWorkers();
  monitor_.reset();
  context_.reset();
  batch_.reset();
  main_.reset();
}

std::string Program::ExtractorPath() const { return programFolder_ + "/" + kExtractorName; }

void Program::StartUp() {
  batch_ = std::make_unique<BatchWindow>();
  Bind();
  flv::WriteExtractor(ExtractorPath());
  const std::string storePath = store::StorePath(programFolder_);
  std::error_code ec;
  if (std::filesystem::exists(storePath, ec)) {
    store_.OpenStore(storePath, store::kStorePassword);
    tasks::RestoreFromStore(*context_);
  }
  engine_.Init();
}

void Program::Bind() {
  MainWindow& w = *main_;
  connect(&w, &MainWindow::showBatchRequested, this, &Program::ShowBatchWindow);
  connect(&w, &MainWindow::closing, this, &Program::ShutDown);
  connect(&w.Timer(), &QTimer::timeout, this, [this] { monitor_->Tick(); });
  connect(&w.Downloads(), &QWidget::customContextMenuRequested, this, &Program::ShowTaskMenu);
  connect(&w.Completed(), &QWidget::customContextMenuRequested, this, &Program::ShowLogMenu);
  connect(&w.Downloads(), &QAbstractItemView::doubleClicked, this,
          [this] { tasks::ToggleSelectedTask(*context_); });
  connect(&w.Completed(), &QAbstractItemView::doubleClicked, this,
          [this](const QModelIndex& index) {
            // Ours: the folder that holds a finished file ("下载目录").
            dialogs_.OpenFolder(FromGbk(main_->Completed().Text(index.row(), 3)));
          });
  connect(&w.DeleteTaskAction(), &QAction::triggered, this,
          [this] { tasks::DeleteSelectedTask(*context_); });
  connect(&w.StartAllAction(), &QAction::triggered, this,
          [this] { tasks::StartAllTasks(*context_); });
  connect(&w.PauseAllAction(), &QAction::triggered, this,
          [this] { tasks::PauseAllTasks(*context_); });
  connect(&w.ClearLogAction(), &QAction::triggered, this, &Program::ClearCompleted);
  connect(w.Sites().Line(names::kClearingSite), &ClickLabel::leftPressed, this,
          &Program::ClearCompleted);
  connect(batch_.get(), &BatchWindow::startRequested, this, &Program::StartRun);
}

void Program::ShutDown() {
  if (shutDown_) return;
  shutDown_ = true;
  StopWorkers();
  main_->Timer().SetPeriod(0);
  engine_.UnInit();
  QFile::remove(QString::fromStdString(ExtractorPath()));
  if (batch_) batch_->hide();
  QCoreApplication::exit(0);
}

void Program::ShowBatchWindow() {
  batch_->show();
  batch_->raise();
  batch_->activateWindow();
}

void Program::StartRun() {
  batch_->DisableControls();
  engine_.SetSpeedLimit(kRunSpeedLimit);
  JoinFinishedWorkers();
  auto worker = std::make_unique<Worker>();
  Worker* w = worker.get();
  auto createTask = [this](const std::string& url, const std::string& name,
                           const std::string& directory, const std::string& tag) {
    tasks::CreateDownloadTask(*context_, url, name, directory, tag);
  };
  auto host =
      std::make_shared<UiRunHost>(this, closing_, *batch_, main_->Settings(), engine_, createTask);
  w->thread = std::thread([this, w, host] {
    resolve::ResolveRun(*host, sites_);
    w->done = true;
    QMetaObject::invokeMethod(
        this, [this] { JoinFinishedWorkers(); }, Qt::QueuedConnection);
  });
  workers_.push_back(std::move(worker));
}

bool Program::RunActive() const {
  for (const auto& w : workers_) {
    if (!w->done) return true;
  }
  return false;
}

void Program::JoinFinishedWorkers() {
  for (auto it = workers_.begin(); it != workers_.end();) {
    if ((*it)->done) {
      (*it)->thread.join();  // past its last step: returns at once
      it = workers_.erase(it);
    } else {
      ++it;
    }
  }
}

void Program::StopWorkers() {
  closing_->store(true);
  if (workers_.empty()) return;
  // A worker waiting for a page returns as soon as its request is aborted; one
  // waiting for the UI thread sees the flag within a slice.
  web::AbortAll();
  for (auto& w : workers_) w->thread.join();
  workers_.clear();
}

void Program::ShowTaskMenu() { main_->TaskMenu().popup(QCursor::pos()); }

void Program::ShowLogMenu() { main_->LogMenu().popup(QCursor::pos()); }

void Program::ClearCompleted() {
  ReportList& completed = main_->Completed();
  if (completed.RowCount() == 0) return;
  if (!dialogs_.Confirm(Tr(texts::kClearCaption), Tr(texts::kClearQuestion))) return;
  store_.DeleteAll(store::Table::Completed);
  completed.RemoveAllRows();
}

}  // namespace ui
