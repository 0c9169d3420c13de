#include "generate/archived_runs.h"

#include <gtest/gtest.h>

#include "support/temp_folder.h"

namespace gl::test {
namespace {

using Texts = std::vector<std::string>;
namespace fs = std::filesystem;

class ArchivedRunsTest : public ::testing::Test {
 protected:
  // A listed run whose catalogue names `names` (made if inside) after the folder `listed`.
  void MakeRun(const std::string& number, const Texts& names, const std::string& listed) {
    fs::create_directory(folder_ / number);
    std::string catalogue = static_cast<char>(listed.size()) + listed;
    for (const std::string& name : names) {
      catalogue += static_cast<char>(name.size()) + name;
      if (!name.starts_with("..")) WriteFileBytes(folder_ / number / name, "x");
    }
    WriteFileBytes(folder_ / number / ("Brief" + number + ".cat"), catalogue + '\0');
    document_.Brief.ArchivePaths.push_back(number + "\\Brief" + number + ".htm");
    document_.Brief.ArchiveStamps.push_back("stamp " + number);
  }

  TempFolder folder_;
  TBriefDocument document_{folder_ / "news.brf", {}};
};

// A folder holding an unlisted file stays; a catalogue naming another folder deletes nothing.
TEST_F(ArchivedRunsTest, DeletesWhatTheCatalogueListsInItsOwnFolderAndNothingOutside) {
  MakeRun("0", {"Brief0.htm", "GL0.htm", "GL0.gif"}, "0");
  MakeRun("1", {"Brief1.htm", "GL1.htm"}, "1");
  MakeRun("2", {"Brief2.htm"}, "2");
  WriteFileBytes(folder_ / "2" / "mine.txt", "keep");
  MakeRun("3", {"Brief3.htm", "GL1.htm"}, "1");
  DeleteArchivedRun(document_, 0);
  EXPECT_FALSE(fs::exists(folder_ / "0"));
  EXPECT_EQ(document_.Brief.ArchivePaths,
            (Texts{"1\\Brief1.htm", "2\\Brief2.htm", "3\\Brief3.htm"}));
  EXPECT_EQ(document_.Brief.ArchiveStamps, (Texts{"stamp 1", "stamp 2", "stamp 3"}));
  DeleteArchivedRun(document_, 1);
  EXPECT_EQ(ReadFileBytes(folder_ / "2" / "mine.txt"), "keep");
  EXPECT_FALSE(fs::exists(folder_ / "2" / "Brief2.htm"));
  EXPECT_FALSE(fs::exists(folder_ / "2" / "Brief2.cat"));
  DeleteArchivedRun(document_, 1);
  EXPECT_TRUE(fs::exists(folder_ / "3" / "GL1.htm"));
  EXPECT_TRUE(fs::exists(folder_ / "1" / "GL1.htm"));
  EXPECT_EQ(document_.Brief.ArchivePaths, Texts{"1\\Brief1.htm"});
  EXPECT_EQ(document_.Brief.ArchiveStamps, Texts{"stamp 1"});

  // Names and paths outside, and a linked run folder (it loses the link only), delete nothing.
  WriteFileBytes(folder_ / "victim.txt", "safe");
  WriteFileBytes(folder_ / "news.brf", "brief");
  MakeRun("4", {"../victim.txt", "..", "../news.brf", "Brief4.htm"}, "4");
  MakeRun("5", {"Brief5.htm"}, "5");
  const TempFolder other;
  fs::rename(folder_ / "5", other / "5");
  fs::create_directory_symlink(other / "5", folder_ / "5");
  DeleteArchivedRun(document_, 1);
  DeleteArchivedRun(document_, 1);
  EXPECT_EQ(ReadFileBytes(folder_ / "victim.txt"), "safe");
  EXPECT_EQ(ReadFileBytes(folder_ / "news.brf"), "brief");
  EXPECT_FALSE(fs::exists(folder_ / "4"));
  EXPECT_FALSE(fs::exists(fs::symlink_status(folder_ / "5")));
  EXPECT_EQ(ReadFileBytes(other / "5" / "Brief5.htm"), "x");
  EXPECT_TRUE(fs::exists(other / "5" / "Brief5.cat"));
  EXPECT_EQ(document_.Brief.ArchiveStamps, Texts{"stamp 1"});

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
  DeleteArchivedRun(document_, 5);
  DeleteArchivedRun(document_, 0);
  EXPECT_TRUE(document_.Brief.ArchivePaths.empty());
}

}  // namespace
}  // namespace gl::test
