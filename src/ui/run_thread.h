#pragma once

#include <QObject>
#include <QPointer>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "core/settings.h"
#include "generate/generate_brief.h"
#include "ui/browse_function.h"

class QWidget;

// TGleanerThread, the desktop's generation run: GenerateBrief for one brief window on a worker
// thread, with this object as the run's host. Every host call made by the worker is carried out
// on the window thread. Reports that only change what is displayed (the status line, the progress
// bar, the progress window's labels) are posted without waiting, the latest value of each
// winning; for everything else the worker waits until it is done. The worker never touches a
// widget, and the window thread never waits for the worker, so the windows stay responsive while
// pages download.

namespace gl {

class Prompter;
class TBriefProcessing;
class TGleanerForm;

// What a run shows and uses through the main window.
struct RunServices {
  Prompter* Prompts = nullptr;
  // Brief Ready's Yes shows the summary page with it.
  BrowseFunction Browse;
  // Puts a text into the main window's status bar and repaints it at once.
  std::function<void(const std::string&)> SetStatusText;
  // The progress window and the Brief Ready question are centred over it.
  QWidget* MainWindow = nullptr;
  // True once the user asked to close the program when the run has ended: then the run does not
  // offer to show the brief.
  std::function<bool()> Leaving;
  // The run's own copies, so the preferences may change meanwhile.
  Settings RunSettings;
  RunEnvironment Environment;
};

class TGleanerThread : public QObject, public RunHost {
  Q_OBJECT
 public:
  // Starts generating the brief of `form` at once, on a copy of it and with the window's name
  // counters. When the run has ended, the window gets the recorded run and the counters back,
  // Ended is emitted and the object deletes itself.
  TGleanerThread(TGleanerForm& form, RunServices services);

  // The run's host, called on the worker thread.
  void SetStatusText(const std::string& text) override;
  void SetProgress(int percent) override;
  void BeginRun() override;
  void EndRun() override;
  void OpenProgressWindow() override;
  void UpdateItem(ProgressItem item, const std::string& text) override;
  void CloseProgressWindow() override;
  void BriefReady(const std::string& briefName, const std::string& summaryAddress) override;
  void ShowError(const std::string& title, const std::string& text) override;

 signals:
  void Ended();

 private:
  // The display reports not yet shown, the latest of each; both threads', under displayMutex_.
  struct Display {
    std::optional<std::string> Status;
    std::optional<int> Percent;
    std::map<ProgressItem, std::string> Items;
    bool ShowPosted = false;  // a ShowPosted call is on its way to the window thread
  };

  void Execute(TBriefDocument document);
  // On the window thread, once the worker has returned.
  void Finish();
  // Runs `work` on the window thread and returns when it has, after the reports posted before.
  void InWindowThread(const std::function<void()>& work);
  // Keeps a display report for the window thread and posts a Show unless one is on its way.
  void Post(const std::function<void(Display&)>& change);
  // On the window thread: shows the reports posted since the last time.
  void ShowPosted();

  QPointer<TGleanerForm> form_;
  const std::shared_ptr<RunHandle> handle_;
  RunServices services_;  // read by both threads, changed by neither
  // The worker's until Finish.
  NameCounters names_;
  RunReport report_;
  int shownPercent_ = -1;
  std::mutex displayMutex_;
  Display display_;
  // The window thread's.
  QPointer<TBriefProcessing> progress_;
  std::thread worker_;
};

}  // namespace gl
