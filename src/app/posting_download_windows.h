#pragma once
// The program's DownloadWindows: posts 0x42B (percentage) to the progress dialog and 0x703 /
// 0x704 (stage) to the main window.
//
// The progress dialog's window may appear only after the pass has begun: each percentage is
// kept (LastProgress) before it is posted to the window the dialog has at that moment, so a
// dialog that opens late starts from the value it would have been sent.
#include <atomic>
#include <functional>

#include "device/download_worker.h"
#include "platform/message_poster.h"

namespace nx7 {

class PostingDownloadWindows final : public DownloadWindows {
 public:
  PostingDownloadWindows(MessagePoster& poster, std::function<WindowHandle()> progressWindow, WindowHandle mainWindow)
      : poster_(poster), progressWindow_(std::move(progressWindow)), mainWindow_(mainWindow) {}

  bool BeginPass() override;
  void Progress(int percent) override;
  void Done() override;
  void Failed(int stage) override;

  // The last percentage of the pass that runs or ran last; -1 before its first one.
  int LastProgress() const { return lastProgress_.load(); }

 private:
  MessagePoster& poster_;
  std::function<WindowHandle()> progressWindow_;
  WindowHandle mainWindow_;
  std::atomic<int> lastProgress_{-1};
};

}  // namespace nx7
