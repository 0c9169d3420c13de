#include "platform/atomic_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "support/temp_folder.h"

// Failed writes (no temporary left, the old file kept) are checked through the brief and
// settings files that are saved with it.

namespace gl {
namespace {

using test::ReadFileBytes;
using test::WriteFileBytes;

mode_t ModeOf(const std::filesystem::path& path) {
  struct stat status {};
  EXPECT_EQ(stat(path.c_str(), &status), 0);
  return status.st_mode & 07777;
}

TEST(AtomicFileTest, NewFilesFollowTheUmaskAndReplacedFilesKeepTheirMode) {
  test::TempFolder folder;
  const mode_t previous = umask(022);
  ASSERT_TRUE(WriteFileAtomically(folder / "shared", "a"));
  umask(previous);
  EXPECT_EQ(ModeOf(folder / "shared"), 0644u);

  WriteFileBytes(folder / "brief.brf", "a much longer old content");
  ASSERT_EQ(chmod((folder / "brief.brf").c_str(), 0640), 0);
  ASSERT_TRUE(WriteFileAtomically(folder / "brief.brf", std::string("new\0bytes", 9)));
  EXPECT_EQ(ReadFileBytes(folder / "brief.brf"), std::string("new\0bytes", 9));
  EXPECT_EQ(ModeOf(folder / "brief.brf"), 0640u);
}

TEST(AtomicFileTest, SymbolicLinkStaysAndItsTargetIsReplaced) {
  test::TempFolder folder;
  std::filesystem::create_directory(folder / "real");
  WriteFileBytes(folder / "real" / "news.brf", "old");
  std::filesystem::create_symlink(folder / "real" / "news.brf", folder / "link.brf");
  ASSERT_TRUE(WriteFileAtomically(folder / "link.brf", "new"));
  EXPECT_TRUE(std::filesystem::is_symlink(folder / "link.brf"));
  EXPECT_EQ(ReadFileBytes(folder / "real" / "news.brf"), "new");
}

}  // namespace
}  // namespace gl
