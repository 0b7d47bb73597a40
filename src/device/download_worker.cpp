#include "device/download_worker.h"

#include "app/messages.h"
#include "platform/clock.h"

namespace nx7 {

namespace {
constexpr uint32_t kWmClose = 0x0010;
}

void ManualResetEvent::Set() {
  std::lock_guard lock(mutex_);
  signalled_ = true;
  changed_.notify_all();
}

void ManualResetEvent::Reset() {
  std::lock_guard lock(mutex_);
  signalled_ = false;
}

void ManualResetEvent::Wait() {
  std::unique_lock lock(mutex_);
  changed_.wait(lock, [&] { return signalled_; });
}

bool DownloadSignals::RequestDownload() {
  if (downloadIdle != 1) return false;
  downloadEvent.Set();
  return true;
}

bool PostingDownloadWindows::BeginPass() {
  progress_ = progressWindow_ ? progressWindow_() : nullptr;
  if (!mainWindow_) {
    poster_.Post(progress_, kWmClose, 0, 0);
    return false;
  }
  return true;
}

void PostingDownloadWindows::Progress(int percent) {
  // Progress posted before the dialog's window exists is lost, as any post to no window.
  if (progress_) poster_.Post(progress_, WM_DOWNLOAD_PROGRESS, uintptr_t(percent), 0);
}

void PostingDownloadWindows::Done() { poster_.Post(mainWindow_, WM_DOWNLOAD_DONE, 0, 0); }

void PostingDownloadWindows::Failed(int stage) { poster_.Post(mainWindow_, WM_DOWNLOAD_FAILED, 0, stage); }

DownloadWorker::DownloadWorker(DownloadSignals& signals, Clock& clock, DownloadWindows& windows,
                               std::function<void(DownloadObserver&)> pass)
    : signals_(signals), clock_(clock), windows_(windows), pass_(std::move(pass)) {}

DownloadWorker::~DownloadWorker() { Stop(); }

void DownloadWorker::Start() {
  if (!thread_.joinable()) thread_ = std::thread([this] { Loop(); });
}

void DownloadWorker::Stop() {
  signals_.runFlag = false;
  signals_.downloadEvent.Set();
  if (thread_.joinable()) thread_.join();
}

void DownloadWorker::Loop() {
  for (;;) {
    if (!signals_.runFlag) return;
    signals_.downloadEvent.Wait();
    if (!signals_.runFlag) return;
    signals_.downloadEvent.Reset();
    signals_.downloadIdle = 0;
    clock_.Sleep(50);
    if (!windows_.BeginPass()) return;
    pass_(windows_);
  }
}

}  // namespace nx7
