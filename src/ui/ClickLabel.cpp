#include "ui/ClickLabel.h"

#include <QMouseEvent>

namespace ui {

void ClickLabel::mousePressEvent(QMouseEvent* event) {
  QLabel::mousePressEvent(event);
  if (event->button() == Qt::LeftButton) emit leftPressed();
}

void ClickLabel::mouseReleaseEvent(QMouseEvent* event) {
  QLabel::mouseReleaseEvent(event);
  if (event->button() == Qt::LeftButton) emit leftReleased();
}

}  // namespace ui
