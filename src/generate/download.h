#pragma once

#include <string>
#include <string_view>

#include "generate/checked_file.h"
#include "generate/run_context.h"

namespace gl {

// Stores the image or file that a page refers to with `value` (the attribute value, resolved
// against `pageAddress`) and writes its local name into `out`. A file that the run has stored
// before is not fetched again: its name is written at once. False when the fetch did not bring
// the file; then nothing was written, counted or recorded.
bool DownloadFile(RunContext& run, CheckedFile& out, std::string_view value,
                  std::string_view pageAddress);

// The suffix a downloaded file is stored with: the text after the last '.' of the address (before
// any '?'), when that '.' stands after the last '/'; at most 3 bytes, lower case, "jpe" as "jpg"
// and "mpe" as "mpg".
std::string DownloadSuffix(std::string_view address);

}  // namespace gl
