#include "core/memory_stream.h"

#include <algorithm>
#include <cstring>

namespace gl {

void MemoryStream::Seek(std::size_t position) {
  position_ = std::min(position, bytes_.size());
}

void MemoryStream::Write(std::string_view data) {
  const std::size_t overlap = std::min(data.size(), bytes_.size() - position_);
  bytes_.replace(position_, overlap, data);
  position_ += data.size();
}

std::size_t MemoryStream::Read(char* out, std::size_t count) {
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
