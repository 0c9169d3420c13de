#include "net/generated_pages.h"

#include <initializer_list>
#include <string>

#include "net/texts.h"
#include "platform/percent_encode.h"

namespace gl {
namespace {

// User names and passwords are shown as text, so markup in them is escaped.
std::string TextForPage(std::string_view text) {
  std::string safe;
  safe.reserve(text.size());
  for (char byte : text) {
    switch (byte) {
      case '&':
        safe += "&amp;";
        break;
      case '<':
        safe += "&lt;";
        break;
      case '>':
        safe += "&gt;";
        break;
      case '"':
        safe += "&quot;";
        break;
      default:
        safe += byte;
    }
  }
  return safe;
}

void WritePage(MemoryStream& stream, std::string_view statusLine,
               std::initializer_list<std::string_view> html) {
  std::string& bytes = stream.Bytes();
  bytes.clear();
  bytes += statusLine;
  bytes += "\r\n\r\n";
  for (std::string_view part : html)
    bytes += part;
  bytes += '\0';
  stream.Seek(bytes.size());
}

std::string_view StatusTail(StatusPage page) {
  switch (page) {
    case StatusPage::Accepted:
      return texts::kAcceptedTail;
    case StatusPage::Empty:
      return texts::kEmptyTail;
    case StatusPage::NoResponse:
      return texts::kNoResponseTail;
    case StatusPage::Refused:
      return texts::kRefusedTail;
    case StatusPage::NotFound:
      return texts::kNotFoundTail;
    case StatusPage::NotFunctional:
      return texts::kNotFunctionalTail;
    case StatusPage::UnableToRespond:
      break;
  }
  return texts::kUnableToRespondTail;
}

}  // namespace

std::string AddressForPage(std::string_view display) {
  return PercentEncode(
      display, [](unsigned char byte) { return byte != '"' && byte != '<' && byte != '>'; });
}

void WriteSkippedPage(MemoryStream& stream, std::string_view display) {
  WritePage(stream, texts::kStatusOk,
            {texts::kSkippedHead, AddressForPage(display), texts::kSkippedTail});
}

void WriteUnableToConnectPage(MemoryStream& stream, std::string_view display) {
  WritePage(stream, texts::kStatusFailed,
            {texts::kInaccessibleHead, texts::kUnableToConnectLead, AddressForPage(display),
             texts::kUnableToConnectTail});
}

void WriteBusyNetworkPage(MemoryStream& stream, std::string_view display) {
  WritePage(stream, texts::kStatusFailed,
            {texts::kInaccessibleHead, texts::kBusyNetworkLead, AddressForPage(display),
             texts::kBusyNetworkTail});
}

void WriteCredentialsPage(MemoryStream& stream, std::string_view display, std::string_view userName,
                          std::string_view password) {
  const std::string address = AddressForPage(display);
  const std::string user =
      userName.empty() ? std::string(texts::kNoneEntered) : TextForPage(userName);
  const std::string pass =
      password.empty() ? std::string(texts::kNoneEntered) : TextForPage(password);
  WritePage(stream, texts::kStatusOk,
            {texts::kInaccessibleHead, texts::kCredentialsLead, address, texts::kLinkClose, address,
             texts::kCredentialsUserName, user, texts::kCredentialsPassword, pass,
             texts::kCredentialsTail});
}

void WriteExternalLinkPage(MemoryStream& stream, std::string_view display) {
  const std::string address = AddressForPage(display);
  WritePage(stream, texts::kStatusOk,
            {texts::kExternalHead, address, texts::kLinkClose, address, texts::kExternalTail});
}

void WriteRefusedCertificatePage(MemoryStream& stream, std::string_view display,
                                 std::string_view reason) {
  const std::string address = AddressForPage(display);
  WritePage(
      stream, texts::kStatusFailed,
      {texts::kRefusedCertificateHead, address, texts::kLinkClose, address,
       texts::kRefusedCertificateReason, TextForPage(reason), texts::kRefusedCertificateTail});
}

std::string ThisLinkText(std::string_view address) {
  const std::string safe = AddressForPage(address);
  std::string text(texts::kThisLinkOpen);
  text += safe;
  text += texts::kLinkClose;
  text += safe;
  text += texts::kThisLinkClose;
  return text;
}

std::string OtherSchemeText(std::string_view address, bool mail) {
  return std::string(mail ? texts::kMailLinkHead : texts::kUnsupportedHead) +
         ThisLinkText(address) + std::string(mail ? texts::kMailLinkTail : texts::kUnsupportedTail);
}

void WriteOtherSchemePage(MemoryStream& stream, std::string_view display, bool mail) {
  WritePage(stream, texts::kStatusOk, {OtherSchemeText(display, mail), texts::kPageClose});
}

void WriteFileErrorPage(MemoryStream& stream, std::string_view display, FileError error) {
  WritePage(stream, texts::kStatusFailed,
            {texts::kInaccessibleHead, texts::kFileErrorLead, AddressForPage(display),
             texts::kFileErrorLink,
             error == FileError::NotFound ? texts::kFileNotFound : texts::kFileFailedToLoad,
             texts::kFileErrorTail});
}

void WriteStatusPage(MemoryStream& stream, StatusPage page, std::string_view display) {
  const std::string address = AddressForPage(display);
  WritePage(stream, texts::kStatusFailed,
            {texts::kInaccessibleHead,
             page == StatusPage::Empty ? texts::kLoadedLead : texts::kAttemptedLead, address,
             texts::kLinkClose, address, StatusTail(page)});
}

}  // namespace gl
