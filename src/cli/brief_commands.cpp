#include <CLI/CLI.hpp>
#include <cerrno>
#include <cstdio>
#include <memory>
#include <optional>
#include <ostream>
#include <string>

#include "cli/brief_json.h"
#include "cli/cli.h"
#include "cli/command.h"
#include "cli/command_support.h"
#include "cli/terminal_text.h"
#include "core/brief_file.h"
#include "core/texts.h"
#include "core/utf8_text.h"
#include "generate/archived_runs.h"
#include "net/fetch.h"

namespace gl::cli {
namespace {

// Validator for brief names given on the command line: no longer than the brief setup dialog
// lets a user type.
const CLI::Validator kBriefName(
    [](std::string& name) {
      return CharacterCount(name) > kMaxBriefNameCharacters
                 ? std::string("A brief name holds at most 60 characters.")
                 : std::string();
    },
    "TEXT (at most 60 characters)");

// The options that `add` and `edit-entry` share. A flag pair such as --images/--no-images leaves
// the field unchanged when neither is given.
struct EntryOptions {
  std::optional<std::string> name;
  std::optional<int> depth;
  std::optional<std::string> userName;
  std::optional<std::string> password;
  CLI::Option* images = nullptr;
  CLI::Option* noImages = nullptr;
  CLI::Option* otherFiles = nullptr;
  CLI::Option* noOtherFiles = nullptr;
  CLI::Option* noStayLocal = nullptr;  // --follow-external
  CLI::Option* stayLocal = nullptr;
  CLI::Option* active = nullptr;
  CLI::Option* inactive = nullptr;
};

// A flag that takes no value. (The description goes in as a std::string: string literals make
// CLI11's overloads ambiguous.)
CLI::Option* Flag(CLI::App& command, const std::string& name, const std::string& description) {
  return command.add_flag(name, description);
}

void AddEntryOptions(CLI::App& command, EntryOptions& options, bool withNegations) {
  command
      .add_option("--name", options.name,
                  "The name shown for the entry; empty shows its address instead")
      ->check(kStoredText);
  command.add_option("--depth", options.depth, "Spider depth")
      ->check(CLI::Range(kMinDepth, kMaxDepth));
  command.add_option("--user", options.userName, "User name for Basic authentication")
      ->check(kStoredText);
  command.add_option("--password", options.password, "Password for Basic authentication")
      ->check(kStoredText);
  options.images = Flag(command, "--images", "Fetch images and plug-ins");
  options.otherFiles = Flag(command, "--other-files", "Fetch other linked files");
  options.noStayLocal = Flag(command, "--follow-external", "Follow links to other sites");
  options.inactive = Flag(command, "--inactive", "Leave the entry out of generation");
  if (!withNegations) return;
  options.noImages = Flag(command, "--no-images", "Do not fetch images")->excludes(options.images);
  options.noOtherFiles =
      Flag(command, "--no-other-files", "Do not fetch other files")->excludes(options.otherFiles);
  options.stayLocal = Flag(command, "--stay-local", "Do not follow links to other sites")
                          ->excludes(options.noStayLocal);
  options.active = Flag(command, "--active", "Generate the entry")->excludes(options.inactive);
}

bool Given(const CLI::Option* option) {
  return option != nullptr && option->count() > 0;
}

bool AnyGiven(const EntryOptions& options) {
  return options.name || options.depth || options.userName || options.password ||
         Given(options.images) || Given(options.noImages) || Given(options.otherFiles) ||
         Given(options.noOtherFiles) || Given(options.noStayLocal) || Given(options.stayLocal) ||
         Given(options.active) || Given(options.inactive);
}

// A change command without anything to change is a usage error rather than a silent save.
int NothingToChange(const char* command, CommandIo& io) {
  io.err << "gleaner " << command << " changes nothing without an option; see gleaner " << command
         << " --help.\n";
  return kExitUsage;
}

// Applies the given options to an entry. A name that is not empty counts as typed; an empty
// one makes the entry show its address again.
void ApplyEntryOptions(const EntryOptions& options, TWebEntry& entry) {
  if (options.name) SetTypedName(entry, *options.name);
  if (options.depth) entry.Depth = *options.depth;
  if (options.userName) entry.UserName = *options.userName;
  if (options.password) entry.Password = *options.password;
  if (Given(options.images)) entry.Images = true;
  if (Given(options.noImages)) entry.Images = false;
  if (Given(options.otherFiles)) entry.OtherFiles = true;
  if (Given(options.noOtherFiles)) entry.OtherFiles = false;
  if (Given(options.noStayLocal)) entry.StayLocal = false;
  if (Given(options.stayLocal)) entry.StayLocal = true;
  if (Given(options.active)) entry.Active = true;
  if (Given(options.inactive)) entry.Active = false;
  UpdateShownName(entry);
}

// An index as the user counts, from 1 in list order; none (with a message) when out of range.
std::optional<std::size_t> EntryIndex(const TBriefDocument& document, std::int64_t index,
                                      CommandIo& io) {
  const std::size_t count = document.Brief.WebList.size();
  if (const auto place = PlaceCountedFromOne(index, count)) return place;
  io.err << "There is no web entry " << index << " in " << document.FileName.string() << "; it has "
         << count << (count == 1 ? " entry.\n" : " entries.\n");
  return std::nullopt;
}

const char* YesNo(bool value) {
  return value ? "Yes" : "No";
}

void PrintIndented(std::ostream& out, const std::string& text) {
  std::size_t start = 0;
  while (start <= text.size()) {
    const std::size_t end = text.find('\n', start);
    std::string line =
        text.substr(start, end == std::string::npos ? std::string::npos : end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    out << "  " << TerminalText(line) << '\n';
    if (end == std::string::npos) break;
    start = end + 1;
  }
}

void PrintBrief(const TBriefDocument& document, std::ostream& out) {
  const TBriefRecord& brief = document.Brief;
  out << "Brief: " << TerminalText(brief.Name) << '\n' << "State: " << StateText(brief) << '\n';
  if (brief.Comments.empty()) {
    out << "Comments: none\n";
  } else {
    out << "Comments:\n";
    PrintIndented(out, brief.Comments);
  }
  out << "Web entries: " << brief.WebList.size() << '\n';
  for (std::size_t i = 0; i < brief.WebList.size(); ++i) {
    const TWebEntry& entry = brief.WebList[i];
    out << "  " << i + 1 << ". " << TerminalText(entry.Name) << " ("
        << (entry.Active ? gl::texts::kActive : gl::texts::kInactive) << ")\n"
        << "     Address: " << TerminalText(entry.URL) << '\n'
        << "     Spider depth: " << entry.Depth << "  Images: " << YesNo(entry.Images)
        << "  Other files: " << YesNo(entry.OtherFiles)
        << "  Follow external links: " << YesNo(!entry.StayLocal) << '\n';
    if (!entry.UserName.empty() || !entry.Password.empty()) {
      out << "     User name: " << TerminalText(entry.UserName)
          << (entry.Password.empty() ? "  (no password)\n" : "  (password set)\n");
    }
  }
  // Numbered as `gleaner archives` numbers them, for `gleaner delete-archive`.
  out << "Archived runs: " << brief.ArchivePaths.size() << '\n';
  for (const ArchivedRunRow& run : ArchivedRunRows(document)) {
    out << "  " << run.Row << ". " << TerminalText(run.Stamp) << "  "
        << TerminalText(run.Summary.string()) << '\n';
  }
}

struct NewArgs {
  std::string file;
  std::optional<std::string> name;
};

int RunNew(NewArgs& args, CommandIo& io) {
  // The name is claimed by creating the file exclusively (a link, even a dangling one, counts as
  // a file), so that of two `new`s of one name at once only one writes it; the save then
  // replaces the empty claim. A claim that fails for another reason is left to the save to report.
  errno = 0;
  std::FILE* claim = std::fopen(args.file.c_str(), "wx");
  if (claim == nullptr && errno == EEXIST) {
    io.err << "The file " << args.file << " already exists; gleaner new does not replace it.\n";
    return kExitFailed;
  }
  const bool claimed = claim != nullptr;
  if (claimed) std::fclose(claim);
  TBriefDocument document;
  document.FileName = args.file;
  CreateNewBrief(document.Brief);
  if (args.name) document.Brief.Name = *args.name;
  const int code = SaveBrief(document, io);
  std::error_code error;
  if (code != kExitDone && claimed && std::filesystem::file_size(args.file, error) == 0)
    std::filesystem::remove(args.file, error);
  return code;
}

struct ShowArgs {
  std::string file;
  bool json = false;
};

int RunShow(ShowArgs& args, CommandIo& io) {
  const std::optional<TBriefDocument> document = LoadBrief(args.file, io);
  if (!document) return kExitFailed;
  if (args.json)
    io.out << BriefJson(document->Brief).dump(2) << '\n';
  else
    PrintBrief(*document, io.out);
  return kExitDone;
}

struct AddArgs {
  std::string file;
  std::string url;
  EntryOptions options;
};

// An address that the settings leave unfetched is stored all the same, with a word on how to
// have it fetched.
void WarnIfSecurePagesOff(std::string_view url, CommandIo& io) {
  if (WaitsForSecurePages(url)) {
    io.err << texts::kSecurePagesOffTitle << ": " << texts::kSecurePagesOffText << '\n';
  }
}

int RunAdd(AddArgs& args, CommandIo& io) {
  const int result = ChangeBrief(args.file, io, [&args](TBriefDocument& document) {
    TWebEntry& entry = CreateNewWebEntry(document.Brief, document.Brief.WebList.size());
    entry.URL = args.url;
    ApplyEntryOptions(args.options, entry);
    return kExitDone;
  });
  if (result == kExitDone) WarnIfSecurePagesOff(args.url, io);
  return result;
}

struct EditEntryArgs {
  std::string file;
  std::int64_t index = 0;
  std::optional<std::string> url;
  EntryOptions options;
};

int RunEditEntry(EditEntryArgs& args, CommandIo& io) {
  if (!args.url && !AnyGiven(args.options)) return NothingToChange("edit-entry", io);
  const int result = ChangeBrief(args.file, io, [&args, &io](TBriefDocument& document) {
    const std::optional<std::size_t> index = EntryIndex(document, args.index, io);
    if (!index) return kExitFailed;
    TWebEntry& entry = document.Brief.WebList[*index];
    if (args.url) entry.URL = *args.url;
    ApplyEntryOptions(args.options, entry);
    return kExitDone;
  });
  if (result == kExitDone && args.url) WarnIfSecurePagesOff(*args.url, io);
  return result;
}

struct RemoveArgs {
  std::string file;
  std::int64_t index = 0;
};

int RunRemove(RemoveArgs& args, CommandIo& io) {
  return ChangeBrief(args.file, io, [&args, &io](TBriefDocument& document) {
    const std::optional<std::size_t> index = EntryIndex(document, args.index, io);
    if (!index) return kExitFailed;
    auto& entries = document.Brief.WebList;
    entries.erase(entries.begin() + static_cast<std::ptrdiff_t>(*index));
    return kExitDone;
  });
}

struct EditArgs {
  std::string file;
  std::optional<std::string> name;
  std::optional<std::string> comments;
  CLI::Option* active = nullptr;
  CLI::Option* inactive = nullptr;
};

int RunEdit(EditArgs& args, CommandIo& io) {
  if (!args.name && !args.comments && !Given(args.active) && !Given(args.inactive))
    return NothingToChange("edit", io);
  return ChangeBrief(args.file, io, [&args](TBriefDocument& document) {
    TBriefRecord& brief = document.Brief;
    if (args.name) brief.Name = *args.name;
    if (args.comments) brief.Comments = *args.comments;
    if (Given(args.active)) brief.Active = true;
    if (Given(args.inactive)) brief.Active = false;
    return kExitDone;
  });
}

void AddIndex(CLI::App& command, std::int64_t& index) {
  command.add_option("INDEX", index, "The web entry's place in the list, from 1")->required();
}

}  // namespace

void RegisterBriefCommands(CLI::App& app, CommandAction& action) {
  {
    auto args = std::make_shared<NewArgs>();
    CLI::App* command =
        app.add_subcommand("new", "Create a brief file with the defaults, and its catalogue");
    AddBriefFile(*command, args->file);
    command->add_option("--name", args->name, "The brief's name (default \"New Brief\")")
        ->check(kBriefName);
    OnParsed(*command, action, args, &RunNew);
  }
  {
    auto args = std::make_shared<ShowArgs>();
    CLI::App* command = app.add_subcommand(
        "show", "Print a brief: name, state, comments, web entries and archived runs");
    AddBriefFile(*command, args->file);
    command->add_flag("--json", args->json, "Print every stored field as one JSON object");
    OnParsed(*command, action, args, &RunShow);
  }
  {
    auto args = std::make_shared<AddArgs>();
    CLI::App* command = app.add_subcommand("add", "Append a web entry to a brief");
    AddBriefFile(*command, args->file);
    command->add_option("URL", args->url, "The page address")->required()->check(kStoredText);
    AddEntryOptions(*command, args->options, false);
    OnParsed(*command, action, args, &RunAdd);
  }
  {
    auto args = std::make_shared<EditEntryArgs>();
    CLI::App* command =
        app.add_subcommand("edit-entry", "Change the given fields of one web entry");
    AddBriefFile(*command, args->file);
    AddIndex(*command, args->index);
    command->add_option("--url", args->url, "The page address")->check(kStoredText);
    AddEntryOptions(*command, args->options, true);
    OnParsed(*command, action, args, &RunEditEntry);
  }
  {
    auto args = std::make_shared<RemoveArgs>();
    CLI::App* command = app.add_subcommand("remove", "Delete one web entry from a brief");
    AddBriefFile(*command, args->file);
    AddIndex(*command, args->index);
    OnParsed(*command, action, args, &RunRemove);
  }
  {
    auto args = std::make_shared<EditArgs>();
    CLI::App* command = app.add_subcommand("edit", "Change a brief's name, comments or state");
    AddBriefFile(*command, args->file);
    command->add_option("--name", args->name, "The brief's name")->check(kBriefName);
    command->add_option("--comments", args->comments, "The brief's comments; empty for none")
        ->check(kStoredText);
    args->active = Flag(*command, "--active", "Make the brief active");
    args->inactive =
        Flag(*command, "--inactive", "Make the brief inactive")->excludes(args->active);
    OnParsed(*command, action, args, &RunEdit);
  }
}

}  // namespace gl::cli
