#include "ui/StatusLine.h"

#include <QLabel>

#include "ui/Gbk.h"
#include "ui/UiNames.h"
#include "ui/UiTexts.h"

namespace ui {

StatusLine::StatusLine(QWidget* parent) : QStatusBar(parent) {
  setObjectName(Tr(names::kStatusBar));
  setSizeGripEnabled(false);
  parts_[0] = new QLabel(Tr(texts::kStatusSpeedStart), this);
  parts_[0]->setFixedWidth(100);
  parts_[1] = new QLabel(Tr(texts::kStatusFixed), this);
  addWidget(parts_[0]);
  addWidget(parts_[1], 1);
}

QString StatusLine::PartText(int part) const {
  return part == 0 || part == 1 ? parts_[part]->text() : QString();
}

void StatusLine::SetPartText(int part, const std::string& text) {
  if (part == 0 || part == 1) parts_[part]->setText(FromGbk(text));
}

}  // namespace ui
