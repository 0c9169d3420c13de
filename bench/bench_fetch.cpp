// Fetches per second of small pages from a loopback server, one request at a time, the way the
// generator walks a site: every fetch connects, sends, receives the whole answer and closes. The
// secure variant also does a TLS handshake each time, verifying a certificate from a throw-away
// authority.

#include <benchmark/benchmark.h>

#include <string>

#include "net/fetch.h"
#include "support/loopback_server.h"
#include "support/test_authority.h"

namespace {

void FetchPages(benchmark::State& state, const gl::test::ServerIdentity* identity) {
  const std::string page = "<html><body>" +
                           std::string(static_cast<std::size_t>(state.range(0)), 'x') +
                           "</body></html>";
  const gl::test::Answer answer = gl::test::PageAnswer(page);
  gl::test::LoopbackServer server([&answer](const gl::test::Request&) { return answer; }, identity);
  const std::string start = server.Address("/dir/page.htm");
  const gl::FetchOptions options;
  gl::Settings settings;
  settings.SecurePages = identity != nullptr;
  gl::SilentProgress sink;

  for (auto _ : state) {
    std::string address = start;
    gl::FetchResult result = gl::FetchPage(address, options, settings, sink);
    if (!result.PageOk) {
      state.SkipWithError("fetch failed");
      break;
    }
    benchmark::DoNotOptimize(result.Stream.Bytes().data());
  }
  state.SetItemsProcessed(state.iterations());
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(answer.Bytes.size()));
}

void BM_FetchPage(benchmark::State& state) {
  FetchPages(state, nullptr);
}
BENCHMARK(BM_FetchPage)->Arg(2 << 10)->Arg(16 << 10)->Arg(256 << 10)->UseRealTime();

void BM_FetchSecurePage(benchmark::State& state) {
  const gl::test::TrustedAuthority authority;
  const gl::test::ServerIdentity identity = authority.Issue({"127.0.0.1"});
  FetchPages(state, &identity);
}
BENCHMARK(BM_FetchSecurePage)->Arg(2 << 10)->Arg(16 << 10)->Arg(256 << 10)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
