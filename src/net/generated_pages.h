#pragma once

#include <string_view>

#include "core/memory_stream.h"

// The small HTML pages that take the place of a page that could not be fetched. Each replaces
// whatever the stream held with a status line, CR LF CR LF, the HTML text and one zero byte, so
// it reads like any other answer. `display` is the display address of the requested page.

namespace gl {

void WriteSkippedPage(MemoryStream& stream, std::string_view display);
void WriteUnableToConnectPage(MemoryStream& stream, std::string_view display);
void WriteBusyNetworkPage(MemoryStream& stream, std::string_view display);
void WriteCredentialsPage(MemoryStream& stream, std::string_view display, std::string_view userName,
                          std::string_view password);
void WriteExternalLinkPage(MemoryStream& stream, std::string_view display);

enum class FileError { NotFound, FailedToLoad };
void WriteFileErrorPage(MemoryStream& stream, std::string_view display, FileError error);

// The pages that explain an HTTP status code the fetch could not use.
enum class StatusPage {
  Accepted,         // 202
  Empty,            // 204
  NoResponse,       // 400
  Refused,          // 403
  NotFound,         // 404
  NotFunctional,    // 501
  UnableToRespond,  // anything else
};
void WriteStatusPage(MemoryStream& stream, StatusPage page, std::string_view display);

}  // namespace gl
