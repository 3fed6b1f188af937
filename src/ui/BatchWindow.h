#pragma once
// The batch input window "Korvane（…）": its own top-level window, no parent,
// not modal; closing it only hides it. Program runs the resolve work; this
// class lays out, reads and writes its controls. UI thread only.

#include <QWidget>
#include <string>

class QCheckBox;
class QLabel;
class QPushButton;

namespace ui {

class BatchInput;

class BatchWindow : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kLeft = 50, kTop = 50, kOuterWidth = 618, kOuterHeight = 266;

  BatchWindow();

  // The text of "编辑框1", lines joined by CR LF, in code page 936.
  std::string InputText() const;
  // The caption of "标签1" (code page 936).
  void SetCaption(const std::string& gbk);
  void ClearInputAndCaption();
  void DisableControls();  // "按钮1", then "编辑框1"
  void EnableControls();   // "按钮1", then "编辑框1"

  BatchInput& Input() { return *input_; }
  QLabel& Caption() { return *caption_; }
  QCheckBox& KeepInFront() { return *keepInFront_; }
  QPushButton& StartButton() { return *start_; }

 signals:
  void startRequested();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  void SetKeepInFront(bool on);

  BatchInput* input_;
  QLabel* caption_;
  QCheckBox* keepInFront_;
  QPushButton* start_;
};

}  // namespace ui
