#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "browser/browse_to.h"
#include "browser/browser_items.h"
#include "browser/help_pages.h"
#include "browser/internal/endpoint_pages.h"
#include "platform/cancellation.h"
#include "platform/file_address.h"
#include "support/loopback_server.h"
#include "support/scoped_environment.h"
#include "support/temp_folder.h"

namespace gl::test {
namespace {

using Texts = std::vector<std::string>;

struct RecordingBrowserHost : BrowserHost {
  void SetStatusText(const std::string& text) override { Shown.push_back(text); }
  void ShowMessage(const UserMessage& message) override {
    Shown.push_back(message.Title + ": " + message.Text);
  }
  Texts Shown;
};

// The browser program writes its arguments into a named pipe; reading it waits until it has.
TEST(BrowseToTest, ARunningBrowserShowsTheAddressElseTheProgramIsStartedWithIt) {
  const ScopedTimeScale timeScale("0.01");
  const TempFolder folder;
  const std::string fifo = (folder / "report").string();
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  // A program started when none should have been waits for a reader: let it write and end.
  const std::unique_ptr<const char, void (*)(const char*)> unblock(
      fifo.c_str(), [](const char* path) { close(open(path, O_RDONLY | O_NONBLOCK)); });
  LoopbackServer endpoint;
  Settings settings;
  settings.BrowserPath = (folder / "browser.sh").string();
  settings.BrowserService = "browser";
  settings.BrowserDebuggingPort = endpoint.Port();
  WriteFileBytes(settings.BrowserPath,
                 "#!/bin/sh\nfor a in \"$@\"; do printf '[%s]' \"$a\"; done > '" + fifo + "'\n");
  std::filesystem::permissions(settings.BrowserPath, std::filesystem::perms::owner_all);
  RecordingBrowserHost host;
  const char* list = R"([{"type": "page", "url": "http://no.id/"}, "not a target", {"id": 5},
      {"id": "W", "type": "service_worker", "url": "http://w.test/sw.js", "title": "sw"},
      {"id": "P1", "type": "page", "url": "http://a.test/n.htm", "title": "Netscape - [News]"},
      {"id": "P2", "type": "page", "url": "http://b.test/", "title": 7}])";
  // An opened page is listed, though not first; connections stay open, as a browser's do.
  for (const char* body :
       {list, list, R"({"id": "NEW"})", R"([{"id": "P1"}, {"id": "NEW"}])", "Target activated"})
    endpoint.Enqueue(
        {.Bytes = PageAnswer(body, "application/json; charset=UTF-8").Bytes, .HoldOpen = true});
  // A run's entry being skipped meanwhile does not cut the browser's calls short.
  RequestSkip();
  const std::optional<BrowserPage> page = CurrentBrowserPage(settings);
  const std::string address = "file:///home/ann/a b/Brief0.htm#top";
  const BrowseOutcome outcome = BrowseTo(address, settings, host).Outcome;
  ClearSkip();
  ASSERT_TRUE(page);
  EXPECT_EQ(std::tie(page->Address, page->Title), std::tie("http://a.test/n.htm", "News"));
  EXPECT_EQ(outcome, BrowseOutcome::SentToBrowser);
  Texts requests;
  for (const test::Request& request : endpoint.Requests())
    requests.push_back(request.Bytes);
  const std::string end =
      " HTTP/1.1\r\nHost: " + endpoint.HostPort() + "\r\nUser-Agent: Gleaner-Light 1.0\r\n\r\n";
  EXPECT_EQ(requests, (Texts{"GET /json/list" + end, "GET /json/list" + end,
                             "PUT /json/new?file:///home/ann/a%20b/Brief0.htm%23top" + end,
                             "GET /json/list" + end, "GET /json/activate/NEW" + end}));
  EXPECT_EQ(host.Shown, (Texts{" Loading \"" + address + "\"", " Gleaner-Light"}));

  for (const bool tooLong : {false, true}) {
    SCOPED_TRACE(tooLong);
    const std::string other = tooLong ? "http://a.test/" + std::string(5000, 'x')
                                      : R"(file:///tmp/a b/"x";touch ran.htm)";
    settings.BrowserDebuggingPort = tooLong ? endpoint.Port() : ClosedLoopbackPort();
    ASSERT_EQ(BrowseTo(other, settings, host).Outcome, BrowseOutcome::ProgramStarted);
    EXPECT_EQ(ReadFileBytes(fifo), "[" + other + "]");
    EXPECT_EQ(host.Shown.back(), " Gleaner-Light");
  }
  for (std::string Settings::*unset : {&Settings::BrowserPath, &Settings::BrowserService}) {
    Settings partial = settings;
    (partial.*unset).clear();
    EXPECT_EQ(BrowseTo("http://a.test/", partial, host).Outcome, BrowseOutcome::BrowserNotSet);
    EXPECT_EQ(host.Shown.back(),
              "Browser Not Set: Please set the Browser in the Preferences "
              "dialog box (under the Edit menu).");
  }
  EXPECT_EQ(endpoint.RequestCount(), 5u);
}

// The open item holds the address, its quotes, the suffix and a terminator in 5000 bytes.
TEST(BrowserItemsTest, AnswersItemsAndHelpAddressesFollowTheirRules) {
  // Only 4999 bytes count: after a 4997-byte address the closing quote is the last of them.
  const std::string a4996(4996, 'a');
  const std::pair<std::string, std::string> rows[] = {
      {R"("http://a.test/?q=a,b","T")", "http://a.test/?q=a,b|T"},
      {"http://a.test/x,Home page", "http://a.test/x|Home page"},
      {R"(http://a.test/x,"Home")", "http://a.test/x|Home"},
      {R"("http://a.test/","Netscape - [Home]")", "http://a.test/|Home"},
      {R"("http://a.test/","My Netscape")", "http://a.test/|"},
      {R"("","")", "|"},
      {R"("http://a.test/x")", "-"},
      {"http://a.test/x", "-"},
      {"\"" + a4996 + "\",\"T\"", a4996 + "|"},
      {"\"" + a4996 + "a\",\"T\"", "-"},
      {WindowInfoAnswer({"http://a.test/", "Q \"a\", b"}), "http://a.test/|Q \"a\", b"}};
  for (const auto& [answer, expected] : rows) {
    const std::optional<BrowserPage> page = ParseWindowInfo(answer);
    EXPECT_EQ(page ? page->Address + "|" + page->Title : "-", expected) << answer.substr(0, 60);
  }

  const std::string fits = R"(http://a.test/"q" x;y)" + std::string(4966, 'a');
  EXPECT_EQ(OpenURLItem(fits), "\"" + fits + "\",,-1,0,,,,");
  EXPECT_EQ(OpenURLItem(fits + "a"), std::nullopt);
  EXPECT_EQ(AddressOfOpenURLItem(*OpenURLItem(fits)), fits);
  EXPECT_EQ(AddressOfOpenURLItem("http://a.test/,,-1,0"), std::nullopt);
  EXPECT_EQ(AddressOfOpenURLItem("\"http://a.test/"), std::nullopt);
  for (const char* body : {"", "[", R"({"id": "P1"})", "Target activated"})
    EXPECT_FALSE(ParsePageList(body)) << body;

  // Every help context opens a page at an anchor it has; one without a page opens the contents.
  int anchored = 0;
  for (int context = 0; context <= 40; ++context) {
    const std::string address = HelpAddress(context, GL_RESOURCES_FOLDER);
    const std::size_t hash = address.find('#');
    const std::string page = ReadFileBytes(PathFromFileAddress(address.substr(0, hash)));
    EXPECT_NE(page.find("</html>"), std::string::npos) << context;
    if (hash == std::string::npos) continue;
    ++anchored;
    EXPECT_NE(page.find("id=\"" + address.substr(hash + 1) + "\""), std::string::npos) << context;
  }
  EXPECT_EQ(anchored, 9);  // 6, 12, 13, 22 to 24 and 36 to 38
  EXPECT_EQ(HelpAddress(help_context::kEntryRetrieval, "/opt/gl"),
            "file:///opt/gl/help/entry-setup.html#retrieval");
}

}  // namespace
}  // namespace gl::test
