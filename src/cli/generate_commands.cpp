#include <CLI/CLI.hpp>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

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
      host.OpenWhenReady(settings);
    }
  }

  NameCounters names;
  RunEnvironment environment;
  environment.ProgramDirectory = ProgramDirectory();
  environment.FreeSpace = FreeDiskBytes;
  RunReport report;
  {
    const StopOnInterrupt stopOnSignals;
    report = GenerateBrief(std::move(*document), settings, names, environment, host);
    // Still under the guard, so that a closed output makes this write fail instead of ending
    // the program.
    if (!report.SummaryPath.empty()) io.out << report.SummaryPath.string() << '\n';
    io.out.flush();
  }
  ClearStop();  // a Ctrl+C has been honoured; nothing later in this process should see it

  // The host has shown why a run failed or could not be recorded.
  const bool recorded = !report.ArchivePath.empty();
  switch (report.Outcome) {
    case RunOutcome::Completed:
      return recorded ? kExitDone : kExitFailed;
    case RunOutcome::Aborted:
      if (!recorded) return kExitFailed;
      io.err << "The run was stopped; it is recorded as far as it went.\n";
      return kExitAborted;
    case RunOutcome::DiskError:
      return kExitFailed;
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
  const std::vector<ArchivedRunRow> rows = ArchivedRunRows(*document);
  if (rows.empty()) io.err << "The brief has no archived runs.\n";
  for (const ArchivedRunRow& run : rows) {
    io.out << run.Row << '\t' << TerminalText(run.Stamp) << '\t'
           << TerminalText(run.Summary.string()) << '\n';
  }
  return kExitDone;
}

struct DeleteArchiveArgs {
  std::string file;
  std::int64_t row = 0;
};

int RunDeleteArchive(DeleteArchiveArgs& args, CommandIo& io) {
  return ChangeBrief(args.file, io, [&args, &io](TBriefDocument& document) {
    const std::vector<ArchivedRunRow> rows = ArchivedRunRows(document);
    const std::optional<std::size_t> place = PlaceCountedFromOne(args.row, rows.size());
    if (!place) {
      io.err << "There is no archived run " << args.row << "; the brief has " << rows.size()
             << (rows.size() == 1 ? " archived run" : " archived runs")
             << " (row 1 is the newest).\n";
      return kExitFailed;
    }
    DeleteArchivedRun(document, rows[*place].Index);
    return kExitDone;
  });
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
        "The last line on standard output is the summary page's path. The first Ctrl+C (or\n"
        "SIGTERM or SIGHUP) stops the run as the Abort button does (the summary is closed and\n"
        "the run recorded); a second one ends the program at once. A closed output stops the\n"
        "output, not the run.\n"
        "Exit codes: 0 completed, 1 failed (brief not loaded, disk error, run not recorded),\n"
        "2 usage, 3 stopped.");
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
