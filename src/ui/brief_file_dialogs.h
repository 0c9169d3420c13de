#pragma once

#include <QString>
#include <filesystem>
#include <optional>

class QWidget;

// The file dialogs of the main window's file commands (briefs, and bookmark files to import),
// behind an interface so that tests can answer them.

namespace gl {

class BriefFileDialogs {
 public:
  virtual ~BriefFileDialogs() = default;

  // "Open File": an existing brief file, starting in `folder`; none when cancelled.
  virtual std::optional<std::filesystem::path> ChooseBriefToOpen(
      const std::filesystem::path& folder) = 0;

  // The save dialog of New and Save As, titled `title`, starting in `folder` with `name` filled
  // in; a name without extension gets ".brf". None when cancelled.
  virtual std::optional<std::filesystem::path> ChooseBriefToSave(
      const QString& title, const std::filesystem::path& folder, const QString& name) = 0;

  // "Import Bookmarks": an existing bookmark file, starting in `folder`; none when cancelled.
  virtual std::optional<std::filesystem::path> ChooseBookmarks(
      const std::filesystem::path& folder) = 0;
};

// Qt's file dialogs over the main window.
class QtBriefFileDialogs : public BriefFileDialogs {
 public:
  explicit QtBriefFileDialogs(QWidget* parent) : parent_(parent) {}

  std::optional<std::filesystem::path> ChooseBriefToOpen(
      const std::filesystem::path& folder) override;
  std::optional<std::filesystem::path> ChooseBriefToSave(const QString& title,
                                                         const std::filesystem::path& folder,
                                                         const QString& name) override;
  std::optional<std::filesystem::path> ChooseBookmarks(
      const std::filesystem::path& folder) override;

 private:
  QWidget* parent_;
};

}  // namespace gl
