#pragma once

#include <filesystem>

// Where the running program's file is, as the system tells it: one source per system, which CMake
// picks by the system's name.

namespace gl {

// The absolute path of the running executable; empty when the system does not say.
std::filesystem::path ExecutablePath();

}  // namespace gl
