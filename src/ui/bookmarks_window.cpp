#include "ui/bookmarks_window.h"

#include <QAction>
#include <QDrag>
#include <QKeyEvent>
#include <QMenu>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <vector>

#include "core/texts.h"
#include "ui/entry_drag.h"
#include "ui/qt_text.h"
#include "ui/row_pictures.h"
#include "ui/shell_texts.h"
#include "ui/tool_icons.h"

namespace gl {
namespace {

// Each item keeps the index of its bookmark in the window's tree.
constexpr int kIndexRole = Qt::UserRole;

std::size_t IndexOf(const QTreeWidgetItem& item) {
  return item.data(0, kIndexRole).toULongLong();
}

// The outline of folders and links. A drag carries the bookmarks of the item being dragged.
class BookmarkOutline : public QTreeWidget {
 public:
  explicit BookmarkOutline(TBkMarks& window) : QTreeWidget(&window), window_(window) {}

 protected:
  void startDrag(Qt::DropActions) override {
    const QTreeWidgetItem* item = currentItem();
    if (item == nullptr) return;
    std::unique_ptr<EntryDragData> dragged = window_.DragData(*item);
    if (dragged->Entries.empty()) return;
    auto* drag = new QDrag(this);
    drag->setMimeData(dragged.release());
    drag->setPixmap(viewport()->grab(visualItemRect(item)));
    drag->setDragCursor(DragCursor(true), Qt::CopyAction);
    drag->exec(Qt::CopyAction, Qt::CopyAction);
  }

  // A tree would copy the item's text to the system clipboard; bookmarks go to the entry holder.
  void keyPressEvent(QKeyEvent* event) override {
    if (event->matches(QKeySequence::Copy)) {
      window_.Copy1Click();
      return;
    }
    QTreeWidget::keyPressEvent(event);
  }

 private:
  TBkMarks& window_;
};

}  // namespace

TBkMarks::TBkMarks(TBookmarkTree tree, EntryHolder& holder, QWidget* parent)
    : QWidget(parent), tree_(std::move(tree)), holder_(holder) {
  setObjectName("BkMarks");
  setWindowTitle(ToQString(tree_.Caption));
  setWindowIcon(ToolIcon("folder"));

  GLOutline = new BookmarkOutline(*this);
  GLOutline->setObjectName("GLOutline");
  GLOutline->setHeaderHidden(true);
  GLOutline->setUniformRowHeights(true);
  GLOutline->setDragEnabled(true);
  GLOutline->setDragDropMode(QAbstractItemView::DragOnly);
  GLOutline->setContextMenuPolicy(Qt::CustomContextMenu);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(GLOutline);
  setFocusProxy(GLOutline);

  Copy1 = new QAction(shell_texts::kCopy, this);
  Copy1->setObjectName("Copy1");
  connect(Copy1, &QAction::triggered, this, &TBkMarks::Copy1Click);
  BkMarkPopup = new QMenu(this);
  BkMarkPopup->setObjectName("BkMarkPopup");
  BkMarkPopup->addAction(Copy1);

  connect(GLOutline, &QWidget::customContextMenuRequested, this, &TBkMarks::ShowPopup);
  connect(GLOutline, &QTreeWidget::itemSelectionChanged, this, &TBkMarks::CommandsChanged);
  FillOutline();
}

void TBkMarks::FillOutline() {
  const QIcon folder = ToolIcon("folder");
  const QIcon link = ToolIcon("text-html");
  std::vector<QTreeWidgetItem*> items;
  items.reserve(tree_.Items.size());
  QList<QTreeWidgetItem*> topLevel;
  // A parent always comes before its children. The items are put together before the outline
  // takes them, so that a file of thousands of bookmarks opens at once.
  for (std::size_t i = 0; i < tree_.Items.size(); ++i) {
    const TBookmark& bookmark = tree_.Items[i];
    auto* item = new QTreeWidgetItem;
    item->setText(0, ToQString(bookmark.Caption));
    item->setIcon(0, bookmark.IsFolder() ? folder : link);
    if (!bookmark.IsFolder()) item->setToolTip(0, ToQString(bookmark.URL));
    item->setData(0, kIndexRole, static_cast<qulonglong>(i));
    if (bookmark.Parent == TBookmark::kTopLevel) {
      topLevel.append(item);
    } else {
      items[bookmark.Parent]->addChild(item);
    }
    items.push_back(item);
  }
  GLOutline->addTopLevelItems(topLevel);
  for (QTreeWidgetItem* item : topLevel)
    if (item->childCount() > 0) item->setExpanded(true);
}

const TBookmark& TBkMarks::BookmarkOf(const QTreeWidgetItem& item) const {
  return tree_.Items[IndexOf(item)];
}

bool TBkMarks::CanCopy() const {
  const QList<QTreeWidgetItem*> selected = GLOutline->selectedItems();
  return !selected.isEmpty() && !BookmarkOf(*selected.first()).IsFolder();
}

void TBkMarks::Copy1Click() {
  if (!CanCopy()) return;
  holder_.Copy(BookmarkEntry(BookmarkOf(*GLOutline->selectedItems().first())), texts::kEntirePage);
  emit CommandsChanged();
}

std::unique_ptr<EntryDragData> TBkMarks::DragData(const QTreeWidgetItem& item) const {
  const std::size_t index = IndexOf(item);
  const std::vector<std::size_t> links =
      tree_.Items[index].IsFolder() ? LinksUnder(tree_, index) : std::vector<std::size_t>{index};
  std::vector<EntryHolder> entries;
  for (const std::size_t link : links) {
    if (tree_.Items[link].Caption.empty()) continue;
    entries.emplace_back().Copy(BookmarkEntry(tree_.Items[link]), texts::kEntirePage);
  }
  return std::make_unique<EntryDragData>(std::move(entries));
}

void TBkMarks::ShowPopup(const QPoint& point) {
  QTreeWidgetItem* item = GLOutline->itemAt(point);
  if (item == nullptr) return;
  GLOutline->setCurrentItem(item);
  Copy1->setEnabled(CanCopy());
  BkMarkPopup->popup(GLOutline->viewport()->mapToGlobal(point));
}

}  // namespace gl
