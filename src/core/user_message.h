#pragma once

#include <filesystem>
#include <string>
#include <system_error>

namespace gl {

// A message for the user: the caption of its box and one or two sentences, and, on a line of its
// own below them, the operating system's reason when there is one. Empty when there is nothing
// to say.
struct UserMessage {
  std::string Title;
  std::string Text;

  bool Empty() const { return Title.empty() && Text.empty(); }
};

// The operating system's reason for a failure on `path`: "/home/ann/news.brf: Permission denied".
std::string ReasonLine(const std::filesystem::path& path, std::error_code reason);

// The message as the command lines print it: "Title: Text", the reason on the next line.
std::string MessageForTerminal(const UserMessage& message);

// `message` with ReasonLine on the line below its text; unchanged when there is no reason.
UserMessage WithReason(UserMessage message, const std::filesystem::path& path,
                       std::error_code reason);

}  // namespace gl
