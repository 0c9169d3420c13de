#include <CLI/CLI.hpp>
#include <memory>
#include <optional>
#include <ostream>
#include <string>

#include "cli/cli.h"
#include "cli/command.h"
#include "cli/command_support.h"
#include "cli/interrupt.h"
#include "cli/terminal_host.h"
#include "cli/terminal_text.h"
#include "core/settings_io.h"
#include "generate/archived_runs.h"
#include "generate/generate_brief.h"
#include "platform/cancellation.h"
#include "platform/disk_space.h"
#include "platform/program_directory.h"

namespace gl::cli {
namespace {

struct GenerateArgs {
  std::string file;
  bool quiet = false;
  bool open = false;
};

int RunGenerate(GenerateArgs& args, CommandIo& io) {
  std::optional<TBriefDocument> document = LoadBrief(args.file, io);
  if (!document) return kExitFailed;
  const Settings settings = LoadSettings();

  const DisplayMode mode = args.quiet           ? DisplayMode::Quiet
                           : IsTerminal(io.out) ? DisplayMode::Live
                                                : DisplayMode::Lines;
  TerminalHost host(io.out, io.err, mode);
  if (args.open) {
    if (settings.BrowserPath.empty()) {
      io.err << "No browser is set, so the brief will not be shown "
                "(gleaner settings browser-path PROGRAM sets one).\n";
    } else {
      host.OpenWhenReady(settings.BrowserPath);
    }
  }

  NameCounters names;
  RunEnvironment environment;
  environment.ProgramDirectory = ProgramDirectory();
  environment.FreeSpace = FreeDiskBytes;
  RunReport report;
  {
    const StopOnInterrupt stopOnCtrlC;
    report = GenerateBrief(*document, settings, names, environment, host);
  }
  ClearStop();  // a Ctrl+C has been honoured; nothing later in this process should see it
  if (!report.SummaryPath.empty()) io.out << report.SummaryPath.string() << '\n';
  io.out.flush();

  switch (report.Outcome) {
    case RunOutcome::Completed:
      return kExitDone;
    case RunOutcome::Aborted:
      io.err << "The run was stopped; it is recorded as far as it went.\n";
      return kExitAborted;
    case RunOutcome::DiskError:
      return kExitFailed;  // the host has shown the disk error
    case RunOutcome::NotStarted:
      break;
  }
  io.err << "No summary page name is free in " << report.RunDirectory.string()
         << "; nothing was generated.\n";
  return kExitFailed;
}

struct ArchivesArgs {
  std::string file;
};

int RunArchives(ArchivesArgs& args, CommandIo& io) {
  const std::optional<TBriefDocument> document = LoadBrief(args.file, io);
  if (!document) return kExitFailed;
  const TBriefRecord& brief = document->Brief;
  if (brief.ArchivePaths.empty()) {
    io.err << "The brief has no archived runs.\n";
    return kExitDone;
  }
  const std::filesystem::path folder = document->FileName.parent_path();
  std::size_t row = 1;
  for (std::size_t index = brief.ArchivePaths.size(); index-- > 0; ++row) {
    const std::string& stamp = index < brief.ArchiveStamps.size() ? brief.ArchiveStamps[index] : "";
    io.out << row << '\t' << TerminalText(stamp) << '\t'
           << TerminalText(ArchivePathOnDisk(folder, brief.ArchivePaths[index]).string()) << '\n';
  }
  return kExitDone;
}

struct DeleteArchiveArgs {
  std::string file;
  std::int64_t row = 0;
};

int RunDeleteArchive(DeleteArchiveArgs& args, CommandIo& io) {
  std::optional<TBriefDocument> document = LoadBrief(args.file, io);
  if (!document) return kExitFailed;
  const std::size_t count = document->Brief.ArchivePaths.size();
  if (args.row < 1 || static_cast<std::uint64_t>(args.row) > count) {
    io.err << "There is no archived run " << args.row << "; the brief has " << count
           << (count == 1 ? " archived run" : " archived runs") << " (row 1 is the newest).\n";
    return kExitFailed;
  }
  // Row 1 is the newest run, the last of the brief's lists.
  DeleteArchivedRun(*document, count - static_cast<std::size_t>(args.row));
  return SaveBrief(*document, io);
}

}  // namespace

void RegisterGenerateCommands(CLI::App& app, CommandAction& action) {
  {
    auto args = std::make_shared<GenerateArgs>();
    CLI::App* command = app.add_subcommand(
        "generate", "Generate a brief into a new numbered archive folder beside its file");
    AddBriefFile(*command, args->file);
    command->add_flag("--quiet,-q", args->quiet, "Show no progress");
    command->add_flag("--open", args->open,
                      "Show the summary page in the settings' browser when the run ends");
    command->footer(
        "The last line on standard output is the summary page's path. The first Ctrl+C stops\n"
        "the run as the Abort button does (the summary is closed and the run recorded); a\n"
        "second one ends the program at once.\n"
        "Exit codes: 0 completed, 1 failed (brief not loaded, disk error), 2 usage, 3 stopped.");
    OnParsed(*command, action, args, &RunGenerate);
  }
  {
    auto args = std::make_shared<ArchivesArgs>();
    CLI::App* command = app.add_subcommand(
        "archives", "List the archived runs, newest first: row, start stamp, summary page");
    AddBriefFile(*command, args->file);
    OnParsed(*command, action, args, &RunArchives);
  }
  {
    auto args = std::make_shared<DeleteArchiveArgs>();
    CLI::App* command = app.add_subcommand(
        "delete-archive", "Delete an archived run's files and remove it from the brief");
    AddBriefFile(*command, args->file);
    command->add_option("ROW", args->row, "The run's row in gleaner archives (1 is the newest)")
        ->required();
    OnParsed(*command, action, args, &RunDeleteArchive);
  }
}

}  // namespace gl::cli
