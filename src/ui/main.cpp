// velmira: the batch downloader's windows. The engine library, the store and
// the extractor live in the executable's folder.

#include <QApplication>
#include <QMessageBox>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "engine/EngineLibrary.h"
#include "engine/ProgramFolder.h"
#include "resolve/SiteTable.h"
#include "ui/Dialogs.h"
#include "ui/Gbk.h"
#include "ui/Platform.h"
#include "ui/Program.h"
#include "ui/TerminationSignals.h"
#include "ui/UiTexts.h"

namespace {

bool DisplayAvailable() {
  auto set = [](const char* name) {
    const char* v = std::getenv(name);
    return v != nullptr && *v != '\0';
  };
  return set("QT_QPA_PLATFORM") || set("DISPLAY") || set("WAYLAND_DISPLAY");
}

}  // namespace

int main(int argc, char** argv) {
  if (!DisplayAvailable()) {
    std::fputs(
        "velmira: no display (DISPLAY and WAYLAND_DISPLAY are not set).\n"
        "Run it on a virtual display: xvfb-run -s '-screen 0 1024x768x24' velmira\n",
        stderr);
    return 1;
  }
  QApplication app(argc, argv);
  // Only ShutDown (closing the main window) ends the program.
  QApplication::setQuitOnLastWindowClosed(false);
  QApplication::setFont(ui::WindowFont());

  const std::string folder = engine::ProgramFolder();
  std::string error;
  auto engine = engine::EngineLibrary::Load(folder, &error);
  if (!engine) {
    // Nothing works without the engine: say so instead of showing dead windows.
    QMessageBox::critical(nullptr, ui::Tr(ui::texts::kEngineMissingCaption),
                          ui::Tr(ui::texts::kEngineMissing).arg(QString::fromStdString(error)));
    return 1;
  }

  ui::QtDialogs dialogs;
  ui::Program program(*engine, dialogs, folder, resolve::BuiltInSites());
  // Installed before StartUp writes any file; the call comes from the event loop.
  ui::TerminationSignals stopSignals([&program] { program.ShutDown(); });
  program.StartUp();
  program.Main().show();
  return app.exec();
}
