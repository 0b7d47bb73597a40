#pragma once
// The shell as the program uses it: starting a program or opening a document, folder or web
// address with the "open" verb, playing a sound file, the system's file-open and file-save
// dialogs and its folder browser. Open and PlaySoundFile never wait for what they started; callers ignore their results,
// which are reported only so that tests and diagnostics can tell a refusal apart.
//
// Implementations: win32/shell_win32.h (ShellExecuteW, PlaySoundW, GetOpenFileNameW,
// GetSaveFileNameW and SHBrowseForFolderW) and virtual/recording_shell.h.
#include <optional>
#include <string>

#include "platform/message_poster.h"  // WindowHandle

namespace nx7 {

enum class FileDialogKind { Open, Save };

// What a file dialog offers and how it behaves.
struct FileDialogOptions {
  // Pairs of description and pattern separated by '|', ended by "||": "CFG Files(*.cfg)|*.cfg||".
  std::u16string filter;
  // Added to a typed name that has no extension; a leading '.' is allowed and ignored.
  std::u16string defaultExtension;
  bool hideReadOnly = false;       // no "open as read-only" box
  bool overwritePrompt = false;    // choosing an existing file to save over asks first
  bool keepCurrentFolder = false;  // browsing leaves the process's current folder as it was
  std::u16string initialFileName;  // the name box's text when the dialog opens ("*.exe" ...)
  std::u16string initialFolder;    // where browsing starts; the system's choice when empty
  bool operator==(const FileDialogOptions&) const = default;
};

class Shell {
 public:
  virtual ~Shell() = default;
  // "open" on `file` (a program, document or folder, taken as given, quotes included) with
  // `parameters` (none when empty), no owner window, no working folder, a normal window.
  // True when the shell reports that it started or opened it.
  virtual bool Open(const std::u16string& file, const std::u16string& parameters) = 0;
  // "open" on `target` (a document or a web address) without parameters, shown maximised.
  virtual bool OpenMaximised(const std::u16string& target) = 0;
  // Starts playing the sound file `file` and returns at once. True when playing started.
  virtual bool PlaySoundFile(const std::u16string& file) = 0;
  // Shows the system's file dialog of `kind` over `owner` (null for none) and waits for the
  // user: the chosen file's full path, or nothing when the user cancels (or the dialog fails).
  virtual std::optional<std::u16string> ChooseFile(FileDialogKind kind, const FileDialogOptions& options,
                                                   WindowHandle owner) = 0;
  // Shows the system's folder browser over `owner` and waits for the user: the chosen folder's
  // path, or nothing when the user cancels or chooses something that is not a file-system folder.
  virtual std::optional<std::u16string> ChooseFolder(WindowHandle owner) = 0;
};

}  // namespace nx7
