#include "support/firmware_check.h"

#include <limits>
#include <vector>

#include "device/device_presence.h"
#include "i18n/chinese_text.h"
#include "platform/file_path.h"
#include "support/firmware_sha256.h"

namespace nx7 {

namespace {

bool StartsWithHttps(std::u16string_view address) {
  constexpr std::u16string_view kScheme = u"https://";
  if (address.size() < kScheme.size()) return false;
  for (size_t i = 0; i < kScheme.size(); ++i) {
    char16_t c = address[i];
    if (c >= u'A' && c <= u'Z') c = char16_t(c - u'A' + u'a');
    if (c != kScheme[i]) return false;
  }
  return true;
}

// One run of the check: the paths, the services and what it tells the user.
class Check {
 public:
  Check(const FirmwareCheckServices& services, const std::u16string& programFolder)
      : s_(services),
        programFolder_(programFolder),
        manifestPath_(JoinPathText(programFolder, kLocalManifestPath)),
        imagePath_(JoinPathText(programFolder, kFirmwareImagePath)) {}

  FirmwareCheckResult Run(const std::u16string& manifestAddress, uint32_t mouseVersion, std::u16string& address) {
    // A manifest fetched earlier and never acted on offers its version without asking the server.
    const FirmwareManifest local = ReadManifestFile(manifestPath_);
    if (local.current > mouseVersion) {
      address = local.newfile;
      if (!s_.user.Confirm(FirmwareMessage::UpdateQuestion)) return FirmwareCheckResult::Declined;
      if (ImageOnDiskPasses(local)) return HandOver();
      return FetchImageAndHandOver(local);
    }

    FirmwareManifest server;
    if (!FetchManifest(manifestAddress, server)) return Finish(FirmwareCheckResult::CouldNotCheck);
    address = server.newfile;
    if (server.current <= mouseVersion) return Finish(FirmwareCheckResult::Latest);
    if (!s_.user.Confirm(FirmwareMessage::UpdateQuestion)) return FirmwareCheckResult::Declined;
    return FetchImageAndHandOver(server);
  }

 private:
  FirmwareManifest ReadManifestFile(const std::u16string& path) {
    std::vector<uint8_t> bytes;
    // One byte over the reader's limit, so that it refuses an oversized file instead of reading
    // its beginning.
    if (s_.files.ReadWholeFile(path, CXmlReader::kMaxDocumentBytes + 1, bytes) != FileStatus::Ok) return {};
    return ReadFirmwareManifest(s_.xml, {reinterpret_cast<const char*>(bytes.data()), bytes.size()});
  }

  // The server's manifest, taken as the local one only when it names a version: an error page or
  // a cut-off answer is no answer.
  bool FetchManifest(const std::u16string& manifestAddress, FirmwareManifest& manifest) {
    MakeFolders();
    const std::u16string fetching = manifestPath_ + std::u16string(kFetchingSuffix);
    if (!s_.downloader.DownloadToFile(manifestAddress, fetching)) {
      s_.files.RemoveFile(fetching);
      return false;
    }
    manifest = ReadManifestFile(fetching);
    if (!manifest.hasVersion || s_.files.MoveReplacing(fetching, manifestPath_) != FileStatus::Ok) {
      s_.files.RemoveFile(fetching);
      return false;
    }
    return true;
  }

  // An image on disk counts only when the manifest has a digest it matches; one that does not is
  // deleted, so no later hand-over can take it.
  bool ImageOnDiskPasses(const FirmwareManifest& manifest) {
    if (manifest.sha256.empty()) return false;
    std::vector<uint8_t> image;
    if (!ReadImage(imagePath_, image)) return false;
    if (FirmwareImagePasses(image, manifest, manifest.newfile)) return true;
    s_.files.RemoveFile(imagePath_);
    return false;
  }

  FirmwareCheckResult FetchImageAndHandOver(const FirmwareManifest& manifest) {
    MakeFolders();
    const std::u16string fetching = imagePath_ + std::u16string(kFetchingSuffix);
    std::vector<uint8_t> image;
    if (manifest.newfile.empty() || !s_.downloader.DownloadToFile(manifest.newfile, fetching) ||
        !ReadImage(fetching, image)) {
      s_.files.RemoveFile(fetching);
      return Finish(FirmwareCheckResult::ImageFetchFailed);
    }
    if (!FirmwareImagePasses(image, manifest, manifest.newfile)) {
      s_.files.RemoveFile(fetching);
      return Finish(FirmwareCheckResult::ImageRefused);
    }
    if (s_.files.MoveReplacing(fetching, imagePath_) != FileStatus::Ok) {
      s_.files.RemoveFile(fetching);
      return Finish(FirmwareCheckResult::ImageFetchFailed);
    }
    return HandOver();
  }

  bool ReadImage(const std::u16string& path, std::vector<uint8_t>& image) {
    return s_.files.ReadWholeFile(path, kMaxFirmwareImageBytes + 1, image) == FileStatus::Ok &&
           image.size() <= kMaxFirmwareImageBytes;
  }

  FirmwareCheckResult HandOver() {
    StartFlasher(s_.shell, programFolder_);
    s_.user.CloseProgram();
    return FirmwareCheckResult::HandedOver;
  }

  FirmwareCheckResult Finish(FirmwareCheckResult result) {
    switch (result) {
      case FirmwareCheckResult::Latest: s_.user.Tell(FirmwareMessage::LatestVersion); break;
      case FirmwareCheckResult::CouldNotCheck: s_.user.Tell(FirmwareMessage::CouldNotCheck); break;
      case FirmwareCheckResult::ImageFetchFailed: s_.user.Tell(FirmwareMessage::ImageFetchFailed); break;
      case FirmwareCheckResult::ImageRefused: s_.user.Tell(FirmwareMessage::ImageRefused); break;
      case FirmwareCheckResult::Declined:
      case FirmwareCheckResult::HandedOver: break;
    }
    return result;
  }

  // The download folders, which a fresh installation may lack (each call fails harmlessly when
  // the folder is there).
  void MakeFolders() {
    const std::u16string fwUpdate = JoinPathText(programFolder_, u"FWUpdate");
    s_.files.CreateFolder(fwUpdate);
    s_.files.CreateFolder(JoinPathText(fwUpdate, u"new_version"));
  }

  const FirmwareCheckServices& s_;
  const std::u16string& programFolder_;
  const std::u16string manifestPath_;
  const std::u16string imagePath_;
};

}  // namespace

std::u16string ManifestAddress(IniFile& ini, const std::u16string& programFolder) {
  std::u16string address = ini.ReadString(JoinPathText(programFolder, kUpdateServerIni), kUpdateServerSection,
                                          kUpdateServerKey, u"");
  return address.empty() ? std::u16string(kDefaultManifestAddress) : address;
}

uint32_t FirmwareVersionNumber(std::u16string_view text) {
  size_t at = 0;
  while (at < text.size() && (text[at] == u' ' || text[at] == u'\t' || text[at] == u'\r' || text[at] == u'\n')) ++at;
  uint64_t value = 0;
  for (; at < text.size() && text[at] >= u'0' && text[at] <= u'9'; ++at) {
    value = value * 10 + uint64_t(text[at] - u'0');
    if (value > std::numeric_limits<uint32_t>::max()) return std::numeric_limits<uint32_t>::max();
  }
  return uint32_t(value);
}

FirmwareManifest ReadFirmwareManifest(CXmlReader& xml, std::string_view bytes) {
  xml.LoadFromBytes(bytes);
  FirmwareManifest manifest;
  const std::u16string current = xml.ReadXmlValue(u"firmware", u"current");
  manifest.current = FirmwareVersionNumber(current);
  size_t at = current.find_first_not_of(u" \t\r\n");
  manifest.hasVersion = at != std::u16string::npos && current[at] >= u'0' && current[at] <= u'9';
  manifest.newfile = xml.ReadXmlValue(u"firmware", u"newfile");
  manifest.sha256 = xml.ReadXmlValue(u"firmware", u"sha256");
  if (manifest.sha256.find_first_not_of(u" \t\r\n") == std::u16string::npos) manifest.sha256.clear();
  return manifest;
}

bool FirmwareImagePasses(std::span<const uint8_t> image, const FirmwareManifest& manifest,
                         std::u16string_view address) {
  if (manifest.sha256.empty()) return !image.empty() && StartsWithHttps(address);
  Sha256Digest expected{};
  return ParseSha256Hex(manifest.sha256, expected) && Sha256Of(image) == expected;
}

std::u16string_view FirmwareMessageText(FirmwareMessage message, bool chinese) {
  switch (message) {
    case FirmwareMessage::UpdateQuestion:
      return BilingualText(chinese, u"游戏鼠标固件有更新,是否更新到最新版本?",
                           u"A new version of firmware is available for the gaming mouse, whether to update or not?");
    case FirmwareMessage::LatestVersion:
      return BilingualText(chinese, u"固件已经是最新版本.", u"Firmware is the latest version.");
    case FirmwareMessage::ImageFetchFailed:
      return u"New-version firmware download failed.";
    case FirmwareMessage::CouldNotCheck:
      return BilingualText(chinese, u"无法检查固件更新,请检查网络连接后再试.",
                           u"Could not check for new firmware. Please check the network connection and try again.");
    case FirmwareMessage::ImageRefused:
      return BilingualText(chinese, u"下载的固件未通过校验,已被删除,未进行更新.",
                           u"The downloaded firmware failed the checksum check and was deleted. "
                           u"The update was not started.");
  }
  return {};
}

FirmwareCheckResult CheckFirmware(const FirmwareCheckServices& services, const std::u16string& programFolder,
                                  const std::u16string& manifestAddress, std::u16string_view firmwareVersionText,
                                  std::u16string& firmwareAddress) {
  const uint32_t mouseVersion = FirmwareVersionNumber(firmwareVersionText);
  return Check(services, programFolder).Run(manifestAddress, mouseVersion, firmwareAddress);
}

}  // namespace nx7
