#pragma once
// The settings download worker: a thread that lives for the whole run, waits on the download
// event and makes one download pass (download_pass.h) each time the UI sets it.
//
// The UI starts a download only while `downloadIdle` is 1 (RequestDownload); the worker sets it
// to 0 at the start of each pass and the main window sets it back to 1 when it has handled the
// outcome message (OutcomeHandled). Shut-down clears the run flag and sets the event.
#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

#include "device/download_pass.h"

namespace nx7 {

class Clock;

class ManualResetEvent {
 public:
  void Set();
  void Reset();
  void Wait();

 private:
  std::mutex mutex_;
  std::condition_variable changed_;
  bool signalled_ = false;
};

// Shared between the UI thread and the worker.
struct DownloadSignals {
  ManualResetEvent downloadEvent;
  std::atomic<bool> runFlag{true};
  std::atomic<int> downloadIdle{1};

  // UI: sets the event when no download runs; false (nothing done) otherwise.
  bool RequestDownload();
  // Main window, after handling 0x703 or 0x704.
  void OutcomeHandled() { downloadIdle = 1; }
};

// Where a pass reports to, fixed at the start of each pass.
class DownloadWindows : public DownloadObserver {
 public:
  // Called after the pass's first pause: reads the progress window. False when there is no main
  // window to report to; the progress window has then been told to close and the worker ends.
  virtual bool BeginPass() = 0;
};

class DownloadWorker {
 public:
  // `pass` runs steps 5 on of one pass, reporting to the observer it is given (the program's is
  // DownloadService::WorkerPass).
  DownloadWorker(DownloadSignals& signals, Clock& clock, DownloadWindows& windows,
                 std::function<void(DownloadObserver&)> pass);
  // Stops the worker (run flag 0, event set) and waits for it to end.
  ~DownloadWorker();
  DownloadWorker(const DownloadWorker&) = delete;
  DownloadWorker& operator=(const DownloadWorker&) = delete;

  void Start();
  void Stop();

 private:
  void Loop();

  DownloadSignals& signals_;
  Clock& clock_;
  DownloadWindows& windows_;
  std::function<void(DownloadObserver&)> pass_;
  std::thread thread_;
};

}  // namespace nx7
