#pragma once

#include <string>
#include <string_view>

#include "core/memory_stream.h"

// The small HTML pages that take the place of a page that could not be fetched. Each replaces
// whatever the stream held with a status line, CR LF CR LF, the HTML text and one zero byte, so
// it reads like any other answer. `display` is the display address of the requested page.

namespace gl {

// An address as a generated page writes it into an attribute and into text. A '"', '<' or '>'
// can never be part of a valid address, so each is written percent-encoded, which keeps the
// link's meaning while no address can close the attribute or open a tag.
std::string AddressForPage(std::string_view address);

void WriteSkippedPage(MemoryStream& stream, std::string_view display);
void WriteUnableToConnectPage(MemoryStream& stream, std::string_view display);
void WriteBusyNetworkPage(MemoryStream& stream, std::string_view display);
void WriteCredentialsPage(MemoryStream& stream, std::string_view display, std::string_view userName,
                          std::string_view password);
void WriteExternalLinkPage(MemoryStream& stream, std::string_view display);

// An address of another scheme than the web's: a mail link, or a scheme that is not fetched.
// OtherSchemeText is the explanation as a run's special page shows it between its navigation
// header and footer; the page is the same explanation as the answer of a fetch ("HTTP/1.0 200"),
// closed.
std::string OtherSchemeText(std::string_view address, bool mail);
void WriteOtherSchemePage(MemoryStream& stream, std::string_view display, bool mail);

// What every explanation of a link that is not followed says after its heading:
// "</h2>This link (<a href=..."..."</a>)".
std::string ThisLinkText(std::string_view address);

// A secure page that was not requested because its server's certificate was refused; `reason`
// says why ("certificate has expired").
void WriteRefusedCertificatePage(MemoryStream& stream, std::string_view display,
                                 std::string_view reason);

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
