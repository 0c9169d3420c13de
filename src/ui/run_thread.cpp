#include "ui/run_thread.h"

#include <QMetaObject>

#include "ui/brief_window.h"
#include "ui/message_dialogs.h"
#include "ui/progress_window.h"
#include "ui/prompter.h"

namespace gl {

TGleanerThread::TGleanerThread(TGleanerForm& form, RunServices services)
    : form_(&form),
      handle_(std::make_shared<RunHandle>()),
      services_(std::move(services)),
      names_(form.Names()) {
  services_.Environment.Handle = handle_.get();
  form.AttachRun(handle_);
  worker_ = std::thread(&TGleanerThread::Execute, this, form.Document());
}

void TGleanerThread::Execute(TBriefDocument document) {
  report_ = GenerateBrief(std::move(document), services_.RunSettings, names_, services_.Environment,
                          *this);
  QMetaObject::invokeMethod(this, &TGleanerThread::Finish, Qt::QueuedConnection);
}

void TGleanerThread::Finish() {
  worker_.join();  // at once: queuing this call was the worker's last step
  if (form_) form_->FinishRun(report_, names_);
  emit Ended();
  deleteLater();
}

void TGleanerThread::InWindowThread(const std::function<void()>& work) {
  // Posted events are delivered in order, so the reports posted before are shown first.
  QMetaObject::invokeMethod(this, work, Qt::BlockingQueuedConnection);
}

void TGleanerThread::Post(const std::function<void(Display&)>& change) {
  bool post = false;
  {
    const std::lock_guard lock(displayMutex_);
    change(display_);
    post = !display_.ShowPosted;
    display_.ShowPosted = true;
  }
  if (post) QMetaObject::invokeMethod(this, &TGleanerThread::ShowPosted, Qt::QueuedConnection);
}

void TGleanerThread::ShowPosted() {
  Display posted;
  {
    const std::lock_guard lock(displayMutex_);
    posted = std::move(display_);
    display_ = Display{};
  }
  if (posted.Status) services_.SetStatusText(*posted.Status);
  if (!progress_) return;
  if (posted.Percent) progress_->UpdateProgress(*posted.Percent);
  for (const auto& [item, text] : posted.Items)
    progress_->UpdateItem(item, text);
}

void TGleanerThread::SetStatusText(const std::string& text) {
  Post([&](Display& display) { display.Status = text; });
}

void TGleanerThread::SetProgress(int percent) {
  // A transfer reports after every piece it receives; the bar changes far less often.
  if (percent == shownPercent_) return;
  shownPercent_ = percent;
  Post([&](Display& display) { display.Percent = percent; });
}

void TGleanerThread::BeginRun() {
  InWindowThread([&] {
    if (form_) form_->BeginRun();
  });
}

// The window stays read-only until Finish has put the run's record into its copy of the brief: a
// save before that would write the brief without the run.
void TGleanerThread::EndRun() {}

void TGleanerThread::OpenProgressWindow() {
  shownPercent_ = -1;
  InWindowThread([&] {
    progress_ = new TBriefProcessing(handle_, *services_.Prompts, services_.MainWindow);
    progress_->show();
  });
}

void TGleanerThread::UpdateItem(ProgressItem item, const std::string& text) {
  Post([&](Display& display) { display.Items[item] = text; });
}

void TGleanerThread::CloseProgressWindow() {
  InWindowThread([&] {
    if (progress_) progress_->Free();
    progress_ = nullptr;
  });
}

void TGleanerThread::BriefReady(const std::string& briefName, const std::string& summaryAddress) {
  InWindowThread([&] {
    const bool closing =
        (form_ && form_->ClosingAfterRun()) || (services_.Leaving && services_.Leaving());
    if (closing) return;
    TBtnRightDlg dialog(briefName, summaryAddress, services_.Browse, services_.MainWindow);
    dialog.exec();
  });
}

void TGleanerThread::ShowError(const std::string& title, const std::string& text) {
  InWindowThread([&] { services_.Prompts->ShowError(title, text); });
}

}  // namespace gl
