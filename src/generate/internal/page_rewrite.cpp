#include "generate/internal/page_rewrite.h"

#include <algorithm>
#include <deque>
#include <utility>
#include <vector>

#include "core/byte_text.h"
#include "core/tag_text.h"
#include "generate/internal/download.h"
#include "generate/internal/page_styles.h"
#include "generate/internal/stream_search.h"
#include "generate/internal/texts.h"
#include "generate/internal/unfetched_link_page.h"
#include "generate/internal/view_index.h"
#include "net/address_forms.h"
#include "platform/cancellation.h"

namespace gl {
namespace {

constexpr std::size_t kNone = std::string_view::npos;
// Free space is tested on the first tag to rewrite and then on every 52nd.
constexpr int kTagsBetweenDiskChecks = 51;
// How many bytes of a tag decide its kind.
constexpr std::size_t kClassifyLength = 9;

enum class TagKind { Other, NoFrames, EndNoFrames, Anchor, Image, Frame, Area, Embed };

TagKind Classify(std::string_view afterOpen) {
  // Most tags of a page are none of these: their first letter tells at once, and leaves at most
  // two names to compare.
  switch (afterOpen.empty() ? '\0' : LowerAscii(afterOpen.front())) {
    case 'n':
      return MatchTagName(afterOpen, "noframe") ? TagKind::NoFrames : TagKind::Other;
    case '/':
      return MatchTagName(afterOpen, "/noframe") ? TagKind::EndNoFrames : TagKind::Other;
    case 'a':
      if (MatchTagName(afterOpen, "a ")) return TagKind::Anchor;
      return MatchTagName(afterOpen, "area ") ? TagKind::Area : TagKind::Other;
    case 'i':
      return MatchTagName(afterOpen, "img ") || MatchTagName(afterOpen, "image ") ? TagKind::Image
                                                                                  : TagKind::Other;
    case 'f':
      return MatchTagName(afterOpen, "frame ") ? TagKind::Frame : TagKind::Other;
    case 'e':
      return MatchTagName(afterOpen, "embed ") ? TagKind::Embed : TagKind::Other;
    default:
      return TagKind::Other;
  }
}

// A server-side image map: "ismap" followed by a blank or '>' from the tag's fifth byte on.
bool HasIsMap(std::string_view tag) {
  constexpr std::string_view kIsMap = "ismap";
  for (std::size_t at = FindNoCase(tag, kIsMap, 4); at != kNone;
       at = FindNoCase(tag, kIsMap, at + 1)) {
    const std::size_t after = at + kIsMap.size();
    if (after < tag.size() && (IsBlankOrLineEnd(tag[after]) || tag[after] == '>')) return true;
  }
  return false;
}

// A target of "_blank" or "_top" opens the link in a new top-level window.
bool OpensNewWindow(std::string_view tag) {
  const std::size_t name = FindAttribute(tag, "target", tag.size());
  const std::size_t value = name == kNone ? kNone : AttributeValue(tag, name);
  if (value == kNone) return false;
  const std::string_view target = SkipBlanksAndQuotes(tag.substr(value));
  return MatchTagName(target, "_blank") || MatchTagName(target, "_top");
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && StartsWithNoCase(a, LowerAscii(b));
}

// An anchor that leads straight to a picture.
bool PointsAtImage(std::string_view address) {
  const std::size_t dot = address.rfind('.');
  if (dot == kNone) return false;
  const std::string_view suffix = address.substr(dot + 1);
  return StartsWithNoCase(suffix, "gif") || StartsWithNoCase(suffix, "jpg");
}

// The place of an attribute value in the page: [From, To).
struct Span {
  std::size_t From;
  std::size_t To;
};

// A link value's canonical address and its page-table keys in both roles, all views of one
// text: the ordinary-link key, then the address's fragment. A link met again costs no allocation;
// the key of the other role is a view too (the ordinary key's other is the top key).
class ResolvedLink {
 public:
  void Assign(std::string_view address) {
    // The key is the mark and the address up to its fragment: the address follows the mark whole.
    targetEnd_ = kOrdinaryLinkMark.size() + CutFragment(address).size();
    text_.reserve(kOrdinaryLinkMark.size() + address.size());
    text_.append(kOrdinaryLinkMark).append(address);
  }

  std::string_view Address() const {
    return std::string_view(text_).substr(kOrdinaryLinkMark.size());
  }
  // The address without its fragment, which is also its key in the top role.
  std::string_view TopKey() const {
    return std::string_view(text_).substr(kOrdinaryLinkMark.size(),
                                          targetEnd_ - kOrdinaryLinkMark.size());
  }
  std::string_view Fragment() const { return std::string_view(text_).substr(targetEnd_); }
  // PageTableKey(Address(), true).
  std::string_view OrdinaryKey() const { return std::string_view(text_).substr(0, targetEnd_); }
  // The same address's key in the ordinary role; as for any key, one that begins with the mark
  // is taken for an ordinary key and loses it instead.
  std::string_view OtherOfTopKey() const {
    const std::string_view top = TopKey();
    const std::string_view bare = AddressOfKey(top);
    return bare.size() != top.size() ? bare : OrdinaryKey();
  }

  // Once one of the keys above is in the spider's list in a role, queueing it again in that role
  // does nothing until the lists flip, which no page's pass outlives: a bit per key and role.
  bool Queued(std::string_view key, bool frame) const {
    return (queued_ & QueuedBit(key, frame)) != 0;
  }
  void SetQueued(std::string_view key, bool frame) { queued_ |= QueuedBit(key, frame); }

 private:
  // The keys are told apart by where they start in the text: at 0, after one mark or after two.
  unsigned QueuedBit(std::string_view key, bool frame) const {
    const auto start = static_cast<std::size_t>(key.data() - text_.data());
    return 1U << ((start / kOrdinaryLinkMark.size()) * 2 + (frame ? 1 : 0));
  }

  std::string text_;
  std::size_t targetEnd_ = 0;
  unsigned queued_ = 0;
};

// The links of one page by value, each resolved once; the deque keeps every link in place.
class ResolvedLinks {
 public:
  // The link stored for `value`, or a new empty one (Added) to be assigned.
  struct Found {
    ResolvedLink& Link;
    bool Added;
  };

  Found Find(std::string_view value) {
    const auto [number, added] = index_.FindOrAdd(value);
    if (added) links_.emplace_back();
    return {links_[number - 1], added};
  }

 private:
  ViewIndex index_;  // views the page
  std::deque<ResolvedLink> links_;
};

class Pass {
 public:
  Pass(RunContext& run, const PageJob& job, std::string_view page, CheckedFile& out)
      : run_(run), job_(job), page_(page), out_(out) {
    end_ = !page_.empty() && page_.back() == '\0' ? page_.size() - 1 : page_.size();
  }

  void Run() {
    std::size_t search = 0;
    for (;;) {
      const auto [open, close] = NextTag(search);
      if (open == kNone || open >= end_) break;
      if (close == kNone || close >= end_) break;
      const TagKind kind = Classify(page_.substr(open + 1, kClassifyLength));
      if (pageStyles_) FindStyleReferences(open, close);
      switch (kind) {
        case TagKind::Other:
          break;
        case TagKind::NoFrames:
          // Browsers without frames show this part: it gets the navigation bar.
          CopyTo(close + 1);
          run_.WriteHeader(out_, job_.Title, false, job_.Links);
          insideNoFrames_ = true;
          break;
        case TagKind::EndNoFrames:
          CopyTo(open);
          PrintBriefFooter(out_, job_.Links);
          insideNoFrames_ = false;
          break;
        default:
          RewriteTag(kind, open, close);
          break;
      }
      search = pageStyles_ ? RewriteStyles(open, close) : close + 1;
    }
    CheckDisk();
    CopyTo(end_);
  }

 private:
  void CopyTo(std::size_t to) {
    if (to <= copied_) return;
    out_.Write(page_.substr(copied_, to - copied_));
    copied_ = to;
  }

  void Replace(Span span, std::string_view text, std::string_view tail = {}) {
    CopyTo(span.From);
    out_ << text << tail;
    copied_ = span.To;
  }

  void CheckDisk() {
    if (diskCounter_ >= kTagsBetweenDiskChecks) {
      run_.CheckFreeSpace();
      diskCounter_ = 0;
    } else {
      ++diskCounter_;
    }
  }

  // The delimiters of the first tag at or after `from`. An anchor looks at the tag after it, which
  // the pass reaches next: the answer is kept, so that no tag is searched for twice.
  std::pair<std::size_t, std::size_t> NextTag(std::size_t from) {
    if (nextTagFrom_ != from) {
      nextTagFrom_ = from;
      const std::size_t open = FindByteInStream(page_, '<', from);
      nextTag_ = {open, open == kNone ? kNone : FindByteInStream(page_, '>', open + 1)};
    }
    return nextTag_;
  }

  bool NextTagIsImageMap(std::size_t from) {
    const auto [open, close] = NextTag(from);
    if (open == kNone || open >= end_) return false;
    if (close == kNone) return false;
    const std::string_view tag = page_.substr(open, std::min(close - open + 1, kTagWindow));
    const std::string_view name = tag.substr(1);
    return (MatchTagName(name, "img ") || MatchTagName(name, "image ")) && HasIsMap(tag);
  }

  void RewriteTag(TagKind kind, std::size_t open, std::size_t close) {
    // Asked here rather than for every tag: only the tags that are rewritten need the answer.
    stopping_ = StopOrSkipRequested();
    CheckDisk();
    const std::size_t tagEnd = close - open;  // the '>' inside the tag
    const std::string_view tag = page_.substr(open, std::min(tagEnd + 1, kTagWindow));
    bool imageMap = false;
    if (kind == TagKind::Anchor) imageMap = NextTagIsImageMap(close + 1);
    if (kind == TagKind::Image) imageMap = HasIsMap(tag);

    const bool pageLink =
        kind == TagKind::Anchor || kind == TagKind::Area || kind == TagKind::Frame;
    const bool hrefTag = kind == TagKind::Anchor || kind == TagKind::Area;
    // A value that runs past the part of the tag that was read is left as it stands.
    const auto found = FindAttributeValue(tag, hrefTag ? "href" : "src", tag.size());
    if (!found || found->From >= tagEnd) return;
    const std::string_view value = tag.substr(found->From, found->To - found->From);
    const Span span{open + found->From, open + found->To};
    if (pageStyles_) RewriteStyleReferences(span.From);
    if (pageLink) {
      if (job_.RewriteLinks) RewriteLink(kind, tag, value, span, imageMap);
    } else {
      RewriteFile(value, span, imageMap);
    }
  }

  bool Serves(const TPageRecord& record, bool newWindow) const {
    if (!record.FrameRole) return !job_.FrameSet || insideNoFrames_ || newWindow;
    return (job_.Frame || job_.FrameSet) && !newWindow;
  }

  TPageRecord* FindServing(std::string_view key, bool newWindow) const {
    return run_.Pages().FindNewest(
        key, [&](const TPageRecord& record) { return Serves(record, newWindow); });
  }

  // The record that serves a link, and the key it is known by: a link is looked up in its own
  // role first, then in the other one (an ordinary link finds the entry's top page and the
  // downloaded files; a link to the top of a window finds a page stored through ordinary links),
  // so that a page is fetched a second time only when no stored copy can stand in for it.
  TPageRecord* FindServingLink(std::string_view& key, std::string_view other,
                               bool newWindow) const {
    if (TPageRecord* record = FindServing(key, newWindow)) return record;
    TPageRecord* record = FindServing(other, newWindow);
    if (record != nullptr) key = other;
    return record;
  }

  LinkSet SpecialLinks(std::string_view address) const {
    LinkSet links = job_.Links;
    links.Original = address;
    links.FullPage.clear();
    return links;
  }

  // Writes a special page in place of the value and records it, so the next link to the same
  // address is served by it. A special page that could not be named leaves the value as it is.
  void WriteSpecial(Span span, std::string_view key, std::string_view address, SpecialPage kind,
                    bool frameLink) {
    CopyTo(span.From);
    const std::string name =
        WriteSpecialPage(run_, out_, address, kind, SpecialLinks(address), SpecialPageTitle(kind));
    if (name.empty()) return;
    copied_ = span.To;
    run_.Pages().AddStored(key, name, 0, 0, frameLink);
  }

  void RewriteLink(TagKind kind, std::string_view tag, std::string_view value, Span span,
                   bool imageMap) {
    const LinkScheme scheme = SchemeOfLink(value, run_.SecurePages());
    const bool newWindow = OpensNewWindow(tag);
    const bool frameLink = (job_.Frame || job_.FrameSet) && !insideNoFrames_ && !newWindow;
    if (scheme.Other) {
      // Mail and other schemes are never fetched; the link itself is already absolute.
      if (stopping_) return;
      std::string key(SkipBlanksAndQuotes(value));
      if (TPageRecord* record = FindServing(key, newWindow)) {
        Replace(span, run_.Pages().LocalName(*record));
        return;
      }
      WriteSpecial(span, key, key,
                   scheme.Mail ? SpecialPage::MailLink : SpecialPage::UnsupportedProtocol,
                   frameLink);
      return;
    }

    ResolvedLink& link = Resolved(value);
    const std::string_view address = link.Address();
    const std::string_view target = link.TopKey();
    const std::string_view fragment = link.Fragment();
    // Not followed: shown from the web. An image-map anchor needs the server; an anchor to a
    // picture is not stored when the entry loads no images.
    if (stopping_ || imageMap ||
        (kind == TagKind::Anchor && !run_.Entry().Images && PointsAtImage(target))) {
      Replace(span, NormaliseDisplayAddress(address));
      return;
    }

    const bool topRole = insideNoFrames_ || newWindow;
    std::string_view key = topRole ? link.TopKey() : link.OrdinaryKey();
    TPageRecord* record =
        FindServingLink(key, topRole ? link.OtherOfTopKey() : link.TopKey(), newWindow);
    if (job_.Depth <= 1) {
      // The last level: nothing more is fetched. A link to a place on this very page stays on
      // it; a stored page still serves; anything else gets a spider-limit page.
      if (!fragment.empty() && EqualsNoCase(target, CutFragment(job_.Address))) {
        Replace(span, job_.LocalName, fragment);
      } else if (record != nullptr) {
        Replace(span, run_.Pages().LocalName(*record), fragment);
      } else {
        WriteSpecial(span, key, NormaliseDisplayAddress(address), SpecialPage::SpiderLimit,
                     frameLink);
      }
      return;
    }

    if (record != nullptr) {
      Replace(span, run_.Pages().LocalName(*record), fragment);
    } else {
      const std::string name = run_.AllocatePage(texts::kPageSuffix);
      if (name == texts::kNoName) {
        Replace(span, {}, fragment);  // the value is dropped; the spider still sees the link
      } else {
        const std::uint32_t node = run_.AddContentsNode(texts::kUnnamedNode);
        run_.Contents().SetFragment(node, fragment);
        run_.Pages().AddPromised(key, name, job_.Depth - 1, node, frameLink);
        Replace(span, name, fragment);
      }
    }
    if (!link.Queued(key, frameLink) && run_.QueueLink(key, frameLink, job_.Depth - 1))
      link.SetQueued(key, frameLink);
  }

  void RewriteFile(std::string_view value, Span span, bool imageMap) {
    // Inline data and other schemes are not files to store.
    if (SchemeOfLink(value, run_.SecurePages()).Other) return;
    if (!run_.Entry().Images && !imageMap) {
      Replace(span, texts::kImageNotLoaded);
      return;
    }
    if (!stopping_) {
      CopyTo(span.From);
      if (DownloadFile(run_, out_, value, job_.Address)) {
        copied_ = span.To;
        return;
      }
    }
    // Not stored: shown from the web.
    Replace(span, NormaliseDisplayAddress(Resolved(value).Address()));
  }

  // A link value read against the page's address, with its page-table keys; a page that repeats
  // a value has it resolved once.
  ResolvedLink& Resolved(std::string_view value) {
    const auto [link, added] = resolved_.Find(value);
    if (added) link.Assign(ResolveAddress(job_.Address, value));
    return link;
  }

  // Page styles: the tag's own references (srcset, style attribute, sheets, icons, objects,
  // posters), each replaced in the order it stands, around the tag's link or image.
  void FindStyleReferences(std::size_t open, std::size_t close) {
    styleTagAt_ = open;
    styleTag_ = page_.substr(open, std::min(close - open + 1, kTagWindow));
    styleReferences_ = StyleReferencesOfTag(styleTag_);
    nextStyleReference_ = 0;
  }

  void RewriteStyleReferences(std::size_t before) {
    for (; nextStyleReference_ < styleReferences_.size(); ++nextStyleReference_) {
      const StyleReferenceSpan& reference = styleReferences_[nextStyleReference_];
      const Span span{styleTagAt_ + reference.From, styleTagAt_ + reference.To};
      if (span.To > before) return;
      if (span.From < copied_) continue;  // copied with the tag already
      const std::string_view value =
          styleTag_.substr(reference.From, reference.To - reference.From);
      Replace(span, RewriteStyleReference(run_, value, job_.Address, reference.Role));
    }
  }

  // The rest of the tag's references, and a <style> block's sheet after its tag. Returns where
  // the search for the next tag goes on: past the block, whose text holds no tags.
  std::size_t RewriteStyles(std::size_t open, std::size_t close) {
    RewriteStyleReferences(kNone);
    if (!StartsStyleBlock(page_.substr(open + 1, kClassifyLength))) return close + 1;
    const std::size_t blockEnd = std::min(FindTagInStream(page_, close + 1, "/style"), end_);
    if (blockEnd <= close + 1) return close + 1;
    const std::string_view css = page_.substr(close + 1, blockEnd - close - 1);
    Replace({close + 1, blockEnd}, RewriteStyleText(run_, css, job_.Address));
    return blockEnd;
  }

  RunContext& run_;
  const PageJob& job_;
  const std::string_view page_;
  CheckedFile& out_;
  std::size_t end_ = 0;  // the terminating zero, which is not copied
  std::size_t copied_ = 0;
  std::size_t nextTagFrom_ = kNone;
  std::pair<std::size_t, std::size_t> nextTag_;
  bool insideNoFrames_ = false;
  bool stopping_ = false;
  int diskCounter_ = kTagsBetweenDiskChecks;
  const bool pageStyles_ = run_.PageStyles();
  std::size_t styleTagAt_ = 0;
  std::string_view styleTag_;
  std::vector<StyleReferenceSpan> styleReferences_;
  std::size_t nextStyleReference_ = 0;
  // Resolved link values by value; the keys view the page.
  ResolvedLinks resolved_;
};

}  // namespace

void RewritePage(RunContext& run, const PageJob& job, const MemoryStream& page, CheckedFile& out) {
  Pass(run, job, page.View(), out).Run();
}

}  // namespace gl
