#pragma once

#include <QDialog>

#include "core/brief_record.h"
#include "ui/dialog_layout.h"
#include "ui/filled_text.h"
#include "ui/prompter.h"

class QCheckBox;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QTabWidget;

// "Web Page Setup": edits one web entry of a brief window on three notebook pages, each with its
// own OK, Cancel, Apply and Help buttons. Opened read-only while the brief is being generated.
//
//   TWebProperties dialog(entry, !brief.Generating, prompter, mainWindow);
//   dialog.exec();
//   dialog.FinishEditing();  // whatever button closed it
//   ...save the brief, refresh the entry's row

namespace gl {

class TWebProperties : public QDialog {
  Q_OBJECT
 public:
  TWebProperties(TWebEntry& entry, bool editable, Prompter& prompter, QWidget* parent);

  // Enables the Apply buttons; every field's change ends here.
  void EditNameChange();
  // The password was typed in: the confirmation opens, then as EditNameChange.
  void PasswordChange();
  // Takes the fields into the entry; a typed password must equal its confirmation.
  void ApplyClick();
  // Applies and closes the dialog when the apply passed.
  void OKButtonClick();

  // After the dialog closed: an entry whose name was applied shows that name and counts as
  // named; an applied empty name makes the row show the address again ("New Page" without one).
  void FinishEditing();

 private:
  // Each page's builder returns its OK button, the page's default.
  QPushButton* BuildPropertiesPage();
  QPushButton* BuildRetrievalPage();
  QPushButton* BuildPasswordPage();
  EditButtons AddButtons(const DialogPage& page, const EditButtonNames& names, int helpContext);
  void Fill();
  void ConnectChanges();
  void SetApplyEnabled(bool enabled);

  TWebEntry& entry_;
  Prompter& prompter_;
  const bool editable_;
  bool applied_ = false;  // an apply took the fields into the entry
  bool applyOk_ = true;   // the last apply passed the password check

  QTabWidget* PropsNotebook = nullptr;
  QCheckBox* Active = nullptr;
  QLineEdit* EditName = nullptr;
  QLineEdit* EditURL = nullptr;
  QCheckBox* ImageToggle = nullptr;
  QCheckBox* LoadBinaries = nullptr;
  QSpinBox* DepthOfSearch = nullptr;
  QCheckBox* LocalOnly = nullptr;
  QLineEdit* UserName = nullptr;
  QLineEdit* Password = nullptr;
  QLineEdit* Confirm = nullptr;
  QPushButton* Apply = nullptr;
  QPushButton* RO_Apply = nullptr;
  QPushButton* PW_Apply = nullptr;

  FilledText nameText_;
  FilledText urlText_;
  FilledText userNameText_;
  FilledText passwordText_;
};

}  // namespace gl
