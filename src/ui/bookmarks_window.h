#pragma once

#include <QWidget>
#include <memory>

#include "core/bookmark_tree.h"
#include "core/entry_holder.h"

class QAction;
class QMenu;
class QTreeWidget;
class QTreeWidgetItem;

// TBkMarks, the bookmark window: a browser's bookmark file as a tree of folders and links
// (GLOutline), captioned with the file's title. A link is copied into the entry holder, or a link
// or a folder's links are dragged into a brief window, where they become new web entries. The
// window owns the tree it shows; closing it frees both.

namespace gl {

class EntryDragData;

class TBkMarks : public QWidget {
  Q_OBJECT
 public:
  // Bookmarks copied here go to `holder`, the one the brief windows paste from.
  TBkMarks(TBookmarkTree tree, EntryHolder& holder, QWidget* parent = nullptr);

  // True while a link is selected: a folder has no address to copy.
  bool CanCopy() const;
  // The selected link goes into the holder as a new entry would take it, with "Entire Page" in
  // its depth column.
  void Copy1Click();
  // What a drag of `item` carries: its link, or every link inside the folder and the folders in
  // it, in file order. Links without a caption are left out.
  std::unique_ptr<EntryDragData> DragData(const QTreeWidgetItem& item) const;

 signals:
  // Whether a link is selected may have changed.
  void CommandsChanged();

 private:
  void FillOutline();
  const TBookmark& BookmarkOf(const QTreeWidgetItem& item) const;
  void ShowPopup(const QPoint& point);

  TBookmarkTree tree_;
  EntryHolder& holder_;
  QTreeWidget* GLOutline;
  QMenu* BkMarkPopup;
  QAction* Copy1;
};

}  // namespace gl
