// The firmware check end to end under Wine: a real HTTP server on the loopback address (started
// and stopped by each test) serves a manifest and an image, the check fetches them through
// URLDownloadToFileW, the program's message boxes are answered by clicking their buttons, and the
// stand-in flashing tool logs how it was started.
#include "support/firmware_check_win32.h"

#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "app/standin/standin_log.h"
#include "framework/ui_init.h"
#include "framework/ui_test_support.h"
#include "macros/input_hooks_virtual.h"
#include "device/virtual/virtual_mouse.h"
#include "platform/virtual/recording_poster.h"
#include "platform/virtual/virtual_clock.h"
#include "platform/virtual/virtual_registry.h"
#include "platform/win32/ini_file_win32.h"
#include "skin/dlg_info_win32.h"
#include "support/firmware_http_server_win32.h"
#include "temp_folder.h"

namespace nx7::win32 {
namespace {

using nx7::testing::LoopbackHttpServer;

const std::string kManifestPath = "/software/nx7/update.xml";
const std::string kImagePath = "/firmware/VornaGameDevice16.bin";
const std::string kImage = "NX7 firmware image 16";
const std::string kImageSha = "bcf115f79f45ec253f7cb42553f0b71abefd87e475b3897d560f826a55de28bf";

std::string Manifest(const std::string& current, const std::u16string& newfile, const std::string& sha256 = kImageSha) {
  return "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<update>\n  <firmware>\n    <current>" + current +
         "</current>\n    <newfile>" + std::string(newfile.begin(), newfile.end()) + "</newfile>\n    <sha256>" +
         sha256 + "</sha256>\n  </firmware>\n</update>\n";
}

// The program folder of one test: the stand-in as the flashing tool, UpdateServer.ini naming the
// test's server, and the program's services on real files.
class FirmwareCheckTest : public ::testing::Test {
 protected:
  void SetUp() override {
    InitUserInterface();
    std::filesystem::create_directories(folder_.Path() / "FWUpdate");
    std::filesystem::copy_file(nx7::testing::StandInProgram(), folder_.Path() / "FWUpdate" / "ViradeRI.exe");
    AppServices s;
    s.clock = std::make_unique<VirtualClock>(1000);
    s.files = MakeHostFileSystem();
    s.registry = std::make_unique<VirtualRegistry>();
    s.ini = std::make_unique<Win32IniFile>();
    s.hid = std::make_unique<VirtualMouse>();
    s.hookInstaller = std::make_unique<VirtualHookInstaller>();
    s.poster = std::make_unique<RecordingPoster>();
    app_ = std::make_unique<AppContext>(folder_.Text(), std::move(s));
    app_->model().chineseText = false;
    mainWindow_ = ::CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
  }
  void TearDown() override { ::DestroyWindow(mainWindow_); }

  void UseServer(uint16_t port) {
    folder_.Write("UpdateServer.ini", "[Firmware]\r\nManifestUrl=http://127.0.0.1:" + std::to_string(port) +
                                          kManifestPath + "\r\n");
  }

  // Runs the check; each message box that opens is read and answered from `answers` (true: OK,
  // false: Cancel); a box with one button is answered with OK.
  FirmwareCheckResult Run(const std::u16string& mouseVersion, std::deque<bool> answers) {
    static FirmwareCheckTest* self = nullptr;
    self = this;
    answers_ = std::move(answers);
    const UINT_PTR timer = ::SetTimer(nullptr, 0, 30, [](HWND, UINT, UINT_PTR, DWORD) { self->AnswerOpenBox(); });
    const FirmwareCheckResult result = RunFirmwareCheck(*app_, nullptr, mainWindow_, mouseVersion, address_);
    ::KillTimer(nullptr, timer);
    self = nullptr;
    EXPECT_TRUE(answers_.empty()) << "boxes answered: " << boxes_.size();
    return result;
  }

  void AnswerOpenBox() {
    HWND found = nullptr;
    ::EnumThreadWindows(::GetCurrentThreadId(), [](HWND w, LPARAM out) {
      wchar_t title[64] = {};
      ::GetWindowTextW(w, title, 64);
      if (::IsWindowVisible(w) && std::wstring(title) == L"VornaNX7InfoDlg") {
        *reinterpret_cast<HWND*>(out) = w;
        return FALSE;
      }
      return TRUE;
    }, reinterpret_cast<LPARAM>(&found));
    auto* box = found ? dynamic_cast<CDlgInfo*>(CWnd::FromHandle(found)) : nullptr;
    // Each box is answered once; the click closes it before the timer comes again.
    if (!box || found == answered_) return;
    answered_ = found;
    boxes_.push_back({box->text, box->twoButtons == 1});
    // The whole text shows: nothing was cut off with "..." to fit the box.
    std::u16string shown, text;
    for (const std::u16string& line : box->TextLines()) shown += line;
    for (char16_t c : box->text)
      if (c != u' ') text += c;
    std::erase(shown, u' ');
    EXPECT_EQ(Narrow(shown), Narrow(text));
    if (!shotName_.empty()) Shoot(found, shotName_ + (box->chineseText ? L"_zh.png" : L"_en.png"));
    bool ok = true;
    if (box->twoButtons && !answers_.empty()) {
      ok = answers_.front();
      answers_.pop_front();
    }
    ::SendMessageW(ok ? box->OkButton() : box->CancelButton(), BM_CLICK, 0, 0);
  }

  // Saves what the screen shows of the box as <build>\screenshots\firmware\<name>.
  static void Shoot(HWND box, const std::wstring& name) {
    ::RedrawWindow(box, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    test::PumpMessages();
    ::GdiFlush();
    RECT r{};
    ::GetWindowRect(box, &r);
    Bitmap shot = test::CaptureScreen(r);
    wchar_t own[MAX_PATH] = {};
    std::wstring folder(own, ::GetModuleFileNameW(nullptr, own, MAX_PATH));
    for (int up = 0; up < 3; ++up) folder.resize(folder.find_last_of(L'\\'));  // <build>\tests\support\x.exe
    EXPECT_TRUE(test::SavePng(shot.Get(), folder + L"\\screenshots\\firmware\\" + name));
  }
  static std::string Narrow(const std::u16string& text) { return test::Narrow(text); }

  bool CloseRequested() {
    MSG msg;
    return ::PeekMessageW(&msg, mainWindow_, WM_CLOSE, WM_CLOSE, PM_REMOVE) != FALSE;
  }
  bool Exists(const char* relative) const { return std::filesystem::exists(folder_.Path() / relative); }
  std::string Read(const char* relative) const { return folder_.Read(relative); }
  bool NothingLeftFetching() const {
    for (const auto& entry : std::filesystem::directory_iterator(folder_.Path() / "FWUpdate" / "new_version"))
      if (entry.path().extension() == ".download") return false;
    return true;
  }

  struct Box {
    std::u16string text;
    bool question;
    bool operator==(const Box&) const = default;
  };
  static Box Question() {
    return {u"A new version of firmware is available for the gaming mouse, whether to update or not?", true};
  }
  static Box Message(FirmwareMessage m, bool chinese = false) {
    return {std::u16string(FirmwareMessageText(m, chinese)), false};
  }

  nx7::testing::TempFolder folder_;
  nx7::testing::StandInLog flasher_{folder_.Path() / "flasher.log"};
  std::unique_ptr<AppContext> app_;
  HWND mainWindow_ = nullptr;
  std::u16string address_;
  std::deque<bool> answers_;
  HWND answered_ = nullptr;
  std::wstring shotName_;  // screenshots of the boxes when set
  std::vector<Box> boxes_;
};

TEST_F(FirmwareCheckTest, NewerVersionIsAskedFetchedCheckedAndHandedToTheFlashingTool) {
  LoopbackHttpServer server;
  ASSERT_TRUE(server.Listening());
  server.Serve(kManifestPath, Manifest("16", server.Address(kImagePath)));
  server.Serve(kImagePath, kImage);
  UseServer(server.Port());

  EXPECT_EQ(Run(u"15", {true}), FirmwareCheckResult::HandedOver);
  EXPECT_EQ(boxes_, (std::vector<Box>{Question()}));
  EXPECT_EQ(server.Requests(), (std::vector<std::string>{kManifestPath, kImagePath}));
  EXPECT_EQ(Read("FWUpdate/new_version/VornaGameDevice.bin"), kImage);
  EXPECT_EQ(Read("FWUpdate/new_version/update.xml"), Manifest("16", server.Address(kImagePath)));
  EXPECT_TRUE(NothingLeftFetching());
  EXPECT_EQ(address_, server.Address(kImagePath));
  EXPECT_EQ(flasher_.WaitForLines(1), (std::vector<std::string>{"1 [-VORNA]"}));
  EXPECT_TRUE(CloseRequested());
}

TEST_F(FirmwareCheckTest, SameVersionOnTheServerIsTheLatest) {
  LoopbackHttpServer server;
  server.Serve(kManifestPath, Manifest("16", server.Address(kImagePath)));
  server.Serve(kImagePath, kImage);
  UseServer(server.Port());

  EXPECT_EQ(Run(u"16", {}), FirmwareCheckResult::Latest);
  EXPECT_EQ(boxes_, (std::vector<Box>{Message(FirmwareMessage::LatestVersion)}));
  EXPECT_EQ(server.Requests(), (std::vector<std::string>{kManifestPath}));
  EXPECT_FALSE(Exists("FWUpdate/new_version/VornaGameDevice.bin"));
  EXPECT_TRUE(flasher_.WaitForLines(0, std::chrono::milliseconds(0)).empty());
  EXPECT_FALSE(CloseRequested());
}

TEST_F(FirmwareCheckTest, ServerDownSaysTheCheckCouldNotBeMadeInBothLanguages) {
  UseServer(LoopbackHttpServer::ClosedPort());
  shotName_ = L"could_not_check";
  for (bool chinese : {false, true}) {
    app_->model().chineseText = chinese;
    boxes_.clear();
    answered_ = nullptr;
    EXPECT_EQ(Run(u"15", {}), FirmwareCheckResult::CouldNotCheck);
    EXPECT_EQ(boxes_, (std::vector<Box>{Message(FirmwareMessage::CouldNotCheck, chinese)}));
  }
  EXPECT_FALSE(Exists("FWUpdate/new_version/update.xml"));
  EXPECT_TRUE(NothingLeftFetching());
  EXPECT_TRUE(flasher_.WaitForLines(0, std::chrono::milliseconds(0)).empty());
  EXPECT_FALSE(CloseRequested());
}

TEST_F(FirmwareCheckTest, ImageWithTheWrongChecksumIsRefusedAndDeletedAndNothingStarts) {
  LoopbackHttpServer server;
  server.Serve(kManifestPath, Manifest("16", server.Address(kImagePath)));
  server.Serve(kImagePath, kImage + " tampered");
  UseServer(server.Port());
  shotName_ = L"image_refused";

  EXPECT_EQ(Run(u"15", {true}), FirmwareCheckResult::ImageRefused);
  EXPECT_EQ(boxes_, (std::vector<Box>{Question(), Message(FirmwareMessage::ImageRefused)}));
  EXPECT_EQ(server.Requests(), (std::vector<std::string>{kManifestPath, kImagePath}));
  EXPECT_FALSE(Exists("FWUpdate/new_version/VornaGameDevice.bin"));
  EXPECT_TRUE(NothingLeftFetching());

  // Again in Chinese: the manifest kept on disk asks at once, and the image is fetched again.
  app_->model().chineseText = true;
  boxes_.clear();
  EXPECT_EQ(Run(u"15", {true}), FirmwareCheckResult::ImageRefused);
  EXPECT_EQ(boxes_.size(), 2u);
  EXPECT_EQ(boxes_.back(), Message(FirmwareMessage::ImageRefused, true));
  EXPECT_EQ(server.Requests(), (std::vector<std::string>{kManifestPath, kImagePath, kImagePath}));
  EXPECT_FALSE(Exists("FWUpdate/new_version/VornaGameDevice.bin"));
  EXPECT_TRUE(flasher_.WaitForLines(0, std::chrono::milliseconds(0)).empty());
  EXPECT_FALSE(CloseRequested());
}

TEST_F(FirmwareCheckTest, DeclinedFetchesNothingButTheManifest) {
  LoopbackHttpServer server;
  server.Serve(kManifestPath, Manifest("16", server.Address(kImagePath)));
  server.Serve(kImagePath, kImage);
  UseServer(server.Port());

  EXPECT_EQ(Run(u"15", {false}), FirmwareCheckResult::Declined);
  EXPECT_EQ(boxes_, (std::vector<Box>{Question()}));
  EXPECT_EQ(server.Requests(), (std::vector<std::string>{kManifestPath}));
  EXPECT_TRUE(Exists("FWUpdate/new_version/update.xml"));
  EXPECT_FALSE(Exists("FWUpdate/new_version/VornaGameDevice.bin"));
  EXPECT_TRUE(flasher_.WaitForLines(0, std::chrono::milliseconds(0)).empty());
  EXPECT_FALSE(CloseRequested());
}

TEST_F(FirmwareCheckTest, NewerLocalManifestWithoutACheckedImageFetchesAndChecksItBeforeTheHandOver) {
  LoopbackHttpServer server;
  server.Serve(kImagePath, kImage);
  UseServer(server.Port());
  folder_.Write("FWUpdate/new_version/update.xml", Manifest("16", server.Address(kImagePath)));
  // An image the manifest does not describe must not reach the tool.
  folder_.Write("FWUpdate/new_version/VornaGameDevice.bin", "NX7 firmware image 15 (old)");

  EXPECT_EQ(Run(u"15", {true}), FirmwareCheckResult::HandedOver);
  EXPECT_EQ(boxes_, (std::vector<Box>{Question()}));
  EXPECT_EQ(server.Requests(), (std::vector<std::string>{kImagePath}));
  EXPECT_EQ(Read("FWUpdate/new_version/VornaGameDevice.bin"), kImage);
  EXPECT_EQ(flasher_.WaitForLines(1), (std::vector<std::string>{"1 [-VORNA]"}));
  EXPECT_TRUE(CloseRequested());
}

TEST_F(FirmwareCheckTest, ImageMissingOnTheServerIsADownloadFailure) {
  LoopbackHttpServer server;
  server.Serve(kManifestPath, Manifest("16", server.Address(kImagePath)));
  UseServer(server.Port());

  EXPECT_EQ(Run(u"15", {true}), FirmwareCheckResult::ImageFetchFailed);
  EXPECT_EQ(boxes_, (std::vector<Box>{Question(), Message(FirmwareMessage::ImageFetchFailed)}));
  EXPECT_FALSE(Exists("FWUpdate/new_version/VornaGameDevice.bin"));
  EXPECT_TRUE(NothingLeftFetching());
  EXPECT_TRUE(flasher_.WaitForLines(0, std::chrono::milliseconds(0)).empty());
}

TEST_F(FirmwareCheckTest, EachCheckAsksTheServerAgain) {
  LoopbackHttpServer server;
  server.Serve(kManifestPath, Manifest("16", server.Address(kImagePath)));
  UseServer(server.Port());
  EXPECT_EQ(Run(u"16", {}), FirmwareCheckResult::Latest);

  server.Serve(kManifestPath, Manifest("17", server.Address(kImagePath)));
  boxes_.clear();
  answered_ = nullptr;
  EXPECT_EQ(Run(u"16", {false}), FirmwareCheckResult::Declined);
  EXPECT_EQ(boxes_, (std::vector<Box>{Question()}));
  EXPECT_EQ(server.Requests(), (std::vector<std::string>{kManifestPath, kManifestPath}));
}

}  // namespace
}  // namespace nx7::win32
