#pragma once

#include <QDialog>
#include <string>
#include <string_view>

#include "ui/browse_function.h"
#include "ui/prompter.h"

// The program's small message windows: an icon at the left, one or two sentences, and a row of
// buttons. Each is modal and centred over the window given as its parent.

namespace gl {

// A message with one "&OK" button and the system's critical icon; the title is the caption.
class TErrorDlg : public QDialog {
  Q_OBJECT
 public:
  TErrorDlg(std::string_view title, std::string_view text, QWidget* parent);
};

// A Yes/No question ("&Yes", "&No"); exec() gives Accepted for Yes.
class TErrorCheckDlg : public QDialog {
  Q_OBJECT
 public:
  TErrorCheckDlg(std::string_view title, std::string_view text, QWidget* parent);
};

// "Brief Ready": offers to show a finished run's summary page. Yes shows `summaryAddress` in the
// browser and closes the dialog; No closes it.
class TBtnRightDlg : public QDialog {
  Q_OBJECT
 public:
  TBtnRightDlg(std::string_view briefName, std::string summaryAddress, BrowseFunction browse,
               QWidget* parent);

  void OKBtnClick();

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  std::string summaryAddress_;
  BrowseFunction browse_;
};

// The program's prompter: shows TErrorCheckDlg and TErrorDlg centred over `parent`.
class DialogPrompter : public Prompter {
 public:
  explicit DialogPrompter(QWidget* parent) : parent_(parent) {}

  bool AskYesNo(std::string_view title, std::string_view text) override;
  void ShowError(std::string_view title, std::string_view text) override;

 private:
  QWidget* parent_;
};

}  // namespace gl
