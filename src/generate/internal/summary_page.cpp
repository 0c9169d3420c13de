#include "generate/internal/summary_page.h"

#include "generate/internal/run_errors.h"
#include "generate/internal/texts.h"
#include "platform/date_time.h"

namespace gl {
namespace {

std::string Levels(int depth) {
  return std::to_string(depth) + " level" + (depth > 1 ? "s" : "");
}

}  // namespace

std::string StartText(std::time_t when) {
  return ShortDateText(when) + "     " + TimeText(when);
}

void WriteSummaryOpening(CheckedFile& summary, std::string_view briefName,
                         std::string_view imageDirectory) {
  std::string opening = "<html>\r\n<head>\r\n<title>";
  opening += briefName;
  opening += "</title>\r\n</head>\r\n<body bgcolor=#FFFFFF background=\"";
  opening += imageDirectory;
  opening += "back.gif\"><ul>\r\n";
  summary << opening;
}

std::string WriteBriefHeader(CheckedFile& summary, const TBriefRecord& brief,
                             std::string_view imageDirectory, std::time_t when) {
  const std::string start = StartText(when);
  summary << "<p><img src=\"" << imageDirectory
          << "briefbar.gif\" width=460 height=43 alt=\"Gleaner-Light\">" << texts::kCrLf;
  summary << "<p><font size=5><b>" << texts::kCrLf << "Brief: </b>" << brief.Name << texts::kCrLf
          << "</font>"
          << "<br>" << texts::kCrLf;
  summary << "<font size=3><b>Brief Started: </b>" << start << "</font><font size=1><br></font>"
          << texts::kCrLf;
  if (!brief.Comments.empty()) {
    summary << "<font size=3><b>\r\n Brief Information: </b>\r\n" << brief.Comments;
  }
  summary << "</font><font size=1><br></font><hr size=3>\r\n";
  return start;
}

void WriteEntrySeparator(CheckedFile& summary) {
  summary << "<hr size=1>";
}

void WriteFileEntry(CheckedFile& summary, std::string_view name, std::string_view title,
                    int depth) {
  summary << "<font size=4><b>Web Entry: </b><a href=\"" << name << "\">" << title
          << "</a></font><br>" << texts::kCrLf << "<ul><font size=2><b>Retrieval Depth:</b>"
          << Levels(depth) << texts::kCrLf << "</font><br></ul>" << texts::kCrLf;
}

void WritePageEntryOpening(CheckedFile& summary) {
  summary << "<font size=4><b>Web Entry: </b><a href=\"";
}

void WritePageEntryClosing(CheckedFile& summary, std::string_view title, int depth) {
  summary << "\">" << title << "</a></font><br>" << texts::kCrLf
          << "<ul><font size=2><b>Retrieval:</b> Top Page, Depth:" << Levels(depth) << texts::kCrLf
          << "</font><br></ul>" << texts::kCrLf;
}

void WriteSiteMapLink(CheckedFile& summary, std::string_view siteMapName) {
  summary << "<ul><font size=2><a href=\"" << siteMapName << "\">Site Map</a></font></ul>"
          << texts::kCrLf;
}

bool CloseSummaryPage(CheckedFile& summary) noexcept {
  try {
    summary << "<hr size=3><font size=1><br></font>"
            << "<font size=2>" << texts::kProductMark << " 1997 Orrery Development</font><p>\r\n"
            << "</ul></body>\r\n</html>\r\n";
    summary.Close();
  } catch (const EInOutError&) {
    return false;
  }
  return true;
}

}  // namespace gl
