#include "net/local_file.h"

#include <filesystem>
#include <fstream>

#include "net/generated_pages.h"
#include "net/texts.h"
#include "platform/file_address.h"

namespace gl {

bool LoadLocalFile(std::string_view address, std::string_view display, MemoryStream& stream) {
  const std::filesystem::path path = PathFromFileAddress(address);
  std::error_code error;
  if (!std::filesystem::exists(path, error)) {
    WriteFileErrorPage(stream, display, FileError::NotFound);
    return false;
  }
  std::ifstream in(path, std::ios::binary);
  std::string& bytes = stream.Bytes();
  bytes.assign(texts::kStatusOk);
  bytes += "\r\n\r\n";
  const std::size_t headerSize = bytes.size();
  char block[65536];
  while (in) {
    in.read(block, sizeof block);
    bytes.append(block, static_cast<std::size_t>(in.gcount()));
  }
  if (in.bad() || bytes.size() == headerSize) {
    WriteFileErrorPage(stream, display, FileError::FailedToLoad);
    return false;
  }
  bytes += '\0';
  stream.Seek(bytes.size());
  return true;
}

}  // namespace gl
