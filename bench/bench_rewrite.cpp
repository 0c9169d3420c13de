// The page pipeline on large pages: cleaning, preparation and the rewriting pass,
// in bytes per second. Pages of 1, 4 and 16 MB show whether the cost grows with the page size
// alone; a page of many comments and titles before one far-away script shows that the searches
// never start over. With page styles on, the same pages show what reading every tag for its
// style references costs.

#include <benchmark/benchmark.h>

#include <string>

#include "generate/internal/page_clean.h"
#include "support/standalone_run.h"
#include "support/temp_folder.h"

namespace {

// A page of realistic density: per 400 bytes or so a paragraph with three links (one to a page
// of its own, so the page table grows with the page; two to pages met before), an image from a
// small set, some inline markup, and now and then a comment, a table row and a script.
std::string LargePage(std::size_t size) {
  std::string page =
      "HTTP/1.0 200 OK\r\nContent-Type: text/html\r\n\r\n<html><head><title>Large</title>"
      "<base href=\"http://elsewhere.test/\"></head><body background=\"img/bg.gif\">\n";
  for (int i = 0; size > page.size(); ++i) {
    const std::string n = std::to_string(i);
    page += "<p class=\"text\">Paragraph " + std::to_string(i) +
            " with <b>bold</b> and <i>italic</i> words, <a href=\"section/page" + n +
            ".htm\">a link</a>, <a href=\"../other/p" + std::to_string(i % 300) +
            ".html#part\">another</a> and <A HREF='/top/index.htm'>home</A>. "
            "<img src=\"img/pic" +
            std::to_string(i % 40) +
            ".gif\" width=10 height=10 alt=\"picture\"> Some more ordinary text follows here to "
            "give the paragraph its usual length before it ends.</p>\n";
    if (i % 10 == 0) page += "<!-- a comment between paragraphs -->\n";
    if (i % 25 == 0) page += "<table><tr><td>cell</td><td>cell</td></tr></table>\n";
    if (i % 100 == 0) page += "<script>var x = 1 < 2 ? '<a href=x>' : '';</script>\n";
  }
  page += "</body></html>";
  page += '\0';
  return page;
}

std::string PathologicalPage(std::size_t size) {
  std::string page = "HTTP/1.0 200\r\n\r\n";
  while (page.size() < size)
    page += "<!-- c --><title>t <a <!x>";
  page += "<script>end</script>";
  page += '\0';
  return page;
}

void Rewrite(benchmark::State& state, const std::string& bytes, bool pageStyles = false) {
  const gl::test::TempFolder folder;
  for (auto _ : state) {
    gl::test::StandaloneRun standalone(folder.Path());
    standalone.RunSettings.PageStyles = pageStyles;
    standalone.BeginEntry(false, 3);
    gl::PageJob job = standalone.Job(3);
    gl::MemoryStream page{bytes};
    gl::CheckedFile out(folder / "GL99.htm");
    gl::test::WriteFetchedPage(standalone.Context, job, page, out);
    out.Close();
    standalone.Context.FinishCatalogue();
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                          static_cast<std::int64_t>(bytes.size()));
}

void BM_RewritePage(benchmark::State& state) {
  Rewrite(state, LargePage(static_cast<std::size_t>(state.range(0)) << 20));
}
BENCHMARK(BM_RewritePage)->Arg(1)->Arg(4)->Arg(16)->Unit(benchmark::kMillisecond);

// The same pages with page styles on: every tag is also read for its srcset, style attribute,
// sheets and icons.
void BM_RewritePageWithStyles(benchmark::State& state) {
  Rewrite(state, LargePage(static_cast<std::size_t>(state.range(0)) << 20), true);
}
BENCHMARK(BM_RewritePageWithStyles)->Arg(1)->Arg(4)->Arg(16)->Unit(benchmark::kMillisecond);

void BM_CleanPage(benchmark::State& state) {
  const std::string bytes = LargePage(static_cast<std::size_t>(state.range(0)) << 20);
  for (auto _ : state) {
    gl::MemoryStream page{bytes};
    gl::CleanPage(page);
    benchmark::DoNotOptimize(gl::PageTitle(page.View()));
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                          static_cast<std::int64_t>(bytes.size()));
}
BENCHMARK(BM_CleanPage)->Arg(4)->Unit(benchmark::kMillisecond);

void BM_RewritePathologicalPage(benchmark::State& state) {
  Rewrite(state, PathologicalPage(static_cast<std::size_t>(state.range(0)) << 20));
}
BENCHMARK(BM_RewritePathologicalPage)->Arg(1)->Arg(4)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
