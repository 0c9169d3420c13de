#include "ui/splash_screen.h"

#include <QApplication>
#include <QLinearGradient>
#include <QPainter>
#include <chrono>

#include "platform/program_start.h"
#include "platform/time_scale.h"

namespace gl {
namespace {

using std::chrono::milliseconds;

constexpr QSize kPictureSize(440, 250);
constexpr milliseconds kFirstInterval(500);
constexpr milliseconds kSecondInterval(1000);

}  // namespace

TSplashScreen::TSplashScreen(const Settings& settings, QWidget* parent)
    : QDialog(parent, Qt::SplashScreen | Qt::FramelessWindowHint), settings_(settings) {
  setObjectName("SplashScreen");
  setFixedSize(kPictureSize);
  connect(&timer_, &QTimer::timeout, this, &TSplashScreen::TimerTick);
  timer_.start(Scaled(kFirstInterval));
}

void TSplashScreen::TimerTick() {
  if (!firstTick_) {
    timer_.stop();
    accept();
    return;
  }
  firstTick_ = false;
  if (settings_.AutoLoadBrowser && !settings_.BrowserPath.empty()) {
    // A browser that cannot be started is no reason to stop the program's start.
    [[maybe_unused]] const ProgramStartResult started = StartProgram(settings_.BrowserPath, {});
  }
  timer_.setInterval(Scaled(kSecondInterval));
}

void TSplashScreen::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  QLinearGradient sky(0, 0, 0, height());
  sky.setColorAt(0, QColor(31, 78, 121));
  sky.setColorAt(1, QColor(12, 36, 64));
  painter.fillRect(rect(), sky);

  // A stack of pages, the briefs the program gathers.
  painter.setPen(QPen(QColor(12, 36, 64), 1.5));
  for (int page = 2; page >= 0; --page) {
    const QRectF sheet(36 + page * 10, 62 - page * 10, 92, 118);
    painter.setBrush(page == 0 ? QColor(Qt::white) : QColor(222, 230, 240));
    painter.drawRoundedRect(sheet, 4, 4);
  }
  painter.setPen(QPen(QColor(150, 170, 190), 3, Qt::SolidLine, Qt::RoundCap));
  for (int line = 0; line < 6; ++line)
    painter.drawLine(QPointF(50, 82 + line * 15),
                     QPointF(line % 3 == 2 ? 96 : 114, 82 + line * 15));

  painter.setPen(Qt::white);
  QFont title = font();
  title.setPointSizeF(title.pointSizeF() * 2.4);
  title.setBold(true);
  painter.setFont(title);
  painter.drawText(QRect(160, 70, width() - 176, 50), Qt::AlignLeft | Qt::AlignVCenter,
                   "Gleaner-Light");
  QFont line = font();
  painter.setFont(line);
  painter.setPen(QColor(210, 224, 240));
  painter.drawText(QRect(162, 120, width() - 178, 24), Qt::AlignLeft | Qt::AlignVCenter,
                   "Offline digests of web sites");
  painter.drawText(QRect(162, height() - 44, width() - 178, 24), Qt::AlignLeft | Qt::AlignVCenter,
                   "Version " + QApplication::applicationVersion());
}

}  // namespace gl
