#pragma once

#include <ctime>
#include <string>
#include <string_view>

#include "core/brief_record.h"
#include "generate/internal/checked_file.h"

// The brief summary page of a run: its opening, the header block with the run's start stamp, one
// block per web entry and the closing credit.

namespace gl {

// The run's start stamp: the date, five blanks and the time, in the fixed forms.
std::string StartText(std::time_t when);

// From "<html>" to the opening of the page's list, with the background image.
void WriteSummaryOpening(CheckedFile& summary, std::string_view briefName,
                         std::string_view imageDirectory);

// The banner, the brief's name, the start stamp and the brief's comments, when it has any.
// Returns the start stamp.
std::string WriteBriefHeader(CheckedFile& summary, const TBriefRecord& brief,
                             std::string_view imageDirectory, std::time_t when);

// Between two entries' blocks.
void WriteEntrySeparator(CheckedFile& summary);

// An entry whose address led to a file: a link to the stored file and the retrieval depth.
void WriteFileEntry(CheckedFile& summary, std::string_view name, std::string_view title, int depth);

// An entry's page: the opening of its link (the caller writes the link target), then the
// closing with the title and the depth.
void WritePageEntryOpening(CheckedFile& summary);
void WritePageEntryClosing(CheckedFile& summary, std::string_view title, int depth);

void WriteSiteMapLink(CheckedFile& summary, std::string_view siteMapName);

// The credit line and the closing tags; closes the file. False when the page could not be
// written whole: then it is gone (see CheckedFile).
bool CloseSummaryPage(CheckedFile& summary) noexcept;

}  // namespace gl
