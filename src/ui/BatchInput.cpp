#include "ui/BatchInput.h"

#include <QMimeData>
#include <QStringList>
#include <QUrl>

namespace ui {

bool BatchInput::canInsertFromMimeData(const QMimeData* source) const {
  return source->hasText() || source->hasUrls();
}

void BatchInput::insertFromMimeData(const QMimeData* source) {
  QString text;
  if (source->hasUrls()) {
    QStringList lines;
    for (const QUrl& url : source->urls()) lines << url.toString();
    text = lines.join(QLatin1Char('\n'));
  } else {
    text = source->text();
  }
  textCursor().insertText(text);
  ensureCursorVisible();
}

}  // namespace ui
