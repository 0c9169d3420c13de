#include "browser/browse_to.h"

#include <chrono>

#include "browser/internal/conversation.h"
#include "browser/internal/texts.h"
#include "net/texts.h"
#include "platform/program_start.h"

namespace gl {
namespace {

constexpr std::chrono::milliseconds kBrowseTimeout{5000};
constexpr std::chrono::milliseconds kWindowInfoTimeout{2000};

// Opens the address and activates the browser; false when no browser serves the open topic.
bool SendToBrowser(const std::string& item, const Settings& settings) {
  ConversationClient client(settings.BrowserDebuggingPort);
  std::optional<Conversation> open = client.Connect(settings.BrowserService, topics::kOpenURL);
  if (!open) return false;
  // The browser's answers tell nothing the program acts on.
  static_cast<void>(open->Request(item, kBrowseTimeout));
  if (std::optional<Conversation> activate =
          client.Connect(settings.BrowserService, topics::kActivate)) {
    static_cast<void>(activate->Request(kActivateItem, kBrowseTimeout));
  }
  return true;
}

}  // namespace

BrowseResult BrowseTo(const std::string& address, const Settings& settings, BrowserHost& host) {
  if (settings.BrowserService.empty() || settings.BrowserPath.empty()) {
    host.ShowMessage(
        {std::string(texts::kBrowserNotSetTitle), std::string(texts::kBrowserNotSetText)});
    return {BrowseOutcome::BrowserNotSet, {}};
  }
  host.SetStatusText(std::string(texts::kLoadingStatus) + '"' + address + '"');

  BrowseResult result{BrowseOutcome::SentToBrowser, {}};
  // An address too long for the item is not cut into another address: the program gets it whole.
  const std::optional<std::string> item = OpenURLItem(address);
  if (!item || !SendToBrowser(*item, settings)) {
    const ProgramStartResult started = StartProgram(settings.BrowserPath, {address});
    result = started.Started ? BrowseResult{BrowseOutcome::ProgramStarted, {}}
                             : BrowseResult{BrowseOutcome::ProgramNotStarted, started.Message};
  }
  host.SetStatusText(std::string(texts::kIdleStatus));
  return result;
}

std::optional<BrowserPage> CurrentBrowserPage(const Settings& settings) {
  ConversationClient client(settings.BrowserDebuggingPort);
  std::optional<Conversation> conversation =
      client.Connect(settings.BrowserService, topics::kGetWindowInfo);
  if (!conversation) return std::nullopt;
  const std::optional<std::string> answer =
      conversation->Request(kWindowInfoItem, kWindowInfoTimeout);
  if (!answer || answer->empty()) return std::nullopt;
  return ParseWindowInfo(*answer);
}

}  // namespace gl
