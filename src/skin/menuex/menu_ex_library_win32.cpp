#include "skin/menuex/menu_ex_library_win32.h"

#include <string>

#include "common/text.h"
#include "platform/win32/program_folder_win32.h"
#include "platform/win32/wide.h"

namespace nx7::win32 {

MenuExLibrary::MenuExLibrary(std::wstring path) : path_(std::move(path)) {}

MenuExLibrary::~MenuExLibrary() {
  if (!module_) return;
  // Its windows' procedure lives in the library: no menu may outlive it.
  if (destroy_) destroy_();
  ::FreeLibrary(module_);
}

bool MenuExLibrary::Load() {
  if (status_ != Status::NotLoaded) return Ready();
  module_ = ::LoadLibraryW(path_.c_str());
  if (!module_) {
    loadError_ = ::GetLastError();
    status_ = Status::LibraryMissing;
    return false;
  }
  create_ = reinterpret_cast<menuex::CreateMenuExFn>(reinterpret_cast<void*>(::GetProcAddress(module_, "CreateMenuEx")));
  destroy_ = reinterpret_cast<menuex::DestroyMenuExFn>(reinterpret_cast<void*>(::GetProcAddress(module_, "DestroyMenuEx")));
  preTranslate_ = reinterpret_cast<menuex::DllPreTranslateMessageFn>(
      reinterpret_cast<void*>(::GetProcAddress(module_, "DllPreTranslateMessage")));
  if (!create_ || !destroy_) {
    missingCall_ = !create_ ? "CreateMenuEx" : "DestroyMenuEx";
    create_ = nullptr;
    destroy_ = nullptr;
    preTranslate_ = nullptr;
    ::FreeLibrary(module_);
    module_ = nullptr;
    status_ = Status::CallMissing;
    return false;
  }
  status_ = Status::Loaded;
  return true;
}

std::u16string MenuExLibrary::Problem(bool chinese) const {
  switch (status_) {
    case Status::Loaded:
      return {};
    case Status::NotLoaded:
      return chinese ? u"未加载 MenuEx.dll" : u"MenuEx.dll not loaded";
    case Status::LibraryMissing: {
      const std::u16string error = Utf16FromUtf8(std::to_string(loadError_));
      return chinese ? u"无法加载 MenuEx.dll（错误 " + error + u"）" : u"MenuEx.dll cannot be loaded (error " + error + u")";
    }
    case Status::CallMissing:
      return (chinese ? u"MenuEx.dll 缺少 " : u"MenuEx.dll has no ") + Utf16FromUtf8(missingCall_);
  }
  return {};
}

bool MenuExLibrary::CreateMenu(HWND owner, int itemHeight, POINT position, COLORREF normalText, COLORREF hotText,
                               COLORREF openText, const std::array<std::wstring, menuex::kPictureCount>& pictures,
                               const menuex::MenuExItem* items, int count) const {
  if (!create_) return false;
  return create_(owner, itemHeight, position, normalText, hotText, openText, pictures[0].c_str(), pictures[1].c_str(),
                 pictures[2].c_str(), pictures[3].c_str(), pictures[4].c_str(), pictures[5].c_str(),
                 pictures[6].c_str(), pictures[7].c_str(), items, count) != FALSE;
}

void MenuExLibrary::DestroyMenu() const {
  if (destroy_) destroy_();
}

MenuExLibrary& ProgramMenuExLibrary() {
  // Never deleted: the menu library stays loaded until the process ends.
  static auto* library = [] {
    auto* l = new MenuExLibrary(std::wstring(Wide(ProgramFolder())) + L"\\MenuEx.dll");
    l->Load();
    return l;
  }();
  return *library;
}

std::array<std::wstring, menuex::kPictureCount> CategoryMenuPictures(const std::wstring& programFolder) {
  static constexpr const wchar_t* kNames[menuex::kPictureCount] = {
      L"MenuNorL.BMP",       L"MenuOverL.BMP",       L"MenuDownL.BMP",       L"MenuNorL.BMP",
      L"MenuNorHaveSub.BMP", L"MenuOverHaveSub.BMP", L"MenuDownHaveSub.BMP", L"MenuNorHaveSub.BMP"};
  std::array<std::wstring, menuex::kPictureCount> paths;
  for (size_t i = 0; i < paths.size(); ++i) paths[i] = programFolder + L"\\skins\\Menu\\" + kNames[i];
  return paths;
}

}  // namespace nx7::win32
