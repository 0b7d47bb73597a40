#include "skin/skin_look_win32.h"

namespace nx7::win32 {

const SkinLook& SkinLook::ForLayout(bool chinese) {
  static const SkinLook english(false);
  static const SkinLook chineseLook(true);
  return chinese ? chineseLook : english;
}

const SkinLook& SkinLook::Default() { return ForLayout(false); }

HFONT SkinLook::CaptionFont() const {
  std::lock_guard lock(mutex_);
  if (!caption_) {
    caption_.Attach(::CreateFontW(14, 0, 0, 0, 300, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                                  CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FF_SWISS, L"MS Shell Dlg"));
  }
  return caption_.Get();
}

HFONT SkinLook::PopupMenuFont() const {
  std::lock_guard lock(mutex_);
  if (!popupMenu_) {
    popupMenu_.Attach(::CreateFontW(12, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, GB2312_CHARSET, OUT_DEFAULT_PRECIS,
                                    CLIP_DEFAULT_PRECIS, NONANTIALIASED_QUALITY, FF_SWISS, L"Arial"));
  }
  return popupMenu_.Get();
}

HFONT SkinLook::TrayMenuFont() const {
  std::lock_guard lock(mutex_);
  if (!trayMenu_) {
    trayMenu_.Attach(::CreateFontW(14, 0, 0, 0, 500, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                                   CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FF_SWISS, L"Arial"));
  }
  return trayMenu_.Get();
}

HFONT SkinLook::ListFont() const {
  std::lock_guard lock(mutex_);
  if (!list_) {
    list_.Attach(::CreateFontW(14, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                               CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FF_SWISS, L"MS Shell Dlg"));
  }
  return list_.Get();
}

HFONT SkinLook::EditFont(int height) const {
  std::lock_guard lock(mutex_);
  Font& font = editFonts_[height];
  if (!font) {
    font.Attach(::CreateFontW(height, 0, 0, 0, 500, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                              CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FF_SWISS, nullptr));
  }
  return font.Get();
}

}  // namespace nx7::win32
