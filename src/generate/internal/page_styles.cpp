#include "generate/internal/page_styles.h"

#include "core/tag_text.h"
#include "generate/internal/download.h"
#include "generate/internal/srcset.h"
#include "generate/internal/style_scan.h"
#include "generate/internal/texts.h"
#include "net/address_forms.h"
#include "net/answer.h"
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

// Stores the sheet at `key` with its own references rewritten against where it was found, and
// returns its name; empty when it could not be had. It is recorded before its references are
// followed, so a sheet that imports itself, directly or not, finds its own name.
std::string StoreStyleSheet(RunContext& run, const std::string& key, int nesting) {
  TPageRecord* record = run.Pages().Find(key);
  if (record != nullptr && record->Stored) return record->LocalName;
  if (nesting > kMostSheetNesting || StopOrSkipRequested()) return {};
  std::string found = key;
  const FetchResult result = run.FetchFile(found);
  run.SetIdleStatus();
  if (result.LocationMissing || !result.PageOk) return {};
  const std::string name = run.AllocateImage(kSheetSuffix);
  if (name == texts::kNoName) return {};
  run.RecordFile(name);
  run.CountFile(result.Stream.Size());
  run.Pages().AddStored(key, name, kStoredFileDepth);
  // A link to the top of a window promised a page for this address: it shows the sheet.
  if (record != nullptr) WriteFilePage(run, *record, name);

  std::string_view body = result.Stream.View();
  const std::size_t start = FindHeaderEnd(body);
  body.remove_prefix(start == std::string_view::npos ? 0 : start);
  if (!body.empty() && body.back() == '\0') body.remove_suffix(1);
  const std::string text = RewriteSheetText(run, body, FetchedPageAddress(key, found), nesting);
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
  std::string text;
  text.reserve(css.size());
  std::size_t copied = 0;
  for (const StyleReference& reference : ScanStyleSheet(css)) {
    text += css.substr(copied, reference.From - copied);
    text += RewriteAddress(run, css.substr(reference.From, reference.To - reference.From), base,
                           reference.Sheet ? StyleRole::Sheet : StyleRole::File, nesting);
    copied = reference.To;
  }
  text += css.substr(copied);
  return text;
}

std::string RewriteSrcset(RunContext& run, std::string_view value, std::string_view base) {
  std::string text;
  std::size_t copied = 0;
  for (const SrcsetCandidate& candidate : SrcsetCandidates(value)) {
    text += value.substr(copied, candidate.From - copied);
    text += RewriteAddress(run, value.substr(candidate.From, candidate.To - candidate.From), base,
                           StyleRole::Picture, 0);
    copied = candidate.To;
  }
  text += value.substr(copied);
  return text;
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
  std::string text;
  std::size_t copied = 0;
  for (const StyleReferenceSpan& reference : StyleReferencesOfTag(tag)) {
    text += tag.substr(copied, reference.From - copied);
    text += RewriteStyleReference(run, tag.substr(reference.From, reference.To - reference.From),
                                  base, reference.Role);
    copied = reference.To;
  }
  text += tag.substr(copied);
  return text;
}

std::string RewriteStyleText(RunContext& run, std::string_view css, std::string_view base) {
  return RewriteSheetText(run, css, base, 0);
}

}  // namespace gl
