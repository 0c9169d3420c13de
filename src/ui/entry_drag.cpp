#include "ui/entry_drag.h"

#include "ui/brief_window.h"

namespace gl {
namespace {

constexpr const char* kEntryFormat = "application/x-gleaner-light-entry";

}  // namespace

EntryDragData::EntryDragData(TGleanerForm& source, int index) : Source(&source), Index(index) {
  setData(kEntryFormat, QByteArray());
}

EntryDragData::EntryDragData(std::vector<EntryHolder> entries) : Entries(std::move(entries)) {
  setData(kEntryFormat, QByteArray());
}

}  // namespace gl
