#pragma once

#include <string>

namespace gl {

// A message for the user: the caption of its box and one or two sentences. Empty when there is
// nothing to say.
struct UserMessage {
  std::string Title;
  std::string Text;

  bool Empty() const { return Title.empty() && Text.empty(); }
};

}  // namespace gl
