#pragma once

#include <filesystem>
#include <string_view>
#include <system_error>

namespace gl {

// Who may read a file written by WriteFileAtomically.
enum class FileAccess {
  Shared,  // as the process's umask allows, or the mode of the file being replaced
  Private  // the owner only (the file holds a password)
};

// Replaces `path` with `bytes` so that readers see either the old file or the new one, never a
// part: the bytes go to a new file beside it under a name no other writer picks, are flushed to
// disk, and the new file is renamed over the old one. A symbolic link is followed, so the file it
// points at is replaced. On any failure the old file is left as it was, the temporary file is
// removed, the result is false and `error` (when given) holds the system's reason.
[[nodiscard]] bool WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes,
                                       FileAccess access = FileAccess::Shared,
                                       std::error_code* error = nullptr);

// Removes the temporary files that writes of `path` left behind when they were killed before
// their rename. Only for a caller that holds the file's lock, so that no write of `path` is under
// way: its temporary file would be taken from under it.
void RemoveLeftoverTemporaries(const std::filesystem::path& path);

// Writes all of `bytes` to the descriptor, going on after short writes and interruptions.
// False on the first failed write, with errno telling why.
[[nodiscard]] bool WriteAll(int fd, std::string_view bytes);

}  // namespace gl
