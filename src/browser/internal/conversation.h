#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "browser/internal/debugging_endpoint.h"

// Conversations with the user's browser: the program connects to the browser's service and a
// topic, then requests items of that topic with a time-out (the item texts are in
// browser_items.h). The browser is reached over its remote-debugging endpoint on 127.0.0.1; when
// no endpoint answers there, no conversation is made, as when no browser serves the topic.

namespace gl {

class Conversation;

// The program's side of every conversation, made for the endpoint at one port.
class ConversationClient {
 public:
  explicit ConversationClient(int debuggingPort) : endpoint_(debuggingPort) {}

  // A conversation about one of the three topics. `service` names the browser; the endpoint
  // answers for whichever browser listens at the port. None for another topic or when the
  // endpoint does not list its pages.
  std::optional<Conversation> Connect(std::string_view service, std::string_view topic);

 private:
  friend class Conversation;

  DebuggingEndpoint endpoint_;
  std::string openedPageId_;  // the page the last open request made: the window "-1" activates
};

class Conversation {
 public:
  // The browser's answer to `item`; none when it did not answer within `timeout` or does not
  // know the item. WWW_OpenURL opens the item's address in a new page, WWW_Activate with window
  // "-1" brings the last opened page (else the most recently used) to the front, and
  // WWW_GetWindowInfo with window "-1" answers the most recently used page's window information.
  std::optional<std::string> Request(std::string_view item, std::chrono::milliseconds timeout);

 private:
  friend class ConversationClient;
  Conversation(ConversationClient& client, std::string_view topic, std::vector<EndpointPage> pages)
      : client_(client), topic_(topic), pages_(std::move(pages)) {}

  std::optional<std::string> Open(std::string_view item, std::chrono::milliseconds timeout);
  std::optional<std::string> Activate(std::chrono::milliseconds timeout);
  std::optional<std::string> WindowInfo() const;

  ConversationClient& client_;
  std::string topic_;
  std::vector<EndpointPage> pages_;  // as the endpoint listed them when the conversation began
};

}  // namespace gl
