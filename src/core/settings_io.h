#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/settings.h"
#include "core/user_message.h"
#include "platform/settings_store.h"

// Reading the program-wide settings from the settings store and writing them back as the
// preferences dialog applies them. Every value is stored as text under a key of its group:
//   Software\Orrery Development\Gleaner-Light\Disk Buffer   MegaBytes
//   ...\Browser   Browser Path, Browser Service, AutoLoad Browser ("Yes"/"No"), Debugging Port
//   ...\Proxy     Proxy Server, Proxy Port
//   ...\Briefs    Retries, Password, UserName
//   ...\Startup   Open Briefs, Previous Briefs, First Start (kept by the desktop program)
//   ...\Modern Web   Secure Pages, Page Styles ("Yes"/"No")
// A group whose key cannot be opened is skipped: its settings keep their values.

namespace gl {

namespace settings_keys {
inline constexpr std::string_view kRoot = "Software\\Orrery Development\\Gleaner-Light\\";
inline constexpr std::string_view kDiskBuffer = "Disk Buffer";
inline constexpr std::string_view kBrowser = "Browser";
inline constexpr std::string_view kProxy = "Proxy";
inline constexpr std::string_view kBriefs = "Briefs";
inline constexpr std::string_view kStartup = "Startup";
inline constexpr std::string_view kModernWeb = "Modern Web";
inline constexpr std::string_view kConnections = "Connections";

inline constexpr std::string_view kMegaBytes = "MegaBytes";
inline constexpr std::string_view kBrowserPath = "Browser Path";
inline constexpr std::string_view kBrowserService = "Browser Service";
inline constexpr std::string_view kAutoLoadBrowser = "AutoLoad Browser";
inline constexpr std::string_view kDebuggingPort = "Debugging Port";
inline constexpr std::string_view kProxyServer = "Proxy Server";
inline constexpr std::string_view kProxyPort = "Proxy Port";
inline constexpr std::string_view kRetries = "Retries";
inline constexpr std::string_view kPassword = "Password";
inline constexpr std::string_view kUserName = "UserName";
inline constexpr std::string_view kOpenBriefs = "Open Briefs";
inline constexpr std::string_view kPreviousBriefs = "Previous Briefs";
inline constexpr std::string_view kFirstStart = "First Start";
inline constexpr std::string_view kSecurePages = "Secure Pages";
inline constexpr std::string_view kPageStyles = "Page Styles";
inline constexpr std::string_view kTransfersAtOnce = "Transfers At Once";
}  // namespace settings_keys

// The ranges the preferences dialog's number fields allow.
inline constexpr int kMinDiskBufferMegabytes = 1;
inline constexpr int kMaxDiskBufferMegabytes = 999999;
inline constexpr int kMinProxyPort = 0;
inline constexpr int kMaxProxyPort = 99999;
inline constexpr int kMinRetries = 1;
inline constexpr int kMaxRetries = 5;
inline constexpr int kMinDebuggingPort = 1;
inline constexpr int kMaxDebuggingPort = 65535;
inline constexpr int kMinConnections = 1;
inline constexpr int kMaxConnections = 16;
inline constexpr std::int64_t kBytesPerMegabyte = 1048576;

// A whole decimal number within [low, high] ("80"); none for anything else (" 80", "8o", "").
std::optional<int> DecimalInRange(std::string_view text, int low, int high);

// Reads the groups Disk Buffer, Browser, Proxy, Briefs, Modern Web and Connections into
// `settings`. Numbers that are not decimal numbers in the dialog's range give the defaults (1 MB,
// port 80, 3 retries, debugging port 9222, 4 connections); an absent or empty value keeps the value
// `settings` already holds.
void ReadSettings(SettingsStore& store, Settings& settings);

// The defaults, then every group of the store at DefaultSettingsFile().
Settings LoadSettings();

// A value of the Startup group as stored, when it holds at least one character; and writing one.
std::optional<std::string> ReadStartupValue(SettingsStore& store, std::string_view name);
[[nodiscard]] bool WriteStartupValue(SettingsStore& store, std::string_view name,
                                     std::string_view value);

// The browser's service name from its path: the file name; "iexplore" when that contains
// "IEXPLORE"; then cut at its first ".". "/opt/NETSCAPE.EXE" gives "NETSCAPE".
std::string BrowserServiceName(std::string_view browserPath);

// What the preferences dialog's fields hold when it applies.
struct PreferencesInput {
  std::string Browser;
  bool AutoLoad = false;
  int DebuggingPort = 9222;
  std::string ProxyServer;
  int ProxyPort = 80;
  int RetryCount = 3;           // in the NumRetries field
  int DiskBufferMegabytes = 1;  // in the DiskBuffer field
  std::string UserName;
  std::string Password;
  std::string Confirm;
  bool UserNameModified = false;
  bool PasswordModified = false;
  bool SecurePages = false;
  bool PageStyles = false;
  int Connections = 4;
};

// The fields as the dialog fills them from the settings when it opens.
PreferencesInput PreferencesFrom(const Settings& settings);

struct ApplyResult {
  bool Applied = true;  // false when the password was not confirmed
  UserMessage Message;  // "Password Error" when not applied
  bool Written = true;  // every value meant for the store was written
};

// Takes the fields into `settings` and writes every group, in this order: Disk Buffer; Browser
// (the debugging port last); Proxy; Briefs' Retries; Modern Web. Then, only when the user name or
// password was edited: a changed password must equal its confirmation, or nothing more is written
// or set and the result carries "Password not correctly confirmed."; otherwise Password and
// UserName are written and become the defaults.
ApplyResult DoApply(const PreferencesInput& input, Settings& settings, SettingsStore& store);

}  // namespace gl
