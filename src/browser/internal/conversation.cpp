#include "browser/internal/conversation.h"

#include <algorithm>

#include "browser/browser_items.h"

namespace gl {
namespace {

// How long connecting waits for the endpoint's list of pages.
constexpr std::chrono::milliseconds kConnectWait{2000};

constexpr std::string_view kRecentWindow = "-1";

bool IsTopic(std::string_view topic) {
  return topic == topics::kOpenURL || topic == topics::kActivate || topic == topics::kGetWindowInfo;
}

}  // namespace

std::optional<Conversation> ConversationClient::Connect(std::string_view /*service*/,
                                                        std::string_view topic) {
  if (!IsTopic(topic)) return std::nullopt;
  std::optional<std::vector<EndpointPage>> pages = endpoint_.ListPages(kConnectWait);
  if (!pages) return std::nullopt;
  return Conversation(*this, topic, std::move(*pages));
}

std::optional<std::string> Conversation::Request(std::string_view item,
                                                 std::chrono::milliseconds timeout) {
  if (topic_ == topics::kOpenURL) return Open(item, timeout);
  // The other two topics name a window first; the browser's windows are known only as "-1",
  // the most recent.
  if (item.substr(0, item.find(',')) != kRecentWindow) return std::nullopt;
  if (topic_ == topics::kActivate) return Activate(timeout);
  return WindowInfo();
}

std::optional<std::string> Conversation::Open(std::string_view item,
                                              std::chrono::milliseconds timeout) {
  const std::optional<std::string> address = AddressOfOpenURLItem(item);
  if (!address) return std::nullopt;
  const std::optional<EndpointPage> page = client_.endpoint_.OpenPage(*address, timeout);
  if (!page) return std::nullopt;
  client_.openedPageId_ = page->Id;
  return page->Id;
}

std::optional<std::string> Conversation::Activate(std::chrono::milliseconds timeout) {
  if (pages_.empty()) return std::nullopt;
  const bool openedIsListed =
      std::any_of(pages_.begin(), pages_.end(),
                  [this](const EndpointPage& page) { return page.Id == client_.openedPageId_; });
  const std::string& id = openedIsListed ? client_.openedPageId_ : pages_.front().Id;
  if (!client_.endpoint_.ActivatePage(id, timeout)) return std::nullopt;
  return id;
}

std::optional<std::string> Conversation::WindowInfo() const {
  if (pages_.empty()) return std::nullopt;
  return WindowInfoAnswer({pages_.front().Address, pages_.front().Title});
}

}  // namespace gl
