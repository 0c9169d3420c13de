#include "generate/internal/page_styles.h"

#include "core/tag_text.h"
#include "generate/internal/download.h"
#include "generate/internal/save_file_body.h"
#include "generate/internal/srcset.h"
#include "generate/internal/style_scan.h"
#include "generate/internal/texts.h"
#include "net/address_forms.h"
#include "platform/cancellation.h"

namespace gl {
namespace {

// The suffix every stored sheet gets, whatever its address ends in, so that a browser reads it
// from the disk as a style sheet.
constexpr std::string_view kSheetSuffix = "css";
// How deep sheets may import sheets; a chain of new addresses ends there, each further sheet
// read from the web.
constexpr int kMostSheetNesting = 8;

std::string RewriteSheetText(RunContext& run, std::string_view css, std::string_view base,
                             int nesting);

// `text` with each of `spans` (From and To, in order, apart) replaced by what `replace` makes of
// the span and its bytes.
template <typename Spans, typename Replace>
std::string ReplaceSpans(std::string_view text, const Spans& spans, Replace replace) {
  std::string result;
  result.reserve(text.size());
  std::size_t copied = 0;
  for (const auto& span : spans) {
    result += text.substr(copied, span.From - copied);
    result += replace(span, text.substr(span.From, span.To - span.From));
    copied = span.To;
  }
  result += text.substr(copied);
  return result;
}

// Stores the sheet at `key` with its own references rewritten against where it was found, and
// returns its name; empty when it could not be had. It is recorded before its references are
// followed, so a sheet that imports itself, directly or not, finds its own name.
std::string StoreStyleSheet(RunContext& run, const std::string& key, int nesting) {
  TPageRecord* record = run.Pages().Find(key);
  if (record != nullptr && record->Stored) return run.Pages().LocalName(*record);
  if (nesting > kMostSheetNesting || StopOrSkipRequested()) return {};
  std::string found = key;
  const FetchResult result = run.FetchFile(found);
  run.SetIdleStatus();
  if (result.LocationMissing || !result.PageOk) return {};
  const std::string name = run.AllocateImage(kSheetSuffix);
  if (name == texts::kNoName) return {};
  run.RecordFile(name);
  run.CountFile(result.Stream.Size());
  run.Pages().AddStored(key, name, TPageRecord::kFileDepth);
  // A link to the top of a window promised a page for this address: it shows the sheet.
  if (record != nullptr) WriteFilePage(run, *record, name);

  const std::string text =
      RewriteSheetText(run, FetchedBody(result.Stream), FetchedPageAddress(key, found), nesting);
  run.CheckFreeSpace();
  CheckedFile file(run.PathOf(name));
  file << text;
  file.Close();
  return name;
}

bool WantedByEntry(const RunContext& run, StyleRole role) {
  return role == StyleRole::Sheet ||
         (role == StyleRole::Picture ? run.Entry().Images : run.Entry().OtherFiles);
}

std::string RewriteAddress(RunContext& run, std::string_view value, std::string_view base,
                           StyleRole role, int nesting) {
  const std::string_view bare = SkipBlanksAndQuotes(value);
  // Inline data, other schemes and places in the same document are no files to store.
  if (bare.empty() || bare.front() == '#' || SchemeOfLink(bare, run.SecurePages()).Other) {
    return std::string(value);
  }
  const std::string address = ResolveAddress(base, bare);
  const std::string key(CutFragment(address));
  const std::string_view fragment = std::string_view(address).substr(key.size());
  if (role == StyleRole::File && IsPictureName(DownloadSuffix(key))) role = StyleRole::Picture;
  std::string name;
  if (WantedByEntry(run, role)) {
    name = role == StyleRole::Sheet ? StoreStyleSheet(run, key, nesting)
                                    : StoreLinkedFile(run, key, !StopOrSkipRequested());
  }
  return name.empty() ? NormaliseDisplayAddress(address) : name + std::string(fragment);
}

std::string RewriteSheetText(RunContext& run, std::string_view css, std::string_view base,
                             int nesting) {
  return ReplaceSpans(css, ScanStyleSheet(css), [&](const StyleReference& reference, auto value) {
    return RewriteAddress(run, value, base, reference.Sheet ? StyleRole::Sheet : StyleRole::File,
                          nesting);
  });
}

std::string RewriteSrcset(RunContext& run, std::string_view value, std::string_view base) {
  return ReplaceSpans(value, SrcsetCandidates(value), [&](const SrcsetCandidate&, auto address) {
    return RewriteAddress(run, address, base, StyleRole::Picture, 0);
  });
}

}  // namespace

std::string RewriteStyleReference(RunContext& run, std::string_view value, std::string_view base,
                                  StyleRole role) {
  switch (role) {
    case StyleRole::Srcset:
      return RewriteSrcset(run, value, base);
    case StyleRole::StyleText:
      return RewriteSheetText(run, value, base, 0);
    default:
      return RewriteAddress(run, value, base, role, 0);
  }
}

std::string RewriteTagStyles(RunContext& run, std::string_view tag, std::string_view base) {
  return ReplaceSpans(tag, StyleReferencesOfTag(tag),
                      [&](const StyleReferenceSpan& reference, auto value) {
                        return RewriteStyleReference(run, value, base, reference.Role);
                      });
}

std::string RewriteStyleText(RunContext& run, std::string_view css, std::string_view base) {
  return RewriteSheetText(run, css, base, 0);
}

}  // namespace gl
