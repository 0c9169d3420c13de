#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <ctime>
#include <optional>
#include <sstream>
#include <tuple>

#include "platform/atomic_file.h"
#include "platform/cancellation.h"
#include "platform/date_time.h"
#include "platform/file_address.h"
#include "platform/program_start.h"
#include "platform/settings_store.h"
#include "platform/socket.h"
#include "platform/time_scale.h"
#include "support/loopback_server.h"
#include "support/scoped_environment.h"
#include "support/temp_folder.h"

namespace gl::test {
namespace {

constexpr std::chrono::milliseconds kHour{60 * 60 * 1000};

TEST(FileAddressTest, SchemeInAnyCaseAndTheSlashAfterItBelongsToThePath) {
  EXPECT_TRUE(IsFileAddress("FILE:///home/ann/a.htm"));
  EXPECT_FALSE(IsFileAddress("file:/x"));
  EXPECT_FALSE(IsFileAddress("http://file://"));
  EXPECT_EQ(PathFromFileAddress("file:///home/ann/a.htm"), "/home/ann/a.htm");
  // A browser reads "#" as a fragment, "?" as a query and "%" as an escape.
  EXPECT_EQ(FileAddressFromPath("/home/ann/C# notes?/50% caf\xC3\xA9.htm"),
            "file:///home/ann/C%23%20notes%3F/50%25%20caf%C3%A9.htm");
}

TEST(DateTimeTest, FixedFormsWithoutLeadingZerosAndTwelveForNoonAndMidnight) {
  const ScopedEnvironment utc("TZ", "UTC");
  tzset();
  const std::time_t midnight = 946684800;  // 1 January 2000, 00:00:00 UTC
  const std::pair<std::time_t, const char*> rows[] = {
      {857552822, "3/5/1997 9:07:02 AM"},
      {midnight, "1/1/2000 12:00:00 AM"},
      {midnight + 12 * 3600 + 5, "1/1/2000 12:00:05 PM"},
      {midnight + 345 * 86400 + 86399, "12/11/2000 11:59:59 PM"}};
  for (const auto& [time, text] : rows) {
    SCOPED_TRACE(time);
    EXPECT_EQ(ShortDateText(time) + " " + TimeText(time), text);
  }
}

TEST(TimeScaleTest, OnlyPositiveNumbersScaleAndWaitsRoundUpNeverVanishAndHaveACeiling) {
  const std::tuple<const char*, long long, long long> rows[] = {
      {"1e-3", 32000, 32}, {"", 5000, 5000}, {"0.5x", 5000, 5000},     {"0", 5000, 5000},
      {"-1", 5000, 5000},  {"inf", 50, 50},  {"nan", 5000, 5000},      {"0.0001", 5000, 1},
      {"0.003", 5000, 15}, {"0.001", 0, 0},  {"1e300", 5000, 86400000}};
  for (const auto& [factor, in, out] : rows) {
    SCOPED_TRACE(factor);
    const ScopedTimeScale scale(factor);
    EXPECT_EQ(Scaled(std::chrono::milliseconds(in)), std::chrono::milliseconds(out));
  }
}

// Reading the named pipe waits until the shell has written its report.
TEST(ProgramStartTest, ArgumentsArriveUnchangedAndTheChildRunsInItsOwnSession) {
  TempFolder folder;
  const std::filesystem::path fifo = folder / "report";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  const std::string address = "file:///tmp/a b/Brief0.htm?x=1&y=$HOME;echo `id`";
  const ProgramStartResult result = StartProgram(
      "sh", {"-c", "{ printf '%s|' \"$@\"; echo; cut -d' ' -f6 /proc/$$/stat; echo $$; } > \"$0\"",
             fifo.string(), address, "two"});
  ASSERT_TRUE(result.Started && result.Message.empty()) << result.Message;
  std::istringstream report(ReadFileBytes(fifo));
  std::string arguments;
  long session = 0, process = 0;
  std::getline(report, arguments) >> session >> process;
  EXPECT_EQ(arguments, address + "|two|");
  EXPECT_EQ(session, process);
  EXPECT_NE(session, getsid(0));
  const ProgramStartResult missing = StartProgram("/nonexistent/browser", {"file:///x"});
  EXPECT_FALSE(missing.Started);
  EXPECT_TRUE(missing.Message.starts_with("Cannot start /nonexistent/browser: "));
  EXPECT_EQ(StartProgram("", {"file:///x"}).Message, "No program is set.");
}

TEST(SettingsFileTest, TextFormIsExactEveryByteSurvivesAndHandEditsAreRead) {
  EXPECT_EQ(SettingsFileText({{"Browser", {{"Browser Path", "C:\\Netscape\\NETSCAPE.EXE"}}},
                              {"Proxy", {{"Proxy Port", "80"}, {"Server", "a=b [c] 100%\nnext"}}}}),
            "[Browser]\nBrowser Path=C:\\Netscape\\NETSCAPE.EXE\n\n"
            "[Proxy]\nProxy Port=80\nServer=a%3Db %5Bc%5D 100%25%0Anext\n");

  std::string allBytes;
  for (int byte = 0; byte < 256; ++byte)
    allBytes += static_cast<char>(byte);
  const std::string odd = "[x]=\\%41%\r\n ";
  const SettingsTree keys = {{allBytes, {{allBytes, allBytes}, {odd, odd}, {"", "empty name"}}},
                             {odd + "\\sub", {{"=", "="}, {"[", "]"}}}};
  EXPECT_EQ(ParseSettingsFile(SettingsFileText(keys)), keys);

  // Reading tolerates hand-edited files.
  EXPECT_EQ(ParseSettingsFile("orphan=before any section\r\n[A]\r\nno equals sign here\nx=1=2\r\n"
                              "bad=%zz%4%\nlower=%3d%5b\n[]\nroot=yes"),
            (SettingsTree{{"A", {{"x", "1=2"}, {"bad", "%zz%4%"}, {"lower", "=["}}},
                          {"", {{"root", "yes"}}}}));
}

// A replaced file keeps its mode and links; the settings file is private: it may hold a password.
TEST(SavedFileTest, ReplacementKeepsModeAndLinksAndTheSettingsFileIsPrivate) {
  TempFolder folder;
  const mode_t previous = umask(022);
  ASSERT_TRUE(WriteFileAtomically(folder / "shared", "a"));
  umask(previous);
  EXPECT_EQ(std::filesystem::status(folder / "shared").permissions(), std::filesystem::perms{0644});

  WriteFileBytes(folder / "brief.brf", "a much longer old content");
  ASSERT_EQ(chmod((folder / "brief.brf").c_str(), 0640), 0);
  std::filesystem::create_symlink(folder / "brief.brf", folder / "link.brf");
  ASSERT_TRUE(WriteFileAtomically(folder / "link.brf", std::string("new\0bytes", 9)));
  EXPECT_TRUE(std::filesystem::is_symlink(folder / "link.brf"));
  EXPECT_EQ(ReadFileBytes(folder / "brief.brf"), std::string("new\0bytes", 9));
  EXPECT_EQ(std::filesystem::status(folder / "brief.brf").permissions(),
            std::filesystem::perms{0640});

  const auto file = folder / "deep" / "er" / "registry.ini";
  SettingsStore first(file), second(file);
  auto key = first.CreateKey("Proxy");
  ASSERT_TRUE(key);
  EXPECT_FALSE(key->QueryValue("Proxy Port"));
  ASSERT_TRUE(key->SetValues({{"Proxy Port", "8080"}, {"Empty", ""}}));
  EXPECT_FALSE(key->QueryValue("Empty"));  // an empty value does not count
  EXPECT_EQ(std::filesystem::status(file).permissions(), std::filesystem::perms{0600});
  ASSERT_TRUE(second.CreateKey("Startup")->SetValue("First Start", "No"));
  EXPECT_EQ(ReadFileBytes(file), "[Proxy]\nEmpty=\nProxy Port=8080\n\n[Startup]\nFirst Start=No\n");
  EXPECT_EQ(SettingsStore(file).CreateKey("Startup")->QueryValue("First Start"), "No");
  std::filesystem::remove(file);
  std::filesystem::create_directory(file);  // the file can no longer be read
  EXPECT_FALSE(key->SetValue("Proxy Port", "new"));
  EXPECT_EQ(key->QueryValue("Proxy Port"), "8080");
  EXPECT_TRUE(std::filesystem::is_empty(file));
}

TEST(SettingsStoreTest, LocationFollowsTheEnvironment) {
  const ScopedEnvironment home("HOME", "/home/ann");
  using Text = std::optional<std::string>;
  const std::tuple<Text, Text, std::string> rows[] = {
      {"/tmp/gl", "/xdg", "/tmp/gl/registry.ini"},
      {std::nullopt, "/xdg", "/xdg/gleaner-light/registry.ini"},
      {std::nullopt, "relative/config", "/home/ann/.config/gleaner-light/registry.ini"},
      {std::nullopt, std::nullopt, "/home/ann/.config/gleaner-light/registry.ini"}};
  for (const auto& [gleanerHome, configHome, file] : rows) {
    SCOPED_TRACE(configHome.value_or("no XDG_CONFIG_HOME"));
    const ScopedEnvironment gleaner("GLEANER_LIGHT_HOME", gleanerHome);
    const ScopedEnvironment config("XDG_CONFIG_HOME", configHome);
    EXPECT_EQ(DefaultSettingsFile(), file);
  }
}

TEST(ResolveHostTest, DottedAddressesConvertAndBadHostsAreUnknown) {
  const std::pair<std::string, std::optional<std::uint32_t>> rows[] = {
      {"127.0.0.1", 0x7f000001},
      {"010.0.0.1", 0x08000001},  // octal groups, as the classic converter reads them
      {"localhost", 0x7f000001},
      {"", std::nullopt},
      {std::string("127.0.0.1\0.evil", 15), std::nullopt},
      {std::string(257, 'a'), std::nullopt}};
  for (const auto& [host, expected] : rows) {
    SCOPED_TRACE(host);
    EXPECT_EQ(ResolveHost(host), expected ? std::optional(htonl(*expected)) : std::nullopt);
  }
}

// Each cancelled step would otherwise wait out its hour; the request outgrows the buffers.
TEST(TcpSocketTest, BlockingStepsEndWhenCancelledAndOtherwiseCarryEverything) {
  const auto pending = [] {
    pollfd descriptor{CancellationFd(), POLLIN, 0};
    return poll(&descriptor, 1, 0) == 1;
  };
  const RawListener backlogFull(0);
  TcpSocket first;
  ASSERT_EQ(first.Connect(htonl(INADDR_LOOPBACK), backlogFull.Port(), kHour), SocketError::None);
  ASSERT_FALSE(pending());
  RequestStop();
  RequestSkip();
  ClearSkip();
  EXPECT_TRUE(StopRequested() && pending());
  TcpSocket waiting;
  EXPECT_EQ(waiting.Connect(htonl(INADDR_LOOPBACK), backlogFull.Port(), kHour),
            SocketError::Cancelled);
  EXPECT_EQ(first.WaitReadable(kHour), SocketError::Cancelled);
  char buffer[100];
  EXPECT_EQ(first.Receive(buffer, sizeof buffer, kHour).Error, SocketError::Cancelled);
  EXPECT_EQ(first.Send(std::string(64 << 20, 's'), kHour), SocketError::Cancelled);
  ClearStop();
  EXPECT_FALSE(StopOrSkipRequested() || pending());
  CancelBlockingCall();
  EXPECT_TRUE(pending());
  ClearStop();  // no flag is set: this drains the pending cancellation
  EXPECT_EQ(first.WaitReadable(std::chrono::milliseconds(1)), SocketError::TimedOut);

  LoopbackServer server;
  server.Enqueue({"answer"});
  TcpSocket socket;
  socket.SetTransferOptions(std::chrono::milliseconds(32000));
  ASSERT_EQ(socket.Connect(htonl(INADDR_LOOPBACK), server.Port(), kHour), SocketError::None);
  const std::string request = std::string(8 << 20, 'q') + "\r\n\r\n";
  EXPECT_EQ(socket.Send(request, kHour), SocketError::None);
  EXPECT_EQ(socket.WaitReadable(kHour), SocketError::None);
  ASSERT_EQ(socket.Receive(buffer, sizeof buffer, kHour).Count, 6);
  EXPECT_EQ(std::string(buffer, 6), "answer");
  const auto end = socket.Receive(buffer, sizeof buffer, kHour);
  EXPECT_EQ(std::tie(end.Count, end.Error), std::make_tuple(0, SocketError::None));
  EXPECT_EQ(server.Requests().at(0).Bytes, request);
}

}  // namespace
}  // namespace gl::test
