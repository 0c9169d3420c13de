#include "bench_site.h"

#include <charconv>
#include <cstdint>

namespace gl::bench {
namespace {

constexpr std::string_view kPagePrefix = "/pages/";
constexpr std::string_view kImagePrefix = "/images/";

std::string PagePath(int page) {
  return page == 0 ? "/index.htm" : std::string(kPagePrefix) + std::to_string(page) + ".htm";
}

// A valid 1x1 GIF padded with a comment extension to about `size` bytes, so every image is a
// distinct file of a realistic size.
std::string MakeGif(int number, std::size_t size) {
  std::string gif("GIF89a\x01\x00\x01\x00\x80\x00\x00\xff\xff\xff\x00\x00\x00", 19);
  std::string comment = "image " + std::to_string(number) + " ";
  while (comment.size() < size)
    comment += "gleaner-light benchmark picture data ";
  gif += "\x21\xfe";
  for (std::size_t at = 0; at < comment.size(); at += 255) {
    const std::string_view block = std::string_view(comment).substr(at, 255);
    gif += static_cast<char>(block.size());
    gif += block;
  }
  gif += '\0';
  gif += std::string("\x2c\x00\x00\x00\x00\x01\x00\x01\x00\x00\x02\x02\x44\x01\x00\x3b", 16);
  return gif;
}

std::string MakePage(int page, int branching, int pageCount) {
  const std::string number = std::to_string(page);
  std::string html = "<html>\r\n<head>\r\n<title>Benchmark page " + number +
                     "</title>\r\n</head>\r\n<body bgcolor=\"#FFFFFF\">\r\n"
                     "<p><img src=\"/images/logo.gif\" width=64 height=32 alt=\"Logo\"></p>\r\n"
                     "<h1>Page " +
                     number + "</h1>\r\n<p><img src=\"/images/" + number +
                     ".gif\" width=120 height=80 alt=\"Picture " + number + "\"></p>\r\n";
  for (int paragraph = 0; paragraph < 6; ++paragraph) {
    html += "<p>Paragraph " + std::to_string(paragraph) + " of page " + number +
            ". A generated site gives every page the same shape: a few paragraphs of plain "
            "text, <b>some</b> <i>markup</i>, a table now and then, and links to the pages "
            "around it, so that the spider and the rewriter do what they do on a real site.</p>"
            "\r\n";
  }
  html += "<table border=1><tr><td>Number</td><td>" + number + "</td></tr></table>\r\n<ul>\r\n";
  for (int child = page * branching + 1; child <= page * branching + branching; ++child) {
    if (child >= pageCount) break;
    html +=
        "<li><a href=\"" + PagePath(child) + "\">Page " + std::to_string(child) + "</a></li>\r\n";
  }
  html += "</ul>\r\n<p><a href=\"/index.htm\">Home</a>";
  if (page > 0) {
    html += " | <a href=\"" + PagePath((page - 1) / branching) + "\">Up</a>";
    if (page + 1 < pageCount) html += " | <a href=\"" + PagePath(page + 1) + "\">Next</a>";
  }
  html += "</p>\r\n</body>\r\n</html>\r\n";
  return html;
}

// The number in "/pages/<n>.htm" or "/images/<n>.gif"; -1 when `path` is not of that form.
int NumberIn(std::string_view path, std::string_view prefix, std::string_view suffix) {
  if (!path.starts_with(prefix) || !path.ends_with(suffix)) return -1;
  const std::string_view digits =
      path.substr(prefix.size(), path.size() - prefix.size() - suffix.size());
  int number = -1;
  const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), number);
  if (error != std::errc() || end != digits.data() + digits.size() || digits.empty()) return -1;
  return number;
}

}  // namespace

BenchSite::BenchSite(int branching, int levels)
    : branching_(branching), levels_(levels), pageCount_(0) {
  int width = 1;
  for (int level = 0; level < levels; ++level) {
    pageCount_ += width;
    width *= branching;
  }
  pages_.reserve(pageCount_);
  images_.reserve(pageCount_);
  for (int page = 0; page < pageCount_; ++page) {
    pages_.push_back({"text/html", MakePage(page, branching_, pageCount_)});
    images_.push_back({"image/gif", MakeGif(page, 2000)});
  }
  logo_ = {"image/gif", MakeGif(-1, 3000)};
}

const BenchSite::File* BenchSite::Find(std::string_view path) const {
  if (path == "/" || path == "/index.htm") return &pages_[0];
  if (path == "/images/logo.gif") return &logo_;
  const int page = NumberIn(path, kPagePrefix, ".htm");
  if (page > 0 && page < pageCount_) return &pages_[page];
  const int image = NumberIn(path, kImagePrefix, ".gif");
  if (image >= 0 && image < pageCount_) return &images_[image];
  return nullptr;
}

}  // namespace gl::bench
