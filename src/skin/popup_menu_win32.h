#pragma once
// The skinned popup menu: CWndPopup is a borderless, top-most tool window with per-pixel alpha
// (a layered window updated from one picture: the nine-sliced PNG background, the entries'
// layer over it, the icons on top); CMenuEx fills it with a short vertical list of entries, each
// a small PNG icon and a text. The geometry and the pointer rules are popup_menu_rules.h.
//
// Lifetime: allocate the popup with new and Create it; it deletes itself once its window is
// gone (shortly after, from the message loop, never inside one of its own handlers). The owner
// must forget its pointer when it closes the popup or receives the closing notification; holding
// the window handle and asking ::IsWindow is the safe way to know it is still open.
//
// Notifications to the parent (sent, not posted): when an entry is chosen, the notification
// message given to Create with wParam 0 and lParam the entry's command id; when the popup
// closes, WM_LANGUAGE_SELECTED (0x401) with wParam 0 and lParam 0, whatever the notification
// message. It closes when it loses activation (a click elsewhere), on Escape, and on WM_CLOSE.
#include <windows.h>

#include <string>
#include <vector>

#include "framework/gdiplus_image.h"
#include "framework/window_class.h"
#include "framework/wnd.h"
#include "skin/popup_menu_rules.h"
#include "skin/skin_look_win32.h"

namespace nx7::win32 {

class CWndPopup : public WindowClass<CWndPopup, CWnd> {
 public:
  CWndPopup();
  ~CWndPopup() override;
  static std::span<const MessageEntry> MessageEntries();

  // Creates the popup owned by `parent` at (left, top) of the screen, fills its entries, draws
  // it and shows it (activated). `notifyMessage` is what a chosen entry is reported with.
  bool Create(HWND parent, int left, int top, int right, int bottom, UINT notifyMessage);
  // The background picture, drawn nine-sliced with 32-pixel corners. False when the PNG resource
  // is missing (the popup then keeps no background).
  bool SetBackground(UINT pngResourceId);
  void SetLook(const SkinLook& look) { look_ = &look; }
  const SkinLook& Look() const { return *look_; }
  HWND Parent() const { return parent_; }
  UINT NotifyMessage() const { return notifyMessage_; }

  // The picture last given to the screen (premultiplied 0xAARRGGBB, rows top to bottom).
  struct Frame {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;
    uint32_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
  };
  const Frame& LastFrame() const { return frame_; }
  // Popup objects alive in the process (they delete themselves after closing).
  static int Alive();

 protected:
  // What a subclass supplies; the base draws and reports nothing.
  // The entries' layer: drawn with GDI into `dc` over magenta (see popup_menu_rules.h).
  virtual void DrawLayer(HDC dc, const RECT& client) {}
  // The icons, drawn with GDI+ onto the picture with its alpha.
  virtual void DrawIcons(Gdiplus::GpGraphics* graphics, const RECT& client) {}
  // Called once, when the window has been created.
  virtual void FillEntries() {}
  // Pointer handlers in client coordinates; true when the picture must be drawn again.
  virtual bool OnHover(POINT point) { return false; }
  virtual bool OnPress(POINT point) { return false; }
  virtual bool OnRelease(POINT point) { return false; }

  // Draws the popup and hands the picture to the screen.
  void Render();
  // Resizes the window keeping its place.
  void Resize(int width, int height);
  void OnFinalMessage() override;

 private:
  void OnMouseMove(UINT flags, POINT point);
  LRESULT OnMouseHover(WPARAM, LPARAM);
  void OnMouseLeave();
  void OnLButtonDown(UINT flags, POINT point);
  void OnLButtonUp(UINT flags, POINT point);
  void OnCaptureChanged(HWND newCapture);
  LRESULT OnActivate(WPARAM w, LPARAM);
  void OnKeyDown(UINT key, UINT flags);
  void OnClose();
  LRESULT OnNcCalcSize(WPARAM, LPARAM) { return 0; }
  UINT OnNcHitTest(POINT) { return HTCLIENT; }
  BOOL OnEraseBkgnd(HDC) { return TRUE; }
  void OnPaint();
  POINT CursorInClient() const;

  bool hoverRequested_ = false;
  bool buttonDown_ = false;
  bool holdsCapture_ = false;
  GdiplusImage background_;
  int backgroundWidth_ = 0;
  int backgroundHeight_ = 0;
  POINT position_{};
  UINT notifyMessage_ = 0;
  HWND parent_ = nullptr;
  bool closing_ = false;
  bool deleting_ = false;
  const SkinLook* look_ = &SkinLook::Default();
  Frame frame_;
};

class CMenuEx : public CWndPopup {
 public:
  // Appends an entry with the PNG resource `pngIconId` as its icon (none when missing) and lays
  // the entries out again, resizing the popup.
  void AddEntry(const std::u16string& text, UINT pngIconId, uint32_t commandId);
  const popup::MenuModel& Model() const { return model_; }
  // An entry's text.
  const std::u16string& Text(size_t index) const { return items_[index].text; }

 protected:
  void DrawLayer(HDC dc, const RECT& client) override;
  void DrawIcons(Gdiplus::GpGraphics* graphics, const RECT& client) override;
  bool OnHover(POINT point) override;
  bool OnRelease(POINT point) override;

 private:
  struct Item {
    std::u16string text;
    GdiplusImage icon;
    int iconWidth = 0;
    int iconHeight = 0;
  };
  popup::MenuModel model_;
  std::vector<Item> items_;
};

}  // namespace nx7::win32
