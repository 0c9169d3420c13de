#include "ui/brief_setup_dialog.h"

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <tuple>

#include "dialog_test_support.h"
#include "support/temp_folder.h"
#include "ui/stamp_delegate.h"

namespace gl {
namespace {

using test::Find;

class BriefSetupDialogTest : public ::testing::Test {
 protected:
  BriefSetupDialogTest() {
    document_.FileName = folder_ / "news.brf";
    for (const char* run : {"0", "1", "2"}) {
      document_.Brief.ArchivePaths.push_back(std::string(run) + "\\Brief" + run + ".htm");
      document_.Brief.ArchiveStamps.push_back(std::string(run) + "/5/1997  9:07:02 AM");
      std::filesystem::create_directory(folder_ / run);
    }
    // Runs 0 and 1 list their files; run 2 lost its catalogue.
    for (const char* run : {"0", "1"}) {
      const std::string summary = std::string("Brief") + run + ".htm";
      test::WriteFileBytes(folder_ / run / summary, "<html>");
      test::WriteFileBytes(folder_ / run / "GL1.htm", "<html>");
      test::WriteFileBytes(folder_ / run / (std::string("Brief") + run + ".cat"),
                           std::string("\1") + run + "\12" + summary + "\7GL1.htm" + '\0');
    }
  }

  std::unique_ptr<TBriefOpts> Open(bool generating = false) {
    return std::make_unique<TBriefOpts>(
        document_, generating, folder_.Path(), prompter_,
        [this](const std::string& address) { browsed_.push_back(address); }, nullptr);
  }

  // The stamps of the list's rows from the top.
  static std::vector<std::string> Rows(TBriefOpts& dialog) {
    auto& list = Find<QTreeWidget>(dialog, "ListBox2");
    std::vector<std::string> rows;
    for (int row = 0; row < list.topLevelItemCount(); ++row)
      rows.push_back(
          list.topLevelItem(row)->data(0, StampDelegate::StampRole).toString().toStdString());
    return rows;
  }

  static void Select(TBriefOpts& dialog, int row) {
    auto& list = Find<QTreeWidget>(dialog, "ListBox2");
    list.setCurrentItem(list.topLevelItem(row));
  }

  test::TempFolder folder_;
  TBriefDocument document_;
  test::RecordingPrompter prompter_;
  std::vector<std::string> browsed_;
};

TEST_F(BriefSetupDialogTest, NewestRunComesFirstAndViewShowsTheSelectedOne) {
  auto dialog = Open();
  EXPECT_EQ(Rows(*dialog), (std::vector<std::string>{"2/5/1997  9:07:02 AM", "1/5/1997  9:07:02 AM",
                                                     "0/5/1997  9:07:02 AM"}));
  auto& view = Find<QPushButton>(*dialog, "ViewBrief");
  EXPECT_FALSE(view.isEnabled());
  Select(*dialog, 1);
  EXPECT_TRUE(view.isEnabled());
  view.click();
  EXPECT_EQ(browsed_, std::vector<std::string>{"file://" + (folder_ / "1/Brief1.htm").string()});
  EXPECT_EQ(dialog->result(), QDialog::Accepted);
}

TEST_F(BriefSetupDialogTest, DeletingRemovesTheRunsFilesEvenWithoutItsCatalogue) {
  auto dialog = Open();
  auto& list = Find<QTreeWidget>(*dialog, "ListBox2");
  auto& remove = Find<QPushButton>(*dialog, "DeleteBrief");
  Select(*dialog, 2);
  prompter_.answer = false;
  remove.click();
  EXPECT_EQ(document_.Brief.ArchivePaths.size(), 3u);

  prompter_.answer = true;
  remove.click();  // the oldest run, the last row: the new last row is selected
  EXPECT_FALSE(std::filesystem::exists(folder_ / "0"));
  EXPECT_TRUE(std::filesystem::exists(folder_ / "1/GL1.htm"));
  EXPECT_EQ(list.indexOfTopLevelItem(list.currentItem()), 1);

  Select(*dialog, 0);
  remove.click();  // the newest run, without a catalogue
  EXPECT_FALSE(std::filesystem::exists(folder_ / "2"));
  EXPECT_EQ(document_.Brief.ArchivePaths, std::vector<std::string>{"1\\Brief1.htm"});
  EXPECT_EQ(document_.Brief.ArchiveStamps, std::vector<std::string>{"1/5/1997  9:07:02 AM"});
  EXPECT_EQ(Rows(*dialog), std::vector<std::string>{"1/5/1997  9:07:02 AM"});
  EXPECT_TRUE(remove.isEnabled());

  remove.click();
  EXPECT_FALSE(list.isEnabled() || remove.isEnabled());
  EXPECT_EQ(prompter_.titles, std::vector<std::string>(4, "Delete Archived Brief?"));

  test::Type(*dialog, "BriefName", "Renamed");
  dialog->reject();
  EXPECT_TRUE(dialog->ApplyOnClose());  // the deletions must be saved
  EXPECT_EQ(document_.Brief.Name, "New Brief");
}

// Generating, OK (or Cancel), the name and the comments typed (nullptr: left alone); whether the
// brief must be saved, the name and comments it then holds.
TEST_F(BriefSetupDialogTest, OkTakesWhatWasEditedAndKeepsTheRestsBytes) {
  const std::string sixty = "123456789012345678901234567890123456789012345678901234567890";
  const std::tuple<bool, bool, std::string, const char*, bool, std::string, std::string> rows[] = {
      {false, true, "", nullptr, true, "Caf\xe9", "Line\xe9"},
      {false, true, "News", " more", true, "News", "Line\xc3\xa9 more"},
      {false, true, sixty + "X", nullptr, true, sixty, "Line\xe9"},
      {false, false, "News", " more", false, "Caf\xe9", "Line\xe9"},
      {true, true, "", nullptr, false, "Caf\xe9", "Line\xe9"},
  };
  for (const auto& [generating, ok, name, comments, save, storedName, storedComments] : rows) {
    SCOPED_TRACE(name + (ok ? " ok" : " cancel") + (generating ? " generating" : ""));
    document_.Brief.Name = "Caf\xe9";
    document_.Brief.Comments = "Line\xe9";
    auto dialog = Open(generating);
    EXPECT_EQ(Find<QLineEdit>(*dialog, "BriefName").isEnabled(), !generating);
    if (!name.empty()) test::Type(*dialog, "BriefName", name.c_str());
    if (comments) {
      auto& edit = Find<QPlainTextEdit>(*dialog, "BriefComments");
      edit.moveCursor(QTextCursor::End);
      QTest::keyClicks(&edit, comments);
    }
    Select(*dialog, 0);
    EXPECT_EQ(Find<QPushButton>(*dialog, "DeleteBrief").isEnabled(), !generating);
    ok ? dialog->accept() : dialog->reject();
    EXPECT_EQ(dialog->ApplyOnClose(), save);
    EXPECT_EQ(document_.Brief.Name, storedName);
    EXPECT_EQ(document_.Brief.Comments, storedComments);
  }
}

}  // namespace
}  // namespace gl
