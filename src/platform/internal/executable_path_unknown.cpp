#include "platform/internal/executable_path.h"

// Systems that do not tell a process where its file is (OpenBSD among them): the program looks
// for its images in the folder it was started from.

namespace gl {

std::filesystem::path ExecutablePath() {
  return {};
}

}  // namespace gl
