#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace gl {

// A growable in-memory byte buffer with a position, the form in which every fetched answer,
// generated page and page copy travels. Writing at the position overwrites and extends; reading
// consumes from the position. In-place edits (blanking a tag) go through Bytes().
class MemoryStream {
 public:
  MemoryStream() = default;
  explicit MemoryStream(std::string bytes) : bytes_(std::move(bytes)) {}

  std::string_view View() const { return bytes_; }
  std::string& Bytes() { return bytes_; }
  const std::string& Bytes() const { return bytes_; }
  std::size_t Size() const { return bytes_.size(); }

  std::size_t Position() const { return position_; }
  // Positions past the end are clamped to the end.
  void Seek(std::size_t position);

  // Writes at the position, overwriting what is there and growing the buffer as needed.
  void Write(std::string_view data);
  // Copies up to `count` bytes from the position into `out`; returns how many were copied.
  std::size_t Read(char* out, std::size_t count);

  // Empties the stream and moves the position to 0.
  void Clear();

 private:
  std::string bytes_;
  std::size_t position_ = 0;
};

}  // namespace gl
