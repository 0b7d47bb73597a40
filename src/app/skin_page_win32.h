#pragma once
// What the five pages of the main window share: child dialogs on templates 103 to 107, each
// drawing its own skin background (the page's normal picture) and keeping its pressed and hover
// pictures for the buttons cut from them. The main window creates them once, moves them into its
// page area and calls the members each page class adds.
#include <windows.h>

#include <optional>
#include <string>

#include "app/app_context.h"
#include "framework/dialog.h"
#include "framework/double_buffer.h"
#include "framework/window_class.h"
#include "skin/skin_images_win32.h"

namespace nx7::win32 {

// A page's normal, pressed and hover pictures: file names below the skins folder.
struct SkinPageFiles {
  const char16_t* normal;
  const char16_t* down;
  const char16_t* over;
};

// The part every page shares: its three skin pictures and its background.
class CSkinPage : public WindowClass<CSkinPage, CDialogEx, DoubleBufferedPaint<CSkinPage>> {
 public:
  // `skinFiles` are the normal, pressed and hover pictures below the program folder.
  CSkinPage(UINT templateId, AppContext& app, const char16_t* normal, const char16_t* down, const char16_t* over);
  CSkinPage(UINT templateId, AppContext& app, const SkinPageFiles& files)
      : CSkinPage(templateId, app, files.normal, files.down, files.over) {}
  ~CSkinPage() override { DestroyWindow(); }
  static std::span<const MessageEntry> MessageEntries();

  // Creates the page as a hidden child of `mainWindow` over `pageArea` (main-window client
  // coordinates), its controls placed in the Chinese or the English layout: the one the main
  // window was laid out in, or without it the current language's.
  bool CreatePage(HWND mainWindow, const RECT& pageArea, std::optional<bool> chineseLayout = std::nullopt);
  bool ChineseLayout() const { return chineseLayout_; }
  // Whether the page's normal picture was found.
  bool HasBackground() const { return normal_ && *normal_; }
  // Loads the pressed and hover pictures the page's buttons are cut from, on first use: a page
  // without buttons holds only its background (each picture is a whole page, 1.7 MB).
  void LoadButtonPictures();
  // Lets the pressed and hover pictures go once the buttons have cut their pieces from them.
  void DropButtonPictures() {
    down_.reset();
    over_.reset();
  }
  HWND MainWindow() const { return mainWindow_; }

 protected:
  BOOL OnInitDialog() override;
  // Drawn over the background; the page's own texts.
  virtual void PaintOver(HDC) {}
  AppContext& app_;
  SharedSkinBitmap normal_, down_, over_;

 private:
  friend DoubleBufferedPaint<CSkinPage>;
  void Paint(HDC dc);
  std::u16string files_[3];
  HWND mainWindow_ = nullptr;
  bool chineseLayout_ = false;
};

}  // namespace nx7::win32
