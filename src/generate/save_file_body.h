#pragma once

#include <string_view>

#include "core/memory_stream.h"
#include "generate/run_context.h"

namespace gl {

// Stores a fetched file in the run folder under `name` (listed in the run catalogue first): the
// body after the HTTP header when the stream has one, exactly as received, without the one zero
// byte that every fetched stream carries at its end. Free space is tested before the first
// 1,000-byte block and then before every 21st. Raises EInOutError on any failure.
void SaveFileBody(RunContext& run, const MemoryStream& stream, std::string_view name,
                  bool hasHeader);

// Whether a fetched stream starts with an HTTP header: everything but a local file that was read
// (a local file that could not be read is explained by a generated page, which has one).
bool StreamHasHeader(std::string_view fetchedAddress, bool pageOk);

}  // namespace gl
