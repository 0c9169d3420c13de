#pragma once

class QAction;
class QMainWindow;
class QMenu;
class QToolBar;

// The main window's commands, created once with their captions, mnemonics, keys, icons and
// object names (the handler's name without "Click"), and laid out in its menus and tool bar.
// The main window connects them and switches them on and off.

namespace gl {

struct FrameActions {
  // "&File"
  QAction* New1;
  QAction* Open1;
  QAction* Close1;
  QAction* SaveAs1;
  QAction* GenerateBriefs;
  QAction* ShowBrief;
  QAction* BriefSetup1;
  QAction* ImportHotlist1;
  QAction* Print1;
  QAction* PrintSetup1;
  QAction* Exit1;
  // "&Edit"
  QAction* Cut1;
  QAction* Copy1;
  QAction* Paste1;
  QAction* Preferences1;
  // "We&b"
  QAction* CreateWebEntry;
  QAction* DeleteEntry1;
  QAction* GetBrowserURL;
  QAction* WebSetup1;
  QAction* SortEntries;
  // "&Window"
  QAction* Cascade1;
  QAction* Tile1;
  // "&Help"
  QAction* Contents1;
  QAction* About1;

  QMenu* FileMenu;
  QMenu* WindowMenu;
  QToolBar* ToolBar;
};

// Creates the actions, the menu bar and the tool bar of `frame`.
FrameActions BuildFrameActions(QMainWindow& frame);

}  // namespace gl
