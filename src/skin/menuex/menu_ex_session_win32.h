#pragma once
// One open menu of MenuEx.dll: a top-level popup window per open level, drawn from the skin
// pictures, carrying out the menu model (menu_ex_model.h). The library (menu_ex_dll_win32.cpp)
// keeps at most one and routes its windows' messages here.
#include <windows.h>

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "skin/menuex/menu_ex_model.h"

namespace nx7::menuex {

inline constexpr wchar_t kLevelClassName[] = L"NX7MenuExLevel";
// Posted to the top level's window to close the menu from places where windows must not be
// destroyed (activation changes, the mouse hook) or from another thread.
inline constexpr UINT kCloseMessage = WM_APP + 0x51;

struct MenuStyle {
  int itemHeight = 24;
  std::array<COLORREF, 3> text{};             // normal, hot, open
  std::array<std::wstring, kPictureCount> pictures;  // empty: none
};

class MenuSession {
 public:
  MenuSession(HINSTANCE instance, HWND owner, const MenuStyle& style);
  ~MenuSession();
  MenuSession(const MenuSession&) = delete;
  MenuSession& operator=(const MenuSession&) = delete;

  // Builds the model and the top level's window (hidden). False when no window could be made.
  bool Create(MenuTree tree, POINT position);
  // Shows the top level and gives it the keyboard.
  void Show();
  // Destroys every window; the session stays until deleted.
  void DestroyWindows();

  HWND Owner() const { return owner_; }
  HWND Root() const { return windows_.empty() ? nullptr : windows_[0]; }
  bool Owns(HWND window) const;
  const MenuModel& Model() const { return *model_; }

  // What a message asks of the library: its result, and whether the menu ends (with a choice).
  struct Result {
    LRESULT value = 0;
    bool end = false;
    std::optional<size_t> record;  // the chosen entry's record index
    int32_t id = 0;                // ... and its id
  };
  Result Handle(HWND window, UINT message, WPARAM w, LPARAM l);
  // A key of the thread's message loop that did not reach the menu's windows.
  Result Key(UINT virtualKey);

 private:
  Result Apply(const Outcome& outcome);
  void Sync();
  HWND CreateLevelWindow(const layout::Rect& rect);
  void Paint(HWND window, HDC dc);
  void DrawPicture(HDC dc, HDC source, int picture, const RECT& target) const;
  int LevelOf(HWND window) const;
  static layout::Point ScreenPoint(HWND window, LPARAM l);

  HINSTANCE instance_;
  HWND owner_;
  HWND ownerRoot_;
  MenuStyle style_;
  struct Picture {
    HBITMAP bitmap = nullptr;
    int width = 0;
    int height = 0;
  };
  std::array<Picture, kPictureCount> pictures_{};
  HFONT font_ = nullptr;
  std::unique_ptr<MenuModel> model_;
  std::vector<HWND> windows_;      // one per open level
  std::vector<int> windowParent_;  // the level each window shows (its parent node)
  bool destroying_ = false;
};

}  // namespace nx7::menuex
