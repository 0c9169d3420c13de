#include "core/bookmark_reader.h"

#include <algorithm>
#include <array>
#include <optional>
#include <string>
#include <utility>

#include "core/byte_text.h"
#include "core/internal/html_text.h"
#include "core/tag_text.h"
#include "core/texts.h"
#include "platform/regular_file.h"

namespace gl {
namespace {

constexpr std::size_t kNone = std::string_view::npos;

// Bookmark files nest at most this many lists; deeper items hang under the last item of this
// level, so a hostile file cannot make the tree deeper than the table.
constexpr std::size_t kDeepestLevel = 100;

// The text between the last "<title>" and the "</title>" after it, as plain text; empty when
// there is none.
std::string TitleOf(std::string_view file) {
  constexpr std::string_view kClose = "</title>";
  std::string title;
  for (std::size_t open = FindNoCase(file, "<title"); open != kNone;) {
    const std::size_t start = file.find('>', open);
    if (start == kNone) break;
    const std::size_t end = FindNoCase(file, kClose, start);
    if (end == kNone) break;
    title = PlainTextOf(file.substr(start + 1, end - start - 1));
    open = FindNoCase(file, "<title", end + kClose.size());
  }
  return title;
}

// The value of the tag's HREF attribute without its quotes; empty when it has none.
std::string_view HrefOf(std::string_view tag) {
  const std::size_t name = FindAttribute(tag, "href", tag.size());
  if (name == kNone) return {};
  std::size_t value = AttributeValue(tag, name);
  if (value == kNone) return {};
  std::size_t end = ValueEnd(tag, value);
  if (end == kNone) end = tag.size();
  if (IsQuote(tag[value])) ++value;
  return tag.substr(value, end - value);
}

// Walks the file's tags once, keeping the list level and, for each level, the last item added
// there: the parent of the items one level deeper.
class BookmarkScanner {
 public:
  explicit BookmarkScanner(std::string_view file) : file_(file) { lastItemAt_.fill(kNone); }

  TBookmarkTree Scan() {
    for (std::size_t at = file_.find('<'); at != kNone; at = file_.find('<', at)) {
      const std::string_view tag = file_.substr(at + 1);
      if (MatchTagName(tag, "dt")) {
        at = ReadItem(at);
        continue;
      }
      if (MatchTagName(tag, "dl")) ++level_;
      if (MatchTagName(tag, "/dl") && level_ > 0) --level_;
      ++at;
    }
    return std::move(tree_);
  }

 private:
  // Reads the item whose "<dt" is at `at` and returns where the scan goes on: after the caption
  // of a link, at the inner tag of a folder heading (whose "<H3>" and "</H3>" are passed over).
  std::size_t ReadItem(std::size_t at) {
    const std::size_t inner = file_.find('<', at + 1);
    if (inner == kNone) {
      AddItem({}, {});
      return kNone;
    }
    // The inner tag ends at its '>'; a '<' first means it was never closed, and its caption is
    // empty. Either way no tag reaches past the next '<', which keeps the scan linear.
    std::size_t tagEnd = file_.find_first_of("<>", inner + 1);
    if (tagEnd == kNone) tagEnd = file_.size();
    const std::size_t captionStart =
        tagEnd < file_.size() && file_[tagEnd] == '>' ? tagEnd + 1 : tagEnd;
    std::size_t captionEnd = file_.find('<', captionStart);
    if (captionEnd == kNone) captionEnd = file_.size();

    const std::string_view href = HrefOf(file_.substr(inner, tagEnd - inner));
    AddItem(PlainTextOf(file_.substr(captionStart, captionEnd - captionStart)),
            DecodeCharacterReferences(href));
    return href.empty() ? inner : captionEnd;
  }

  // Items of the outermost list (and any before it) are top-level items; a deeper item hangs
  // under the last item one level up, or at the top when that level has none yet.
  void AddItem(std::string caption, std::string url) {
    std::size_t parent = TBookmark::kTopLevel;
    if (level_ >= 2) {
      const std::size_t last = lastItemAt_[std::min(level_ - 1, kDeepestLevel)];
      if (last != kNone) parent = last;
    }
    const std::size_t index = tree_.Items.size();
    tree_.Items.push_back({std::move(caption), std::move(url), parent});
    if (level_ <= kDeepestLevel) lastItemAt_[level_] = index;
  }

  std::string_view file_;
  std::size_t level_ = 0;
  std::array<std::size_t, kDeepestLevel + 1> lastItemAt_;
  TBookmarkTree tree_;
};

}  // namespace

TBookmarkTree ReadBookmarks(std::string_view file) {
  TBookmarkTree tree = BookmarkScanner(file).Scan();
  tree.Caption = TitleOf(file);
  if (tree.Caption.empty()) tree.Caption = texts::kBookmarks;
  return tree;
}

BookmarkLoadResult LoadBookmarks(const std::filesystem::path& fileName) {
  BookmarkLoadResult result;
  const std::optional<std::string> bytes = ReadRegularFile(fileName);
  if (bytes) result.Tree = ReadBookmarks(*bytes);
  result.Loaded = !result.Tree.Items.empty();
  if (!result.Loaded) {
    result.Message = {std::string(texts::kBookmarkErrorTitle),
                      std::string(texts::kBookmarkErrorText)};
  }
  return result;
}

}  // namespace gl
