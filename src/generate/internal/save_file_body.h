#pragma once

#include <string_view>

#include "core/memory_stream.h"
#include "generate/internal/run_context.h"

namespace gl {

// The body of a fetched stream: after the answer's header (the whole stream when it has no header
// end), exactly as received, without the one zero byte that every fetched stream carries at its
// end.
std::string_view FetchedBody(const MemoryStream& stream);

// Stores a fetched file's body in the run folder under `name` (listed in the run catalogue
// first). Free space is tested before the first 1,000-byte block and then before every 21st.
// Raises EInOutError on any failure.
void SaveFileBody(RunContext& run, const MemoryStream& stream, std::string_view name);

}  // namespace gl
