#include <CLI/CLI.hpp>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <ostream>
#include <string>

#include "cli/cli.h"
#include "cli/command.h"
#include "cli/terminal_text.h"
#include "core/byte_text.h"
#include "core/settings_io.h"
#include "core/utf8_text.h"

namespace gl::cli {
namespace {

// How one key of `gleaner settings KEY VALUE` goes into the preferences. False when the value is
// not one the preferences dialog would accept.
using SettingSetter = std::function<bool(const std::string& value, PreferencesInput& input)>;

SettingSetter NumberSetter(int low, int high, int PreferencesInput::*field) {
  return [low, high, field](const std::string& value, PreferencesInput& input) {
    const std::optional<int> number = DecimalInRange(value, low, high);
    if (number) input.*field = *number;
    return number.has_value();
  };
}

SettingSetter YesNoSetter(bool PreferencesInput::*field) {
  return [field](const std::string& value, PreferencesInput& input) {
    const std::string answer = LowerAscii(value);
    input.*field = answer == "yes";
    return answer == "yes" || answer == "no";
  };
}

SettingSetter TextSetter(std::string PreferencesInput::*field, bool PreferencesInput::*modified) {
  return [field, modified](const std::string& value, PreferencesInput& input) {
    input.*field = value;
    if (modified != nullptr) input.*modified = true;
    return true;
  };
}

struct SettingKey {
  SettingSetter set;
  const char* accepts;  // what a valid value looks like, for the usage message
};

const std::map<std::string, SettingKey>& SettingKeys() {
  static const std::map<std::string, SettingKey> keys = {
      {"browser-path", {TextSetter(&PreferencesInput::Browser, nullptr), "a program path"}},
      {"auto-load-browser", {YesNoSetter(&PreferencesInput::AutoLoad), "Yes or No"}},
      {"browser-port",
       {NumberSetter(kMinDebuggingPort, kMaxDebuggingPort, &PreferencesInput::DebuggingPort),
        "a port number from 1 to 65535"}},
      {"proxy-server",
       {TextSetter(&PreferencesInput::ProxyServer, nullptr), "a host name or address"}},
      {"proxy-port",
       {NumberSetter(kMinProxyPort, kMaxProxyPort, &PreferencesInput::ProxyPort),
        "a number from 0 to 99999"}},
      {"retries",
       {NumberSetter(kMinRetries, kMaxRetries, &PreferencesInput::RetryCount),
        "a number from 1 to 5"}},
      {"disk-buffer-mb",
       {NumberSetter(kMinDiskBufferMegabytes, kMaxDiskBufferMegabytes,
                     &PreferencesInput::DiskBufferMegabytes),
        "a number of megabytes from 1 to 999999"}},
      {"user-name",
       {TextSetter(&PreferencesInput::UserName, &PreferencesInput::UserNameModified), "any text"}},
      {"password",
       {[](const std::string& value, PreferencesInput& input) {
          // The command line itself is the confirmation of a password given on it.
          input.Password = value;
          input.Confirm = value;
          input.PasswordModified = true;
          return true;
        },
        "any text"}},
      {"secure-pages", {YesNoSetter(&PreferencesInput::SecurePages), "Yes or No"}},
      {"page-styles", {YesNoSetter(&PreferencesInput::PageStyles), "Yes or No"}},
      {"connections",
       {NumberSetter(kMinConnections, kMaxConnections, &PreferencesInput::Connections),
        "a number from 1 to 16"}},
  };
  return keys;
}

void PrintSettings(const Settings& settings, std::ostream& out) {
  out << "browser-path=" << TerminalText(settings.BrowserPath) << '\n'
      << "browser-service=" << TerminalText(settings.BrowserService) << '\n'
      << "auto-load-browser=" << (settings.AutoLoadBrowser ? "Yes" : "No") << '\n'
      << "browser-port=" << settings.BrowserDebuggingPort << '\n'
      << "proxy-server=" << TerminalText(settings.ProxyServer) << '\n'
      << "proxy-port=" << settings.ProxyPort << '\n'
      << "retries=" << settings.RetryCount << '\n'
      << "disk-buffer-mb=" << settings.DiskBufferBytes / kBytesPerMegabyte << '\n'
      << "user-name=" << TerminalText(settings.DefaultUserName)
      << '\n'
      // Shown as the preferences dialog shows it: one "*" per character.
      << "password=" << MaskedPassword(settings.DefaultPassword) << '\n'
      << "secure-pages=" << (settings.SecurePages ? "Yes" : "No") << '\n'
      << "page-styles=" << (settings.PageStyles ? "Yes" : "No") << '\n'
      << "connections=" << settings.Connections << '\n';
}

struct SettingsArgs {
  std::optional<std::string> key;
  std::optional<std::string> value;
};

int RunSettings(SettingsArgs& args, CommandIo& io) {
  SettingsStore store(DefaultSettingsFile());
  Settings settings;
  ReadSettings(store, settings);
  if (!args.key) {
    PrintSettings(settings, io.out);
    return kExitDone;
  }
  const SettingKey& key = SettingKeys().at(*args.key);
  PreferencesInput input = PreferencesFrom(settings);
  if (!key.set(*args.value, input)) {
    io.err << *args.key << " takes " << key.accepts << ", not \"" << *args.value << "\".\n";
    return kExitUsage;
  }
  const ApplyResult result = DoApply(input, settings, store);
  if (!result.Applied) {
    io.err << result.Message.Title << ": " << result.Message.Text << '\n';
    return kExitFailed;
  }
  if (!result.Written) {
    io.err << "The settings could not be written to " << store.File().string() << ".\n";
    return kExitFailed;
  }
  return kExitDone;
}

}  // namespace

void RegisterSettingsCommand(CLI::App& app, CommandAction& action) {
  auto args = std::make_shared<SettingsArgs>();
  CLI::App* command = app.add_subcommand(
      "settings", "Print the program settings, or set one as the preferences dialog does");
  std::vector<std::string> names;
  for (const auto& [name, key] : SettingKeys())
    names.push_back(name);
  CLI::Option* key =
      command->add_option("KEY", args->key, "The setting to change")->check(CLI::IsMember(names));
  CLI::Option* value = command->add_option("VALUE", args->value, "Its new value");
  key->needs(value);
  value->needs(key);
  command->callback(
      [&action, args] { action = [args](CommandIo& io) { return RunSettings(*args, io); }; });
}

}  // namespace gl::cli
