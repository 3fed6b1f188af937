#include "ui/Platform.h"

#include <QStandardPaths>

#include "ui/UiTexts.h"

namespace ui {

QString DefaultSaveDirectory() {
  QString music = QStandardPaths::writableLocation(QStandardPaths::MusicLocation);
  if (music.isEmpty()) music = QStandardPaths::writableLocation(QStandardPaths::HomeLocation);
  if (!music.endsWith(QLatin1Char(kPathSeparator))) music += QLatin1Char(kPathSeparator);
  return music + QString::fromUtf8(texts::kSaveFolderName) + QLatin1Char(kPathSeparator);
}

QFont WindowFont() {
  QFont font(QStringLiteral("WenQuanYi Micro Hei"));
  font.setPixelSize(12);
  return font;
}

}  // namespace ui

#include <QPointer>
#include <QTimer>
#include <QWidget>

namespace ui {

void FitFrameToOuterSize(QWidget* window, const QSize& outer) {
  static const char* const kDone = "velmiraFrameFitted";
  if (window->property(kDone).toBool()) return;
  window->setProperty(kDone, true);
  // The frame is known only after the window manager has framed the window.
  QTimer::singleShot(0, window, [w = QPointer<QWidget>(window), outer] {
    if (!w) return;
    const QSize frame = w->frameGeometry().size() - w->geometry().size();
    if (frame.isEmpty() || frame == QSize(0, 0)) return;
    w->setFixedSize(outer - frame);
  });
}

}  // namespace ui
