#pragma once
// Downloader over URLDownloadToFileW (synchronous, no progress callback). The address's entry in
// the system's download cache is dropped first, so every check asks the server again. COM is
// initialised for the call when the thread has not done so.
#include "platform/downloader.h"

namespace nx7::win32 {

class UrlDownloader final : public Downloader {
 public:
  bool DownloadToFile(const std::u16string& address, const std::u16string& path) override;
  std::string LastErrorText() const override { return lastError_; }

 private:
  std::string lastError_;
};

}  // namespace nx7::win32
