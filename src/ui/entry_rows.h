#pragma once

#include <QLabel>
#include <QObject>
#include <QWidget>
#include <vector>

#include "core/brief_record.h"

// The rows of a brief window, one per web entry: a check mark for Active, the shown name and the
// depth, on a white area with the selected row highlighted. Row i has its top at 26 * i.

namespace gl {

class RowEditor;

inline constexpr int kRowPitch = 26;
// The row area reaches this far below the last row's top.
inline constexpr int kAreaBelowLastRow = 46;

// The right edges of the column header's three sections, in row coordinates.
struct ColumnEdges {
  int First = 0;
  int Second = 0;
  int Third = 0;
};

// Shows whether the entry is active; a click asks for the toggle and then goes on to the row area
// below, which selects the row.
class TCheckMark : public QWidget {
  Q_OBJECT
 public:
  explicit TCheckMark(QWidget* parent);
  void Show(bool active, bool highlighted);

 signals:
  void Clicked();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;

 private:
  bool active_ = false;
  bool highlighted_ = false;
};

// The name or depth of a row. Clicks pass through to the row area; a text that does not fit ends
// in an ellipsis.
class TClickableLabel : public QLabel {
  Q_OBJECT
 public:
  explicit TClickableLabel(QWidget* parent);
  void SetHighlighted(bool highlighted);

 protected:
  void paintEvent(QPaintEvent* event) override;
};

// The selection bar behind the selected row.
class TWebHighlight : public QWidget {
  Q_OBJECT
 public:
  explicit TWebHighlight(QWidget* parent);

 protected:
  void paintEvent(QPaintEvent* event) override;
};

// One entry row: the check mark, the name label and the depth label.
class TWebPage : public QWidget {
  Q_OBJECT
 public:
  explicit TWebPage(QWidget* area);

  void Place(int top, const ColumnEdges& edges);
  // The check mark and name of the entry.
  void Show(const TWebEntry& entry);
  void SetHighlighted(bool highlighted);

  TCheckMark* CheckMark() const { return checkMark_; }
  TClickableLabel* NameLabel() const { return name_; }
  TClickableLabel* DepthLabel() const { return depth_; }

 private:
  TCheckMark* checkMark_;
  TClickableLabel* name_;
  TClickableLabel* depth_;
  bool active_ = false;
  bool highlighted_ = false;
};

// The two cells of a row that can be edited in place.
enum class EditedCell { Name, Depth };

// The ordered rows of a brief window beside the brief's entries, which it keeps in step: row i
// shows entry i. Holds the selection (-1 for none) and the in-place editor, whose text is taken
// into its entry before anything else changes.
class TWebList : public QObject {
  Q_OBJECT
 public:
  TWebList(TBriefRecord& brief, QWidget* area);

  int Count() const { return static_cast<int>(rows_.size()); }
  int Selected() const { return selected_; }
  TWebEntry& Entry(int index) const { return entries_[static_cast<std::size_t>(index)]; }
  TWebPage& Row(int index) const { return *rows_[static_cast<std::size_t>(index)]; }
  // The top of row 0 to the bottom of the area: the last row's top + 46; 0 without rows.
  int TotalHeight() const;
  // The row under a point of the area, or the count below the last row.
  int IndexAt(int y) const;

  // A new default entry at `index` (the count appends); a selection at or after it moves down.
  void Insert(int index);
  // Frees the entry at `index`. The selection stays at its index, goes to the last row when it
  // was past the end, and is -1 once no row is left.
  void Delete(int index);
  void Select(int index);
  void ClearSelection();
  // Puts the entries and their rows in `order` (element k: the index of the entry that goes to
  // place k). The selection stays at its index.
  void Reorder(const std::vector<std::size_t>& order);
  // The entry at `from` goes to `to`, the ones between close up; `to` becomes selected.
  void Move(int from, int to);

  // The brief's entries were replaced as a whole: every row is made again. The selection stays at
  // its index while there is a row there.
  void Reload();
  // Row `index` shows its entry's check mark and name again.
  void ShowEntry(int index);
  // The depth column shows the entry's depth, unless it already shows that number.
  void ShowDepth(int index);
  void SetDepthText(int index, const QString& text);

  void SetEdges(const ColumnEdges& edges);

  // Opens the editor over a cell of the selected row; Commit takes its text into the entry.
  void BeginEdit(EditedCell cell);
  void CommitEdit();
  bool Editing() const;

 signals:
  void SelectionChanged();
  void HeightChanged(int height);
  // An edit was taken into the entry at `index`.
  void EntryEdited(int index);
  // The check mark of row `index` was clicked.
  void CheckMarkClicked(int index);

 private:
  TWebPage* CreateRow(int index, const TWebEntry& entry);
  void PlaceRows(int from, int to);
  void ApplyEdit(int index, EditedCell cell, const QString& text);

  TBriefRecord& brief_;
  std::vector<TWebEntry>& entries_;  // the brief's WebList
  QWidget* area_;
  std::vector<TWebPage*> rows_;
  TWebHighlight* highlight_;
  RowEditor* editor_;
  ColumnEdges edges_;
  int selected_ = -1;
};

}  // namespace gl
