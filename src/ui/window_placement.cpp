#include "ui/window_placement.h"

#include <QWidget>
#include <algorithm>

namespace gl {
namespace {

// How much of a window must show on one area for the user to reach it: its title bar's worth.
constexpr int kGrabWidth = 64;
constexpr int kGrabHeight = 24;

}  // namespace

WindowPlacement PlacementOf(const QWidget& window) {
  const QRect geometry =
      window.isWindow() && window.isMaximized() ? window.normalGeometry() : window.geometry();
  WindowState state = WindowState::Normal;
  if (window.isMinimized()) state = WindowState::Minimized;
  if (window.isMaximized()) state = WindowState::Maximized;
  return {geometry.x(), geometry.y(), geometry.width(), geometry.height(), state};
}

QRect OntoVisibleArea(const QRect& wanted, const QList<QRect>& areas, const QRect& fallback) {
  for (const QRect& area : areas) {
    const QRect shown = area.intersected(wanted);
    if (shown.width() >= std::min(kGrabWidth, wanted.width()) &&
        shown.height() >= std::min(kGrabHeight, wanted.height()))
      return wanted;
  }
  QRect moved(QPoint(0, 0), wanted.size().boundedTo(fallback.size()));
  moved.moveCenter(fallback.center());
  return moved;
}

void ApplyPlacement(QWidget& window, const WindowPlacement& placement, const QList<QRect>& areas,
                    const QRect& fallback) {
  const QRect wanted(placement.Left, placement.Top, placement.Width, placement.Height);
  window.setGeometry(OntoVisibleArea(wanted, areas, fallback));
  switch (placement.State) {
    case WindowState::Maximized:
      window.showMaximized();
      break;
    case WindowState::Minimized:
      if (!window.isWindow()) {
        window.showMinimized();
        break;
      }
      [[fallthrough]];
    case WindowState::Normal:
      window.showNormal();
      break;
  }
}

}  // namespace gl
