#include <CLI/CLI.hpp>
#include <ostream>
#include <string>
#include <vector>

#include "cli/cli.h"
#include "cli/command.h"
#include "cli/version.h"

namespace gl::cli {
namespace {

// The parser reads "--name=" as a name without a value and takes the next argument as the value,
// so "--name= --inactive" would name an entry "--inactive". Splitting it into "--name" and an
// empty argument makes it the empty value the user wrote.
std::vector<std::string> SplitEmptyAssignments(int argc, const char* const* argv) {
  std::vector<std::string> arguments;
  for (int i = 0; i < argc; ++i) {
    const std::string argument = argv[i];
    if (i > 0 && argument.size() > 3 && argument.starts_with("--") && argument.ends_with("=") &&
        argument.find('=') == argument.size() - 1) {
      arguments.push_back(argument.substr(0, argument.size() - 1));
      arguments.emplace_back();
    } else {
      arguments.push_back(argument);
    }
  }
  return arguments;
}

}  // namespace

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
  RegisterBookmarkCommands(app, action);

  const std::vector<std::string> arguments = SplitEmptyAssignments(argc, argv);
  std::vector<const char*> pointers;
  for (const std::string& argument : arguments)
    pointers.push_back(argument.c_str());
  try {
    app.parse(static_cast<int>(pointers.size()), pointers.data());
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
