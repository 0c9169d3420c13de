#pragma once

#include <QLineEdit>
#include <QTest>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "ui/prompter.h"

namespace gl::test {

// Records every question and message by its title and answers questions as told.
class RecordingPrompter : public Prompter {
 public:
  bool AskYesNo(std::string_view title, std::string_view) override {
    titles.emplace_back(title);
    return answer;
  }
  void ShowError(std::string_view title, std::string_view) override { titles.emplace_back(title); }

  bool answer = true;
  std::vector<std::string> titles;
};

// The dialog's control of that object name; a missing one fails the test.
template <class Control>
Control& Find(QWidget& dialog, const char* name) {
  auto* control = dialog.findChild<Control*>(name);
  if (control == nullptr) throw std::runtime_error(std::string("no control ") + name);
  return *control;
}

// Replaces the field's text by typing, as a user does (an empty text by deleting).
inline void Type(QWidget& dialog, const char* field, const char* text) {
  QLineEdit& edit = Find<QLineEdit>(dialog, field);
  edit.selectAll();
  if (*text == '\0') QTest::keyClick(&edit, Qt::Key_Backspace);
  QTest::keyClicks(&edit, text);
}

}  // namespace gl::test
