// The language menu on a real desktop, driven as a person would: the pointer moved over the
// entries, clicks and Escape injected with SendInput, a click elsewhere. Checks what the owner
// is told, where the menu opens, what it draws, and that it goes away; saves a screenshot.
#include "i18n/language_menu_win32.h"

#include <gtest/gtest.h>

#include "app/messages.h"
#include "framework/ui_test_support.h"
#include "i18n/language_table.h"
#include "platform/win32/wide.h"
#include "skin/layout.h"
#include "skin/skin_images_win32.h"

namespace nx7::win32 {
namespace {

using test::PumpMessages;
using test::PumpUntil;

// The owner stands where the main window would: its language button at its layout place.
constexpr RECT kOwner{20, 20, 20 + 959, 20 + 639};
constexpr RECT kButton{kOwner.left + layout::main_window::kLanguageButton.left,
                       kOwner.top + layout::main_window::kLanguageButton.top,
                       kOwner.left + layout::main_window::kLanguageButton.right,
                       kOwner.top + layout::main_window::kLanguageButton.bottom};

std::wstring BuildFolder() {
  wchar_t path[MAX_PATH];
  ::GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder(path);
  for (int i = 0; i < 3; ++i) folder.resize(folder.find_last_of(L"\\/"));
  return folder;
}

void Mouse(DWORD flags) {
  INPUT in{};
  in.type = INPUT_MOUSE;
  in.mi.dwFlags = flags;
  ::SendInput(1, &in, sizeof(INPUT));
}
void MoveTo(POINT screen) {
  ::SetCursorPos(screen.x, screen.y);
  Mouse(MOUSEEVENTF_MOVE);
}
void Key(WORD key) {
  INPUT in[2] = {};
  in[0].type = in[1].type = INPUT_KEYBOARD;
  in[0].ki.wVk = in[1].ki.wVk = key;
  in[1].ki.dwFlags = KEYEVENTF_KEYUP;
  ::SendInput(2, in, sizeof(INPUT));
}

class LanguageMenuTest : public ::testing::Test {
 protected:
  void SetUp() override {
    background = SharedFileBitmap(FromWide(BuildFolder() + L"\\skins\\Main_Normal.bmp"));
    if (background) owner.SetBackground(background->bitmap.Get());
    ASSERT_TRUE(owner.Open(kOwner));
    PumpMessages();
    aliveBefore = CWndPopup::Alive();
    menu = OpenLanguageMenu(owner, kButton);
    ASSERT_NE(menu, nullptr);
    window = menu->GetSafeHwnd();
    PumpMessages();
  }
  void TearDown() override {
    Mouse(MOUSEEVENTF_LEFTUP);
    if (::IsWindow(window)) ::PostMessageW(window, WM_CLOSE, 0, 0);
    PumpUntil([&] { return CWndPopup::Alive() == aliveBefore; });
  }
  // The centre of entry `index` on the screen.
  POINT EntryCentre(size_t index) const {
    const layout::Rect& r = menu->Model().Entries()[index].rect;
    RECT w{};
    ::GetWindowRect(window, &w);
    return POINT{w.left + (r.left + r.right) / 2, w.top + (r.top + r.bottom) / 2};
  }
  std::vector<LPARAM> Chosen() const {
    std::vector<LPARAM> ids;
    for (const auto& m : owner.Received(WM_LANGUAGE_SELECTED)) {
      EXPECT_EQ(m.w, 0u);
      ids.push_back(m.l);
    }
    return ids;
  }
  bool Closed() { return !::IsWindow(window) && CWndPopup::Alive() == aliveBefore; }

  SharedSkinBitmap background;
  test::RecordingWindow owner;
  CMenuExA* menu = nullptr;
  HWND window = nullptr;
  int aliveBefore = 0;
};

TEST_F(LanguageMenuTest, OpensAboveTheLanguageButtonWithTheTwelveLanguages) {
  RECT r{};
  ::GetWindowRect(window, &r);
  EXPECT_EQ(r.left, kButton.left - 4);
  EXPECT_EQ(r.top, kButton.bottom - 287);
  EXPECT_EQ(r.right - r.left, 116);
  EXPECT_EQ(r.bottom - r.top, 273);
  EXPECT_EQ(kButton.bottom - r.bottom, 14);  // its bottom edge 14 pixels above the button's
  EXPECT_TRUE(::IsWindowVisible(window));
  EXPECT_EQ(::GetWindow(window, GW_OWNER), owner.GetSafeHwnd());
  const LONG_PTR exStyle = ::GetWindowLongPtrW(window, GWL_EXSTYLE);
  EXPECT_TRUE(exStyle & WS_EX_TOPMOST);
  EXPECT_TRUE(exStyle & WS_EX_TOOLWINDOW);
  EXPECT_TRUE(exStyle & WS_EX_LAYERED);
  const auto& entries = menu->Model().Entries();
  ASSERT_EQ(entries.size(), kLanguageTable.size());
  for (size_t i = 0; i < entries.size(); ++i) {
    EXPECT_EQ(entries[i].command, kLanguageTable[i].id);
    EXPECT_EQ(menu->Text(i), kLanguageTable[i].menuText);
  }
}

TEST_F(LanguageMenuTest, EachEntryShowsItsFlagAndTheFrameKeepsItsSoftEdge) {
  const CWndPopup::Frame& frame = menu->LastFrame();
  ASSERT_EQ(frame.width, 116);
  ASSERT_EQ(frame.height, 273);
  const auto& entries = menu->Model().Entries();
  for (size_t i = 0; i < entries.size(); ++i) {
    GdiplusImage icon;
    ASSERT_TRUE(LoadPngResource(static_cast<UINT>(kLanguageTable[i].menuIconId), icon)) << i;
    const SIZE size = ImageSize(icon.Get());
    const int x = entries[i].rect.left + (25 - size.cx) / 2;
    const int y = entries[i].rect.top + (entries[i].rect.height() - size.cy) / 2;
    // The flags are opaque: the picture shows their pixels as they are.
    for (POINT p : {POINT{size.cx / 2, size.cy / 2}, POINT{3, 3}, POINT{size.cx - 3, size.cy - 3}}) {
      Gdiplus::ARGB argb = 0;
      Gdiplus::DllExports::GdipBitmapGetPixel(reinterpret_cast<Gdiplus::GpBitmap*>(icon.Get()), p.x, p.y, &argb);
      if ((argb & 0xFFFFFF) == 0) argb |= 1;  // black is shown as (0, 0, 1)
      EXPECT_EQ(frame.At(x + p.x, y + p.y), argb) << "entry " << i << " at " << p.x << "," << p.y;
    }
  }
  // Chinese and Trad.Chinese show the same picture under different resource numbers.
  const layout::Size icon = layout::art::kMenuIcon;
  const int left = entries[0].rect.left + (25 - icon.width) / 2;
  const int top0 = entries[0].rect.top + (22 - icon.height) / 2, top11 = entries[11].rect.top + (22 - icon.height) / 2;
  for (int dy = 0; dy < icon.height; ++dy) {
    for (int x = left; x < left + icon.width; ++x) {
      EXPECT_EQ(frame.At(x, top0 + dy), frame.At(x, top11 + dy)) << x << "," << dy;
    }
  }
  // The frame's shadow is partly transparent at the corner, the panel is opaque, and nothing of
  // the magenta the entries are keyed on is left.
  EXPECT_LT(frame.At(0, 0) >> 24, 255u);
  EXPECT_EQ(frame.At(58, 3 + 1) >> 24, 255u);
  for (uint32_t p : frame.pixels) EXPECT_NE(p & 0xFFFFFF, 0xFF00FFu);
}

TEST_F(LanguageMenuTest, ChoosingEachLanguageTellsTheOwnerItsId) {
  for (size_t i = 0; i < kLanguageTable.size(); ++i) {
    owner.Clear();
    MoveTo(EntryCentre(i));
    ASSERT_TRUE(PumpUntil([&] { return menu->Model().Highlighted() == static_cast<int>(i); })) << i;
    // The entry is drawn lit: blue fill with light text.
    const layout::Rect& r = menu->Model().Entries()[i].rect;
    EXPECT_EQ(menu->LastFrame().At(r.right - 2, r.top + 1), 0xFF0093D1u) << i;
    Mouse(MOUSEEVENTF_LEFTDOWN);
    Mouse(MOUSEEVENTF_LEFTUP);
    ASSERT_TRUE(PumpUntil([&] { return !Chosen().empty(); })) << i;
    EXPECT_EQ(Chosen(), std::vector<LPARAM>{static_cast<LPARAM>(kLanguageTable[i].id)});
  }
  // The owner closes the menu after its switch: the closing notice carries 0.
  owner.Clear();
  ::PostMessageW(window, WM_CLOSE, 0, 0);
  ASSERT_TRUE(PumpUntil([&] { return Closed(); }));
  EXPECT_EQ(Chosen(), std::vector<LPARAM>{0});
}

TEST_F(LanguageMenuTest, ClickingOutsideClosesItAndTellsTheOwnerNothingWasChosen) {
  owner.Clear();
  MoveTo(POINT{kOwner.left + 600, kOwner.top + 300});
  Mouse(MOUSEEVENTF_LEFTDOWN);
  Mouse(MOUSEEVENTF_LEFTUP);
  ASSERT_TRUE(PumpUntil([&] { return Closed(); }));
  EXPECT_EQ(Chosen(), std::vector<LPARAM>{0});
}

TEST_F(LanguageMenuTest, EscapeClosesIt) {
  ASSERT_EQ(::GetForegroundWindow(), window);
  owner.Clear();
  Key(VK_ESCAPE);
  ASSERT_TRUE(PumpUntil([&] { return Closed(); }));
  EXPECT_EQ(Chosen(), std::vector<LPARAM>{0});
}

TEST_F(LanguageMenuTest, PressingOnOneEntryAndReleasingOnAnotherChoosesNothing) {
  MoveTo(EntryCentre(1));
  ASSERT_TRUE(PumpUntil([&] { return menu->Model().Highlighted() == 1; }));
  Mouse(MOUSEEVENTF_LEFTDOWN);
  MoveTo(EntryCentre(4));
  Mouse(MOUSEEVENTF_LEFTUP);
  ASSERT_TRUE(PumpUntil([&] { return menu->Model().Highlighted() == -1; }));
  PumpMessages();
  EXPECT_TRUE(Chosen().empty());
  EXPECT_TRUE(::IsWindow(window));
  // The cleared highlight is drawn: entry 1 shows the frame again, not the blue fill.
  const layout::Rect& r = menu->Model().Entries()[1].rect;
  EXPECT_NE(menu->LastFrame().At(r.right - 2, r.top + 1), 0xFF0093D1u);
}

TEST_F(LanguageMenuTest, LeavingTheMenuDropsTheHighlightButLeavesItDrawnUntilTheNextMove) {
  MoveTo(EntryCentre(2));
  ASSERT_TRUE(PumpUntil([&] { return menu->Model().Highlighted() == 2; }));
  const layout::Rect& r = menu->Model().Entries()[2].rect;
  EXPECT_EQ(menu->LastFrame().At(r.right - 2, r.top + 1), 0xFF0093D1u);
  // Onto the owner without a click: the menu stays open, the highlight goes, the picture stays.
  MoveTo(POINT{kOwner.left + 600, kOwner.top + 300});
  ASSERT_TRUE(PumpUntil([&] { return menu->Model().Highlighted() == -1; }));
  EXPECT_TRUE(::IsWindow(window));
  EXPECT_EQ(menu->LastFrame().At(r.right - 2, r.top + 1), 0xFF0093D1u);
  // The next move over the menu draws again.
  MoveTo(EntryCentre(5));
  ASSERT_TRUE(PumpUntil([&] { return menu->Model().Highlighted() == 5; }));
  EXPECT_NE(menu->LastFrame().At(r.right - 2, r.top + 1), 0xFF0093D1u);
  EXPECT_TRUE(Chosen().empty());
}

TEST_F(LanguageMenuTest, Screenshot) {
  MoveTo(EntryCentre(1));
  ASSERT_TRUE(PumpUntil([&] { return menu->Model().Highlighted() == 1; }));
  PumpMessages();
  ::GdiFlush();
  ::Sleep(100);
  RECT menuRect{};
  ::GetWindowRect(window, &menuRect);
  const RECT shot{kOwner.left, menuRect.top - 20, kOwner.left + 320, kOwner.bottom};
  Bitmap picture = test::CaptureScreen(shot);
  ASSERT_TRUE(test::SavePng(picture.Get(), BuildFolder() + L"\\screenshots\\language_menu.png"));
  // What the screen shows of the lit entry is its blue fill.
  const test::Pixels pixels = test::ReadBitmap(picture.Get());
  const layout::Rect& r = menu->Model().Entries()[1].rect;
  EXPECT_EQ(pixels.At(menuRect.left - shot.left + r.right - 2, menuRect.top - shot.top + r.top + 1), RGB(0, 147, 209));
}

}  // namespace
}  // namespace nx7::win32
