// Serves the benchmark site on 127.0.0.1 until SIGTERM or SIGINT, for mirroring it with other
// tools (bench/compare_wget.sh). Prints the port on the first line of standard output.
//
//   site_server [BRANCHING LEVELS [DELAY_MS]]     default: 10 4 0 (1,111 pages, no delay)
//
// Connections are served in parallel; DELAY_MS is each answer's time to the first byte.

#include <signal.h>

#include <cstdlib>
#include <iostream>

#include "bench_site.h"
#include "site_answers.h"

int main(int argc, char** argv) {
  const int branching = argc > 2 ? std::atoi(argv[1]) : 10;
  const int levels = argc > 2 ? std::atoi(argv[2]) : 4;
  const int delay = argc > 3 ? std::atoi(argv[3]) : 0;
  if (branching < 1 || levels < 1 || delay < 0) {
    std::cerr << "usage: site_server [BRANCHING LEVELS [DELAY_MS]]\n";
    return 2;
  }
  // Blocked before the server's thread starts, so only sigwait below receives them.
  sigset_t endSignals;
  sigemptyset(&endSignals);
  sigaddset(&endSignals, SIGTERM);
  sigaddset(&endSignals, SIGINT);
  pthread_sigmask(SIG_BLOCK, &endSignals, nullptr);

  const gl::bench::BenchSite site(branching, levels);
  gl::test::LoopbackServer server(gl::bench::ServeSite(site, std::chrono::milliseconds(delay)));
  server.ServeInParallel();
  std::cout << server.Port() << std::endl;
  std::cerr << site.PageCount() << " pages, " << site.ImageCount() << " images at "
            << server.Address("/index.htm") << '\n';
  int received = 0;
  sigwait(&endSignals, &received);
  return 0;
}
