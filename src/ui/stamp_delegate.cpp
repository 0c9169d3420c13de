#include "ui/stamp_delegate.h"

#include <QApplication>
#include <QPainter>
#include <algorithm>

#include "core/stamp_columns.h"
#include "ui/qt_text.h"

namespace gl {
namespace {

constexpr double kDesignedDigitWidth = 6.0;
constexpr int kDesignedRowWidth = 230;  // the AM/PM marker's column and room for it
constexpr int kRowPadding = 4;

}  // namespace

double StampColumnScale(const QFontMetrics& metrics) {
  return std::max(1.0, metrics.horizontalAdvance(QLatin1Char('0')) / kDesignedDigitWidth);
}

void StampDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const {
  QStyleOptionViewItem row(option);
  initStyleOption(&row, index);
  row.text.clear();
  const QWidget* view = option.widget;
  QStyle* style = view ? view->style() : QApplication::style();
  style->drawControl(QStyle::CE_ItemViewItem, &row, painter, view);

  const QPalette::ColorGroup group =
      option.state & QStyle::State_Enabled ? QPalette::Normal : QPalette::Disabled;
  const QPalette::ColorRole role =
      option.state & QStyle::State_Selected ? QPalette::HighlightedText : QPalette::Text;
  const QByteArray stamp = index.data(StampRole).toByteArray();
  const double scale = StampColumnScale(option.fontMetrics);

  painter->save();
  painter->setPen(option.palette.color(group, role));
  for (const StampPiece& piece : StampColumns(std::string_view(stamp.constData(), stamp.size()))) {
    const QString text = ToQString(piece.Text);
    const int width = option.fontMetrics.horizontalAdvance(text);
    const int x = option.rect.left() + qRound(piece.X * scale);
    const QRect place(piece.RightAligned ? x - width : x, option.rect.top(), width,
                      option.rect.height());
    painter->drawText(place, Qt::AlignLeft | Qt::AlignVCenter, text);
  }
  painter->restore();
}

QSize StampDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const {
  return QSize(qRound(kDesignedRowWidth * StampColumnScale(option.fontMetrics)),
               option.fontMetrics.height() + kRowPadding);
}

}  // namespace gl
