#include <CLI/CLI.hpp>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "cli/cli.h"
#include "cli/command.h"
#include "cli/command_support.h"
#include "cli/terminal_text.h"
#include "core/bookmark_reader.h"

namespace gl::cli {
namespace {

// The file argument both commands take.
void AddBookmarkFile(CLI::App& command, std::string& file) {
  command.add_option("BOOKMARKS", file, "A browser's bookmark file (bookmarks.html)")->required();
}

std::optional<TBookmarkTree> LoadBookmarkTree(const std::string& file, CommandIo& io) {
  BookmarkLoadResult result = LoadBookmarks(file);
  if (result.Loaded) return std::move(result.Tree);
  PrintMessage(result.Message, io.err);
  return std::nullopt;
}

// Appends the entries in their order under the brief's lock and saves once; with none, only checks
// that the brief loads.
int AppendEntries(const std::string& briefFile, const std::vector<TWebEntry>& entries,
                  CommandIo& io) {
  if (entries.empty()) return LoadBrief(briefFile, io) ? kExitDone : kExitFailed;
  return ChangeBrief(briefFile, io, [&](TBriefDocument& document) {
    std::vector<TWebEntry>& list = document.Brief.WebList;
    list.insert(list.end(), entries.begin(), entries.end());
    return kExitDone;
  });
}

struct ListArgs {
  std::string file;
};

// The caption, then one line per item as an expanded tree shows it, two blanks deeper per
// level: a folder's caption in brackets, a link's caption and address. Captions hold no double
// blanks and addresses no blanks, so the two blanks between them separate them.
int RunList(ListArgs& args, CommandIo& io) {
  const std::optional<TBookmarkTree> tree = LoadBookmarkTree(args.file, io);
  if (!tree) return kExitFailed;
  io.out << TerminalText(tree->Caption) << '\n';
  for (const TBookmarkRow& row : TreeRows(*tree)) {
    const TBookmark& item = tree->Items[row.Index];
    io.out << std::string(2 * row.Level, ' ');
    if (item.IsFolder())
      io.out << '[' << TerminalText(item.Caption) << "]\n";
    else
      io.out << TerminalText(item.Caption) << "  " << TerminalText(item.URL) << '\n';
  }
  return kExitDone;
}

struct ImportArgs {
  std::string bookmarks;
  std::string brief;
  std::optional<std::string> folder;
};

int RunImport(ImportArgs& args, CommandIo& io) {
  const std::optional<TBookmarkTree> tree = LoadBookmarkTree(args.bookmarks, io);
  if (!tree) return kExitFailed;
  std::size_t under = TBookmark::kTopLevel;
  if (args.folder) {
    const std::optional<std::size_t> folder = FindFolder(*tree, *args.folder);
    if (!folder) {
      io.err << "There is no folder \"" << TerminalText(*args.folder) << "\" in " << args.bookmarks
             << ".\n";
      return kExitFailed;
    }
    under = *folder;
  }
  std::vector<TWebEntry> entries;
  for (const std::size_t link : LinksUnder(*tree, under))
    entries.push_back(BookmarkEntry(tree->Items[link]));
  const int code = AppendEntries(args.brief, entries, io);
  if (code != kExitDone) return code;
  io.out << "Added " << entries.size() << (entries.size() == 1 ? " web entry" : " web entries")
         << " to " << args.brief << ".\n";
  return kExitDone;
}

}  // namespace

void RegisterBookmarkCommands(CLI::App& app, CommandAction& action) {
  {
    auto args = std::make_shared<ListArgs>();
    CLI::App* command = app.add_subcommand(
        "bookmarks", "List a bookmark file's folders and links as an indented tree");
    AddBookmarkFile(*command, args->file);
    command->footer(
        "Folders show in [brackets]; a link shows its caption, two blanks and its address.\n"
        "Exit codes: 0 listed, 1 failed (not a bookmark file), 2 usage.");
    OnParsed(*command, action, args, &RunList);
  }
  {
    auto args = std::make_shared<ImportArgs>();
    CLI::App* command = app.add_subcommand(
        "import-bookmarks", "Add the links of a bookmark file to a brief as new web entries");
    AddBookmarkFile(*command, args->bookmarks);
    AddBriefFile(*command, args->brief);
    command->add_option("--folder", args->folder,
                        "Only the links in the first folder of this caption and its folders");
    command->footer(
        "Each link becomes an entry named after its caption, depth 1, without images or other\n"
        "files, staying on its site; they are added in file order at the end of the brief.\n"
        "Exit codes: 0 added, 1 failed (a file not loaded or saved, no such folder), 2 usage.");
    OnParsed(*command, action, args, &RunImport);
  }
}

}  // namespace gl::cli
