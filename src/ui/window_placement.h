#pragma once

#include <QList>
#include <QRect>

#include "core/startup_layout.h"

class QWidget;

// Window placements as the Startup settings keep them, and back onto the screen.

namespace gl {

// The window's geometry (a brief window's within the main window's area) and state. A maximized
// main window gives the geometry it returns to.
WindowPlacement PlacementOf(const QWidget& window);

// A rectangle that shows too little on every one of `areas` to be grabbed and moved is put in
// the middle of `fallback`, no larger than it; anything else stays where it is.
QRect OntoVisibleArea(const QRect& wanted, const QList<QRect>& areas, const QRect& fallback);

// Puts the window at the placement, moved onto the visible `areas` as OntoVisibleArea does, and
// in its state. A main window that was minimized comes back as a normal window.
void ApplyPlacement(QWidget& window, const WindowPlacement& placement, const QList<QRect>& areas,
                    const QRect& fallback);

}  // namespace gl
