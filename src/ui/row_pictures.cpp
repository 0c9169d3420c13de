#include "ui/row_pictures.h"

#include <QPainter>
#include <QPainterPath>

namespace gl {
namespace {

constexpr int kBoxSide = 14;
constexpr int kCursorSide = 32;

}  // namespace

void PaintCheckMark(QPainter& painter, const QRect& cell, bool active, bool highlighted) {
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  painter.fillRect(cell, Qt::white);
  const QRectF box(cell.center().x() - kBoxSide / 2.0 + 0.5,
                   cell.center().y() - kBoxSide / 2.0 + 0.5, kBoxSide, kBoxSide);
  painter.setPen(QPen(QColor(128, 128, 128), 1));
  painter.setBrush(Qt::white);
  painter.drawRoundedRect(box, 2, 2);
  if (active) {
    QPainterPath tick;
    tick.moveTo(box.left() + 3, box.center().y());
    tick.lineTo(box.left() + 6, box.bottom() - 3.5);
    tick.lineTo(box.right() - 2.5, box.top() + 3);
    const QColor ink = highlighted ? QColor(128, 128, 128) : QColor(Qt::black);
    painter.setPen(QPen(ink, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(tick);
  }
  painter.restore();
}

QPixmap DragCursor(bool copy) {
  QPixmap cursor(kCursorSide, kCursorSide);
  cursor.fill(Qt::transparent);
  QPainter painter(&cursor);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(QPen(Qt::white, 1));
  painter.setBrush(Qt::black);
  const QPointF arrow[] = {{0.5, 0.5},  {0.5, 16},   {4.5, 12},   {7.5, 18.5},
                           {9.5, 17.5}, {6.5, 11.5}, {11.5, 11.5}};
  painter.drawPolygon(arrow, std::size(arrow));
  const QRectF page(12.5, 16.5, 12, 14);
  painter.setPen(QPen(Qt::black, 1));
  painter.setBrush(Qt::white);
  painter.drawRect(page);
  for (int line = 0; line < 3; ++line)
    painter.drawLine(QPointF(page.left() + 3, page.top() + 4 + line * 3),
                     QPointF(page.right() - 3, page.top() + 4 + line * 3));
  if (copy) {
    const QRectF badge(20.5, 22.5, 9, 9);
    painter.setBrush(Qt::white);
    painter.drawRect(badge);
    painter.drawLine(QPointF(badge.center().x(), badge.top() + 2),
                     QPointF(badge.center().x(), badge.bottom() - 2));
    painter.drawLine(QPointF(badge.left() + 2, badge.center().y()),
                     QPointF(badge.right() - 2, badge.center().y()));
  }
  return cursor;
}

}  // namespace gl
