#include "core/settings_io.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "support/scoped_environment.h"
#include "support/temp_folder.h"

namespace gl {
namespace {

using test::ReadFileBytes;

constexpr std::int64_t kMB = kBytesPerMegabyte;
constexpr const char* kBriefsKey = "Software\\Orrery Development\\Gleaner-Light\\Briefs";

// One group of the store file with its "name=value" lines.
std::string Section(const std::string& group, const std::string& lines) {
  return "[Software\\Orrery Development\\Gleaner-Light\\" + group + "]\n" + lines;
}

auto Fields(const Settings& s) {
  return std::tie(s.BrowserPath, s.BrowserService, s.AutoLoadBrowser, s.BrowserDebuggingPort,
                  s.ProxyServer, s.ProxyPort, s.RetryCount, s.DiskBufferBytes, s.DefaultUserName,
                  s.DefaultPassword, s.SecurePages, s.Connections);
}

PreferencesInput SampleInput() {
  PreferencesInput input;
  input.Browser = "/usr/bin/firefox.sh";
  input.AutoLoad = true;
  input.DebuggingPort = 9333;
  input.ProxyServer = "proxy.example";
  input.ProxyPort = 3128;
  input.RetryCount = 4;
  input.DiskBufferMegabytes = 20;
  input.UserName = "ann";
  input.Password = "secret";
  input.SecurePages = true;
  input.Connections = 8;
  return input;
}

class SettingsIoTest : public ::testing::Test {
 protected:
  test::TempFolder folder_;
  std::filesystem::path file_ = folder_ / "registry.ini";
};

TEST_F(SettingsIoTest, AppliedValuesAreWrittenAsTextAndLoadedOnTheNextStart) {
  const test::ScopedEnvironment home("GLEANER_LIGHT_HOME", folder_.Path().string());
  EXPECT_EQ(Fields(LoadSettings()), Fields(Settings{}));  // first run: no store
  EXPECT_FALSE(std::filesystem::exists(file_));

  SettingsStore store(file_);
  Settings settings;
  PreferencesInput input = SampleInput();
  input.PasswordModified = true;
  input.Confirm = "secret";
  const ApplyResult result = DoApply(input, settings, store);
  EXPECT_TRUE(result.Applied);
  EXPECT_TRUE(result.Written);
  EXPECT_TRUE(result.Message.Empty());
  EXPECT_EQ(ReadFileBytes(file_),
            Section("Briefs", "Password=secret\nRetries=4\nUserName=ann\n\n") +
                Section("Browser",
                        "AutoLoad Browser=Yes\nBrowser Path=/usr/bin/firefox.sh\n"
                        "Browser Service=firefox\nDebugging Port=9333\n\n") +
                Section("Connections", "Transfers At Once=8\n\n") +
                Section("Disk Buffer", "MegaBytes=20\n\n") +
                Section("Modern Web", "Secure Pages=Yes\n\n") +
                Section("Proxy", "Proxy Port=3128\nProxy Server=proxy.example\n"));
  EXPECT_EQ(settings.DiskBufferBytes, 20 * kMB);
  EXPECT_EQ(settings.DefaultPassword, "secret");
  EXPECT_EQ(Fields(LoadSettings()), Fields(settings));
}

TEST_F(SettingsIoTest, NumberAndFlagFallbacks) {
  // Before reading, the settings hold values other than the defaults, so a case can tell "kept"
  // (absent or empty value) from "fell back to the default" (not a number in range).
  const struct {
    const char* group;
    const char* line;
    std::int64_t diskBuffer;
    int proxyPort;
    int retries;
    int debuggingPort;
    bool autoLoad;
  } cases[] = {
      {"Disk Buffer", "MegaBytes=999999", 999999 * kMB, 8080, 2, 4000, true},
      {"Disk Buffer", "MegaBytes=lots", kMB, 8080, 2, 4000, true},
      {"Disk Buffer", "MegaBytes=", 5 * kMB, 8080, 2, 4000, true},
      {"Proxy", "Proxy Port=99999", 5 * kMB, 99999, 2, 4000, true},
      {"Proxy", "Proxy Port= 3128", 5 * kMB, 80, 2, 4000, true},
      {"Proxy", "Proxy Port=100000", 5 * kMB, 80, 2, 4000, true},
      {"Briefs", "Retries=5", 5 * kMB, 8080, 5, 4000, true},
      {"Briefs", "Retries=4x", 5 * kMB, 8080, 3, 4000, true},
      {"Briefs", "Retries=99999999999", 5 * kMB, 8080, 3, 4000, true},
      {"Browser", "AutoLoad Browser=yes", 5 * kMB, 8080, 2, 4000, false},
      {"Browser", "AutoLoad Browser=", 5 * kMB, 8080, 2, 4000, true},
      {"Browser", "Debugging Port=65535", 5 * kMB, 8080, 2, 65535, true},
      {"Browser", "Debugging Port=0", 5 * kMB, 8080, 2, 9222, true},
  };
  for (const auto& row : cases) {
    SCOPED_TRACE(row.line);
    test::WriteFileBytes(file_, Section(row.group, row.line + std::string("\n")));
    SettingsStore store(file_);
    Settings settings;
    settings.AutoLoadBrowser = true;
    settings.ProxyPort = 8080;
    settings.RetryCount = 2;
    settings.DiskBufferBytes = 5 * kMB;
    settings.BrowserDebuggingPort = 4000;
    ReadSettings(store, settings);
    EXPECT_EQ(
        std::tie(settings.DiskBufferBytes, settings.ProxyPort, settings.RetryCount,
                 settings.BrowserDebuggingPort, settings.AutoLoadBrowser),
        std::tie(row.diskBuffer, row.proxyPort, row.retries, row.debuggingPort, row.autoLoad));
  }
}

TEST_F(SettingsIoTest, CredentialsAreWrittenOnlyWhenEditedAndConfirmed) {
  SettingsStore store(file_);
  Settings settings;
  settings.DefaultUserName = "old user";
  settings.DefaultPassword = "old password";
  EXPECT_TRUE(DoApply(SampleInput(), settings, store).Applied);
  EXPECT_EQ(ReadFileBytes(file_).find(Section("Briefs", "Retries=4\n\n")), 0u);

  // A changed password stops at its confirmation, after the other groups.
  PreferencesInput input = SampleInput();
  input.PasswordModified = true;
  input.Confirm = "secreT";
  input.ProxyPort = 8000;
  const ApplyResult unconfirmed = DoApply(input, settings, store);
  EXPECT_FALSE(unconfirmed.Applied);
  EXPECT_EQ(unconfirmed.Message.Title, "Password Error");
  EXPECT_EQ(unconfirmed.Message.Text, "Password not correctly confirmed.");
  EXPECT_EQ(store.CreateKey(kBriefsKey)->QueryValue("Password"), std::nullopt);
  EXPECT_NE(ReadFileBytes(file_).find("Proxy Port=8000\n"), std::string::npos);
  EXPECT_EQ(settings.DefaultUserName, "old user");
  EXPECT_EQ(settings.DefaultPassword, "old password");

  // A changed user name alone needs no confirmation.
  input = SampleInput();
  input.UserNameModified = true;
  EXPECT_TRUE(DoApply(input, settings, store).Applied);
  EXPECT_EQ(store.CreateKey(kBriefsKey)->QueryValue("UserName"), "ann");
  EXPECT_EQ(store.CreateKey(kBriefsKey)->QueryValue("Password"), "secret");
  EXPECT_EQ(settings.DefaultUserName, "ann");
}

TEST_F(SettingsIoTest, StartupValuesLiveInTheirOwnGroup) {
  SettingsStore store(file_);
  EXPECT_FALSE(ReadStartupValue(store, "Open Briefs"));
  const std::string layout = "0,0,640,480,0,\n/home/ann/news.brf,10,10,300,200,0,";
  ASSERT_TRUE(WriteStartupValue(store, "Open Briefs", layout));
  EXPECT_EQ(
      ReadFileBytes(file_),
      Section("Startup", "Open Briefs=0,0,640,480,0,%0A/home/ann/news.brf,10,10,300,200,0,\n"));
  EXPECT_EQ(ReadStartupValue(store, "Open Briefs"), layout);
}

TEST(BrowserServiceNameTest, FileNameUpToItsFirstDotOrIexplore) {
  const std::pair<const char*, const char*> cases[] = {
      {"/win/Program Files/Plus!/Microsoft Internet/IEXPLORE.EXE", "iexplore"},
      {"/opt/NETSCAPE.EXE", "NETSCAPE"},
      {"/opt/MYIEXPLORER.EXE", "iexplore"},
      {"/usr/lib/chromium.d/chromium.bin", "chromium"},
      {"mosaic.v2.exe", "mosaic"},
      {"/usr/bin/", ""},
  };
  for (const auto& [path, service] : cases) {
    SCOPED_TRACE(path);
    EXPECT_EQ(BrowserServiceName(path), service);
  }
}

}  // namespace
}  // namespace gl
