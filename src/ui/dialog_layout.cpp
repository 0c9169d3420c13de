#include "ui/dialog_layout.h"

#include <QCheckBox>
#include <QDialog>
#include <QGroupBox>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>

#include "ui/dialog_texts.h"
#include "ui/help.h"

namespace gl {

DialogPage AddDialogPage(QTabWidget& notebook, std::string_view caption) {
  auto* page = new QWidget;
  auto* layout = new QVBoxLayout(page);
  auto* body = new QVBoxLayout;
  layout->addLayout(body);
  layout->addStretch();
  auto* buttons = new QDialogButtonBox;
  layout->addWidget(buttons);
  notebook.addTab(page, ToQString(caption));
  return {body, buttons};
}

QPushButton* AddPageButton(const DialogPage& page, std::string_view caption, const char* name,
                           QDialogButtonBox::ButtonRole role) {
  auto* button = new QPushButton(ToQString(caption));
  button->setObjectName(name);
  page.Buttons->addButton(button, role);
  return button;
}

EditButtons AddEditButtons(const DialogPage& page, const EditButtonNames& names, QDialog& dialog,
                           const std::function<void()>& onOK, const std::function<void()>& onApply,
                           int helpContext) {
  QPushButton* ok = AddPageButton(page, texts::kOK, names.OK, QDialogButtonBox::AcceptRole);
  QPushButton* cancel =
      AddPageButton(page, texts::kCancel, names.Cancel, QDialogButtonBox::RejectRole);
  QPushButton* apply = AddPageButton(page, texts::kApply, names.Apply, QDialogButtonBox::ApplyRole);
  QPushButton* help = AddPageButton(page, texts::kHelp, names.Help, QDialogButtonBox::HelpRole);
  apply->setEnabled(false);
  QObject::connect(ok, &QPushButton::clicked, &dialog, onOK);
  QObject::connect(cancel, &QPushButton::clicked, &dialog, &QDialog::reject);
  QObject::connect(apply, &QPushButton::clicked, &dialog, onApply);
  QObject::connect(help, &QPushButton::clicked, &dialog, [helpContext] { ShowHelp(helpContext); });
  return {ok, apply};
}

void FollowPageDefaults(QTabWidget& notebook, std::vector<QPushButton*> defaults) {
  const auto follow = [defaults](int page) {
    if (page >= 0 && page < static_cast<int>(defaults.size())) defaults[page]->setDefault(true);
  };
  QObject::connect(&notebook, &QTabWidget::currentChanged, &notebook, follow);
  follow(notebook.currentIndex());
}

QFormLayout& AddGroup(QVBoxLayout& into, std::string_view caption) {
  auto* group = new QGroupBox(ToQString(caption));
  auto* form = new QFormLayout(group);
  into.addWidget(group);
  return *form;
}

QSpinBox* AddNumberField(QFormLayout& group, std::string_view caption, const char* name, int low,
                         int high) {
  auto* field = AddLabelledField<QSpinBox>(group, caption, name);
  field->setRange(low, high);
  field->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
  return field;
}

QCheckBox* AddCheckBox(QFormLayout& group, std::string_view caption, const char* name) {
  auto* box = new QCheckBox(ToQString(caption));
  box->setObjectName(name);
  group.addRow(box);
  return box;
}

void SetEnabledWithLabel(QWidget& field, bool enabled) {
  field.setEnabled(enabled);
  if (QWidget* holder = field.parentWidget()) {
    for (QLabel* label : holder->findChildren<QLabel*>()) {
      if (label->buddy() == &field) label->setEnabled(enabled);
    }
  }
}

}  // namespace gl
