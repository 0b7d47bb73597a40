#include "harness.h"

#include <shellapi.h>
#include <tlhelp32.h>

#include <algorithm>
#include <atomic>
#include <fstream>
#include <iterator>
#include <set>
#include <thread>

#include "framework/ui_test_support.h"

namespace nx7::e2e {
namespace fs = std::filesystem;

namespace {

fs::path Defined(const char* path) { return path[0] ? fs::path(path) : fs::path(); }

fs::path OwnFolder() {
  wchar_t own[MAX_PATH * 2] = {};
  ::GetModuleFileNameW(nullptr, own, MAX_PATH * 2);
  return fs::path(own).parent_path();
}

std::wstring Lower(std::wstring text) {
  std::transform(text.begin(), text.end(), text.begin(), [](wchar_t c) { return wchar_t(::towlower(c)); });
  return text;
}

}  // namespace

// The build passes its folders as Wine paths (Z: is the Linux root).
fs::path BuildFiles::BuildFolder() { return Defined(NX7_E2E_BUILD_FOLDER); }
fs::path BuildFiles::SourceFolder() { return Defined(NX7_E2E_SOURCE_FOLDER); }
fs::path BuildFiles::Driver() { return Defined(NX7_E2E_DRIVER); }
fs::path BuildFiles::Nx7ctl() { return Defined(NX7_E2E_NX7CTL); }
fs::path BuildFiles::HidParse() { return OwnFolder() / "HidParse.dll"; }
fs::path BuildFiles::MenuEx() { return OwnFolder() / "MenuEx.dll"; }
fs::path BuildFiles::StandIn() { return OwnFolder() / "nx7_standin.exe"; }
fs::path BuildFiles::TestWindow() { return OwnFolder() / "nx7_e2e_window.exe"; }
fs::path BuildFiles::Screenshots() { return BuildFolder() / "screenshots" / "e2e"; }

ProgramFolder::ProgramFolder() {
  static std::atomic<unsigned> counter{0};
  const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
  path_ = fs::temp_directory_path() /
          ("nx7-e2e-" + std::to_string(stamp) + "-" + std::to_string(counter++));
  fs::create_directories(path_);
}

ProgramFolder::~ProgramFolder() {
  // A program that just ended may hold its files a moment longer under Wine.
  for (int attempt = 0; attempt < 20; ++attempt) {
    std::error_code error;
    fs::remove_all(path_, error);
    if (!error) return;
    std::this_thread::sleep_for(milliseconds(100));
  }
}

fs::path ProgramFolder::Add(const fs::path& source, const fs::path& as) {
  const fs::path target = path_ / (as.empty() ? source.filename() : as);
  fs::create_directories(target.parent_path());
  if (fs::is_directory(source)) {
    fs::copy(source, target, fs::copy_options::recursive | fs::copy_options::overwrite_existing);
  } else {
    fs::copy_file(source, target, fs::copy_options::overwrite_existing);
  }
  return target;
}

fs::path ProgramFolder::AddDriver(const std::wstring& programName) {
  const fs::path program = Add(BuildFiles::Driver(), programName);
  Add(BuildFiles::HidParse());
  Add(BuildFiles::MenuEx());
  Add(BuildFiles::BuildFolder() / "skins", "skins");
  Add(BuildFiles::SourceFolder() / "Language", "Language");
  AddStandIns();
  // An empty macro library, as an installed program has it: without one the program's start
  // stops at a message naming the missing file.
  std::ofstream(path_ / "Macro.cfg", std::ios::binary) << std::string(2052000, '\0');
  return program;
}

void ProgramFolder::AddStandIns() {
  Add(BuildFiles::StandIn(), fs::path("FWUpdate") / "ViradeRI.exe");
  Add(BuildFiles::StandIn(), fs::path("vorna_update") / "VornaUpdate.exe");
}

std::vector<std::string> ProgramFolder::StandInLines() const { return ReadLines(StandInLog()); }

std::string ProgramFolder::Read(const fs::path& relative) const {
  std::ifstream in(path_ / relative, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool ProgramFolder::Exists(const fs::path& relative) const { return fs::exists(path_ / relative); }

std::wstring QuoteArgument(const std::wstring& argument) {
  if (!argument.empty() && argument.find_first_of(L" \t\"") == std::wstring::npos) return argument;
  std::wstring quoted = L"\"";
  size_t backslashes = 0;
  for (wchar_t c : argument) {
    if (c == L'\\') {
      ++backslashes;
      continue;
    }
    // Backslashes before a quote are doubled, and the quote escaped.
    quoted.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
    backslashes = 0;
    quoted += c;
  }
  quoted.append(backslashes * 2, L'\\');
  return quoted + L"\"";
}

Process::~Process() { Kill(); }

Process::Process(Process&& other) noexcept { *this = std::move(other); }

Process& Process::operator=(Process&& other) noexcept {
  if (this != &other) {
    Kill();
    process_ = std::exchange(other.process_, nullptr);
    id_ = std::exchange(other.id_, 0);
    started_ = other.started_;
    error_ = std::move(other.error_);
  }
  return *this;
}

bool Process::Start(const fs::path& program, const Options& options) {
  Kill();
  std::wstring commandLine = QuoteArgument(program.wstring());
  for (const std::wstring& argument : options.arguments) commandLine += L" " + QuoteArgument(argument);

  // This process's environment with the options' variables added or replaced (sorted by name,
  // as CreateProcess wants its block).
  std::map<std::wstring, std::wstring, bool (*)(const std::wstring&, const std::wstring&)> variables(
      [](const std::wstring& a, const std::wstring& b) { return Lower(a) < Lower(b); });
  if (wchar_t* block = ::GetEnvironmentStringsW()) {
    for (const wchar_t* entry = block; *entry; entry += wcslen(entry) + 1) {
      const std::wstring text(entry);
      const size_t equals = text.find(L'=', 1);  // "=C:=C:\..." entries start with '='
      if (equals != std::wstring::npos) variables[text.substr(0, equals)] = text.substr(equals + 1);
    }
    ::FreeEnvironmentStringsW(block);
  }
  for (const auto& [name, value] : options.environment) variables[name] = value;
  std::wstring environment;
  for (const auto& [name, value] : variables) environment += name + L"=" + value + L'\0';
  environment += L'\0';

  const fs::path folder = options.workingFolder.empty() ? program.parent_path() : options.workingFolder;
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  HANDLE output = INVALID_HANDLE_VALUE;
  if (!options.output.empty()) {
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    output = ::CreateFileW(options.output.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = startup.hStdError = output;
    startup.hStdInput = ::GetStdHandle(STD_INPUT_HANDLE);
  }
  PROCESS_INFORMATION info{};
  started_ = std::chrono::steady_clock::now();
  BOOL started = FALSE;
  DWORD error = 0;
  // Wine now and then fails to set up a new process (its shared memory cannot be mapped) and
  // reports an internal error; a second try starts it.
  for (int attempt = 0; attempt < 3; ++attempt) {
    if (attempt > 0) std::this_thread::sleep_for(milliseconds(200));
    started = ::CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, output != INVALID_HANDLE_VALUE,
                               CREATE_UNICODE_ENVIRONMENT, environment.data(), folder.c_str(), &startup, &info);
    error = ::GetLastError();
    if (started || error != ERROR_INTERNAL_ERROR) break;
  }
  if (output != INVALID_HANDLE_VALUE) ::CloseHandle(output);
  if (!started) {
    error_ = "CreateProcess failed with error " + std::to_string(error) + " for " + program.string();
    return false;
  }
  ::CloseHandle(info.hThread);
  process_ = info.hProcess;
  id_ = info.dwProcessId;
  return true;
}

bool Process::Running() const { return process_ && ::WaitForSingleObject(process_, 0) == WAIT_TIMEOUT; }

std::optional<DWORD> Process::WaitForExit(milliseconds timeout) {
  if (!process_) return std::nullopt;
  if (::WaitForSingleObject(process_, DWORD(timeout.count())) != WAIT_OBJECT_0) return std::nullopt;
  DWORD code = 0;
  ::GetExitCodeProcess(process_, &code);
  return code;
}

void Process::Kill() {
  if (!process_) return;
  if (Running()) {
    ::TerminateProcess(process_, 99);
    ::WaitForSingleObject(process_, 10000);
  }
  ::CloseHandle(process_);
  process_ = nullptr;
}

std::vector<DWORD> ProcessesOf(const fs::path& program) {
  std::vector<DWORD> found;
  HANDLE snapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return found;
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof entry;
  const std::wstring wanted = Lower(program.wstring());
  for (BOOL more = ::Process32FirstW(snapshot, &entry); more; more = ::Process32NextW(snapshot, &entry)) {
    HANDLE process = ::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, entry.th32ProcessID);
    if (!process) continue;
    wchar_t path[MAX_PATH * 2] = {};
    DWORD size = MAX_PATH * 2;
    // A process that has ended but whose handle someone still holds is not running.
    DWORD code = 0;
    if (::QueryFullProcessImageNameW(process, 0, path, &size) && Lower(path) == wanted &&
        ::GetExitCodeProcess(process, &code) && code == STILL_ACTIVE) {
      found.push_back(entry.th32ProcessID);
    }
    ::CloseHandle(process);
  }
  ::CloseHandle(snapshot);
  return found;
}

std::vector<DWORD> ProcessesNamed(const std::wstring& fileName) {
  std::vector<DWORD> found;
  HANDLE snapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return found;
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = ::Process32FirstW(snapshot, &entry); more; more = ::Process32NextW(snapshot, &entry)) {
    if (Lower(entry.szExeFile) == Lower(fileName)) found.push_back(entry.th32ProcessID);
  }
  ::CloseHandle(snapshot);
  return found;
}

std::wstring TitleOf(HWND window) {
  wchar_t text[512] = {};
  ::GetWindowTextW(window, text, 512);
  return text;
}

std::wstring ClassOf(HWND window) {
  wchar_t name[256] = {};
  ::GetClassNameW(window, name, 256);
  return name;
}

std::vector<HWND> FindWindows(const WindowQuery& query) {
  struct Search {
    const WindowQuery* query;
    std::vector<HWND> found;
  } search{&query, {}};
  ::EnumWindows(
      [](HWND window, LPARAM data) -> BOOL {
        auto& s = *reinterpret_cast<Search*>(data);
        const WindowQuery& q = *s.query;
        if (q.visibleOnly && !::IsWindowVisible(window)) return TRUE;
        if (q.processId) {
          DWORD owner = 0;
          ::GetWindowThreadProcessId(window, &owner);
          if (owner != q.processId) return TRUE;
        }
        if (!q.title.empty() && TitleOf(window) != q.title) return TRUE;
        if (!q.className.empty() && ClassOf(window) != q.className) return TRUE;
        s.found.push_back(window);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

bool WaitUntil(const std::function<bool()>& condition, milliseconds timeout) {
  const auto end = std::chrono::steady_clock::now() + timeout;
  while (!condition()) {
    if (std::chrono::steady_clock::now() >= end) return false;
    std::this_thread::sleep_for(milliseconds(10));
  }
  return true;
}

HWND WaitForWindow(const WindowQuery& query, milliseconds timeout) {
  HWND found = nullptr;
  WaitUntil(
      [&] {
        const std::vector<HWND> windows = FindWindows(query);
        found = windows.empty() ? nullptr : windows.front();
        return found != nullptr;
      },
      timeout);
  return found;
}

std::wstring AllText(HWND window) {
  std::wstring text = TitleOf(window);
  ::EnumChildWindows(
      window,
      [](HWND child, LPARAM data) -> BOOL {
        if (::IsWindowVisible(child)) {
          const std::wstring own = TitleOf(child);
          if (!own.empty()) *reinterpret_cast<std::wstring*>(data) += L"\n" + own;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&text));
  return text;
}

namespace {

void SendMouse(DWORD flags, POINT screen = {}, DWORD data = 0) {
  INPUT in{};
  in.type = INPUT_MOUSE;
  in.mi.dwFlags = flags;
  in.mi.mouseData = data;
  if (flags & MOUSEEVENTF_ABSOLUTE) {
    // Absolute coordinates are 0..65535 over the primary screen.
    const int width = ::GetSystemMetrics(SM_CXSCREEN), height = ::GetSystemMetrics(SM_CYSCREEN);
    in.mi.dx = LONG((screen.x * 65535 + width / 2) / (width - 1));
    in.mi.dy = LONG((screen.y * 65535 + height / 2) / (height - 1));
  }
  ::SendInput(1, &in, sizeof in);
}

// Input is handled by the receiving thread in its own time; a person's hand is not faster.
void Settle() { std::this_thread::sleep_for(milliseconds(30)); }

}  // namespace

void MoveCursorTo(POINT target) {
  POINT from{};
  ::GetCursorPos(&from);
  constexpr int kSteps = 4;
  for (int i = 1; i <= kSteps; ++i) {
    const POINT step{from.x + (target.x - from.x) * i / kSteps, from.y + (target.y - from.y) * i / kSteps};
    SendMouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, step);
    std::this_thread::sleep_for(milliseconds(5));
  }
  // The absolute scale can land a pixel off; the cursor position is what hit testing uses.
  POINT now{};
  ::GetCursorPos(&now);
  if (now.x != target.x || now.y != target.y) ::SetCursorPos(target.x, target.y);
  Settle();
}

void ClickScreen(POINT screen) {
  MoveCursorTo(screen);
  SendMouse(MOUSEEVENTF_LEFTDOWN);
  std::this_thread::sleep_for(milliseconds(20));
  SendMouse(MOUSEEVENTF_LEFTUP);
  Settle();
}

void ClickClient(HWND window, POINT client) {
  ::ClientToScreen(window, &client);
  ClickScreen(client);
}

void DoubleClickClient(HWND window, POINT client) {
  ::ClientToScreen(window, &client);
  MoveCursorTo(client);
  for (int i = 0; i < 2; ++i) {
    SendMouse(MOUSEEVENTF_LEFTDOWN);
    SendMouse(MOUSEEVENTF_LEFTUP);
  }
  Settle();
}

void PressChord(const std::vector<WORD>& keys) {
  std::vector<INPUT> inputs;
  for (WORD key : keys) {
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = key;
    inputs.push_back(in);
  }
  for (auto key = keys.rbegin(); key != keys.rend(); ++key) {
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = *key;
    in.ki.dwFlags = KEYEVENTF_KEYUP;
    inputs.push_back(in);
  }
  ::SendInput(UINT(inputs.size()), inputs.data(), sizeof(INPUT));
  Settle();
}

void TypeText(const std::wstring& text) {
  for (wchar_t c : text) {
    INPUT in[2]{};
    in[0].type = in[1].type = INPUT_KEYBOARD;
    in[0].ki.wScan = in[1].ki.wScan = c;
    in[0].ki.dwFlags = KEYEVENTF_UNICODE;
    in[1].ki.dwFlags = KEYEVENTF_UNICODE | KEYEVENTF_KEYUP;
    ::SendInput(2, in, sizeof(INPUT));
  }
  Settle();
}

bool ActivateWindow(HWND window) {
  // Wine lets any process take the foreground; a click on the window is what a person does
  // when it does not come forward.
  ::SetForegroundWindow(window);
  return WaitUntil([&] { return ::GetForegroundWindow() == window; }, milliseconds(2000));
}

bool WaitUntilSettled(HWND window, int clientWidth, int clientHeight, milliseconds timeout) {
  RECT last{};
  return WaitUntil(
      [&] {
        RECT now{}, client{};
        ::GetWindowRect(window, &now);
        ::GetClientRect(window, &client);
        const bool same = ::EqualRect(&now, &last);
        last = now;
        std::this_thread::sleep_for(milliseconds(100));
        return same && client.right == clientWidth && client.bottom == clientHeight;
      },
      timeout);
}

std::vector<COLORREF> CaptureScreenPixels(const RECT& r) {
  win32::Bitmap shot = win32::test::CaptureScreen(r);
  return win32::test::ReadBitmap(shot.Get()).data;
}

Screenshot SaveScreenshot(HWND window, const std::wstring& name) {
  Screenshot result;
  ::RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  std::this_thread::sleep_for(milliseconds(150));  // the window's own thread paints
  ::GdiFlush();
  RECT r{};
  ::GetWindowRect(window, &r);
  result.width = r.right - r.left;
  result.height = r.bottom - r.top;
  win32::Bitmap shot = win32::test::CaptureScreen(r);
  const std::vector<COLORREF> pixels = win32::test::ReadBitmap(shot.Get()).data;
  result.distinctColors = std::set<COLORREF>(pixels.begin(), pixels.end()).size();
  result.file = BuildFiles::Screenshots() / (name + L".png");
  result.saved = win32::test::SavePng(shot.Get(), result.file.wstring());
  return result;
}

namespace {

std::optional<std::vector<BYTE>> ReadRegistry(HKEY root, const std::wstring& key, const std::wstring& value,
                                              DWORD flags) {
  DWORD size = 0;
  if (::RegGetValueW(root, key.c_str(), value.c_str(), flags, nullptr, nullptr, &size) != ERROR_SUCCESS)
    return std::nullopt;
  std::vector<BYTE> data(size);
  if (::RegGetValueW(root, key.c_str(), value.c_str(), flags, nullptr, data.data(), &size) != ERROR_SUCCESS)
    return std::nullopt;
  data.resize(size);
  return data;
}

}  // namespace

std::optional<std::wstring> ReadRegistryString(HKEY root, const std::wstring& key, const std::wstring& value) {
  const auto data = ReadRegistry(root, key, value, RRF_RT_REG_SZ);
  if (!data) return std::nullopt;
  return std::wstring(reinterpret_cast<const wchar_t*>(data->data()));
}

std::optional<DWORD> ReadRegistryDword(HKEY root, const std::wstring& key, const std::wstring& value) {
  const auto data = ReadRegistry(root, key, value, RRF_RT_REG_DWORD);
  if (!data || data->size() != sizeof(DWORD)) return std::nullopt;
  return *reinterpret_cast<const DWORD*>(data->data());
}

std::optional<std::vector<BYTE>> ReadRegistryBinary(HKEY root, const std::wstring& key, const std::wstring& value) {
  return ReadRegistry(root, key, value, RRF_RT_REG_BINARY);
}

bool WriteRegistryBinary(HKEY root, const std::wstring& key, const std::wstring& value, const std::vector<BYTE>& data) {
  HKEY opened = nullptr;
  if (::RegCreateKeyExW(root, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &opened, nullptr) != ERROR_SUCCESS)
    return false;
  const bool ok = ::RegSetValueExW(opened, value.c_str(), 0, REG_BINARY, data.data(), DWORD(data.size())) == ERROR_SUCCESS;
  ::RegCloseKey(opened);
  return ok;
}

void DeleteRegistryValue(HKEY root, const std::wstring& key, const std::wstring& value) {
  HKEY opened = nullptr;
  if (::RegOpenKeyExW(root, key.c_str(), 0, KEY_SET_VALUE, &opened) != ERROR_SUCCESS) return;
  ::RegDeleteValueW(opened, value.c_str());
  ::RegCloseKey(opened);
}

std::vector<std::string> ReadLines(const fs::path& file) {
  std::vector<std::string> lines;
  std::ifstream in(file, std::ios::binary);
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

bool TrayIconPresent(HWND owner, UINT id) {
  NOTIFYICONDATAW data{};
  data.cbSize = sizeof data;
  data.hWnd = owner;
  data.uID = id;
  data.uFlags = 0;
  return ::Shell_NotifyIconW(NIM_MODIFY, &data) != FALSE;
}

void PostTrayMouse(HWND owner, UINT callbackMessage, UINT mouseMessage) {
  ::PostMessageW(owner, callbackMessage, 0, LPARAM(mouseMessage));
}

}  // namespace nx7::e2e
