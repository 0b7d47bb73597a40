#include "app/main_dlg_win32.h"

#include <psapi.h>

#include <cstdio>

#include "app/main_window_rules.h"
#include "buttons/launches.h"
#include "buttons/setting_dlg_win32.h"
#include "i18n/hint_text.h"
#include "i18n/language_choice.h"
#include "i18n/language_menu_win32.h"
#include "performance/system_parameters_win32.h"
#include "platform/win32/file_handle.h"
#include "platform/win32/keyboard_layout_win32.h"
#include "platform/win32/owned_handle.h"
#include "platform/win32/wide.h"
#include "resource_ids.h"
#include "skin/dlg_info_win32.h"
#include "skin/layout.h"
#include "skin/layout_win32.h"

namespace nx7::win32 {

namespace mw = layout::main_window;

namespace {

constexpr UINT kAppIcon = 128;
constexpr RECT kHintRect = ToRect(mw::kHintText);

// The first of the three pictures (normal, hover, pressed) the tabs, profile buttons and APPLY
// take their pieces from.
UINT RegionButtonPictures(bool chineseLayout) {
  return chineseLayout ? layout::resource::kMainChinese : layout::resource::kMainEnglish;
}

Region QuadRegion(const layout::Quad& quad) {
  const auto points = ToPoints(quad);
  return MakePolygonRegion(points.data(), points.size());
}

}  // namespace

CNX70DriverDlg::CNX70DriverDlg(AppContext& app, ProgramServices& services, TimerSource& timers)
    : WindowClass(kTemplate),
      app_(app),
      services_(services),
      timers_(timers),
      session_(app.hid(), services.DeviceClock(), &host_),
      presence_(session_),
      downloads_(session_, services.DeviceClock(), &app.hooks(), PointerSettings()),
      progress_(app.ProgramFolder(), [this] { return downloadWindows_ ? downloadWindows_->LastProgress() : -1; }) {}

DownloadService::PointerSettings CNX70DriverDlg::PointerSettings() {
  // The Windows pointer settings go with a download to the real mouse; trying profiles on the
  // virtual mouse leaves the user's settings alone unless asked otherwise.
  if (!services_.AppliesPointerSettings()) return {};
  return [this](const SettingsBlock& block) {
    Win32SystemParameters system;
    ApplyWindowsMouseSettings(block, system, GetSafeHwnd());
  };
}

CNX70DriverDlg::~CNX70DriverDlg() {
  RemoveMessageFilter(*this);
  worker_.reset();
  RemoveTrayIcon();
  DestroyWindow();
}

std::span<const MessageEntry> CNX70DriverDlg::MessageEntries() {
  static constexpr auto entries = Entries(
      On<WM_COMMAND, &CNX70DriverDlg::OnCommand>(),
      On<WM_LBUTTONDOWN, &CNX70DriverDlg::OnLButtonDown>(),
      On<WM_MOUSEMOVE, &CNX70DriverDlg::OnMouseMove>(),
      On<WM_TIMER, &CNX70DriverDlg::OnTimer>(),
      On<WM_CLOSE, &CNX70DriverDlg::OnClose>(),
      OnRaw<WM_QUERYENDSESSION, &CNX70DriverDlg::OnQueryEndSession>(),
      OnRaw<WM_ENDSESSION, &CNX70DriverDlg::OnEndSession>(),
      OnRaw<WM_QUERYDRAGICON, &CNX70DriverDlg::OnQueryDragIcon>(),
      OnRaw<WM_TRAY_NOTIFY, &CNX70DriverDlg::OnTrayNotify>(),
      OnRaw<WM_LANGUAGE_SELECTED, &CNX70DriverDlg::OnLanguageSelected>(),
      OnRaw<WM_SHOW_HINT, &CNX70DriverDlg::OnShowHint>(),
      OnRaw<WM_RESTORE_DEFAULTS, &CNX70DriverDlg::OnRestoreDefaults>(),
      OnRaw<WM_DOWNLOAD_DONE, &CNX70DriverDlg::OnDownloadDone>(),
      OnRaw<WM_DOWNLOAD_FAILED, &CNX70DriverDlg::OnDownloadFailed>(),
      OnRaw<WM_HOOKED_INPUT, &CNX70DriverDlg::OnHookedInput>(),
      OnRaw<WM_DEVICECHANGE, &CNX70DriverDlg::OnDeviceChange>(),
      OnRaw<WM_VIRTUAL_PLUG, &CNX70DriverDlg::OnVirtualPlug>(),
      OnRaw<WM_FINISH_STARTUP, &CNX70DriverDlg::OnFinishStartup>());
  return entries;
}

// ---------------------------------------------------------------------------------------------
// Start-up

BOOL CNX70DriverDlg::OnInitDialog() {
  const HWND self = GetSafeHwnd();
  // 1. Icons.
  icon_ = ::LoadIconW(ResourceModule(), MAKEINTRESOURCEW(kAppIcon));
  Send(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_));
  Send(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon_));
  // 2. The display language of the skins; the layout of the controls follows it from now on.
  const int defaultFlag = ApplyDefaultLanguage(app_.Language());
  chineseLayout_ = app_.ChineseText();
  steps_.Mark("language");
  // 3. A mouse in bootloader mode is handed to the flashing tool; nothing else happens. The
  // pictures the windows need are read meanwhile.
  StartPrefetch();
  const uint32_t bootloaderCheckStart = app_.clock().TickCount();
  const bool bootloader = BootloaderAtStart(services_.Usb(), app_.clock());
  mandatedWaitMs_ = app_.clock().TickCount() - bootloaderCheckStart;
  prefetch_.Finish();
  steps_.Mark("bootloader_check");
  if (bootloader) {
    prefetch_.Release();
    StartFlasher(services_.ShellService(), app_.ProgramFolder());
    Post(WM_CLOSE);
    closing_ = true;
    return TRUE;
  }
  // 4. The window a second start looks for.
  downloadWindows_ = std::make_unique<PostingDownloadWindows>(
      app_.poster(), [this] { return static_cast<WindowHandle>(progress_.WindowForWorker()); }, self);
  ::SetWindowTextW(self, kMainWindowTitle);
  AddMessageFilter(*this);
  // 5. Macro library.
  StoreOutcome macros;
  app_.macros().LoadMacroLibrary(macros);
  CarryOut(macros);
  steps_.Mark("macro_library");
  // 6, 7. Controls and the page shown first; the other four follow the first paint.
  BuildControls(chineseLayout_);
  steps_.Mark("controls");
  CreateFirstPage();
  steps_.Mark("first_page_shown");
  // 8. Tray icon.
  AddTrayIcon();
  steps_.Mark("tray");
  // 9. Profile slots and the current profile.
  CarryOut(app_.profiles().LoadAtStart());
  steps_.Mark("profiles");
  // 10. Device-interface notifications.
  notifications_ = DeviceNotificationRegistration(self);
  // 11. The macro page's list is filled when that page is made.
  // 12. The slot's macro ids.
  app_.profiles().CopySlotMacroIdsToButtons();
  // 13. The flag picture.
  const RECT flag = ToRect(mw::kFlagPicture);
  ::MoveWindow(::GetDlgItem(self, IDC_LANGUAGE_FLAG), flag.left, flag.top, flag.right - flag.left,
               flag.bottom - flag.top, TRUE);
  ShowFlag(defaultFlag);
  // 14. The stored language, switched to when the message arrives.
  Post(WM_LANGUAGE_SELECTED, kLanguageSelectedAtStart, static_cast<LPARAM>(ReadStoredLanguage(app_.registry())));
  // 15. The session's window and HidParse.dll: without them the program stays in the tray only.
  if (!session_.Create()) {
    CreateHiddenPages();
    return TRUE;
  }
  // 16, 17.
  const bool opened = OpenMouse();
  steps_.Mark("open_mouse");
  mainSet_->Reload();  // the lighting page reloads when it is made
  steps_.Mark("reload");
  if (!opened) {
    // 18.
    ShowProgramMessage(std::u16string(PresenceMessageText(PresenceMessage::MouseNotFound, app_.ChineseText())), true);
    Post(WM_CLOSE);
    closing_ = true;
    return TRUE;
  }
  // 19. The firmware version is read once the window is shown (the read waits 50 ms).
  StartWorker();
  ::ShowWindow(self, SW_SHOW);
  ::SetWindowPos(self, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  ::SetForegroundWindow(self);
  app_.hooks().InstallHooks(self);
  app_.hooks().SetNotifyFlags(false, true);
  timers_.Start(self, kUpdaterTimerId, kUpdaterDelayMs);
  ModifyStyle(0, WS_MINIMIZEBOX);
  steps_.Mark("show");
  // Queued behind what start-up posted (the stored language) and ahead of any input the hooks
  // pass on, so no page is missing when a message needs it.
  Post(WM_FINISH_STARTUP);
  return TRUE;
}


void CNX70DriverDlg::WriteStartupReport() {
  if (services_.ReportPath().empty()) return;
  PROCESS_MEMORY_COUNTERS_EX memory{};
  memory.cb = sizeof(memory);
  ::K32GetProcessMemoryInfo(::GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory), sizeof(memory));
  const SharedBitmapUsage pictures = SharedBitmapsInUse();
  char text[640];
  const int n = std::snprintf(text, sizeof(text),
                              "startup_ms %llu\nmandated_wait_ms %u\nprivate_bytes %llu\npagefile_bytes %llu\n"
                              "working_set_bytes %llu\ngdi_objects %lu\nuser_objects %lu\nowned_gdi_objects %lld\n"
                              "skin_pictures %zu\nskin_picture_bytes %zu\n",
                              static_cast<unsigned long long>(visibleMs_), mandatedWaitMs_,
                              static_cast<unsigned long long>(memory.PrivateUsage),
                              static_cast<unsigned long long>(memory.PagefileUsage),
                              static_cast<unsigned long long>(memory.WorkingSetSize),
                              ::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS),
                              ::GetGuiResources(::GetCurrentProcess(), GR_USEROBJECTS),
                              // Our own count, since Wine's GetGuiResources answers 0: the GDI objects
                              // the program's owning handles hold.
                              static_cast<long long>(OwnedGdiObjects()), pictures.pictures, pictures.bytes);
  const FileHandle file(::CreateFileW(Wide(services_.ReportPath()), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
  DWORD written = 0;
  if (!file.valid() || n <= 0 || n >= int(sizeof(text))) return;
  const std::string steps = steps_.Text();
  ::WriteFile(file.get(), text, DWORD(n), &written, nullptr);
  ::WriteFile(file.get(), steps.data(), DWORD(steps.size()), &written, nullptr);
}

void CNX70DriverDlg::FinishInteraction(const char* name) {
  const DWORD asked = static_cast<DWORD>(::GetMessageTime());
  ::RedrawWindow(GetSafeHwnd(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
  if (services_.ReportPath().empty()) return;
  char line[64];
  const int n = std::snprintf(line, sizeof(line), "%s_ms %lu\n", name, static_cast<unsigned long>(::GetTickCount() - asked));
  const FileHandle file(::CreateFileW(Wide(services_.ReportPath()), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr,
                                      OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  DWORD written = 0;
  if (file.valid() && n > 0 && n < int(sizeof(line))) ::WriteFile(file.get(), line, DWORD(n), &written, nullptr);
}

bool CNX70DriverDlg::OpenMouse() {
  for (int attempt = 0; attempt < kOpenAttempts; ++attempt) {
    if (attempt > 0) app_.clock().Sleep(kOpenAttemptPauseMs);
    if (session_.Open()) return true;
  }
  return false;
}

void CNX70DriverDlg::StartWorker() {
  worker_ = std::make_unique<DownloadWorker>(
      signals_, services_.DeviceClock(), *downloadWindows_,
      downloads_.WorkerPass({app_.settings(), app_.macroIds(), app_.library(), app_.ChineseText()}));
  worker_->Start();
}

void CNX70DriverDlg::BuildControls(bool chineseLayout) {
  const HWND self = GetSafeHwnd();
  const std::u16string skins = app_.ProgramFolder() + u"\\skins\\";
  mainNormal_ = SharedFileBitmap(skins + kMainPictures.normal);
  // The pressed and hover pictures only give the buttons their pieces; they go when this returns.
  const SharedSkinBitmap mainDown = SharedFileBitmap(skins + kMainPictures.down);
  const SharedSkinBitmap mainOver = SharedFileBitmap(skins + kMainPictures.over);
  // The window takes the picture's size, centred in the full-screen work area.
  // No system frame: the template's caption gives the title only.
  ModifyStyle(WS_CAPTION | WS_THICKFRAME | WS_BORDER | WS_DLGFRAME, 0);
  const bool pictured = mainNormal_ && *mainNormal_;
  const int width = pictured ? mainNormal_->width : mw::kClient.width;
  const int height = pictured ? mainNormal_->height : mw::kClient.height;
  ::SetWindowPos(self, nullptr, (::GetSystemMetrics(SM_CXFULLSCREEN) - width) / 2,
                 (::GetSystemMetrics(SM_CYFULLSCREEN) - height) / 2, width, height,
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);

  auto bits = [](const SharedSkinBitmap& p) { return p ? p->bitmap.Get() : HBITMAP(nullptr); };
  auto bitmapButton = [&](CGDIBitmapBtn& button, const layout::Rect& r) {
    button.Create(self, ToRect(r));
    button.SetLook(SkinLook::ForLayout(chineseLayout));
    button.SetSkin(r.left, r.top, r.right, r.bottom, bits(mainNormal_), bits(mainOver), bits(mainDown),
                   bits(mainNormal_));
  };
  bitmapButton(minimise_, mw::kMinimiseButton);
  bitmapButton(close_, mw::kCloseButton);
  bitmapButton(language_, mw::kLanguageButton);

  const UINT normal = RegionButtonPictures(chineseLayout);
  // Each button keeps only its own pieces once cut; held here, the three pictures are loaded once
  // for all eleven buttons rather than once per button.
  const SharedSkinBitmap regionPictures[] = {SharedResourceBitmap(normal), SharedResourceBitmap(normal + 1),
                                             SharedResourceBitmap(normal + 2)};
  auto regionButton = [&](CIrrButton& button, const layout::Quad& quad) {
    button.LoadBitmaps(normal, normal + 2, normal + 1, normal);
    Region region = QuadRegion(quad);
    button.Create(u"", WS_CHILD | WS_VISIBLE, region.Get(), self, 0);
  };
  // Tabs and profile buttons are radio groups: the checked one shows its pressed picture.
  for (size_t i = 0; i < tabs_.size(); ++i) {
    tabs_[i].SetRadioMode(true);
    regionButton(tabs_[i], mw::kPageTabs[i]);
  }
  for (size_t i = 0; i < profiles_.size(); ++i) {
    profiles_[i].SetRadioMode(true);
    regionButton(profiles_[i], mw::kProfileButtons[i]);
  }
  regionButton(apply_, mw::kApplyButton);
  RefreshToolTips();
}

void CNX70DriverDlg::StartPrefetch() {
  const std::u16string skins = app_.ProgramFolder() + u"\\skins\\";
  std::vector<std::u16string> files;
  for (const SkinPageFiles& page : {kMainPictures, CDlgMainSet::kPictures, CDlgLEDSet::kPictures,
                                    CDlgMacro::kPictures, CDlgSts::kPictures, CDlgSupport::kPictures}) {
    for (const char16_t* name : {page.normal, page.down, page.over}) files.push_back(skins + name);
  }
  // The main window's and the performance page's button pictures (bitmap resources).
  const UINT main = RegionButtonPictures(chineseLayout_);
  const auto& tabs = chineseLayout_ ? layout::performance_page::kTabBitmapsChinese
                                    : layout::performance_page::kTabBitmapsEnglish;
  std::vector<unsigned> resources{main, main + 1, main + 2};
  resources.insert(resources.end(), tabs.begin(), tabs.end());  // a picture named twice is read once
  prefetch_.Start(std::move(files), std::move(resources), skins + u"Slider.png");
}

void CNX70DriverDlg::CreateFirstPage() {
  mainSet_ = std::make_unique<CDlgMainSet>(app_);
  mainSet_->SetInputEditor([this](int input) {
    Win32KeyboardLayout keyboard;
    return EditInputFunction(app_, mainSet_->GetSafeHwnd(), input, services_.ShellService(), keyboard);
  });
  mainSet_->CreatePage(GetSafeHwnd(), ToRect(mw::kPageArea), chineseLayout_);
  steps_.Mark("page_performance");
  SwitchPage(1);
}

// The pages behind the other tabs, with what start-up does for them. Made once the window shows
// (or at once when the program stays in the tray): a third of start-up went into windows nobody
// sees yet.
void CNX70DriverDlg::CreateHiddenPages() {
  if (ledSet_) return;
  ledSet_ = std::make_unique<CDlgLEDSet>(app_);
  macro_ = std::make_unique<CDlgMacro>(app_);
  sts_ = std::make_unique<CDlgSts>(app_, timers_);
  if (services_.StatsSavePeriodMs()) sts_->SetSavePeriod(*services_.StatsSavePeriodMs());
  support_ = std::make_unique<CDlgSupport>(app_, services_.ShellService());
  const RECT area = ToRect(mw::kPageArea);
  const std::pair<CSkinPage*, const char*> pages[] = {{ledSet_.get(), "page_lighting"},
                                                      {macro_.get(), "page_macros"},
                                                      {sts_.get(), "page_statistics"},
                                                      {support_.get(), "page_support"}};
  for (const auto& [page, step] : pages) {
    page->CreatePage(GetSafeHwnd(), area, chineseLayout_);
    steps_.Mark(step);
  }
  prefetch_.Release();
  macro_->FillMacroList(kCustomCategory);
  ledSet_->Reload();
  // Their texts come from the catalogue as it is now: a language chosen before (the stored
  // one, at start) needs no second pass.
}

LRESULT CNX70DriverDlg::OnFinishStartup(WPARAM, LPARAM) {
  // A window is shown when its pixels are.
  ::RedrawWindow(GetSafeHwnd(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
  steps_.Mark("first_paint");
  visibleMs_ = StartupSteps::MsSinceProcessStart();
  CreateHiddenPages();
  support_->SetFirmwareVersionText(FirmwareVersionText(session_));
  steps_.Mark("firmware_version");
  WriteStartupReport();
  return 0;
}

void CNX70DriverDlg::AddTrayIcon() {
  tray_ = {};
#ifdef NOTIFYICONDATAW_V3_SIZE
  tray_.cbSize = NOTIFYICONDATAW_V3_SIZE;  // 956
#else
  tray_.cbSize = sizeof(tray_);
#endif
  tray_.hWnd = GetSafeHwnd();
  tray_.uID = 0;
  tray_.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP | NIF_INFO;
  tray_.uCallbackMessage = WM_TRAY_NOTIFY;
  tray_.hIcon = icon_;
  ::lstrcpynW(tray_.szTip, kMainWindowTitle, ARRAYSIZE(tray_.szTip));
  ::lstrcpynW(tray_.szInfo, kMainWindowTitle, ARRAYSIZE(tray_.szInfo));
  ::lstrcpynW(tray_.szInfoTitle, L"Running", ARRAYSIZE(tray_.szInfoTitle));
  tray_.dwInfoFlags = NIIF_INFO;
  tray_.uTimeout = 5000;
  trayAdded_ = ::Shell_NotifyIconW(NIM_ADD, &tray_) != FALSE;
}

void CNX70DriverDlg::RemoveTrayIcon() {
  if (!trayAdded_) return;
  ::Shell_NotifyIconW(NIM_DELETE, &tray_);
  trayAdded_ = false;
}

// ---------------------------------------------------------------------------------------------
// Shut-down

void CNX70DriverDlg::OnClose() {
  closing_ = true;
  // A download's progress dialog ends first; its loop runs above this window's.
  if (progress_.IsWindow()) progress_.EndDialog(IDCANCEL);
  RemoveTrayIcon();
  timers_.Stop(GetSafeHwnd(), kUpdaterTimerId);
  timers_.Stop(GetSafeHwnd(), kArrivalRetryTimerId);
  mainSet_.reset();
  ledSet_.reset();
  macro_.reset();
  sts_.reset();
  support_.reset();
  session_.Stop();
  // A pass still running fails at its next report instead of running on for seconds.
  session_.Close();
  worker_.reset();  // run flag 0, event set, joined
  app_.hooks().RemoveHooks();
  RemoveMessageFilter(*this);
  notifications_ = DeviceNotificationRegistration();
  EndDialog(IDCANCEL);
}

LRESULT CNX70DriverDlg::OnQueryEndSession(WPARAM, LPARAM) {
  Default();
  if (sts_) sts_->SaveStatistics();
  return TRUE;
}

// The process may end without WM_CLOSE once the session ends: what was counted since the query
// is saved too.
LRESULT CNX70DriverDlg::OnEndSession(WPARAM ending, LPARAM) {
  if (ending && sts_) sts_->SaveIfChanged();
  return 0;
}

LRESULT CNX70DriverDlg::OnQueryDragIcon(WPARAM, LPARAM) { return reinterpret_cast<LRESULT>(icon_); }

// ---------------------------------------------------------------------------------------------
// Painting and the hint line

void CNX70DriverDlg::Paint(HDC dc) {
  if (mainNormal_ && *mainNormal_) {
    BitmapDc source(dc, mainNormal_->bitmap.Get());
    ::BitBlt(dc, 0, 0, mainNormal_->width, mainNormal_->height, source, 0, 0, SRCCOPY);
  } else {
    const RECT client = GetClientRect();
    ::FillRect(dc, &client, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
  }
  if (hint_.empty()) return;
  if (!hintFont_) {
    hintFont_ = Font(::CreateFontW(-14, 0, 0, 0, 300, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                                   CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, L"MS Shell Dlg"));
  }
  const HGDIOBJ oldFont = ::SelectObject(dc, hintFont_.Get());
  ::SetBkMode(dc, TRANSPARENT);
  ::SetTextColor(dc, SkinLook::kMessageText);
  RECT r = kHintRect;
  ::DrawTextW(dc, Wide(hint_), int(hint_.size()), &r, DT_VCENTER | DT_WORDBREAK | DT_END_ELLIPSIS);
  ::SelectObject(dc, oldFont);
}

void CNX70DriverDlg::InvalidateHint() { ::InvalidateRect(GetSafeHwnd(), &kHintRect, FALSE); }

void CNX70DriverDlg::OnMouseMove(UINT, POINT point) {
  if (!hint_.empty()) {
    hint_.clear();
    InvalidateHint();
  }
  std::array<HintRect, 11> rects{};
  size_t i = 0;
  auto add = [&](const CIrrButton& button) {
    RECT r{};
    ::GetWindowRect(button.GetSafeHwnd(), &r);
    ::MapWindowPoints(nullptr, GetSafeHwnd(), reinterpret_cast<POINT*>(&r), 2);
    rects[i++] = {r.left, r.top, r.right, r.bottom};
  };
  for (const CIrrButton& tab : tabs_) add(tab);
  for (const CIrrButton& profile : profiles_) add(profile);
  add(apply_);
  for (int hint : MainWindowHintsAt(point.x, point.y, rects)) Post(WM_SHOW_HINT, 0, hint);
}

LRESULT CNX70DriverDlg::OnShowHint(WPARAM, LPARAM hintId) {
  hint_ = nx7::HintText(static_cast<HintId>(hintId), app_.catalogue(), app_.settings(), app_.ChineseText());
  InvalidateHint();
  return 0;
}

void CNX70DriverDlg::OnLButtonDown(UINT, POINT point) {
  // Dragging anywhere on the background moves the window.
  POINT screen = point;
  ::ClientToScreen(GetSafeHwnd(), &screen);
  Post(WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(screen.x, screen.y));
}

// ---------------------------------------------------------------------------------------------
// Commands

void CNX70DriverDlg::OnCommand(UINT code, UINT id, HWND control) {
  if (!control && id == kTrayConfigCommand) {
    ShowFromTray();
  } else if (!control && id == kTrayExitCommand) {
    Post(WM_CLOSE);
  } else if (control && control == minimise_.GetSafeHwnd()) {
    ::ShowWindow(GetSafeHwnd(), SW_MINIMIZE);
    app_.hooks().SetRecordMode(false);
  } else if (control && control == close_.GetSafeHwnd()) {
    HideToTray();
  } else if (control && control == language_.GetSafeHwnd()) {
    OpenLanguageMenu();
  } else if (control && control == apply_.GetSafeHwnd()) {
    Apply();
  } else if (control) {
    for (size_t i = 0; i < tabs_.size(); ++i) {
      if (control != tabs_[i].GetSafeHwnd()) continue;
      SwitchPage(int(i) + 1);
      FinishInteraction("page_switch");
    }
    for (size_t i = 0; i < profiles_.size(); ++i) {
      if (control != profiles_[i].GetSafeHwnd()) continue;
      SwitchProfile(i);
      FinishInteraction("profile_switch");
    }
  }
  HandleCommand(code, id, control);
}

void CNX70DriverDlg::SwitchPage(int page) {
  const PageSwitch s = PageSwitchTo(page, macro_ && macro_->Recording());
  if (!s.tabChecked[size_t(page - 1)]) return;
  if (s.closeMacroMenu && macro_) macro_->CloseCategoryMenu();
  if (s.stopRecording && macro_) macro_->ToggleRecord();
  CSkinPage* pages[] = {mainSet_.get(), ledSet_.get(), macro_.get(), sts_.get(), support_.get()};
  for (size_t i = 0; i < tabs_.size(); ++i) tabs_[i].SetCheck(s.tabChecked[i]);
  for (size_t i = 0; i < tabs_.size(); ++i)
    if (pages[i]) ::ShowWindow(pages[i]->GetSafeHwnd(), s.tabChecked[i] ? SW_SHOW : SW_HIDE);
  for (CIrrButton& b : profiles_) ::EnableWindow(b.GetSafeHwnd(), s.profileAndApplyEnabled);
  ::EnableWindow(apply_.GetSafeHwnd(), s.profileAndApplyEnabled);
  page_ = page;
  if (s.reloadPage) {
    if (page == 1) mainSet_->Reload();
    else if (ledSet_) ledSet_->Reload();
  }
}

void CNX70DriverDlg::SwitchProfile(size_t slot) {
  for (size_t i = 0; i < profiles_.size(); ++i) profiles_[i].SetCheck(i == slot);
  CarryOut(app_.profiles().SwitchToSlot(slot, false));
}

void CNX70DriverDlg::Apply() {
  const ApplySteps steps = ApplyButtonSteps(app_.settings().wheelLines, signals_.downloadIdle == 1);
  if (steps.commitMacroEdit && macro_) macro_->CommitPendingEdit();
  if (steps.commitWheelLines) mainSet_->CommitWheelLines();
  if (steps.startDownload) StartDownloadShowingProgress();
}

void CNX70DriverDlg::StartDownloadShowingProgress() {
  const PreparedDownload prepared =
      Prepare({app_.settings(), app_.macroIds(), app_.library(), app_.ChineseText()});
  if (prepared.refusal) {
    ShowProgramMessage(*prepared.refusal, false);
    return;
  }
  // No worker: the mouse was never opened.
  if (!worker_ || !signals_.RequestDownload()) return;
  pendingFailure_.reset();
  progress_.Show(GetSafeHwnd(), app_.ChineseText());
  ShowPendingFailure();
}

void CNX70DriverDlg::ShowPendingFailure() {
  if (!pendingFailure_) return;
  const int stage = *pendingFailure_;
  pendingFailure_.reset();
  ShowProgramMessage(DownloadFailureText(stage), false);
  signals_.OutcomeHandled();
  apply_.SetCheck(false);
}

LRESULT CNX70DriverDlg::OnDownloadDone(WPARAM, LPARAM) {
  progress_.Finish(true);
  CarryOut(app_.profiles().SaveAfterDownload());
  return 0;
}

LRESULT CNX70DriverDlg::OnDownloadFailed(WPARAM, LPARAM stage) {
  pendingFailure_ = static_cast<int>(stage);
  // The dialog closes now; its caller shows the failure text once it has. Without the dialog
  // (a download it never showed) the text shows here.
  if (progress_.IsWindow()) progress_.Finish(false);
  else ShowPendingFailure();
  return 0;
}

LRESULT CNX70DriverDlg::OnRestoreDefaults(WPARAM, LPARAM) {
  CarryOut(app_.profiles().RestoreDefaults());
  return 0;
}

// ---------------------------------------------------------------------------------------------
// Tray

void CNX70DriverDlg::HideToTray() {
  if (macro_) macro_->CloseCategoryMenu();
  ::ShowWindow(GetSafeHwnd(), SW_HIDE);
  app_.hooks().SetRecordMode(false);
}

void CNX70DriverDlg::ShowFromTray() {
  mainSet_->Reload();
  if (ledSet_) ledSet_->Reload();
  ::ShowWindow(GetSafeHwnd(), SW_SHOW);
  ::ShowWindow(GetSafeHwnd(), SW_RESTORE);
  ::SetForegroundWindow(GetSafeHwnd());
}

LRESULT CNX70DriverDlg::OnTrayNotify(WPARAM, LPARAM mouseMessage) {
  if (closing_ || !mainSet_) return 0;
  if (mouseMessage == WM_LBUTTONDBLCLK) ShowFromTray();
  else if (mouseMessage == WM_RBUTTONUP) ShowTrayMenu();
  return 0;
}

void CNX70DriverDlg::ShowTrayMenu() {
  const std::unique_ptr<CXPMenu> menu = CXPMenu::TrayMenu();
  POINT cursor{};
  ::GetCursorPos(&cursor);
  ::SetForegroundWindow(GetSafeHwnd());
  menu->Track(GetSafeHwnd(), cursor, TPM_RIGHTBUTTON);
}

void CNX70DriverDlg::OpenLanguageMenu() {
  RECT button{};
  ::GetWindowRect(language_.GetSafeHwnd(), &button);
  // A menu still open is closed first: one at a time.
  if (languageMenu_ && ::IsWindow(languageMenu_)) ::PostMessageW(languageMenu_, WM_CLOSE, 0, 0);
  CMenuExA* menu = nx7::win32::OpenLanguageMenu(GetSafeHwnd(), button);
  languageMenu_ = menu ? menu->GetSafeHwnd() : nullptr;
}

void CNX70DriverDlg::OnTimer(UINT_PTR id) {
  if (id == kUpdaterTimerId) {
    timers_.Stop(GetSafeHwnd(), kUpdaterTimerId);
    services_.ShellService().Open(app_.ProgramFolder() + u"\\vorna_update\\VornaUpdate.exe", u"");
  } else if (id == kArrivalRetryTimerId) {
    CarryOut(presence_.OnRetryTimer());
  } else {
    Decline();
  }
}

// ---------------------------------------------------------------------------------------------
// Language

std::u16string CNX70DriverDlg::Catalogue(StringKey key) const { return app_.catalogue()[key]; }

void CNX70DriverDlg::RefreshToolTips() {
  const StringKey tabKeys[] = {StringKey::str_main, StringKey::str_led_title, StringKey::str_macro_manager,
                               StringKey::str_sts, StringKey::str_about};
  for (size_t i = 0; i < tabs_.size(); ++i) tabs_[i].SetToolTipText(Catalogue(tabKeys[i]), true);
  const StringKey profileKeys[] = {StringKey::str_profile1, StringKey::str_profile2, StringKey::str_profile3,
                                   StringKey::str_profile4, StringKey::str_profile5};
  for (size_t i = 0; i < profiles_.size(); ++i) profiles_[i].SetToolTipText(Catalogue(profileKeys[i]), true);
  apply_.SetToolTipText(Catalogue(StringKey::str_ok), true);
  if (mainSet_) mainSet_->RefreshToolTips();
  if (ledSet_) ledSet_->RefreshToolTips();
  if (macro_) macro_->RefreshToolTips();
  if (sts_) sts_->RefreshToolTips();
  if (support_) support_->RefreshToolTips();
}

void CNX70DriverDlg::ShowFlag(int bitmapId) {
  if (bitmapId <= 0) return;
  const HWND flag = ::GetDlgItem(GetSafeHwnd(), IDC_LANGUAGE_FLAG);
  const HBITMAP picture = ::LoadBitmapW(ResourceModule(), MAKEINTRESOURCEW(bitmapId));
  const HBITMAP old = reinterpret_cast<HBITMAP>(
      ::SendMessageW(flag, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(picture)));
  if (old && old != picture) ::DeleteObject(old);
}

LRESULT CNX70DriverDlg::OnLanguageSelected(WPARAM wParam, LPARAM id) {
  const bool menuOpen = languageMenu_ && ::IsWindow(languageMenu_);
  if (!IsLanguageSelectionHandled(wParam, static_cast<LanguageId>(id), menuOpen)) return 0;
  const LanguageSwitch change = SwitchLanguage(app_.Language(), static_cast<LanguageId>(id));
  ShowFlag(change.flagBitmapId);
  if (!change.saved)
    ::MessageBoxW(GetSafeHwnd(), Wide(std::u16string(kLanguageSaveFailedText)),
                  Wide(std::u16string(kLanguageSaveFailedCaption)), MB_OK);
  RefreshToolTips();
  if (menuOpen) ::PostMessageW(languageMenu_, WM_CLOSE, 0, 0);
  languageMenu_ = nullptr;
  if (wParam != kLanguageSelectedAtStart) FinishInteraction("language_switch");
  return 0;
}

// ---------------------------------------------------------------------------------------------
// Keyboard

bool CNX70DriverDlg::PreTranslateMessage(MSG& msg) {
  const HWND self = GetSafeHwnd();
  if (!self || (msg.hwnd != self && !::IsChild(self, msg.hwnd))) return false;
  if ((msg.message == WM_KEYDOWN || msg.message == WM_KEYUP) &&
      (msg.wParam == VK_RETURN || msg.wParam == VK_ESCAPE || msg.wParam == VK_SPACE)) {
    // Kept from the dialog manager, which would take them for the default button (closing a
    // page) or a click. A control that takes every key itself (the list's in-place editor) still
    // gets them, and an edit box its spaces: a macro's name may have one.
    const LRESULT wants = ::SendMessageW(msg.hwnd, WM_GETDLGCODE, msg.wParam, reinterpret_cast<LPARAM>(&msg));
    if (wants & DLGC_WANTALLKEYS) return false;
    if (msg.wParam == VK_SPACE && (wants & DLGC_HASSETSEL)) return false;
    return true;
  }
  if (msg.message == WM_SYSKEYDOWN && msg.wParam == VK_F4) {
    HideToTray();
    return true;
  }
  return false;
}

// ---------------------------------------------------------------------------------------------
// Device and hooked input

LRESULT CNX70DriverDlg::OnHookedInput(WPARAM wParam, LPARAM lParam) {
  const HookedInputResponse response = RespondToHookedInput(wParam, lParam, app_.settings());
  if (sts_ && sts_->IsWindow()) {
    ::PostMessageW(sts_->GetSafeHwnd(), WM_STS_INPUT, response.statsWParam, response.statsLParam);
  }
  PerformLaunch(response.launch, services_.ShellService());
  return 0;
}

LRESULT CNX70DriverDlg::OnDeviceChange(WPARAM wParam, LPARAM lParam) {
  const std::optional<DeviceInterfaceChange> change = ReadDeviceInterfaceChange(wParam, lParam);
  if (!change || closing_) return TRUE;
  CarryOut(change->kind == DeviceInterfaceChange::Kind::Arrival ? presence_.OnArrival(change->devicePath)
                                                                : presence_.OnRemoval(change->devicePath));
  return TRUE;
}

LRESULT CNX70DriverDlg::OnVirtualPlug(WPARAM plug, LPARAM) {
  if (!services_.UsesVirtualMouse()) return 0;
  DeviceInterfaceChange change{DeviceInterfaceChange::Kind::Arrival, std::u16string(kVirtualMouseDevicePath)};
  if (plug) {
    services_.PlugVirtual();
  } else {
    services_.UnplugVirtual();
    change.kind = DeviceInterfaceChange::Kind::Removal;
  }
  SendDeviceInterfaceChange(GetSafeHwnd(), change);
  return 1;
}

void CNX70DriverDlg::CarryOut(const PresenceOutcome& outcome) {
  for (const PresenceStep& step : outcome.steps) {
    switch (step.kind) {
      case PresenceStep::Kind::SetFirmwareVersionText:
        if (support_) support_->SetFirmwareVersionText(step.text);
        break;
      case PresenceStep::Kind::InstallHooks:
        app_.hooks().InstallHooks(GetSafeHwnd());
        break;
      case PresenceStep::Kind::RemoveHooks:
        app_.hooks().RemoveHooks();
        break;
      case PresenceStep::Kind::StartRetryTimer:
        timers_.Start(GetSafeHwnd(), kArrivalRetryTimerId, step.periodMs);
        break;
      case PresenceStep::Kind::StopRetryTimer:
        timers_.Stop(GetSafeHwnd(), kArrivalRetryTimerId);
        break;
      case PresenceStep::Kind::ShowMessage:
        ShowProgramMessage(std::u16string(PresenceMessageText(step.message, app_.ChineseText())), true);
        break;
      case PresenceStep::Kind::PostClose:
        Post(WM_CLOSE);
        break;
    }
  }
}

// ---------------------------------------------------------------------------------------------
// Store outcomes and messages

void CNX70DriverDlg::ShowProgramMessage(const std::u16string& text, bool autoClose) {
  CDlgInfo box(GetSafeHwnd(), app_.clock(), timers_);
  box.text = text;
  box.chineseText = app_.ChineseText();
  box.autoClose = autoClose ? 1 : 0;
  box.DoModal();
}

void CNX70DriverDlg::CarryOut(const StoreOutcome& outcome) {
  for (const StoreStep& step : outcome.steps) {
    switch (step.kind) {
      case StoreStep::Kind::Show: {
        const std::u16string text = StoreMessageText(step, [this](StringKey key) { return Catalogue(key); });
        if (step.box == MessageBoxKind::Info) ::MessageBoxW(GetSafeHwnd(), Wide(text), L"Info", MB_OK);
        else ShowProgramMessage(text, false);
        break;
      }
      case StoreStep::Kind::RefreshPages:
        if (mainSet_) mainSet_->Reload();
        if (ledSet_) ledSet_->Reload();
        break;
      case StoreStep::Kind::StartDownload:
        if (worker_) signals_.RequestDownload();
        break;
      case StoreStep::Kind::StartDownloadShowing:
        if (signals_.downloadIdle == 1) StartDownloadShowingProgress();
        break;
      case StoreStep::Kind::DownloadFinished:
        signals_.OutcomeHandled();
        break;
    }
  }
  if (outcome.profileButtons)
    for (size_t i = 0; i < profiles_.size(); ++i)
      if (profiles_[i].IsWindow()) profiles_[i].SetCheck((*outcome.profileButtons)[i]);
}

}  // namespace nx7::win32
