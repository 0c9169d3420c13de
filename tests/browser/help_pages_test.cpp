#include "browser/help_pages.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/file_address.h"
#include "support/temp_folder.h"

namespace gl {
namespace {

// Every context opens a help page that exists, at an anchor that page has.
TEST(HelpAddressTest, EveryContextOpensItsPageAtAnAnchorItHas) {
  for (const int context : {help_context::kContents, help_context::kOpenBrief,
                            help_context::kBriefProperties, help_context::kArchivedBriefs,
                            help_context::kEntryProperties, help_context::kEntryRetrieval,
                            help_context::kEntryPassword, help_context::kPreferencesGeneral,
                            help_context::kPreferencesProxy, help_context::kPreferencesBrief}) {
    SCOPED_TRACE(context);
    const std::string address = HelpAddress(context, GL_RESOURCES_FOLDER);
    const std::size_t hash = address.find('#');
    const std::string page = test::ReadFileBytes(PathFromFileAddress(address.substr(0, hash)));
    EXPECT_NE(page.find("<title>"), std::string::npos);
    if (context == help_context::kContents) continue;
    ASSERT_NE(hash, std::string::npos);
    EXPECT_NE(page.find("id=\"" + address.substr(hash + 1) + "\""), std::string::npos);
  }
  EXPECT_EQ(HelpAddress(help_context::kEntryRetrieval, "/opt/gl"),
            "file:///opt/gl/help/entry-setup.html#retrieval");
  EXPECT_EQ(HelpAddress(99, "/opt/gl"), "file:///opt/gl/help/index.html");
}

}  // namespace
}  // namespace gl
