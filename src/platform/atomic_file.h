#pragma once

#include <filesystem>
#include <string_view>

namespace gl {

// Who may read a file written by WriteFileAtomically.
enum class FileAccess {
  Shared,  // as the process's umask allows, or the mode of the file being replaced
  Private  // the owner only (the settings file holds a password)
};

// Replaces `path` with `bytes` so that readers see either the old file or the new one, never a
// part: the bytes go to a new file beside it, are flushed to disk, and the new file is renamed
// over the old one. A symbolic link is followed, so the file it points at is replaced. On any
// failure the old file is left as it was, the temporary file is removed, and the result is false.
[[nodiscard]] bool WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes,
                                       FileAccess access = FileAccess::Shared);

// Writes all of `bytes` to the descriptor, going on after short writes and interruptions.
// False on the first failed write.
[[nodiscard]] bool WriteAll(int fd, std::string_view bytes);

}  // namespace gl
