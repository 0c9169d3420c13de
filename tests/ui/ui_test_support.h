#pragma once

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QString>
#include <QTest>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/brief_file.h"
#include "support/scoped_environment.h"
#include "support/temp_folder.h"
#include "ui/brief_window.h"
#include "ui/entry_rows.h"
#include "ui/main_frame.h"
#include "ui/prompter.h"
#include "ui/qt_text.h"

namespace gl::test {

namespace fs = std::filesystem;
using Names = std::vector<std::string>;

struct RecordingPrompter : Prompter {
  bool AskYesNo(std::string_view title, std::string_view) override {
    titles.emplace_back(title);
    return answer;
  }
  void ShowError(std::string_view title, std::string_view) override { titles.emplace_back(title); }

  bool answer = true;
  Names titles;
};

template <class Control>
Control& Find(QWidget& dialog, const char* name) {
  auto* control = dialog.findChild<Control*>(name);
  if (control == nullptr) throw std::runtime_error(std::string("no control ") + name);
  return *control;
}

// Replaces the field's text by typing (an empty text by deleting).
inline void Type(QWidget& dialog, const char* field, const char* text) {
  QLineEdit& edit = Find<QLineEdit>(dialog, field);
  edit.selectAll();
  if (*text == '\0') QTest::keyClick(&edit, Qt::Key_Backspace);
  QTest::keyClicks(&edit, text);
}

// Each answer is given once.
struct ScriptedFileDialogs : BriefFileDialogs {
  std::optional<fs::path> ChooseBriefToOpen(const fs::path&) override { return Next(); }
  std::optional<fs::path> ChooseBriefToSave(const QString& title, const fs::path&,
                                            const QString&) override {
    titles.push_back(title);
    return Next();
  }
  std::optional<fs::path> ChooseBookmarks(const fs::path&) override { return Next(); }
  std::optional<fs::path> Next() { return std::exchange(answer, std::nullopt); }

  std::optional<fs::path> answer;
  std::vector<QString> titles;
};

class ShellTest : public ::testing::Test {
 protected:
  fs::path WriteBrief(const std::string& file, const Names& names, const Names& addresses = {},
                      int depth = 1) {
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

  Names NamesOnDisk(const fs::path& file) {
    Names names;
    for (const TWebEntry& entry : ReadBriefs2(file).Document.Brief.WebList)
      names.push_back(entry.Name);
    return names;
  }

  static Names OpenFiles(const TMDIFrame& frame) {
    Names files;
    for (const TGleanerForm* form : frame.Briefs())
      files.push_back(form->FileName().filename().string());
    return files;
  }

  static void Activate(QWidget& shown) {
    auto* window = qobject_cast<QMdiSubWindow*>(shown.parentWidget());
    window->mdiArea()->setActiveSubWindow(window);
  }

  // The rows as shown, top to bottom, each one row pitch apart.
  static Names Shown(const TGleanerForm& form, bool depth = false) {
    Names rows;
    for (int i = 0; i < form.WebList().Count(); ++i) {
      const TWebPage& row = form.WebList().Row(i);
      EXPECT_EQ(row.y(), i * kRowPitch);
      rows.push_back(ToBytes(row.NameLabel()->text() +
                             (depth ? " | " + row.DepthLabel()->text() : QString())));
    }
    return rows;
  }

  // `browse`: the addresses shown in the browser are recorded instead of handed to one.
  std::unique_ptr<TMDIFrame> StartFrame(const std::vector<fs::path>& files = {}, bool browse = true,
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
  Names browsed_;
};

}  // namespace gl::test
