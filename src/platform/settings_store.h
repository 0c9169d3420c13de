#pragma once

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// The program's settings store, a stand-in for the system registry: a tree of keys named by
// backslash-separated paths ("Software\Orrery Development\Gleaner-Light\Proxy"), each holding
// named text values ("Proxy Port" = "80").
//
// On disk it is one text file, one section per key:
//   [Software\Orrery Development\Gleaner-Light\Proxy]
//   Proxy Port=80
// In key paths, value names and values the bytes "%", "=", "[", "]", and every control byte are
// written as "%" and two hex digits, so any byte string survives the file unchanged.

namespace gl {

// $GLEANER_LIGHT_HOME/registry.ini, else $XDG_CONFIG_HOME/gleaner-light/registry.ini, else
// ~/.config/gleaner-light/registry.ini.
std::filesystem::path DefaultSettingsFile();

class SettingsStore;

// Keys by path, each with its values by name.
using SettingsValues = std::map<std::string, std::string, std::less<>>;
using SettingsTree = std::map<std::string, SettingsValues, std::less<>>;

// An open key of a store; valid while the store lives.
class SettingsKey {
 public:
  // The value `name`, only when it holds at least one character.
  std::optional<std::string> QueryValue(std::string_view name) const;

  // Sets the values and writes the store file; false when it could not be written, in which case
  // the store and its file keep their previous values.
  [[nodiscard]] bool SetValues(
      const std::vector<std::pair<std::string_view, std::string_view>>& values);
  [[nodiscard]] bool SetValue(std::string_view name, std::string_view value) {
    return SetValues({{name, value}});
  }

 private:
  friend class SettingsStore;

  // Keys by path, each with its values by name.
  using SettingsValues = std::map<std::string, std::string, std::less<>>;
  using SettingsTree = std::map<std::string, SettingsValues, std::less<>>;
  SettingsKey(SettingsStore& store, std::string path) : store_(&store), path_(std::move(path)) {}

  SettingsStore* store_;
  std::string path_;
};

class SettingsStore {
 public:
  // Reads the file once. A missing file is an empty store that is created on the first write. A
  // file that exists but cannot be read leaves the store unusable: no key opens and nothing is
  // written, so the file is never replaced by an empty one.
  explicit SettingsStore(std::filesystem::path file);

  // Opens the key, creating it when missing; none when the store is unusable.
  std::optional<SettingsKey> CreateKey(std::string_view path);

  const std::filesystem::path& File() const { return file_; }

 private:
  friend class SettingsKey;

  bool Write(std::string_view path,
             const std::vector<std::pair<std::string_view, std::string_view>>& values);

  std::filesystem::path file_;
  bool usable_ = false;
  SettingsTree keys_;
};

// The file's text form of a key tree, and back. Reading ignores lines that are neither a section
// nor a "name=value" line inside one; an escape that is not "%" and two hex digits stays as it is.
std::string SettingsFileText(const SettingsTree& keys);
SettingsTree ParseSettingsFile(std::string_view text);

}  // namespace gl
