#pragma once

#include <QPoint>
#include <QScrollArea>
#include <QTimer>

#include "core/brief_record.h"
#include "ui/entry_rows.h"

class QHeaderView;

// The scrolling row area of a brief window under its column header ("Active ", "Web Site Name",
// "Depth"), whose sections give the rows' column edges. It turns the mouse and keyboard into the
// brief window's row commands and takes dropped rows.

namespace gl {

class TGleanerForm;

class TWebScrollBox : public QScrollArea {
  Q_OBJECT
 public:
  TWebScrollBox(TGleanerForm& form, TBriefRecord& brief, QWidget* parent);

  TWebList& WebList() const { return *list_; }
  // The row a drop at `y` of the row area lands on: the row under it; below the last row the
  // count, or the last row for a row moved within this window.
  int DropIndex(int y, bool moveWithin) const;
  // Scrolls so that the row is in view.
  void ShowRow(int index);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void PlaceHeader();
  void TakeColumnEdges();
  void MousePress(QMouseEvent& event);
  void MouseMove(QMouseEvent& event);
  void StartDrag();
  bool DragOver(QDropEvent& event);
  void Drop(QDropEvent& event);
  void SelectAndShow(int index);

  TGleanerForm& form_;
  QWidget* Panel3;
  QHeaderView* Header1;
  TWebList* list_;
  // Outlines the row that a dragged row would land on.
  QFrame* dropMark_;
  QPoint pressPoint_;
  int pressIndex_ = -1;
  // A click on a cell of the row that is already selected opens its editor once it is clear
  // that no double click follows.
  QTimer editTimer_;
  EditedCell pendingCell_ = EditedCell::Name;
};

}  // namespace gl
