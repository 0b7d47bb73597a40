#include "platform/virtual/virtual_downloader.h"

#include "common/text.h"

namespace nx7 {

bool VirtualDownloader::DownloadToFile(const std::u16string& address, const std::u16string& path) {
  requests_.push_back({address, path});
  const auto it = served_.find(address);
  if (it == served_.end()) {
    lastError_ = "not served: " + Utf8FromUtf16(address);
    return false;
  }
  if (files_.WriteWholeFile(path, it->second) != FileStatus::Ok) {
    lastError_ = "cannot write " + Utf8FromUtf16(path) + ": " + files_.LastErrorText();
    return false;
  }
  return true;
}

}  // namespace nx7
