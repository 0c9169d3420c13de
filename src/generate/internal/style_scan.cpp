#include "generate/internal/style_scan.h"

#include <algorithm>

#include "core/byte_text.h"
#include "core/tag_text.h"

namespace gl {
namespace {

constexpr std::string_view kImport = "@import";
constexpr std::string_view kUrl = "url(";

bool IsCssBlank(char byte) {
  return byte == ' ' || byte == '\t' || byte == '\n' || byte == '\r' || byte == '\f';
}

// A byte that may continue a CSS name, so that "myurl(" is not taken for "url(".
bool IsNameByte(char byte) {
  const char lower = LowerAscii(byte);
  return (lower >= 'a' && lower <= 'z') || (byte >= '0' && byte <= '9') || byte == '-' ||
         byte == '_' || static_cast<unsigned char>(byte) >= 0x80;
}

class Scanner {
 public:
  explicit Scanner(std::string_view css) : css_(css) {}

  std::vector<StyleReference> Run() {
    while (at_ < css_.size()) {
      const char byte = css_[at_];
      if (byte == '/' && At("/*")) {
        const std::size_t end = css_.find("*/", at_ + 2);
        at_ = end == std::string_view::npos ? css_.size() : end + 2;
      } else if (byte == '"' || byte == '\'') {
        SkipString();
      } else if (byte == '\\') {
        at_ += 2;
      } else if (byte == '@' && AtNoCase(kImport)) {
        at_ += kImport.size();
        Import();
      } else if ((byte == 'u' || byte == 'U') && AtNoCase(kUrl) &&
                 (at_ == 0 || !IsNameByte(css_[at_ - 1]))) {
        at_ += kUrl.size();
        Url(false);
      } else {
        ++at_;
      }
    }
    return std::move(found_);
  }

 private:
  bool At(std::string_view text) const { return css_.substr(at_, text.size()) == text; }
  bool AtNoCase(std::string_view lowerText) const {
    return StartsWithNoCase(css_.substr(at_), lowerText);
  }

  void SkipBlanks() {
    while (at_ < css_.size() && IsCssBlank(css_[at_]))
      ++at_;
  }

  // From an opening quote past its closing one; a line end or the text's end also ends it.
  // Returns the end of the string's content.
  std::size_t SkipString() {
    const char quote = css_[at_++];
    while (at_ < css_.size()) {
      const char byte = css_[at_];
      if (byte == quote) return at_++;
      if (byte == '\n') return at_;
      at_ += byte == '\\' ? 2 : 1;
    }
    at_ = css_.size();
    return at_;
  }

  void Add(std::size_t from, std::size_t to, bool sheet) {
    to = std::min(to, css_.size());
    if (to > from) found_.push_back({from, to, sheet});
  }

  void Import() {
    SkipBlanks();
    if (at_ >= css_.size()) return;
    if (IsQuote(css_[at_])) {
      const std::size_t from = at_ + 1;
      Add(from, SkipString(), true);
    } else if (AtNoCase(kUrl)) {
      at_ += kUrl.size();
      Url(true);
    }
  }

  // After "url(": a quoted or a bare address up to the closing parenthesis.
  void Url(bool sheet) {
    SkipBlanks();
    if (at_ >= css_.size()) return;
    if (IsQuote(css_[at_])) {
      const std::size_t from = at_ + 1;
      Add(from, SkipString(), sheet);
      return;
    }
    const std::size_t from = at_;
    while (at_ < css_.size() && css_[at_] != ')' && !IsCssBlank(css_[at_]))
      at_ += css_[at_] == '\\' ? 2 : 1;
    Add(from, at_, sheet);
  }

  std::string_view css_;
  std::size_t at_ = 0;
  std::vector<StyleReference> found_;
};

}  // namespace

std::vector<StyleReference> ScanStyleSheet(std::string_view css) {
  return Scanner(css).Run();
}

}  // namespace gl
