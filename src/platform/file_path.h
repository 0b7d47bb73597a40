#pragma once
// Paths are built as Windows path text ("<program folder>\Language\sc.xml"), as the program stores
// and shows them. This turns such a text into a path the file system of the running build opens:
// unchanged on Windows; natively each backslash becomes the POSIX separator.
#include <filesystem>
#include <string>
#include <string_view>

namespace nx7 {

std::filesystem::path PathFromText(std::u16string_view text);

// `folder` and `relative` joined by one backslash, the way "%s\%s" formats them.
std::u16string JoinPathText(std::u16string_view folder, std::u16string_view relative);

}  // namespace nx7
