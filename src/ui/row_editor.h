#pragma once

#include <QLineEdit>

#include "ui/entry_rows.h"

// The in-place editor of a row's name or depth cell. Enter or leaving the editor takes the text,
// Escape drops it, and Tab from the name goes on to the depth.

namespace gl {

class RowEditor : public QLineEdit {
  Q_OBJECT
 public:
  explicit RowEditor(QWidget* area);

  void Open(int index, EditedCell cell, const QRect& geometry, const QString& text);
  // Closes an open editor and reports its text once.
  void Commit();
  bool IsOpen() const { return open_; }

 signals:
  void Finished(int index, EditedCell cell, const QString& text);
  // Tab in the name cell: the name was taken, the depth of the same row is next.
  void NextCellWanted(int index);

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  bool focusNextPrevChild(bool next) override;

 private:
  void Close();

  bool open_ = false;
  int index_ = -1;
  EditedCell cell_ = EditedCell::Name;
};

}  // namespace gl
