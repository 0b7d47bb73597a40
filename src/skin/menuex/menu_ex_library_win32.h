#pragma once
// The program's side of MenuEx.dll: loads the library once with LoadLibraryW and resolves its
// three calls. A missing library or call is no reason to close anything: the pages ask Problem()
// and show why the menu is unavailable.
#include <windows.h>

#include <array>
#include <string>

#include "skin/menuex/menu_ex.h"

namespace nx7::win32 {

class MenuExLibrary {
 public:
  enum class Status { NotLoaded, Loaded, LibraryMissing, CallMissing };

  // `path`: the library file, loaded at the first Load().
  explicit MenuExLibrary(std::wstring path);
  // Closes a menu still open and frees the library.
  ~MenuExLibrary();
  MenuExLibrary(const MenuExLibrary&) = delete;
  MenuExLibrary& operator=(const MenuExLibrary&) = delete;

  // Loads the library and resolves CreateMenuEx, DestroyMenuEx and DllPreTranslateMessage; only
  // the first two are needed. Later calls return the first outcome. True when the menu can open.
  bool Load();
  Status State() const { return status_; }
  bool Ready() const { return status_ == Status::Loaded; }
  // Why the menu cannot open, in English or Chinese; empty when it can.
  std::u16string Problem(bool chinese) const;

  // The library's calls (menu_ex.h); false or nothing when not loaded.
  bool CreateMenu(HWND owner, int itemHeight, POINT position, COLORREF normalText, COLORREF hotText,
                  COLORREF openText, const std::array<std::wstring, menuex::kPictureCount>& pictures,
                  const menuex::MenuExItem* items, int count) const;
  void DestroyMenu() const;
  // Null when the library does not export it (nothing needs it).
  menuex::DllPreTranslateMessageFn PreTranslate() const { return preTranslate_; }

 private:
  std::wstring path_;
  Status status_ = Status::NotLoaded;
  const char* missingCall_ = "";
  DWORD loadError_ = 0;
  HMODULE module_ = nullptr;
  menuex::CreateMenuExFn create_ = nullptr;
  menuex::DestroyMenuExFn destroy_ = nullptr;
  menuex::DllPreTranslateMessageFn preTranslate_ = nullptr;
};

// The process's library, "<program folder>\MenuEx.dll", loaded at the first call and kept until
// the process ends.
MenuExLibrary& ProgramMenuExLibrary();

// The eight picture paths of the category menu: "<folder>\skins\Menu\<name>", in the order of
// the call (normal, over, down, open; then the same with the submenu arrow).
std::array<std::wstring, menuex::kPictureCount> CategoryMenuPictures(const std::wstring& programFolder);

}  // namespace nx7::win32
