#include "platform/win32/shell_win32.h"

#include <windows.h>
#include <commdlg.h>
#include <mmsystem.h>
#include <shellapi.h>
#include <shlobj.h>

#include <algorithm>
#include <vector>

#include "platform/win32/wide.h"

namespace nx7::win32 {

namespace {

bool ShellOpen(const std::u16string& file, const std::u16string& parameters, int show) {
  HINSTANCE result =
      ShellExecuteW(nullptr, L"open", Wide(file), parameters.empty() ? nullptr : Wide(parameters), nullptr, show);
  // Values above 32 mean success; the rest are error codes.
  return reinterpret_cast<INT_PTR>(result) > 32;
}

// The common dialogs take the filter as NUL-separated pairs ended by two NULs.
std::vector<wchar_t> DialogFilter(const std::u16string& filter) {
  std::vector<wchar_t> out(filter.begin(), filter.end());
  for (wchar_t& c : out)
    if (c == L'|') c = L'\0';
  out.push_back(L'\0');
  out.push_back(L'\0');
  return out;
}

}  // namespace

bool Win32Shell::Open(const std::u16string& file, const std::u16string& parameters) {
  return ShellOpen(file, parameters, SW_SHOWNORMAL);
}

bool Win32Shell::OpenMaximised(const std::u16string& target) { return ShellOpen(target, u"", SW_SHOWMAXIMIZED); }

bool Win32Shell::PlaySoundFile(const std::u16string& file) {
  return PlaySoundW(Wide(file), nullptr, SND_FILENAME | SND_ASYNC) != FALSE;
}

std::optional<std::u16string> Win32Shell::ChooseFile(FileDialogKind kind, const FileDialogOptions& options,
                                                     WindowHandle owner) {
  const std::vector<wchar_t> filter = DialogFilter(options.filter);
  // The dialogs want the extension without its dot.
  std::u16string extension = options.defaultExtension;
  if (!extension.empty() && extension.front() == u'.') extension.erase(0, 1);
  std::vector<wchar_t> path(32768, L'\0');
  std::copy_n(options.initialFileName.begin(), std::min(options.initialFileName.size(), path.size() - 1), path.begin());
  OPENFILENAMEW ofn{};
  ofn.lStructSize = sizeof(ofn);
  ofn.hwndOwner = static_cast<HWND>(owner);
  ofn.lpstrFilter = filter.data();
  ofn.nFilterIndex = 1;
  ofn.lpstrFile = path.data();
  ofn.nMaxFile = DWORD(path.size());
  ofn.lpstrDefExt = extension.empty() ? nullptr : Wide(extension);
  ofn.lpstrInitialDir = options.initialFolder.empty() ? nullptr : Wide(options.initialFolder);
  ofn.Flags = OFN_EXPLORER | OFN_ENABLESIZING;
  if (options.hideReadOnly) ofn.Flags |= OFN_HIDEREADONLY;
  if (options.overwritePrompt) ofn.Flags |= OFN_OVERWRITEPROMPT;
  if (options.keepCurrentFolder) ofn.Flags |= OFN_NOCHANGEDIR;
  const BOOL chosen = kind == FileDialogKind::Open ? GetOpenFileNameW(&ofn) : GetSaveFileNameW(&ofn);
  if (!chosen) return std::nullopt;
  return FromWide(path.data());
}

std::optional<std::u16string> Win32Shell::ChooseFolder(WindowHandle owner) {
  BROWSEINFOW info{};
  info.hwndOwner = static_cast<HWND>(owner);
  PIDLIST_ABSOLUTE chosen = SHBrowseForFolderW(&info);
  if (!chosen) return std::nullopt;
  wchar_t path[MAX_PATH] = {};
  const BOOL isFolder = SHGetPathFromIDListW(chosen, path);
  CoTaskMemFree(chosen);
  if (!isFolder) return std::nullopt;
  return FromWide(path);
}

}  // namespace nx7::win32
