#include "browser/browse_to.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <atomic>
#include <string>
#include <vector>

#include "support/loopback_server.h"
#include "support/raw_listener.h"
#include "support/scoped_time_scale.h"
#include "support/temp_folder.h"

// Browser control against a fake remote-debugging endpoint on loopback, and against a stub
// browser program that reports the arguments it was started with.

namespace gl::test {
namespace {

constexpr std::string_view kListed = R"([
    {"id": "W", "type": "service_worker", "url": "http://w.test/sw.js", "title": "sw"},
    {"id": "P1", "type": "page", "url": "http://a.test/news.htm", "title": "Netscape - [News]"},
    {"id": "P2", "type": "page", "url": "http://b.test/", "title": "B"}])";

// The endpoint keeps every connection open after its answer, as a browser's does.
Answer EndpointAnswer(std::string_view body) {
  Answer answer = PageAnswer(body, "application/json; charset=UTF-8");
  answer.HoldOpen = true;
  return answer;
}

class RecordingBrowserHost : public BrowserHost {
 public:
  void SetStatusText(const std::string& text) override { Statuses.push_back(text); }
  void ShowMessage(const UserMessage& message) override {
    Messages.push_back(message.Title + ": " + message.Text);
  }

  std::vector<std::string> Statuses;
  std::vector<std::string> Messages;
};

class BrowseToTest : public ::testing::Test {
 protected:
  BrowseToTest() {
    settings_.BrowserPath = (folder_ / "browser.sh").string();
    settings_.BrowserService = "browser";
    settings_.BrowserDebuggingPort = endpoint_.Port();
  }

  // The browser program: it writes its arguments, each in brackets, into a named pipe, which the
  // test reads once the program has written.
  std::string StartedArguments(const std::string& address) {
    const std::filesystem::path fifo = folder_ / "report";
    EXPECT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    WriteFileBytes(
        settings_.BrowserPath,
        "#!/bin/sh\nfor a in \"$@\"; do printf '[%s]' \"$a\"; done > '" + fifo.string() + "'\n");
    std::filesystem::permissions(settings_.BrowserPath, std::filesystem::perms::owner_all);
    const BrowseResult result = BrowseTo(address, settings_, host_);
    if (result.Outcome != BrowseOutcome::ProgramStarted) {
      ADD_FAILURE() << "not started: " << result.Message;
      return {};
    }
    return ReadFileBytes(fifo);
  }

  std::string Request(std::string_view line) const {
    return std::string(line) + " HTTP/1.1\r\nHost: 127.0.0.1:" + std::to_string(endpoint_.Port()) +
           "\r\nUser-Agent: Gleaner-Light 1.0\r\n\r\n";
  }

  ScopedTimeScale timeScale_{"0.01"};
  TempFolder folder_;
  // Once a page is opened it is listed, though not first: activating must find it by its id.
  std::atomic<bool> opened_{false};
  LoopbackServer endpoint_{[this](const test::Request& request) {
    const std::string target = request.Target();
    if (target == "/json/list") {
      return EndpointAnswer(opened_ ? R"([{"id": "P1"}, {"id": "NEW"}])" : kListed);
    }
    if (target.starts_with("/json/new?")) {
      opened_ = true;
      return EndpointAnswer(R"({"id": "NEW", "type": "page"})");
    }
    if (target.starts_with("/json/activate/")) return EndpointAnswer("Target activated");
    return StatusAnswer(404);
  }};
  Settings settings_;
  RecordingBrowserHost host_;
};

TEST_F(BrowseToTest, ARunningBrowserOpensTheAddressAndShowsThatPage) {
  const std::string address = "file:///home/ann/a b/Brief0.htm#top";
  EXPECT_EQ(BrowseTo(address, settings_, host_).Outcome, BrowseOutcome::SentToBrowser);

  std::vector<std::string> requests;
  for (const test::Request& request : endpoint_.Requests())
    requests.push_back(request.Bytes);
  EXPECT_EQ(requests, (std::vector<std::string>{
                          Request("GET /json/list"),
                          Request("PUT /json/new?file:///home/ann/a%20b/Brief0.htm%23top"),
                          Request("GET /json/list"),
                          Request("GET /json/activate/NEW"),
                      }));
  EXPECT_EQ(host_.Statuses,
            (std::vector<std::string>{" Loading \"" + address + "\"", " Gleaner-Light"}));
  EXPECT_TRUE(host_.Messages.empty());
}

TEST_F(BrowseToTest, TheCurrentPageIsTheMostRecentlyUsedOne) {
  const std::optional<BrowserPage> page = CurrentBrowserPage(settings_);
  ASSERT_TRUE(page);
  EXPECT_EQ(page->Address, "http://a.test/news.htm");
  EXPECT_EQ(page->Title, "News");  // the title rule for "Netscape - [...]"

  settings_.BrowserDebuggingPort = ClosedLoopbackPort();
  EXPECT_FALSE(CurrentBrowserPage(settings_));
}

// No shell: blanks, quotes and ";" reach the program in one argument, and nothing else runs.
TEST_F(BrowseToTest, WithoutAnEndpointTheProgramIsStartedWithTheAddressAlone) {
  settings_.BrowserDebuggingPort = ClosedLoopbackPort();
  const std::string address = R"(file:///tmp/a b/"x";touch ran.htm)";
  EXPECT_EQ(StartedArguments(address), "[" + address + "]");
  EXPECT_EQ(host_.Statuses.back(), " Gleaner-Light");
}

// An address longer than the item buffer holds is not cut into another one: the endpoint hears
// nothing and the program gets the address whole.
TEST_F(BrowseToTest, AnAddressTooLongForTheItemGoesToTheProgramWhole) {
  const std::string address = "http://a.test/" + std::string(5000, 'x');
  EXPECT_EQ(StartedArguments(address), "[" + address + "]");
  EXPECT_EQ(endpoint_.RequestCount(), 0u);
}

TEST_F(BrowseToTest, WithoutABrowserOnlyTheMessageIsShown) {
  for (const bool pathSet : {false, true}) {
    SCOPED_TRACE(pathSet);
    Settings settings = settings_;
    (pathSet ? settings.BrowserService : settings.BrowserPath).clear();
    RecordingBrowserHost host;
    EXPECT_EQ(BrowseTo("http://a.test/", settings, host).Outcome, BrowseOutcome::BrowserNotSet);
    EXPECT_EQ(host.Messages,
              std::vector<std::string>{"Browser Not Set: Please set the Browser in the Preferences "
                                       "dialog box (under the Edit menu)."});
    EXPECT_TRUE(host.Statuses.empty());
  }
  EXPECT_EQ(endpoint_.RequestCount(), 0u);
}

}  // namespace
}  // namespace gl::test
