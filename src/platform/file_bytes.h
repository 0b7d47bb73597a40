#pragma once
// Whole files read as bytes, with the system's own words for a failure: the first line of
// FormatMessage's text on Windows, strerror's natively.
#include <cstdint>
#include <filesystem>
#include <string>

namespace nx7 {

// "File too large: more than N bytes".
std::u16string FileTooLargeText(uintmax_t maxBytes);

// Reads the whole file into `bytes`. A file larger than `maxBytes` is not read and fails with
// FileTooLargeText; a pipe or device file is read up to that limit. On any other failure `bytes` is
// empty and `error` holds the first line of the system's message.
bool ReadFileBytes(const std::filesystem::path& path, uintmax_t maxBytes, std::string& bytes, std::u16string& error);

}  // namespace nx7
