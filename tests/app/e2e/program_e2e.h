#pragma once
// What the end-to-end tests of NX7Driver.exe know of the program: its window titles, registry
// keys and where its controls stand, and the readings every case makes (a part of a window on
// the screen, the reports of a trace, a message box's body) and the wheel steps it sends.
#include <windows.h>

#include <filesystem>
#include <string>
#include <vector>

#include "harness.h"
#include "skin/dlg_info_win32.h"

namespace nx7::e2e {

inline constexpr wchar_t kTitle[] = L"Vorna NX7 Gaming Mouse Driver";
inline constexpr wchar_t kProgressTitle[] = L"VornaNX7ProcessDlg";
inline constexpr wchar_t kInfoTitle[] = L"VornaNX7InfoDlg";
inline constexpr wchar_t kKey[] = L"Software\\VORNA\\NX7";
inline constexpr wchar_t kLanguageKey[] = L"Software\\VORNA\\NX7\\LANGUAGE";
inline constexpr int kEnglish = 2, kChinese = 1;
// In the main window's client area.
inline constexpr POINT kTab[5] = {{115, 103}, {294, 103}, {478, 103}, {663, 103}, {843, 103}};
inline constexpr POINT kProfile[5] = {{378, 621}, {475, 621}, {570, 621}, {665, 621}, {760, 621}};
inline constexpr POINT kApply{882, 611};
inline constexpr POINT kPageCorner{15, 128};
// The body of a message box (icon and text, between the title bar and the buttons).
inline constexpr RECT kMessageBody{20, win32::CDlgInfo::kTextAreaTop, 325, win32::CDlgInfo::kTextAreaBottom};

// Starts `program` in `folder` with `arguments` (the stand-ins logging into the folder) and waits,
// as a person does before the first click, until its main window shows, settles at its size and
// is active, and `pause` more. Null, and a failure of the test, when it does not start or show.
HWND StartAndShowProgram(Process& process, const ProgramFolder& folder, const std::filesystem::path& program,
                         const std::vector<std::wstring>& arguments, milliseconds pause = milliseconds(200));
// The pixels of `client` (client coordinates of `window`) as the screen shows them.
std::vector<COLORREF> CaptureClient(HWND window, const RECT& client);
// The report lines of a trace from line `from` on (the pauses between them are the virtual
// mouse's, not compared).
std::vector<std::string> Reports(const std::vector<std::string>& trace, size_t from = 0);
// The lines of `file` once nothing has been added to it for `quiet` (ten seconds at the most).
std::vector<std::string> SettledLines(const std::filesystem::path& file, milliseconds quiet = milliseconds(600));
// The body of the program's message box showing `text`, as this process's own box draws it: the
// program's box shows that text exactly when its body looks the same.
std::vector<COLORREF> ReferenceMessageBody(const std::u16string& text, bool chinese = false, bool twoButtons = false);
// What `nx7ctl apply` sends to the virtual mouse for `profile` (relative to the program folder),
// with the folder's Macro.cfg when it has one and `macroIds` when given; nothing when nx7ctl fails,
// which fails the test unless `mustWork` is false.
std::vector<std::string> Nx7ctlApplyReports(const ProgramFolder& folder, const std::filesystem::path& profile,
                                            const std::wstring& macroIds = {}, bool mustWork = true);
// `steps` forward steps of the wheel over the desktop, 100 ms apart, as a person turns it; then
// the stand-in's log once it has as many lines (ten seconds at the most) and half a second more,
// in which a launch too many would show.
std::vector<std::string> LaunchesOfWheelSteps(const ProgramFolder& folder, int steps);

}  // namespace nx7::e2e
