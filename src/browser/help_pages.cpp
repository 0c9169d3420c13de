#include "browser/help_pages.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "platform/file_address.h"

namespace gl {
namespace {

struct HelpPlace {
  int Context;
  std::string_view Page;
  std::string_view Anchor;  // empty: the top of the page
};

constexpr std::array kPlaces = {
    HelpPlace{help_context::kContents, "index.html", ""},
    HelpPlace{help_context::kOpenBrief, "briefs.html", "opening"},
    HelpPlace{help_context::kBriefProperties, "brief-setup.html", "properties"},
    HelpPlace{help_context::kArchivedBriefs, "brief-setup.html", "archived"},
    HelpPlace{help_context::kEntryProperties, "entry-setup.html", "properties"},
    HelpPlace{help_context::kEntryRetrieval, "entry-setup.html", "retrieval"},
    HelpPlace{help_context::kEntryPassword, "entry-setup.html", "password"},
    HelpPlace{help_context::kPreferencesGeneral, "preferences.html", "general"},
    HelpPlace{help_context::kPreferencesProxy, "preferences.html", "proxy"},
    HelpPlace{help_context::kPreferencesBrief, "preferences.html", "brief"},
};

}  // namespace

std::string HelpAddress(int context, const std::filesystem::path& programDirectory) {
  const auto* place = std::find_if(kPlaces.begin(), kPlaces.end(),
                                   [context](const HelpPlace& p) { return p.Context == context; });
  if (place == kPlaces.end()) place = kPlaces.begin();
  std::string address = FileAddressFromPath(programDirectory / "help" / place->Page);
  if (!place->Anchor.empty()) {
    address += '#';
    address += place->Anchor;
  }
  return address;
}

}  // namespace gl
