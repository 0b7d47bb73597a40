#pragma once
// Paths are built as Windows path text ("<program folder>\Language\sc.xml"), as the program stores
// and shows them. This turns such a text into a path the file system of the running build opens:
// unchanged on Windows; natively each backslash becomes the POSIX separator.
#include <filesystem>
#include <string>
#include <string_view>

namespace nx7 {

std::filesystem::path PathFromText(std::u16string_view text);

// The path text of a host path given as bytes (a command-line argument, a name made by the
// system). Windows hands the program UTF-8 made from its UTF-16 names. A POSIX name is any byte
// string: well-formed UTF-8 is decoded, and every byte that is not part of it becomes the lone
// surrogate U+DC00 + byte, which PathFromText turns back into that byte, so every name survives
// the round trip and opens.
std::u16string PathTextFromHost(std::string_view bytes);

// `folder` and `relative` joined by one backslash, the way "%s\%s" formats them.
std::u16string JoinPathText(std::u16string_view folder, std::u16string_view relative);

}  // namespace nx7
