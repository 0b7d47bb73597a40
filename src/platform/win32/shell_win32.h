#pragma once
// Shell over ShellExecuteW ("open", no owner window, SW_SHOWNORMAL or SW_SHOWMAXIMIZED),
// PlaySoundW (SND_FILENAME | SND_ASYNC), the Explorer-style common file dialogs
// (GetOpenFileNameW, GetSaveFileNameW) and the folder browser (SHBrowseForFolderW). Call from a thread that has initialised COM, as
// ShellExecuteW asks; the file dialogs run a modal loop on the calling thread.
#include "platform/shell.h"

namespace nx7::win32 {

class Win32Shell final : public Shell {
 public:
  bool Open(const std::u16string& file, const std::u16string& parameters) override;
  bool OpenMaximised(const std::u16string& target) override;
  bool PlaySoundFile(const std::u16string& file) override;
  std::optional<std::u16string> ChooseFile(FileDialogKind kind, const FileDialogOptions& options,
                                           WindowHandle owner) override;
  std::optional<std::u16string> ChooseFolder(WindowHandle owner) override;
};

}  // namespace nx7::win32
