#include "core/brief_file.h"

#include <fstream>

#include "core/brief_format.h"
#include "core/byte_text.h"
#include "platform/atomic_file.h"
#include "platform/regular_file.h"

namespace gl {
namespace {

UserMessage LoadingError() {
  return {std::string(texts::kLoadingErrorTitle), std::string(texts::kLoadingErrorText)};
}

}  // namespace

LoadResult ReadBriefs2(const std::filesystem::path& fileName) {
  LoadResult result;
  result.Document.FileName = fileName;
  std::ifstream in;
  std::uint64_t size = 0;
  if (!OpenRegularFile(fileName, in, size)) {
    result.Message = LoadingError();
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
  if (!catalogue.empty() && OpenRegularFile(catalogue, catalogueIn, catalogueSize))
    ReadCatalogue(catalogueIn, brief);
  result.Loaded = true;
  return result;
}

SaveResult SaveBriefs2(const TBriefDocument& document) {
  if (document.FileName.empty()) return {SaveOutcome::NoFileName, {}};
  if (!WriteFileAtomically(document.FileName, BriefFileBytes(document.Brief))) {
    return {SaveOutcome::Failed,
            {std::string(texts::kSavingErrorTitle), std::string(texts::kSavingErrorText)}};
  }
  const std::filesystem::path catalogue = CataloguePath(document.FileName);
  if (!catalogue.empty()) {
    // The brief is saved; a catalogue that cannot be written keeps its previous version.
    [[maybe_unused]] const bool written =
        WriteFileAtomically(catalogue, CatalogueBytes(document.Brief));
  }
  return {SaveOutcome::Saved, {}};
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
