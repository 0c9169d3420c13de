#include "ui/tool_icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <string_view>
#include <system_error>

#include "ui/qt_text.h"

namespace gl {
namespace {

// Every drawing is made on a 24 by 24 grid and scaled to the size asked for.
constexpr double kGrid = 24;
const QColor kInk(64, 64, 64);
const QColor kPaper(Qt::white);
const QColor kBlue(53, 116, 196);
const QColor kGreen(46, 154, 72);
const QColor kRed(196, 59, 59);
const QColor kFolder(233, 184, 74);

void Page(QPainter& p, const QRectF& r) {
  const double fold = r.width() * 0.3;
  QPainterPath page;
  page.moveTo(r.topLeft());
  page.lineTo(r.right() - fold, r.top());
  page.lineTo(r.right(), r.top() + fold);
  page.lineTo(r.bottomRight());
  page.lineTo(r.bottomLeft());
  page.closeSubpath();
  p.setBrush(kPaper);
  p.drawPath(page);
  p.drawPolyline(QPolygonF({{r.right() - fold, r.top()},
                            {r.right() - fold, r.top() + fold},
                            {r.right(), r.top() + fold}}));
}

void Lines(QPainter& p, const QRectF& r, int count) {
  for (int i = 0; i < count; ++i) {
    const double y = r.top() + i * r.height() / std::max(1, count - 1);
    p.drawLine(QPointF(r.left(), y), QPointF(r.right(), y));
  }
}

void Plus(QPainter& p, const QPointF& c, double arm, const QColor& colour) {
  p.setPen(QPen(colour, 3, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(QPointF(c.x() - arm, c.y()), QPointF(c.x() + arm, c.y()));
  p.drawLine(QPointF(c.x(), c.y() - arm), QPointF(c.x(), c.y() + arm));
}

void Draw(QPainter& p, std::string_view name) {
  const QPen ink(kInk, 1.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
  p.setPen(ink);
  if (name == "document-new" || name == "x-office-document") {
    Page(p, {5, 2.5, 14, 19});
    if (name == "document-new") Plus(p, {16, 17}, 3.5, kGreen);
  } else if (name == "document-open" || name == "folder") {
    QPainterPath folder;
    folder.moveTo(2.5, 6);
    folder.lineTo(9, 6);
    folder.lineTo(11, 8);
    folder.lineTo(21.5, 8);
    folder.lineTo(21.5, 19.5);
    folder.lineTo(2.5, 19.5);
    folder.closeSubpath();
    p.setBrush(kFolder);
    p.drawPath(folder);
    p.setBrush(kFolder.lighter(115));
    if (name == "folder") {
      p.drawRect(QRectF(2.5, 10, 19, 9.5));
    } else {
      p.drawPolygon(QPolygonF({{2.5, 19.5}, {5.5, 11}, {23, 11}, {21.5, 19.5}}));
    }
  } else if (name == "text-html") {
    Page(p, {5, 2.5, 14, 19});
    p.setPen(QPen(kBlue, 1.2));
    p.setBrush(kBlue.lighter(170));
    p.drawEllipse(QPointF(12, 14), 4.5, 4.5);
    p.drawLine(QPointF(7.5, 14), QPointF(16.5, 14));
    p.drawLine(QPointF(12, 9.5), QPointF(12, 18.5));
  } else if (name == "document-print") {
    p.setBrush(kPaper);
    p.drawRect(QRectF(7, 2.5, 10, 7));
    p.setBrush(kInk.lighter(250));
    p.drawRoundedRect(QRectF(2.5, 8.5, 19, 9), 1.5, 1.5);
    p.setBrush(kPaper);
    p.drawRect(QRectF(7, 14, 10, 7.5));
    Lines(p, {9, 16.5, 6, 2.5}, 2);
    p.setBrush(kGreen);
    p.drawEllipse(QPointF(18.5, 11.5), 1, 1);
  } else if (name == "document-save-as") {
    p.setBrush(kBlue);
    p.drawRoundedRect(QRectF(3.5, 3.5, 17, 17), 2, 2);
    p.setBrush(kPaper);
    p.drawRect(QRectF(7, 3.5, 10, 6));
    p.drawRect(QRectF(6.5, 13, 11, 7.5));
  } else if (name == "media-playback-start") {
    p.setPen(QPen(kGreen.darker(130), 1.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(kGreen);
    p.drawPolygon(QPolygonF({{7, 4.5}, {19.5, 12}, {7, 19.5}}));
  } else if (name == "web-browser") {
    p.setPen(QPen(kBlue.darker(130), 1.5));
    p.setBrush(kBlue.lighter(160));
    p.drawEllipse(QRectF(3, 3, 18, 18));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QRectF(8, 3, 8, 18));
    p.drawLine(QPointF(3, 12), QPointF(21, 12));
    p.drawLine(QPointF(12, 3), QPointF(12, 21));
  } else if (name == "document-properties") {
    Page(p, {4, 2.5, 14, 19});
    for (int i = 0; i < 3; ++i) {
      const double y = 9 + i * 4;
      p.drawLine(QPointF(7, y), QPointF(15, y));
      p.setBrush(kBlue);
      p.drawEllipse(QPointF(i == 1 ? 13 : 9, y), 1.8, 1.8);
    }
  } else if (name == "edit-cut") {
    p.drawLine(QPointF(7, 3), QPointF(15.5, 16));
    p.drawLine(QPointF(17, 3), QPointF(8.5, 16));
    p.setPen(QPen(kRed, 1.8));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(7, 18.5), 3.2, 3.2);
    p.drawEllipse(QPointF(17, 18.5), 3.2, 3.2);
  } else if (name == "edit-copy") {
    Page(p, {3, 2.5, 12, 15});
    Page(p, {9, 6.5, 12, 15});
    Lines(p, {11.5, 13, 7, 5}, 3);
  } else if (name == "edit-paste") {
    p.setBrush(kFolder);
    p.drawRoundedRect(QRectF(3.5, 4, 15, 17.5), 1.5, 1.5);
    p.setBrush(kInk);
    p.drawRoundedRect(QRectF(7.5, 2.5, 7, 3.5), 1, 1);
    Page(p, {10, 9.5, 11, 12.5});
  } else if (name == "list-add") {
    Plus(p, {12, 12}, 7, kGreen);
  } else if (name == "list-remove") {
    p.setPen(QPen(kRed, 3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(5, 12), QPointF(19, 12));
  } else if (name == "view-sort-ascending") {
    Lines(p, {11, 5, 10, 14}, 4);
    p.setPen(QPen(kBlue, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawLine(QPointF(6, 4), QPointF(6, 20));
    p.drawPolyline(QPolygonF({{3, 17}, {6, 20}, {9, 17}}));
  }
}

QPixmap Drawn(std::string_view name, int side) {
  QPixmap pixmap(side, side);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.scale(side / kGrid, side / kGrid);
  Draw(painter, name);
  return pixmap;
}

}  // namespace

QIcon ToolIcon(const char* name) {
  QIcon icon = QIcon::fromTheme(name);
  if (!icon.isNull()) return icon;
  for (const int side : {16, 22, 24, 32, 48, 64})
    icon.addPixmap(Drawn(name, side));
  return icon;
}

QIcon ProgramIcon(const std::filesystem::path& programFolder) {
  QIcon icon = QIcon::fromTheme("gleaner-light");
  if (!icon.isNull()) return icon;
  for (const char* size : {"16x16", "32x32", "48x48", "256x256"}) {
    const std::filesystem::path picture =
        programFolder / "icons" / "hicolor" / size / "apps" / "gleaner-light.png";
    std::error_code error;
    if (std::filesystem::is_regular_file(picture, error)) icon.addFile(PathToQString(picture));
  }
  return icon;
}

}  // namespace gl
