#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "browser/internal/endpoint_pages.h"

namespace gl {

// A running browser's remote-debugging HTTP endpoint on 127.0.0.1 (Chromium's DevTools
// interface), reached with the program's own transfer code. Every call waits at most `wait` for
// the endpoint's first data (scaled like every time-out) and gives none when nothing answers with
// status 200 in time.
class DebuggingEndpoint {
 public:
  explicit DebuggingEndpoint(int port) : port_(port) {}

  // GET /json/list: the pages the browser shows, the most recently used first.
  std::optional<std::vector<EndpointPage>> ListPages(std::chrono::milliseconds wait) const;

  // PUT /json/new?<address>: opens `address` in a new tab.
  std::optional<EndpointPage> OpenPage(std::string_view address,
                                       std::chrono::milliseconds wait) const;

  // GET /json/activate/<id>: brings the page to the front; false when the endpoint refused.
  bool ActivatePage(std::string_view id, std::chrono::milliseconds wait) const;

 private:
  // The body of a 200 answer to `method` on `target`.
  std::optional<std::string> Call(std::string_view method, const std::string& target,
                                  std::chrono::milliseconds wait) const;

  int port_;
};

}  // namespace gl
