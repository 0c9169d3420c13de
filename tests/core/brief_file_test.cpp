#include "core/brief_file.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>  // umask
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cstdint>
#include <iterator>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

#include "core/brief_format.h"
#include "support/scoped_environment.h"
#include "support/temp_folder.h"

namespace gl {
namespace {

using test::ReadFileBytes;
using test::WriteFileBytes;

constexpr const char* kCorrupt =
    "Brief File Loading Error: This file is either corrupt or is not a Brief file. Gleaner-Light "
    "cannot load it.";

// Brief and catalogue bytes built by hand, not by the writer under test.
std::string Word(std::uint16_t value) {
  return {static_cast<char>(value & 0xFF), static_cast<char>(value >> 8)};
}

// Magic, major, minor, flag count, then the flag words.
std::string Header(std::uint16_t major = 1, std::uint16_t minor = 0,
                   std::initializer_list<std::uint16_t> flags = {1, 1}) {
  std::string bytes = "GLBF-ORX" + Word(major) + Word(minor);
  bytes += Word(static_cast<std::uint16_t>(flags.size()));
  for (std::uint16_t flag : flags)
    bytes += Word(flag);
  return bytes;
}

std::string Text(std::uint16_t tag, std::string_view text) {
  return Word(tag) + Word(static_cast<std::uint16_t>(text.size())) + std::string(text);
}

std::string Number(std::uint16_t tag, std::uint16_t value) {
  return Word(tag) + Word(2) + Word(value);
}

std::string CatalogueText(std::string_view text) {
  return Word(static_cast<std::uint16_t>(text.size())) + std::string(text);
}

TBriefRecord FullBrief() {
  const TWebEntry typed{false, "Weather", true,      "http://www.example.com/weather/",
                        42,    true,      true,      true,
                        false, "ann",     "p\xE4ss", "extra"};
  const std::string news = "http://news.example.org/";  // no typed name: the address is shown
  const TWebEntry untyped{true, news, false, news, 1, true, false, false, true, "", "", ""};
  return {.Name = "Morning News",
          .Comments = "Read with coffee.\r\nTwo lines.",
          .ExtraFlag = true,
          .ExtraCode = "ABC123",
          .Active = false,
          .WebList = {typed, untyped},
          .ArchivePaths = {"0\\Brief0.htm", "1\\Brief1.htm"},
          .ArchiveStamps = {"3/5/1997  9:07:02 AM", "3/6/1997  12:00:00 PM"},
          .ExtraStrings = {"first", "second", "third"}};
}

std::string FullBriefBytes() {
  return Header() + Text(0, "Morning News") + Text(1, "Read with coffee.\r\nTwo lines.") +
         Number(2, 1) + Text(3, "ABC123") + Number(4, 0) + Number(5, 3) + Text(6, "third") +
         Text(6, "second") + Text(6, "first") + Number(7, 2) + Number(8, 0) + Text(9, "Weather") +
         Text(10, "http://www.example.com/weather/") + Number(11, 1) + Number(12, 42) +
         Number(13, 1) + Number(14, 1) + Text(15, "ann") + Text(16, "p\xE4ss") + Text(17, "extra") +
         Number(18, 0) + Number(19, 1) + Number(8, 1) + Text(9, "http://news.example.org/") +
         Text(10, "http://news.example.org/") + Number(11, 1) + Number(12, 1) + Number(13, 0) +
         Number(14, 0) + Text(15, "") + Text(16, "") + Text(17, "") + Number(18, 1) + Number(19, 0);
}

std::string FullCatalogueBytes() {
  return Word(2) + CatalogueText("0\\Brief0.htm") + CatalogueText("3/5/1997  9:07:02 AM") +
         CatalogueText("1\\Brief1.htm") + CatalogueText("3/6/1997  12:00:00 PM");
}

std::string Runs(const TBriefRecord& brief) {
  EXPECT_EQ(brief.ArchivePaths.size(), brief.ArchiveStamps.size());
  std::string runs;
  for (std::size_t i = 0; i < std::min(brief.ArchivePaths.size(), brief.ArchiveStamps.size()); ++i)
    runs += brief.ArchivePaths[i] + "=" + brief.ArchiveStamps[i] + ";";
  return runs;
}

class BriefFileTest : public ::testing::Test {
 protected:
  LoadResult Load(const std::string& bytes, const std::string* catalogue = nullptr) {
    WriteFileBytes(briefPath_, bytes);
    if (catalogue != nullptr) WriteFileBytes(folder_ / "brief.cat", *catalogue);
    return ReadBriefs2(briefPath_);
  }

  std::size_t FileCount() const {
    const std::filesystem::directory_iterator files(folder_.Path());
    return static_cast<std::size_t>(std::distance(begin(files), end(files)));
  }

  test::TempFolder folder_;
  std::filesystem::path briefPath_ = folder_ / "brief.brf";
};

TEST_F(BriefFileTest, SaveWritesTheExactBytesAndReadingGivesEveryFieldBack) {
  ASSERT_EQ(SaveBriefs2({briefPath_, FullBrief()}).Outcome, SaveOutcome::Saved);
  EXPECT_EQ(ReadFileBytes(briefPath_), FullBriefBytes());
  EXPECT_EQ(ReadFileBytes(folder_ / "brief.cat"), FullCatalogueBytes());
  const LoadResult result = ReadBriefs2(briefPath_);
  ASSERT_TRUE(result.Loaded);
  EXPECT_TRUE(result.Message.Empty());
  TBriefRecord expected = FullBrief();
  expected.ExtraStrings = {"third", "second", "first"};  // stored last to first, read in order
  EXPECT_EQ(BriefFileBytes(result.Document.Brief), BriefFileBytes(expected));
  EXPECT_EQ(CatalogueBytes(result.Document.Brief), FullCatalogueBytes());
  std::filesystem::remove(folder_ / "brief.cat");
  EXPECT_EQ(Runs(ReadBriefs2(briefPath_).Document.Brief), "");

  // Texts longer than a length word holds are cut.
  const std::string longest(kMaxStoredText, 'x');
  TBriefRecord cut;
  cut.Comments = longest + "tail";
  cut.ArchivePaths = {longest + "tail"};
  cut.ArchiveStamps = {"stamp"};
  ASSERT_EQ(SaveBriefs2({briefPath_, cut}).Outcome, SaveOutcome::Saved);
  EXPECT_NE(ReadFileBytes(briefPath_).find(Word(1) + Word(0x7FFF) + longest + Word(2)),
            std::string::npos);
  const TBriefRecord read = ReadBriefs2(briefPath_).Document.Brief;
  EXPECT_EQ(read.Comments + "|" + Runs(read), longest + "|" + longest + "=stamp;");
}

// "name|comments|address..." or the message shown.
std::string Outcome(const LoadResult& result) {
  if (!result.Loaded)
    return result.Message.Empty() ? "refused" : result.Message.Title + ": " + result.Message.Text;
  std::string outcome = result.Document.Brief.Name + "|" + result.Document.Brief.Comments;
  for (const TWebEntry& entry : result.Document.Brief.WebList)
    outcome += "|" + entry.URL;
  return outcome;
}

TEST_F(BriefFileTest, HeaderAndRecordRules) {
  const std::string sports = Text(0, "Sports"), head = Header();
  const std::tuple<const char*, std::string, std::string> cases[] = {
      {"version 1.0", head + sports, "Sports|"},
      {"newer minor, older readers may load", Header(1, 1, {1, 0}) + sports, "Sports|"},
      {"newer minor, older readers may not", Header(1, 1, {0, 1}) + sports, kCorrupt},
      {"newer major, older readers may not", Header(2, 0, {0, 1}) + sports, kCorrupt},
      {"older readers flag ignored for 1.0", Header(1, 0, {0, 0}) + sports, "Sports|"},
      {"extra flag words skipped", Header(1, 0, {1, 1, 7, 9}) + sports, "Sports|"},
      {"one flag word: refused without a message", Header(1, 0, {1}) + sports, "refused"},
      {"magic in other case", "glbf-orx" + head.substr(8) + sports, kCorrupt},
      {"cut inside the flags", head.substr(0, 15), kCorrupt},
      {"flag count beyond the end", head.substr(0, 12) + Word(500) + sports, kCorrupt},
      {"empty file", "", kCorrupt},
      {"text past the end", head + Word(0) + Word(10) + "abc", kCorrupt},
      {"negative unknown length", head + Word(30) + Word(0x8000) + "abcd", kCorrupt},
      {"number of length 4", head + Word(4) + Word(4) + Word(1) + Word(0), kCorrupt},
      {"tag cut short", head + sports + "\x01", kCorrupt},
      {"length missing", head + Word(0), kCorrupt},
      {"entry text past the end", head + Number(8, 1) + Word(10) + Word(100) + "ab", kCorrupt},
      {"unknown and reserved records skipped",
       head + Text(25, "abcd") + Text(0xFFFE, "zz") + Text(20, "reserved") + sports + Number(8, 1) +
           Text(99, "") + Text(10, "http://a/"),
       "Sports||http://a/"},
      {"an entry's record before any entry ends the reading with what was read",
       head + sports + Text(10, "http://x/") + Text(1, "never read") + Number(8, 1), "Sports|"},
  };
  for (const auto& [what, bytes, outcome] : cases) {
    SCOPED_TRACE(what);
    EXPECT_EQ(Outcome(Load(bytes)), outcome);
  }
}

TEST_F(BriefFileTest, FieldReadingRules) {
  const LoadResult result =
      Load(Header() + Text(0, "") + Text(3, "LONGCODE") + Number(4, 0x0100) + Number(2, 0x0101) +
           Text(6, "") + Text(6, "kept") + Number(8, 0x0200) + Text(9, "stale name") +
           Text(10, "http://b/") + Number(11, 0) + Number(12, 0xFFFF) + Number(19, 0) +
           Number(8, 1) + Text(9, "stale") + Number(19, 0) + Number(8, 1) + Text(9, "") +
           Text(15, "") + Number(12, 99) + Number(18, 0) + Number(19, 1));
  ASSERT_TRUE(result.Loaded);
  const TBriefRecord& brief = result.Document.Brief;
  EXPECT_EQ(brief.Name + "|" + brief.ExtraCode, "New Brief|LONGCO");
  EXPECT_TRUE(!brief.Active && brief.ExtraFlag);  // only the low byte counts
  EXPECT_EQ(brief.ExtraStrings, std::vector<std::string>{"kept"});
  std::string entries;  // name, then active, flag (whatever was stored), name typed, stay local
  for (const TWebEntry& e : brief.WebList)
    entries += e.Name + " " + std::to_string(e.Active) + std::to_string(e.EntryFlag) +
               std::to_string(e.NameSet) + std::to_string(e.StayLocal) + " " +
               std::to_string(e.Depth) + "|";
  EXPECT_EQ(entries, "http://b/ 0101 -1|New Page 1101 1|New Page 1110 99|");  // depth sign-extended
}

TEST_F(BriefFileTest, DamagedCatalogueGivesTheRunsReadBeforeTheDamage) {
  const std::string pair = CatalogueText("a") + CatalogueText("s");
  const std::pair<std::string, std::string> cases[] = {
      {Word(3) + pair, "a=s;"},                                            // count beyond the pairs
      {Word(2) + pair + CatalogueText("b"), "a=s;"},                       // cut after a path
      {Word(2) + pair + Word(0xFFF0) + "b", "a=s;"},                       // negative length
      {Word(2) + CatalogueText("") + CatalogueText("s0") + pair, "a=s;"},  // empty path: no run
      {Word(2) + CatalogueText("a") + CatalogueText("") + pair, "a=;a=s;"},
      {"\x01", ""},
  };
  for (const auto& [bytes, runs] : cases) {
    SCOPED_TRACE(::testing::PrintToString(bytes));
    EXPECT_EQ(Runs(Load(BriefFileBytes(TBriefRecord{}), &bytes).Document.Brief), runs);
  }
}

// The next save removes what a killed save of the same brief left; another file's leftover stays.
TEST_F(BriefFileTest, FailedAndKilledSavesKeepThePreviousFiles) {
  EXPECT_EQ(SaveBriefs2(TBriefDocument{}).Outcome, SaveOutcome::NoFileName);
  EXPECT_EQ(SaveBriefs2({folder_ / "no" / "b.brf", FullBrief()}).Outcome, SaveOutcome::Failed);
  EXPECT_EQ(FileCount(), 0u);
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    const rlimit noCore{0, 0}, small{100, RLIM_INFINITY};
    setrlimit(RLIMIT_CORE, &noCore);
    setrlimit(RLIMIT_FSIZE, &small);
    static_cast<void>(SaveBriefs2({briefPath_, FullBrief()}));
    _exit(0);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGXFSZ);
  ASSERT_EQ(FileCount(), 1u);
  const std::filesystem::path others = folder_ / ".gleaner-0123456789abcdef-0123456789ab.tmp";
  WriteFileBytes(others, "x");
  ASSERT_EQ(SaveBriefs2({briefPath_, FullBrief()}).Outcome, SaveOutcome::Saved);
  EXPECT_EQ(FileCount(), 3u);  // the brief, its catalogue and the other file's leftover
  EXPECT_TRUE(std::filesystem::exists(others));

  TBriefDocument larger{briefPath_, FullBrief()};
  larger.Brief.Comments = std::string(5000, 'x');
  larger.Brief.ArchivePaths.clear();
  const SaveResult halfWritten = [&] {
    const test::ScopedFileSizeLimit limit(1000);
    return SaveBriefs2(larger);
  }();
  EXPECT_EQ(halfWritten.Outcome, SaveOutcome::Failed);
  EXPECT_TRUE(halfWritten.Message.Text.ends_with("brief.brf: File too large"));
  EXPECT_EQ(ReadFileBytes(briefPath_), FullBriefBytes());
  EXPECT_EQ(ReadFileBytes(folder_ / "brief.cat"), FullCatalogueBytes());
  EXPECT_EQ(FileCount(), 3u);
}

// An unwritable catalogue fails no save; a brief holding a password is its owner's only.
TEST_F(BriefFileTest, WhatASaveLeavesBesideTheBriefAndTheNamesTakenFromIt) {
  const mode_t umaskBefore = umask(022);
  std::filesystem::create_directory(folder_ / "brief.cat");
  ASSERT_EQ(SaveBriefs2({briefPath_, FullBrief()}).Outcome, SaveOutcome::Saved);
  EXPECT_TRUE(std::filesystem::is_directory(folder_ / "brief.cat"));
  EXPECT_EQ(ReadFileBytes(briefPath_), FullBriefBytes());
  EXPECT_EQ(FileCount(), 2u);
  const std::filesystem::path odd = folder_ / "odd.cat", open = folder_ / "open.brf";
  ASSERT_EQ(SaveBriefs2({odd, FullBrief()}).Outcome, SaveOutcome::Saved);
  ASSERT_EQ(SaveBriefs2({open, TBriefRecord{}}).Outcome, SaveOutcome::Saved);
  umask(umaskBefore);
  EXPECT_EQ(ReadFileBytes(odd), FullBriefBytes());
  EXPECT_EQ(Runs(ReadBriefs2(odd).Document.Brief), "");
  EXPECT_EQ(std::filesystem::status(briefPath_).permissions(), std::filesystem::perms{0600});
  EXPECT_EQ(std::filesystem::status(open).permissions(), std::filesystem::perms{0644});
  EXPECT_EQ(CataloguePath("/a/NEWS.BRF"), "/a/NEWS.cat");
  EXPECT_EQ(CataloguePath("/a.b/news"), "/a.b/news.cat");
  EXPECT_EQ(CreateCaption("/home/ann/MY NEWS.BRF"), "My news");
  EXPECT_EQ(CreateCaption("/a.dir/gov"), "Gov");
  EXPECT_EQ(CreateCaption("/x/archive.2024.brf"), "Archive");
  EXPECT_EQ(CreateCaption("/x/.brf"), "");
  EXPECT_EQ(CreateCaption("/x/1st.brf"), "1st");
}

TEST_F(BriefFileTest, UpdatesAtTheSameTimeAreAllKept) {
  ASSERT_EQ(SaveBriefs2({briefPath_, TBriefRecord{}}).Outcome, SaveOutcome::Saved);
  const auto add = [](TBriefDocument& document) {
    CreateNewWebEntry(document.Brief, 0);
    return true;
  };
  std::vector<std::jthread> writers;
  for (int writer = 0; writer < 8; ++writer)
    writers.emplace_back([&] {
      for (int i = 0; i < 10; ++i)
        EXPECT_EQ(UpdateBrief(briefPath_, add).Outcome, UpdateOutcome::Saved);
    });
  writers.clear();  // joins them
  EXPECT_EQ(ReadBriefs2(briefPath_).Document.Brief.WebList.size(), 80u);
}

}  // namespace
}  // namespace gl
