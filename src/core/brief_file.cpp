#include "core/brief_file.h"

#include <algorithm>
#include <cerrno>
#include <fstream>

#include "core/brief_format.h"
#include "core/byte_text.h"
#include "platform/atomic_file.h"
#include "platform/file_lock.h"
#include "platform/regular_file.h"

namespace gl {
namespace {

UserMessage LoadingError() {
  return {std::string(texts::kLoadingErrorTitle), std::string(texts::kLoadingErrorText)};
}

UserMessage SavingError() {
  return {std::string(texts::kSavingErrorTitle), std::string(texts::kSavingErrorText)};
}

bool HoldsPassword(const TBriefRecord& brief) {
  return std::any_of(brief.WebList.begin(), brief.WebList.end(),
                     [](const TWebEntry& entry) { return !entry.Password.empty(); });
}

// Writes both files; the caller holds the brief's lock.
SaveResult WriteBriefFiles(const TBriefDocument& document) {
  const std::filesystem::path catalogue = CataloguePath(document.FileName);
  RemoveLeftoverTemporaries(document.FileName);
  if (!catalogue.empty()) RemoveLeftoverTemporaries(catalogue);
  const FileAccess access =
      HoldsPassword(document.Brief) ? FileAccess::Private : FileAccess::Shared;
  std::error_code reason;
  if (!WriteFileAtomically(document.FileName, BriefFileBytes(document.Brief), access, &reason))
    return {SaveOutcome::Failed, WithReason(SavingError(), document.FileName, reason)};
  if (!catalogue.empty()) {
    // The brief is saved; a catalogue that cannot be written keeps its previous version.
    [[maybe_unused]] const bool written =
        WriteFileAtomically(catalogue, CatalogueBytes(document.Brief));
  }
  return {SaveOutcome::Saved, {}};
}

}  // namespace

LoadResult ReadBriefs2(const std::filesystem::path& fileName) {
  LoadResult result;
  result.Document.FileName = fileName;
  std::ifstream in;
  std::uint64_t size = 0;
  std::error_code reason;
  if (!OpenRegularFile(fileName, in, size, &reason)) {
    result.Message = WithReason(LoadingError(), fileName, reason);
    return result;
  }
  TBriefRecord& brief = result.Document.Brief;
  CreateNewBrief(brief);
  switch (ReadBriefRecords(in, size, brief)) {
    case BriefReadOutcome::Loaded:
      break;
    case BriefReadOutcome::Corrupt:
      result.Message = LoadingError();
      return result;
    case BriefReadOutcome::TooFewFlags:
      return result;
  }
  const std::filesystem::path catalogue = CataloguePath(fileName);
  std::ifstream catalogueIn;
  std::uint64_t catalogueSize = 0;
  if (!catalogue.empty() && OpenRegularFile(catalogue, catalogueIn, catalogueSize, &reason))
    ReadCatalogue(catalogueIn, brief);
  result.Loaded = true;
  return result;
}

UserMessage LoadingErrorOr(UserMessage message) {
  return message.Empty() ? LoadingError() : std::move(message);
}

SaveResult SaveBriefs2(const TBriefDocument& document) {
  if (document.FileName.empty()) return {SaveOutcome::NoFileName, {}};
  const FileLock lock(document.FileName);
  return WriteBriefFiles(document);
}

UpdateResult UpdateBrief(const std::filesystem::path& fileName,
                         const std::function<bool(TBriefDocument&)>& change) {
  const FileLock lock(fileName);
  LoadResult loaded = ReadBriefs2(fileName);
  if (!loaded.Loaded) return {UpdateOutcome::NotLoaded, std::move(loaded.Message)};
  if (!change(loaded.Document)) return {UpdateOutcome::Unchanged, {}};
  SaveResult saved = WriteBriefFiles(loaded.Document);
  if (saved.Outcome != SaveOutcome::Saved) return {UpdateOutcome::Failed, std::move(saved.Message)};
  return {UpdateOutcome::Saved, {}};
}

std::filesystem::path BriefFolder(const std::filesystem::path& briefFile) {
  std::error_code error;
  const std::filesystem::path absolute = std::filesystem::absolute(briefFile, error);
  // "./news.brf" has the folder "/home/ann", not "/home/ann/.".
  std::filesystem::path folder;
  for (const std::filesystem::path& part : (error ? briefFile : absolute).parent_path()) {
    if (part != ".") folder /= part;
  }
  return folder;
}

std::filesystem::path CataloguePath(const std::filesystem::path& briefFile) {
  std::filesystem::path catalogue = briefFile;
  catalogue.replace_extension(".cat");
  return catalogue == briefFile ? std::filesystem::path() : catalogue;
}

std::string CreateCaption(std::string_view path) {
  const std::size_t slash = path.rfind('/');
  std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
  name = name.substr(0, name.find('.'));
  std::string caption = LowerAscii(name);
  if (!caption.empty() && caption[0] >= 'a' && caption[0] <= 'z')
    caption[0] = static_cast<char>(caption[0] - ('a' - 'A'));
  return caption;
}

}  // namespace gl
