#include "generate/internal/archive_names.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <tuple>

#include "generate/internal/run_catalogue.h"
#include "generate/internal/run_errors.h"
#include "support/scoped_environment.h"
#include "support/temp_folder.h"

namespace gl::test {
namespace {

using namespace std::literals;

// Summary names step by one and page names by a hundred past taken names of any kind.
TEST(ArchiveNamesTest, NamesSkipTakenNamesCarryTheCounterOnAndShortenExtensions) {
  TempFolder folder;
  WriteFileBytes(folder / "Brief0.htm", "");
  WriteFileBytes(folder / "GL0.htm", "");
  std::filesystem::create_directory(folder / "GL100.htm");
  std::filesystem::create_symlink(folder / "nowhere", folder / "GL200.htm");
  RunFolderNames names(folder.Path());
  std::int32_t counter = 0;
  EXPECT_EQ(names.Summary(counter), "Brief1.htm");
  EXPECT_EQ(counter, 2);
  EXPECT_EQ(names.Summary(counter), "Brief2.htm");
  EXPECT_EQ(CatalogueNameFor("Brief2.htm"), "Brief2.cat");
  counter = 999;
  EXPECT_EQ(names.Summary(counter), "Brief999.htm");
  EXPECT_EQ(names.Summary(counter), "error");
  // Names given out before are taken, though no file has them yet.
  counter = -5;
  EXPECT_EQ(names.Summary(counter), "Brief3.htm");

  counter = 0;
  EXPECT_EQ(names.Page("htm", counter), "GL300.htm");
  EXPECT_EQ(counter, 301);
  EXPECT_EQ(names.Page("", counter), "GL301.htm");
  // An image never gets a name promised to a page, nor the other way round.
  std::int32_t imageCounter = 301;
  EXPECT_EQ(names.Image("", imageCounter), "GL401.htm");
  EXPECT_EQ(names.Image("gif", imageCounter), "GL402.gif");
  counter = 401;
  EXPECT_EQ(names.Page("htm", counter), "GL501.htm");
  counter = 999998;
  EXPECT_EQ(names.Page("htm", counter), "GL999998.htm");
  EXPECT_EQ(names.Page("htm", counter), "error");
  counter = INT32_MAX;
  EXPECT_EQ(names.Image("gif", counter), "error");
  // The folder is read once: a link put there later is refused when a file is written.
  std::filesystem::create_symlink(folder / "elsewhere", folder / "GL502.htm");
  counter = 502;
  EXPECT_EQ(names.Page("htm", counter), "GL502.htm");
  EXPECT_THROW(CheckedFile(folder / "GL502.htm"), EInOutError);
  EXPECT_FALSE(std::filesystem::exists(folder / "elsewhere"));

  const std::tuple<std::string_view, std::string_view, std::string_view> rows[] = {
      // extension, as a page's, as an image's
      {"", "htm", "htm"},          {"jpeg", "jpg", "jpeg"}, {"JPEG", "jpg", "JPEG"},
      {"c-g", "cwg", "cwg"},       {"html", "htm", "html"}, {"cgi", "htm", "gif"},
      {"mpeg", "mpg", "mpeg"},     {"GIF", "gif", "GIF"},   {"t.z", "twz", "twz"},
      {"\xe9t\xe9", "wtw", "wtw"},
  };
  for (const auto& [extension, page, image] : rows) {
    SCOPED_TRACE(extension);
    EXPECT_EQ(NormalisePageExtension(extension), page);
    EXPECT_EQ(NormaliseImageExtension(extension), image);
  }
  EXPECT_TRUE(IsPlainFileName("GL999999." + NormaliseImageExtension(std::string(1000, 'x'))));
}

TEST(RunCatalogueTest, HoldsPlainFileNamesOnlyStopsAtACutRecordAndReportsFailures) {
  for (const std::string& name : {""s, std::string(256, 'x'), ".."s, "a/b"s, "a\\b"s, "a\0b"s})
    EXPECT_FALSE(IsPlainFileName(name)) << name;
  EXPECT_TRUE(IsPlainFileName(std::string(255, 'x')));

  TempFolder folder;
  RunCatalogueWriter writer(folder / "Brief0.cat");
  EXPECT_TRUE(writer.WriteCatalogueName("7"));
  EXPECT_TRUE(writer.WriteCatalogueName("Brief0.htm"));
  EXPECT_FALSE(writer.WriteCatalogueName("../escape.htm"));
  writer.Finish();
  EXPECT_EQ(ReadFileBytes(folder / "Brief0.cat"), "\0017\012Brief0.htm\0"s);
  // Reading stops quietly at a cut record.
  const auto cut = ParseRunCatalogue("\0013\011ab.htm"sv);
  EXPECT_TRUE(cut && cut->Folder == "3" && cut->Names.empty());
  EXPECT_FALSE(ParseRunCatalogue("\0"sv));
  EXPECT_FALSE(ReadRunCatalogue("/nonexistent-folder/missing.cat"));

  // Failed writes are reported; a file left unfinished is removed.
  std::filesystem::remove(folder / "Brief0.cat");
  RunCatalogueWriter full("/dev/full");
  EXPECT_THROW(
      for (int i = 0; i < 1000;
           ++i) { static_cast<void>(full.WriteCatalogueName(std::string(200, 'x'))); },
      EInOutError);
  EXPECT_FALSE(full.Finish());
  EXPECT_TRUE(std::filesystem::exists("/dev/full"));

  EXPECT_THROW(CheckedFile("/nonexistent-folder/x.htm"), EInOutError);
  {
    CheckedFile unfinished(folder / "unfinished.htm");
    unfinished.Write("a page cut short by a failure elsewhere");
  }
  CheckedFile large(folder / "large.htm");
  {
    const ScopedFileSizeLimit limit(1000);
    EXPECT_THROW(large.Write(std::string(1 << 20, 'x')), EInOutError);
  }
  EXPECT_THROW(large.Close(), EInOutError);
  EXPECT_TRUE(std::filesystem::is_empty(folder.Path()));
}

}  // namespace
}  // namespace gl::test
