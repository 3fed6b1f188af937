#pragma once
// "编辑框1": the addresses, one per line. A paste or a drop inserts plain text
// only; dropped links (a browser's drag) become one address per line.
// UI thread only.

#include <QPlainTextEdit>

namespace ui {

class BatchInput : public QPlainTextEdit {
  Q_OBJECT

 public:
  using QPlainTextEdit::QPlainTextEdit;

 protected:
  bool canInsertFromMimeData(const QMimeData* source) const override;
  void insertFromMimeData(const QMimeData* source) override;
};

}  // namespace ui
