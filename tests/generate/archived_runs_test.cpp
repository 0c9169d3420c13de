#include "generate/archived_runs.h"

#include <gtest/gtest.h>

#include "support/temp_folder.h"

namespace gl::test {
namespace {

using Texts = std::vector<std::string>;
namespace fs = std::filesystem;

class ArchivedRunsTest : public ::testing::Test {
 protected:
  ArchivedRunsTest() {
    document_.FileName = folder_ / "news.brf";
    document_.Brief.ArchivePaths = {"0\\Brief0.htm", "1\\Brief1.htm"};
    document_.Brief.ArchiveStamps = {"3/5/1997     9:07:02 AM", "3/6/1997     1:00:00 PM"};
  }

  // Run folder `number` with the files `names` (those that stay inside it) and a catalogue
  // "Brief<number>.cat" that lists them after the folder `listedFolder`.
  void MakeRun(const std::string& number, const Texts& names, const std::string& listed) {
    fs::create_directory(folder_ / number);
    std::string catalogue = static_cast<char>(listed.size()) + listed;
    for (const std::string& name : names) {
      catalogue += static_cast<char>(name.size()) + name;
      if (!name.starts_with("..")) WriteFileBytes(folder_ / number / name, "x");
    }
    WriteFileBytes(folder_ / number / ("Brief" + number + ".cat"), catalogue + '\0');
  }

  TempFolder folder_;
  TBriefDocument document_;
};

TEST_F(ArchivedRunsTest, DeletesTheRunsFilesAndFolderAndForgetsIt) {
  MakeRun("0", {"Brief0.htm", "GL0.htm", "GL0.gif"}, "0");
  MakeRun("1", {"Brief1.htm", "GL1.htm"}, "1");
  DeleteArchivedRun(document_, 0);
  EXPECT_FALSE(fs::exists(folder_ / "0"));
  EXPECT_TRUE(fs::exists(folder_ / "1" / "GL1.htm"));
  EXPECT_EQ(document_.Brief.ArchivePaths, Texts{"1\\Brief1.htm"});
  EXPECT_EQ(document_.Brief.ArchiveStamps, Texts{"3/6/1997     1:00:00 PM"});
}

TEST_F(ArchivedRunsTest, AFolderWithFilesNobodyListedStays) {
  MakeRun("0", {"Brief0.htm"}, "0");
  WriteFileBytes(folder_ / "0" / "mine.txt", "keep");
  DeleteArchivedRun(document_, 0);
  EXPECT_EQ(ReadFileBytes(folder_ / "0" / "mine.txt"), "keep");
  EXPECT_FALSE(fs::exists(folder_ / "0" / "Brief0.htm"));
  EXPECT_FALSE(fs::exists(folder_ / "0" / "Brief0.cat"));
}

TEST_F(ArchivedRunsTest, ACraftedCatalogueNeverDeletesOutsideItsFolder) {
  WriteFileBytes(folder_ / "victim.txt", "safe");
  WriteFileBytes(folder_ / "news.brf", "brief");
  MakeRun("0", {"../victim.txt", "..", "../news.brf", "Brief0.htm"}, "0");
  DeleteArchivedRun(document_, 0);
  EXPECT_EQ(ReadFileBytes(folder_ / "victim.txt"), "safe");
  EXPECT_EQ(ReadFileBytes(folder_ / "news.brf"), "brief");
  EXPECT_FALSE(fs::exists(folder_ / "0"));
}

TEST_F(ArchivedRunsTest, ACatalogueNamingAnotherFolderIsRefused) {
  MakeRun("0", {"Brief0.htm", "GL1.htm"}, "1");
  MakeRun("1", {"Brief1.htm", "GL1.htm"}, "1");
  DeleteArchivedRun(document_, 0);
  EXPECT_TRUE(fs::exists(folder_ / "0" / "GL1.htm"));
  EXPECT_TRUE(fs::exists(folder_ / "1" / "GL1.htm"));
  EXPECT_EQ(document_.Brief.ArchivePaths, Texts{"1\\Brief1.htm"});
}

// Run folder 0 is a link to another brief's run folder, whose catalogue lists its files.
TEST_F(ArchivedRunsTest, ARunFolderThatIsALinkLosesTheLinkOnly) {
  const TempFolder other;
  fs::create_directory(other / "0");
  WriteFileBytes(other / "0" / "Brief0.htm", "theirs");
  WriteFileBytes(other / "0" / "Brief0.cat", std::string("\0010\012Brief0.htm\0", 13));
  fs::create_directory_symlink(other / "0", folder_ / "0");
  DeleteArchivedRun(document_, 0);
  EXPECT_FALSE(fs::exists(fs::symlink_status(folder_ / "0")));
  EXPECT_EQ(ReadFileBytes(other / "0" / "Brief0.htm"), "theirs");
  EXPECT_TRUE(fs::exists(other / "0" / "Brief0.cat"));
  EXPECT_EQ(document_.Brief.ArchivePaths, Texts{"1\\Brief1.htm"});
}

TEST_F(ArchivedRunsTest, ArchivePathsOutsideTheBriefsRunFoldersTouchNothing) {
  fs::create_directory(folder_ / "outside");
  WriteFileBytes(folder_ / "outside" / "Brief0.htm", "x");
  document_.Brief.ArchivePaths = {"..\\outside\\Brief0.htm", "outside\\Brief0.htm",
                                  "0\\..\\Brief0.htm", "1\\Brief1.htm"};
  document_.Brief.ArchiveStamps = {"a", "b", "c", "d"};
  for (int i = 0; i < 3; ++i)
    DeleteArchivedRun(document_, 0);
  EXPECT_TRUE(fs::exists(folder_ / "outside" / "Brief0.htm"));
  EXPECT_EQ(document_.Brief.ArchivePaths, Texts{"1\\Brief1.htm"});
  EXPECT_EQ(document_.Brief.ArchiveStamps, Texts{"d"});
  // A run without a catalogue still leaves the list; an index past its end changes nothing.
  DeleteArchivedRun(document_, 5);
  DeleteArchivedRun(document_, 0);
  EXPECT_TRUE(document_.Brief.ArchivePaths.empty());
}

}  // namespace
}  // namespace gl::test
