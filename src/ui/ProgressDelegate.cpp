#include "ui/ProgressDelegate.h"

#include <QApplication>
#include <QPainter>
#include <algorithm>

namespace ui {

double ProgressDelegate::Fraction(const QString& cellText) {
  if (!cellText.endsWith(QLatin1Char('%'))) return -1;
  bool ok = false;
  const double percent = cellText.chopped(1).toDouble(&ok);
  if (!ok) return -1;
  return std::clamp(percent / 100.0, 0.0, 1.0);
}

void ProgressDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                             const QModelIndex& index) const {
  QStyleOptionViewItem opt = option;
  initStyleOption(&opt, index);
  const double fraction = Fraction(opt.text);
  if (fraction < 0) {
    QStyledItemDelegate::paint(painter, option, index);
    return;
  }
  const QStyle* style = opt.widget ? opt.widget->style() : QApplication::style();
  const QString label = opt.text;
  opt.text.clear();
  style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, opt.widget);

  const QRect bar = opt.rect.adjusted(2, 2, -2, -2);
  painter->save();
  painter->setPen(QColor(0xb8, 0xd8, 0xb8));
  painter->setBrush(QColor(0xf2, 0xf8, 0xf2));
  painter->drawRect(bar.adjusted(0, 0, -1, -1));
  QRect filled = bar.adjusted(1, 1, -1, -1);
  filled.setWidth(static_cast<int>(filled.width() * fraction));
  painter->fillRect(filled, QColor(0x9c, 0xd8, 0x9c));
  // The bar keeps its own light colours when the row is selected, so the text
  // on it stays dark.
  painter->setPen(opt.palette.color(QPalette::Active, QPalette::Text));
  if (const QVariant fg = index.data(Qt::ForegroundRole); fg.isValid()) {
    painter->setPen(fg.value<QBrush>().color());
  }
  painter->drawText(bar.adjusted(2, 0, -3, 0), static_cast<int>(opt.displayAlignment), label);
  painter->restore();
}

}  // namespace ui
