#include "browser/help_pages.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/file_address.h"
#include "support/temp_folder.h"

namespace gl {
namespace {

// Every context opens a help page that exists, at an anchor that page has; a context without a
// page of its own opens the contents.
TEST(HelpAddressTest, EveryContextOpensAPageAtAnAnchorItHas) {
  int anchored = 0;
  for (int context = 0; context <= 40; ++context) {
    const std::string address = HelpAddress(context, GL_RESOURCES_FOLDER);
    const std::size_t hash = address.find('#');
    const std::string page = test::ReadFileBytes(PathFromFileAddress(address.substr(0, hash)));
    EXPECT_NE(page.find("</html>"), std::string::npos) << context;
    if (hash == std::string::npos) continue;
    ++anchored;
    EXPECT_NE(page.find("id=\"" + address.substr(hash + 1) + "\""), std::string::npos) << context;
  }
  EXPECT_EQ(anchored, 9);  // 6, 12, 13, 22 to 24 and 36 to 38
  EXPECT_EQ(HelpAddress(help_context::kEntryRetrieval, "/opt/gl"),
            "file:///opt/gl/help/entry-setup.html#retrieval");
}

}  // namespace
}  // namespace gl
