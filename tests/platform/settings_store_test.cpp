#include "platform/settings_store.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>

#include "support/scoped_environment.h"
#include "support/temp_folder.h"

namespace gl {
namespace {

using test::ReadFileBytes;
using test::WriteFileBytes;

constexpr std::string_view kProxyKey = "Software\\Orrery Development\\Gleaner-Light\\Proxy";

TEST(SettingsFileTest, TextFormIsExact) {
  const SettingsTree keys = {
      {"Software\\Orrery Development\\Gleaner-Light\\Browser",
       {{"Browser Path", "C:\\Program Files\\Netscape\\NETSCAPE.EXE"}}},
      {"Software\\Orrery Development\\Gleaner-Light\\Proxy",
       {{"Proxy Port", "80"}, {"Proxy Server", "a=b [c] 100%\nnext"}}},
  };
  EXPECT_EQ(SettingsFileText(keys),
            "[Software\\Orrery Development\\Gleaner-Light\\Browser]\n"
            "Browser Path=C:\\Program Files\\Netscape\\NETSCAPE.EXE\n"
            "\n"
            "[Software\\Orrery Development\\Gleaner-Light\\Proxy]\n"
            "Proxy Port=80\n"
            "Proxy Server=a%3Db %5Bc%5D 100%25%0Anext\n");
}

TEST(SettingsFileTest, EveryByteSurvivesInKeysNamesAndValues) {
  std::string allBytes;
  for (int byte = 0; byte < 256; ++byte)
    allBytes += static_cast<char>(byte);
  const std::string odd = "[x]=\\%41%\r\n ";
  const SettingsTree keys = {
      {allBytes, {{allBytes, allBytes}, {odd, odd}, {"", "empty name"}}},
      {odd + "\\sub", {{"=", "="}, {"[", "]"}}},
  };
  EXPECT_EQ(ParseSettingsFile(SettingsFileText(keys)), keys);
}

TEST(SettingsFileTest, ReadingToleratesHandEditedFiles) {
  const SettingsTree keys = ParseSettingsFile(
      "orphan=before any section\r\n"
      "[A]\r\n"
      "no equals sign here\n"
      "x=1=2\r\n"
      "bad=%zz%4%\n"
      "lower=%3d%5b\n"
      "[]\n"
      "root=yes");
  const SettingsTree expected = {
      {"A", {{"x", "1=2"}, {"bad", "%zz%4%"}, {"lower", "=["}}},
      {"", {{"root", "yes"}}},
  };
  EXPECT_EQ(keys, expected);
}

TEST(SettingsStoreTest, WritesAndReadsBackThroughTheFile) {
  test::TempFolder folder;
  const auto file = folder / "deep" / "er" / "registry.ini";
  {
    SettingsStore store(file);
    auto key = store.CreateKey(kProxyKey);
    ASSERT_TRUE(key);
    EXPECT_FALSE(key->QueryValue("Proxy Port"));
    ASSERT_TRUE(key->SetValues({{"Proxy Port", "8080"}, {"Proxy Server", "a\\b=c\n"}}));
    EXPECT_EQ(key->QueryValue("Proxy Port"), "8080");
  }
  struct stat status {};
  ASSERT_EQ(stat(file.c_str(), &status), 0);
  EXPECT_EQ(status.st_mode & 0777, 0600u);  // the file may hold a password

  SettingsStore again(file);
  auto key = again.CreateKey(kProxyKey);
  ASSERT_TRUE(key);
  EXPECT_EQ(key->QueryValue("Proxy Port"), "8080");
  EXPECT_EQ(key->QueryValue("Proxy Server"), "a\\b=c\n");
  EXPECT_FALSE(again.CreateKey("Other")->QueryValue("Proxy Port"));
}

TEST(SettingsStoreTest, EmptyValueDoesNotCount) {
  test::TempFolder folder;
  SettingsStore store(folder / "registry.ini");
  auto key = store.CreateKey("K");
  ASSERT_TRUE(key->SetValue("Empty", ""));
  EXPECT_FALSE(key->QueryValue("Empty"));
  ASSERT_TRUE(key->SetValue("One", "1"));
  EXPECT_EQ(key->QueryValue("One"), "1");
}

TEST(SettingsStoreTest, KeepsValuesThatAnotherProgramWroteMeanwhile) {
  test::TempFolder folder;
  SettingsStore first(folder / "registry.ini");
  SettingsStore second(folder / "registry.ini");
  ASSERT_TRUE(second.CreateKey("Proxy")->SetValue("Proxy Port", "3128"));
  ASSERT_TRUE(first.CreateKey("Startup")->SetValue("First Start", "No"));

  SettingsStore reader(folder / "registry.ini");
  EXPECT_EQ(reader.CreateKey("Proxy")->QueryValue("Proxy Port"), "3128");
  EXPECT_EQ(reader.CreateKey("Startup")->QueryValue("First Start"), "No");
  EXPECT_EQ(first.CreateKey("Proxy")->QueryValue("Proxy Port"), "3128");
}

TEST(SettingsStoreTest, UnreadableFileIsNeitherReadNorReplaced) {
  test::TempFolder folder;
  std::filesystem::create_directory(folder / "registry.ini");
  SettingsStore store(folder / "registry.ini");
  EXPECT_FALSE(store.CreateKey(kProxyKey));
  EXPECT_TRUE(std::filesystem::is_directory(folder / "registry.ini"));
}

TEST(SettingsStoreTest, FailedWriteKeepsTheOldValues) {
  test::TempFolder folder;
  WriteFileBytes(folder / "registry.ini", "[K]\nA=old\n");
  SettingsStore store(folder / "registry.ini");
  auto key = store.CreateKey("K");
  std::filesystem::remove(folder / "registry.ini");
  std::filesystem::create_directory(folder / "registry.ini");  // the file can no longer be read
  EXPECT_FALSE(key->SetValue("A", "new"));
  EXPECT_EQ(key->QueryValue("A"), "old");

  SettingsStore blocked(folder / "not a folder" / "registry.ini");
  WriteFileBytes(folder / "not a folder", "a file where a folder should be");
  EXPECT_FALSE(blocked.CreateKey("K")->SetValue("A", "new"));
  EXPECT_EQ(ReadFileBytes(folder / "not a folder"), "a file where a folder should be");
}

TEST(SettingsStoreTest, LocationFollowsTheEnvironment) {
  test::ScopedEnvironment home("HOME", "/home/ann");
  {
    test::ScopedEnvironment gleaner("GLEANER_LIGHT_HOME", "/tmp/gl");
    test::ScopedEnvironment xdg("XDG_CONFIG_HOME", "/xdg");
    EXPECT_EQ(DefaultSettingsFile(), "/tmp/gl/registry.ini");
  }
  test::ScopedEnvironment gleaner("GLEANER_LIGHT_HOME", std::nullopt);
  {
    test::ScopedEnvironment xdg("XDG_CONFIG_HOME", "/xdg");
    EXPECT_EQ(DefaultSettingsFile(), "/xdg/gleaner-light/registry.ini");
  }
  {
    test::ScopedEnvironment xdg("XDG_CONFIG_HOME", "relative/config");
    EXPECT_EQ(DefaultSettingsFile(), "/home/ann/.config/gleaner-light/registry.ini");
  }
  test::ScopedEnvironment xdg("XDG_CONFIG_HOME", std::nullopt);
  EXPECT_EQ(DefaultSettingsFile(), "/home/ann/.config/gleaner-light/registry.ini");
}

}  // namespace
}  // namespace gl
