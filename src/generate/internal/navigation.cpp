#include "generate/internal/navigation.h"

#include <system_error>

#include "generate/internal/texts.h"
#include "platform/date_time.h"

namespace gl {
namespace {

constexpr int kIconSize = 24;

void HeaderLink(CheckedFile& file, std::string_view imageDirectory, std::string_view target,
                std::string_view image, std::string_view alt) {
  file << "<a href=\"" << target << "\" target=\"_top\">";
  DoHeaderImage(file, imageDirectory, image, alt, kIconSize, kIconSize);
  file << "</a> ";
}

}  // namespace

std::string ImageDirectoryText(const std::filesystem::path& programDirectory) {
  std::error_code error;
  std::filesystem::path absolute = std::filesystem::absolute(programDirectory, error);
  if (error) absolute = programDirectory;
  std::string folder = absolute.lexically_normal().generic_string();
  while (!folder.empty() && folder.back() == '/')
    folder.pop_back();
  const std::size_t firstKept = folder.find_first_not_of('/');
  folder.erase(0, firstKept == std::string::npos ? folder.size() : firstKept);
  return folder.empty() ? "/images/" : "/" + folder + "/images/";
}

void DoHeaderImage(CheckedFile& file, std::string_view imageDirectory, std::string_view image,
                   std::string_view alt, int height, int width) {
  file << "<img src=\"" << imageDirectory << image
       << "\" border=0 align=absmiddle width=" << std::to_string(width)
       << " height=" << std::to_string(height) << " alt=\"" << alt << "\">";
}

void PrintBriefHeader(CheckedFile& file, std::string_view imageDirectory, std::time_t when,
                      std::string_view title, bool frameSet, const LinkSet& links) {
  file << "<nobr>&#160";
  HeaderLink(file, imageDirectory, links.Summary, "brief.gif", "Brief");
  if (!links.SiteMap.empty())
    HeaderLink(file, imageDirectory, links.SiteMap, "toc.gif", "Site Map");
  if (!links.Original.empty()) {
    HeaderLink(file, imageDirectory, links.Original, "orig.gif", "Original Link");
  }
  if (!links.FullPage.empty()) {
    HeaderLink(file, imageDirectory, links.FullPage, "full.gif", "Full Page");
  }
  file << "<font size=3>" << title << "</font>" << texts::kCrLf;
  file << "<font size=3> " << ShortDateText(when) << " " << TimeText(when)
       << " <b>by <i>Gleaner</i>-Light</b></font></nobr><br>";
  if (!frameSet) file << "<hr size=3><br>";
  file << texts::kCrLf;
}

void PrintBriefFooter(CheckedFile& file, const LinkSet& links) {
  file << "<hr size=3>"
       << "<nobr><center><font size=3>";
  bool any = false;
  auto link = [&](std::string_view target, std::string_view text, std::string_view after) {
    if (target.empty()) return;
    file << "| <a href=\"" << target << "\">" << text << "</a>" << after;
    any = true;
  };
  link(links.Summary, "Brief Summary", " ");
  link(links.SiteMap, "Site Map", "");
  link(links.Original, "Original Link", " ");
  link(links.FullPage, "Full Page", " ");
  if (any) file << "|";
  file << "</font><font size=3> " << texts::kProductMark << "</font></center></nobr>"
       << texts::kCrLf;
}

}  // namespace gl
