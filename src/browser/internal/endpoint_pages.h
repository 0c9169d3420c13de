#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Reading the JSON answers of a browser's remote-debugging endpoint (Chromium's DevTools HTTP
// interface): GET /json/list gives a list of targets, PUT /json/new the target it opened. Each
// target is an object with "id", "type", "url" and "title".

namespace gl {

struct EndpointPage {
  std::string Id;
  std::string Address;
  std::string Title;
};

// The pages of a /json/list answer in its order (the browser lists the most recently used
// first): targets of type "page", or of no type, that have a text id. Other targets (workers,
// the browser's own panels) and fields that are not texts are passed over. None when the body is
// not a JSON list.
std::optional<std::vector<EndpointPage>> ParsePageList(std::string_view body);

// The page that a /json/new answer describes; none when it is not an object with a text id.
std::optional<EndpointPage> ParsePage(std::string_view body);

}  // namespace gl
