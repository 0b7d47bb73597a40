// Renders the message box in both languages and a main-window-sized window with its region
// buttons in normal, hover and checked states, and saves them as PNG files in
// <build>/screenshots. Also reports what the region buttons cost in pictures and GDI objects.
#include <gtest/gtest.h>

#include <array>
#include <iostream>
#include <memory>

#include "platform/win32/wide.h"
#include "skin/dlg_info_win32.h"
#include "skin/gdi_bitmap_btn_win32.h"
#include "skin/irr_button_win32.h"
#include "skin/layout_win32.h"
#include "skin_test_support.h"

namespace nx7::win32 {
namespace {

using test::PumpMessages;

// <build>: the test program sits in <build>/tests/skin.
std::wstring BuildFolder() {
  wchar_t path[MAX_PATH];
  ::GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder(path);
  for (int i = 0; i < 3; ++i) folder.resize(folder.find_last_of(L"\\/"));
  return folder;
}
std::wstring ScreenshotPath(const wchar_t* name) { return BuildFolder() + L"\\screenshots\\" + name; }

// Brings the window to the screen and saves what the screen shows of it.
Bitmap Shoot(HWND window, const wchar_t* name) {
  ::RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  PumpMessages();
  ::GdiFlush();
  RECT r{};
  ::GetWindowRect(window, &r);
  Bitmap shot = test::CaptureScreen(r);
  EXPECT_TRUE(test::SavePng(shot.Get(), ScreenshotPath(name))) << std::string(name, name + wcslen(name));
  return shot;
}

// The Chinese screenshots are worth looking at only when Chinese text comes out as characters:
// two different characters must not draw the same picture, as the box of a missing glyph does.
TEST(Screenshots, ChineseTextDrawsAsCharactersInTheMessageBoxFont) {
  Font font;
  font.Attach(::CreateFontW(14, 0, 0, 0, 300, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                            CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FF_SWISS, L"MS Shell Dlg"));
  ASSERT_TRUE(font);
  const auto draw = [&](const wchar_t* text) {
    Bitmap bitmap = test::MakeSolidBitmap(32, 32, RGB(255, 255, 255));
    {
      BitmapDc dc(nullptr, bitmap.Get());
      SelectGuard select(dc, font.Get());
      ::SetBkMode(dc, TRANSPARENT);
      ::SetTextColor(dc, RGB(0, 0, 0));
      RECT r{0, 0, 32, 32};
      ::DrawTextW(dc, text, -1, &r, DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
    }
    return test::ReadBitmap(bitmap.Get()).data;
  };
  const auto mouse = draw(L"\u9F20"), mark = draw(L"\u6807"), nothing = draw(L"");
  EXPECT_NE(mouse, nothing);
  EXPECT_NE(mouse, mark) << "Chinese characters draw as boxes: the system has no font for them";
}

TEST(Screenshots, MessageBoxInBothLanguages) {
  struct Shot {
    bool chinese;
    int twoButtons;
    std::u16string text;
    const wchar_t* file;
  } shots[] = {
      {false, 0, u"The NX7 gaming mouse cannot be found.", L"message_box_en.png"},
      {false, 1, u"Restore the default settings? The current profile will be overwritten.", L"message_box_en_two.png"},
      {true, 0, u"\u6CA1\u6709\u627E\u5230NX7\u6E38\u620F\u9F20\u6807.", L"message_box_zh.png"},
      {true, 1, u"\u5F53\u524D\u5B8F\u6B63\u5728\u88AB\u4F7F\u7528\uFF0C\u4E0D\u80FD\u5220\u9664\uFF01", L"message_box_zh_two.png"},
  };
  for (const Shot& s : shots) {
    static CDlgInfo* box;
    static const Shot* shot;
    static test::Pixels pixels;
    static int visibleTicks;
    visibleTicks = 0;
    CDlgInfo dialog(nullptr, RealClock(), WindowTimers());
    dialog.chineseText = s.chinese;
    dialog.text = s.text;
    dialog.twoButtons = s.twoButtons;
    box = &dialog;
    shot = &s;
    const UINT_PTR timer = ::SetTimer(nullptr, 0, 50, [](HWND, UINT, UINT_PTR id, DWORD) {
      // Give the display a moment after the box appears.
      if (!box->GetSafeHwnd() || !::IsWindowVisible(*box) || ++visibleTicks < 6) return;
      ::KillTimer(nullptr, id);
      pixels = test::ReadBitmap(Shoot(*box, shot->file).Get());
      box->EndDialog(IDOK);
    });
    EXPECT_EQ(dialog.DoModal(), IDOK);
    ::KillTimer(nullptr, timer);
    EXPECT_EQ(pixels.width, 330);
    EXPECT_EQ(pixels.height, 160);
  }
}

// A window the size of the main window showing its skin, with the minimise, close and language
// buttons and the eleven region buttons of the page tabs, profiles and apply.
class MainWindowMock {
 public:
  explicit MainWindowMock(bool chinese) {
    const std::wstring skins = BuildFolder() + L"\\skins\\";
    normal_ = SharedFileBitmap(FromWide(skins + L"Main_Normal.bmp"));
    over_ = SharedFileBitmap(FromWide(skins + L"Main_Over.bmp"));
    down_ = SharedFileBitmap(FromWide(skins + L"Main_Down.bmp"));
    namespace main = layout::main_window;
    const RECT area{40, 40, 40 + main::kClient.width, 40 + main::kClient.height};
    EXPECT_TRUE(window.Open(area));
    window.SetBackground(normal_->bitmap.Get());
    // The flag of the language shown, as the main window has it above its language button.
    flag_ = LoadResourceBitmap(layout::resource::kFlagFirst + (chinese ? 0 : 1));
    const RECT f = ToRect(main::kFlagPicture);
    flagPicture.CreateEx(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_BITMAP, f, window, 1010);
    flagPicture.Send(STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(flag_.bitmap.Get()));
    for (auto [button, place] : {std::pair{&minimise, main::kMinimiseButton}, std::pair{&close, main::kCloseButton},
                                 std::pair{&language, main::kLanguageButton}}) {
      const RECT r = ToRect(place);
      button->Create(window, r);
      button->SetSkin(r.left, r.top, r.right, r.bottom, normal_->bitmap.Get(), over_->bitmap.Get(), down_->bitmap.Get(), normal_->bitmap.Get());
    }
    std::vector<layout::Quad> quads(main::kPageTabs.begin(), main::kPageTabs.end());
    quads.insert(quads.end(), main::kProfileButtons.begin(), main::kProfileButtons.end());
    quads.push_back(main::kApplyButton);
    const int first = chinese ? layout::resource::kMainChinese : layout::resource::kMainEnglish;
    for (size_t i = 0; i < quads.size(); ++i) {
      regions[i].LoadBitmaps(first, first + 2, first + 1, first);
      const auto corners = ToPoints(quads[i]);
      Region shape = MakePolygonRegion(corners.data(), corners.size());
      EXPECT_TRUE(regions[i].Create(u"", WS_CHILD | WS_VISIBLE, shape.Get(), window, 0));
      regions[i].SetRadioMode(true);
    }
    PumpMessages();
  }
  test::RecordingWindow window;
  CWnd flagPicture;
  CGDIBitmapBtn minimise, close, language;
  std::array<CIrrButton, 11> regions;

 private:
  SharedSkinBitmap normal_, over_, down_;
  SkinBitmap flag_;
};

TEST(Screenshots, MainWindowRegionButtonsInTheirStates) {
  const DWORD gdiBefore = ::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS);
  const std::ptrdiff_t ownedBefore = OwnedGdiObjects();
  const SharedBitmapUsage before = SharedBitmapsInUse();
  for (bool chinese : {false, true}) {
    MainWindowMock mock(chinese);
    const SharedBitmapUsage usage = SharedBitmapsInUse();
    const DWORD gdi = ::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS);
    const std::ptrdiff_t owned = OwnedGdiObjects() - ownedBefore;
    // The eleven buttons keep only their pieces of the three window pictures they were given:
    // the pictures alive are the window's own three skin files.
    const SkinBitmap& one = *SharedResourceBitmap(chinese ? 154 : 157);
    ASSERT_TRUE(one) << "artwork resources missing";
    EXPECT_EQ(one.width, 959);
    EXPECT_EQ(one.height, 639);
    EXPECT_EQ(usage.pictures - before.pictures, 3u);
    const size_t perPicture = BitmapBytes(one.bitmap.Get());
    std::cout << "main window mock (" << (chinese ? "Chinese" : "English") << "): shared pictures "
              << usage.pictures - before.pictures << ", bitmap memory " << usage.bytes - before.bytes
              << " bytes (one window picture " << perPicture << " bytes; unshared region buttons would hold "
              << 44 * perPicture << " bytes), GDI objects held by the window's controls " << owned
              << " plus 11 window regions, GetGuiResources " << gdi << " (before " << gdiBefore << ")\n";

    const wchar_t* prefix = chinese ? L"main_zh_" : L"main_en_";
    Bitmap normal = Shoot(mock.window, (std::wstring(prefix) + L"normal.png").c_str());

    // Hover: the pointer on the lighting tab.
    CIrrButton& lighting = mock.regions[1];
    ::SetCursorPos(40 + 300, 40 + 100);
    lighting.Send(WM_MOUSEMOVE, 0, MAKELPARAM(300 - lighting.BoundingBox().left, 100 - lighting.BoundingBox().top));
    EXPECT_TRUE(lighting.IsHovering());
    Bitmap hover = Shoot(mock.window, (std::wstring(prefix) + L"hover.png").c_str());
    ::SetCursorPos(1270, 1010);  // off the window
    lighting.SetCheck(false);     // drops the highlight
    EXPECT_FALSE(lighting.IsHovering());

    // Checked: the performance tab and profile 1, as after start-up.
    mock.regions[0].SetCheck(true);
    mock.regions[5].SetCheck(true);
    Bitmap checked = Shoot(mock.window, (std::wstring(prefix) + L"checked.png").c_str());

    // The three states differ inside the buttons concerned and nowhere else.
    const test::Pixels n = test::ReadBitmap(normal.Get()), h = test::ReadBitmap(hover.Get()), c = test::ReadBitmap(checked.Get());
    ASSERT_EQ(n.data.size(), h.data.size());
    const RECT lightingBox = lighting.BoundingBox();
    int changedInside = 0, changedOutside = 0;
    for (int y = 0; y < n.height; ++y) {
      for (int x = 0; x < n.width; ++x) {
        if (n.At(x, y) == h.At(x, y)) continue;
        const POINT p{x, y};
        (::PtInRect(&lightingBox, p) ? changedInside : changedOutside)++;
      }
    }
    EXPECT_GT(changedInside, 500);
    EXPECT_EQ(changedOutside, 0);
    EXPECT_NE(n.data, c.data);
  }
}

}  // namespace
}  // namespace nx7::win32
