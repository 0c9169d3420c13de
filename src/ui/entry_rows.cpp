#include "ui/entry_rows.h"

#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

#include "core/entry_sort.h"
#include "core/settings_io.h"
#include "ui/qt_text.h"
#include "ui/row_editor.h"
#include "ui/row_pictures.h"

namespace gl {
namespace {

// Labels sit 5 pixels into the row and are 15 high, or as high as the font needs, centred.
constexpr int kLabelInset = 5;
constexpr int kLabelHeight = 15;

QRect LabelBand(const QWidget& label) {
  const int height = std::max(kLabelHeight, label.fontMetrics().height());
  const int top = height == kLabelHeight ? kLabelInset : (kRowPitch - height) / 2;
  return QRect(0, top, 0, height);
}

void SetLabelColours(QLabel& label, bool highlighted) {
  QPalette palette = label.palette();
  palette.setColor(QPalette::WindowText,
                   highlighted ? label.palette().color(QPalette::HighlightedText) : Qt::black);
  label.setPalette(palette);
}

}  // namespace

TCheckMark::TCheckMark(QWidget* parent) : QWidget(parent) {}

void TCheckMark::Show(bool active, bool highlighted) {
  if (active == active_ && highlighted == highlighted_) return;
  active_ = active;
  highlighted_ = highlighted;
  update();
}

void TCheckMark::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  PaintCheckMark(painter, rect(), active_, highlighted_);
}

void TCheckMark::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) emit Clicked();
  event->ignore();  // the row area selects the row
}

void TCheckMark::mouseDoubleClickEvent(QMouseEvent* event) {
  // The second click of a quick double click toggles again, as a check box does.
  if (event->button() == Qt::LeftButton) emit Clicked();
}

TClickableLabel::TClickableLabel(QWidget* parent) : QLabel(parent) {
  SetLabelColours(*this, false);
}

void TClickableLabel::SetHighlighted(bool highlighted) {
  SetLabelColours(*this, highlighted);
}

void TClickableLabel::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setPen(palette().color(QPalette::WindowText));
  const QString shown = fontMetrics().elidedText(text(), Qt::ElideRight, width());
  painter.drawText(rect(), Qt::AlignLeft | Qt::AlignVCenter, shown);
}

TWebHighlight::TWebHighlight(QWidget* parent) : QWidget(parent) {
  setObjectName("WebHighlight");
  hide();
}

void TWebHighlight::paintEvent(QPaintEvent*) {
  QPainter(this).fillRect(rect(), palette().color(QPalette::Highlight));
}

TWebPage::TWebPage(QWidget* area)
    : QWidget(area),
      checkMark_(new TCheckMark(this)),
      name_(new TClickableLabel(this)),
      depth_(new TClickableLabel(this)) {
  name_->setObjectName("NameLabel");
  depth_->setObjectName("DepthLabel");
}

void TWebPage::Place(int top, const ColumnEdges& edges) {
  setGeometry(0, top, parentWidget()->width(), kRowPitch);
  checkMark_->setGeometry(1, 1, std::max(0, edges.First - 2), kRowPitch - 2);
  const QRect band = LabelBand(*name_);
  const int nameLeft = edges.First + kLabelInset;
  name_->setGeometry(nameLeft, band.top(), std::max(0, edges.Second - kLabelInset - nameLeft),
                     band.height());
  const int depthLeft = edges.Second + kLabelInset;
  depth_->setGeometry(depthLeft, band.top(), std::max(0, edges.Third - 1 - depthLeft),
                      band.height());
}

void TWebPage::Show(const TWebEntry& entry) {
  active_ = entry.Active;
  checkMark_->Show(active_, highlighted_);
  name_->setText(ToQString(entry.Name));
  name_->setToolTip(ToQString(entry.URL));
}

void TWebPage::SetHighlighted(bool highlighted) {
  highlighted_ = highlighted;
  checkMark_->Show(active_, highlighted);
  name_->SetHighlighted(highlighted);
  depth_->SetHighlighted(highlighted);
}

TWebList::TWebList(TBriefRecord& brief, QWidget* area)
    : QObject(area),
      brief_(brief),
      entries_(brief.WebList),
      area_(area),
      highlight_(new TWebHighlight(area)),
      editor_(new RowEditor(area)) {
  setObjectName("WebList");
  for (int index = 0; index < static_cast<int>(entries_.size()); ++index)
    rows_.push_back(CreateRow(index, Entry(index)));
  connect(editor_, &RowEditor::Finished, this, &TWebList::ApplyEdit);
  connect(editor_, &RowEditor::NextCellWanted, this, [this](int index) {
    if (index == selected_) BeginEdit(EditedCell::Depth);
  });
}

int TWebList::TotalHeight() const {
  return rows_.empty() ? 0 : (Count() - 1) * kRowPitch + kAreaBelowLastRow;
}

int TWebList::IndexAt(int y) const {
  if (y < 0) return 0;
  return std::min(y / kRowPitch, Count());
}

TWebPage* TWebList::CreateRow(int index, const TWebEntry& entry) {
  auto* row = new TWebPage(area_);
  row->Place(index * kRowPitch, edges_);
  row->Show(entry);
  row->DepthLabel()->setText(QString::number(entry.Depth));
  row->show();
  connect(row->CheckMark(), &TCheckMark::Clicked, this, [this, row] {
    const auto at = std::find(rows_.begin(), rows_.end(), row);
    if (at != rows_.end()) emit CheckMarkClicked(static_cast<int>(at - rows_.begin()));
  });
  return row;
}

void TWebList::PlaceRows(int from, int to) {
  for (int index = std::max(from, 0); index <= std::min(to, Count() - 1); ++index)
    Row(index).Place(index * kRowPitch, edges_);
  if (selected_ >= 0) highlight_->setGeometry(Row(selected_).geometry());
}

void TWebList::Reload() {
  const int selection = selected_;
  ClearSelection();
  for (TWebPage* row : rows_)
    delete row;
  rows_.clear();
  for (int index = 0; index < static_cast<int>(entries_.size()); ++index)
    rows_.push_back(CreateRow(index, Entry(index)));
  PlaceRows(0, Count() - 1);
  emit HeightChanged(TotalHeight());
  if (selection < Count()) Select(selection);
}

void TWebList::Insert(int index) {
  CommitEdit();
  const TWebEntry& entry = CreateNewWebEntry(brief_, static_cast<std::size_t>(index));
  rows_.insert(rows_.begin() + index, CreateRow(index, entry));
  if (selected_ >= index) ++selected_;
  PlaceRows(index, Count() - 1);
  emit HeightChanged(TotalHeight());
  emit SelectionChanged();
}

void TWebList::Delete(int index) {
  CommitEdit();
  int selection = selected_;
  if (selection == index) {
    ClearSelection();
  } else if (selection > index) {
    --selection;
  }
  delete rows_[static_cast<std::size_t>(index)];
  rows_.erase(rows_.begin() + index);
  entries_.erase(entries_.begin() + index);
  PlaceRows(index, Count() - 1);
  emit HeightChanged(TotalHeight());
  if (selection < 0 || rows_.empty()) {
    ClearSelection();
  } else {
    Select(std::min(selection, Count() - 1));
  }
}

void TWebList::Select(int index) {
  if (index < 0 || index >= Count()) return;
  CommitEdit();
  if (selected_ >= 0) Row(selected_).SetHighlighted(false);
  selected_ = index;
  Row(index).SetHighlighted(true);
  highlight_->setGeometry(Row(index).geometry());
  highlight_->show();
  highlight_->lower();
  emit SelectionChanged();
}

void TWebList::ClearSelection() {
  CommitEdit();
  if (selected_ >= 0) Row(selected_).SetHighlighted(false);
  selected_ = -1;
  highlight_->hide();
  emit SelectionChanged();
}

void TWebList::Reorder(const std::vector<std::size_t>& order) {
  CommitEdit();
  const int selection = selected_;
  if (selected_ >= 0) Row(selected_).SetHighlighted(false);
  selected_ = -1;
  gl::Reorder(entries_, order);
  gl::Reorder(rows_, order);
  PlaceRows(0, Count() - 1);
  if (selection >= 0) Select(selection);
}

void TWebList::Move(int from, int to) {
  CommitEdit();
  const auto rotate = [from, to](auto& items) {
    if (from < to) {
      std::rotate(items.begin() + from, items.begin() + from + 1, items.begin() + to + 1);
    } else {
      std::rotate(items.begin() + to, items.begin() + from, items.begin() + from + 1);
    }
  };
  rotate(entries_);
  rotate(rows_);
  if (selected_ >= 0) Row(selected_).SetHighlighted(false);
  selected_ = -1;
  PlaceRows(std::min(from, to), std::max(from, to));
  Select(to);
}

void TWebList::ShowEntry(int index) {
  Row(index).Show(Entry(index));
}

void TWebList::ShowDepth(int index) {
  const int depth = Entry(index).Depth;
  QLabel& label = *Row(index).DepthLabel();
  if (DecimalInRange(ToBytes(label.text()), depth, depth)) return;
  label.setText(QString::number(depth));
}

void TWebList::SetDepthText(int index, const QString& text) {
  Row(index).DepthLabel()->setText(text);
}

void TWebList::SetEdges(const ColumnEdges& edges) {
  edges_ = edges;
  PlaceRows(0, Count() - 1);
}

void TWebList::BeginEdit(EditedCell cell) {
  if (selected_ < 0) return;
  CommitEdit();
  const TWebPage& row = Row(selected_);
  const TClickableLabel& label = cell == EditedCell::Name ? *row.NameLabel() : *row.DepthLabel();
  const TWebEntry& entry = Entry(selected_);
  // An entry without a typed name starts with an empty name, as in its setup dialog.
  const QString text = cell == EditedCell::Name
                           ? (entry.NameSet ? ToQString(entry.Name) : QString())
                           : QString::number(entry.Depth);
  const QRect cellRect(row.x() + label.x() - 3, row.y() + 1, label.width() + 6, kRowPitch - 2);
  editor_->Open(selected_, cell, cellRect, text);
}

void TWebList::CommitEdit() {
  editor_->Commit();
}

bool TWebList::Editing() const {
  return editor_->IsOpen();
}

void TWebList::ApplyEdit(int index, EditedCell cell, const QString& text) {
  if (index >= Count()) return;
  TWebEntry& entry = Entry(index);
  if (cell == EditedCell::Name) {
    const std::string name = ToBytes(text);
    if (entry.NameSet ? name == entry.Name : name.empty()) return;
    SetTypedName(entry, name);
    ShowEntry(index);
  } else {
    const std::optional<int> depth = DecimalInRange(ToBytes(text), kMinDepth, kMaxDepth);
    if (!depth || *depth == entry.Depth) return;
    entry.Depth = *depth;
    ShowDepth(index);
  }
  emit EntryEdited(index);
}

}  // namespace gl
