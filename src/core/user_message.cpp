#include "core/user_message.h"

namespace gl {

std::string ReasonLine(const std::filesystem::path& path, std::error_code reason) {
  return path.string() + ": " + reason.message();
}

std::string MessageForTerminal(const UserMessage& message) {
  return message.Title + ": " + message.Text;
}

UserMessage WithReason(UserMessage message, const std::filesystem::path& path,
                       std::error_code reason) {
  if (reason) message.Text += "\n" + ReasonLine(path, reason);
  return message;
}

}  // namespace gl
