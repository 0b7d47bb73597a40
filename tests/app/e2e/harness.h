#pragma once
// The end-to-end harness: runs a program as its own process in a scratch program folder and
// drives it as a person would (windows found by title or class, the real cursor moved and
// clicked with SendInput, keys typed), reads what it leaves behind (files beside it, the
// registry of the Wine prefix, a trace) and takes screenshots.
//
// Input goes through SendInput: Wine's X11 driver moves the real pointer and delivers the
// clicks through the hardware message queue, so hit testing, capture, hover tracking and
// low-level hooks see what a person's mouse would give. Windows that are not the foreground
// window do not always get keys under Wine (Xvfb runs no window manager to give focus), so
// keys are typed only after ActivateWindow; the tray icon has no window of its own to click
// (see TrayIconPresent), so its clicks are posted as the notification area posts them.
#include <windows.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace nx7::e2e {

using std::chrono::milliseconds;

// Where the build put what the tests start (set by the build; paths of the Wine prefix).
struct BuildFiles {
  static std::filesystem::path BuildFolder();     // build/windows
  static std::filesystem::path SourceFolder();    // the source tree
  static std::filesystem::path Driver();          // NX7Driver.exe, empty when the build has none
  static std::filesystem::path Nx7ctl();          // tools/nx7ctl/nx7ctl.exe
  static std::filesystem::path HidParse();        // HidParse.dll
  static std::filesystem::path MenuEx();          // MenuEx.dll
  static std::filesystem::path StandIn();         // nx7_standin.exe
  static std::filesystem::path TestWindow();      // nx7_e2e_window.exe, the harness's own target
  static std::filesystem::path Screenshots();     // build/windows/screenshots/e2e
};

// A fresh folder holding a program and what it needs beside it, removed at the end, so the
// files the program writes beside itself (Profile\Profile1.cfg, Macro.cfg) are the test's own.
class ProgramFolder {
 public:
  ProgramFolder();
  ~ProgramFolder();
  ProgramFolder(const ProgramFolder&) = delete;
  ProgramFolder& operator=(const ProgramFolder&) = delete;

  const std::filesystem::path& Path() const { return path_; }
  // Copies a file (under its own name, or `as`) or a whole folder into the program folder.
  std::filesystem::path Add(const std::filesystem::path& source, const std::filesystem::path& as = {});
  // The NX7 program folder: NX7Driver.exe (as `programName`), HidParse.dll, MenuEx.dll, skins\,
  // Language\, an empty Macro.cfg, and the stand-in as FWUpdate\ViradeRI.exe and vorna_update\VornaUpdate.exe.
  std::filesystem::path AddDriver(const std::wstring& programName = L"NX7Driver.exe");
  void AddStandIns();
  // The stand-ins' log (they log here whatever their path, through NX7_STANDIN_LOG).
  std::filesystem::path StandInLog() const { return path_ / "standin.log"; }
  std::vector<std::string> StandInLines() const;

  std::string Read(const std::filesystem::path& relative) const;
  bool Exists(const std::filesystem::path& relative) const;

 private:
  std::filesystem::path path_;
};

// A started program. Ending the object kills the process if it still runs (a failed test must
// leave nothing behind for the next one).
class Process {
 public:
  struct Options {
    std::vector<std::wstring> arguments;
    std::map<std::wstring, std::wstring> environment;  // added to (or replacing in) this process's
    std::filesystem::path workingFolder;                // default: the program's folder
    std::filesystem::path output;                       // standard output and error, or none
  };
  Process() = default;
  ~Process();
  Process(Process&& other) noexcept;
  Process& operator=(Process&& other) noexcept;

  // Starts `program`; false (with the reason in Error()) when it cannot be started.
  bool Start(const std::filesystem::path& program, const Options& options);
  const std::string& Error() const { return error_; }
  DWORD Id() const { return id_; }
  HANDLE Handle() const { return process_; }
  std::chrono::steady_clock::time_point StartTime() const { return started_; }
  bool Running() const;
  // The exit code once the process has ended within `timeout`; nothing while it still runs.
  std::optional<DWORD> WaitForExit(milliseconds timeout);
  // Kills the process (if running) and waits for it to be gone.
  void Kill();

 private:
  HANDLE process_ = nullptr;
  DWORD id_ = 0;
  std::chrono::steady_clock::time_point started_{};
  std::string error_;
};

// One argument quoted so that CommandLineToArgvW reads it back unchanged.
std::wstring QuoteArgument(const std::wstring& argument);

// Processes whose program file is `program` (full path, compared without regard to case).
std::vector<DWORD> ProcessesOf(const std::filesystem::path& program);
// Processes whose program file has the name `fileName`, wherever it is.
std::vector<DWORD> ProcessesNamed(const std::wstring& fileName);

// Top-level windows.
struct WindowQuery {
  std::wstring title;      // exact title, or any when empty
  std::wstring className;  // exact class name, or any when empty
  DWORD processId = 0;     // owning process, or any when 0
  bool visibleOnly = true;
};
std::vector<HWND> FindWindows(const WindowQuery& query);
// The first window that matches within `timeout` (polled), or nullptr.
HWND WaitForWindow(const WindowQuery& query, milliseconds timeout = milliseconds(15000));
// Waits until `condition` holds (polled every 10 ms); returns whether it did within `timeout`.
bool WaitUntil(const std::function<bool()>& condition, milliseconds timeout);
std::wstring TitleOf(HWND window);
std::wstring ClassOf(HWND window);
// The visible child or owned windows that show text: the static texts of a message box.
std::wstring AllText(HWND window);

// Input as a person gives it (SendInput; the real cursor moves).
void MoveCursorTo(POINT screen);
// Moves to the client point of `window` in a few steps, presses and releases the left button.
void ClickClient(HWND window, POINT client);
void ClickScreen(POINT screen);
void DoubleClickClient(HWND window, POINT client);
// Key strokes: each virtual key pressed in order and released in reverse (a chord), e.g.
// {VK_MENU, VK_F4}.
void PressChord(const std::vector<WORD>& keys);
// Types text as Unicode characters.
void TypeText(const std::wstring& text);
// Makes `window` the foreground window (keys go to the foreground window's thread).
bool ActivateWindow(HWND window);
// Waits until `window` stops moving and its client area has the given size (a window the system
// is still placing would send clicks astray); false when it did not within `timeout`.
bool WaitUntilSettled(HWND window, int clientWidth, int clientHeight, milliseconds timeout = milliseconds(10000));

// Screenshots: the window as the screen shows it, saved as PNG under BuildFiles::Screenshots().
// Returns the number of distinct colours seen (a blank or black capture has one).
struct Screenshot {
  std::filesystem::path file;
  int width = 0;
  int height = 0;
  size_t distinctColors = 0;
  bool saved = false;
};
Screenshot SaveScreenshot(HWND window, const std::wstring& name);
// Pixels of a rectangle of the screen (row by row, COLORREF), for watching a repaint.
std::vector<COLORREF> CaptureScreenPixels(const RECT& screen);

// The registry of the Wine prefix (the program's 64-bit view).
std::optional<std::wstring> ReadRegistryString(HKEY root, const std::wstring& key, const std::wstring& value);
std::optional<DWORD> ReadRegistryDword(HKEY root, const std::wstring& key, const std::wstring& value);
std::optional<std::vector<BYTE>> ReadRegistryBinary(HKEY root, const std::wstring& key, const std::wstring& value);
void DeleteRegistryValue(HKEY root, const std::wstring& key, const std::wstring& value);
bool WriteRegistryBinary(HKEY root, const std::wstring& key, const std::wstring& value, const std::vector<BYTE>& data);

// A text file's lines (a trace, a log), without line ends; empty when it does not exist.
std::vector<std::string> ReadLines(const std::filesystem::path& file);

// The notification-area icon `id` of `owner`: Wine's explorer keeps the icons of every program
// and answers NIM_MODIFY for an icon it holds with success and for any other with failure.
// Modifying no field (uFlags 0) changes nothing, so the question leaves the icon as it is.
bool TrayIconPresent(HWND owner, UINT id = 0);
// What the notification area posts to the icon's owner for a mouse action on the icon (the
// icon's callback message with the mouse message as lParam).
void PostTrayMouse(HWND owner, UINT callbackMessage, UINT mouseMessage);

}  // namespace nx7::e2e
