#pragma once
// Error texts for failed Win32 calls: "<Call> failed (<code>): <system message>".
#include <windows.h>

#include <string>

namespace nx7::win32 {

std::string ErrorText(const char* call, DWORD error);
inline std::string LastErrorText(const char* call) { return ErrorText(call, GetLastError()); }

}  // namespace nx7::win32
