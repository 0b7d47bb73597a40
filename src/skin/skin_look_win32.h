#pragma once
// SkinLook: the shared look of one layout (English or Chinese): the fonts, the text colours and
// the shared pictures every skinned control of that layout draws with. One look per layout lives
// for the whole run, like the system's stock objects: its fonts and pictures are made on first
// use and never change. A window hands the look of its layout to its controls (SetLook); a
// control that was given none draws with the English look (the fonts are the same in both
// layouts). Controls keep no fonts of their own.
#include <windows.h>

#include <map>
#include <mutex>

#include "framework/handles.h"
#include "skin/skin_images_win32.h"

namespace nx7::win32 {

class SkinLook {
 public:
  // Text colours of the skinned controls.
  struct ButtonText {
    COLORREF normal;
    COLORREF hover;
    COLORREF pressed;
    COLORREF disabled;
  };
  static constexpr ButtonText kButtonText{RGB(189, 189, 200), RGB(255, 255, 255), RGB(38, 29, 5), RGB(38, 42, 39)};
  static constexpr COLORREF kEditText = RGB(88, 95, 103);
  static constexpr COLORREF kMessageText = 0x676153;

  explicit SkinLook(bool chinese) : chinese_(chinese) {}
  SkinLook(const SkinLook&) = delete;
  SkinLook& operator=(const SkinLook&) = delete;

  // The look of one layout, and the one of a control that was given none.
  static const SkinLook& ForLayout(bool chinese);
  static const SkinLook& Default();

  bool Chinese() const { return chinese_; }
  // Button captions and the message box's text: 14 pixels, light, the dialog face.
  HFONT CaptionFont() const;
  // Edit fields: `height` pixels, medium weight, the system's default face.
  HFONT EditFont(int height) const;
  // The popup menu's entries: Arial, 12 pixels, GB2312 character set. Drawn without smoothing:
  // the entries' layer is keyed on magenta, which smoothed edges would carry into the picture.
  HFONT PopupMenuFont() const;
  // The tray menu's items: Arial, 14 pixels, medium weight.
  HFONT TrayMenuFont() const;
  // The skinned list box's items and their in-place edit: 14 pixels, normal weight, the dialog face.
  HFONT ListFont() const;
  const ButtonText& ButtonTextColors() const { return kButtonText; }
  COLORREF EditText() const { return kEditText; }
  COLORREF MessageText() const { return kMessageText; }
  // A picture of the program's resources, loaded once and shared by every window using it.
  SharedSkinBitmap Picture(UINT resourceId) const { return SharedResourceBitmap(resourceId); }

 private:
  bool chinese_;
  mutable std::mutex mutex_;
  mutable Font caption_;
  mutable Font popupMenu_;
  mutable Font trayMenu_;
  mutable Font list_;
  mutable std::map<int, Font> editFonts_;
};

}  // namespace nx7::win32
