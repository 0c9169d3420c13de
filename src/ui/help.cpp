#include "ui/help.h"

namespace gl {

// The help pages are shown in the browser at the context's anchor once the desktop program is
// connected to the browser; until then the Help buttons open nothing.
void ShowHelp(int) {}

}  // namespace gl
