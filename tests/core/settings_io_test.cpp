#include "core/settings_io.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <tuple>

#include "support/scoped_environment.h"
#include "support/temp_folder.h"

namespace gl {
namespace {

using test::ReadFileBytes;

constexpr std::int64_t kMB = kBytesPerMegabyte;

std::string Section(const std::string& group, const std::string& lines) {
  return "[Software\\Orrery Development\\Gleaner-Light\\" + group + "]\n" + lines;
}

auto Fields(const Settings& s) {
  return std::tie(s.BrowserPath, s.BrowserService, s.AutoLoadBrowser, s.BrowserDebuggingPort,
                  s.ProxyServer, s.ProxyPort, s.RetryCount, s.DiskBufferBytes, s.DefaultUserName,
                  s.DefaultPassword, s.SecurePages, s.PageStyles, s.Connections);
}

class SettingsIoTest : public ::testing::Test {
 protected:
  test::TempFolder folder_;
  std::filesystem::path file_ = folder_ / "registry.ini";
};

// A changed password is written only when its confirmation matches letter for letter.
TEST_F(SettingsIoTest, AppliedValuesAndStartupValuesAreWrittenAsTextCredentialsOnlyOnceConfirmed) {
  const test::ScopedEnvironment home("GLEANER_LIGHT_HOME", folder_.Path().string());
  EXPECT_EQ(Fields(LoadSettings()), Fields(Settings{}));  // first run: no store
  EXPECT_FALSE(std::filesystem::exists(file_));
  SettingsStore store(file_);
  EXPECT_FALSE(ReadStartupValue(store, "Open Briefs"));
  Settings settings;
  settings.DefaultPassword = "old password";
  // Browser, auto-load, debugging port, proxy and its port, retries, disk buffer MB, credentials.
  PreferencesInput input{
      "/usr/bin/firefox.sh", true, 9333, "proxy.example", 3128, 4, 20, "ann", "secret", ""};
  input.SecurePages = input.PageStyles = true;
  input.Connections = 8;
  EXPECT_TRUE(DoApply(input, settings, store).Applied);
  EXPECT_EQ(ReadFileBytes(file_).find(Section("Briefs", "Retries=4\n\n")), 0u);
  EXPECT_EQ(settings.DefaultPassword, "old password");

  input.UserNameModified = true;  // the password is written with the name
  const ApplyResult result = DoApply(input, settings, store);
  EXPECT_TRUE(result.Applied && result.Written && result.Message.Empty());
  EXPECT_EQ(ReadFileBytes(file_),
            Section("Briefs", "Password=secret\nRetries=4\nUserName=ann\n\n") +
                Section("Browser",
                        "AutoLoad Browser=Yes\nBrowser Path=/usr/bin/firefox.sh\n"
                        "Browser Service=firefox\nDebugging Port=9333\n\n") +
                Section("Connections", "Transfers At Once=8\n\n") +
                Section("Disk Buffer", "MegaBytes=20\n\n") +
                Section("Modern Web", "Page Styles=Yes\nSecure Pages=Yes\n\n") +
                Section("Proxy", "Proxy Port=3128\nProxy Server=proxy.example\n"));
  EXPECT_EQ(settings.DiskBufferBytes, 20 * kMB);
  EXPECT_EQ(Fields(LoadSettings()), Fields(settings));
  EXPECT_EQ(BrowserServiceName("/opt/MYIEXPLORER.EXE"), "iexplore");
  EXPECT_EQ(BrowserServiceName("/usr/lib/chromium.d/chromium.v2.bin"), "chromium");
  EXPECT_EQ(BrowserServiceName("/usr/bin/"), "");

  input.PasswordModified = true;
  input.Password = "other";
  input.Confirm = "othex";
  EXPECT_FALSE(DoApply(input, settings, store).Applied);
  EXPECT_EQ(settings.DefaultPassword, "secret");
  input.Confirm = "other";
  EXPECT_TRUE(DoApply(input, settings, store).Applied);
  EXPECT_EQ(settings.DefaultPassword, "other");

  ASSERT_TRUE(WriteStartupValue(store, "Open Briefs", "0,\n/a.brf"));
  EXPECT_TRUE(
      ReadFileBytes(file_).ends_with("\n\n" + Section("Startup", "Open Briefs=0,%0A/a.brf\n")));
  EXPECT_EQ(ReadStartupValue(store, "Open Briefs"), "0,\n/a.brf");
}

// Outcome: disk buffer MB, proxy port, retries, debugging port, auto-load; defaults differ.
TEST_F(SettingsIoTest, NumberAndFlagFallbacks) {
  const std::tuple<const char*, const char*, const char*> rows[] = {
      {"Disk Buffer", "MegaBytes=999999", "999999 8080 2 4000 1"},
      {"Disk Buffer", "MegaBytes=lots", "1 8080 2 4000 1"},
      {"Disk Buffer", "MegaBytes=", "5 8080 2 4000 1"},
      {"Proxy", "Proxy Port=99999", "5 99999 2 4000 1"},
      {"Proxy", "Proxy Port= 3128", "5 80 2 4000 1"},
      {"Proxy", "Proxy Port=100000", "5 80 2 4000 1"},
      {"Briefs", "Retries=5", "5 8080 5 4000 1"},
      {"Briefs", "Retries=4x", "5 8080 3 4000 1"},
      {"Briefs", "Retries=99999999999", "5 8080 3 4000 1"},
      {"Browser", "AutoLoad Browser=yes", "5 8080 2 4000 0"},
      {"Browser", "AutoLoad Browser=", "5 8080 2 4000 1"},
      {"Browser", "Debugging Port=65535", "5 8080 2 65535 1"},
      {"Browser", "Debugging Port=0", "5 8080 2 9222 1"},
  };
  for (const auto& [group, line, outcome] : rows) {
    test::WriteFileBytes(file_, Section(group, line + std::string("\n")));
    SettingsStore store(file_);
    Settings s{"", "", true, 4000, "", 8080, 2, 5 * kMB, "", ""};
    ReadSettings(store, s);
    std::ostringstream read;
    read << s.DiskBufferBytes / kMB << ' ' << s.ProxyPort << ' ' << s.RetryCount << ' '
         << s.BrowserDebuggingPort << ' ' << s.AutoLoadBrowser;
    EXPECT_EQ(read.str(), outcome) << line;
  }
}

}  // namespace
}  // namespace gl
