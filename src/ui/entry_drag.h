#pragma once

#include <QMimeData>
#include <QPointer>
#include <vector>

#include "core/entry_holder.h"

// What a drag into a brief window's rows carries. Only this program reads it, and only within
// one process, so it is an object rather than bytes.

namespace gl {

class TGleanerForm;

class EntryDragData : public QMimeData {
 public:
  // Row `index` of the brief window `source`, moved within it or copied elsewhere.
  EntryDragData(TGleanerForm& source, int index);
  // New entries from outside the brief windows (bookmarks), copied in from the drop on, in this
  // order; each carries the text of its depth column.
  explicit EntryDragData(std::vector<EntryHolder> entries);

  bool IsRow() const { return Index >= 0; }

  // The dragged row's window; null once that window has closed.
  QPointer<TGleanerForm> Source;
  int Index = -1;
  std::vector<EntryHolder> Entries;
};

}  // namespace gl
