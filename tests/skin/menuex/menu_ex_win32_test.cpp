// The built MenuEx.dll, loaded through the program's loader and driven on a real desktop as a
// person would: the pointer moved over entries and clicked, keys pressed, a click elsewhere.
// Checks what the owner is told, which level windows are open, and what the screen shows of the
// skin pictures; saves a screenshot of the open menu.
#include "skin/menuex/menu_ex_library_win32.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <thread>
#include <vector>

#include "framework/ui_test_support.h"

namespace nx7::win32 {
namespace {

using menuex::kTopLevel;
using menuex::MenuExItem;
using menuex::WM_MENUEX_SELECT;
using test::PumpMessages;
using test::PumpUntil;

constexpr wchar_t kLevelClass[] = L"NX7MenuExLevel";  // the library's level windows
constexpr int kItemHeight = 24;
constexpr COLORREF kNormalText = 0x676153, kHotText = 0xFFFFFF, kOpenText = 0xB98C15;

std::wstring Folder(int up) { return test::FolderAboveProgram(up); }
// build/windows: the test runs from build/windows/tests/skin/menuex.
std::wstring BuildFolder() { return Folder(4); }

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
void Click() {
  Mouse(MOUSEEVENTF_LEFTDOWN);
  Mouse(MOUSEEVENTF_LEFTUP);
}
void Key(WORD key) {
  INPUT in[2] = {};
  in[0].type = in[1].type = INPUT_KEYBOARD;
  in[0].ki.wVk = in[1].ki.wVk = key;
  in[1].ki.dwFlags = KEYEVENTF_KEYUP;
  ::SendInput(2, in, sizeof(INPUT));
}

// The owner stands where the main window would, painted with the macro page's picture; it
// records what the library sends it.
struct Sent {
  WPARAM w;
  LPARAM l;
};
std::vector<Sent> selections;
HBITMAP ownerPicture = nullptr;

LRESULT CALLBACK OwnerProc(HWND window, UINT message, WPARAM w, LPARAM l) {
  if (message == WM_MENUEX_SELECT) {
    selections.push_back({w, l});
    return 0;
  }
  if (message == WM_PAINT) {
    PAINTSTRUCT ps;
    HDC dc = ::BeginPaint(window, &ps);
    RECT client{};
    ::GetClientRect(window, &client);
    if (ownerPicture) {
      HDC source = ::CreateCompatibleDC(dc);
      HGDIOBJ old = ::SelectObject(source, ownerPicture);
      ::BitBlt(dc, 0, 0, client.right, client.bottom, source, 0, 0, SRCCOPY);
      ::SelectObject(source, old);
      ::DeleteDC(source);
    } else {
      ::FillRect(dc, &client, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
    }
    ::EndPaint(window, &ps);
    return 0;
  }
  return ::DefWindowProcW(window, message, w, l);
}

constexpr RECT kOwner{20, 20, 20 + 959, 20 + 639};
// The category button's place on the macro page (25,48-327,71) with the page at the owner's
// corner: the menu opens one pixel right of its left edge and one below its bottom.
constexpr POINT kMenuAt{kOwner.left + 25 + 1, kOwner.top + 71 + 1};

// 21 category-like records in an array of 200: 16 at the top level, the last of them
// ("More games", id 16) opening 17, 18 and 19, and 19 opening 20 and 21.
std::vector<MenuExItem> CategoryRecords() {
  static const char16_t* const kNames[] = {
      u"Battlefield 3 ", u"Star Wars: The Old Republic", u"Counter-Strike: Global Offensive",
      u"Elder Scrolls V: Skyrim", u"Team Fortress 2", u"Batman Arkham City", u"Civilization 5 ",
      u"World of Tanks", u"Borderlands 2", u"Anno 2070", u"League of Legends", u"Football Manager 2013 (EA)",
      u"Dota 2 ", u"Battlefield 4", u"World of Warplanes", u"More games", u"Minecraft", u"Neverwinter",
      u"Online", u"Path of Exile", u"War Thunder"};
  std::vector<MenuExItem> items(200);
  for (MenuExItem& item : items) menuex::FillMenuExItem(item, 0, 0, u"");
  for (int32_t id = 1; id <= 21; ++id) {
    const int32_t parent = id <= 16 ? kTopLevel : id <= 19 ? 16 : 19;
    menuex::FillMenuExItem(items[static_cast<size_t>(id - 1)], parent, id, kNames[id - 1]);
  }
  return items;
}

// The open level windows of this thread, the top level first (submenus open to the right).
std::vector<HWND> Levels() {
  std::vector<HWND> found;
  ::EnumThreadWindows(
      ::GetCurrentThreadId(),
      [](HWND w, LPARAM l) -> BOOL {
        wchar_t name[64] = {};
        ::GetClassNameW(w, name, 64);
        if (std::wstring(name) == kLevelClass && ::IsWindowVisible(w)) reinterpret_cast<std::vector<HWND>*>(l)->push_back(w);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&found));
  std::sort(found.begin(), found.end(), [](HWND a, HWND b) {
    RECT ra{}, rb{};
    ::GetWindowRect(a, &ra);
    ::GetWindowRect(b, &rb);
    return ra.left < rb.left;
  });
  return found;
}

RECT WindowRect(HWND w) {
  RECT r{};
  ::GetWindowRect(w, &r);
  return r;
}

// Entry `index` of a level on the screen (inside the level's 1-pixel frame).
RECT EntryRect(HWND level, int index) {
  const RECT r = WindowRect(level);
  return RECT{r.left + 1, r.top + 1 + index * kItemHeight, r.right - 1, r.top + 1 + (index + 1) * kItemHeight};
}
POINT EntryCentre(HWND level, int index) {
  const RECT e = EntryRect(level, index);
  return POINT{(e.left + e.right) / 2, (e.top + e.bottom) / 2};
}

test::Pixels Screen(const RECT& r) {
  Bitmap shot = test::CaptureScreen(r);
  return test::ReadBitmap(shot.Get());
}

class MenuExTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    ownerPicture = static_cast<HBITMAP>(::LoadImageW(nullptr, (BuildFolder() + L"\\skins\\Macro_normal.bmp").c_str(),
                                                     IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION));
    for (int i = 0; i < menuex::kPictureCount; ++i) {
      HBITMAP bitmap = static_cast<HBITMAP>(::LoadImageW(nullptr, CategoryMenuPictures(BuildFolder())[i].c_str(),
                                                         IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION));
      if (bitmap) {
        pictures_[i] = test::ReadBitmap(bitmap);
        ::DeleteObject(bitmap);
      }
    }
  }

  void SetUp() override {
    ASSERT_TRUE(ProgramMenuExLibrary().Ready()) << test::Narrow(ProgramMenuExLibrary().Problem(false));
    for (const test::Pixels& p : pictures_) ASSERT_EQ(p.width, 302) << "skins\\Menu pictures missing";
    WNDCLASSW wc{};
    wc.lpfnWndProc = OwnerProc;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = L"MenuExTestOwner";
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    ::RegisterClassW(&wc);
    owner = ::CreateWindowExW(0, wc.lpszClassName, L"owner", WS_POPUP | WS_VISIBLE, kOwner.left, kOwner.top,
                              kOwner.right - kOwner.left, kOwner.bottom - kOwner.top, nullptr, nullptr,
                              wc.hInstance, nullptr);
    ASSERT_NE(owner, nullptr);
    ::SetForegroundWindow(owner);
    MoveTo(POINT{kOwner.left + 700, kOwner.top + 500});
    PumpMessages();
    selections.clear();
    items = CategoryRecords();
  }
  void TearDown() override {
    Mouse(MOUSEEVENTF_LEFTUP);
    ProgramMenuExLibrary().DestroyMenu();
    PumpMessages();
    if (owner) ::DestroyWindow(owner);
    PumpMessages();
  }

  bool Open(int count = 21, const std::array<std::wstring, menuex::kPictureCount>* pictures = nullptr) {
    const bool shown = ProgramMenuExLibrary().CreateMenu(owner, kItemHeight, kMenuAt, kNormalText, kHotText,
                                                         kOpenText, pictures ? *pictures : CategoryMenuPictures(BuildFolder()),
                                                         items.data(), count);
    PumpMessages();
    return shown && PumpUntil([] { return Levels().size() == 1; });
  }

  // The screen shows `picture` in the entry's parts that carry no text: its left 8 and its
  // right 20 columns (the pictures are as high as the entries, so they are not stretched there).
  static bool EntryShows(HWND level, int index, int picture) {
    const test::Pixels& want = pictures_[picture];
    const RECT e = EntryRect(level, index);
    const test::Pixels got = Screen(e);
    const int width = e.right - e.left;
    for (int y = 0; y < kItemHeight; ++y) {
      for (int x = 0; x < 8; ++x) {
        if (got.At(x, y) != want.At(x, y)) return false;
      }
      for (int x = width - 20; x < width; ++x) {
        if (got.At(x, y) != want.At(want.width - (width - x), y)) return false;
      }
    }
    return true;
  }
  static bool Closed() { return Levels().empty(); }

  static inline std::array<test::Pixels, menuex::kPictureCount> pictures_;
  HWND owner = nullptr;
  std::vector<MenuExItem> items;
};

enum Picture { kNormal = 0, kOver = 1, kDown = 2, kOpen = 3, kNormalSub = 4, kOverSub = 5, kOpenSub = 7 };

TEST(MenuExLoader, LoadsTheLibraryBesideTheProgramWithItsThreeCalls) {
  MenuExLibrary& library = ProgramMenuExLibrary();
  EXPECT_TRUE(library.Ready());
  EXPECT_EQ(library.State(), MenuExLibrary::Status::Loaded);
  EXPECT_TRUE(library.Problem(false).empty());
  EXPECT_NE(library.PreTranslate(), nullptr);
  EXPECT_EQ(&library, &ProgramMenuExLibrary());  // one for the process
}

TEST(MenuExLoader, SaysWhyTheMenuIsUnavailable) {
  const struct Case {
    std::wstring path;
    MenuExLibrary::Status status;
    std::u16string english, chinese;
  } cases[] = {
      {Folder(1) + L"\\NoSuchMenuEx.dll", MenuExLibrary::Status::LibraryMissing,
       u"MenuEx.dll cannot be loaded (error 126)", u"无法加载 MenuEx.dll（错误 126）"},
      {L"C:\\windows\\system32\\kernel32.dll", MenuExLibrary::Status::CallMissing, u"MenuEx.dll has no CreateMenuEx",
       u"MenuEx.dll 缺少 CreateMenuEx"},
  };
  for (const Case& c : cases) {
    MenuExLibrary library(c.path);
    EXPECT_FALSE(library.Load());
    EXPECT_FALSE(library.Load());  // the first outcome stays
    EXPECT_EQ(library.State(), c.status);
    EXPECT_EQ(library.Problem(false), c.english);
    EXPECT_EQ(library.Problem(true), c.chinese);
    // Nothing to call, nothing that fails.
    EXPECT_FALSE(library.CreateMenu(nullptr, 24, POINT{}, 0, 0, 0, {}, nullptr, 0));
    library.DestroyMenu();
  }
}

TEST_F(MenuExTest, OpensBelowTheCategoryButtonWithTheTopLevelEntriesInNormalPictures) {
  ASSERT_TRUE(Open());
  const std::vector<HWND> levels = Levels();
  ASSERT_EQ(levels.size(), 1u);
  const RECT r = WindowRect(levels[0]);
  EXPECT_EQ(r.left, kMenuAt.x);
  EXPECT_EQ(r.top, kMenuAt.y);
  EXPECT_EQ(r.right - r.left, 302);                // the pictures' width
  EXPECT_EQ(r.bottom - r.top, 16 * kItemHeight + 2);  // 16 top-level entries and the frame
  EXPECT_EQ(::GetWindow(levels[0], GW_OWNER), owner);
  const LONG_PTR exStyle = ::GetWindowLongPtrW(levels[0], GWL_EXSTYLE);
  EXPECT_TRUE(exStyle & WS_EX_TOPMOST);
  EXPECT_TRUE(exStyle & WS_EX_TOOLWINDOW);
  ASSERT_TRUE(PumpUntil([&] { return EntryShows(levels[0], 0, kNormal); }));
  for (int i = 0; i < 15; ++i) EXPECT_TRUE(EntryShows(levels[0], i, kNormal)) << i;
  EXPECT_TRUE(EntryShows(levels[0], 15, kNormalSub));  // "More games" carries the arrow
  // The frame is drawn in the third colour.
  EXPECT_EQ(Screen(r).At(0, 0), kOpenText);
}

TEST_F(MenuExTest, HoveringLightsAnEntryAndAClickSendsItsId) {
  for (int index : {0, 6, 13}) {
    selections.clear();
    ASSERT_TRUE(Open()) << index;
    const HWND level = Levels()[0];
    MoveTo(EntryCentre(level, index));
    ASSERT_TRUE(PumpUntil([&] { return EntryShows(level, index, kOver); })) << index;
    EXPECT_TRUE(EntryShows(level, index + 1, kNormal)) << index;
    Click();
    ASSERT_TRUE(PumpUntil([] { return !selections.empty(); })) << index;
    ASSERT_EQ(selections.size(), 1u);
    EXPECT_EQ(selections[0].l & 0xFFFF, index + 1);  // the id in the low 16 bits
    EXPECT_EQ(selections[0].l, index + 1);
    EXPECT_EQ(selections[0].w, static_cast<WPARAM>(index));  // the record's index
    EXPECT_TRUE(Closed()) << "the menu is gone before its owner hears of the choice";
    MoveTo(POINT{kOwner.left + 700, kOwner.top + 500});
  }
}

TEST_F(MenuExTest, SubmenusOpenBesideTheirEntryAndTheirEntriesCanBeChosen) {
  ASSERT_TRUE(Open());
  const HWND top = Levels()[0];
  MoveTo(EntryCentre(top, 15));  // "More games"
  ASSERT_TRUE(PumpUntil([] { return Levels().size() == 2; }));
  const HWND sub = Levels()[1];
  const RECT topRect = WindowRect(top), subRect = WindowRect(sub);
  EXPECT_EQ(subRect.left, topRect.right);
  EXPECT_EQ(subRect.top, EntryRect(top, 15).top - 1);  // its first entry level with the parent
  EXPECT_EQ(subRect.bottom - subRect.top, 3 * kItemHeight + 2);
  ASSERT_TRUE(PumpUntil([&] { return EntryShows(top, 15, kOverSub); }));
  // Into the submenu: the parent entry shows that its submenu is open.
  MoveTo(EntryCentre(sub, 2));  // "Online", which opens 20 and 21
  ASSERT_TRUE(PumpUntil([] { return Levels().size() == 3; }));
  EXPECT_TRUE(PumpUntil([&] { return EntryShows(top, 15, kOpenSub) && EntryShows(sub, 2, kOverSub); }));
  const HWND deep = Levels()[2];
  MoveTo(EntryCentre(sub, 0));  // a sibling without children closes the third level
  ASSERT_TRUE(PumpUntil([] { return Levels().size() == 2; }));
  MoveTo(EntryCentre(sub, 2));
  ASSERT_TRUE(PumpUntil([] { return Levels().size() == 3; }));
  EXPECT_NE(Levels()[2], deep);  // a new window for the level opened again
  MoveTo(EntryCentre(Levels()[2], 1));  // "War Thunder"
  ASSERT_TRUE(PumpUntil([] { return EntryShows(Levels()[2], 1, kOver); }));
  Click();
  ASSERT_TRUE(PumpUntil([] { return !selections.empty(); }));
  ASSERT_EQ(selections.size(), 1u);
  EXPECT_EQ(selections[0].l, 21);
  EXPECT_TRUE(Closed());
}

TEST_F(MenuExTest, ClickingAnEntryWithChildrenOnlyOpensIt) {
  ASSERT_TRUE(Open());
  MoveTo(EntryCentre(Levels()[0], 15));
  ASSERT_TRUE(PumpUntil([] { return Levels().size() == 2; }));
  Click();
  PumpUntil([] { return false; }, 300);
  EXPECT_TRUE(selections.empty());
  EXPECT_EQ(Levels().size(), 2u);
}

TEST_F(MenuExTest, TheKeyboardWalksTheMenuAndChooses) {
  ASSERT_TRUE(Open());
  const HWND top = Levels()[0];
  for (WORD key : {VK_DOWN, VK_DOWN, VK_DOWN}) Key(key);
  ASSERT_TRUE(PumpUntil([&] { return EntryShows(top, 2, kOver); }));
  Key(VK_RETURN);
  ASSERT_TRUE(PumpUntil([] { return !selections.empty(); }));
  EXPECT_EQ(selections[0].l, 3);
  EXPECT_TRUE(Closed());

  // Down to "More games", Right into it, down to "Online", Right, Enter on its first entry.
  selections.clear();
  ASSERT_TRUE(Open());
  for (WORD key : {VK_END, VK_RIGHT}) Key(key);
  ASSERT_TRUE(PumpUntil([] { return Levels().size() == 2; }));
  for (WORD key : {VK_DOWN, VK_DOWN, VK_RIGHT}) Key(key);
  ASSERT_TRUE(PumpUntil([] { return Levels().size() == 3; }));
  ASSERT_TRUE(PumpUntil([] { return EntryShows(Levels()[2], 0, kOver); }));
  Key(VK_RETURN);
  ASSERT_TRUE(PumpUntil([] { return !selections.empty(); }));
  EXPECT_EQ(selections[0].l, 20);
  EXPECT_TRUE(Closed());
}

TEST_F(MenuExTest, EscapeClosesTheSubmenuThenTheMenuWithoutAChoice) {
  ASSERT_TRUE(Open());
  for (WORD key : {VK_END, VK_RIGHT}) Key(key);
  ASSERT_TRUE(PumpUntil([] { return Levels().size() == 2; }));
  Key(VK_ESCAPE);
  ASSERT_TRUE(PumpUntil([] { return Levels().size() == 1; }));
  Key(VK_ESCAPE);
  ASSERT_TRUE(PumpUntil([] { return Closed(); }));
  EXPECT_TRUE(selections.empty());
  // The keyboard goes back to the window the menu was opened from.
  EXPECT_TRUE(PumpUntil([&] { return ::GetForegroundWindow() == owner; }));
}

TEST_F(MenuExTest, AClickOutsideClosesItWithoutAChoice) {
  ASSERT_TRUE(Open());
  MoveTo(EntryCentre(Levels()[0], 15));
  ASSERT_TRUE(PumpUntil([] { return Levels().size() == 2; }));
  MoveTo(POINT{kOwner.left + 800, kOwner.top + 550});
  Click();
  ASSERT_TRUE(PumpUntil([] { return Closed(); }));
  PumpUntil([] { return false; }, 200);
  EXPECT_TRUE(selections.empty());
}

TEST_F(MenuExTest, DestroyMenuExClosesEveryLevel) {
  ASSERT_TRUE(Open());
  MoveTo(EntryCentre(Levels()[0], 15));
  ASSERT_TRUE(PumpUntil([] { return Levels().size() == 2; }));
  ProgramMenuExLibrary().DestroyMenu();
  EXPECT_TRUE(Closed());
  ProgramMenuExLibrary().DestroyMenu();  // nothing open: nothing happens
  PumpMessages();
  EXPECT_TRUE(selections.empty());
  // The pointer away from where the entries will be; from another thread, DestroyMenuEx has the
  // menu's own thread close it.
  MoveTo(POINT{kOwner.left + 700, kOwner.top + 500});
  ASSERT_TRUE(Open());
  std::atomic<bool> returned{false};
  std::thread other([&] {
    ProgramMenuExLibrary().DestroyMenu();
    returned = true;
  });
  EXPECT_TRUE(PumpUntil([&] { return returned.load() && Closed(); }));
  other.join();
  // A new menu replaces one still open.
  ASSERT_TRUE(Open());
  ASSERT_TRUE(Open());
  EXPECT_EQ(Levels().size(), 1u);
}

TEST_F(MenuExTest, DllPreTranslateMessageGivesTheMenuTheThreadsKeysAndClicks) {
  const auto preTranslate = ProgramMenuExLibrary().PreTranslate();
  ASSERT_NE(preTranslate, nullptr);
  MSG key{owner, WM_KEYDOWN, VK_DOWN, 0, 0, {}};
  EXPECT_FALSE(preTranslate(&key));  // no menu: nothing taken
  EXPECT_FALSE(preTranslate(nullptr));
  ASSERT_TRUE(Open());
  const HWND top = Levels()[0];
  EXPECT_TRUE(preTranslate(&key));  // a key meant for the owner goes to the menu
  ASSERT_TRUE(PumpUntil([&] { return EntryShows(top, 0, kOver); }));
  MSG ownMessage{top, WM_KEYDOWN, VK_DOWN, 0, 0, {}};
  EXPECT_FALSE(preTranslate(&ownMessage));  // the menu's own messages are left to it
  MSG click{owner, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(700, 500), 0, {}};
  EXPECT_FALSE(preTranslate(&click));  // the click goes on to the owner, the menu closes
  EXPECT_TRUE(Closed());
  EXPECT_TRUE(selections.empty());
}

TEST_F(MenuExTest, BadCallsShowNothingAndBadRecordsDoNoHarm) {
  MenuExLibrary& library = ProgramMenuExLibrary();
  const auto pictures = CategoryMenuPictures(BuildFolder());
  EXPECT_FALSE(library.CreateMenu(nullptr, 24, kMenuAt, 0, 0, 0, pictures, items.data(), 21));
  EXPECT_FALSE(library.CreateMenu(owner, 24, kMenuAt, 0, 0, 0, pictures, nullptr, 21));
  EXPECT_FALSE(library.CreateMenu(owner, 24, kMenuAt, 0, 0, 0, pictures, items.data(), 0));
  EXPECT_FALSE(library.CreateMenu(owner, 24, kMenuAt, 0, 0, 0, pictures, items.data(), -1));
  EXPECT_TRUE(Closed());

  // A count far beyond the records, which end where readable memory ends; one text without its
  // NUL; one entry whose parent does not exist.
  SYSTEM_INFO system{};
  ::GetSystemInfo(&system);
  const size_t page = system.dwPageSize;
  char* memory = static_cast<char*>(::VirtualAlloc(nullptr, 2 * page, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
  ASSERT_NE(memory, nullptr);
  DWORD old = 0;
  ASSERT_TRUE(::VirtualProtect(memory + page, page, PAGE_NOACCESS, &old));
  auto* records = reinterpret_cast<MenuExItem*>(memory + page - 22 * sizeof(MenuExItem));
  std::copy_n(items.begin(), 21, records);
  menuex::FillMenuExItem(records[21], 999, 99, u"Orphan");
  std::fill(std::begin(records[4].text), std::end(records[4].text), u'W');
  ASSERT_TRUE(library.CreateMenu(owner, 24, kMenuAt, kNormalText, kHotText, kOpenText, pictures, records, 100000));
  ASSERT_TRUE(PumpUntil([] { return Levels().size() == 1; }));
  const HWND top = Levels()[0];
  EXPECT_EQ(WindowRect(top).bottom - WindowRect(top).top, 17 * kItemHeight + 2);  // the orphan at the top
  MoveTo(EntryCentre(top, 16));
  ASSERT_TRUE(PumpUntil([&] { return EntryShows(top, 16, kOver); }));
  Click();
  ASSERT_TRUE(PumpUntil([] { return !selections.empty(); }));
  EXPECT_EQ(selections[0].l, 99);
  EXPECT_EQ(selections[0].w, 21u);
  ::VirtualFree(memory, 0, MEM_RELEASE);
}

TEST_F(MenuExTest, MissingPicturesAreDrawnInPlainColours) {
  std::array<std::wstring, menuex::kPictureCount> missing;
  for (auto& path : missing) path = BuildFolder() + L"\\skins\\Menu\\NoSuchPicture.BMP";
  ASSERT_TRUE(Open(21, &missing));
  const HWND top = Levels()[0];
  const int width = WindowRect(top).right - WindowRect(top).left;
  EXPECT_GE(width, 200);  // no picture to take the width from: 200, or more for the longest text
  EXPECT_LT(width, 302);
  MoveTo(EntryCentre(top, 1));
  ASSERT_TRUE(PumpUntil([&] { return Screen(EntryRect(top, 1)).At(2, 2) == RGB(36, 48, 59); }));
  EXPECT_EQ(Screen(EntryRect(top, 0)).At(2, 2), RGB(18, 23, 29));
  Click();
  ASSERT_TRUE(PumpUntil([] { return !selections.empty(); }));
  EXPECT_EQ(selections[0].l, 2);
}

TEST_F(MenuExTest, Screenshot) {
  ASSERT_TRUE(Open());
  MoveTo(EntryCentre(Levels()[0], 15));
  ASSERT_TRUE(PumpUntil([] { return Levels().size() == 2; }));
  MoveTo(EntryCentre(Levels()[1], 2));
  ASSERT_TRUE(PumpUntil([] { return Levels().size() == 3; }));
  MoveTo(EntryCentre(Levels()[2], 0));
  ASSERT_TRUE(PumpUntil([] { return EntryShows(Levels()[2], 0, kOver); }));
  ::Sleep(100);
  PumpMessages();
  EXPECT_TRUE(EntryShows(Levels()[0], 15, kOpenSub));
  EXPECT_TRUE(EntryShows(Levels()[1], 2, kOpenSub));
  const RECT shot{kOwner.left, kOwner.top, kOwner.right, kOwner.bottom};
  Bitmap picture = test::CaptureScreen(shot);
  ASSERT_TRUE(test::SavePng(picture.Get(), BuildFolder() + L"\\screenshots\\menuex_category_menu.png"));
}

// The menu texts of the Chinese layout: every entry shows its text (pixels in the text colour
// over the picture), and the screenshot shows whether the glyphs are real ones.
TEST_F(MenuExTest, ChineseTextsAreDrawn) {
  static const char16_t* const kChinese[] = {
      u"战地 3 ", u"星球大战:旧共和国", u"反恐精英:全球攻势", u"上古卷轴5：天际", u"军团要塞2", u"蝙蝠侠：阿甘之城",
      u"文明 5 ", u"坦克世界", u"无主之地 2", u"纪元 2070：雷诺起源", u"英雄联盟(LOL)", u"足球经理 2013 (EA)",
      u"远古遗迹守卫2（Dota 2） ", u"战地 4", u"战机世界", u"足球经理 2013 (SEGA)", u"我的世界", u"无冬之夜",
      u"流亡黯道", u"战争雷霆", u"玩家自定义"};
  for (int32_t id = 1; id <= 21; ++id) {
    menuex::FillMenuExItem(items[static_cast<size_t>(id - 1)], kTopLevel, id, kChinese[id - 1]);
  }
  ASSERT_TRUE(Open());
  const HWND top = Levels()[0];
  ASSERT_TRUE(PumpUntil([&] { return EntryShows(top, 20, kNormal); }));
  for (int i = 0; i < 21; ++i) {
    const RECT e = EntryRect(top, i);
    const test::Pixels shown = Screen(RECT{e.left + 10, e.top, e.left + 60, e.bottom});
    const test::Pixels& picture = pictures_[kNormal];
    int inked = 0;
    for (int y = 0; y < shown.height; ++y) {
      for (int x = 0; x < shown.width; ++x) inked += shown.At(x, y) != picture.At(x + 10, y);
    }
    EXPECT_GT(inked, 20) << "entry " << i;
  }
  const RECT r = WindowRect(top);
  Bitmap picture = test::CaptureScreen(RECT{r.left, r.top, r.right, r.bottom});
  ASSERT_TRUE(test::SavePng(picture.Get(), BuildFolder() + L"\\screenshots\\menuex_category_menu_zh.png"));
}

}  // namespace
}  // namespace nx7::win32
