#pragma once

#include <QIcon>
#include <filesystem>

// Icons of the main window's commands: the desktop theme's icon of that name where the theme has
// one, else a drawing of our own, so the tool bar is complete on every desktop.

namespace gl {

// `name` is a freedesktop icon name: "document-new", "document-open", "document-save-as",
// "media-playback-start", "web-browser", "document-properties", "edit-cut", "edit-copy",
// "edit-paste", "list-add", "list-remove", "view-sort-ascending", "x-office-document",
// "document-print", "folder", "text-html".
QIcon ToolIcon(const char* name);

// The program's own icon: the installed theme's "gleaner-light", else the pictures in the program
// folder's icons/hicolor/<size>/apps/.
QIcon ProgramIcon(const std::filesystem::path& programFolder);

}  // namespace gl
