// The support page as a window: its buttons, tooltips and hints, and what each button does, with
// the shell's file dialogs answered by a recording shell and the files in memory. The system's
// own dialogs are driven end to end in tests/app/e2e.
#include "support/dlg_support_win32.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "common/bytes.h"
#include "device/virtual/virtual_mouse.h"
#include "framework/ui_init.h"
#include "framework/ui_test_support.h"
#include "macros/input_hooks_virtual.h"
#include "platform/virtual/recording_poster.h"
#include "platform/virtual/recording_shell.h"
#include "platform/virtual/virtual_clock.h"
#include "platform/virtual/virtual_file_system.h"
#include "platform/virtual/virtual_registry.h"
#include "platform/win32/wide.h"
#include "skin/dlg_info_win32.h"
#include "skin/layout.h"
#include "skin/layout_win32.h"
#include "support/support_rules.h"

namespace nx7::win32 {
namespace {

using test::WhileModal;
using test::ThreadWindow;

namespace sp = layout::support_page;

// The build tree's top folder, where the generated skins/ sit: the test program is in tests/support.
std::u16string BuildFolder() { return FromWide(test::FolderAboveProgram(3)); }

// The messages of `message` posted to `window` and not yet handled, taken from the queue.
std::vector<LPARAM> TakePosted(HWND window, UINT message) {
  std::vector<LPARAM> found;
  MSG msg;
  while (::PeekMessageW(&msg, window, message, message, PM_REMOVE)) found.push_back(msg.lParam);
  return found;
}

class SupportPage : public ::testing::Test {
 protected:
  void SetUp() override {
    InitUserInterface();
    AppServices s;
    s.clock = std::make_unique<VirtualClock>(1000);
    auto files = std::make_unique<VirtualFileSystem>();
    files_ = files.get();
    s.files = std::move(files);
    s.registry = std::make_unique<VirtualRegistry>();
    s.ini = std::make_unique<FileIniFile>();
    s.hid = std::make_unique<VirtualMouse>();
    s.hookInstaller = std::make_unique<VirtualHookInstaller>();
    s.poster = std::make_unique<RecordingPoster>();
    app_ = std::make_unique<AppContext>(BuildFolder(), std::move(s));
    app_->model().chineseText = false;
    LoadStringCatalogue(app_->catalogue(), app_->xml(), std::filesystem::path("Z:" NX7_SOURCE_DIR "/Language/en.xml"));
    FillWithDefaults(app_->settings(), false);
    ASSERT_TRUE(owner_.Open(RECT{0, 0, 959, 639}));
    page_ = std::make_unique<CDlgSupport>(*app_, shell_);
    ASSERT_TRUE(page_->CreatePage(owner_, ToRect(layout::main_window::kPageArea)));
    ::ShowWindow(*page_, SW_SHOW);
    test::PumpMessages();
  }

  HWND Button(CDlgSupport::Button b) const { return page_->ButtonWindow(b).GetSafeHwnd(); }
  void Click(CDlgSupport::Button b) {
    ::SendMessageW(*page_, WM_COMMAND, MAKEWPARAM(0, BN_CLICKED), reinterpret_cast<LPARAM>(Button(b)));
  }
  // Clicks `b`, which shows the "Info" box; returns the box's text (empty when none showed) after
  // pressing its OK.
  std::u16string ClickAndReadInfo(CDlgSupport::Button b) {
    std::u16string text;
    WhileModal([&] { Click(b); },
               [&] {
                 HWND box = ThreadWindow(L"Info");
                 if (!box) return true;
                 wchar_t shown[512] = {};
                 ::GetDlgItemTextW(box, 0xFFFF, shown, 512);  // the message box's text
                 text = FromWide(shown);
                 ::PostMessageW(box, WM_COMMAND, IDOK, 0);
                 return false;
               });
    return text;
  }
  std::vector<uint8_t> Block() const {
    const auto image = SerialiseSettingsBlock(app_->settings());
    return {image.begin(), image.end()};
  }

  VirtualFileSystem* files_ = nullptr;
  std::unique_ptr<AppContext> app_;
  RecordingShell shell_;
  test::RecordingWindow owner_;
  std::unique_ptr<CDlgSupport> page_;
};

TEST_F(SupportPage, ButtonsSitAtTheirPlacesWithTheirTooltipsAndHints) {
  const struct {
    CDlgSupport::Button button;
    layout::Rect rect;
    const char16_t* tooltipKey;
    int hint;
  } cases[] = {
      {CDlgSupport::kFirmwareUpdate, sp::kFirmwareUpdate, u"str_update", 56},
      {CDlgSupport::kWebSite, sp::kWebSite, u"str_vornaWeb", 57},
      {CDlgSupport::kImport, sp::kImport, u"str_importFile", 58},
      {CDlgSupport::kExport, sp::kExport, u"str_exportFile", 59},
      {CDlgSupport::kRestoreDefaults, sp::kRestoreDefaults, u"str_defaultname", 60},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.hint);
    RECT r{};
    ::GetWindowRect(Button(c.button), &r);
    ::MapWindowPoints(nullptr, *page_, reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ(r.left, c.rect.left);
    EXPECT_EQ(r.top, c.rect.top);
    EXPECT_EQ(r.right, c.rect.right);
    EXPECT_EQ(r.bottom, c.rect.bottom);
    const std::u16string tooltip = page_->ButtonWindow(c.button).GetToolTip().Text(Button(c.button));
    EXPECT_FALSE(tooltip.empty());
    EXPECT_EQ(tooltip, app_->catalogue().Text(c.tooltipKey));
    EXPECT_TRUE(page_->ButtonWindow(c.button).GetToolTip().IsActive());
    // The hint shows one pixel around the button, not two.
    TakePosted(owner_, WM_SHOW_HINT);
    for (POINT inside : {POINT{c.rect.left - 1, c.rect.top - 1}, POINT{c.rect.right, c.rect.bottom},
                         POINT{(c.rect.left + c.rect.right) / 2, (c.rect.top + c.rect.bottom) / 2}}) {
      ::SendMessageW(*page_, WM_MOUSEMOVE, 0, MAKELPARAM(inside.x, inside.y));
      EXPECT_EQ(TakePosted(owner_, WM_SHOW_HINT), std::vector<LPARAM>{c.hint}) << inside.x << "," << inside.y;
    }
    for (POINT outside : {POINT{c.rect.left - 2, c.rect.top}, POINT{c.rect.left, c.rect.bottom + 1}}) {
      ::SendMessageW(*page_, WM_MOUSEMOVE, 0, MAKELPARAM(outside.x, outside.y));
      EXPECT_TRUE(TakePosted(owner_, WM_SHOW_HINT).empty()) << outside.x << "," << outside.y;
    }
  }
}

TEST_F(SupportPage, ButtonsShowThePagePicturesAtTheirPlace) {
  const SkinBitmap over = LoadSkinBitmap(BuildFolder() + u"\\skins\\support_over.bmp");
  const SkinBitmap normal = LoadSkinBitmap(BuildFolder() + u"\\skins\\support_normal.bmp");
  ASSERT_TRUE(over);
  ASSERT_TRUE(normal);
  const layout::Rect r = sp::kImport;
  const test::Pixels shown = test::RenderClient(Button(CDlgSupport::kImport));
  Bitmap expected = CutBitmap(normal.bitmap.Get(), r.left, r.top, r.right, r.bottom);
  Bitmap hover = CutBitmap(over.bitmap.Get(), r.left, r.top, r.right, r.bottom);
  EXPECT_EQ(shown.data, test::ReadBitmap(expected.Get()).data);
  EXPECT_NE(shown.data, test::ReadBitmap(hover.Get()).data);
}

TEST_F(SupportPage, ALanguageSwitchReachesTheTooltips) {
  LoadStringCatalogue(app_->catalogue(), app_->xml(), std::filesystem::path("Z:" NX7_SOURCE_DIR "/Language/sc.xml"));
  const std::u16string chinese = app_->catalogue()[StringKey::str_importFile];
  ASSERT_NE(chinese, page_->ButtonWindow(CDlgSupport::kImport).GetToolTip().Text(Button(CDlgSupport::kImport)));
  page_->RefreshToolTips();
  EXPECT_EQ(page_->ButtonWindow(CDlgSupport::kImport).GetToolTip().Text(Button(CDlgSupport::kImport)), chinese);
}

TEST_F(SupportPage, WebSiteOpensTheMakersAddressMaximised) {
  Click(CDlgSupport::kWebSite);
  EXPECT_EQ(shell_.Take(), (std::vector<ShellRequest>{{ShellRequest::Kind::OpenMaximised, u"www.vorna.com", u""}}));
}

// The button runs the firmware check (tested on its own against a local server): here no manifest
// and no server answer, so it tells the user in the program's box and starts nothing.
TEST_F(SupportPage, FirmwareUpdateRunsTheCheckAndSaysWhatItFound) {
  bool boxShown = false;
  WhileModal([&] { Click(CDlgSupport::kFirmwareUpdate); },
             [&] {
               HWND box = ThreadWindow(L"VornaNX7InfoDlg");
               if (!box) return true;
               boxShown = true;
               ::PostMessageW(box, WM_COMMAND, IDOK, 0);
               return false;
             });
  EXPECT_TRUE(boxShown);
  EXPECT_TRUE(shell_.Take().empty());
}

TEST_F(SupportPage, ImportAsksForAFileThroughTheOpenDialogAndSaysWhatItDid) {
  const std::u16string good = u"C:\\Profiles\\good.cfg", bad = u"C:\\Profiles\\bad.cfg";
  std::vector<uint8_t> image = Block();
  WriteLe32(&image[22040], 1600);  // the first DPI level
  image.resize(9000);              // a short file: the rest of the block becomes zeros
  files_->PutFile(good, image);
  files_->PutFile(bad, std::vector<uint8_t>(kSettingsBlockSize, 0x65));
  const std::vector<uint8_t> before = Block();

  shell_.QueueFileChoice(std::nullopt);  // cancelled: no box, nothing read
  EXPECT_EQ(ClickAndReadInfo(CDlgSupport::kImport), u"");
  EXPECT_EQ(Block(), before);
  shell_.QueueFileChoice(bad);
  EXPECT_EQ(ClickAndReadInfo(CDlgSupport::kImport), bad + u" is an invaild Profile!");
  EXPECT_EQ(Block(), before);
  shell_.QueueFileChoice(good);
  EXPECT_EQ(ClickAndReadInfo(CDlgSupport::kImport), good + u" import success!");
  image.resize(kSettingsBlockSize, 0);
  EXPECT_EQ(Block(), image);

  const std::vector<ShellRequest> asked = shell_.Take();
  ASSERT_EQ(asked.size(), 3u);
  for (const ShellRequest& r : asked) {
    EXPECT_EQ(r.kind, ShellRequest::Kind::ChooseFile);
    EXPECT_EQ(r.dialog, FileDialogKind::Open);
    EXPECT_EQ(r.options, ProfileFileDialogOptions(FileDialogKind::Open));
    EXPECT_EQ(r.owner, static_cast<WindowHandle>(static_cast<HWND>(owner_)));
  }
}

TEST_F(SupportPage, ExportWritesTheBlockThroughTheSaveDialogAndSaysWhatItDid) {
  app_->settings().dpiLevels[0] = 800;
  files_->AddFolder(u"C:\\Out");
  files_->AddFolder(u"C:\\Locked");
  files_->DenyWrites(u"C:\\Locked");
  shell_.QueueFileChoice(u"C:\\Out\\mine.cfg");
  EXPECT_EQ(ClickAndReadInfo(CDlgSupport::kExport), u"C:\\Out\\mine.cfg export success!");
  EXPECT_EQ(files_->FileContent(u"C:\\Out\\mine.cfg"), Block());
  shell_.QueueFileChoice(u"C:\\Locked\\mine.cfg");
  EXPECT_EQ(ClickAndReadInfo(CDlgSupport::kExport), u"C:\\Locked\\mine.cfg export failed!");
  EXPECT_FALSE(files_->Exists(u"C:\\Locked\\mine.cfg"));
  shell_.QueueFileChoice(std::nullopt);
  EXPECT_EQ(ClickAndReadInfo(CDlgSupport::kExport), u"");

  const std::vector<ShellRequest> asked = shell_.Take();
  ASSERT_EQ(asked.size(), 3u);
  for (const ShellRequest& r : asked) {
    EXPECT_EQ(r.dialog, FileDialogKind::Save);
    EXPECT_EQ(r.options, ProfileFileDialogOptions(FileDialogKind::Save));
  }
}

// The text area of the program's message box as it shows `text` with OK and Cancel.
std::vector<COLORREF> QuestionBody(HWND box) {
  const test::Pixels all = test::RenderClient(box);
  std::vector<COLORREF> body;
  for (int y = CDlgInfo::kTextAreaTop; y < CDlgInfo::kTextAreaBottom; ++y)
    for (int x = 20; x < 325; ++x) body.push_back(all.At(x, y));
  return body;
}
std::vector<COLORREF> ReferenceQuestionBody(const std::u16string& text) {
  CDlgInfo box(nullptr, RealClock(), WindowTimers());
  box.chineseText = false;
  box.twoButtons = 1;
  box.text = text;
  std::vector<COLORREF> body;
  WhileModal([&] { box.DoModal(); },
             [&] {
               if (!box.GetSafeHwnd()) return true;
               body = QuestionBody(box);
               box.EndDialog(IDOK);
               return false;
             });
  return body;
}

TEST_F(SupportPage, RestoreDefaultsAsksFirstAndOnlyOkPostsTheRequest) {
  const std::vector<COLORREF> question = ReferenceQuestionBody(u"Do you want to restore the default setting?");
  ASSERT_NE(question, ReferenceQuestionBody(u"Do you want to restore the default settings?"));
  for (const bool confirm : {false, true}) {
    SCOPED_TRACE(confirm ? "OK" : "Cancel");
    std::vector<COLORREF> shown;
    WhileModal([&] { Click(CDlgSupport::kRestoreDefaults); },
               [&] {
                 HWND box = ThreadWindow(L"VornaNX7InfoDlg");
                 if (!box) return true;
                 shown = QuestionBody(box);
                 // OK and Cancel at their places in the two-button box.
                 const POINT at = confirm ? POINT{211, 143} : POINT{278, 143};
                 ::SendMessageW(::ChildWindowFromPoint(box, at), BM_CLICK, 0, 0);
                 return false;
               });
    EXPECT_EQ(shown, question);
    EXPECT_EQ(TakePosted(owner_, WM_RESTORE_DEFAULTS).size(), confirm ? 1u : 0u);
  }
}

}  // namespace
}  // namespace nx7::win32
