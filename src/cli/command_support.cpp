#include "cli/command_support.h"

#include "cli/cli.h"
#include "core/brief_file.h"
#include "core/brief_format.h"

namespace gl::cli {

void PrintMessage(const UserMessage& message, std::ostream& err) {
  err << MessageForTerminal(message) << '\n';
}

namespace {

void PrintLoadingError(const UserMessage& message, CommandIo& io) {
  PrintMessage(LoadingErrorOr(message), io.err);
}

}  // namespace

const CLI::Validator kStoredText(
    [](std::string& text) {
      return text.size() > kMaxStoredText
                 ? "A brief file holds texts of at most " + std::to_string(kMaxStoredText) +
                       " bytes; this one has " + std::to_string(text.size()) + "."
                 : std::string();
    },
    "");

std::optional<TBriefDocument> LoadBrief(const std::string& file, CommandIo& io) {
  LoadResult result = ReadBriefs2(file);
  if (result.Loaded) return std::move(result.Document);
  PrintLoadingError(result.Message, io);
  return std::nullopt;
}

int SaveBrief(const TBriefDocument& document, CommandIo& io) {
  const SaveResult result = SaveBriefs2(document);
  if (result.Outcome == SaveOutcome::Saved) return kExitDone;
  PrintMessage(result.Message, io.err);
  return kExitFailed;
}

int ChangeBrief(const std::string& file, CommandIo& io,
                const std::function<int(TBriefDocument&)>& change) {
  int code = kExitDone;
  const UpdateResult result = UpdateBrief(file, [&](TBriefDocument& document) {
    code = change(document);
    return code == kExitDone;
  });
  switch (result.Outcome) {
    case UpdateOutcome::Saved:
    case UpdateOutcome::Unchanged:
      return code;
    case UpdateOutcome::NotLoaded:
      PrintLoadingError(result.Message, io);
      break;
    case UpdateOutcome::Failed:
      PrintMessage(result.Message, io.err);
      break;
  }
  return kExitFailed;
}

std::optional<std::size_t> PlaceCountedFromOne(std::int64_t number, std::size_t count) {
  if (number < 1 || static_cast<std::uint64_t>(number) > count) return std::nullopt;
  return static_cast<std::size_t>(number - 1);
}

void AddBriefFile(CLI::App& command, std::string& file) {
  command.add_option("BRIEF", file, "The brief file (.brf)")->required();
}

}  // namespace gl::cli
