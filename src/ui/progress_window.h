#pragma once

#include <QWidget>
#include <memory>
#include <string>

#include "generate/run_host.h"

class QFontMetrics;
class QLabel;
class QProgressBar;
class QPushButton;

// TBriefProcessing, the "Creating Brief" window of a run: what is being loaded, the counters, the
// current transfer's progress, and the Abort and Skip buttons. It is shown over the main window
// without being modal, and the user cannot close it: it lives as long as the run wants it.

namespace gl {

class Prompter;
class RunHandle;

// An item's text as the window shows it: from its first character that is not a blank, tab, CR
// or LF up to the next tab, CR or LF; then, while it is not narrower than `room` pixels in
// `metrics`, one character less from its end with "..." after it.
QString FitItemText(const QString& text, const QFontMetrics& metrics, int room);

class TBriefProcessing : public QWidget {
  Q_OBJECT
 public:
  // `mainWindow` is the window it is centred over; Abort stops `run`.
  TBriefProcessing(std::shared_ptr<RunHandle> run, Prompter& prompter, QWidget* mainWindow);

  // Shows `text` in the item's label, fitted so that it ends 30 pixels before the window's right
  // edge.
  void UpdateItem(ProgressItem item, const std::string& text);
  void UpdateProgress(int percent);

  // Ask "Stop Brief?" and "Skip Entry?"; on Yes they set the request, which also ends a waiting
  // transfer at once, and disable both buttons.
  void AbortClick();
  void SkipClick();
  void DisableButtons();

  // The run is done with the window: a question still open answers into nothing, and the window
  // goes once the event loop has it back.
  void Free();

 protected:
  // Centres the window over the main window.
  void showEvent(QShowEvent* event) override;
  // Refuses: the run decides when the window goes.
  void closeEvent(QCloseEvent* event) override;

 private:
  QLabel* LabelOf(ProgressItem item) const;
  // Asks the question; true for Yes while the window is still the run's.
  bool Confirm(const char* title, const char* text);

  std::shared_ptr<RunHandle> run_;
  Prompter& prompter_;
  QWidget* mainWindow_;
  bool freed_ = false;

  QLabel* BriefName;
  QLabel* CurrEntry;
  QLabel* CurrAddr;
  QLabel* PagesLoaded;
  QLabel* BytesLoaded;
  QLabel* CurrDepth;
  QLabel* ImagesLoaded;
  QProgressBar* ProgressBar1;
  QPushButton* Abort;
  QPushButton* Skip;
};

}  // namespace gl
