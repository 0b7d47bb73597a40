#pragma once
// The support page's work that needs no window: importing a profile file over the settings block,
// exporting the block as a profile file, the file dialogs' options, the version texts and the
// maker's web address. The page (dlg_support_win32.h) shows the dialogs and the messages.
#include <string>
#include <string_view>

#include "platform/file_system.h"
#include "platform/shell.h"
#include "store/settings_block.h"

namespace nx7 {

// Both dialogs offer .cfg files; the open dialog also leaves the current folder alone.
FileDialogOptions ProfileFileDialogOptions(FileDialogKind kind);

// What an import or export did, and the text of the "Info" box that says so.
struct ProfileTransfer {
  bool succeeded = false;
  std::u16string message;
};

// Reads up to 22252 bytes of `path` into a zero-filled block image. A file that cannot be read,
// or whose first four bytes are not the settings magic, leaves `block` untouched ("%s is an
// invaild Profile!"); otherwise the image replaces the whole block ("%s import success!"), so the
// part a short file lacks becomes zeros and the bytes past 22252 of a long one are ignored.
ProfileTransfer ImportProfile(FileSystem& files, std::u16string_view path, SettingsBlock& block);

// Writes the block's 22252 bytes as the file `path`, replacing an existing one crash-safely: a
// failed export leaves the file as it was ("%s export failed!", else "%s export success!").
ProfileTransfer ExportProfile(FileSystem& files, std::u16string_view path, const SettingsBlock& block);

// The program version the page shows.
inline constexpr char16_t kProgramVersionText[] = u"V1.0.0";

// The firmware version as the page shows it, from the mouse's version in decimal digits:
// "Unknown" for none, "V 0.0.d" for one digit, "V 0.a.b" for two, and for three or more
// "V x.a.b" with the last two digits as a and b and all the leading ones as x (123 is
// "V 1.2.3", 1234 is "V 12.3.4").
std::u16string FirmwareVersionDisplay(const std::u16string& digits);

// The maker's web site, a host name the shell opens in the user's browser.
inline constexpr char16_t kMakerWebAddress[] = u"www.vorna.com";

// The restore-defaults question of the confirmation box.
std::u16string RestoreDefaultsQuestion(bool chineseText);

}  // namespace nx7
