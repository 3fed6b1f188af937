#pragma once
// Draws a progress bar behind the percentage text of the progress column
// ("45.67%"); other cells draw as usual. UI thread only.

#include <QStyledItemDelegate>

namespace ui {

class ProgressDelegate : public QStyledItemDelegate {
  Q_OBJECT

 public:
  using QStyledItemDelegate::QStyledItemDelegate;

  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override;

  // The fraction 0..1 a cell text stands for; -1 when it is not a percentage.
  static double Fraction(const QString& cellText);
};

}  // namespace ui
