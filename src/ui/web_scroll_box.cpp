#include "ui/web_scroll_box.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QDrag>
#include <QHeaderView>
#include <QScrollBar>
#include <QStandardItemModel>
#include <algorithm>

#include "core/texts.h"
#include "ui/brief_window.h"
#include "ui/entry_drag.h"
#include "ui/qt_text.h"
#include "ui/row_pictures.h"

namespace gl {
namespace {

// A drag this close to the top or bottom of the visible rows scrolls them.
constexpr int kAutoScrollBand = 16;
constexpr int kNarrowestName = 40;

int FixedSectionWidth(const QHeaderView& header, const QString& widest) {
  return header.fontMetrics().horizontalAdvance(widest) +
         2 * header.style()->pixelMetric(QStyle::PM_HeaderMargin) + 8;
}

}  // namespace

TWebScrollBox::TWebScrollBox(TGleanerForm& form, TBriefRecord& brief, QWidget* parent)
    : QScrollArea(parent),
      form_(form),
      Panel3(new QWidget),
      Header1(new QHeaderView(Qt::Horizontal, this)) {
  setObjectName("Rows");
  setFocusPolicy(Qt::StrongFocus);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setWidgetResizable(true);
  setFrameShape(QFrame::NoFrame);

  Panel3->setObjectName("Panel3");
  QPalette white = Panel3->palette();
  white.setColor(QPalette::Window, Qt::white);
  Panel3->setPalette(white);
  Panel3->setAutoFillBackground(true);
  Panel3->setAcceptDrops(true);
  Panel3->setFocusProxy(this);
  Panel3->installEventFilter(this);
  setWidget(Panel3);
  viewport()->setPalette(white);
  viewport()->setAutoFillBackground(true);

  Header1->setObjectName("Header1");
  auto* columns = new QStandardItemModel(0, 3, Header1);
  columns->setHorizontalHeaderLabels({"Active ", "Web Site Name", "Depth"});
  Header1->setModel(columns);
  Header1->setSectionsClickable(false);
  Header1->setHighlightSections(false);
  Header1->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  Header1->setSectionResizeMode(QHeaderView::Fixed);
  Header1->resizeSection(0, FixedSectionWidth(*Header1, "Active "));
  // The widest text the depth column shows is that of a bookmark taken in as an entry.
  Header1->resizeSection(2, FixedSectionWidth(*Header1, ToQString(texts::kEntirePage)));
  setViewportMargins(0, Header1->sizeHint().height(), 0, 0);

  dropMark_ = new QFrame(Panel3);
  dropMark_->setObjectName("DropMark");
  dropMark_->setFrameShape(QFrame::Box);
  dropMark_->setLineWidth(2);
  dropMark_->setAttribute(Qt::WA_TransparentForMouseEvents);
  QPalette mark = dropMark_->palette();
  mark.setColor(QPalette::WindowText, mark.color(QPalette::Highlight));
  dropMark_->setPalette(mark);
  dropMark_->hide();

  list_ = new TWebList(brief, Panel3);
  Panel3->setMinimumHeight(list_->TotalHeight());
  connect(list_, &TWebList::HeightChanged, Panel3, &QWidget::setMinimumHeight);
  connect(list_, &TWebList::CheckMarkClicked, &form_, &TGleanerForm::CheckMarkClick);

  editTimer_.setSingleShot(true);
  editTimer_.setInterval(QApplication::doubleClickInterval());
  connect(&editTimer_, &QTimer::timeout, this, [this] {
    if (!form_.State().Generating) list_->BeginEdit(pendingCell_);
  });
}

int TWebScrollBox::DropIndex(int y, bool moveWithin) const {
  const int index = list_->IndexAt(y);
  return index == list_->Count() && moveWithin ? index - 1 : index;
}

void TWebScrollBox::ShowRow(int index) {
  ensureWidgetVisible(&list_->Row(index), 0, 0);
}

void TWebScrollBox::PlaceHeader() {
  const QRect area = viewport()->geometry();
  const int height = Header1->sizeHint().height();
  Header1->setGeometry(area.left(), area.top() - height, area.width(), height);
  // The name column takes what the other two leave.
  const int nameWidth = area.width() - Header1->sectionSize(0) - Header1->sectionSize(2);
  Header1->resizeSection(1, std::max(nameWidth, kNarrowestName));
}

void TWebScrollBox::TakeColumnEdges() {
  ColumnEdges edges;
  edges.First = Header1->sectionSize(0);
  edges.Second = edges.First + Header1->sectionSize(1);
  edges.Third = edges.Second + Header1->sectionSize(2);
  list_->SetEdges(edges);
}

void TWebScrollBox::resizeEvent(QResizeEvent* event) {
  QScrollArea::resizeEvent(event);
  PlaceHeader();
  TakeColumnEdges();
}

bool TWebScrollBox::eventFilter(QObject* watched, QEvent* event) {
  if (watched != Panel3) return QScrollArea::eventFilter(watched, event);
  switch (event->type()) {
    case QEvent::Resize:
      // A scroll bar that comes or goes changes the width of the rows and of the header.
      PlaceHeader();
      TakeColumnEdges();
      return false;
    case QEvent::MouseButtonPress:
      MousePress(static_cast<QMouseEvent&>(*event));
      return true;
    case QEvent::MouseMove:
      MouseMove(static_cast<QMouseEvent&>(*event));
      return true;
    case QEvent::MouseButtonDblClick: {
      editTimer_.stop();
      const int index = list_->IndexAt(static_cast<QMouseEvent*>(event)->position().toPoint().y());
      if (index < list_->Count()) {
        list_->Select(index);
        form_.ViewPage1Click();
      }
      return true;
    }
    case QEvent::DragEnter:
    case QEvent::DragMove:
      DragOver(static_cast<QDropEvent&>(*event));
      return true;
    case QEvent::DragLeave:
      dropMark_->hide();
      return true;
    case QEvent::Drop:
      Drop(static_cast<QDropEvent&>(*event));
      return true;
    default:
      return false;
  }
}

void TWebScrollBox::MousePress(QMouseEvent& event) {
  setFocus(Qt::MouseFocusReason);
  editTimer_.stop();
  pressIndex_ = -1;
  const QPoint point = event.position().toPoint();
  const int index = list_->IndexAt(point.y());
  if (index >= list_->Count()) {
    list_->ClearSelection();
    return;
  }
  const bool wasSelected = index == list_->Selected();
  list_->Select(index);
  if (event.button() != Qt::LeftButton) return;
  pressPoint_ = point;
  pressIndex_ = index;
  if (!wasSelected) return;
  const QWidget* cell = Panel3->childAt(point);
  const TWebPage& row = list_->Row(index);
  if (cell == row.NameLabel() || cell == row.DepthLabel()) {
    pendingCell_ = cell == row.NameLabel() ? EditedCell::Name : EditedCell::Depth;
    editTimer_.start();
  }
}

void TWebScrollBox::MouseMove(QMouseEvent& event) {
  if (pressIndex_ < 0 || !(event.buttons() & Qt::LeftButton)) return;
  const QPoint distance = event.position().toPoint() - pressPoint_;
  if (distance.manhattanLength() < QApplication::startDragDistance()) return;
  editTimer_.stop();
  StartDrag();
}

void TWebScrollBox::StartDrag() {
  const int index = pressIndex_;
  pressIndex_ = -1;
  TWebPage& row = list_->Row(index);
  auto* drag = new QDrag(Panel3);
  drag->setMimeData(new EntryDragData(form_, index));
  // The row as it looks while selected, so the pointer carries what the user picked up.
  QPixmap picture(row.size() * devicePixelRatio());
  picture.setDevicePixelRatio(devicePixelRatio());
  picture.fill(palette().color(QPalette::Highlight));
  row.render(&picture, QPoint(), QRegion(), QWidget::DrawChildren);
  drag->setPixmap(picture);
  drag->setHotSpot(pressPoint_ - row.pos());
  drag->setDragCursor(DragCursor(false), Qt::MoveAction);
  drag->setDragCursor(DragCursor(true), Qt::CopyAction);
  drag->exec(Qt::MoveAction | Qt::CopyAction, Qt::MoveAction);
}

bool TWebScrollBox::DragOver(QDropEvent& event) {
  const auto* dragged = dynamic_cast<const EntryDragData*>(event.mimeData());
  const bool hasEntries = dragged != nullptr && (dragged->IsRow() ? !dragged->Source.isNull()
                                                                  : !dragged->Entries.empty());
  if (!hasEntries || form_.State().Generating) {
    event.ignore();
    return false;
  }
  const bool copy = (event.modifiers() & Qt::ControlModifier) || dragged->Source != &form_;
  event.setDropAction(copy ? Qt::CopyAction : Qt::MoveAction);
  event.accept();
  const int target = DropIndex(event.position().toPoint().y(), !copy);
  dropMark_->setGeometry(0, target * kRowPitch, Panel3->width(), kRowPitch);
  dropMark_->show();
  dropMark_->raise();
  const int y = Panel3->mapTo(viewport(), event.position().toPoint()).y();
  QScrollBar& bar = *verticalScrollBar();
  if (y < kAutoScrollBand) bar.setValue(bar.value() - kRowPitch / 2);
  if (y > viewport()->height() - kAutoScrollBand) bar.setValue(bar.value() + kRowPitch / 2);
  return true;
}

void TWebScrollBox::Drop(QDropEvent& event) {
  const bool accepted = DragOver(event);
  dropMark_->hide();
  if (!accepted) return;
  const auto& dragged = dynamic_cast<const EntryDragData&>(*event.mimeData());
  const int y = event.position().toPoint().y();
  if (!dragged.IsRow()) {
    form_.DropEntries(dragged.Entries, DropIndex(y, false));
    return;
  }
  const bool copy = event.dropAction() == Qt::CopyAction;
  const bool within = dragged.Source == &form_;
  form_.FinishDragDrop(*dragged.Source, dragged.Index, DropIndex(y, within && !copy), copy);
}

void TWebScrollBox::SelectAndShow(int index) {
  if (index < 0 || index >= list_->Count()) return;
  list_->Select(index);
  ShowRow(index);
}

void TWebScrollBox::keyPressEvent(QKeyEvent* event) {
  const int count = list_->Count();
  const int selected = list_->Selected();
  const int page = std::max(1, viewport()->height() / kRowPitch - 1);
  switch (event->key()) {
    case Qt::Key_Up:
      SelectAndShow(selected < 0 ? count - 1 : std::max(selected - 1, 0));
      break;
    case Qt::Key_Down:
      SelectAndShow(selected < 0 ? 0 : std::min(selected + 1, count - 1));
      break;
    case Qt::Key_PageUp:
      SelectAndShow(std::max(selected - page, 0));
      break;
    case Qt::Key_PageDown:
      SelectAndShow(std::min(std::max(selected, 0) + page, count - 1));
      break;
    case Qt::Key_Home:
      SelectAndShow(0);
      break;
    case Qt::Key_End:
      SelectAndShow(count - 1);
      break;
    case Qt::Key_Delete:
      form_.DeleteEntryClick();
      break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
      form_.Properties1Click();
      break;
    case Qt::Key_F2:
      if (!form_.State().Generating) list_->BeginEdit(EditedCell::Name);
      break;
    case Qt::Key_Space:
      if (selected >= 0) form_.CheckMarkClick(selected);
      break;
    default:
      QScrollArea::keyPressEvent(event);
  }
}

void TWebScrollBox::contextMenuEvent(QContextMenuEvent* event) {
  if (event->reason() == QContextMenuEvent::Keyboard) {
    const int selected = list_->Selected();
    if (selected < 0) {
      form_.ShowBriefMenu(viewport()->mapToGlobal(QPoint(0, 0)));
      return;
    }
    ShowRow(selected);
    const TWebPage& row = list_->Row(selected);
    form_.ShowEntryMenu(Panel3->mapToGlobal(row.geometry().center()));
    return;
  }
  const int index = list_->IndexAt(Panel3->mapFromGlobal(event->globalPos()).y());
  if (index < list_->Count()) {
    list_->Select(index);
    form_.ShowEntryMenu(event->globalPos());
  } else {
    form_.ShowBriefMenu(event->globalPos());
  }
}

}  // namespace gl
