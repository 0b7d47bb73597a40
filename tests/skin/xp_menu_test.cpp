// The tray menu: its items drawn into a picture, and the real menu tracked for a window and
// driven with the keyboard from a timer inside the menu's own loop.
#include "skin/xp_menu_win32.h"

#include <gtest/gtest.h>

#include "skin/layout.h"
#include "skin_test_support.h"

namespace nx7::win32 {
namespace {

using test::PumpMessages;

constexpr COLORREF kNormalFill = RGB(219, 217, 209);
constexpr COLORREF kLitFill = RGB(177, 185, 207);

std::wstring BuildFolder() {
  wchar_t path[MAX_PATH];
  ::GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder(path);
  for (int i = 0; i < 3; ++i) folder.resize(folder.find_last_of(L"\\/"));
  return folder;
}

// Pixels of one item drawn at (0, 0) of a 75 x 22 picture.
test::Pixels DrawItem(bool highlighted, HICON icon, const std::u16string& text) {
  Bitmap picture = test::MakeSolidBitmap(75, 22, RGB(255, 0, 255));
  {
    BitmapDc dc(nullptr, picture.Get());
    DrawXPMenuItem(dc, RECT{0, 0, 75, 22}, highlighted, icon, text, SkinLook::Default().TrayMenuFont());
  }
  return test::ReadBitmap(picture.Get());
}

// How many pixels of (left, top)-(right, bottom) differ from `colour`.
int Differing(const test::Pixels& p, int left, int top, int right, int bottom, COLORREF colour) {
  int count = 0;
  for (int y = top; y < bottom; ++y)
    for (int x = left; x < right; ++x) count += p.At(x, y) != colour;
  return count;
}

TEST(XPMenuItem, NormalAndHighlightedLooks) {
  auto menu = CXPMenu::TrayMenu();
  ASSERT_EQ(menu->ItemCount(), 2u);
  Icon icon(static_cast<HICON>(::LoadImageW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(layout::resource::kExitIcon),
                                            IMAGE_ICON, 16, 16, LR_DEFAULTCOLOR)));
  ASSERT_TRUE(icon);

  const test::Pixels normal = DrawItem(false, icon.Get(), u"Exit");
  EXPECT_EQ(normal.At(0, 0), kNormalFill);      // no outline
  EXPECT_EQ(normal.At(74, 21), kNormalFill);
  EXPECT_EQ(normal.At(2, 2), kNormalFill);      // the icon starts at +3
  EXPECT_GT(Differing(normal, 3, 3, 19, 19, kNormalFill), 0);
  EXPECT_EQ(Differing(normal, 19, 0, 33, 22, kNormalFill), 0);  // between icon and text
  EXPECT_GT(Differing(normal, 33, 0, 75, 22, kNormalFill), 0);  // the text

  const test::Pixels lit = DrawItem(true, icon.Get(), u"Exit");
  for (POINT p : {POINT{0, 0}, POINT{74, 0}, POINT{0, 21}, POINT{74, 21}, POINT{30, 0}, POINT{30, 21}}) {
    EXPECT_EQ(lit.At(p.x, p.y), RGB(0, 0, 0)) << p.x << "," << p.y;  // the black outline
  }
  EXPECT_EQ(lit.At(1, 1), kLitFill);
  EXPECT_EQ(lit.At(73, 20), kLitFill);
  EXPECT_GT(Differing(lit, 2, 2, 18, 18, kLitFill), 0);  // the icon at +2
  EXPECT_EQ(Differing(lit, 18, 1, 33, 21, kLitFill), 0);
  // The text is blue, not black: its darkest pixel has more blue than red.
  COLORREF darkest = kLitFill;
  for (int y = 1; y < 21; ++y)
    for (int x = 33; x < 74; ++x)
      if (GetRValue(lit.At(x, y)) + GetGValue(lit.At(x, y)) + GetBValue(lit.At(x, y)) <
          GetRValue(darkest) + GetGValue(darkest) + GetBValue(darkest))
        darkest = lit.At(x, y);
  EXPECT_NE(darkest, kLitFill);
  EXPECT_GT(GetBValue(darkest), GetRValue(darkest));
}

// The window the menu is tracked for: draws the items and records the commands.
class TrayOwner : public WindowClass<TrayOwner, test::RecordingWindow, XPMenuOwner<TrayOwner>> {
 public:
  static std::span<const MessageEntry> MessageEntries() { return {}; }
};

struct MenuDriver {
  static MenuDriver* current;
  CXPMenu* menu = nullptr;
  HWND owner = nullptr;
  int tick = 0;
  std::vector<COLORREF> firstItemFills, secondItemFills;
  bool measured = false;
  SIZE itemSize{};

  static void Key(WORD key) {
    INPUT in[2] = {};
    in[0].type = in[1].type = INPUT_KEYBOARD;
    in[0].ki.wVk = in[1].ki.wVk = key;
    in[1].ki.dwFlags = KEYEVENTF_KEYUP;
    ::SendInput(2, in, sizeof(INPUT));
  }
  // The fill inside item `index` as the screen shows it (beside the icon column, above the text).
  COLORREF Fill(int index) {
    RECT r{};
    if (!::GetMenuItemRect(nullptr, menu->Handle(), static_cast<UINT>(index), &r)) return CLR_INVALID;
    itemSize = SIZE{r.right - r.left, r.bottom - r.top};
    Bitmap shot = test::CaptureScreen(r);
    return test::ReadBitmap(shot.Get()).At(24, 1);
  }
  static void CALLBACK Step(HWND, UINT, UINT_PTR id, DWORD) {
    MenuDriver& d = *current;
    switch (d.tick++) {
      case 0: Key(VK_DOWN); break;  // the first item lights up
      case 2:
        d.firstItemFills = {d.Fill(0), d.Fill(1)};
        Key(VK_DOWN);
        break;
      case 4: {
        d.secondItemFills = {d.Fill(0), d.Fill(1)};
        HWND popup = ::FindWindowW(L"#32768", nullptr);
        RECT r{};
        ::GetWindowRect(popup, &r);
        Bitmap shot = test::CaptureScreen(RECT{r.left - 10, r.top - 10, r.right + 10, r.bottom + 10});
        test::SavePng(shot.Get(), BuildFolder() + L"\\screenshots\\tray_menu.png");
        Key(VK_RETURN);  // chooses "Exit"
        break;
      }
      case 30: Key(VK_ESCAPE); break;  // never hang the run: give up
      default: break;
    }
    if (d.tick > 40) ::KillTimer(nullptr, id);
  }
};
MenuDriver* MenuDriver::current = nullptr;

TEST(XPMenu, TheTrayMenuDrawsItsItemsAndDeliversExitToItsOwner) {
  TrayOwner owner;
  ASSERT_TRUE(owner.Open(RECT{200, 200, 500, 400}));
  ::SetForegroundWindow(owner);
  PumpMessages();
  auto menu = CXPMenu::TrayMenu();
  MenuDriver driver;
  driver.menu = menu.get();
  driver.owner = owner;
  MenuDriver::current = &driver;
  const UINT_PTR timer = ::SetTimer(nullptr, 0, 100, &MenuDriver::Step);
  menu->Track(owner, POINT{260, 260});
  ::KillTimer(nullptr, timer);
  MenuDriver::current = nullptr;
  PumpMessages();

  ASSERT_EQ(driver.firstItemFills.size(), 2u);
  EXPECT_EQ(driver.firstItemFills[0], kLitFill);
  EXPECT_EQ(driver.firstItemFills[1], kNormalFill);
  ASSERT_EQ(driver.secondItemFills.size(), 2u);
  EXPECT_EQ(driver.secondItemFills[0], kNormalFill);
  EXPECT_EQ(driver.secondItemFills[1], kLitFill);
  EXPECT_EQ(driver.itemSize.cy, 22);
  const auto commands = owner.Received(WM_COMMAND);
  ASSERT_EQ(commands.size(), 1u);
  EXPECT_EQ(LOWORD(commands[0].w), CXPMenu::kExitCommand);
}

}  // namespace
}  // namespace nx7::win32
