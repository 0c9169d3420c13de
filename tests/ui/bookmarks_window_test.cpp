#include "ui/bookmarks_window.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDropEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QTreeWidget>

#include "shell_test_support.h"
#include "ui/entry_drag.h"

namespace gl {
namespace {

using Names = std::vector<std::string>;

// A toolbar folder with a folder inside it, a link at the top level.
constexpr std::string_view kExport = R"(<TITLE>Ann&#39;s Bookmarks</TITLE><DL><p>
<DT><H3 PERSONAL_TOOLBAR_FOLDER="true">Bookmarks Toolbar</H3><DL><p>
<DT><A HREF="https://news.example/">Caf&#233; News</A><DT><H3>Weather</H3>
<DL><p><DT><A HREF="https://rain.example/">Rain</A></DL><p>
<DT><A HREF="https://sun.example/">Sun</A></DL><p><DT><A HREF="https://top.example/">Top</A></DL>)";

class BookmarksWindowTest : public test::ShellTest {
 protected:
  BookmarksWindowTest() {
    test::WriteFileBytes(folder_ / "bookmarks.html", kExport);
    frame_ = StartFrame();
  }

  TBkMarks* Import(const std::filesystem::path& file) {
    dialogs_.answer = file;
    frame_->Actions().ImportHotlist1->trigger();
    return frame_->ActiveBookmarks();
  }

  static QTreeWidgetItem& Item(TBkMarks& window, const char* caption) {
    auto& outline = test::Find<QTreeWidget>(window, "GLOutline");
    const QList<QTreeWidgetItem*> found =
        outline.findItems(caption, Qt::MatchExactly | Qt::MatchRecursive);
    if (found.size() != 1) throw std::runtime_error(std::string("no item ") + caption);
    return *found.first();
  }

  static void Activate(QWidget& window) {
    auto* sub = qobject_cast<QMdiSubWindow*>(window.parentWidget());
    sub->mdiArea()->setActiveSubWindow(sub);
  }

  std::unique_ptr<TMDIFrame> frame_;
};

TEST_F(BookmarksWindowTest, LoadsAnExportAndCopiesABookmarkIntoABrief) {
  test::WriteFileBytes(folder_ / "empty.html", "<html><body>No bookmarks</body></html>");
  EXPECT_EQ(Import(folder_ / "empty.html"), nullptr);
  EXPECT_EQ(prompter_.titles, Names{"Bookmark File Loading Error"});

  TGleanerForm* brief = frame_->DoFileOpen(WriteBrief("p.brf", {"x"}), std::nullopt);
  QPointer<TBkMarks> window = Import(folder_ / "bookmarks.html");
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(window->windowTitle(), "Ann's Bookmarks");
  Names outline;  // each item, and the folder it is in
  for (QTreeWidgetItemIterator it(&test::Find<QTreeWidget>(*window, "GLOutline")); *it; ++it)
    outline.push_back(
        ToBytes((*it)->text(0) + ((*it)->parent() ? " in " + (*it)->parent()->text(0) : "")));
  EXPECT_EQ(outline, (Names{"Bookmarks Toolbar", "Caf\xC3\xA9 News in Bookmarks Toolbar",
                            "Weather in Bookmarks Toolbar", "Rain in Weather",
                            "Sun in Bookmarks Toolbar", "Top"}));

  // No brief is active: only copy is offered, and only for a link.
  const FrameActions& actions = frame_->Actions();
  for (const QAction* action : {actions.Close1, actions.CreateWebEntry, actions.Paste1,
                                actions.Print1, actions.BriefSetup1, actions.Copy1})
    EXPECT_FALSE(action->isEnabled()) << action->objectName().toStdString();
  auto& tree = test::Find<QTreeWidget>(*window, "GLOutline");
  tree.setCurrentItem(&Item(*window, "Weather"));
  EXPECT_FALSE(actions.Copy1->isEnabled());
  tree.setCurrentItem(&Item(*window, "Caf\xC3\xA9 News"));
  ASSERT_TRUE(actions.Copy1->isEnabled());
  actions.Copy1->trigger();

  Activate(*brief);
  actions.Paste1->trigger();
  EXPECT_EQ(Shown(*brief, true), (Names{"Caf\xC3\xA9 News | Entire Page", "x | 1"}));
  const TWebEntry pasted = ReadBriefs2(brief->FileName()).Document.Brief.WebList[0];
  EXPECT_TRUE(pasted.URL == "https://news.example/" && pasted.NameSet && pasted.Depth == 1);

  // Closing frees the window; the frame keeps no trace of it.
  Activate(*window);
  window->parentWidget()->close();
  QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(window.isNull());
  EXPECT_EQ(frame_->ActiveBookmarks(), nullptr);
  EXPECT_TRUE(actions.Paste1->isEnabled());
}

// A folder's links, its inner folder's included, in file order: entering the rows, then dropped
// on the second row. (Which links a folder gives is the reader's; the import command checks it.)
TEST_F(BookmarksWindowTest, DragsAFoldersLinksInFileOrderIntoABrief) {
  TBkMarks* window = Import(folder_ / "bookmarks.html");
  ASSERT_NE(window, nullptr);
  TGleanerForm* brief = frame_->DoFileOpen(WriteBrief("d.brf", {"x", "y"}), std::nullopt);
  const std::unique_ptr<EntryDragData> data = window->DragData(Item(*window, "Bookmarks Toolbar"));
  QWidget& rows = test::Find<QWidget>(*brief, "Panel3");
  const QPoint point(20, kRowPitch + 5);
  QDragEnterEvent enter(point, Qt::CopyAction, data.get(), Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(&rows, &enter);
  ASSERT_TRUE(enter.isAccepted());
  QDropEvent drop(point, Qt::CopyAction, data.get(), Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(&rows, &drop);
  const Names expected{"x | 1", "Caf\xC3\xA9 News | Entire Page", "Rain | Entire Page",
                       "Sun | Entire Page", "y | 1"};
  EXPECT_EQ(Shown(*brief, true), expected);
  EXPECT_EQ(NamesOnDisk(brief->FileName()).size(), expected.size());
  EXPECT_EQ(brief->WebList().Selected(), 1);
}

}  // namespace
}  // namespace gl
