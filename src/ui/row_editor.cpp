#include "ui/row_editor.h"

#include <QFocusEvent>
#include <QIntValidator>
#include <QKeyEvent>

namespace gl {

RowEditor::RowEditor(QWidget* area) : QLineEdit(area) {
  setObjectName("RowEditor");
  hide();
}

void RowEditor::Open(int index, EditedCell cell, const QRect& geometry, const QString& text) {
  index_ = index;
  cell_ = cell;
  setValidator(cell == EditedCell::Depth ? new QIntValidator(kMinDepth, kMaxDepth, this) : nullptr);
  setText(text);
  setGeometry(geometry);
  open_ = true;
  show();
  raise();
  setFocus(Qt::OtherFocusReason);
  selectAll();
}

void RowEditor::Commit() {
  if (!open_) return;
  Close();
  emit Finished(index_, cell_, text());
}

void RowEditor::Close() {
  open_ = false;
  hide();
  if (parentWidget() != nullptr) parentWidget()->setFocus(Qt::OtherFocusReason);
}

void RowEditor::keyPressEvent(QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
      Commit();
      return;
    case Qt::Key_Escape:
      if (open_) Close();
      return;
    default:
      QLineEdit::keyPressEvent(event);
  }
}

void RowEditor::focusOutEvent(QFocusEvent* event) {
  QLineEdit::focusOutEvent(event);
  // Switching to another program keeps the edit open.
  if (event->reason() != Qt::ActiveWindowFocusReason) Commit();
}

bool RowEditor::focusNextPrevChild(bool next) {
  if (!open_) return QLineEdit::focusNextPrevChild(next);
  const bool fromName = next && cell_ == EditedCell::Name;
  Commit();
  if (fromName) emit NextCellWanted(index_);
  return true;
}

}  // namespace gl
