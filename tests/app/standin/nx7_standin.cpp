// A stand-in for the programs the NX7 program starts (the flashing tool, the updater, the target
// of a launch). Each run appends one line to a log and ends: the number of arguments it
// received, then each argument in square brackets, in UTF-8, e.g. "1 [-VORNA]". Tests read the
// log to see how often a program was started and with exactly which arguments.
//
// The log is the file named by the environment variable NX7_STANDIN_LOG, else "<this program's
// path>.log". The exit code is 0 when the line was written.
#include <windows.h>
#include <shellapi.h>

#include <iterator>
#include <string>

namespace {

std::string Utf8(const wchar_t* text) {
  const int size = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
  if (size <= 1) return {};
  std::string out(size_t(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text, -1, out.data(), size, nullptr, nullptr);
  out.pop_back();  // the terminator
  return out;
}

std::wstring LogPath() {
  wchar_t buffer[MAX_PATH * 2] = {};
  const DWORD length = GetEnvironmentVariableW(L"NX7_STANDIN_LOG", buffer, DWORD(std::size(buffer)));
  if (length > 0 && length < std::size(buffer)) return buffer;
  const DWORD own = GetModuleFileNameW(nullptr, buffer, DWORD(std::size(buffer)));
  return std::wstring(buffer, own) + L".log";
}

}  // namespace

int main() {
  int count = 0;
  wchar_t** arguments = CommandLineToArgvW(GetCommandLineW(), &count);
  if (!arguments) return 2;
  std::string line = std::to_string(count - 1);
  for (int i = 1; i < count; ++i) line += " [" + Utf8(arguments[i]) + "]";
  line += "\n";
  LocalFree(arguments);

  // Appending: concurrent runs each add their whole line.
  HANDLE log = CreateFileW(LogPath().c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (log == INVALID_HANDLE_VALUE) return 3;
  DWORD written = 0;
  const BOOL ok = WriteFile(log, line.data(), DWORD(line.size()), &written, nullptr);
  CloseHandle(log);
  return ok && written == line.size() ? 0 : 4;
}
