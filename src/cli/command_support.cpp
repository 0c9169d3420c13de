#include "cli/command_support.h"

#include "cli/cli.h"
#include "core/brief_file.h"
#include "core/texts.h"

namespace gl::cli {

void PrintMessage(const UserMessage& message, std::ostream& err) {
  err << message.Title << ": " << message.Text << '\n';
}

std::optional<TBriefDocument> LoadBrief(const std::string& file, CommandIo& io) {
  LoadResult result = ReadBriefs2(file);
  if (result.Loaded) return std::move(result.Document);
  PrintMessage(result.Message.Empty() ? UserMessage{std::string(gl::texts::kLoadingErrorTitle),
                                                    std::string(gl::texts::kLoadingErrorText)}
                                      : result.Message,
               io.err);
  return std::nullopt;
}

int SaveBrief(const TBriefDocument& document, CommandIo& io) {
  const SaveResult result = SaveBriefs2(document);
  if (result.Outcome == SaveOutcome::Saved) return kExitDone;
  PrintMessage(result.Message, io.err);
  return kExitFailed;
}

void AddBriefFile(CLI::App& command, std::string& file) {
  command.add_option("BRIEF", file, "The brief file (.brf)")->required();
}

}  // namespace gl::cli
