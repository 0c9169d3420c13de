#pragma once

#include <CLI/CLI.hpp>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <ostream>
#include <string>

#include "cli/command.h"
#include "core/brief_record.h"
#include "core/user_message.h"

// Helpers that the command groups share: loading and changing a brief with the system's messages,
// the BRIEF argument and the limit of stored texts, and handing a parsed subcommand's work to
// RunGleaner.

namespace gl::cli {

// "Title: text" on its own line.
void PrintMessage(const UserMessage& message, std::ostream& err);

// Loads a brief for a command; on failure prints why. A file refused without a message gets the
// loading error all the same, so the command line never fails silently.
std::optional<TBriefDocument> LoadBrief(const std::string& file, CommandIo& io);

// Saves the brief: kExitDone, or kExitFailed with the saving error printed.
int SaveBrief(const TBriefDocument& document, CommandIo& io);

// Loads the brief, applies `change` and saves the result, all under the brief's lock (see
// UpdateBrief), so commands that change one brief at the same time all keep their changes.
// `change` returns an exit code; with anything but kExitDone the files stay as they were. The
// loading or saving error is printed; the result is `change`'s code, or kExitFailed.
int ChangeBrief(const std::string& file, CommandIo& io,
                const std::function<int(TBriefDocument&)>& change);

// The list place of `number`, which the user counts from 1, in a list of `count` items; none when
// there is no such item.
std::optional<std::size_t> PlaceCountedFromOne(std::int64_t number, std::size_t count);

// The required BRIEF argument.
void AddBriefFile(CLI::App& command, std::string& file);

// Refuses a text longer than a brief file can hold (32,767 bytes), naming the limit.
extern const CLI::Validator kStoredText;

// Registers a subcommand whose parse callback hands `run` over as the action to perform.
template <typename Args>
void OnParsed(CLI::App& command, CommandAction& action, std::shared_ptr<Args> args,
              int (*run)(Args&, CommandIo&)) {
  command.callback(
      [&action, args, run] { action = [args, run](CommandIo& io) { return run(*args, io); }; });
}

}  // namespace gl::cli
