#include "core/brief_file.h"

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>
#include <string>
#include <vector>

#include "brief_bytes.h"
#include "core/brief_format.h"
#include "support/temp_folder.h"

namespace gl {
namespace {

using test::CatalogueText;
using test::Header;
using test::NumberRecord;
using test::ReadFileBytes;
using test::TextRecord;
using test::Word;
using test::WriteFileBytes;

// A brief that sets every field away from its default.
TBriefRecord FullBrief() {
  TBriefRecord brief;
  brief.Name = "Morning News";
  brief.Comments = "Read with coffee.\r\nTwo lines.";
  brief.ExtraFlag = true;
  brief.ExtraCode = "ABC123";
  brief.Active = false;
  brief.ExtraStrings = {"first", "second", "third"};
  brief.ArchivePaths = {"0\\Brief0.htm", "1\\Brief1.htm"};
  brief.ArchiveStamps = {"3/5/1997  9:07:02 AM", "3/6/1997  12:00:00 PM"};

  TWebEntry typed;
  typed.Active = false;
  typed.Name = "Weather";
  typed.NameSet = true;
  typed.URL = "http://www.example.com/weather/";
  typed.Depth = 42;
  typed.Images = true;
  typed.OtherFiles = true;
  typed.StayLocal = false;
  typed.UserName = "ann";
  typed.Password = "p\xE4ss";
  typed.ExtraText = "extra";
  TWebEntry untyped;
  untyped.URL = "http://news.example.org/";
  untyped.Name = untyped.URL;
  brief.WebList = {typed, untyped};
  return brief;
}

// The same brief as its file must hold it, assembled record by record from the format's tables.
std::string FullBriefBytes() {
  std::string bytes = Header();
  bytes += TextRecord(0, "Morning News");
  bytes += TextRecord(1, "Read with coffee.\r\nTwo lines.");
  bytes += NumberRecord(2, 1);
  bytes += TextRecord(3, "ABC123");
  bytes += NumberRecord(4, 0);
  bytes += NumberRecord(5, 3);
  bytes += TextRecord(6, "third") + TextRecord(6, "second") + TextRecord(6, "first");
  bytes += NumberRecord(7, 2);
  bytes += NumberRecord(8, 0) + TextRecord(9, "Weather") +
           TextRecord(10, "http://www.example.com/weather/") + NumberRecord(11, 1) +
           NumberRecord(12, 42) + NumberRecord(13, 1) + NumberRecord(14, 1) +
           TextRecord(15, "ann") + TextRecord(16, "p\xE4ss") + TextRecord(17, "extra") +
           NumberRecord(18, 0) + NumberRecord(19, 1);
  bytes += NumberRecord(8, 1) + TextRecord(9, "http://news.example.org/") +
           TextRecord(10, "http://news.example.org/") + NumberRecord(11, 1) + NumberRecord(12, 1) +
           NumberRecord(13, 0) + NumberRecord(14, 0) + TextRecord(15, "") + TextRecord(16, "") +
           TextRecord(17, "") + NumberRecord(18, 1) + NumberRecord(19, 0);
  return bytes;
}

std::string FullCatalogueBytes() {
  return Word(2) + CatalogueText("0\\Brief0.htm") + CatalogueText("3/5/1997  9:07:02 AM") +
         CatalogueText("1\\Brief1.htm") + CatalogueText("3/6/1997  12:00:00 PM");
}

void ExpectSameEntry(const TWebEntry& actual, const TWebEntry& expected) {
  EXPECT_EQ(actual.Active, expected.Active);
  EXPECT_EQ(actual.Name, expected.Name);
  EXPECT_EQ(actual.NameSet, expected.NameSet);
  EXPECT_EQ(actual.URL, expected.URL);
  EXPECT_EQ(actual.Depth, expected.Depth);
  EXPECT_EQ(actual.EntryFlag, expected.EntryFlag);
  EXPECT_EQ(actual.Images, expected.Images);
  EXPECT_EQ(actual.OtherFiles, expected.OtherFiles);
  EXPECT_EQ(actual.StayLocal, expected.StayLocal);
  EXPECT_EQ(actual.UserName, expected.UserName);
  EXPECT_EQ(actual.Password, expected.Password);
  EXPECT_EQ(actual.ExtraText, expected.ExtraText);
}

void ExpectSameBrief(const TBriefRecord& actual, const TBriefRecord& expected) {
  EXPECT_EQ(actual.Name, expected.Name);
  EXPECT_EQ(actual.Comments, expected.Comments);
  EXPECT_EQ(actual.ExtraFlag, expected.ExtraFlag);
  EXPECT_EQ(actual.ExtraCode, expected.ExtraCode);
  EXPECT_EQ(actual.Active, expected.Active);
  EXPECT_EQ(actual.ExtraStrings, expected.ExtraStrings);
  EXPECT_EQ(actual.ArchivePaths, expected.ArchivePaths);
  EXPECT_EQ(actual.ArchiveStamps, expected.ArchiveStamps);
  ASSERT_EQ(actual.WebList.size(), expected.WebList.size());
  for (std::size_t i = 0; i < actual.WebList.size(); ++i) {
    SCOPED_TRACE("entry " + std::to_string(i));
    ExpectSameEntry(actual.WebList[i], expected.WebList[i]);
  }
}

// Limits the size of files this process may write, so a write fails half-way as on a full disk.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
    getrlimit(RLIMIT_FSIZE, &previous_);
    rlimit limited = previous_;
    limited.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limited);
  }
  ~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &previous_);
    std::signal(SIGXFSZ, previousHandler_);
  }

 private:
  rlimit previous_{};
  void (*previousHandler_)(int) = nullptr;
};

std::size_t FileCount(const std::filesystem::path& folder) {
  std::size_t files = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder))
    ++files;
  return files;
}

class BriefFileTest : public ::testing::Test {
 protected:
  // Loads `bytes` as a brief file, with a catalogue beside it when one is given.
  LoadResult Load(const std::string& bytes, const std::string* catalogue = nullptr) {
    WriteFileBytes(briefPath_, bytes);
    if (catalogue != nullptr) WriteFileBytes(folder_ / "brief.cat", *catalogue);
    return ReadBriefs2(briefPath_);
  }

  test::TempFolder folder_;
  std::filesystem::path briefPath_ = folder_ / "brief.brf";
};

TEST_F(BriefFileTest, WriterProducesTheAssembledBytes) {
  EXPECT_EQ(BriefFileBytes(FullBrief()), FullBriefBytes());
  EXPECT_EQ(CatalogueBytes(FullBrief()), FullCatalogueBytes());
}

TEST_F(BriefFileTest, BriefWithoutEntriesIsHeaderAndTagsZeroToSeven) {
  const std::string expected = Header() + TextRecord(0, "New Brief") + NumberRecord(2, 0) +
                               TextRecord(3, "") + NumberRecord(4, 1) + NumberRecord(5, 0) +
                               NumberRecord(7, 0);
  EXPECT_EQ(BriefFileBytes(TBriefRecord{}), expected);
  EXPECT_EQ(CatalogueBytes(TBriefRecord{}), Word(0));
}

TEST_F(BriefFileTest, ReaderLoadsTheAssembledBytes) {
  const std::string catalogue = FullCatalogueBytes();
  const LoadResult result = Load(FullBriefBytes(), &catalogue);
  ASSERT_TRUE(result.Loaded);
  EXPECT_TRUE(result.Message.Empty());
  EXPECT_EQ(result.Document.FileName, briefPath_);
  TBriefRecord expected = FullBrief();
  expected.ExtraStrings = {"third", "second", "first"};
  ExpectSameBrief(result.Document.Brief, expected);
}

TEST_F(BriefFileTest, SaveAndReadKeepEveryField) {
  TBriefDocument document{briefPath_, FullBrief()};
  document.Brief.WebList[0].EntryFlag = false;
  ASSERT_EQ(SaveBriefs2(document).Outcome, SaveOutcome::Saved);
  EXPECT_EQ(ReadFileBytes(folder_ / "brief.cat"), FullCatalogueBytes());

  const LoadResult result = ReadBriefs2(briefPath_);
  ASSERT_TRUE(result.Loaded);
  TBriefRecord expected = FullBrief();
  expected.ExtraStrings = {"third", "second", "first"};  // stored last to first, read in order
  ExpectSameBrief(result.Document.Brief, expected);      // EntryFlag comes back true
}

TEST_F(BriefFileTest, TextsLongerThanTheLimitAreCut) {
  TBriefDocument document{briefPath_, {}};
  document.Brief.Comments = std::string(40000, 'c');
  document.Brief.ArchivePaths = {std::string(kMaxStoredText + 1, 'p')};
  document.Brief.ArchiveStamps = {"stamp"};
  CreateNewWebEntry(document.Brief, 0).URL = std::string(kMaxStoredText, 'u') + "tail";
  ASSERT_EQ(SaveBriefs2(document).Outcome, SaveOutcome::Saved);

  const std::string bytes = ReadFileBytes(briefPath_);
  EXPECT_NE(bytes.find(Word(1) + Word(0x7FFF) + std::string(kMaxStoredText, 'c') + Word(2)),
            std::string::npos);
  const LoadResult result = ReadBriefs2(briefPath_);
  ASSERT_TRUE(result.Loaded);
  EXPECT_EQ(result.Document.Brief.Comments, std::string(kMaxStoredText, 'c'));
  ASSERT_EQ(result.Document.Brief.WebList.size(), 1u);
  EXPECT_EQ(result.Document.Brief.WebList[0].URL, std::string(kMaxStoredText, 'u'));
  EXPECT_EQ(result.Document.Brief.ArchivePaths,
            std::vector<std::string>{std::string(kMaxStoredText, 'p')});
  EXPECT_EQ(result.Document.Brief.ArchiveStamps, std::vector<std::string>{"stamp"});
}

struct HeaderCase {
  const char* what;
  std::string bytes;
  bool loaded;
  bool message;
};

TEST_F(BriefFileTest, HeaderRules) {
  const std::string records = TextRecord(0, "Sports");
  const HeaderCase cases[] = {
      {"version 1.0", Header() + records, true, false},
      {"newer minor, older readers may load", Header(1, 1, {1, 0}) + records, true, false},
      {"newer minor, older readers may not", Header(1, 1, {0, 1}) + records, false, true},
      {"newer major, older readers may not", Header(2, 0, {0, 1}) + records, false, true},
      {"older readers flag ignored for 1.0", Header(1, 0, {0, 0}) + records, true, false},
      {"extra flag words skipped", Header(1, 0, {1, 1, 7, 9}) + records, true, false},
      {"one flag word", Header(1, 0, {1}) + records, false, false},
      {"no flag words", Header(1, 0, {}) + records, false, false},
      {"magic in other case", "glbf-orx" + Header().substr(8) + records, false, true},
      {"magic only", "GLBF-ORX", false, true},
      {"cut inside the flags", Header().substr(0, 15), false, true},
      {"flag count beyond the end", Header(1, 0, {1, 1}).substr(0, 12) + Word(500) + Word(1), false,
       true},
      {"empty file", "", false, true},
  };
  for (const HeaderCase& row : cases) {
    SCOPED_TRACE(row.what);
    const LoadResult result = Load(row.bytes);
    EXPECT_EQ(result.Loaded, row.loaded);
    EXPECT_EQ(!result.Message.Empty(), row.message);
    if (row.loaded) {
      EXPECT_EQ(result.Document.Brief.Name, "Sports");
    }
    if (row.message) {
      EXPECT_EQ(result.Message.Title, "Brief File Loading Error");
      EXPECT_EQ(result.Message.Text,
                "This file is either corrupt or is not a Brief file. Gleaner-Light cannot load "
                "it.");
    }
  }
}

struct CorruptCase {
  const char* what;
  std::string records;
};

TEST_F(BriefFileTest, UnreadableRecordsAreCorrupt) {
  const CorruptCase cases[] = {
      {"negative text length", Word(0) + Word(0xFFFF) + "abc"},
      {"text past the end", Word(0) + Word(10) + "abc"},
      {"negative unknown length", Word(30) + Word(0x8000) + "abcd"},
      {"unknown record past the end", Word(30) + Word(5) + "abcd"},
      {"number of length 4", Word(4) + Word(4) + Word(1) + Word(0)},
      {"number of length 0", Word(4) + Word(0)},
      {"number cut short", Word(4) + Word(2) + "x"},
      {"tag cut short", TextRecord(0, "x") + "\x01"},
      {"length missing", Word(0)},
      {"entry text past the end", NumberRecord(8, 1) + Word(10) + Word(100) + "http"},
  };
  for (const CorruptCase& row : cases) {
    SCOPED_TRACE(row.what);
    const LoadResult result = Load(Header() + row.records);
    EXPECT_FALSE(result.Loaded);
    EXPECT_EQ(result.Message.Title, "Brief File Loading Error");
  }
}

TEST_F(BriefFileTest, UnknownAndReservedRecordsAreSkipped) {
  const LoadResult result =
      Load(Header() + Word(25) + Word(4) + "abcd" + Word(0xFFFE) + Word(2) + "zz" +
           TextRecord(20, "reserved") + TextRecord(0, "Leisure") + NumberRecord(8, 1) + Word(99) +
           Word(0) + TextRecord(10, "http://a.example/"));
  ASSERT_TRUE(result.Loaded);
  EXPECT_EQ(result.Document.Brief.Name, "Leisure");
  ASSERT_EQ(result.Document.Brief.WebList.size(), 1u);
  EXPECT_EQ(result.Document.Brief.WebList[0].URL, "http://a.example/");
}

TEST_F(BriefFileTest, EntryRecordBeforeAnyEntryEndsReadingWithWhatWasRead) {
  const LoadResult result = Load(Header() + TextRecord(0, "Gov") + TextRecord(10, "http://x/") +
                                 TextRecord(1, "never read") + NumberRecord(8, 1));
  ASSERT_TRUE(result.Loaded);
  EXPECT_TRUE(result.Message.Empty());
  EXPECT_EQ(result.Document.Brief.Name, "Gov");
  EXPECT_EQ(result.Document.Brief.Comments, "");
  EXPECT_TRUE(result.Document.Brief.WebList.empty());
}

TEST_F(BriefFileTest, FieldReadingRules) {
  const LoadResult result =
      Load(Header() + TextRecord(0, "") + TextRecord(3, "LONGCODE") + NumberRecord(4, 0x0100) +
           NumberRecord(2, 0x0101) + TextRecord(6, "") + TextRecord(6, "kept") +
           // An entry whose name was never typed shows its address.
           NumberRecord(8, 0x0200) + TextRecord(9, "stale name") + TextRecord(10, "http://b/") +
           NumberRecord(11, 0) + NumberRecord(12, 0xFFFF) + NumberRecord(19, 0) +
           // Without an address it shows "New Page".
           NumberRecord(8, 1) + TextRecord(9, "stale") + NumberRecord(19, 0) +
           // Empty texts keep the defaults; a typed name stays.
           NumberRecord(8, 1) + TextRecord(9, "") + TextRecord(15, "") + NumberRecord(12, 99) +
           NumberRecord(18, 0) + NumberRecord(19, 1));
  ASSERT_TRUE(result.Loaded);
  const TBriefRecord& brief = result.Document.Brief;
  EXPECT_EQ(brief.Name, "New Brief");
  EXPECT_EQ(brief.ExtraCode, "LONGCO");
  EXPECT_FALSE(brief.Active);  // only the low byte counts
  EXPECT_TRUE(brief.ExtraFlag);
  EXPECT_EQ(brief.ExtraStrings, std::vector<std::string>{"kept"});
  ASSERT_EQ(brief.WebList.size(), 3u);
  EXPECT_FALSE(brief.WebList[0].Active);
  EXPECT_EQ(brief.WebList[0].Name, "http://b/");
  EXPECT_TRUE(brief.WebList[0].EntryFlag);
  EXPECT_EQ(brief.WebList[0].Depth, -1);  // sign-extended
  EXPECT_EQ(brief.WebList[1].Name, "New Page");
  EXPECT_EQ(brief.WebList[2].Name, "New Page");
  EXPECT_TRUE(brief.WebList[2].NameSet);
  EXPECT_EQ(brief.WebList[2].Depth, 99);
  EXPECT_FALSE(brief.WebList[2].StayLocal);
}

TEST_F(BriefFileTest, CatalogueRules) {
  struct CatalogueCase {
    const char* what;
    std::string bytes;
    std::vector<std::string> paths;
    std::vector<std::string> stamps;
  };
  const CatalogueCase cases[] = {
      {"complete",
       Word(1) + CatalogueText("0\\Brief0.htm") + CatalogueText("s0"),
       {"0\\Brief0.htm"},
       {"s0"}},
      {"count beyond the pairs", Word(3) + CatalogueText("a") + CatalogueText("s"), {"a"}, {"s"}},
      {"pair cut after the path",
       Word(2) + CatalogueText("a") + CatalogueText("s") + CatalogueText("b"),
       {"a"},
       {"s"}},
      {"negative length",
       Word(2) + CatalogueText("a") + CatalogueText("s") + Word(0xFFF0) + "b",
       {"a"},
       {"s"}},
      {"empty path drops its pair",
       Word(2) + CatalogueText("") + CatalogueText("s0") + CatalogueText("b") + CatalogueText("s1"),
       {"b"},
       {"s1"}},
      {"empty stamp keeps its place",
       Word(2) + CatalogueText("a") + CatalogueText("") + CatalogueText("b") + CatalogueText("s1"),
       {"a", "b"},
       {"", "s1"}},
      {"one byte", "\x01", {}, {}},
      {"empty", "", {}, {}},
  };
  for (const CatalogueCase& row : cases) {
    SCOPED_TRACE(row.what);
    const LoadResult result = Load(BriefFileBytes(TBriefRecord{}), &row.bytes);
    ASSERT_TRUE(result.Loaded);
    EXPECT_EQ(result.Document.Brief.ArchivePaths, row.paths);
    EXPECT_EQ(result.Document.Brief.ArchiveStamps, row.stamps);
  }
}

TEST_F(BriefFileTest, MissingCatalogueGivesNoArchivedRuns) {
  const LoadResult result = Load(BriefFileBytes(FullBrief()));
  ASSERT_TRUE(result.Loaded);
  EXPECT_TRUE(result.Document.Brief.ArchivePaths.empty());
  EXPECT_TRUE(result.Document.Brief.ArchiveStamps.empty());
}

TEST_F(BriefFileTest, FilesThatAreNotBriefsAreRefused) {
  const LoadResult missing = ReadBriefs2(folder_ / "missing.brf");
  EXPECT_FALSE(missing.Loaded);
  EXPECT_EQ(missing.Message.Title, "Brief File Loading Error");
  EXPECT_EQ(missing.Document.FileName, folder_ / "missing.brf");

  std::filesystem::create_directory(folder_ / "folder.brf");
  EXPECT_EQ(ReadBriefs2(folder_ / "folder.brf").Message.Title, "Brief File Loading Error");
}

TEST_F(BriefFileTest, SaveWithoutFileNameWritesNothing) {
  const SaveResult result = SaveBriefs2(TBriefDocument{});
  EXPECT_EQ(result.Outcome, SaveOutcome::NoFileName);
  EXPECT_TRUE(result.Message.Empty());
}

TEST_F(BriefFileTest, FailedSaveReportsAndLeavesNothingBehind) {
  const TBriefDocument document{folder_ / "no such folder" / "brief.brf", FullBrief()};
  const SaveResult result = SaveBriefs2(document);
  EXPECT_EQ(result.Outcome, SaveOutcome::Failed);
  EXPECT_EQ(result.Message.Title, "Brief File Saving Error");
  EXPECT_EQ(result.Message.Text, "Failed to save Brief File.");
  EXPECT_EQ(FileCount(folder_.Path()), 0u);
}

TEST_F(BriefFileTest, WriteFailingHalfWayKeepsThePreviousFiles) {
  const TBriefDocument old{briefPath_, FullBrief()};
  ASSERT_EQ(SaveBriefs2(old).Outcome, SaveOutcome::Saved);
  TBriefDocument larger = old;
  larger.Brief.Comments = std::string(5000, 'x');
  larger.Brief.ArchivePaths.clear();
  SaveResult result;
  {
    const FileSizeLimit limit(1000);
    result = SaveBriefs2(larger);
  }
  EXPECT_EQ(result.Outcome, SaveOutcome::Failed);
  EXPECT_EQ(result.Message.Title, "Brief File Saving Error");
  EXPECT_EQ(ReadFileBytes(briefPath_), FullBriefBytes());
  EXPECT_EQ(ReadFileBytes(folder_ / "brief.cat"), FullCatalogueBytes());
  EXPECT_EQ(FileCount(folder_.Path()), 2u);
}

TEST_F(BriefFileTest, CatalogueFailingHalfWayKeepsTheOldCatalogue) {
  const TBriefDocument old{briefPath_, FullBrief()};
  ASSERT_EQ(SaveBriefs2(old).Outcome, SaveOutcome::Saved);
  TBriefDocument more = old;
  more.Brief.Name = "Renamed";
  more.Brief.ArchivePaths.assign(300, "9\\Brief9.htm");
  more.Brief.ArchiveStamps.assign(300, "1/1/2000  1:00:00 AM");
  SaveResult result;
  {
    const FileSizeLimit limit(2000);
    result = SaveBriefs2(more);
  }
  EXPECT_EQ(result.Outcome, SaveOutcome::Saved);
  EXPECT_EQ(ReadFileBytes(briefPath_), BriefFileBytes(more.Brief));
  EXPECT_EQ(ReadFileBytes(folder_ / "brief.cat"), FullCatalogueBytes());
  EXPECT_EQ(FileCount(folder_.Path()), 2u);
}

TEST_F(BriefFileTest, UnwritableCatalogueKeepsTheOldOneAndStillSaves) {
  std::filesystem::create_directory(folder_ / "brief.cat");
  ASSERT_EQ(SaveBriefs2({briefPath_, FullBrief()}).Outcome, SaveOutcome::Saved);
  EXPECT_TRUE(std::filesystem::is_directory(folder_ / "brief.cat"));
  EXPECT_EQ(ReadFileBytes(briefPath_), FullBriefBytes());
  EXPECT_EQ(FileCount(folder_.Path()), 2u);  // no temporary file left behind
}

TEST_F(BriefFileTest, BriefNamedLikeACatalogueIsNotOverwrittenByIt) {
  const std::filesystem::path path = folder_ / "odd.cat";
  ASSERT_EQ(SaveBriefs2({path, FullBrief()}).Outcome, SaveOutcome::Saved);
  EXPECT_EQ(ReadFileBytes(path), FullBriefBytes());
  const LoadResult result = ReadBriefs2(path);
  ASSERT_TRUE(result.Loaded);
  EXPECT_TRUE(result.Document.Brief.ArchivePaths.empty());
}

TEST(CataloguePathTest, ChangesTheExtension) {
  EXPECT_EQ(CataloguePath("/a/news.brf"), "/a/news.cat");
  EXPECT_EQ(CataloguePath("/a/NEWS.BRF"), "/a/NEWS.cat");
  EXPECT_EQ(CataloguePath("/a.b/news"), "/a.b/news.cat");
  EXPECT_EQ(CataloguePath("/a/x.tar.brf"), "/a/x.tar.cat");
  EXPECT_EQ(CataloguePath("/a/news.cat"), "");
}

TEST(CreateCaptionTest, NamePartLowerCasedWithCapital) {
  const struct {
    const char* path;
    const char* caption;
  } cases[] = {
      {"/home/ann/MY NEWS.BRF", "My news"},
      {"sports.brf", "Sports"},
      {"/a.dir/gov", "Gov"},
      {"/x/archive.2024.brf", "Archive"},
      {"/x/.brf", ""},
      {"/x/", ""},
      {"/x/1st.brf", "1st"},
  };
  for (const auto& row : cases) {
    SCOPED_TRACE(row.path);
    EXPECT_EQ(CreateCaption(row.path), row.caption);
  }
}

}  // namespace
}  // namespace gl
