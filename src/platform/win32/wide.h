#pragma once
// The core's UTF-16 text (char16_t) and Windows' wide text (wchar_t) are the same 16-bit units
// on Windows; these views convert between them without copying.
#include <string>
#include <string_view>

static_assert(sizeof(wchar_t) == sizeof(char16_t), "Windows wide characters are UTF-16 code units");

namespace nx7::win32 {

inline const wchar_t* Wide(const std::u16string& s) { return reinterpret_cast<const wchar_t*>(s.c_str()); }
inline const wchar_t* Wide(const char16_t* s) { return reinterpret_cast<const wchar_t*>(s); }
inline std::u16string FromWide(const wchar_t* s) { return s ? std::u16string(reinterpret_cast<const char16_t*>(s)) : std::u16string(); }
inline std::u16string FromWide(std::wstring_view s) { return std::u16string(reinterpret_cast<const char16_t*>(s.data()), s.size()); }

}  // namespace nx7::win32
