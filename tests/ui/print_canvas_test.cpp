#include "ui/print_canvas.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QProcess>
#include <string>
#include <vector>

#include "core/brief_file.h"
#include "support/temp_folder.h"

namespace gl {
namespace {

// The real program's --print, without a display: the exit codes with the reason on stderr, and a
// PDF of a brief whose six entries fill more than one page on any paper. pdftotext (Debian's
// poppler-utils) reads it in drawing order: each page ends with its number.
TEST(PrintCanvasTest, PrintOptionPrintsABriefFileWithoutADisplay) {
  test::TempFolder folder;
  TBriefDocument document{folder / "news.brf", {}};
  document.Brief.Name = "Caf\xC3\xA9 news";
  for (int i = 1; i <= 6; ++i) {
    TWebEntry& entry = CreateNewWebEntry(document.Brief, document.Brief.WebList.size());
    SetTypedName(entry, "Entry " + std::to_string(i));
    entry.Password = i == 6 ? "secret" : "";
  }
  ASSERT_EQ(SaveBriefs2(document).Outcome, SaveOutcome::Saved);
  const std::string brief = document.FileName.string();
  const std::string pdf = (folder / "news.pdf").string();
  const std::string missing = (folder / "none.brf").string();
  const std::string unwritable = (folder / "no" / "news.pdf").string();
  const std::string usage = "Run 'gleaner-light --help' for the options.\n";
  const struct {
    QStringList arguments;
    int code;
    std::string err;  // how stderr ends
  } rows[] = {
      {{"--print", missing.c_str(), "--pdf", pdf.c_str()},
       1,
       "Brief File Loading Error: This file is either corrupt or is not a Brief file. "
       "Gleaner-Light cannot load it.\n" +
           missing + ": No such file or directory\n"},
      {{"--print", brief.c_str(), "--pdf", unwritable.c_str()},
       1,
       "Printing Error: Gleaner-Light could not print this brief.\n" + unwritable +
           ": cannot be written\n"},
      {{"--print", brief.c_str()}, 2, usage},
      {{"--print", brief.c_str(), "--pdf", pdf.c_str(), brief.c_str()}, 2, usage},
      {{"--print=" + QString::fromStdString(brief), "--pdf", pdf.c_str()}, 0, ""},
  };
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
    environment.remove(name);
  for (const auto& row : rows) {
    SCOPED_TRACE(row.arguments.join(' ').toStdString());
    QProcess program;
    program.setProcessEnvironment(environment);
    program.start(GLEANER_LIGHT_PROGRAM, row.arguments);
    ASSERT_TRUE(program.waitForFinished());
    EXPECT_EQ(program.exitCode(), row.code);
    const std::string err = program.readAllStandardError().toStdString();
    EXPECT_THAT(err, testing::EndsWith(row.err));
    EXPECT_EQ(err.empty(), row.code == 0);
    EXPECT_EQ(std::filesystem::exists(pdf), row.code == 0);
  }

  QProcess pdftotext;
  pdftotext.start("pdftotext", {"-raw", "-enc", "UTF-8", pdf.c_str(), "-"});
  ASSERT_TRUE(pdftotext.waitForFinished()) << "pdftotext did not run";
  const QStringList pages =
      QString::fromUtf8(pdftotext.readAllStandardOutput()).split('\f', Qt::SkipEmptyParts);
  ASSERT_GE(pages.size(), 2);
  std::vector<std::string> printed;
  for (qsizetype page = 0; page < pages.size(); ++page) {
    QStringList lines = pages[page].split('\n', Qt::SkipEmptyParts);
    ASSERT_FALSE(lines.isEmpty());
    EXPECT_EQ(lines.takeLast().toStdString(), "Page " + std::to_string(page + 1));
    for (const QString& line : lines)
      printed.push_back(line.trimmed().toStdString());
  }
  // Four lines for the brief, nine for each entry, in order.
  ASSERT_EQ(printed.size(), 4u + 6 * 9);
  EXPECT_EQ(printed[1], "Brief Name: Caf\xC3\xA9 news");
  EXPECT_EQ(printed[4 + 5 * 9], "Entry 6");
  EXPECT_EQ(printed[4 + 5 * 9 + 6], "Password: ******");
  EXPECT_EQ(printed.back(), "Follow External Links: False");
}

}  // namespace
}  // namespace gl
