#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "core/brief_record.h"
#include "core/user_message.h"

// Loading and saving a brief: the brief file and, beside it, its catalogue of archived runs.

namespace gl {

struct LoadResult {
  bool Loaded = false;
  TBriefDocument Document;  // FileName is the file asked for, loaded or not
  UserMessage Message;      // the loading error; empty when loaded or refused without a message
};

enum class SaveOutcome {
  Saved,
  Failed,     // Message holds the saving error; the files on disk are as they were
  NoFileName  // the brief was never given a file: nothing written, the caller asks for a name
};

struct SaveResult {
  SaveOutcome Outcome = SaveOutcome::Saved;
  UserMessage Message;
};

// Reads the brief file `fileName` and its catalogue. A missing, short or damaged catalogue gives
// the archived runs read before the damage. Example:
//   LoadResult result = ReadBriefs2("news.brf");
//   if (!result.Loaded && !result.Message.Empty()) Show(result.Message);
[[nodiscard]] LoadResult ReadBriefs2(const std::filesystem::path& fileName);

// Writes the brief file and then the catalogue, each to a new file beside the old one that then
// replaces it, so a failed save never leaves a half-written file. A failed catalogue is not
// reported (the brief itself was saved) and leaves the old catalogue in place.
[[nodiscard]] SaveResult SaveBriefs2(const TBriefDocument& document);

// The catalogue beside a brief file: the same path with the extension ".cat". A brief file that
// itself ends in ".cat" has no catalogue (it would overwrite the brief): the result is empty.
std::filesystem::path CataloguePath(const std::filesystem::path& briefFile);

// The window caption for a brief file path: the file name up to its first ".", lower-cased with
// the first character upper-cased. "/data/MY NEWS.BRF" gives "My news".
std::string CreateCaption(std::string_view path);

}  // namespace gl
