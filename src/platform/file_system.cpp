#include "platform/file_system.h"

#include <string>

#include "common/text.h"
#include "platform/file_bytes.h"

namespace nx7 {

FileStatus FileSystem::WriteWholeFile(std::u16string_view path, std::span<const uint8_t> data) {
  std::u16string tempPath;
  std::unique_ptr<TemporaryFile> file;
  FileStatus status = CreateTemporary(path, tempPath, file);
  if (status != FileStatus::Ok) return status;
  status = file->Write(data);
  if (status == FileStatus::Ok) status = file->Flush();
  // Closed before the replace: Windows cannot move a file that is still open.
  const FileStatus closed = file->Close();
  if (status == FileStatus::Ok) status = closed;
  file.reset();
  if (status == FileStatus::Ok) status = Replace(tempPath, path);
  if (status != FileStatus::Ok) DiscardTemporary(tempPath);
  return status;
}

std::u16string_view ParentFolder(std::u16string_view path) {
  const size_t cut = path.find_last_of(u"\\/");
  return cut == std::u16string_view::npos ? std::u16string_view() : path.substr(0, cut);
}

std::u16string FileTooLargeText(uintmax_t maxBytes) {
  return u"File too large: more than " + Utf16FromUtf8(std::to_string(maxBytes)) + u" bytes";
}

}  // namespace nx7
