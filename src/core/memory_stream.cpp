#include "core/memory_stream.h"

#include <algorithm>
#include <cstring>

namespace gl {

void MemoryStream::Seek(std::size_t position) {
  position_ = std::min(position, bytes_.size());
}

// Bytes() lets a caller shorten the buffer under the position; reading and writing first bring
// the position back to the end, so neither can touch memory past it.
void MemoryStream::Write(std::string_view data) {
  position_ = std::min(position_, bytes_.size());
  const std::size_t overlap = std::min(data.size(), bytes_.size() - position_);
  bytes_.replace(position_, overlap, data);
  position_ += data.size();
}

std::size_t MemoryStream::Read(char* out, std::size_t count) {
  position_ = std::min(position_, bytes_.size());
  const std::size_t n = std::min(count, bytes_.size() - position_);
  if (n > 0) std::memcpy(out, bytes_.data() + position_, n);
  position_ += n;
  return n;
}

void MemoryStream::Clear() {
  bytes_.clear();
  position_ = 0;
}

}  // namespace gl
