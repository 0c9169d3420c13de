#pragma once

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <string_view>
#include <vector>

#include "ui/qt_text.h"

class QCheckBox;
class QPushButton;
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

// The OK, Cancel, Apply and Help buttons of an editing page, with their object names; Apply
// starts disabled.
struct EditButtons {
  QPushButton* OK;
  QPushButton* Cancel;
  QPushButton* Apply;
  QPushButton* Help;
};
EditButtons AddEditButtons(const DialogPage& page, const char* okName, const char* cancelName,
                           const char* applyName, const char* helpName);

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

// A check box that spans the group's width.
QCheckBox* AddCheckBox(QFormLayout& group, std::string_view caption, const char* name);

// Enables or disables a field together with the label that names it.
void SetEnabledWithLabel(QWidget& field, bool enabled);

}  // namespace gl
