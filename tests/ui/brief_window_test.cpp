#include "ui/brief_window.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QTest>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <tuple>
#include <utility>

#include "core/brief_file.h"
#include "ui/entry_rows.h"
#include "ui/ui_test_support.h"
#include "ui/web_scroll_box.h"

namespace gl::test {
namespace {

class BriefWindowTest : public ShellTest {
 protected:
  std::unique_ptr<TGleanerForm> Open(const std::string& file, const Names& names) {
    auto form = std::make_unique<TGleanerForm>(
        ReadBriefs2(WriteBrief(file, names)).Document,
        BriefWindowServices{&prompter_, &holder_, {}, {}, {}, nullptr});
    form->resize(480, 320);
    form->show();
    return form;
  }

  EntryHolder holder_;
};

// The rows, the selected one and what is done; the rows and the selection after.
TEST_F(BriefWindowTest, DeletingSortingAndDropsKeepTheSelectionInItsPlace) {
  const auto drop = [](int from, int to, bool copy) {
    return [=](TGleanerForm& form) { form.FinishDragDrop(form, from, to, copy); };
  };
  const auto remove = [](TGleanerForm& form) { form.DeleteEntryClick(); };
  const auto sort = [](TGleanerForm& form) { form.SortEntriesClick(); };
  const std::tuple<Names, int, std::function<void(TGleanerForm&)>, Names, int> rows[] = {
      {{"a", "b", "c"}, 1, remove, {"a", "c"}, 1},
      {{"a", "b", "c"}, 2, remove, {"a", "b"}, 1},
      {{"a"}, 0, remove, {}, -1},
      {{"b", "B", "a"}, 0, sort, {"B", "a", "b"}, 0},
      {{"a", "b", "c"}, 0, drop(0, 2, false), {"b", "c", "a"}, 2},
      {{"a", "b", "c"}, 2, drop(2, 0, false), {"c", "a", "b"}, 0},
      {{"a", "b", "c"}, 0, drop(0, 2, true), {"a", "b", "a", "c"}, 0},
      {{"a", "b", "c"}, 2, drop(2, 0, true), {"c", "a", "b", "c"}, 3},
  };
  for (const auto& [before, selected, act, after, selectedAfter] : rows) {
    SCOPED_TRACE(::testing::PrintToString(after));
    auto form = Open("m.brf", before);
    form->WebList().Select(selected);
    act(*form);
    EXPECT_EQ(Shown(*form), after);
    EXPECT_EQ(NamesOnDisk(form->FileName()), after);
    EXPECT_EQ(form->WebList().Selected(), selectedAfter);
    EXPECT_EQ(form->Commands().Sort, !after.empty());
    EXPECT_EQ(form->Commands().DeleteEntry, selectedAfter >= 0);
  }
  EXPECT_EQ(prompter_.titles, Names(3, "Delete a Web Entry"));
}

// A drop on itself does not save; a failed save shows the error and keeps the change.
TEST_F(BriefWindowTest, EntriesGoBetweenWindowsByDropAndThroughTheHolder) {
  fs::create_directory(folder_ / "gone");
  const std::string longName(300, 'n');
  auto source = Open("gone/c.brf", {"a", longName});
  auto target = Open("p.brf", {"x", "y"});
  EXPECT_FALSE(target->Commands().Paste);
  fs::remove(source->FileName());
  source->FinishDragDrop(*source, 1, 1, false);
  EXPECT_FALSE(fs::exists(source->FileName()));

  const auto& box = *target->findChild<TWebScrollBox*>("Rows");
  EXPECT_EQ(box.DropIndex(10 * kRowPitch, true), 1);  // below the last row, moving within
  EXPECT_EQ(box.DropIndex(10 * kRowPitch, false), 2);
  target->FinishDragDrop(*source, 0, 2, false);
  EXPECT_EQ(Shown(*source), (Names{"a", longName}));

  source->WebList().Select(1);
  prompter_.answer = false;
  source->Cut1Click();
  EXPECT_EQ(source->WebList().Count(), 2);
  target->WebList().Select(1);
  ASSERT_TRUE(target->Commands().Paste);
  target->Paste1Click();
  const Names pasted{longName.substr(0, 256), "x", "y", "a"};
  EXPECT_EQ(Shown(*target), pasted);
  EXPECT_EQ(NamesOnDisk(target->FileName()), pasted);
  EXPECT_EQ(target->WebList().Selected(), 2);
  prompter_.answer = true;
  source->Cut1Click();
  EXPECT_EQ(NamesOnDisk(source->FileName()), (Names{"a"}));

  fs::remove_all(folder_ / "gone");
  source->CreateWebEntryClick();
  EXPECT_EQ(prompter_.titles,
            (Names{"Cut a Web Entry", "Cut a Web Entry", "Brief File Saving Error"}));
  EXPECT_EQ(source->WebList().Count(), 2);
}

// F2 edits the name, Tab the depth; Return or another row's click ends an edit, Escape drops it.
TEST_F(BriefWindowTest, KeyboardAndCheckMarkSelectEditAndSaveExceptWhileGenerating) {
  auto form = Open("k.brf", {"a", "b", "c"});
  auto* rows = form->findChild<TWebScrollBox*>("Rows");
  auto* editor = form->findChild<QLineEdit*>("RowEditor");
  for (const auto& [key, selected] :
       {std::pair{Qt::Key_Down, 0}, {Qt::Key_End, 2}, {Qt::Key_Home, 0}, {Qt::Key_Down, 1}}) {
    QTest::keyClick(rows, key);
    EXPECT_EQ(form->WebList().Selected(), selected);
  }
  const auto edit = [&](int row, const char* text) {
    form->WebList().Select(row);
    QTest::keyClick(rows, Qt::Key_F2);
    Type(*form, "RowEditor", text);
  };
  QTest::keyClick(rows, Qt::Key_F2);  // the name shows selected: typing replaces it
  QTest::keyClicks(editor, "Named");
  QTest::keyClick(editor, Qt::Key_Tab);
  QTest::keyClicks(editor, "7");
  QTest::keyClick(editor, Qt::Key_Return);
  const TWebEntry edited = ReadBriefs2(form->FileName()).Document.Brief.WebList[1];
  EXPECT_TRUE(edited.Name == "Named" && edited.NameSet && edited.Depth == 7);

  edit(0, "kept");
  QTest::mouseClick(form->WebList().Row(2).NameLabel(), Qt::LeftButton);  // another row
  edit(1, "dropped");
  QTest::keyClick(editor, Qt::Key_Escape);
  edit(2, "");
  QTest::keyClick(editor, Qt::Key_Return);
  EXPECT_EQ(Shown(*form, true), (Names{"kept | 1", "Named | 7", "www.c.example/ | 1"}));
  EXPECT_EQ(NamesOnDisk(form->FileName()), Shown(*form));
  EXPECT_FALSE(form->WebList().Entry(2).NameSet);

  prompter_.answer = false;
  QTest::keyClick(rows, Qt::Key_Delete);
  EXPECT_EQ(prompter_.titles.back(), "Delete a Web Entry");
  EXPECT_EQ(form->WebList().Count(), 3);

  TCheckMark* mark = form->WebList().Row(1).CheckMark();
  QTest::mouseClick(mark, Qt::LeftButton);
  EXPECT_EQ(form->WebList().Selected(), 1);
  EXPECT_FALSE(ReadBriefs2(form->FileName()).Document.Brief.WebList[1].Active);
  form->BeginRun();
  QTest::keyClick(rows, Qt::Key_F2);
  EXPECT_TRUE(editor->isHidden());
  QTest::mouseClick(mark, Qt::LeftButton);
  EXPECT_FALSE(form->WebList().Entry(1).Active);
  holder_.Copy(TWebEntry{}, "1");
  form->ShowEntryMenu(QPoint());  // the entry menu offers only what a generating brief allows
  for (const char* name : {"PopupAddEntry", "PopupDeleteEntry", "Cut1", "Paste1", "Copy1"})
    EXPECT_EQ(form->findChild<QAction*>(name)->isEnabled(), name == std::string("Copy1")) << name;
  form->findChild<QMenu*>("WebEntryMenu")->close();
  form->EndRun();
  QTest::mouseClick(mark, Qt::LeftButton);
  EXPECT_TRUE(form->WebList().Entry(1).Active);
}

// What another program (the command line) saves to an open brief's file is taken up before the
// window's next change is saved over it; during a run, at its end.
TEST_F(BriefWindowTest, AChangeSavedByAnotherProgramIsKeptByTheWindowsNextSave) {
  auto form = Open("c.brf", {"a", "b"});
  const auto addEntry = [&](const std::string& name) {
    ASSERT_EQ(UpdateBrief(form->FileName(),
                          [&](TBriefDocument& document) {
                            SetTypedName(CreateNewWebEntry(document.Brief, 0), name);
                            return true;
                          })
                  .Outcome,
              UpdateOutcome::Saved);
  };
  addEntry("typed");
  EXPECT_TRUE(QTest::qWaitFor([&] { return form->WebList().Count() == 3; }));
  form->CheckMarkClick(2);
  EXPECT_EQ(NamesOnDisk(form->FileName()), (Names{"typed", "a", "b"}));
  EXPECT_FALSE(ReadBriefs2(form->FileName()).Document.Brief.WebList[2].Active);

  form->BeginRun();
  addEntry("during");
  QTest::qWait(50);
  EXPECT_EQ(Shown(*form), (Names{"typed", "a", "b"}));
  form->FinishRun({}, form->Names());
  EXPECT_EQ(Shown(*form), (Names{"during", "typed", "a", "b"}));
}

}  // namespace
}  // namespace gl::test
