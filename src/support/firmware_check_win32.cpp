#include "support/firmware_check_win32.h"

#include "framework/timer_source.h"
#include "platform/win32/shell_win32.h"
#include "platform/win32/url_downloader_win32.h"
#include "skin/dlg_info_win32.h"

namespace nx7::win32 {

namespace {

class BoxUser final : public FirmwareCheckUser {
 public:
  BoxUser(AppContext& app, HWND owner, HWND mainWindow) : app_(app), owner_(owner), mainWindow_(mainWindow) {}

  bool Confirm(FirmwareMessage question) override { return Show(question, true) == IDOK; }
  void Tell(FirmwareMessage message) override { Show(message, false); }
  void CloseProgram() override { ::PostMessageW(mainWindow_, WM_CLOSE, 0, 0); }

 private:
  INT_PTR Show(FirmwareMessage message, bool twoButtons) {
    CDlgInfo box(owner_, app_.clock(), WindowTimers());
    box.chineseText = app_.ChineseText();
    box.text = std::u16string(FirmwareMessageText(message, box.chineseText));
    box.twoButtons = twoButtons ? 1 : 0;
    return box.DoModal();
  }

  AppContext& app_;
  HWND owner_;
  HWND mainWindow_;
};

// The page does not respond while a file is fetched; the cursor says so.
class WaitCursorDownloader final : public Downloader {
 public:
  bool DownloadToFile(const std::u16string& address, const std::u16string& path) override {
    const HCURSOR previous = ::SetCursor(::LoadCursorW(nullptr, IDC_WAIT));
    const bool fetched = inner_.DownloadToFile(address, path);
    ::SetCursor(previous);
    return fetched;
  }
  std::string LastErrorText() const override { return inner_.LastErrorText(); }

 private:
  UrlDownloader inner_;
};

}  // namespace

FirmwareCheckResult RunFirmwareCheck(AppContext& app, Shell& shell, HWND owner, HWND mainWindow,
                                     const std::u16string& firmwareVersionText, std::u16string& firmwareAddress) {
  BoxUser user(app, owner, mainWindow);
  WaitCursorDownloader downloader;
  const FirmwareCheckServices services{app.files(), app.xml(), downloader, shell, user};
  return CheckFirmware(services, app.ProgramFolder(), ManifestAddress(app.ini(), app.ProgramFolder()),
                       firmwareVersionText, firmwareAddress);
}

FirmwareCheckResult RunFirmwareCheck(AppContext& app, HWND owner, HWND mainWindow,
                                     const std::u16string& firmwareVersionText, std::u16string& firmwareAddress) {
  Win32Shell shell;
  return RunFirmwareCheck(app, shell, owner, mainWindow, firmwareVersionText, firmwareAddress);
}

}  // namespace nx7::win32
