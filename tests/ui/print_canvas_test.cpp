#include "ui/print_canvas.h"

#include <gtest/gtest.h>

#include <QProcess>
#include <QStringList>
#include <string>
#include <vector>

#include "support/temp_folder.h"

namespace gl {
namespace {

// The text of each page of a PDF file as poppler's pdftotext reads it in drawing order, one
// string per line, empty lines and trailing blanks dropped.
std::vector<std::vector<std::string>> PdfPages(const std::filesystem::path& pdf) {
  const std::filesystem::path text = pdf.string() + ".txt";
  const int code =
      QProcess::execute("pdftotext", {"-raw", "-enc", "UTF-8", QString::fromStdString(pdf.string()),
                                      QString::fromStdString(text.string())});
  EXPECT_EQ(code, 0) << "pdftotext (Debian package poppler-utils) did not run";
  std::vector<std::vector<std::string>> pages(1);
  std::string line;
  for (const char byte : test::ReadFileBytes(text) + "\n") {
    if (byte != '\n' && byte != '\f') {
      line += byte;
      continue;
    }
    while (!line.empty() && line.back() == ' ')
      line.pop_back();
    if (!line.empty()) pages.back().push_back(line);
    line.clear();
    if (byte == '\f') pages.emplace_back();
  }
  while (!pages.empty() && pages.back().empty())
    pages.pop_back();
  return pages;
}

// Six entries fill more than one page on any paper size. Every line is on some page in order,
// and each page ends with its own number.
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
  ASSERT_TRUE(PrintBriefToPdf(brief, QString::fromStdString((folder / "brief.pdf").string())));

  const std::vector<std::vector<std::string>> pages = PdfPages(folder / "brief.pdf");
  ASSERT_GE(pages.size(), 2u);
  std::vector<std::string> printed;
  for (std::size_t page = 0; page < pages.size(); ++page) {
    SCOPED_TRACE(page + 1);
    ASSERT_GE(pages[page].size(), 2u);  // a line and the footer
    EXPECT_EQ(pages[page].back(), "Page " + std::to_string(page + 1));
    printed.insert(printed.end(), pages[page].begin(), pages[page].end() - 1);
  }
  EXPECT_EQ(printed, expected);
  EXPECT_FALSE(PrintBriefToPdf(brief, QString::fromStdString((folder / "no" / "x.pdf").string())));
}

}  // namespace
}  // namespace gl
