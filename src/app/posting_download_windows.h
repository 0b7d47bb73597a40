#pragma once
// The program's DownloadWindows: posts 0x42B (percentage) to the progress dialog and 0x703 /
// 0x704 (stage) to the main window.
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

 private:
  MessagePoster& poster_;
  std::function<WindowHandle()> progressWindow_;
  WindowHandle mainWindow_;
  WindowHandle progress_ = nullptr;
};

}  // namespace nx7
