#pragma once
// The five pages of the main window: child dialogs on templates 103 to 107, each drawing its own
// skin background (the page's normal picture) and keeping its pressed and hover pictures for the
// buttons cut from them. The main window creates them once, moves them into its page area and
// calls the members below; the pages' own controls are built by their pages' classes.
#include <windows.h>

#include <string>

#include "app/app_context.h"
#include "framework/dialog.h"
#include "framework/double_buffer.h"
#include "framework/window_class.h"
#include "skin/skin_images_win32.h"

namespace nx7::win32 {

// The part every page shares: its three skin pictures and its background.
class CSkinPage : public WindowClass<CSkinPage, CDialogEx, DoubleBufferedPaint<CSkinPage>> {
 public:
  // `skinFiles` are the normal, pressed and hover pictures below the program folder.
  CSkinPage(UINT templateId, AppContext& app, const char16_t* normal, const char16_t* down, const char16_t* over);
  ~CSkinPage() override { DestroyWindow(); }
  static std::span<const MessageEntry> MessageEntries();

  // Creates the page as a hidden child of `mainWindow` over `pageArea` (main-window client
  // coordinates).
  bool CreatePage(HWND mainWindow, const RECT& pageArea);
  // Whether the page's normal picture was found.
  bool HasBackground() const { return normal_ && *normal_; }
  // Loads the pressed and hover pictures the page's buttons are cut from, on first use: a page
  // without buttons holds only its background (each picture is a whole page, 1.7 MB).
  void LoadButtonPictures();
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
};

// Performance page (template 103).
class CDlgMainSet : public CSkinPage {
 public:
  explicit CDlgMainSet(AppContext& app);
  ~CDlgMainSet() override { DestroyWindow(); }
  // Shows the settings block again (at start and whenever the block is replaced).
  void Reload();
  // Takes the wheel-lines box's number into the settings block before a download.
  void CommitWheelLines();
  unsigned ReloadCount() const { return reloads_; }

 private:
  unsigned reloads_ = 0;
};

// Lighting page (template 104).
class CDlgLEDSet : public CSkinPage {
 public:
  explicit CDlgLEDSet(AppContext& app);
  ~CDlgLEDSet() override { DestroyWindow(); }
  void Reload();
  unsigned ReloadCount() const { return reloads_; }

 private:
  unsigned reloads_ = 0;
};

// Macro page (template 105).
class CDlgMacro : public CSkinPage {
 public:
  explicit CDlgMacro(AppContext& app);
  ~CDlgMacro() override { DestroyWindow(); }
  // Whether the page records keys from the keyboard hook now.
  bool Recording() const;
  // The record button's toggle: starts or stops recording.
  void ToggleRecord();
  // Takes an edit still open in the event list into the macro before a download.
  void CommitPendingEdit();
  // Closes the category menu if it is open.
  void CloseCategoryMenu();

 protected:
  BOOL OnInitDialog() override;
};

// Statistics page (template 106).
class CDlgSts : public CSkinPage {
 public:
  explicit CDlgSts(AppContext& app);
  ~CDlgSts() override { DestroyWindow(); }
};

// Support page (template 107).
class CDlgSupport : public CSkinPage {
 public:
  explicit CDlgSupport(AppContext& app);
  ~CDlgSupport() override { DestroyWindow(); }
  // The connected mouse's firmware version as decimal digits, empty when unknown.
  void SetFirmwareVersionText(std::u16string text);
  const std::u16string& FirmwareVersionText() const { return firmwareVersionText_; }

 private:
  void PaintOver(HDC dc) override;
  std::u16string firmwareVersionText_;
};

}  // namespace nx7::win32
