#include "generate/archived_runs.h"

#include <gtest/gtest.h>

#include "generate/run_catalogue.h"
#include "support/temp_folder.h"

namespace gl::test {
namespace {

class ArchivedRunsTest : public ::testing::Test {
 protected:
  ArchivedRunsTest() {
    document_.FileName = folder_ / "news.brf";
    document_.Brief.ArchivePaths = {"0\\Brief0.htm", "1\\Brief1.htm"};
    document_.Brief.ArchiveStamps = {"3/5/1997     9:07:02 AM", "3/6/1997     1:00:00 PM"};
  }

  // A run folder with its catalogue listing `names` after the folder `listedFolder`.
  void MakeRun(const std::string& folder, const std::string& summary,
               const std::vector<std::string>& names, const std::string& listedFolder) {
    std::filesystem::create_directory(folder_ / folder);
    std::string catalogue(1, static_cast<char>(listedFolder.size()));
    catalogue += listedFolder;
    for (const std::string& name : names) {
      catalogue += static_cast<char>(name.size());
      catalogue += name;
      if (name.find('/') == std::string::npos && name.find("..") == std::string::npos)
        WriteFileBytes(folder_ / folder / name, "x");
    }
    catalogue += '\0';
    const std::string catalogueName = summary.substr(0, summary.size() - 3) + "cat";
    WriteFileBytes(folder_ / folder / catalogueName, catalogue);
  }

  TempFolder folder_;
  TBriefDocument document_;
};

TEST_F(ArchivedRunsTest, DeletesTheRunsFilesAndFolderAndForgetsIt) {
  MakeRun("0", "Brief0.htm", {"Brief0.htm", "GL0.htm", "GL0.gif"}, "0");
  MakeRun("1", "Brief1.htm", {"Brief1.htm", "GL1.htm"}, "1");
  DeleteArchivedRun(document_, 0);
  EXPECT_FALSE(std::filesystem::exists(folder_ / "0"));
  EXPECT_TRUE(std::filesystem::exists(folder_ / "1" / "GL1.htm"));
  EXPECT_EQ(document_.Brief.ArchivePaths, std::vector<std::string>{"1\\Brief1.htm"});
  EXPECT_EQ(document_.Brief.ArchiveStamps, std::vector<std::string>{"3/6/1997     1:00:00 PM"});
}

TEST_F(ArchivedRunsTest, AFolderWithFilesNobodyListedStays) {
  MakeRun("0", "Brief0.htm", {"Brief0.htm"}, "0");
  WriteFileBytes(folder_ / "0" / "mine.txt", "keep");
  DeleteArchivedRun(document_, 0);
  EXPECT_EQ(ReadFileBytes(folder_ / "0" / "mine.txt"), "keep");
  EXPECT_FALSE(std::filesystem::exists(folder_ / "0" / "Brief0.htm"));
  EXPECT_FALSE(std::filesystem::exists(folder_ / "0" / "Brief0.cat"));
}

TEST_F(ArchivedRunsTest, ACraftedCatalogueNeverDeletesOutsideItsFolder) {
  WriteFileBytes(folder_ / "victim.txt", "safe");
  WriteFileBytes(folder_ / "news.brf", "brief");
  MakeRun("0", "Brief0.htm", {"../victim.txt", "..", "../news.brf", "Brief0.htm"}, "0");
  DeleteArchivedRun(document_, 0);
  EXPECT_EQ(ReadFileBytes(folder_ / "victim.txt"), "safe");
  EXPECT_EQ(ReadFileBytes(folder_ / "news.brf"), "brief");
  EXPECT_FALSE(std::filesystem::exists(folder_ / "0"));
}

TEST_F(ArchivedRunsTest, ACatalogueNamingAnotherFolderIsRefused) {
  MakeRun("0", "Brief0.htm", {"Brief0.htm"}, "1");
  MakeRun("1", "Brief1.htm", {"Brief1.htm", "GL1.htm"}, "1");
  std::filesystem::copy_file(folder_ / "1" / "Brief1.cat", folder_ / "0" / "Brief0.cat",
                             std::filesystem::copy_options::overwrite_existing);
  WriteFileBytes(folder_ / "0" / "GL1.htm", "run zero's own");
  DeleteArchivedRun(document_, 0);
  EXPECT_EQ(ReadFileBytes(folder_ / "0" / "GL1.htm"), "run zero's own");
  EXPECT_TRUE(std::filesystem::exists(folder_ / "1" / "GL1.htm"));
  EXPECT_EQ(document_.Brief.ArchivePaths.size(), 1u);
}

TEST_F(ArchivedRunsTest, ArchivePathsThatLeaveTheBriefsFolderTouchNothing) {
  const std::filesystem::path outside = folder_ / "outside";
  std::filesystem::create_directory(outside);
  WriteFileBytes(outside / "Brief0.htm", "x");
  document_.Brief.ArchivePaths = {"..\\outside\\Brief0.htm", "outside\\Brief0.htm",
                                  "0\\..\\Brief0.htm"};
  document_.Brief.ArchiveStamps = {"a", "b", "c"};
  for (int i = 0; i < 3; ++i)
    DeleteArchivedRun(document_, 0);
  EXPECT_TRUE(std::filesystem::exists(outside / "Brief0.htm"));
  EXPECT_TRUE(document_.Brief.ArchivePaths.empty());
  EXPECT_TRUE(document_.Brief.ArchiveStamps.empty());
}

TEST_F(ArchivedRunsTest, AMissingCatalogueStillRemovesTheRunFromTheList) {
  DeleteArchivedRun(document_, 1);
  EXPECT_EQ(document_.Brief.ArchivePaths, std::vector<std::string>{"0\\Brief0.htm"});
  DeleteArchivedRun(document_, 5);
  EXPECT_EQ(document_.Brief.ArchivePaths.size(), 1u);
}

}  // namespace
}  // namespace gl::test
