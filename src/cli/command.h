#pragma once

#include <functional>
#include <iosfwd>

namespace CLI {
class App;
}

namespace gl::cli {

// What a command can reach while it runs.
struct CommandIo {
  std::ostream& out;
  std::ostream& err;
};

// Each group of commands registers its subcommands on the app. A subcommand's parse callback
// stores the work to do in `action`; RunGleaner runs it after parsing and returns its exit code.
using CommandAction = std::function<int(CommandIo&)>;

}  // namespace gl::cli

namespace gl::cli {

// new, show, add, edit-entry, remove, edit: the commands that read and change brief files.
void RegisterBriefCommands(CLI::App& app, CommandAction& action);

// settings: prints the program settings or sets one.
void RegisterSettingsCommand(CLI::App& app, CommandAction& action);

// fetch: fetches one page or file the way a run does and prints the answer.
void RegisterFetchCommand(CLI::App& app, CommandAction& action);

// generate, archives, delete-archive: generation runs and the archived runs they leave.
void RegisterGenerateCommands(CLI::App& app, CommandAction& action);

// bookmarks, import-bookmarks: lists a browser's bookmark file and adds its links to a brief.
void RegisterBookmarkCommands(CLI::App& app, CommandAction& action);

}  // namespace gl::cli
