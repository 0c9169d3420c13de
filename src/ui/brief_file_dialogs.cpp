#include "ui/brief_file_dialogs.h"

#include <QFileDialog>

#include "ui/qt_text.h"

namespace gl {
namespace {

// Brief files are named *.brf; files from other systems may carry the extension in capitals.
constexpr const char* kBriefFilter = "Brief Files (*.brf *.BRF)";
constexpr const char* kAllFilesFilter = "All Files (*)";
// Browsers export bookmarks.html; older ones wrote bookmark.htm.
constexpr const char* kBookmarkFilter = "Bookmark Files (*.htm *.html *.HTM *.HTML)";

std::optional<std::filesystem::path> Chosen(QFileDialog& dialog) {
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return QStringToPath(dialog.selectedFiles().first());
}

}  // namespace

std::optional<std::filesystem::path> QtBriefFileDialogs::ChooseBriefToOpen(
    const std::filesystem::path& folder) {
  QFileDialog dialog(parent_, "Open File", PathToQString(folder));
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(QFileDialog::ExistingFile);
  dialog.setNameFilters({kBriefFilter, kAllFilesFilter});
  return Chosen(dialog);
}

std::optional<std::filesystem::path> QtBriefFileDialogs::ChooseBriefToSave(
    const QString& title, const std::filesystem::path& folder, const QString& name) {
  QFileDialog dialog(parent_, title, PathToQString(folder));
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setNameFilter(kBriefFilter);
  dialog.setDefaultSuffix("brf");
  if (!name.isEmpty()) dialog.selectFile(name);
  return Chosen(dialog);
}

std::optional<std::filesystem::path> QtBriefFileDialogs::ChooseBookmarks(
    const std::filesystem::path& folder) {
  QFileDialog dialog(parent_, "Import Bookmarks", PathToQString(folder));
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(QFileDialog::ExistingFile);
  dialog.setNameFilters({kBookmarkFilter, kAllFilesFilter});
  return Chosen(dialog);
}

}  // namespace gl
