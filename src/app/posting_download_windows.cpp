#include "app/posting_download_windows.h"

#include "app/messages.h"

namespace nx7 {

namespace {
constexpr uint32_t kWmClose = 0x0010;
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

}  // namespace nx7
