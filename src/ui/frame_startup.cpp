// The main window's start-up and what it remembers for the next one.

#include <QAction>
#include <QGuiApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QScreen>
#include <system_error>

#include "core/settings_io.h"
#include "ui/brief_window.h"
#include "ui/main_frame.h"
#include "ui/qt_text.h"
#include "ui/window_placement.h"

namespace gl {
namespace {

namespace keys = settings_keys;

// The samples that a first start opens, in this order, from the program's briefs/ folder.
constexpr const char* kSampleBriefs[] = {"Leisure.brf", "Sports.brf", "News.brf", "Gov.brf"};

// A new main window takes this part of the screen.
constexpr double kFirstFrameShare = 0.8;
constexpr QSize kLargestFirstFrame(1100, 760);

}  // namespace

void TMDIFrame::FormActivate(const std::vector<std::filesystem::path>& commandLineFiles) {
  if (activated_) return;
  activated_ = true;
  const std::optional<std::string> openBriefs = ReadStartupValue(store_, keys::kOpenBriefs);
  const OpenBriefsLayout layout = openBriefs ? ParseOpenBriefs(*openBriefs) : OpenBriefsLayout{};
  PlaceFrame(layout.Frame);

  if (firstStart_) {
    OpenSampleBriefs();
    [[maybe_unused]] const bool written = WriteStartupValue(store_, keys::kFirstStart, "No");
  }
  for (const OpenBrief& brief : layout.Briefs) {
    // A brief that was moved or deleted since the last exit is left out without a word.
    std::error_code error;
    if (!std::filesystem::exists(brief.FileName, error) || FindBrief(brief.FileName) != nullptr)
      continue;
    DoFileOpen(brief.FileName, brief.Placement);
  }
  if (const std::optional<std::string> previous = ReadStartupValue(store_, keys::kPreviousBriefs)) {
    for (const std::string& name : ParsePreviousBriefs(*previous))
      recent_.AddOlder(name);
    UpdateRecentMenu();
  }
  for (const std::filesystem::path& file : commandLineFiles)
    OpenCommandLineFile(file);
}

void TMDIFrame::PlaceFrame(const std::optional<WindowPlacement>& placement) {
  const QScreen* primary = QGuiApplication::primaryScreen();
  const QRect home = primary != nullptr ? primary->availableGeometry() : QRect(0, 0, 1024, 768);
  if (placement) {
    QList<QRect> screens;
    for (const QScreen* screen : QGuiApplication::screens())
      screens.append(screen->availableGeometry());
    ApplyPlacement(*this, *placement, screens, home);
    return;
  }
  QRect frame(QPoint(0, 0), (home.size() * kFirstFrameShare).boundedTo(kLargestFirstFrame));
  frame.moveCenter(home.center());
  setGeometry(frame);
  show();
}

void TMDIFrame::OpenSampleBriefs() {
  std::vector<std::filesystem::path> samples;
  for (const char* name : kSampleBriefs) {
    const std::filesystem::path sample = programFolder_ / "briefs" / name;
    std::error_code error;
    // All four or none: a partial set means a damaged installation.
    if (!std::filesystem::is_regular_file(sample, error)) return;
    samples.push_back(sample);
  }
  for (const std::filesystem::path& sample : samples)
    DoFileOpen(sample, std::nullopt);
  mdiArea_->tileSubWindows();
}

void TMDIFrame::OpenCommandLineFile(const std::filesystem::path& fileName) {
  // A file that is open already, perhaps from the last exit, is brought to the front.
  if (QMdiSubWindow* window = FindBrief(std::filesystem::absolute(fileName))) {
    mdiArea_->setActiveSubWindow(window);
    return;
  }
  DoFileOpen(fileName, std::nullopt);
}

void TMDIFrame::RememberFiles() {
  OpenBriefsLayout layout;
  layout.Frame = PlacementOf(*this);
  for (const QMdiSubWindow* window : mdiArea_->subWindowList(QMdiArea::StackingOrder)) {
    // Bookmark windows are not reopened: the file is imported again when it is wanted.
    if (const auto* form = qobject_cast<const TGleanerForm*>(window->widget()))
      layout.Briefs.push_back({form->FileName().string(), PlacementOf(*window)});
  }
  // The settings store keeps its last good file when it cannot write; nothing more to do here.
  [[maybe_unused]] const bool written =
      WriteStartupValue(store_, keys::kOpenBriefs, OpenBriefsText(layout)) &&
      WriteStartupValue(store_, keys::kPreviousBriefs, PreviousBriefsText(recent_));
}

void TMDIFrame::UseRecent(const std::filesystem::path& fileName) {
  recent_.Use(fileName.string());
  UpdateRecentMenu();
}

void TMDIFrame::UpdateRecentMenu() {
  qDeleteAll(recentActions_);
  recentActions_.clear();
  const std::vector<std::string>& names = recent_.Names();
  for (std::size_t i = 0; i < names.size(); ++i) {
    const std::filesystem::path file = names[i];
    const QString caption =
        QString("&%1 %2").arg(i + 1).arg(PathToQString(file).replace("&", "&&"));
    auto* item = new QAction(caption, this);
    item->setObjectName(QString("Recent%1").arg(i + 1));
    connect(item, &QAction::triggered, this, [this, file] { DoFileOpen(file, std::nullopt); });
    actions_.FileMenu->insertAction(recentSeparator_, item);
    recentActions_.append(item);
  }
  // The list sits between the print commands and E&xit, set apart from E&xit.
  recentSeparator_->setVisible(!recentActions_.isEmpty());
}

}  // namespace gl
