#include "platform/settings_store.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>

#include "support/scoped_environment.h"
#include "support/temp_folder.h"

namespace gl {
namespace {

using test::ReadFileBytes;

TEST(SettingsFileTest, TextFormIsExactAndEveryByteSurvives) {
  EXPECT_EQ(SettingsFileText({{"Browser", {{"Browser Path", "C:\\Netscape\\NETSCAPE.EXE"}}},
                              {"Proxy", {{"Proxy Port", "80"}, {"Server", "a=b [c] 100%\nnext"}}}}),
            "[Browser]\nBrowser Path=C:\\Netscape\\NETSCAPE.EXE\n\n"
            "[Proxy]\nProxy Port=80\nServer=a%3Db %5Bc%5D 100%25%0Anext\n");

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
  const SettingsTree expected = {
      {"A", {{"x", "1=2"}, {"bad", "%zz%4%"}, {"lower", "=["}}},
      {"", {{"root", "yes"}}},
  };
  EXPECT_EQ(ParseSettingsFile("orphan=before any section\r\n"
                              "[A]\r\n"
                              "no equals sign here\n"
                              "x=1=2\r\n"
                              "bad=%zz%4%\n"
                              "lower=%3d%5b\n"
                              "[]\n"
                              "root=yes"),
            expected);
}

// The file is private (it may hold a password), made with its folders, and keeps what another
// program wrote meanwhile; a failed write keeps what was there.
TEST(SettingsStoreTest, WritesAPrivateFileAndKeepsOtherWriters) {
  test::TempFolder folder;
  const auto file = folder / "deep" / "er" / "registry.ini";
  SettingsStore first(file);
  SettingsStore second(file);
  auto key = first.CreateKey("Proxy");
  ASSERT_TRUE(key);
  EXPECT_FALSE(key->QueryValue("Proxy Port"));
  ASSERT_TRUE(key->SetValues({{"Proxy Port", "8080"}, {"Empty", ""}}));
  EXPECT_EQ(key->QueryValue("Proxy Port"), "8080");
  EXPECT_FALSE(key->QueryValue("Empty"));  // an empty value does not count
  EXPECT_EQ(ReadFileBytes(file), "[Proxy]\nEmpty=\nProxy Port=8080\n");
  struct stat status {};
  ASSERT_EQ(stat(file.c_str(), &status), 0);
  EXPECT_EQ(status.st_mode & 0777, 0600u);

  ASSERT_TRUE(second.CreateKey("Startup")->SetValue("First Start", "No"));
  SettingsStore reader(file);
  EXPECT_EQ(reader.CreateKey("Proxy")->QueryValue("Proxy Port"), "8080");
  EXPECT_EQ(reader.CreateKey("Startup")->QueryValue("First Start"), "No");

  std::filesystem::remove(file);
  std::filesystem::create_directory(file);  // the file can no longer be read
  EXPECT_FALSE(key->SetValue("Proxy Port", "new"));
  EXPECT_EQ(key->QueryValue("Proxy Port"), "8080");
  EXPECT_TRUE(std::filesystem::is_empty(file));
}

TEST(SettingsStoreTest, LocationFollowsTheEnvironment) {
  const test::ScopedEnvironment home("HOME", "/home/ann");
  const std::string fallback = "/home/ann/.config/gleaner-light/registry.ini";
  const struct {
    std::optional<std::string> gleanerHome;
    std::optional<std::string> configHome;
    std::string file;
  } cases[] = {
      {"/tmp/gl", "/xdg", "/tmp/gl/registry.ini"},
      {std::nullopt, "/xdg", "/xdg/gleaner-light/registry.ini"},
      {std::nullopt, "relative/config", fallback},
      {std::nullopt, std::nullopt, fallback},
  };
  for (const auto& row : cases) {
    SCOPED_TRACE(row.file);
    const test::ScopedEnvironment gleaner("GLEANER_LIGHT_HOME", row.gleanerHome);
    const test::ScopedEnvironment config("XDG_CONFIG_HOME", row.configHome);
    EXPECT_EQ(DefaultSettingsFile(), row.file);
  }
}

}  // namespace
}  // namespace gl
