#pragma once

#include <QString>
#include <filesystem>

#include "core/brief_record.h"
#include "core/print_layout.h"
#include "core/user_message.h"

class QPainter;
class QPrinter;

// The print layout's canvas over a Qt printer, and the print jobs that use it.

namespace gl {

// Draws on `painter`, which is active on `printer`. Pixels are the printer's; texts are brief
// bytes, shown as ToQString shows them.
class QtPrintCanvas : public PrintCanvas {
 public:
  QtPrintCanvas(QPrinter& printer, QPainter& painter) : printer_(printer), painter_(painter) {}

  void SetFont(std::string_view family, int points) override;
  int TextWidth(std::string_view text) override;
  int TextHeight(std::string_view text) override;
  void DrawText(int x, int y, std::string_view text) override;
  void NewPage() override;
  int PixelsPerInchX() const override;
  int PixelsPerInchY() const override;
  int PageWidth() const override;
  int PageHeight() const override;
  bool Aborted() const override;

 private:
  QPrinter& printer_;
  QPainter& painter_;
};

// Prints the brief on a printer set up by the caller (a print dialog's choice, or a PDF file) as
// the document "Gleaner File". False when the printer could not start or failed.
bool PrintBriefOn(QPrinter& printer, const TBriefRecord& brief);

// Prints the brief to a PDF file in the printer's default page size, the margins measured from
// the paper's edge. False when the file could not be written.
bool PrintBriefToPdf(const TBriefRecord& brief, const QString& pdfFile);

// Prints the brief file to a PDF file without a dialog. Empty when printed; otherwise the brief's
// loading error, or the printing error naming the PDF file that could not be written.
[[nodiscard]] UserMessage PrintBriefFileToPdf(const std::filesystem::path& briefFile,
                                              const QString& pdfFile);

}  // namespace gl
