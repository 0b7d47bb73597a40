// HidParse.dll: a small helper library shipped beside the program. The program only checks at
// start that it loads and exports OpenHidDevice; other tools (the flashing tool, diagnostics)
// use it to open a HID device interface the way the program does.
#include <windows.h>

// Opens a HID device interface path for overlapped I/O with read and write sharing.
// `desiredAccess` is 0 (attribute queries), GENERIC_READ or GENERIC_WRITE. Returns
// INVALID_HANDLE_VALUE on failure (GetLastError tells why); the caller closes the handle.
__declspec(dllexport) HANDLE WINAPI OpenHidDevice(const wchar_t* devicePath, DWORD desiredAccess) {
  if (!devicePath) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return INVALID_HANDLE_VALUE;
  }
  const DWORD flags = desiredAccess == 0 ? FILE_FLAG_BACKUP_SEMANTICS : FILE_FLAG_OVERLAPPED;
  return CreateFileW(devicePath, desiredAccess, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL, OPEN_EXISTING, flags, NULL);
}
