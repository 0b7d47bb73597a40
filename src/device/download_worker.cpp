#include "device/download_worker.h"

#include "platform/clock.h"

namespace nx7 {

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
