#pragma once

#include <ctime>
#include <filesystem>
#include <string>
#include <string_view>

#include "generate/internal/checked_file.h"

// The navigation bar that every page a run writes carries at its top (header) and bottom
// (footer): links back to the brief summary, the entry's site map, the page on the web and the
// full frame-set page.

namespace gl {

// The link targets of a header and footer; an empty target is left out.
struct LinkSet {
  std::string Summary;   // the brief summary page's name
  std::string SiteMap;   // the entry's site map page's name
  std::string Original;  // the page's address on the web, as displayed
  std::string FullPage;  // the frame-set page that a navigation row belongs to
};

// The folder of the program's images as generated pages refer to it: the program directory's
// absolute path with forward slashes and a single leading "/", followed by "images/".
std::string ImageDirectoryText(const std::filesystem::path& programDirectory);

// One icon: <img src="IMAGES/IMAGE" border=0 align=absmiddle width=W height=H alt="ALT">.
void DoHeaderImage(CheckedFile& file, std::string_view imageDirectory, std::string_view image,
                   std::string_view alt, int height, int width);

// The header, stamped with `when`. A frame-set header (the navigation row of a frame set) ends
// without the horizontal rule.
void PrintBriefHeader(CheckedFile& file, std::string_view imageDirectory, std::time_t when,
                      std::string_view title, bool frameSet, const LinkSet& links);

void PrintBriefFooter(CheckedFile& file, const LinkSet& links);

}  // namespace gl
