#pragma once

#include "bench_site.h"
#include "support/loopback_server.h"

namespace gl::bench {

// Serves the benchmark site from a loopback server: each file with its content type, 404 for
// anything else.
inline test::LoopbackServer::Handler ServeSite(const BenchSite& site) {
  return [&site](const test::Request& request) {
    const BenchSite::File* file = site.Find(request.Target());
    return file ? test::PageAnswer(file->Body, file->ContentType) : test::StatusAnswer(404);
  };
}

}  // namespace gl::bench
