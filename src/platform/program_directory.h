#pragma once

#include <filesystem>

namespace gl {

// The folder that holds the program's images/, briefs/ and help/: the executable's own folder in
// the build tree, <prefix>/share/gleaner-light/ once installed. The result ends without a slash.
std::filesystem::path ProgramDirectory();

}  // namespace gl
