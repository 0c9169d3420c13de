#include "ui/dialog_layout.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "ui/dialog_texts.h"

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

EditButtons AddEditButtons(const DialogPage& page, const char* okName, const char* cancelName,
                           const char* applyName, const char* helpName) {
  EditButtons buttons{
      AddPageButton(page, texts::kOK, okName, QDialogButtonBox::AcceptRole),
      AddPageButton(page, texts::kCancel, cancelName, QDialogButtonBox::RejectRole),
      AddPageButton(page, texts::kApply, applyName, QDialogButtonBox::ApplyRole),
      AddPageButton(page, texts::kHelp, helpName, QDialogButtonBox::HelpRole),
  };
  buttons.Apply->setEnabled(false);
  return buttons;
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
