#pragma once

#include <chrono>

#include "bench_site.h"
#include "support/loopback_server.h"

namespace gl::bench {

// Serves the benchmark site from a loopback server: each file with its content type, 404 for
// anything else, each after `delay` (the time to the first byte of a server far away).
inline test::LoopbackServer::Handler ServeSite(const BenchSite& site,
                                               std::chrono::milliseconds delay = {}) {
  return [&site, delay](const test::Request& request) {
    const BenchSite::File* file = site.Find(request.Target());
    test::Answer answer =
        file ? test::PageAnswer(file->Body, file->ContentType) : test::StatusAnswer(404);
    answer.Delay = delay;
    return answer;
  };
}

}  // namespace gl::bench
