// bench_run's whole generation run, started from a brief window of the desktop program: the run
// on its worker thread, every progress report carried to the window thread and shown there in
// the progress window and a status line. Set beside bench_run, it tells what showing the run
// costs.

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QEvent>
#include <QEventLoop>
#include <QLabel>

#include "platform/disk_space.h"
#include "platform/program_directory.h"
#include "site_answers.h"
#include "support/temp_folder.h"
#include "ui/brief_window.h"
#include "ui/prompter.h"
#include "ui/qt_text.h"
#include "ui/run_thread.h"
#include "whole_run.h"

namespace gl {
namespace {

constexpr int kBranching = 10;
constexpr int kLevels = 4;

// A run of the benchmark asks nothing; a message would spoil the figures.
class FailingPrompter : public Prompter {
 public:
  bool AskYesNo(std::string_view, std::string_view) override { return false; }
  void ShowError(std::string_view title, std::string_view) override { error = title; }
  std::string error;
};

void BM_GenerateSiteFromABriefWindow(benchmark::State& state) {
  const bench::BenchSite site(kBranching, kLevels);
  test::LoopbackServer server(bench::ServeSite(site));
  server.ServeInParallel();
  const test::TempFolder folder;
  FailingPrompter prompter;
  EntryHolder holder;
  BriefWindowServices windowServices;
  windowServices.Prompts = &prompter;
  windowServices.Holder = &holder;
  QLabel status;
  status.show();
  std::int64_t pages = 0;
  int run = 0;
  for (auto _ : state) {
    state.PauseTiming();
    const std::filesystem::path briefFolder = folder / ("brief" + std::to_string(run++));
    TBriefDocument document = bench::SiteBrief(briefFolder, server, site);
    if (document.FileName.empty()) state.SkipWithError("save");
    TGleanerForm form(std::move(document), windowServices);
    RunServices services;
    services.Prompts = &prompter;
    services.SetStatusText = [&status](const std::string& text) {
      status.setText(ToQString(text));
      status.repaint();
    };
    services.Leaving = [] { return true; };  // no Brief Ready question
    services.Environment.ProgramDirectory = ProgramDirectory();
    services.Environment.FreeSpace = FreeDiskBytes;
    services.RunSettings.Connections = static_cast<int>(state.range(0));
    QEventLoop loop;
    state.ResumeTiming();

    auto* thread = new TGleanerThread(form, std::move(services));
    QObject::connect(thread, &TGleanerThread::Ended, &loop, &QEventLoop::quit);
    loop.exec();

    state.PauseTiming();
    const std::string incomplete =
        !prompter.error.empty() ? prompter.error : bench::IncompleteRun(briefFolder / "0", site);
    if (!incomplete.empty()) {
      state.SkipWithError(incomplete.c_str());
      break;
    }
    pages += bench::StoredPages(briefFolder / "0");
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    state.ResumeTiming();
  }
  state.counters["pages_per_second"] =
      benchmark::Counter(static_cast<double>(pages), benchmark::Counter::kIsRate);
  state.counters["peak_memory_MB"] = bench::PeakMemoryMegabytes();
}
BENCHMARK(BM_GenerateSiteFromABriefWindow)
    ->ArgName("connections")
    ->Arg(1)
    ->Arg(4)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3)
    ->UseRealTime();

}  // namespace
}  // namespace gl
