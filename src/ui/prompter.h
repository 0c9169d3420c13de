#pragma once

#include <string_view>

// The questions and messages of the desktop program go through a prompter, so that tests can
// answer them. The program's prompter shows the message dialogs; a test's records what was
// asked and answers as told.

namespace gl {

class Prompter {
 public:
  virtual ~Prompter() = default;

  // A Yes/No question with its caption; true for Yes.
  virtual bool AskYesNo(std::string_view title, std::string_view text) = 0;

  // A message with one OK button, such as a loading or saving error.
  virtual void ShowError(std::string_view title, std::string_view text) = 0;
};

}  // namespace gl
