#include "browser/internal/endpoint_pages.h"

#include <nlohmann/json.hpp>

namespace gl {
namespace {

using Json = nlohmann::json;

std::string TextField(const Json& target, const char* name) {
  const auto field = target.find(name);
  return field != target.end() && field->is_string() ? field->get<std::string>() : std::string();
}

std::optional<EndpointPage> PageOf(const Json& target) {
  if (!target.is_object()) return std::nullopt;
  const auto id = target.find("id");
  if (id == target.end() || !id->is_string()) return std::nullopt;
  return EndpointPage{id->get<std::string>(), TextField(target, "url"), TextField(target, "title")};
}

// Parsing never throws: a body that is not JSON is discarded.
Json Parse(std::string_view body) {
  return Json::parse(body.begin(), body.end(), nullptr, false);
}

}  // namespace

std::optional<std::vector<EndpointPage>> ParsePageList(std::string_view body) {
  const Json list = Parse(body);
  if (!list.is_array()) return std::nullopt;
  std::vector<EndpointPage> pages;
  for (const Json& target : list) {
    if (!target.is_object()) continue;
    const auto type = target.find("type");
    if (type != target.end() && *type != "page") continue;
    if (std::optional<EndpointPage> page = PageOf(target)) pages.push_back(std::move(*page));
  }
  return pages;
}

std::optional<EndpointPage> ParsePage(std::string_view body) {
  return PageOf(Parse(body));
}

}  // namespace gl
