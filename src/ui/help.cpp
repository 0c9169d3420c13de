#include "ui/help.h"

#include "platform/program_directory.h"

namespace gl {
namespace {

// Help buttons sit deep inside dialogs that know nothing of the main window; they all open the
// pages the one way the program shows pages. Set and used on the window thread only.
BrowseFunction& HelpBrowser() {
  static BrowseFunction browse;
  return browse;
}

}  // namespace

void SetHelpBrowser(BrowseFunction browse) {
  HelpBrowser() = std::move(browse);
}

void ShowHelp(int context) {
  if (HelpBrowser()) HelpBrowser()(HelpAddress(context, ProgramDirectory()));
}

}  // namespace gl
