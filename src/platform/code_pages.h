#pragma once
// Conversion of 8-bit and multi-byte text in a Windows code page to UTF-16. Windows does it with
// MultiByteToWideChar; the native build uses iconv. UTF-8 (65001) and UTF-16 (1200, 1201) never
// come here: the core decodes those itself.
#include <string>
#include <string_view>

namespace nx7 {

// The code page that stands for the system's default ANSI code page: GetACP() on Windows,
// 1252 (Windows Western European) in the native build.
unsigned DefaultAnsiCodePage();

// Appends the UTF-16 form of `bytes`, encoded in `codePage`, to `out`. Bytes that are invalid in
// that code page become U+FFFD (or '?'). Returns false, leaving `out` unchanged, when the code page
// is not supported by the converter.
bool ConvertFromCodePage(unsigned codePage, std::string_view bytes, std::u16string& out);

}  // namespace nx7
