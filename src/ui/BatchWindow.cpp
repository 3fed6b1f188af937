#include "ui/BatchWindow.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QLabel>
#include <QPushButton>

#include "ui/BatchInput.h"
#include "ui/Gbk.h"
#include "ui/Platform.h"
#include "ui/UiNames.h"
#include "ui/UiTexts.h"

namespace ui {

BatchWindow::BatchWindow() : QWidget(nullptr) {
  setWindowTitle(Tr(texts::kBatchCaption));
  setFont(WindowFont());
  move(kLeft, kTop);
  setFixedSize(kOuterWidth, kOuterHeight);

  input_ = new BatchInput(this);
  input_->setObjectName(Tr(names::kBatchInput));
  input_->setGeometry(5, 8, 603, 192);
  input_->setLineWrapMode(QPlainTextEdit::NoWrap);

  caption_ = new QLabel(Tr(texts::kBatchWaiting), this);
  caption_->setObjectName(Tr(names::kBatchCaption));
  caption_->setGeometry(7, 208, 425, 17);

  keepInFront_ = new QCheckBox(Tr(texts::kKeepInFront), this);
  keepInFront_->setObjectName(Tr(names::kKeepInFront));
  keepInFront_->setGeometry(444, 207, 80, 24);

  start_ = new QPushButton(Tr(texts::kStartDownload), this);
  start_->setObjectName(Tr(names::kStartButton));
  start_->setGeometry(529, 203, 80, 32);

  connect(keepInFront_, &QCheckBox::clicked, this, &BatchWindow::SetKeepInFront);
  connect(start_, &QPushButton::clicked, this, &BatchWindow::startRequested);
}

std::string BatchWindow::InputText() const {
  QString text = input_->toPlainText();
  text.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
  return ToGbk(text);
}

void BatchWindow::SetCaption(const std::string& gbk) { caption_->setText(FromGbk(gbk)); }

void BatchWindow::ClearInputAndCaption() {
  input_->clear();
  caption_->clear();
}

void BatchWindow::DisableControls() {
  start_->setEnabled(false);
  input_->setEnabled(false);
}

void BatchWindow::EnableControls() {
  start_->setEnabled(true);
  input_->setEnabled(true);
}

void BatchWindow::SetKeepInFront(bool on) {
  const bool visible = isVisible();
  setWindowFlag(Qt::WindowStaysOnTopHint, on);
  // Changing the flags takes the window off the screen; bring it back.
  if (visible) show();
}

void BatchWindow::closeEvent(QCloseEvent* event) {
  event->ignore();
  hide();
}

void BatchWindow::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  FitFrameToOuterSize(this, {kOuterWidth, kOuterHeight});
}

}  // namespace ui
