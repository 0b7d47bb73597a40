#include "platform/virtual/virtual_file_system.h"

#include <algorithm>


namespace nx7 {

class VirtualFileSystem::VirtualTemporary final : public TemporaryFile {
 public:
  VirtualTemporary(VirtualFileSystem& fs, std::u16string path) : fs_(fs), path_(std::move(path)) {}

  FileStatus Write(std::span<const uint8_t> data) override {
    FileStatus status;
    try {
      status = fs_.Step(WriteStep::Write);
    } catch (const SimulatedCrash&) {
      Append(data.first(data.size() / 2));
      throw;
    }
    if (status != FileStatus::Ok) {
      Append(data.first(data.size() / 2));
      return status;
    }
    Append(data);
    return FileStatus::Ok;
  }
  FileStatus Flush() override { return fs_.Step(WriteStep::Flush); }
  FileStatus Close() override { return fs_.Step(WriteStep::Close); }

 private:
  void Append(std::span<const uint8_t> data) {
    auto& content = fs_.files_[path_];
    content.insert(content.end(), data.begin(), data.end());
  }
  VirtualFileSystem& fs_;
  std::u16string path_;
};

std::u16string VirtualFileSystem::Normal(std::u16string_view path) {
  std::u16string p(path);
  std::replace(p.begin(), p.end(), u'/', u'\\');
  while (p.size() > 1 && p.back() == u'\\') p.pop_back();
  return p;
}

bool VirtualFileSystem::FolderExists(std::u16string_view folder) const {
  return folder.empty() || folders_.count(std::u16string(folder)) != 0;
}

FileStatus VirtualFileSystem::Fail(FileStatus status, std::string text) {
  lastError_ = std::move(text);
  return status;
}

FileStatus VirtualFileSystem::ReadWholeFile(std::u16string_view path, size_t maxBytes, std::vector<uint8_t>& out) {
  const std::u16string p = Normal(path);
  const auto it = files_.find(p);
  if (it == files_.end()) {
    return FolderExists(ParentFolder(p)) ? Fail(FileStatus::NotFound, "read: file not found")
                                         : Fail(FileStatus::PathNotFound, "read: path not found");
  }
  if (deniedFiles_.count(p)) return Fail(FileStatus::AccessDenied, "read: access denied");
  const size_t n = std::min(maxBytes, it->second.size());
  out.assign(it->second.begin(), it->second.begin() + n);
  return FileStatus::Ok;
}

FileStatus VirtualFileSystem::CreateFolder(std::u16string_view path) {
  const std::u16string p = Normal(path);
  if (folders_.count(p)) return FileStatus::Ok;
  if (files_.count(p)) return Fail(FileStatus::Failed, "create folder: a file has that name");
  const std::u16string_view parent = ParentFolder(p);
  if (!FolderExists(parent)) return Fail(FileStatus::PathNotFound, "create folder: path not found");
  if (deniedFolders_.count(std::u16string(parent))) return Fail(FileStatus::AccessDenied, "create folder: access denied");
  folders_.insert(p);
  return FileStatus::Ok;
}

bool VirtualFileSystem::Exists(std::u16string_view path) {
  const std::u16string p = Normal(path);
  return files_.count(p) != 0 || folders_.count(p) != 0;
}

FileStatus VirtualFileSystem::RemoveFile(std::u16string_view path) {
  const std::u16string p = Normal(path);
  if (!files_.count(p)) {
    return FolderExists(ParentFolder(p)) ? Fail(FileStatus::NotFound, "delete: file not found")
                                         : Fail(FileStatus::PathNotFound, "delete: path not found");
  }
  if (deniedFolders_.count(std::u16string(ParentFolder(p))) || deniedFiles_.count(p)) {
    return Fail(FileStatus::AccessDenied, "delete: access denied");
  }
  files_.erase(p);
  return FileStatus::Ok;
}

void VirtualFileSystem::AddFolder(std::u16string_view path) {
  const std::u16string p = Normal(path);
  if (p.empty()) return;
  AddFolder(ParentFolder(p));
  folders_.insert(p);
}

void VirtualFileSystem::PutFile(std::u16string_view path, std::vector<uint8_t> data) {
  const std::u16string p = Normal(path);
  AddFolder(ParentFolder(p));
  files_[p] = std::move(data);
}

std::optional<std::vector<uint8_t>> VirtualFileSystem::FileContent(std::u16string_view path) const {
  const auto it = files_.find(Normal(path));
  if (it == files_.end()) return std::nullopt;
  return it->second;
}

std::vector<std::u16string> VirtualFileSystem::AllFiles() const {
  std::vector<std::u16string> paths;
  for (const auto& [path, content] : files_) paths.push_back(path);
  return paths;
}

void VirtualFileSystem::FailAt(WriteStep step, FileStatus status, int occurrence) {
  faults_.push_back({step, occurrence, status, false});
}
void VirtualFileSystem::CrashAt(WriteStep step, int occurrence) {
  faults_.push_back({step, occurrence, FileStatus::Failed, true});
}
void VirtualFileSystem::FailAtStepNumber(int step, FileStatus status) {
  faults_.push_back({std::nullopt, step - steps_, status, false});
}
void VirtualFileSystem::CrashAtStepNumber(int step) {
  faults_.push_back({std::nullopt, step - steps_, FileStatus::Failed, true});
}

FileStatus VirtualFileSystem::Step(WriteStep step) {
  ++steps_;
  for (auto it = faults_.begin(); it != faults_.end(); ++it) {
    if (it->step && *it->step != step) continue;
    if (--it->countdown > 0) continue;
    const Fault fault = *it;
    faults_.erase(it);
    if (fault.crash) throw SimulatedCrash();
    return Fail(fault.status, "injected fault");
  }
  return FileStatus::Ok;
}

FileStatus VirtualFileSystem::CreateTemporary(std::u16string_view target, std::u16string& tempPath,
                                              std::unique_ptr<TemporaryFile>& file) {
  const std::u16string t = Normal(target);
  const std::u16string folder(ParentFolder(t));
  if (!FolderExists(folder)) return Fail(FileStatus::PathNotFound, "create temporary: path not found");
  if (deniedFolders_.count(folder)) return Fail(FileStatus::AccessDenied, "create temporary: access denied");
  const FileStatus status = Step(WriteStep::Create);
  if (status != FileStatus::Ok) return status;
  // As the real file systems do: a fixed name beside the target, reused after a crash.
  tempPath = t + u".tmp";
  files_[tempPath] = {};
  file = std::make_unique<VirtualTemporary>(*this, tempPath);
  return FileStatus::Ok;
}

FileStatus VirtualFileSystem::Replace(std::u16string_view tempPath, std::u16string_view target) {
  const std::u16string t = Normal(target);
  if (deniedFiles_.count(t)) return Fail(FileStatus::AccessDenied, "replace: access denied");
  const FileStatus status = Step(WriteStep::Replace);
  if (status != FileStatus::Ok) return status;
  auto node = files_.extract(Normal(tempPath));
  if (node.empty()) return Fail(FileStatus::Failed, "replace: temporary file missing");
  files_[t] = std::move(node.mapped());
  return FileStatus::Ok;
}

void VirtualFileSystem::DiscardTemporary(std::u16string_view tempPath) { files_.erase(Normal(tempPath)); }

}  // namespace nx7
