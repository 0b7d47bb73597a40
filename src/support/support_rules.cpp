#include "support/support_rules.h"

#include <vector>

#include "common/bytes.h"
#include "common/text.h"

namespace nx7 {

FileDialogOptions ProfileFileDialogOptions(FileDialogKind kind) {
  FileDialogOptions options;
  options.filter = u"CFG Files(*.cfg)|*.cfg||";
  options.defaultExtension = u".cfg";
  options.hideReadOnly = true;
  options.overwritePrompt = true;
  options.keepCurrentFolder = kind == FileDialogKind::Open;
  return options;
}

ProfileTransfer ImportProfile(FileSystem& files, std::u16string_view path, SettingsBlock& block) {
  std::vector<uint8_t> image;
  const FileStatus read = files.ReadWholeFile(path, kSettingsBlockSize, image);
  // The image is zero-filled past the file's end: a file of fewer than four bytes has no magic.
  if (read != FileStatus::Ok || image.size() < 4 || ReadLe32(image.data()) != kSettingsMagic) return {false, FormatCatalogueText(u"%s is an invaild Profile!", path)};
  DeserialiseSettingsBlock(image, block);
  return {true, FormatCatalogueText(u"%s import success!", path)};
}

ProfileTransfer ExportProfile(FileSystem& files, std::u16string_view path, const SettingsBlock& block) {
  const auto image = SerialiseSettingsBlock(block);
  if (files.WriteWholeFile(path, image) != FileStatus::Ok)
    return {false, FormatCatalogueText(u"%s export failed!", path)};
  return {true, FormatCatalogueText(u"%s export success!", path)};
}

std::u16string FirmwareVersionDisplay(const std::u16string& digits) {
  if (digits.empty()) return u"Unknown";
  const size_t n = digits.size();
  const std::u16string last(1, digits[n - 1]);
  const std::u16string middle = n >= 2 ? std::u16string(1, digits[n - 2]) : u"0";
  const std::u16string first = n >= 3 ? digits.substr(0, n - 2) : u"0";
  return u"V " + first + u"." + middle + u"." + last;
}

std::u16string RestoreDefaultsQuestion(bool chineseText) {
  return chineseText ? u"确定要恢复默认设置?" : u"Do you want to restore the default setting?";
}

}  // namespace nx7
