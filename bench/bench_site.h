#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace gl::bench {

// A generated web site for whole-run benchmarks: a tree of pages, each with a shared logo and an
// image of its own, linking to its children, its parent, the home page and a neighbour, so a
// spider meets many links it has already stored. "/index.htm" is the root; every other page is
// "/pages/<n>.htm", its image "/images/<n>.gif".
class BenchSite {
 public:
  struct File {
    std::string ContentType;
    std::string Body;
  };

  // `branching` children per page, `levels` levels of pages including the root.
  BenchSite(int branching, int levels);

  // The file at a request path ("/pages/12.htm"); nullptr when the site has none.
  const File* Find(std::string_view path) const;

  int PageCount() const { return pageCount_; }
  int ImageCount() const { return pageCount_ + 1; }  // one per page and the shared logo
  int Levels() const { return levels_; }

 private:
  int branching_;
  int levels_;
  int pageCount_;
  std::vector<File> pages_;   // by page number
  std::vector<File> images_;  // by page number
  File logo_;
};

}  // namespace gl::bench
