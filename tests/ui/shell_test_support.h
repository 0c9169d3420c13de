#pragma once

#include <QString>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/brief_file.h"
#include "dialog_test_support.h"
#include "support/scoped_environment.h"
#include "support/temp_folder.h"
#include "ui/brief_file_dialogs.h"
#include "ui/brief_window.h"
#include "ui/entry_rows.h"
#include "ui/main_frame.h"
#include "ui/qt_text.h"

namespace gl::test {

// File dialogs that answer with the name the test gave, once, and record their titles.
class ScriptedFileDialogs : public BriefFileDialogs {
 public:
  std::optional<std::filesystem::path> ChooseBriefToOpen(const std::filesystem::path&) override {
    return std::exchange(answer, std::nullopt);
  }
  std::optional<std::filesystem::path> ChooseBriefToSave(const QString& title,
                                                         const std::filesystem::path&,
                                                         const QString&) override {
    titles.push_back(title);
    return std::exchange(answer, std::nullopt);
  }
  std::optional<std::filesystem::path> ChooseBookmarks(const std::filesystem::path&) override {
    return std::exchange(answer, std::nullopt);
  }

  std::optional<std::filesystem::path> answer;
  std::vector<QString> titles;
};

// A temporary folder that is also the settings home, with brief files written into it.
class ShellTest : public ::testing::Test {
 protected:
  // Writes a brief whose entries have these names (typed names), at these addresses (by default
  // addresses of their own), to this depth.
  std::filesystem::path WriteBrief(const std::string& file, const std::vector<std::string>& names,
                                   const std::vector<std::string>& addresses = {}, int depth = 1) {
    TBriefDocument document;
    document.FileName = folder_ / file;
    for (std::size_t i = 0; i < names.size(); ++i) {
      TWebEntry& entry = CreateNewWebEntry(document.Brief, i);
      entry.URL = addresses.empty() ? "www." + names[i] + ".example/" : addresses[i];
      entry.Depth = depth;
      SetTypedName(entry, names[i]);
    }
    if (SaveBriefs2(document).Outcome != SaveOutcome::Saved) ADD_FAILURE() << "cannot write";
    return document.FileName;
  }

  std::vector<std::string> NamesOnDisk(const std::filesystem::path& file) {
    std::vector<std::string> names;
    for (const TWebEntry& entry : ReadBriefs2(file).Document.Brief.WebList)
      names.push_back(entry.Name);
    return names;
  }

  // The rows as shown, top to bottom (with `depth`, "name | depth"), each one row pitch apart.
  static std::vector<std::string> Shown(const TGleanerForm& form, bool depth = false) {
    std::vector<std::string> rows;
    for (int i = 0; i < form.WebList().Count(); ++i) {
      const TWebPage& row = form.WebList().Row(i);
      EXPECT_EQ(row.y(), i * kRowPitch);
      rows.push_back(ToBytes(row.NameLabel()->text() +
                             (depth ? " | " + row.DepthLabel()->text() : QString())));
    }
    return rows;
  }

  // The main window after its start with `files` named on the command line. `browse`: the
  // addresses shown in the browser are recorded instead of handed to one.
  std::unique_ptr<TMDIFrame> StartFrame(const std::vector<std::filesystem::path>& files = {},
                                        bool browse = true,
                                        std::function<void(TGleanerForm&)> startRun = {}) {
    FrameOptions options{folder_ / "program", &prompter_, &dialogs_, {}, std::move(startRun)};
    if (browse)
      options.Browse = [this](const std::string& address) { browsed_.push_back(address); };
    auto frame = std::make_unique<TMDIFrame>(std::move(options));
    frame->FormActivate(files);
    return frame;
  }

  TempFolder folder_;
  ScopedEnvironment home_{"GLEANER_LIGHT_HOME", folder_.Path().string()};
  RecordingPrompter prompter_;
  ScriptedFileDialogs dialogs_;
  std::vector<std::string> browsed_;
};

}  // namespace gl::test
