#include <CLI/CLI.hpp>
#include <ostream>

#include "cli/cli.h"
#include "cli/command.h"
#include "cli/version.h"

namespace gl::cli {

int RunGleaner(int argc, const char* const* argv, std::ostream& out, std::ostream& err) {
  CLI::App app{"Gleaner-Light prepares offline digests of web sites (briefs).", "gleaner"};
  app.set_version_flag("--version", std::string("gleaner ") + kVersion);
  app.require_subcommand(1);

  CommandAction action;
  // Command groups register here.
  RegisterBriefCommands(app, action);
  RegisterSettingsCommand(app, action);
  RegisterFetchCommand(app, action);
  RegisterGenerateCommands(app, action);

  try {
    app.parse(argc, argv);
  } catch (const CLI::CallForHelp& help) {
    return app.exit(help, out, err);
  } catch (const CLI::CallForAllHelp& help) {
    return app.exit(help, out, err);
  } catch (const CLI::CallForVersion& version) {
    return app.exit(version, out, err);
  } catch (const CLI::ParseError& error) {
    app.exit(error, out, err);
    return kExitUsage;
  }
  CommandIo io{out, err};
  return action ? action(io) : kExitUsage;
}

}  // namespace gl::cli
