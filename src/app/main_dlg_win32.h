#pragma once
// CNX70DriverDlg: the main window. A fixed-size skinned window without a system frame holding the
// five pages, the page tabs, the five profile buttons, apply, minimise, close and the language
// button, the hint line and the tray icon. It owns the device session, the download worker and
// the progress dialog, and carries out what the stores and the device presence decide.
//
// Its initialisation is the program's start-up (the order matters: see OnInitDialog); WM_CLOSE
// is the shut-down. The close button and Alt+F4 only hide it to the tray.
#include <windows.h>
#include <shellapi.h>

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/app_context.h"
#include "app/messages.h"
#include "app/pages_win32.h"
#include "app/posting_download_windows.h"
#include "app/program_services_win32.h"
#include "app/progress_dlg_win32.h"
#include "app/startup_steps_win32.h"
#include "device/device_presence.h"
#include "device/download_worker.h"
#include "device/session_host_win32.h"
#include "device/usb_driver.h"
#include "download/download_service.h"
#include "framework/dialog.h"
#include "framework/double_buffer.h"
#include "framework/message_loop.h"
#include "framework/timer_source.h"
#include "framework/window_class.h"
#include "platform/win32/device_notification_win32.h"
#include "skin/gdi_bitmap_btn_win32.h"
#include "skin/irr_button_win32.h"
#include "skin/skin_images_win32.h"
#include "skin/skin_prefetch_win32.h"
#include "skin/xp_menu_win32.h"
#include "store/store_outcome.h"

namespace nx7::win32 {

inline constexpr wchar_t kMainWindowTitle[] = L"Vorna NX7 Gaming Mouse Driver";
// Tray menu commands.
inline constexpr UINT kTrayConfigCommand = 0x6000;
inline constexpr UINT kTrayExitCommand = 0x6001;
inline constexpr UINT_PTR kUpdaterTimerId = 4;
inline constexpr UINT kUpdaterDelayMs = 3000;
inline constexpr int kOpenAttempts = 10;
inline constexpr uint32_t kOpenAttemptPauseMs = 500;
// With --virtual only: the virtual mouse leaves (wParam 0) or comes back (wParam 1); the change
// then reaches the window as the system's WM_DEVICECHANGE would. Posted by tests from outside.
inline constexpr UINT WM_VIRTUAL_PLUG = WM_APP + 0x101;

class CNX70DriverDlg
    : public WindowClass<CNX70DriverDlg, CDialogEx, DoubleBufferedPaint<CNX70DriverDlg>, XPMenuOwner<CNX70DriverDlg>>,
      private MessageFilter {
 public:
  static constexpr SkinPageFiles kMainPictures{u"Main_Normal.bmp", u"Main_Down.bmp", u"Main_Over.bmp"};
  static constexpr UINT kTemplate = 102;

  CNX70DriverDlg(AppContext& app, ProgramServices& services, TimerSource& timers = WindowTimers());
  ~CNX70DriverDlg() override;
  static std::span<const MessageEntry> MessageEntries();

  int CurrentPage() const { return page_; }
  CDlgSupport* SupportPage() { return support_.get(); }
  const std::u16string& HintText() const { return hint_; }

 protected:
  BOOL OnInitDialog() override;
  void OnOK() override {}
  void OnCancel() override {}

 private:
  friend DoubleBufferedPaint<CNX70DriverDlg>;
  void Paint(HDC dc);

  DownloadService::PointerSettings PointerSettings();
  // Start-up pieces.
  void BuildControls(bool chineseLayout);
  // Reads the main window's and the pages' pictures while the bootloader checks wait.
  void StartPrefetch();
  void CreateFirstPage();
  void CreateHiddenPages();
  LRESULT OnFinishStartup(WPARAM, LPARAM);
  void AddTrayIcon();
  void RemoveTrayIcon();
  bool OpenMouse();
  void StartWorker();
  void WriteStartupReport();
  // The end of a switch the user asked for: what it changed is painted now rather than when the
  // queue runs empty, and with --report the time from the input that asked for it (its message
  // time) to the end of that paint is added to the report as "<name>_ms <ms>".
  void FinishInteraction(const char* name);

  // Message handlers.
  void OnCommand(UINT code, UINT id, HWND control);
  void OnLButtonDown(UINT flags, POINT point);
  void OnMouseMove(UINT flags, POINT point);
  void OnTimer(UINT_PTR id);
  void OnClose();
  LRESULT OnQueryEndSession(WPARAM, LPARAM);
  LRESULT OnEndSession(WPARAM ending, LPARAM);
  LRESULT OnQueryDragIcon(WPARAM, LPARAM);
  LRESULT OnTrayNotify(WPARAM, LPARAM mouseMessage);
  LRESULT OnLanguageSelected(WPARAM, LPARAM id);
  LRESULT OnShowHint(WPARAM, LPARAM hintId);
  LRESULT OnRestoreDefaults(WPARAM, LPARAM);
  LRESULT OnDownloadDone(WPARAM, LPARAM);
  LRESULT OnDownloadFailed(WPARAM, LPARAM stage);
  LRESULT OnHookedInput(WPARAM, LPARAM);
  LRESULT OnDeviceChange(WPARAM, LPARAM);
  LRESULT OnVirtualPlug(WPARAM plug, LPARAM);

  // Swallowed keys and Alt+F4 before dialog processing.
  bool PreTranslateMessage(MSG& msg) override;

  void SwitchPage(int page);
  void SwitchProfile(size_t slot);
  void Apply();
  void HideToTray();
  void ShowFromTray();
  void ShowTrayMenu();
  void OpenLanguageMenu();
  void RefreshToolTips();
  void ShowFlag(int bitmapId);
  // Prepares the download and, unless the profile is refused, starts it with the progress dialog.
  void StartDownloadShowingProgress();
  void ShowPendingFailure();
  void CarryOut(const StoreOutcome& outcome);
  void CarryOut(const PresenceOutcome& outcome);
  void ShowProgramMessage(const std::u16string& text, bool autoClose);
  void InvalidateHint();
  std::u16string Catalogue(StringKey key) const;

  AppContext& app_;
  ProgramServices& services_;
  TimerSource& timers_;
  Win32SessionHost host_;
  CUSBDriver session_;
  DevicePresence presence_;
  DownloadService downloads_;
  DownloadSignals signals_;
  CDlgProgress progress_;
  std::unique_ptr<PostingDownloadWindows> downloadWindows_;
  std::unique_ptr<DownloadWorker> worker_;
  DeviceNotificationRegistration notifications_;

  HICON icon_ = nullptr;
  SharedSkinBitmap mainNormal_;
  CGDIBitmapBtn minimise_, close_, language_;
  std::array<CIrrButton, 5> tabs_;
  std::array<CIrrButton, kProfileButtonCount> profiles_;
  CIrrButton apply_;
  SkinPrefetch prefetch_;
  std::unique_ptr<CDlgMainSet> mainSet_;
  std::unique_ptr<CDlgLEDSet> ledSet_;
  std::unique_ptr<CDlgMacro> macro_;
  std::unique_ptr<CDlgSts> sts_;
  std::unique_ptr<CDlgSupport> support_;
  std::u16string hint_;
  Font hintFont_;
  NOTIFYICONDATAW tray_{};
  bool trayAdded_ = false;
  HWND languageMenu_ = nullptr;
  int page_ = 0;
  std::optional<int> pendingFailure_;
  bool closing_ = false;
  uint32_t mandatedWaitMs_ = 0;  // the bootloader check's pauses, not the program's own work
  StartupSteps steps_;
  uint64_t visibleMs_ = 0;  // process start to the first paint, for --report
  // The layout the controls were placed in at start; pages built later take the same.
  bool chineseLayout_ = false;
};

}  // namespace nx7::win32
