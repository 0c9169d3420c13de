#include "core/settings_io.h"

#include <gtest/gtest.h>

#include <string>

#include "support/scoped_environment.h"
#include "support/temp_folder.h"

namespace gl {
namespace {

using test::ReadFileBytes;
using test::WriteFileBytes;

constexpr std::int64_t kMB = 1048576;

void ExpectDefaults(const Settings& settings) {
  EXPECT_EQ(settings.BrowserPath, "");
  EXPECT_EQ(settings.BrowserService, "");
  EXPECT_FALSE(settings.AutoLoadBrowser);
  EXPECT_EQ(settings.ProxyServer, "");
  EXPECT_EQ(settings.ProxyPort, 80);
  EXPECT_EQ(settings.RetryCount, 3);
  EXPECT_EQ(settings.DiskBuffer, kMB);
  EXPECT_EQ(settings.DefaultUserName, "");
  EXPECT_EQ(settings.DefaultPassword, "");
}

// A store file holding one value of each group, so each case changes exactly one.
std::string StoreText(const std::string& group, const std::string& name, const std::string& value) {
  return "[Software\\Orrery Development\\Gleaner-Light\\" + group + "]\n" + name + "=" + value +
         "\n";
}

TEST(SettingsIoTest, FirstRunWithoutAStoreGivesTheDefaults) {
  test::TempFolder folder;
  test::ScopedEnvironment home("GLEANER_LIGHT_HOME", folder.Path().string());
  ExpectDefaults(LoadSettings());
  EXPECT_FALSE(std::filesystem::exists(folder / "registry.ini"));
}

TEST(SettingsIoTest, LoadSettingsReadsTheStoreAtItsPlace) {
  test::TempFolder folder;
  test::ScopedEnvironment home("GLEANER_LIGHT_HOME", folder.Path().string());
  WriteFileBytes(folder / "registry.ini",
                 StoreText("Proxy", "Proxy Server", "proxy.example") +
                     StoreText("Briefs", "UserName", "ann") +
                     StoreText("Browser", "Browser Path", "/usr/bin/firefox"));
  const Settings settings = LoadSettings();
  EXPECT_EQ(settings.ProxyServer, "proxy.example");
  EXPECT_EQ(settings.DefaultUserName, "ann");
  EXPECT_EQ(settings.BrowserPath, "/usr/bin/firefox");
}

struct ReadCase {
  const char* group;
  const char* name;
  const char* value;
  std::int64_t diskBuffer;
  int proxyPort;
  int retries;
  bool autoLoad;
};

TEST(SettingsIoTest, NumberAndFlagFallbacks) {
  // Before reading, the settings hold values other than the defaults, so a case can tell "kept"
  // (absent or empty value) from "fell back to the default" (not a number).
  const ReadCase cases[] = {
      {"Disk Buffer", "MegaBytes", "7", 7 * kMB, 8080, 2, true},
      {"Disk Buffer", "MegaBytes", "lots", kMB, 8080, 2, true},
      {"Disk Buffer", "MegaBytes", "0", kMB, 8080, 2, true},
      {"Disk Buffer", "MegaBytes", "999999", 999999 * kMB, 8080, 2, true},
      {"Disk Buffer", "MegaBytes", "", 5 * kMB, 8080, 2, true},
      {"Proxy", "Proxy Port", "3128", 5 * kMB, 3128, 2, true},
      {"Proxy", "Proxy Port", "", 5 * kMB, 8080, 2, true},
      {"Proxy", "Proxy Port", "port", 5 * kMB, 80, 2, true},
      {"Proxy", "Proxy Port", " 3128", 5 * kMB, 80, 2, true},
      {"Proxy", "Proxy Port", "99999", 5 * kMB, 99999, 2, true},
      {"Proxy", "Proxy Port", "100000", 5 * kMB, 80, 2, true},
      {"Proxy", "Proxy Port", "-1", 5 * kMB, 80, 2, true},
      {"Briefs", "Retries", "5", 5 * kMB, 8080, 5, true},
      {"Briefs", "Retries", "0", 5 * kMB, 8080, 3, true},
      {"Briefs", "Retries", "4x", 5 * kMB, 8080, 3, true},
      {"Briefs", "Retries", "99999999999", 5 * kMB, 8080, 3, true},
      {"Browser", "AutoLoad Browser", "Yes", 5 * kMB, 8080, 2, true},
      {"Browser", "AutoLoad Browser", "No", 5 * kMB, 8080, 2, false},
      {"Browser", "AutoLoad Browser", "yes", 5 * kMB, 8080, 2, false},
      {"Browser", "AutoLoad Browser", "Yes ", 5 * kMB, 8080, 2, false},
      {"Browser", "AutoLoad Browser", "", 5 * kMB, 8080, 2, true},
  };
  test::TempFolder folder;
  for (const ReadCase& row : cases) {
    SCOPED_TRACE(std::string(row.name) + "=" + row.value);
    WriteFileBytes(folder / "registry.ini", StoreText(row.group, row.name, row.value));
    SettingsStore store(folder / "registry.ini");
    Settings settings;
    settings.DiskBuffer = 5 * kMB;
    settings.ProxyPort = 8080;
    settings.RetryCount = 2;
    settings.AutoLoadBrowser = true;
    ReadSettings(store, settings);
    EXPECT_EQ(settings.DiskBuffer, row.diskBuffer);
    EXPECT_EQ(settings.ProxyPort, row.proxyPort);
    EXPECT_EQ(settings.RetryCount, row.retries);
    EXPECT_EQ(settings.AutoLoadBrowser, row.autoLoad);
  }
}

TEST(SettingsIoTest, UnusableStoreKeepsEverySetting) {
  test::TempFolder folder;
  std::filesystem::create_directory(folder / "registry.ini");
  SettingsStore store(folder / "registry.ini");
  Settings settings;
  ReadSettings(store, settings);
  ExpectDefaults(settings);
}

TEST(SettingsIoTest, BrowserServiceName) {
  const struct {
    const char* path;
    const char* service;
  } cases[] = {
      {"/win/Program Files/Plus!/Microsoft Internet/IEXPLORE.EXE", "iexplore"},
      {"/opt/NETSCAPE.EXE", "NETSCAPE"},
      {"/opt/MYIEXPLORER.EXE", "iexplore"},
      {"/opt/iexplore.exe", "iexplore"},
      {"/usr/bin/firefox", "firefox"},
      {"/usr/lib/chromium.d/chromium.bin", "chromium"},
      {"mosaic.v2.exe", "mosaic"},
      {"", ""},
      {"/usr/bin/", ""},
  };
  for (const auto& row : cases) {
    SCOPED_TRACE(row.path);
    EXPECT_EQ(BrowserServiceName(row.path), row.service);
  }
}

PreferencesInput SampleInput() {
  PreferencesInput input;
  input.Browser = "/usr/bin/firefox.sh";
  input.AutoLoad = true;
  input.ProxyServer = "proxy.example";
  input.ProxyPort = 3128;
  input.NumRetries = 4;
  input.DiskBuffer = 20;
  input.UserName = "ann";
  input.Password = "secret";
  return input;
}

TEST(SettingsIoTest, ApplyWritesEveryGroupAsText) {
  test::TempFolder folder;
  SettingsStore store(folder / "registry.ini");
  Settings settings;
  PreferencesInput input = SampleInput();
  input.PasswordModified = true;
  input.Confirm = "secret";
  const ApplyResult result = DoApply(input, settings, store);
  EXPECT_TRUE(result.Applied);
  EXPECT_TRUE(result.Written);
  EXPECT_TRUE(result.Message.Empty());
  EXPECT_EQ(ReadFileBytes(folder / "registry.ini"),
            "[Software\\Orrery Development\\Gleaner-Light\\Briefs]\n"
            "Password=secret\n"
            "Retries=4\n"
            "UserName=ann\n"
            "\n"
            "[Software\\Orrery Development\\Gleaner-Light\\Browser]\n"
            "AutoLoad Browser=Yes\n"
            "Browser Path=/usr/bin/firefox.sh\n"
            "Browser Service=firefox\n"
            "\n"
            "[Software\\Orrery Development\\Gleaner-Light\\Disk Buffer]\n"
            "MegaBytes=20\n"
            "\n"
            "[Software\\Orrery Development\\Gleaner-Light\\Proxy]\n"
            "Proxy Port=3128\n"
            "Proxy Server=proxy.example\n");
  EXPECT_EQ(settings.BrowserService, "firefox");
  EXPECT_EQ(settings.DiskBuffer, 20 * kMB);
  EXPECT_EQ(settings.DefaultPassword, "secret");

  // What was applied is what the next start reads.
  SettingsStore again(folder / "registry.ini");
  Settings reread;
  ReadSettings(again, reread);
  EXPECT_EQ(reread.BrowserPath, settings.BrowserPath);
  EXPECT_EQ(reread.BrowserService, "firefox");
  EXPECT_TRUE(reread.AutoLoadBrowser);
  EXPECT_EQ(reread.ProxyServer, "proxy.example");
  EXPECT_EQ(reread.ProxyPort, 3128);
  EXPECT_EQ(reread.RetryCount, 4);
  EXPECT_EQ(reread.DiskBuffer, 20 * kMB);
  EXPECT_EQ(reread.DefaultUserName, "ann");
  EXPECT_EQ(reread.DefaultPassword, "secret");
}

TEST(SettingsIoTest, UnconfirmedPasswordStopsAfterTheOtherGroups) {
  test::TempFolder folder;
  SettingsStore store(folder / "registry.ini");
  Settings settings;
  settings.DefaultUserName = "old user";
  settings.DefaultPassword = "old password";
  PreferencesInput input = SampleInput();
  input.PasswordModified = true;
  input.Confirm = "secreT";
  const ApplyResult result = DoApply(input, settings, store);
  EXPECT_FALSE(result.Applied);
  EXPECT_EQ(result.Message.Title, "Password Error");
  EXPECT_EQ(result.Message.Text, "Password not correctly confirmed.");
  EXPECT_EQ(settings.DefaultUserName, "old user");
  EXPECT_EQ(settings.DefaultPassword, "old password");
  EXPECT_EQ(settings.ProxyPort, 3128);

  SettingsStore again(folder / "registry.ini");
  auto briefs = again.CreateKey("Software\\Orrery Development\\Gleaner-Light\\Briefs");
  EXPECT_EQ(briefs->QueryValue("Retries"), "4");
  EXPECT_FALSE(briefs->QueryValue("Password"));
  EXPECT_FALSE(briefs->QueryValue("UserName"));
  auto proxy = again.CreateKey("Software\\Orrery Development\\Gleaner-Light\\Proxy");
  EXPECT_EQ(proxy->QueryValue("Proxy Port"), "3128");
}

TEST(SettingsIoTest, CredentialsAreWrittenOnlyWhenEdited) {
  test::TempFolder folder;
  const char* briefsKey = "Software\\Orrery Development\\Gleaner-Light\\Briefs";
  {
    SettingsStore store(folder / "registry.ini");
    Settings settings;
    const ApplyResult result = DoApply(SampleInput(), settings, store);
    EXPECT_TRUE(result.Applied);
    EXPECT_FALSE(store.CreateKey(briefsKey)->QueryValue("UserName"));
    EXPECT_EQ(settings.DefaultUserName, "");
  }
  {
    // A changed user name alone needs no confirmation.
    SettingsStore store(folder / "registry.ini");
    Settings settings;
    PreferencesInput input = SampleInput();
    input.UserNameModified = true;
    EXPECT_TRUE(DoApply(input, settings, store).Applied);
    EXPECT_EQ(store.CreateKey(briefsKey)->QueryValue("UserName"), "ann");
    EXPECT_EQ(store.CreateKey(briefsKey)->QueryValue("Password"), "secret");
    EXPECT_EQ(settings.DefaultUserName, "ann");
  }
}

TEST(SettingsIoTest, ApplyToAnUnusableStoreSetsTheValuesAndSaysSo) {
  test::TempFolder folder;
  std::filesystem::create_directory(folder / "registry.ini");
  SettingsStore store(folder / "registry.ini");
  Settings settings;
  const ApplyResult result = DoApply(SampleInput(), settings, store);
  EXPECT_TRUE(result.Applied);
  EXPECT_FALSE(result.Written);
  EXPECT_EQ(settings.ProxyServer, "proxy.example");
  EXPECT_TRUE(std::filesystem::is_directory(folder / "registry.ini"));
}

TEST(SettingsIoTest, PreferencesStartFromTheSettings) {
  Settings settings;
  settings.DiskBuffer = 12 * kMB;
  settings.ProxyPort = 8000;
  settings.DefaultPassword = "pw";
  const PreferencesInput input = PreferencesFrom(settings);
  EXPECT_EQ(input.DiskBuffer, 12);
  EXPECT_EQ(input.ProxyPort, 8000);
  EXPECT_EQ(input.Password, "pw");
  EXPECT_FALSE(input.PasswordModified);
}

TEST(SettingsIoTest, StartupValuesAreKeptRaw) {
  test::TempFolder folder;
  SettingsStore store(folder / "registry.ini");
  EXPECT_FALSE(ReadStartupValue(store, "First Start"));
  const std::string layout = "0,0,640,480,0,\n/home/ann/news.brf,10,10,300,200,0,";
  ASSERT_TRUE(WriteStartupValue(store, "Open Briefs", layout));
  SettingsStore again(folder / "registry.ini");
  EXPECT_EQ(ReadStartupValue(again, "Open Briefs"), layout);
}

}  // namespace
}  // namespace gl
