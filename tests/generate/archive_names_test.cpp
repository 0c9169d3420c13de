#include "generate/archive_names.h"

#include <gtest/gtest.h>

#include "generate/run_catalogue.h"
#include "generate/run_errors.h"
#include "support/temp_folder.h"

namespace gl::test {
namespace {

TEST(ArchiveNamesTest, SummaryNameSkipsTakenNamesAndMovesTheCounter) {
  TempFolder folder;
  WriteFileBytes(folder / "Brief0.htm", "");
  std::int32_t counter = 0;
  EXPECT_EQ(AllocateSummaryName(folder.Path(), counter), "Brief1.htm");
  EXPECT_EQ(counter, 2);
  EXPECT_EQ(CatalogueNameFor("Brief1.htm"), "Brief1.cat");
  // The counter carries on from run to run.
  EXPECT_EQ(AllocateSummaryName(folder.Path(), counter), "Brief2.htm");
  counter = 999;
  EXPECT_EQ(AllocateSummaryName(folder.Path(), counter), "Brief999.htm");
  EXPECT_EQ(AllocateSummaryName(folder.Path(), counter), "error");
  EXPECT_EQ(counter, 1000);
  counter = -5;
  EXPECT_EQ(AllocateSummaryName(folder.Path(), counter), "Brief1.htm");
}

TEST(ArchiveNamesTest, PageNamesStepByAHundredPastTakenNames) {
  TempFolder folder;
  WriteFileBytes(folder / "GL0.htm", "");
  std::filesystem::create_directory(folder / "GL100.htm");
  std::filesystem::create_symlink(folder / "nowhere", folder / "GL200.htm");
  std::int32_t counter = 0;
  EXPECT_EQ(AllocatePageName(folder.Path(), "htm", counter), "GL300.htm");
  EXPECT_EQ(counter, 301);
  EXPECT_EQ(AllocatePageName(folder.Path(), "", counter), "GL301.htm");
  EXPECT_EQ(counter, 302);
  counter = 999998;
  EXPECT_EQ(AllocatePageName(folder.Path(), "htm", counter), "GL999998.htm");
  EXPECT_EQ(AllocatePageName(folder.Path(), "htm", counter), "error");
  counter = INT32_MAX;
  EXPECT_EQ(AllocateImageName(folder.Path(), "gif", counter), "error");
}

TEST(ArchiveNamesTest, ExtensionNormalisation) {
  struct Row {
    std::string_view extension;
    std::string_view page;
    std::string_view image;
  };
  const Row rows[] = {
      {"", "htm", "htm"},          {"jpeg", "jpg", "jpeg"}, {"JPEG", "jpg", "JPEG"},
      {"c-g", "cwg", "cwg"},       {"html", "htm", "html"}, {"cgi", "htm", "gif"},
      {"mpeg", "mpg", "mpeg"},     {"GIF", "gif", "GIF"},   {"t.z", "twz", "twz"},
      {"\xe9t\xe9", "wtw", "wtw"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.extension);
    EXPECT_EQ(NormalisePageExtension(row.extension), row.page);
    EXPECT_EQ(NormaliseImageExtension(row.extension), row.image);
  }
  // However long the extension, a name still fits one catalogue record.
  const std::string name = "GL999999." + NormaliseImageExtension(std::string(1000, 'x'));
  EXPECT_TRUE(IsPlainFileName(name));
}

TEST(RunCatalogueTest, WritesLengthPrefixedRecordsAndReadsThemBack) {
  TempFolder folder;
  {
    RunCatalogueWriter writer(folder / "Brief0.cat");
    EXPECT_TRUE(writer.WriteCatalogueName("7"));
    EXPECT_TRUE(writer.WriteCatalogueName("Brief0.htm"));
    EXPECT_TRUE(writer.WriteCatalogueName("GL0.htm"));
    EXPECT_FALSE(writer.WriteCatalogueName("../escape.htm"));
    EXPECT_FALSE(writer.WriteCatalogueName(std::string(256, 'x')));
    writer.Finish();
  }
  EXPECT_EQ(ReadFileBytes(folder / "Brief0.cat"), std::string("\x01"
                                                              "7\x0a"
                                                              "Brief0.htm\x07"
                                                              "GL0.htm\0",
                                                              22));
  const auto catalogue = ReadRunCatalogue(folder / "Brief0.cat");
  ASSERT_TRUE(catalogue);
  EXPECT_EQ(catalogue->Folder, "7");
  EXPECT_EQ(catalogue->Names, (std::vector<std::string>{"Brief0.htm", "GL0.htm"}));
}

TEST(RunCatalogueTest, ReadingStopsQuietlyAtACutRecord) {
  TempFolder folder;
  WriteFileBytes(folder / "a.cat", std::string("\x01"
                                               "3\x09"
                                               "ab.htm",
                                               9));
  const auto catalogue = ReadRunCatalogue(folder / "a.cat");
  ASSERT_TRUE(catalogue);
  EXPECT_EQ(catalogue->Folder, "3");
  EXPECT_TRUE(catalogue->Names.empty());
  WriteFileBytes(folder / "b.cat", std::string("\0", 1));
  EXPECT_FALSE(ReadRunCatalogue(folder / "b.cat"));
  EXPECT_FALSE(ReadRunCatalogue(folder / "missing.cat"));
}

TEST(RunCatalogueTest, PlainFileNames) {
  EXPECT_TRUE(IsPlainFileName("GL100.htm"));
  EXPECT_TRUE(IsPlainFileName(std::string(255, 'x')));
  EXPECT_FALSE(IsPlainFileName(std::string(256, 'x')));
  EXPECT_FALSE(IsPlainFileName(""));
  EXPECT_FALSE(IsPlainFileName(".."));
  EXPECT_FALSE(IsPlainFileName("a/b"));
  EXPECT_FALSE(IsPlainFileName("a\\b"));
  EXPECT_FALSE(IsPlainFileName(std::string("a\0b", 3)));
}

TEST(RunCatalogueTest, AFailedWriteIsReportedAsFalse) {
  RunCatalogueWriter writer("/dev/full");
  // Writes are buffered; enough of them reach the device and fail.
  bool failed = false;
  for (int i = 0; i < 1000 && !failed; ++i)
    failed = !writer.WriteCatalogueName(std::string(200, 'x'));
  EXPECT_TRUE(failed);
  writer.Finish();
}

TEST(CheckedFileTest, FailuresRaiseTheDiskFullError) {
  EXPECT_THROW(CheckedFile("/nonexistent-folder/x.htm"), EInOutError);
  CheckedFile full("/dev/full");
  full.Write("small");
  try {
    full.Close();
    FAIL() << "closing a file on a full device succeeded";
  } catch (const EInOutError& error) {
    EXPECT_STREQ(error.what(), "Disk Full");
  }
  CheckedFile large("/dev/full");
  EXPECT_THROW(large.Write(std::string(1 << 20, 'x')), EInOutError);
}

}  // namespace
}  // namespace gl::test
