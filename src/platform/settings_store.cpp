#include "platform/settings_store.h"

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <system_error>

#include "platform/atomic_file.h"
#include "platform/percent_encode.h"

namespace gl {
namespace {

// Control bytes would break the line; '%' starts an escape; '=' and the brackets would be read
// as the file's own syntax.
bool IsPlainByte(unsigned char byte) {
  return byte >= 0x20 && byte != 0x7F && byte != '%' && byte != '=' && byte != '[' && byte != ']';
}

int HexValue(char digit) {
  if (digit >= '0' && digit <= '9') return digit - '0';
  if (digit >= 'A' && digit <= 'F') return digit - 'A' + 10;
  if (digit >= 'a' && digit <= 'f') return digit - 'a' + 10;
  return -1;
}

std::string Unescape(std::string_view text) {
  std::string plain;
  plain.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '%' && i + 2 < text.size() && HexValue(text[i + 1]) >= 0 &&
        HexValue(text[i + 2]) >= 0) {
      plain += static_cast<char>(HexValue(text[i + 1]) * 16 + HexValue(text[i + 2]));
      i += 2;
    } else {
      plain += text[i];
    }
  }
  return plain;
}

std::filesystem::path FromEnvironment(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr ? std::filesystem::path(value) : std::filesystem::path();
}

// Reads the whole store file. A missing file is an empty tree; false when the file exists but
// cannot be read.
bool ReadStoreFile(const std::filesystem::path& file, SettingsTree& keys) {
  std::error_code error;
  const auto status = std::filesystem::status(file, error);
  if (status.type() == std::filesystem::file_type::not_found) {
    keys.clear();
    return true;
  }
  if (status.type() != std::filesystem::file_type::regular) return false;
  std::ifstream in(file, std::ios::binary);
  if (!in) return false;
  const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) return false;
  keys = ParseSettingsFile(text);
  return true;
}

}  // namespace

std::filesystem::path DefaultSettingsFile() {
  const std::filesystem::path home = FromEnvironment("GLEANER_LIGHT_HOME");
  if (!home.empty()) return home / "registry.ini";
  std::filesystem::path config = FromEnvironment("XDG_CONFIG_HOME");
  if (config.empty() || config.is_relative()) config = FromEnvironment("HOME") / ".config";
  return config / "gleaner-light" / "registry.ini";
}

std::string SettingsFileText(const SettingsTree& keys) {
  std::string text;
  for (const auto& [path, values] : keys) {
    if (!text.empty()) text += '\n';
    text += '[' + PercentEncode(path, IsPlainByte) + "]\n";
    for (const auto& [name, value] : values)
      text += PercentEncode(name, IsPlainByte) + '=' + PercentEncode(value, IsPlainByte) + '\n';
  }
  return text;
}

SettingsTree ParseSettingsFile(std::string_view text) {
  SettingsTree keys;
  SettingsValues* current = nullptr;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
      current = &keys[Unescape(line.substr(1, line.size() - 2))];
      continue;
    }
    const std::size_t equals = line.find('=');
    if (current == nullptr || equals == std::string_view::npos) continue;
    (*current)[Unescape(line.substr(0, equals))] = Unescape(line.substr(equals + 1));
  }
  return keys;
}

SettingsStore::SettingsStore(std::filesystem::path file) : file_(std::move(file)) {
  usable_ = ReadStoreFile(file_, keys_);
}

std::optional<SettingsKey> SettingsStore::CreateKey(std::string_view path) {
  if (!usable_) return std::nullopt;
  return SettingsKey(*this, std::string(path));
}

bool SettingsStore::Write(
    std::string_view path,
    const std::vector<std::pair<std::string_view, std::string_view>>& values) {
  // Start from the file as it is now, so values that another program wrote since this store was
  // read are kept.
  SettingsTree updated;
  if (!ReadStoreFile(file_, updated)) return false;
  SettingsValues& key = updated[std::string(path)];
  for (const auto& [name, value] : values)
    key[std::string(name)] = std::string(value);

  std::error_code error;
  if (file_.has_parent_path()) std::filesystem::create_directories(file_.parent_path(), error);
  if (!WriteFileAtomically(file_, SettingsFileText(updated), FileAccess::Private)) return false;
  keys_ = std::move(updated);
  return true;
}

std::optional<std::string> SettingsKey::QueryValue(std::string_view name) const {
  const auto key = store_->keys_.find(path_);
  if (key == store_->keys_.end()) return std::nullopt;
  const auto value = key->second.find(name);
  if (value == key->second.end() || value->second.empty()) return std::nullopt;
  return value->second;
}

bool SettingsKey::SetValues(
    const std::vector<std::pair<std::string_view, std::string_view>>& values) {
  return store_->Write(path_, values);
}

}  // namespace gl
