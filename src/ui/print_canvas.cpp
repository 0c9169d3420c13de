#include "ui/print_canvas.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QPrinter>

#include "core/brief_file.h"
#include "ui/qt_text.h"
#include "ui/shell_texts.h"

namespace gl {

void QtPrintCanvas::SetFont(std::string_view family, int points) {
  painter_.setFont(QFont(ToQString(family), points));
}

int QtPrintCanvas::TextWidth(std::string_view text) {
  return painter_.fontMetrics().horizontalAdvance(ToQString(text));
}

// As the desktop's printers measure it: the font's line height, whatever the text.
int QtPrintCanvas::TextHeight(std::string_view) {
  return painter_.fontMetrics().height();
}

void QtPrintCanvas::DrawText(int x, int y, std::string_view text) {
  painter_.drawText(QPoint(x, y + painter_.fontMetrics().ascent()), ToQString(text));
}

void QtPrintCanvas::NewPage() {
  printer_.newPage();
}

int QtPrintCanvas::PixelsPerInchX() const {
  return printer_.logicalDpiX();
}

int QtPrintCanvas::PixelsPerInchY() const {
  return printer_.logicalDpiY();
}

int QtPrintCanvas::PageWidth() const {
  return printer_.width();
}

int QtPrintCanvas::PageHeight() const {
  return printer_.height();
}

bool QtPrintCanvas::Aborted() const {
  return printer_.printerState() == QPrinter::Aborted;
}

bool PrintBriefOn(QPrinter& printer, const TBriefRecord& brief) {
  printer.setDocName(QStringLiteral("Gleaner File"));
  QPainter painter;
  if (!painter.begin(&printer)) return false;
  QtPrintCanvas canvas(printer, painter);
  PrintBrief(brief, canvas);
  painter.end();
  return printer.printerState() != QPrinter::Error;
}

bool PrintBriefToPdf(const TBriefRecord& brief, const QString& pdfFile) {
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(pdfFile);
  printer.setFullPage(true);
  return PrintBriefOn(printer, brief);
}

UserMessage PrintBriefFileToPdf(const std::filesystem::path& briefFile, const QString& pdfFile) {
  const LoadResult loaded = ReadBriefs2(briefFile);
  if (!loaded.Loaded) return LoadingErrorOr(loaded.Message);
  if (PrintBriefToPdf(loaded.Document.Brief, pdfFile)) return {};
  return {shell_texts::kPrintErrorTitle, std::string(shell_texts::kPrintErrorText) + "\n" +
                                             ToBytes(pdfFile) + ": cannot be written"};
}

}  // namespace gl
