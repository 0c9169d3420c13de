#include "generate/internal/run_catalogue.h"

#include <fstream>
#include <iterator>

#include "generate/internal/run_errors.h"

namespace gl {
namespace {
constexpr std::size_t kLongestName = 255;
}

bool IsPlainFileName(std::string_view name) {
  return !name.empty() && name.size() <= kLongestName &&
         name.find_first_of(std::string_view("/\\\0", 3)) == std::string_view::npos &&
         name.find("..") == std::string_view::npos;
}

bool RunCatalogueWriter::WriteCatalogueName(std::string_view name) {
  if (!IsPlainFileName(name)) return false;
  const char length = static_cast<char>(static_cast<unsigned char>(name.size()));
  file_.Write(std::string_view(&length, 1));
  file_.Write(name);
  return true;
}

bool RunCatalogueWriter::Finish() noexcept {
  try {
    file_.Write(std::string_view("\0", 1));
    file_.Close();
  } catch (const EInOutError&) {
    return false;
  }
  return true;
}

std::optional<RunCatalogue> ParseRunCatalogue(std::string_view bytes) {
  std::vector<std::string> records;
  std::size_t at = 0;
  while (at < bytes.size()) {
    const std::size_t length = static_cast<unsigned char>(bytes[at]);
    if (length == 0 || at + 1 + length > bytes.size()) break;
    records.emplace_back(bytes.substr(at + 1, length));
    at += 1 + length;
  }
  if (records.empty()) return std::nullopt;
  RunCatalogue catalogue;
  catalogue.Folder = std::move(records.front());
  catalogue.Names.assign(std::make_move_iterator(records.begin() + 1),
                         std::make_move_iterator(records.end()));
  return catalogue;
}

std::optional<RunCatalogue> ReadRunCatalogue(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  return ParseRunCatalogue(bytes);
}

}  // namespace gl
