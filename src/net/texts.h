#pragma once

#include <string_view>

// The retrieval layer's own texts, byte for byte.

namespace gl::texts {

inline constexpr std::string_view kUserAgent = "Gleaner-Light 1.0";

// Status texts begin with one blank. The idle one stands between the steps of a run and after a
// page has been handed to the browser.
inline constexpr std::string_view kIdleStatus = " Gleaner-Light";
inline constexpr std::string_view kContactingHost = " Contacting host...";
inline constexpr std::string_view kConnected = " Connected...";
inline constexpr std::string_view kTransferringData = " Transferring data...";

// Closes the quoted address of a link in a generated page.
inline constexpr std::string_view kLinkClose = "\">";

// Status lines of generated pages.
inline constexpr std::string_view kStatusOk = "HTTP/1.0 200";
inline constexpr std::string_view kStatusFailed = "HTTP/1.0 500";

inline constexpr std::string_view kInaccessibleHead =
    "<html><title>Inaccessible Page</title><body><h2>Inaccessible Page</h2>";

inline constexpr std::string_view kSkippedHead =
    "<html><title>Gleaner-Light Web page skipped</title><body><h2>Page Skipped</h2>"
    "You asked Gleaner-Light to skip <a href=\"";
inline constexpr std::string_view kSkippedTail = "\">this Web entry</a>.</body></html>";

inline constexpr std::string_view kUnableToConnectLead =
    "Gleaner-Light was unable to connect to the server to load <a href=\"";
inline constexpr std::string_view kUnableToConnectTail =
    "\">this page</a>. The server or network may be down.</body></html>";

inline constexpr std::string_view kBusyNetworkLead = "Gleaner-Light was unable to load <a href=\"";
inline constexpr std::string_view kBusyNetworkTail =
    "\">this page</a>. The network appears to be heavily loaded at this time and Gleaner-Light "
    "could not access the page.</body></html>";

inline constexpr std::string_view kCredentialsLead =
    "Gleaner-Light was unable to load the Web page located at <a href=\"";
inline constexpr std::string_view kCredentialsUserName =
    "</a>.<p>This page requires a UserName and Password.<p>The current UserName is: ";
inline constexpr std::string_view kCredentialsPassword = "<p>The current Password is: ";
inline constexpr std::string_view kCredentialsTail =
    "<p>This combination is not correct. Please correct it to properly load the "
    "page.</body></html>";
inline constexpr std::string_view kNoneEntered = "<i>None Entered</i>";

inline constexpr std::string_view kFileErrorLead =
    "Gleaner-Light was unable to load the file. The <a href=\"";
inline constexpr std::string_view kFileErrorLink = "\">file</a> ";
inline constexpr std::string_view kFileErrorTail = ". </body></html>";
inline constexpr std::string_view kFileNotFound = "was not found";
inline constexpr std::string_view kFileFailedToLoad = "failed to load";

inline constexpr std::string_view kExternalHead =
    "<html><title>External Link</title><body><h2>External Link</h2>"
    "In the Web properties for this brief entry, Gleaner-Light was instructed to not follow links "
    "which led to external sites. This link (<a href=\"";
inline constexpr std::string_view kExternalTail =
    "</a>) is external to the original page and, as such, was not followed. On future visits to "
    "this site, you may want to select \"Follow External Links\" in the Web Page "
    "Properties</body></html>";

// A secure page whose server's certificate failed verification: the address as link and text,
// then OpenSSL's reason.
inline constexpr std::string_view kRefusedCertificateHead =
    "<html><title>Unverified Secure Page</title><body><h2>Unverified Secure Page</h2>"
    "Gleaner-Light did not load the secure Web page located at <a href=\"";
inline constexpr std::string_view kRefusedCertificateReason =
    "</a>.<p>The server's certificate could not be verified: ";
inline constexpr std::string_view kRefusedCertificateTail =
    ".<p>Gleaner-Light reads secure pages only from servers that prove who they are, so nothing "
    "was requested from this one.</body></html>";

// An address of a scheme that is not fetched. A run's special page shows the head, the link and
// the tail between its navigation header and footer; a fetch's answer closes the page itself.
inline constexpr std::string_view kThisLinkOpen = "</h2>This link (<a href=\"";
inline constexpr std::string_view kThisLinkClose = "</a>)";
inline constexpr std::string_view kMailLinkHead =
    "<html><body><title>Mail Link</title><h2>Mail Link.";
inline constexpr std::string_view kMailLinkTail =
    " is a mail link. If your browser has mail client support,you can click on the link to send "
    "mail.";
inline constexpr std::string_view kUnsupportedHead =
    "<html><body><title>Unsupported Protocol</title><h2>Gleaner-Light does not support this "
    "protocol.";
inline constexpr std::string_view kUnsupportedTail = " is not an HTTP Web link.";
inline constexpr std::string_view kPageClose = "</body></html>";

// Status pages: the inaccessible head, a lead, the address as link and as text, then a tail.
inline constexpr std::string_view kAttemptedLead =
    "Gleaner-Light attempted to load the Web page located at <a href=\"";
inline constexpr std::string_view kLoadedLead =
    "Gleaner-Light loaded the Web page located at <a href=\"";
inline constexpr std::string_view kAcceptedTail =
    "</a>.<p>The server accepted this request but chose not to respond.</body></html>";
inline constexpr std::string_view kEmptyTail =
    "</a>.<p>This page, however, is empty; the server returned no content.</body></html>";
inline constexpr std::string_view kNoResponseTail =
    "</a>.<p>The server did not respond to the request.</body></html>";
inline constexpr std::string_view kRefusedTail =
    "</a>.<p>The server understood the request but refused to fulfill it. This response is often "
    "used when the server does not wish to reveal exactly why the request was refused."
    "</body></html>";
inline constexpr std::string_view kNotFoundTail =
    "</a>.<p>The server was unable to find or deliver the requested page.</body></html>";
inline constexpr std::string_view kNotFunctionalTail =
    "</a>.<p>The server is not fully functional and was unable to respond to the request."
    "</body></html>";
inline constexpr std::string_view kUnableToRespondTail =
    "</a>.<p>The server was unable to respond to the request.</body></html>";

}  // namespace gl::texts
