#pragma once

#include <filesystem>
#include <string>

#include "net/progress_sink.h"

namespace gl {

// The labels of the progress window that a run fills.
enum class ProgressItem {
  BriefName,
  CurrEntry,
  CurrAddr,
  CurrDepth,
  PagesLoaded,
  ImagesLoaded,
  BytesLoaded,
};

// Everything a generation run shows or asks goes through its host. The run calls it from the
// generation thread; each call returns only when the host has done it (the desktop marshals to
// the window thread, the command line draws on the terminal).
class RunHost : public ProgressSink {
 public:
  // The brief window's run state: read-only from BeginRun to EndRun.
  virtual void BeginRun() = 0;
  virtual void EndRun() = 0;

  virtual void OpenProgressWindow() = 0;
  virtual void UpdateItem(ProgressItem item, const std::string& text) = 0;
  virtual void CloseProgressWindow() = 0;

  // Offers to show the finished brief; on Yes the host shows `summaryAddress` in the browser.
  virtual void BriefReady(const std::string& briefName, const std::string& summaryAddress) = 0;

  // A message with a title, such as the disk error that ends a run.
  virtual void ShowError(const std::string& title, const std::string& text) = 0;
};

}  // namespace gl
