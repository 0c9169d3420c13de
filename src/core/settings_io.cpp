#include "core/settings_io.h"

#include <charconv>

#include "core/texts.h"

namespace gl {
namespace {

namespace keys = settings_keys;

std::optional<SettingsKey> OpenGroup(SettingsStore& store, std::string_view group) {
  return store.CreateKey(std::string(keys::kRoot) + std::string(group));
}

// A stored number: none when the value is absent or empty, the fallback when it is not a number
// in range.
std::optional<int> StoredNumber(const SettingsKey& key, std::string_view name, int low, int high,
                                int fallback) {
  const std::optional<std::string> text = key.QueryValue(name);
  if (!text) return std::nullopt;
  return DecimalInRange(*text, low, high).value_or(fallback);
}

void ReadText(const SettingsKey& key, std::string_view name, std::string& target) {
  if (std::optional<std::string> text = key.QueryValue(name)) target = std::move(*text);
}

// Writes a group when its key opens; false when it does not or the write fails.
bool WriteGroup(SettingsStore& store, std::string_view group,
                const std::vector<std::pair<std::string_view, std::string_view>>& values) {
  std::optional<SettingsKey> key = OpenGroup(store, group);
  return key && key->SetValues(values);
}

std::string_view YesOrNo(bool flag) {
  return flag ? "Yes" : "No";
}

}  // namespace

std::optional<int> DecimalInRange(std::string_view text, int low, int high) {
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  if (value < low || value > high) return std::nullopt;
  return value;
}

void ReadSettings(SettingsStore& store, Settings& settings) {
  const Settings defaults;
  if (auto key = OpenGroup(store, keys::kDiskBuffer)) {
    if (auto megabytes =
            StoredNumber(*key, keys::kMegaBytes, kMinDiskBufferMegabytes, kMaxDiskBufferMegabytes,
                         static_cast<int>(defaults.DiskBufferBytes / kBytesPerMegabyte)))
      settings.DiskBufferBytes = *megabytes * kBytesPerMegabyte;
  }
  if (auto key = OpenGroup(store, keys::kBrowser)) {
    ReadText(*key, keys::kBrowserPath, settings.BrowserPath);
    ReadText(*key, keys::kBrowserService, settings.BrowserService);
    if (auto autoLoad = key->QueryValue(keys::kAutoLoadBrowser))
      settings.AutoLoadBrowser = *autoLoad == "Yes";
    if (auto port = StoredNumber(*key, keys::kDebuggingPort, kMinDebuggingPort, kMaxDebuggingPort,
                                 defaults.BrowserDebuggingPort))
      settings.BrowserDebuggingPort = *port;
  }
  if (auto key = OpenGroup(store, keys::kProxy)) {
    ReadText(*key, keys::kProxyServer, settings.ProxyServer);
    if (auto port =
            StoredNumber(*key, keys::kProxyPort, kMinProxyPort, kMaxProxyPort, defaults.ProxyPort))
      settings.ProxyPort = *port;
  }
  if (auto key = OpenGroup(store, keys::kBriefs)) {
    if (auto retries =
            StoredNumber(*key, keys::kRetries, kMinRetries, kMaxRetries, defaults.RetryCount))
      settings.RetryCount = *retries;
    ReadText(*key, keys::kPassword, settings.DefaultPassword);
    ReadText(*key, keys::kUserName, settings.DefaultUserName);
  }
  if (auto key = OpenGroup(store, keys::kModernWeb)) {
    if (auto secure = key->QueryValue(keys::kSecurePages)) settings.SecurePages = *secure == "Yes";
    if (auto styles = key->QueryValue(keys::kPageStyles)) settings.PageStyles = *styles == "Yes";
  }
  if (auto key = OpenGroup(store, keys::kConnections)) {
    if (auto connections = StoredNumber(*key, keys::kTransfersAtOnce, kMinConnections,
                                        kMaxConnections, defaults.Connections))
      settings.Connections = *connections;
  }
}

Settings LoadSettings() {
  Settings settings;
  SettingsStore store(DefaultSettingsFile());
  ReadSettings(store, settings);
  return settings;
}

std::optional<std::string> ReadStartupValue(SettingsStore& store, std::string_view name) {
  const std::optional<SettingsKey> key = OpenGroup(store, keys::kStartup);
  return key ? key->QueryValue(name) : std::nullopt;
}

bool WriteStartupValue(SettingsStore& store, std::string_view name, std::string_view value) {
  std::optional<SettingsKey> key = OpenGroup(store, keys::kStartup);
  return key && key->SetValue(name, value);
}

std::string BrowserServiceName(std::string_view browserPath) {
  const std::size_t slash = browserPath.rfind('/');
  std::string service(slash == std::string_view::npos ? browserPath
                                                      : browserPath.substr(slash + 1));
  if (service.find("IEXPLORE") != std::string::npos) service = "iexplore";
  return service.substr(0, service.find('.'));
}

PreferencesInput PreferencesFrom(const Settings& settings) {
  PreferencesInput input;
  input.Browser = settings.BrowserPath;
  input.AutoLoad = settings.AutoLoadBrowser;
  input.DebuggingPort = settings.BrowserDebuggingPort;
  input.ProxyServer = settings.ProxyServer;
  input.ProxyPort = settings.ProxyPort;
  input.RetryCount = settings.RetryCount;
  input.DiskBufferMegabytes = static_cast<int>(settings.DiskBufferBytes / kBytesPerMegabyte);
  input.UserName = settings.DefaultUserName;
  input.Password = settings.DefaultPassword;
  input.SecurePages = settings.SecurePages;
  input.PageStyles = settings.PageStyles;
  input.Connections = settings.Connections;
  return input;
}

ApplyResult DoApply(const PreferencesInput& input, Settings& settings, SettingsStore& store) {
  ApplyResult result;
  settings.BrowserPath = input.Browser;
  settings.BrowserService = BrowserServiceName(input.Browser);
  settings.ProxyServer = input.ProxyServer;
  settings.ProxyPort = input.ProxyPort;
  settings.RetryCount = input.RetryCount;

  const std::string megabytes = std::to_string(input.DiskBufferMegabytes);
  result.Written &= WriteGroup(store, keys::kDiskBuffer, {{keys::kMegaBytes, megabytes}});
  settings.DiskBufferBytes = input.DiskBufferMegabytes * kBytesPerMegabyte;

  const std::string debuggingPort = std::to_string(input.DebuggingPort);
  result.Written &= WriteGroup(store, keys::kBrowser,
                               {{keys::kBrowserPath, settings.BrowserPath},
                                {keys::kBrowserService, settings.BrowserService},
                                {keys::kAutoLoadBrowser, YesOrNo(input.AutoLoad)},
                                {keys::kDebuggingPort, debuggingPort}});
  settings.AutoLoadBrowser = input.AutoLoad;
  settings.BrowserDebuggingPort = input.DebuggingPort;

  const std::string port = std::to_string(input.ProxyPort);
  result.Written &= WriteGroup(store, keys::kProxy,
                               {{keys::kProxyServer, input.ProxyServer}, {keys::kProxyPort, port}});

  const std::string retries = std::to_string(input.RetryCount);
  result.Written &= WriteGroup(store, keys::kBriefs, {{keys::kRetries, retries}});
  result.Written &= WriteGroup(store, keys::kModernWeb,
                               {{keys::kSecurePages, YesOrNo(input.SecurePages)},
                                {keys::kPageStyles, YesOrNo(input.PageStyles)}});
  settings.SecurePages = input.SecurePages;
  settings.PageStyles = input.PageStyles;
  const std::string connections = std::to_string(input.Connections);
  result.Written &= WriteGroup(store, keys::kConnections, {{keys::kTransfersAtOnce, connections}});
  settings.Connections = input.Connections;
  if (!input.UserNameModified && !input.PasswordModified) return result;
  if (input.PasswordModified && input.Password != input.Confirm) {
    result.Applied = false;
    result.Message = {std::string(texts::kPasswordErrorTitle),
                      std::string(texts::kPasswordErrorText)};
    return result;
  }
  result.Written &= WriteGroup(
      store, keys::kBriefs, {{keys::kPassword, input.Password}, {keys::kUserName, input.UserName}});
  settings.DefaultUserName = input.UserName;
  settings.DefaultPassword = input.Password;
  return result;
}

}  // namespace gl
