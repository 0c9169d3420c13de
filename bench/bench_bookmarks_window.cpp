// The bookmark window over a large export (large_bookmark_export.h): filling its outline, and
// dropping a group of 1,000 links into the middle of a brief of 100 entries (the new rows, then
// one save). Runs on Qt's offscreen platform.

#include <benchmark/benchmark.h>

#include <QTreeWidget>
#include <memory>
#include <string>

#include "core/bookmark_reader.h"
#include "core/brief_file.h"
#include "large_bookmark_export.h"
#include "support/temp_folder.h"
#include "ui/bookmarks_window.h"
#include "ui/brief_window.h"
#include "ui/entry_drag.h"
#include "ui/prompter.h"

namespace {

class SilentPrompter : public gl::Prompter {
 public:
  bool AskYesNo(std::string_view, std::string_view) override { return true; }
  void ShowError(std::string_view, std::string_view) override {}
};

void BM_FillBookmarksWindow(benchmark::State& state) {
  const gl::TBookmarkTree tree = gl::ReadBookmarks(gl::bench::LargeExport());
  gl::EntryHolder holder;
  for (auto _ : state) {
    gl::TBkMarks window(tree, holder);
    benchmark::DoNotOptimize(window.findChild<QTreeWidget*>("GLOutline")->topLevelItemCount());
  }
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(tree.Items.size()));
}
BENCHMARK(BM_FillBookmarksWindow)->Unit(benchmark::kMillisecond);

void BM_DropBookmarkGroup(benchmark::State& state) {
  const gl::TBookmarkTree tree = gl::ReadBookmarks(gl::bench::LargeExport());
  gl::EntryHolder holder;
  gl::TBkMarks bookmarks(tree, holder);
  auto* group = bookmarks.findChild<QTreeWidget*>("GLOutline")->topLevelItem(0);
  const std::unique_ptr<gl::EntryDragData> data = bookmarks.DragData(*group);
  gl::test::TempFolder folder;
  SilentPrompter prompter;
  for (auto _ : state) {
    state.PauseTiming();
    gl::TBriefDocument document;
    document.FileName = folder / "large.brf";
    for (int i = 0; i < 100; ++i)
      gl::CreateNewWebEntry(document.Brief, 0);
    gl::BriefWindowServices services;
    services.Prompts = &prompter;
    services.Holder = &holder;
    auto form = std::make_unique<gl::TGleanerForm>(std::move(document), services);
    state.ResumeTiming();
    form->DropEntries(data->Entries, 50);
    state.PauseTiming();
    form.reset();
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(data->Entries.size()));
}
BENCHMARK(BM_DropBookmarkGroup)->Unit(benchmark::kMillisecond);

}  // namespace
