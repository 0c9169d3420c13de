#pragma once

#include <QString>
#include <filesystem>
#include <string>
#include <string_view>

// Every conversion between the core's byte strings and Qt's texts. Brief texts are bytes of no
// fixed encoding: well-formed UTF-8 is shown as such and anything else as Latin-1, so every byte
// shows as some character. What the user types is stored as UTF-8.

namespace gl {

QString ToQString(std::string_view bytes);
std::string ToBytes(const QString& text);

// File paths in the system's encoding of file names, as file dialogs show and return them.
QString PathToQString(const std::filesystem::path& path);
std::filesystem::path QStringToPath(const QString& text);

}  // namespace gl
