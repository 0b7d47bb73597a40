#pragma once
// The firmware check behind the support page's update button, without the window: it compares
// the mouse's firmware version with the update manifest's, fetches the manifest and the firmware
// image when needed, and hands a checked image to the flashing tool, after which the program
// closes so that the tool has the mouse to itself. Questions and messages go through
// FirmwareCheckUser; the window implementation shows them in the program's message box.
//
// Files below the program folder:
//   FWUpdate\new_version\update.xml           the update manifest (firmware/current, newfile, sha256)
//   FWUpdate\new_version\VornaGameDevice.bin  the firmware image the flashing tool takes
// Both are first fetched under the same name with ".download" appended and take their real name
// only once they have been read and checked, so a failed or refused fetch never replaces them.
//
// An image passes its check when the manifest's `sha256` (64 hexadecimal digits) is its SHA-256,
// or, for a manifest without `sha256`, when it is not empty and came over HTTPS. An image that does
// not pass is deleted and never handed over. The flashing tool is started only after an image
// passed: one just fetched, or one already on disk that matches the local manifest's `sha256`.
//
// The manifest's address is kDefaultManifestAddress unless "<program folder>\UpdateServer.ini"
// names another one in [Firmware] ManifestUrl=... (tests, mirrors).
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "i18n/xml_reader.h"
#include "platform/downloader.h"
#include "platform/file_system.h"
#include "platform/ini_file.h"
#include "platform/shell.h"

namespace nx7 {

inline constexpr std::u16string_view kLocalManifestPath = u"FWUpdate\\new_version\\update.xml";
inline constexpr std::u16string_view kFirmwareImagePath = u"FWUpdate\\new_version\\VornaGameDevice.bin";
// Appended to a file's name while it is fetched and not yet checked.
inline constexpr std::u16string_view kFetchingSuffix = u".download";

inline constexpr std::u16string_view kDefaultManifestAddress =
    u"https://update.vorna-gaming.com/software/nx7/update.xml";
inline constexpr std::u16string_view kUpdateServerIni = u"UpdateServer.ini";
inline constexpr std::u16string_view kUpdateServerSection = u"Firmware";
inline constexpr std::u16string_view kUpdateServerKey = u"ManifestUrl";

// Firmware images larger than this are refused unread (the mouse's are a few tens of KB).
inline constexpr size_t kMaxFirmwareImageBytes = 16 * 1024 * 1024;

// The manifest address: the INI entry beside the program when it is set, else the default.
std::u16string ManifestAddress(IniFile& ini, const std::u16string& programFolder);

// A version as the manifest and the mouse give it: the number in the text's leading decimal
// digits (after blanks), 0 when there are none; values beyond 32 bits stay at the largest.
uint32_t FirmwareVersionNumber(std::u16string_view text);

struct FirmwareManifest {
  bool hasVersion = false;  // `current` holds a number
  uint32_t current = 0;
  std::u16string newfile;  // the image's address
  std::u16string sha256;   // as written; empty when the manifest gives none
};
// Reads firmware/current, newfile and sha256 from a manifest's bytes with the program's XML
// reader. Missing elements read as empty (a version of 0).
FirmwareManifest ReadFirmwareManifest(CXmlReader& xml, std::string_view bytes);

// Whether `image`, fetched from `address`, passes the check `manifest` sets (see above).
bool FirmwareImagePasses(std::span<const uint8_t> image, const FirmwareManifest& manifest,
                         std::u16string_view address);

enum class FirmwareMessage {
  UpdateQuestion,     // "A new version of firmware is available ..." (OK and Cancel)
  LatestVersion,      // "Firmware is the latest version."
  ImageFetchFailed,   // "New-version firmware download failed."
  CouldNotCheck,      // the server or its manifest could not be reached or read
  ImageRefused,       // the image failed its check and was deleted
};
// The message's text in the display language.
std::u16string_view FirmwareMessageText(FirmwareMessage message, bool chinese);

// What the check asks of the page.
class FirmwareCheckUser {
 public:
  virtual ~FirmwareCheckUser() = default;
  // The question in a box with OK and Cancel; true for OK.
  virtual bool Confirm(FirmwareMessage question) = 0;
  // The message in a box with one OK button.
  virtual void Tell(FirmwareMessage message) = 0;
  // Ends the program through its normal shut-down (WM_CLOSE to the main window).
  virtual void CloseProgram() = 0;
};

struct FirmwareCheckServices {
  FileSystem& files;
  CXmlReader& xml;
  Downloader& downloader;
  Shell& shell;
  FirmwareCheckUser& user;
};

enum class FirmwareCheckResult {
  Declined,         // the user answered Cancel
  Latest,           // the server announces no newer version
  CouldNotCheck,    // no readable manifest came from the server
  ImageFetchFailed, // the image could not be fetched or put in place
  ImageRefused,     // the image failed its check
  HandedOver,       // the flashing tool was started and the program asked to close
};

// The check, run to its end. `firmwareVersionText` is the mouse's version (decimal digits, empty
// when unknown); `firmwareAddress` is the page's kept image address, set from each manifest read.
FirmwareCheckResult CheckFirmware(const FirmwareCheckServices& services, const std::u16string& programFolder,
                                  const std::u16string& manifestAddress, std::u16string_view firmwareVersionText,
                                  std::u16string& firmwareAddress);

}  // namespace nx7
