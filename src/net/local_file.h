#pragma once

#include <string_view>

#include "core/memory_stream.h"

namespace gl {

// Serves a "file://" address from the local disk. A file with content is laid out like an
// answer: "HTTP/1.0 200", CR LF CR LF, the file's bytes and one zero byte, so whoever cuts the
// header off later never cuts into the file. A missing or empty file (or one that cannot be read)
// gives the file error page instead. True when the stream holds the file.
bool LoadLocalFile(std::string_view address, std::string_view display, MemoryStream& stream);

}  // namespace gl
