#include "net/fetch.h"

#include "core/byte_text.h"
#include "core/settings_io.h"
#include "net/address_forms.h"
#include "net/answer.h"
#include "net/generated_pages.h"
#include "net/internal/local_file.h"
#include "net/internal/request.h"
#include "platform/cancellation.h"

namespace gl {
namespace {

// Redirects followed in one fetch; one more ends it, so a loop of redirects cannot run forever.
constexpr int kMaxRedirects = 10;

// Each retry waits this much longer for the first data.
constexpr int kAttemptLevelStep = 5;

bool IsAcceptedStatus(int code) {
  switch (code) {
    case 200:
    case 203:
    case 300:
    case 301:
    case 302:
    case 303:
    case 307:
    case 308:
    case 400:
    case 401:
    case 403:
    case 404:
    case 501:
      return true;
    default:
      return false;
  }
}

// 307 and 308 come from HTTP/1.1 servers, which send them to HTTP/1.0 clients too; they move a
// page like 301 to 303 do.
bool IsRedirect(int code) {
  return (code >= 300 && code <= 303) || code == 307 || code == 308;
}

// Host (in lower case) and port of an address; a secure page's port is 443 unless it names one.
HostPort ServerOf(std::string_view address) {
  const std::uint16_t defaultPort =
      KindOfAddress(address) == AddressKind::Secure ? kHttpsPort : kHttpPort;
  HostPort server = SplitEndpoint(SplitHostAndPath(StripScheme(address)).Host, defaultPort);
  server.Host = LowerAscii(server.Host);
  return server;
}

// The attempt loop of one HTTP fetch.
class HttpFetch {
 public:
  HttpFetch(std::string& address, const FetchOptions& options, const Settings& settings,
            ProgressSink& progress, std::string display, FetchResult& result)
      : address_(address),
        options_(options),
        retryCount_(settings.RetryCount),
        securePages_(settings.SecurePages),
        proxy_{settings.ProxyServer, settings.ProxyPort},
        progress_(progress),
        display_(std::move(display)),
        result_(result),
        credentialsServer_(ServerOf(options.CredentialsAddress.empty()
                                        ? std::string_view(address)
                                        : std::string_view(options.CredentialsAddress))) {
    const bool useDefaults = options.UserName.empty() && options.Password.empty();
    userName_ = useDefaults ? settings.DefaultUserName : options.UserName;
    password_ = useDefaults ? settings.DefaultPassword : options.Password;
    sameSite_ = IsSameSite(address_, options_.BaseAddress, bareAddress_, bareBaseAddress_);
    secure_ = KindOfAddress(address_) == AddressKind::Secure;
  }

  void Run() {
    do {
      ++attempts_;
      if (!Pass()) return;
    } while (!done_ && attempts_ < retryCount_);
  }

 private:
  // One attempt; false when the fetch ends at once.
  bool Pass() {
    MemoryStream& stream = result_.Stream;
    if (StopOrSkipRequested()) return Skipped();
    stream.Clear();
    if (options_.StayLocal && !sameSite_) {
      WriteExternalLinkPage(stream, display_);
      result_.PageOk = false;
      result_.External = true;
      return false;
    }

    TransferOptions transfer{display_, options_.AcceptImages, options_.AcceptOtherFiles,
                             attemptLevel_};
    SecureExchange secure{SplitHostAndPath(bareAddress_).Host, !proxy_.Host.empty(), {}};
    if (secure_) transfer.Secure = &secure;
    const bool withCredentials = credentialsMode_ && CredentialsBelongHere();
    const bool answered =
        withCredentials
            ? SendAuthRequest(bareAddress_, userName_, password_, proxy_, transfer, stream,
                              progress_, result_.NonText)
            : SendPlainRequest(bareAddress_, proxy_, transfer, stream, progress_, result_.NonText);
    if (StopOrSkipRequested()) return Skipped();
    if (!answered) {
      // A refused certificate has its own page already.
      if (secure.Refusal.empty() && withCredentials) {
        WriteCredentialsPage(stream, display_, userName_, password_);
      } else if (secure.Refusal.empty()) {
        WriteUnableToConnectPage(stream, display_);
      }
      result_.PageOk = false;
      return false;
    }
    if (stream.Size() < 2) {
      WriteUnableToConnectPage(stream, display_);
      result_.PageOk = false;
      done_ = true;
      return true;
    }

    // An answer without a status line is tried again at the same level.
    const std::optional<int> code = FindStatusCode(stream.View());
    if (!code) return true;
    if (!IsAcceptedStatus(*code) && attempts_ < retryCount_) {
      attemptLevel_ += kAttemptLevelStep;
      return true;
    }
    ActOnStatus(*code);
    return true;
  }

  void ActOnStatus(int code) {
    if (code == 200 || code == 203) {
      result_.PageOk = true;
      done_ = true;
      return;
    }
    if (IsRedirect(code)) {
      FollowRedirect();
      return;
    }
    result_.PageOk = false;
    switch (code) {
      case 401:
        // Another server than the credentials' own gets none: its answer stays, as it would
        // without credentials.
        if (!CredentialsBelongHere()) {
          done_ = true;
          return;
        }
        // The first 401 switches to credentials without using up an attempt; later ones count
        // until the attempts run out, and the server's answer stays.
        if (!credentialsMode_) {
          --attempts_;
          credentialsMode_ = true;
        }
        return;
      case 407:
        done_ = true;
        return;
      case 202:
        return Status(StatusPage::Accepted);
      case 204:
        return Status(StatusPage::Empty);
      case 400:
        return Status(StatusPage::NoResponse);
      case 403:
        return Status(StatusPage::Refused);
      case 404:
        return Status(StatusPage::NotFound);
      case 501:
        return Status(StatusPage::NotFunctional);
      default:
        return Status(StatusPage::UnableToRespond);
    }
  }

  // Redirects do not use up an attempt. The Location is read against the address that was
  // requested; the display address keeps naming the first address.
  void FollowRedirect() {
    --attempts_;
    const std::optional<std::string_view> location = FindLocation(result_.Stream.View());
    if (!location) {
      result_.LocationMissing = true;
      result_.PageOk = false;
      done_ = true;
      return;
    }
    if (location->empty()) return Status(StatusPage::NotFound);
    // Only the web (and secure pages, when they are on) is followed; a Location of another scheme
    // (a local file ...) is explained like such a link, never asked for over plain HTTP.
    const AddressKind kind = KindOfAddress(*location);
    const bool secure = kind == AddressKind::Secure && securePages_;
    if (kind != AddressKind::Web && !secure) {
      WriteOtherSchemePage(result_.Stream, *location, kind == AddressKind::Mail);
      result_.PageOk = false;
      done_ = true;
      return;
    }
    if (++redirects_ > kMaxRedirects) return Status(StatusPage::UnableToRespond);
    // A Location without a scheme stays with the scheme of the page that sent it.
    if (StripScheme(*location).size() != location->size()) secure_ = secure;
    address_ = ResolveLocation(bareAddress_, *location);
    if (secure_) address_.insert(0, kSecureScheme);
    sameSite_ = IsSameSite(address_, options_.BaseAddress, bareAddress_, bareBaseAddress_);
    result_.Stream.Clear();
  }

  void Status(StatusPage page) {
    WriteStatusPage(result_.Stream, page, display_);
    result_.PageOk = false;
    done_ = true;
  }

  // Credentials go only to the server they belong to.
  bool CredentialsBelongHere() const {
    const HostPort here = ServerOf(address_);
    return !here.Host.empty() && here.Host == credentialsServer_.Host &&
           here.Port == credentialsServer_.Port;
  }

  bool Skipped() {
    WriteSkippedPage(result_.Stream, display_);
    result_.PageOk = false;
    return false;
  }

  std::string& address_;
  const FetchOptions& options_;
  const int retryCount_;
  const bool securePages_;
  const Proxy proxy_;
  ProgressSink& progress_;
  const std::string display_;
  FetchResult& result_;
  const HostPort credentialsServer_;
  std::string userName_;
  std::string password_;
  std::string bareAddress_;
  std::string bareBaseAddress_;
  bool sameSite_ = false;
  bool secure_ = false;  // the address being fetched is a secure page
  int attempts_ = 0;
  int attemptLevel_ = kAttemptLevelStep;
  bool credentialsMode_ = false;
  bool done_ = false;
  int redirects_ = 0;
};

}  // namespace

FetchResult FetchPage(std::string& address, const FetchOptions& options, const Settings& settings,
                      ProgressSink& progress) {
  FetchResult result;
  std::string display = NormaliseDisplayAddress(address);
  switch (const AddressKind kind = KindOfAddress(address)) {
    case AddressKind::Local:
      LoadLocalFile(address, display, result);
      return result;
    case AddressKind::Secure:
      if (settings.SecurePages) break;
      [[fallthrough]];
    case AddressKind::Mail:
    case AddressKind::Other:
      WriteOtherSchemePage(result.Stream, display, kind == AddressKind::Mail);
      return result;
    case AddressKind::Web:
      break;
  }
  result.PageOk = true;  // kept by an answer without any status line
  HttpFetch(address, options, settings, progress, std::move(display), result).Run();
  return result;
}

bool WaitsForSecurePages(std::string_view url) {
  return KindOfAddress(url) == AddressKind::Secure && !LoadSettings().SecurePages;
}

}  // namespace gl
