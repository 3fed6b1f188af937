#include "ui/StateIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <array>

namespace ui {
namespace {

using Paint = void (*)(QPainter&);

// Each image is drawn on a 15 x 15 grid with a soft round backdrop, so the
// five read apart at a glance in a dense list.
void Backdrop(QPainter& p, QColor c) {
  p.setPen(c.darker(130));
  p.setBrush(c);
  p.drawEllipse(QRectF(0.5, 0.5, 14, 14));
}

void Downloading(QPainter& p) {  // a white arrow pointing down on green
  Backdrop(p, QColor(0x2e, 0xa0, 0x43));
  QPainterPath arrow;
  arrow.moveTo(6, 3);
  arrow.lineTo(9, 3);
  arrow.lineTo(9, 7.5);
  arrow.lineTo(11.5, 7.5);
  arrow.lineTo(7.5, 12);
  arrow.lineTo(3.5, 7.5);
  arrow.lineTo(6, 7.5);
  arrow.closeSubpath();
  p.setPen(Qt::NoPen);
  p.setBrush(Qt::white);
  p.drawPath(arrow);
}

void Stopped(QPainter& p) {  // two white bars on grey
  Backdrop(p, QColor(0x8a, 0x8a, 0x8a));
  p.setPen(Qt::NoPen);
  p.setBrush(Qt::white);
  p.drawRect(QRectF(4.5, 4, 2, 7));
  p.drawRect(QRectF(8.5, 4, 2, 7));
}

void Waiting(QPainter& p) {  // clock hands on amber
  Backdrop(p, QColor(0xe8, 0xa2, 0x1c));
  p.setPen(QPen(Qt::white, 1.6, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(QPointF(7.5, 7.5), QPointF(7.5, 3.5));
  p.drawLine(QPointF(7.5, 7.5), QPointF(10.5, 9));
}

void Failed(QPainter& p) {  // a white cross on red
  Backdrop(p, QColor(0xd0, 0x32, 0x2a));
  p.setPen(QPen(Qt::white, 2, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(QPointF(4.5, 4.5), QPointF(10.5, 10.5));
  p.drawLine(QPointF(10.5, 4.5), QPointF(4.5, 10.5));
}

void Finished(QPainter& p) {  // a white check mark on blue
  Backdrop(p, QColor(0x1f, 0x6f, 0xc8));
  p.setPen(QPen(Qt::white, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.setBrush(Qt::NoBrush);
  QPainterPath check;
  check.moveTo(3.5, 7.5);
  check.lineTo(6.5, 10.5);
  check.lineTo(11.5, 4.5);
  p.drawPath(check);
}

QIcon Draw(Paint paint) {
  QIcon icon;
  // The 1x image is what the list uses; the 2x one keeps it sharp on dense screens.
  for (int scale : {1, 2}) {
    QPixmap pixmap(kStateImageSize * scale, kStateImageSize * scale);
    pixmap.setDevicePixelRatio(scale);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    paint(p);
    p.end();
    icon.addPixmap(pixmap);
  }
  return icon;
}

}  // namespace

QIcon StateIcon(int image) {
  static const std::array<QIcon, kStateImageCount> icons = {
      Draw(Downloading), Draw(Stopped), Draw(Waiting), Draw(Failed), Draw(Finished)};
  if (image < 0 || image >= kStateImageCount) return {};
  return icons[static_cast<std::size_t>(image)];
}

}  // namespace ui
