#pragma once

#include <QPixmap>
#include <QRect>

class QPainter;

// The pictures of the entry rows, drawn rather than loaded so they stay sharp at any screen
// scale: the check mark of an entry and the cursors of a row being dragged.

namespace gl {

// The check mark cell: white, with a box that holds a tick while the entry is active. The tick is
// black, or grey on the selected row.
void PaintCheckMark(QPainter& painter, const QRect& cell, bool active, bool highlighted);

// The pointer while a row is dragged: an arrow with a page, and a plus sign for a copy.
QPixmap DragCursor(bool copy);

}  // namespace gl
