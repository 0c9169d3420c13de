#include "ui/print_canvas.h"

#include <gtest/gtest.h>

#include <QProcess>
#include <string>
#include <vector>

#include "support/temp_folder.h"
#include "ui/qt_text.h"

namespace gl {
namespace {

// Six entries fill more than one page on any paper. pdftotext (Debian's poppler-utils) reads the
// PDF in drawing order: every line is on some page in order, and each page ends with its number.
TEST(PrintCanvasTest, APdfHoldsEveryLinePageByPage) {
  TBriefRecord brief;
  brief.Name = "Caf\xC3\xA9 news";
  brief.Comments = "Read before nine.";
  std::vector<std::string> expected = {"Brief Contents", "Brief Name: Caf\xC3\xA9 news",
                                       "Active: True", "Comments:", "Read before nine."};
  for (int i = 1; i <= 6; ++i) {
    TWebEntry& entry = CreateNewWebEntry(brief, brief.WebList.size());
    entry.Name = "Entry " + std::to_string(i);
    entry.URL = "http://www.example.com/" + std::to_string(i) + "/";
    entry.Password = i == 1 ? "secret" : "";
    const std::vector<std::string> lines = {entry.Name,
                                            "URL: " + entry.URL,
                                            "Active: True",
                                            "Download Images: False",
                                            "Download Other Files: False",
                                            "User Name: Not Set",
                                            i == 1 ? "Password: ******" : "Password: Not Set",
                                            "Depth to Load: 1",
                                            "Follow External Links: False"};
    expected.insert(expected.end(), lines.begin(), lines.end());
  }
  test::TempFolder folder;
  const QString pdf = ToQString((folder / "brief.pdf").string());
  ASSERT_TRUE(PrintBriefToPdf(brief, pdf));
  EXPECT_FALSE(PrintBriefToPdf(brief, ToQString((folder / "no" / "x.pdf").string())));

  QProcess pdftotext;
  pdftotext.start("pdftotext", {"-raw", "-enc", "UTF-8", pdf, "-"});
  ASSERT_TRUE(pdftotext.waitForFinished()) << "pdftotext did not run";
  const QStringList pages =
      QString::fromUtf8(pdftotext.readAllStandardOutput()).split('\f', Qt::SkipEmptyParts);
  ASSERT_GE(pages.size(), 2);
  std::vector<std::string> printed;
  for (qsizetype page = 0; page < pages.size(); ++page) {
    QStringList lines = pages[page].split('\n', Qt::SkipEmptyParts);
    ASSERT_FALSE(lines.isEmpty());
    EXPECT_EQ(ToBytes(lines.takeLast()), "Page " + std::to_string(page + 1));
    for (const QString& line : lines)
      printed.push_back(ToBytes(line.trimmed()));
  }
  EXPECT_EQ(printed, expected);
}

}  // namespace
}  // namespace gl
