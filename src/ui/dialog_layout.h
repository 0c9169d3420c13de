#pragma once

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <functional>
#include <string_view>
#include <vector>

#include "ui/qt_text.h"

class QCheckBox;
class QDialog;
class QPushButton;
class QSpinBox;
class QTabWidget;
class QVBoxLayout;

// Building blocks of the setup dialogs: notebook pages that carry their own button row, captioned
// groups of labelled fields, and the rule that a disabled field greys out its label too.

namespace gl {

struct DialogPage {
  QVBoxLayout* Body;          // the page's groups, top to bottom
  QDialogButtonBox* Buttons;  // the page's own buttons, in the desktop's order
};

DialogPage AddDialogPage(QTabWidget& notebook, std::string_view caption);

QPushButton* AddPageButton(const DialogPage& page, std::string_view caption, const char* name,
                           QDialogButtonBox::ButtonRole role);

// The OK, Cancel, Apply and Help buttons of an editing page, by their object names. OK and Apply
// run the dialog's handlers, Cancel rejects the dialog, Help opens the help pages at the page's
// context; Apply starts disabled.
struct EditButtonNames {
  const char* OK;
  const char* Cancel;
  const char* Apply;
  const char* Help;
};
struct EditButtons {
  QPushButton* OK;
  QPushButton* Apply;
};
EditButtons AddEditButtons(const DialogPage& page, const EditButtonNames& names, QDialog& dialog,
                           const std::function<void()>& onOK, const std::function<void()>& onApply,
                           int helpContext);

// Enter presses the default button of the page shown (one per page, in page order).
void FollowPageDefaults(QTabWidget& notebook, std::vector<QPushButton*> defaults);

// A captioned group box at the end of `into`, holding labelled fields.
QFormLayout& AddGroup(QVBoxLayout& into, std::string_view caption);

// A field with its label (whose mnemonic focuses the field), named `name`.
template <class Field>
Field* AddLabelledField(QFormLayout& group, std::string_view caption, const char* name) {
  auto* field = new Field;
  field->setObjectName(name);
  auto* label = new QLabel(ToQString(caption));
  label->setBuddy(field);
  group.addRow(label, field);
  return field;
}

// A labelled spin box for whole numbers from `low` to `high`, as wide as its numbers need.
QSpinBox* AddNumberField(QFormLayout& group, std::string_view caption, const char* name, int low,
                         int high);

// A check box that spans the group's width.
QCheckBox* AddCheckBox(QFormLayout& group, std::string_view caption, const char* name);

// Enables or disables a field together with the label that names it.
void SetEnabledWithLabel(QWidget& field, bool enabled);

}  // namespace gl
