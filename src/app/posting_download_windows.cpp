#include "app/posting_download_windows.h"

#include "app/messages.h"

namespace nx7 {

namespace {
constexpr uint32_t kWmClose = 0x0010;
}

bool PostingDownloadWindows::BeginPass() {
  lastProgress_ = -1;
  if (!mainWindow_) {
    poster_.Post(progressWindow_ ? progressWindow_() : nullptr, kWmClose, 0, 0);
    return false;
  }
  return true;
}

void PostingDownloadWindows::Progress(int percent) {
  // Kept first: a dialog whose window appears after this reads it when it opens; one whose
  // window exists is posted the value.
  lastProgress_ = percent;
  const WindowHandle progress = progressWindow_ ? progressWindow_() : nullptr;
  if (progress) poster_.Post(progress, WM_DOWNLOAD_PROGRESS, uintptr_t(percent), 0);
}

void PostingDownloadWindows::Done() { poster_.Post(mainWindow_, WM_DOWNLOAD_DONE, 0, 0); }

void PostingDownloadWindows::Failed(int stage) { poster_.Post(mainWindow_, WM_DOWNLOAD_FAILED, 0, stage); }

}  // namespace nx7
