#pragma once

#include <QDialog>
#include <QTimer>

#include "core/settings.h"

// The window shown while the program starts: the program's picture for a moment, during which
// the browser is started when the settings ask for it.

namespace gl {

class TSplashScreen : public QDialog {
  Q_OBJECT
 public:
  TSplashScreen(const Settings& settings, QWidget* parent = nullptr);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  void TimerTick();

  const Settings& settings_;
  QTimer timer_;
  bool firstTick_ = true;
};

}  // namespace gl
