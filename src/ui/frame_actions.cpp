#include "ui/frame_actions.h"

#include <QAction>
#include <QMainWindow>
#include <QMenuBar>
#include <QToolBar>

#include "ui/shell_texts.h"
#include "ui/tool_icons.h"

namespace gl {
namespace {

namespace st = shell_texts;

struct ActionLook {
  const char* name;
  const char* caption;
  const char* icon = nullptr;  // a name of the freedesktop icon theme
  QKeySequence keys = {};
};

QAction* Make(QMainWindow& frame, const ActionLook& look) {
  auto* action = new QAction(look.caption, &frame);
  action->setObjectName(look.name);
  if (look.icon != nullptr) action->setIcon(ToolIcon(look.icon));
  action->setShortcut(look.keys);
  return action;
}

}  // namespace

FrameActions BuildFrameActions(QMainWindow& frame) {
  FrameActions a{};
  a.New1 = Make(frame, {"New1", "&New Brief", "document-new", QKeySequence::New});
  a.Open1 = Make(frame, {"Open1", "&Open Brief...", "document-open", QKeySequence::Open});
  a.Close1 = Make(frame, {"Close1", "&Close Brief", nullptr, QKeySequence::Close});
  a.SaveAs1 =
      Make(frame, {"SaveAs1", "Save Brief &As...", "document-save-as", QKeySequence::SaveAs});
  a.GenerateBriefs = Make(frame, {"GenerateBriefs", "&Generate Brief", "media-playback-start",
                                  QKeySequence(Qt::Key_F9)});
  a.ShowBrief = Make(frame, {"ShowBrief", st::kShowBrief, "web-browser"});
  a.BriefSetup1 = Make(frame, {"BriefSetup1", st::kBriefSetup, "document-properties"});
  a.ImportHotlist1 = Make(frame, {"ImportHotlist1", "&Import Bookmarks..."});
  a.Print1 = Make(frame, {"Print1", "&Print Brief...", "document-print", QKeySequence::Print});
  a.PrintSetup1 = Make(frame, {"PrintSetup1", "P&rint Setup..."});
  a.Exit1 = Make(frame, {"Exit1", "E&xit", nullptr, QKeySequence::Quit});
  a.Cut1 = Make(frame, {"Cut1", st::kCut, "edit-cut", QKeySequence::Cut});
  a.Copy1 = Make(frame, {"Copy1", st::kCopy, "edit-copy", QKeySequence::Copy});
  a.Paste1 = Make(frame, {"Paste1", st::kPaste, "edit-paste", QKeySequence::Paste});
  a.Preferences1 = Make(frame, {"Preferences1", "P&references...", nullptr});
  a.CreateWebEntry = Make(frame, {"CreateWebEntry", st::kAddEntry, "list-add"});
  a.DeleteEntry1 = Make(frame, {"DeleteEntry1", st::kDeleteEntry, "list-remove"});
  a.GetBrowserURL = Make(frame, {"GetBrowserURL", "Add &Page from Browser"});
  a.WebSetup1 = Make(frame, {"WebSetup1", st::kWebSetup, "document-properties"});
  a.SortEntries = Make(frame, {"SortEntries", "&Sort Entries", "view-sort-ascending"});
  a.Cascade1 = Make(frame, {"Cascade1", "&Cascade"});
  a.Tile1 = Make(frame, {"Tile1", "&Tile"});
  a.Contents1 = Make(frame, {"Contents1", "&Contents", nullptr, QKeySequence::HelpContents});
  a.About1 = Make(frame, {"About1", "&About Gleaner-Light..."});

  QMenuBar& bar = *frame.menuBar();
  a.FileMenu = bar.addMenu("&File");
  a.FileMenu->addActions({a.New1, a.Open1, a.Close1, a.SaveAs1});
  a.FileMenu->addSeparator();
  a.FileMenu->addAction(a.GenerateBriefs);
  a.FileMenu->addSeparator();
  a.FileMenu->addActions({a.ShowBrief, a.BriefSetup1});
  a.FileMenu->addSeparator();
  a.FileMenu->addAction(a.ImportHotlist1);
  a.FileMenu->addSeparator();
  a.FileMenu->addActions({a.Print1, a.PrintSetup1});
  a.FileMenu->addSeparator();
  a.FileMenu->addAction(a.Exit1);  // the recently used briefs go before it

  QMenu& edit = *bar.addMenu("&Edit");
  edit.addActions({a.Cut1, a.Copy1, a.Paste1});
  edit.addSeparator();
  edit.addAction(a.Preferences1);

  QMenu& web = *bar.addMenu("We&b");
  web.addActions({a.CreateWebEntry, a.DeleteEntry1, a.GetBrowserURL});
  web.addSeparator();
  web.addAction(a.WebSetup1);
  web.addSeparator();
  web.addAction(a.SortEntries);

  a.WindowMenu = bar.addMenu("&Window");  // filled each time it opens
  QMenu& help = *bar.addMenu("&Help");
  help.addAction(a.Contents1);
  help.addSeparator();
  help.addAction(a.About1);

  a.ToolBar = frame.addToolBar("Tools");
  a.ToolBar->setObjectName("ToolBar");
  a.ToolBar->setMovable(false);
  a.ToolBar->addActions({a.New1, a.Open1});
  a.ToolBar->addSeparator();
  a.ToolBar->addActions({a.GenerateBriefs, a.ShowBrief, a.Print1});
  a.ToolBar->addSeparator();
  a.ToolBar->addActions({a.Cut1, a.Copy1, a.Paste1});
  a.ToolBar->addSeparator();
  a.ToolBar->addActions({a.CreateWebEntry, a.DeleteEntry1, a.WebSetup1});
  return a;
}

}  // namespace gl
