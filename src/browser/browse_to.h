#pragma once

#include <optional>
#include <string>

#include "browser/browser_items.h"
#include "core/settings.h"
#include "core/user_message.h"

// Showing pages in the user's browser and reading the page it shows, over conversations with
// the browser of the settings (conversation.h).

namespace gl {

// What browser control shows in the window that uses it.
class BrowserHost {
 public:
  virtual ~BrowserHost() = default;
  // Puts the text into the main window's status bar and repaints it at once.
  virtual void SetStatusText(const std::string& text) = 0;
  // An OK message box.
  virtual void ShowMessage(const UserMessage& message) = 0;
};

enum class BrowseOutcome {
  BrowserNotSet,      // the "Browser Not Set" message was shown
  SentToBrowser,      // the running browser was asked to open and show the page
  ProgramStarted,     // no browser answered: the program was started with the address
  ProgramNotStarted,  // ... and could not be started
};

struct BrowseResult {
  BrowseOutcome Outcome = BrowseOutcome::BrowserNotSet;
  std::string Message;  // why the program could not be started
};

// Shows `address` in the browser. Without a browser path or service name the host shows "Browser
// Not Set" and nothing else happens. Otherwise the status bar reads " Loading " and the quoted
// address while the running browser is asked to open the address and come to the front; when
// no browser answers, or the address is too long for an item, the browser program is started
// with the address as its only argument (never through a shell). The status bar then reads
// " Gleaner-Light". A program that does not start shows no message; the result tells why.
BrowseResult BrowseTo(const std::string& address, const Settings& settings, BrowserHost& host);

// The page that the running browser shows, from its window information; none when no browser
// answers, its answer is empty, or the address in it has no end.
std::optional<BrowserPage> CurrentBrowserPage(const Settings& settings);

}  // namespace gl
