#pragma once
// Fetching a web address into a file, as the firmware check does with the update manifest and the
// firmware image. Synchronous: the call returns when the file is complete or the fetch failed.
//
// Implementations: win32/url_downloader_win32.h (URLDownloadToFileW) and
// virtual/virtual_downloader.h (addresses served from memory, for tests).
#include <string>

namespace nx7 {

class Downloader {
 public:
  virtual ~Downloader() = default;
  // Fetches `address` into the file at `path` (Windows path text), replacing it. False when the
  // server cannot be reached, refuses or answers with an error, or the file cannot be written;
  // the file may then be missing, as it was, or hold part of the answer.
  virtual bool DownloadToFile(const std::u16string& address, const std::u16string& path) = 0;
  // What the last failed fetch was and why, for diagnostics; empty before any failure.
  virtual std::string LastErrorText() const = 0;
};

}  // namespace nx7
