#pragma once

#include <QStyledItemDelegate>

class QFontMetrics;

// Draws a row of the archived-brief list: the run's stamp (the item's StampRole bytes) split into
// its date and time columns, over the view's own selection and focus drawing.

namespace gl {

class StampDelegate : public QStyledItemDelegate {
 public:
  static constexpr int StampRole = Qt::UserRole;

  using QStyledItemDelegate::QStyledItemDelegate;

  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override;
  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};

// The columns' pixel positions are laid out for a font whose digits are 6 pixels wide; a wider
// font spreads them by this factor so that no piece runs into the next.
double StampColumnScale(const QFontMetrics& metrics);

}  // namespace gl
