#pragma once
// A label that reports the left mouse button going down and coming up on it
// ("透明标签_浏览" acts on release, the site-G note line on press). UI thread.

#include <QLabel>

namespace ui {

class ClickLabel : public QLabel {
  Q_OBJECT

 public:
  using QLabel::QLabel;

 signals:
  void leftPressed();
  void leftReleased();

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
};

}  // namespace ui
