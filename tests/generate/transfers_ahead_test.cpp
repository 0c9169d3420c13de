#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <functional>
#include <random>
#include <string>
#include <thread>

#include "core/brief_file.h"
#include "generate/generate_fixture.h"
#include "platform/cancellation.h"

namespace gl::test {
namespace {

std::string PagePath(int page) {
  return page == 0 ? "/index.htm" : "/p/" + std::to_string(page) + ".htm";
}

class TransfersAheadTest : public GenerateTest {
 protected:
  // A tree of pages, three children each, with every kind of link; each after `delay(page, image)`.
  void ServeTree(int pages, const std::function<std::chrono::milliseconds(int, bool)>& delay) {
    for (int page = 0; page < pages; ++page) {
      const std::string n = std::to_string(page);
      std::string html = "<html><head><title>Page " + n + "</title></head><body>" +
                         "<img src=\"/logo.gif\"><img src=\"/i/" + n + ".gif\">" +
                         "<a href=\"/index.htm\">Home</a><a href=\"" + PagePath(page / 3) +
                         "#up\">Up</a><a href=\"" + PagePath(page + 1) + "\">Next</a>" +
                         "<a href=\"/missing.htm\">Gone</a><a href=\"/moved.htm\">Moved</a>" +
                         "<a href=\"/i/" + n + ".gif\">Picture</a>";
      for (int child = page * 3 + 1; child <= page * 3 + 3 && child < pages; ++child)
        html += "<a href=\"" + PagePath(child) + "\">Child</a>";
      Answer answer = PageAnswer(html + "</body></html>");
      answer.Delay = delay(page, false);
      Serve(PagePath(page), answer);
      Answer picture = PageAnswer(kGif + n, "image/gif");
      picture.Delay = delay(page, true);
      Serve("/i/" + n + ".gif", picture);
    }
    Serve("/logo.gif", PageAnswer(kGif, "image/gif"));
    Serve("/moved.htm", RedirectAnswer(302, "/p/1.htm"));
  }
};

TEST_F(TransfersAheadTest, AnyConnectionCountMakesOneArchiveAndStopOrSkipEndsEveryTransfer) {
  server_.ServeInParallel();
  std::mt19937 random(13);
  ServeTree(40, [&](int, bool) {
    return std::chrono::milliseconds(std::uniform_int_distribution(0, 4)(random));
  });
  std::string one;
  Texts oneRequests;
  for (const int connections : {1, 4, 16}) {
    SCOPED_TRACE(connections);
    StartOver();
    AddEntry(Address("/index.htm"), 4, "Tree");
    settings_.Connections = connections;
    const std::size_t earlier = server_.Requests().size();
    ASSERT_EQ(Generate().Outcome, RunOutcome::Completed);
    std::string archive;  // every file's name and bytes
    for (const std::string& name : FilesOf())
      archive += name + '\n' + RunFile(name) + '\0';
    // Nothing is fetched twice ahead: the shared logo, for one, once.
    Texts requests;
    for (std::size_t at = earlier; at < server_.Requests().size(); ++at)
      requests.push_back(server_.Requests()[at].Target());
    std::ranges::sort(requests);
    if (connections == 1) one = archive, oneRequests = requests;
    EXPECT_TRUE(archive == one) << "the archives differ";
    EXPECT_EQ(requests, oneRequests);
    // The peak over the server's life: one, then above one and at most four, then at most sixteen.
    EXPECT_EQ(server_.PeakConnections() > 1, connections > 1);
    EXPECT_LE(server_.PeakConnections(), static_cast<std::size_t>(connections));
  }
  ExpectWholeArchive();

  // Stop and Skip end every transfer at once.
  for (const bool stop : {true, false}) {
    SCOPED_TRACE(stop ? "Stop" : "Skip");
    StartOver();
    // Every page below the top one is slow: the run is asked to end while four are on their way.
    ServeTree(20, [](int page, bool picture) {
      return std::chrono::milliseconds(page > 0 && !picture ? 3600000 : 0);
    });
    ServePage("/other.htm", "<html><title>Other</title>other</html>");
    std::atomic<int> slowRequests = 0;
    onRequest_ = [&](const std::string& path) {
      if (!path.starts_with("/p/") || ++slowRequests != 4) return;
      EXPECT_EQ(server_.OpenConnections(), 4u);
      stop ? RequestStop() : RequestSkip();
    };
    AddEntry(Address("/index.htm"), 3, "Slow");
    AddEntry(Address("/other.htm"), 1, "Other");
    settings_.Connections = 4;

    const RunReport report = Generate();
    EXPECT_EQ(report.Outcome, stop ? RunOutcome::Aborted : RunOutcome::Completed);
    EXPECT_EQ(Count("/other.htm"), stop ? 0 : 1);
    EXPECT_EQ(slowRequests, 4);
    // Every connection closed within a second: far less than a transfer waits for its first data.
    for (int wait = 0; wait < 1000 && server_.OpenConnections() > 0; ++wait)
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    EXPECT_EQ(server_.OpenConnections(), 0u);
    ASSERT_EQ(document_.Brief.ArchivePaths.size(), 1u);
    ExpectWholeArchive();
    onRequest_ = nullptr;
  }
}

}  // namespace
}  // namespace gl::test
