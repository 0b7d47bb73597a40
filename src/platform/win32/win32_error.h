#pragma once
// Error texts for failed Win32 calls: "<Call> failed (<code>): <system message>".
#include <windows.h>

#include <string>

namespace nx7::win32 {

// The system's message for `error` without its trailing line break; "" when it has none.
std::u16string SystemMessage(DWORD error);
std::string ErrorText(const char* call, DWORD error);
inline std::string LastErrorText(const char* call) { return ErrorText(call, GetLastError()); }

}  // namespace nx7::win32
