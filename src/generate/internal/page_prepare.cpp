#include "generate/internal/page_prepare.h"

#include <algorithm>
#include <vector>

#include "core/tag_text.h"
#include "generate/internal/download.h"
#include "generate/internal/page_styles.h"
#include "generate/internal/stream_search.h"
#include "generate/internal/texts.h"
#include "net/address_forms.h"
#include "platform/cancellation.h"

namespace gl {
namespace {

constexpr std::size_t kNone = std::string_view::npos;

void Blank(std::string& page, std::size_t from, std::size_t to) {
  std::fill(page.begin() + static_cast<std::ptrdiff_t>(from),
            page.begin() + static_cast<std::ptrdiff_t>(to), ' ');
}

// The tags that preparing a page moves all start with one of these letters: their places are
// found in one pass over the page, and each search below reads the list instead of the page.
class PreparedTags {
 public:
  explicit PreparedTags(std::string_view page) : starts_(FindTagStarts(page, "fbs")) {}

  // The first place at or after `from` where `name` starts a tag that has not been moved (and so
  // blanked) yet.
  std::size_t Find(std::string_view page, std::size_t from, std::string_view name) const {
    for (auto at = std::lower_bound(starts_.begin(), starts_.end(), from); at != starts_.end();
         ++at) {
      if (page[*at] == '<' && MatchTagName(page.substr(*at + 1), name)) return *at;
    }
    return kNone;
  }

 private:
  std::vector<std::size_t> starts_;
};

// The new frame set's navigation row: a small page with the header in its frame form.
void WriteNavigationRow(RunContext& run, const PageJob& job, CheckedFile& out) {
  const std::string name = run.AllocatePage(texts::kPageSuffix);
  if (name == texts::kNoName) return;
  run.RecordFile(name);
  CheckedFile row(run.PathOf(name));
  LinkSet links = job.Links;
  links.FullPage = job.LocalName;
  run.WriteHeader(row, job.Title, true, links);
  row.Close();
  out << "<frameset rows=\"36,*\">"
      << "<frame src=\"" << name
      << "\" marginwidth=\"1\" marginheight=\"1\" scrolling=\"no\" resize>";
}

void MoveFrameSet(RunContext& run, const PageJob& job, std::string& page, std::size_t frameSet,
                  CheckedFile& out) {
  WriteNavigationRow(run, job, out);
  const std::size_t close = std::string_view(page).substr(frameSet, kTagWindow).find('>');
  if (close == kNone) return;
  out << std::string_view(page).substr(frameSet, close + 1);
  Blank(page, frameSet, frameSet + close + 1);
}

// Writes one body tag, its background replaced by the stored image's name.
void WriteBodyTag(RunContext& run, const PageJob& job, std::string_view tag, CheckedFile& out) {
  const std::size_t close = tag.size() - 1;
  const std::size_t name = FindAttribute(tag, "background", close);
  const std::size_t value = name == kNone ? kNone : AttributeValue(tag, name);
  const std::size_t end = value == kNone ? kNone : ValueEnd(tag, value);
  if (value == kNone || value >= close || end == kNone) {
    out << tag;
    return;
  }
  const std::size_t start = value + (tag[value] == '"' || tag[value] == '\'' ? 1 : 0);
  const std::string_view address = tag.substr(start, end - start);
  out << tag.substr(0, start);
  if (SchemeOfLink(address, run.SecurePages()).Other) {
    out << address;  // an inline image or another scheme: nothing to store
  } else if (!run.Entry().Images) {
    out << texts::kImageNotLoaded;
  } else if (StopOrSkipRequested() || !DownloadFile(run, out, address, job.Address)) {
    // Not stored: the background is still shown from the web.
    out << NormaliseDisplayAddress(ResolveAddress(job.Address, address));
  }
  out << tag.substr(end);
}

void MoveBodyTags(RunContext& run, const PageJob& job, std::string& page, const PreparedTags& tags,
                  CheckedFile& out) {
  std::size_t from = 0;
  for (std::size_t body = tags.Find(page, from, "body"); body != kNone;
       body = tags.Find(page, from, "body")) {
    const std::size_t close = std::string_view(page).substr(body, kTagWindow).find('>');
    if (close == kNone) {
      from = body + 1;
      continue;
    }
    const std::string_view tag = std::string_view(page).substr(body, close + 1);
    if (run.PageStyles()) {
      WriteBodyTag(run, job, RewriteTagStyles(run, tag, job.Address), out);
    } else {
      WriteBodyTag(run, job, tag, out);
    }
    Blank(page, body, body + close + 1);
    from = body + close + 1;
  }
}

// A script ends at the '>' of its "</script"; failing that, of the next "</head", or of the next
// body tag.
std::size_t ScriptEnd(std::string_view page, std::size_t script) {
  std::size_t endTag = FindTagInStream(page, script + 1, "/script");
  if (endTag == kNone) endTag = FindTagInStream(page, script + 1, "/head");
  if (endTag == kNone) endTag = FindTagInStream(page, script + 1, "body");
  return endTag == kNone ? kNone : page.find('>', endTag);
}

void MoveScripts(std::string& page, const PreparedTags& tags, CheckedFile& out) {
  std::size_t from = 0;
  for (std::size_t script = tags.Find(page, from, "script"); script != kNone;
       script = tags.Find(page, from, "script")) {
    const std::size_t end = ScriptEnd(page, script);
    if (end == kNone) return;
    out << std::string_view(page).substr(script, end + 1 - script);
    Blank(page, script, end + 1);
    from = end + 1;
  }
}

}  // namespace

bool PreparePage(RunContext& run, const PageJob& job, MemoryStream& page, CheckedFile& out) {
  std::string& bytes = page.Bytes();
  const PreparedTags tags(bytes);
  const std::size_t frameSet = tags.Find(bytes, 0, "frameset");
  if (frameSet != kNone) {
    // A frame set inside a frame is left as it stands: the outer frame set has the navigation row.
    if (!job.Frame) MoveFrameSet(run, job, bytes, frameSet, out);
  } else {
    MoveBodyTags(run, job, bytes, tags, out);
  }
  MoveScripts(bytes, tags, out);
  return frameSet != kNone;
}

}  // namespace gl
