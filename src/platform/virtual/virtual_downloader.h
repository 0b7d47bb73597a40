#pragma once
// A Downloader for tests: addresses answered from memory into a FileSystem, every request kept
// in order. An address that was not served fails, as an unreachable server does.
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "platform/downloader.h"
#include "platform/file_system.h"

namespace nx7 {

class VirtualDownloader final : public Downloader {
 public:
  // `files` receives the fetched files and must outlive this object.
  explicit VirtualDownloader(FileSystem& files) : files_(files) {}

  // From now on `address` answers with `content`.
  void Serve(std::u16string address, std::vector<uint8_t> content) { served_[std::move(address)] = std::move(content); }
  void Serve(std::u16string address, std::string_view content) {
    Serve(std::move(address), std::vector<uint8_t>(content.begin(), content.end()));
  }

  bool DownloadToFile(const std::u16string& address, const std::u16string& path) override;
  std::string LastErrorText() const override { return lastError_; }

  struct Request {
    std::u16string address;
    std::u16string path;
    bool operator==(const Request&) const = default;
  };
  const std::vector<Request>& Requests() const { return requests_; }

 private:
  FileSystem& files_;
  std::map<std::u16string, std::vector<uint8_t>> served_;
  std::vector<Request> requests_;
  std::string lastError_;
};

}  // namespace nx7
