#include "generate/archived_runs.h"

#include <gtest/gtest.h>

#include "generate/generate_fixture.h"

namespace gl::test {
namespace {

namespace fs = std::filesystem;

// A folder holding an unlisted file stays; a catalogue naming another folder deletes nothing.
TEST(ArchivedRunsTest, DeletesWhatTheCatalogueListsInItsOwnFolderAndNothingOutside) {
  const TempFolder folder;
  TBriefDocument document{folder / "news.brf", {}};
  // A listed run whose catalogue names `names` (made if inside) after the folder `listed`.
  const auto makeRun = [&](const std::string& number, const Texts& names,
                           const std::string& listed) {
    fs::create_directory(folder / number);
    std::string catalogue = static_cast<char>(listed.size()) + listed;
    for (const std::string& name : names) {
      catalogue += static_cast<char>(name.size()) + name;
      if (!name.starts_with("..")) WriteFileBytes(folder / number / name, "x");
    }
    WriteFileBytes(folder / number / ("Brief" + number + ".cat"), catalogue + '\0');
    document.Brief.ArchivePaths.push_back(number + "\\Brief" + number + ".htm");
    document.Brief.ArchiveStamps.push_back("stamp " + number);
  };
  makeRun("0", {"Brief0.htm", "GL0.htm", "GL0.gif"}, "0");
  makeRun("1", {"Brief1.htm", "GL1.htm"}, "1");
  makeRun("2", {"Brief2.htm"}, "2");
  WriteFileBytes(folder / "2" / "mine.txt", "keep");
  makeRun("3", {"Brief3.htm", "GL1.htm"}, "1");
  DeleteArchivedRun(document, 0);
  EXPECT_FALSE(fs::exists(folder / "0"));
  EXPECT_EQ(document.Brief.ArchivePaths,
            (Texts{"1\\Brief1.htm", "2\\Brief2.htm", "3\\Brief3.htm"}));
  EXPECT_EQ(document.Brief.ArchiveStamps, (Texts{"stamp 1", "stamp 2", "stamp 3"}));
  DeleteArchivedRun(document, 1);
  EXPECT_EQ(SortedNames(folder / "2"), Texts{"mine.txt"});
  DeleteArchivedRun(document, 1);
  EXPECT_TRUE(fs::exists(folder / "3" / "GL1.htm"));
  EXPECT_TRUE(fs::exists(folder / "1" / "GL1.htm"));
  EXPECT_EQ(document.Brief.ArchivePaths, Texts{"1\\Brief1.htm"});
  EXPECT_EQ(document.Brief.ArchiveStamps, Texts{"stamp 1"});

  // Names and paths outside, and a linked run folder (it loses the link only), delete nothing.
  WriteFileBytes(folder / "victim.txt", "safe");
  WriteFileBytes(folder / "news.brf", "brief");
  makeRun("4", {"../victim.txt", "..", "../news.brf", "Brief4.htm"}, "4");
  makeRun("5", {"Brief5.htm"}, "5");
  const TempFolder other;
  fs::rename(folder / "5", other / "5");
  fs::create_directory_symlink(other / "5", folder / "5");
  DeleteArchivedRun(document, 1);
  DeleteArchivedRun(document, 1);
  EXPECT_EQ(ReadFileBytes(folder / "victim.txt"), "safe");
  EXPECT_EQ(ReadFileBytes(folder / "news.brf"), "brief");
  EXPECT_FALSE(fs::exists(folder / "4"));
  EXPECT_FALSE(fs::exists(fs::symlink_status(folder / "5")));
  EXPECT_EQ(SortedNames(other / "5"), (Texts{"Brief5.cat", "Brief5.htm"}));
  EXPECT_EQ(document.Brief.ArchiveStamps, Texts{"stamp 1"});

  fs::create_directory(folder / "outside");
  WriteFileBytes(folder / "outside" / "Brief0.htm", "x");
  document.Brief.ArchivePaths = {"..\\outside\\Brief0.htm", "outside\\Brief0.htm",
                                 "0\\..\\Brief0.htm", "1\\Brief1.htm"};
  document.Brief.ArchiveStamps = {"a", "b", "c", "d"};
  for (int i = 0; i < 3; ++i)
    DeleteArchivedRun(document, 0);
  EXPECT_TRUE(fs::exists(folder / "outside" / "Brief0.htm"));
  EXPECT_EQ(document.Brief.ArchivePaths, Texts{"1\\Brief1.htm"});
  EXPECT_EQ(document.Brief.ArchiveStamps, Texts{"d"});
  DeleteArchivedRun(document, 5);
  DeleteArchivedRun(document, 0);
  EXPECT_TRUE(document.Brief.ArchivePaths.empty());
}

}  // namespace
}  // namespace gl::test
