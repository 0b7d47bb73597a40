#pragma once
// A fresh host folder for one test, removed with everything in it afterwards.
#include <stdlib.h>

#include <filesystem>
#include <string>

#include "common/text.h"

namespace nx7 {

class ScratchFolder {
 public:
  ScratchFolder() {
    std::string templ = (std::filesystem::temp_directory_path() / "nx7-test-XXXXXX").string();
    path_ = ::mkdtemp(templ.data()) ? templ : std::string();
  }
  ~ScratchFolder() {
    std::error_code ignored;
    if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
  }
  const std::string& path() const { return path_; }
  std::u16string path16() const { return Utf16FromUtf8(path_); }

 private:
  std::string path_;
};

}  // namespace nx7
