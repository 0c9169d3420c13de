#pragma once

#include <string_view>

#include "core/brief_record.h"

// The printed list of a brief: its name and state, then every web entry with its options, one
// line per field, each page with its number centred at the bottom. The layout draws on a canvas
// that the desktop puts over a printer.

namespace gl {

// Where the layout draws. Positions and sizes are in the device's pixels, (0, 0) the top left of
// the page's drawable area.
class PrintCanvas {
 public:
  virtual ~PrintCanvas() = default;

  virtual void SetFont(std::string_view family, int points) = 0;
  virtual int TextWidth(std::string_view text) = 0;
  virtual int TextHeight(std::string_view text) = 0;
  // Draws one line with its top left corner at (x, y).
  virtual void DrawText(int x, int y, std::string_view text) = 0;
  virtual void NewPage() = 0;

  virtual int PixelsPerInchX() const = 0;
  virtual int PixelsPerInchY() const = 0;
  virtual int PageWidth() const = 0;
  virtual int PageHeight() const = 0;
  // True once the user stopped the print job; nothing more is drawn then.
  virtual bool Aborted() const = 0;
};

// Prints the brief on the canvas, starting on its first page, which is already open. Margins are
// one inch; a line that would reach into the band of three title-line heights above the bottom
// margin starts a new page. Passwords print as one "*" per character; the brief's comments
// follow their label, indented and wrapped at the right margin; a name, address or user name
// longer than a line goes on below, indented one step more, nothing cut off at the margin.
void PrintBrief(const TBriefRecord& brief, PrintCanvas& canvas);

}  // namespace gl
