#pragma once

#include <optional>
#include <string_view>

#include "core/memory_stream.h"

namespace gl {

// Readies a fetched page for everything that reads it later, in place:
// - drops the answer's header up to the first empty line (every fetched stream has one, a local
//   file's included);
// - ends the page with one terminating zero byte (the fetched stream's own, or a new one) and
//   moves the position to the start;
// - blanks every comment and declaration ("<!...>") outside scripts;
// - turns every other zero byte into a blank, so that the page text is zero-terminated once.
void CleanPage(MemoryStream& page);

// The page's title: the text between "<title>" and the next "</title>" (any case). When the page
// has several, the last complete one wins. Nothing when there is none.
std::optional<std::string_view> PageTitle(std::string_view page);

}  // namespace gl
