#pragma once

#include <filesystem>
#include <functional>
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
// the archived runs read before the damage. A brief file that cannot be opened gets the loading
// error with the system's reason on its next line. Example:
//   LoadResult result = ReadBriefs2("news.brf");
//   if (!result.Loaded && !result.Message.Empty()) Show(result.Message);
[[nodiscard]] LoadResult ReadBriefs2(const std::filesystem::path& fileName);

// The loading error to tell whoever must always be told why a brief did not load: `message`,
// or the plain loading error for a brief that was refused without one.
UserMessage LoadingErrorOr(UserMessage message);

// Writes the brief file and then the catalogue, each to a new file beside the old one that then
// replaces it, so a failed save never leaves a half-written file. A failed catalogue is not
// reported (the brief itself was saved) and leaves the old catalogue in place. The brief's lock
// is held while it writes, and what earlier saves killed half-way left beside it is removed. A
// brief that holds a password is readable by its owner only.
[[nodiscard]] SaveResult SaveBriefs2(const TBriefDocument& document);

enum class UpdateOutcome {
  Saved,
  Unchanged,  // the change declined: nothing was written
  NotLoaded,  // Message holds the loading error (empty when refused without one)
  Failed      // Message holds the saving error; the files on disk are as they were
};

struct UpdateResult {
  UpdateOutcome Outcome = UpdateOutcome::Saved;
  UserMessage Message;
};

// Loads the brief, lets `change` alter it and saves it, all under the brief's lock, so that a
// change made at the same time by another command, window or run is never lost: each works on
// what the other saved. `change` returns false to leave the files as they were. Example:
//   UpdateBrief("news.brf", [](TBriefDocument& d) { d.Brief.Active = false; return true; });
[[nodiscard]] UpdateResult UpdateBrief(const std::filesystem::path& fileName,
                                       const std::function<bool(TBriefDocument&)>& change);

// The brief's folder, where its runs are written and its archive paths begin: the absolute
// folder of the file, so that a brief named from the working folder ("news.brf") has one too.
std::filesystem::path BriefFolder(const std::filesystem::path& briefFile);

// The catalogue beside a brief file: the same path with the extension ".cat". A brief file that
// itself ends in ".cat" has no catalogue (it would overwrite the brief): the result is empty.
std::filesystem::path CataloguePath(const std::filesystem::path& briefFile);

// The window caption for a brief file path: the file name up to its first ".", lower-cased with
// the first character upper-cased. "/data/MY NEWS.BRF" gives "My news".
std::string CreateCaption(std::string_view path);

}  // namespace gl
