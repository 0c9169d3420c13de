// Fetches per second of small pages from a loopback server, one request at a time, the way the
// generator walks a site: every fetch connects, sends, receives the whole answer and closes.

#include <benchmark/benchmark.h>

#include <string>

#include "net/fetch.h"
#include "support/loopback_server.h"

namespace {

void BM_FetchPage(benchmark::State& state) {
  const std::string page = "<html><body>" +
                           std::string(static_cast<std::size_t>(state.range(0)), 'x') +
                           "</body></html>";
  const gl::test::Answer answer = gl::test::PageAnswer(page);
  gl::test::LoopbackServer server([&answer](const gl::test::Request&) { return answer; });
  const std::string start = server.Address("/dir/page.htm");
  const gl::FetchOptions options;
  const gl::Settings settings;
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
BENCHMARK(BM_FetchPage)->Arg(2 << 10)->Arg(16 << 10)->Arg(256 << 10)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
