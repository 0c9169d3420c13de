#include "ui/progress_window.h"

#include <QCloseEvent>
#include <QFontMetrics>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "generate/run_handle.h"
#include "platform/cancellation.h"
#include "ui/prompter.h"
#include "ui/qt_text.h"
#include "ui/shell_texts.h"

namespace gl {
namespace {

namespace st = shell_texts;

// A fitted text ends this far before the window's right edge.
constexpr int kRightMargin = 30;
// The window is as wide as this many average characters; long addresses are cut to fit it.
constexpr int kWidthInCharacters = 80;

bool EndsLine(QChar c) {
  return c == '\t' || c == '\r' || c == '\n';
}

// A label whose text never widens the window: the window's width decides how much it shows.
QLabel* ItemLabel(const char* name) {
  auto* label = new QLabel;
  label->setObjectName(name);
  label->setTextFormat(Qt::PlainText);
  label->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
  return label;
}

}  // namespace

QString FitItemText(const QString& text, const QFontMetrics& metrics, int room) {
  qsizetype start = 0;
  while (start < text.size() && (text[start] == ' ' || EndsLine(text[start])))
    ++start;
  qsizetype end = start;
  while (end < text.size() && !EndsLine(text[end]))
    ++end;
  const QString line = text.mid(start, end - start);
  if (metrics.horizontalAdvance(line) < room) return line;

  // Dropping one character at a time stops at the longest start of the line that fits with
  // "..." after it. Widths grow with the length, so a binary search finds the same place without
  // measuring every shorter text of a long address.
  const QString dots = QStringLiteral("...");
  qsizetype fits = 0;
  qsizetype tooLong = line.size();
  while (tooLong - fits > 1) {
    const qsizetype middle = fits + (tooLong - fits) / 2;
    if (metrics.horizontalAdvance(line.left(middle) + dots) < room) {
      fits = middle;
    } else {
      tooLong = middle;
    }
  }
  if (fits > 0 && line[fits - 1].isHighSurrogate()) --fits;  // never half a character
  return line.left(fits) + dots;
}

TBriefProcessing::TBriefProcessing(std::shared_ptr<RunHandle> run, Prompter& prompter,
                                   QWidget* mainWindow)
    : QWidget(mainWindow, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      run_(std::move(run)),
      prompter_(prompter),
      mainWindow_(mainWindow) {
  setObjectName("BriefProcessing");
  setWindowTitle(QStringLiteral("Creating Brief"));

  auto* items = new QFormLayout;
  BriefName = ItemLabel("BriefName");
  CurrEntry = ItemLabel("CurrEntry");
  CurrAddr = ItemLabel("CurrAddr");
  items->addRow(QStringLiteral("Processing Brief:"), BriefName);
  items->addRow(QStringLiteral("Current Entry:"), CurrEntry);
  items->addRow(QStringLiteral("Current Page:"), CurrAddr);

  auto* group = new QGroupBox(QStringLiteral("Progress"));
  auto* counters = new QGridLayout(group);
  PagesLoaded = ItemLabel("PagesLoaded");
  BytesLoaded = ItemLabel("BytesLoaded");
  CurrDepth = ItemLabel("CurrDepth");
  ImagesLoaded = ItemLabel("ImagesLoaded");
  const struct {
    const char* caption;
    QLabel* value;
  } cells[] = {{"Pages Loaded:", PagesLoaded},
               {"KB Loaded:", BytesLoaded},
               {"Current Depth:", CurrDepth},
               {"Images Loaded:", ImagesLoaded}};
  for (int i = 0; i < 4; ++i) {
    counters->addWidget(new QLabel(cells[i].caption), i / 2, (i % 2) * 2);
    counters->addWidget(cells[i].value, i / 2, (i % 2) * 2 + 1);
  }
  counters->setColumnStretch(1, 1);
  counters->setColumnStretch(3, 1);

  ProgressBar1 = new QProgressBar;
  ProgressBar1->setObjectName("ProgressBar1");
  ProgressBar1->setRange(0, 100);
  ProgressBar1->setValue(0);

  Abort = new QPushButton(QStringLiteral("&Abort"));
  Abort->setObjectName("Abort");
  Skip = new QPushButton(QStringLiteral("&Skip"));
  Skip->setObjectName("Skip");
  connect(Abort, &QPushButton::clicked, this, &TBriefProcessing::AbortClick);
  connect(Skip, &QPushButton::clicked, this, &TBriefProcessing::SkipClick);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(Abort);
  buttons->addWidget(Skip);
  buttons->addStretch();

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(items);
  layout->addWidget(group);
  layout->addWidget(ProgressBar1);
  layout->addLayout(buttons);
  setFixedSize(fontMetrics().averageCharWidth() * kWidthInCharacters, sizeHint().height());
  // The labels have their places before the first text is fitted to them.
  layout->activate();
}

QLabel* TBriefProcessing::LabelOf(ProgressItem item) const {
  switch (item) {
    case ProgressItem::BriefName:
      return BriefName;
    case ProgressItem::CurrEntry:
      return CurrEntry;
    case ProgressItem::CurrAddr:
      return CurrAddr;
    case ProgressItem::CurrDepth:
      return CurrDepth;
    case ProgressItem::PagesLoaded:
      return PagesLoaded;
    case ProgressItem::ImagesLoaded:
      return ImagesLoaded;
    case ProgressItem::BytesLoaded:
      break;
  }
  return BytesLoaded;
}

void TBriefProcessing::UpdateItem(ProgressItem item, const std::string& text) {
  QLabel* label = LabelOf(item);
  const int left = label->mapTo(this, QPoint(0, 0)).x();
  label->setText(FitItemText(ToQString(text), fontMetrics(), width() - kRightMargin - left));
  label->repaint();
}

void TBriefProcessing::UpdateProgress(int percent) {
  ProgressBar1->setValue(percent);
}

bool TBriefProcessing::Confirm(const char* title, const char* text) {
  const QPointer<TBriefProcessing> self(this);
  const bool yes = prompter_.AskYesNo(title, text);
  return yes && self && !self->freed_;
}

void TBriefProcessing::AbortClick() {
  if (!Confirm(st::kStopBriefTitle, st::kStopBriefText)) return;
  run_->RequestStop();
  if (StopRequested()) DisableButtons();
}

void TBriefProcessing::SkipClick() {
  if (!Confirm(st::kSkipEntryTitle, st::kSkipEntryText)) return;
  RequestSkip();
  if (SkipRequested()) DisableButtons();
}

void TBriefProcessing::DisableButtons() {
  Abort->setEnabled(false);
  Skip->setEnabled(false);
}

void TBriefProcessing::Free() {
  freed_ = true;
  hide();
  deleteLater();
}

void TBriefProcessing::showEvent(QShowEvent* event) {
  if (mainWindow_ != nullptr)
    move(mainWindow_->geometry().center() - QPoint(width() / 2, height() / 2));
  QWidget::showEvent(event);
}

void TBriefProcessing::closeEvent(QCloseEvent* event) {
  event->ignore();
}

}  // namespace gl
