// The skinned list box on a real desktop: item kinds and data, what the items draw, renaming in
// place as a person does it (typing, Enter, Esc, clicking elsewhere), and the notifications the
// owner receives.
#include "skin/list_box_win32.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "app/messages.h"
#include "platform/win32/wide.h"
#include "skin_test_support.h"

namespace nx7::win32 {
namespace {

using test::PumpMessages;
using test::PumpUntil;

constexpr RECT kParent{100, 100, 500, 420};
constexpr RECT kList{20, 20, 220, 220};  // in the parent: ten items of 20 pixels
constexpr UINT kId = 1301;
constexpr COLORREF kBackground = RGB(30, 34, 40);
constexpr COLORREF kSelected = RGB(200, 80, 20);

// <build>\ : the test program sits in <build>/tests/skin.
std::u16string BuildFolder() { return FromWide(test::FolderAboveProgram(3)) + u"\\"; }

void Mouse(DWORD flags) {
  INPUT in{};
  in.type = INPUT_MOUSE;
  in.mi.dwFlags = flags;
  ::SendInput(1, &in, sizeof(INPUT));
}
void MoveTo(int x, int y) {  // the parent's client coordinates (a borderless popup)
  ::SetCursorPos(kParent.left + x, kParent.top + y);
  Mouse(MOUSEEVENTF_MOVE);
}
void Click(int x, int y) {
  MoveTo(x, y);
  Mouse(MOUSEEVENTF_LEFTDOWN);
  Mouse(MOUSEEVENTF_LEFTUP);
}
void Key(WORD vk) {
  INPUT in[2]{};
  in[0].type = in[1].type = INPUT_KEYBOARD;
  in[0].ki.wVk = in[1].ki.wVk = vk;
  in[1].ki.dwFlags = KEYEVENTF_KEYUP;
  ::SendInput(2, in, sizeof(INPUT));
}
// Types lower-case letters and digits as key presses.
void Type(const std::string& text) {
  for (char c : text) Key(static_cast<WORD>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c));
}
// The middle of item `index` in the parent (the list not scrolled).
POINT ItemPoint(int index) { return POINT{kList.left + 60, kList.top + index * 20 + 10}; }

class ListBoxTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(parent.Open(kParent));
    ASSERT_TRUE(list.Create(kList, parent, kId));
    list.SetProgramFolder(BuildFolder());
    ::SetForegroundWindow(parent);
    PumpMessages();
  }
  void TearDown() override {
    Mouse(MOUSEEVENTF_LEFTUP);
    PumpMessages();
  }
  std::vector<test::RecordingWindow::Message> Received(UINT message) { return parent.Received(message); }
  test::RecordingWindow parent;
  CListBoxEx list;
};

TEST_F(ListBoxTest, ItemKindsPackTheirDataAndTheProgramsChangesSelectQuietly) {
  EXPECT_EQ(list.ItemHeight(), 20);
  EXPECT_EQ(list.Send(LB_GETITEMHEIGHT, 0), 20);
  // The list font of the look: the dialog face, 14 pixels, normal weight.
  const HFONT font = reinterpret_cast<HFONT>(list.Send(WM_GETFONT));
  EXPECT_EQ(font, SkinLook::Default().ListFont());
  LOGFONTW logFont{};
  ASSERT_NE(::GetObjectW(font, sizeof(logFont), &logFont), 0);
  EXPECT_EQ(std::wstring(logFont.lfFaceName), L"MS Shell Dlg");
  EXPECT_EQ(logFont.lfHeight, 14);
  EXPECT_EQ(logFont.lfWeight, FW_NORMAL);
  list.SetItemHeight(24);
  EXPECT_EQ(list.Send(LB_GETITEMHEIGHT, 0), 24);
  list.SetItemHeight(20);
  EXPECT_EQ(list.AddItem(listbox::kUp, u"Release A", 0x41), 0);
  EXPECT_TRUE(list.ShowsIcons());
  EXPECT_EQ(list.GetItemData(0), 0x02000041u);
  EXPECT_EQ(list.AddItem(listbox::kPlain, u"Plain", 0xDEADBEEF), 1);
  EXPECT_FALSE(list.ShowsIcons());  // every AddItem decides
  EXPECT_EQ(list.GetItemData(1), 0xDEADBEEFu);
  EXPECT_EQ(list.GetCurSel(), 1);
  // Insert and replace select the item and leave the icon setting alone.
  EXPECT_EQ(list.InsertItem(0, listbox::kDelay, u"50 ms", 50), 0);
  EXPECT_FALSE(list.ShowsIcons());
  EXPECT_EQ(list.GetItemData(0), 0x04000032u);
  EXPECT_EQ(list.GetCurSel(), 0);
  EXPECT_EQ(list.ReplaceItem(2, listbox::kDown, u"Press A", 0xFF000041), 2);
  EXPECT_EQ(list.GetCount(), 3);
  EXPECT_EQ(list.GetItemText(2), u"Press A");
  EXPECT_EQ(list.GetItemData(2), 0x03000041u);
  EXPECT_EQ(list.GetCurSel(), 2);
  EXPECT_TRUE(list.DeleteItem(0));
  EXPECT_EQ(list.GetCount(), 2);
  EXPECT_EQ(list.GetItemText(0), u"Release A");
  EXPECT_EQ(list.ReplaceItem(5, listbox::kUp, u"none", 1), -1);
  PumpMessages();
  EXPECT_TRUE(Received(WM_LIST_SELCHANGE).empty());
}

TEST_F(ListBoxTest, TheUsersSelectionChangesAreTold) {
  for (int i = 0; i < 4; ++i) list.AddItem(listbox::kPlain, u"Item " + std::u16string(1, u'0' + i), i);
  list.SetCurSel(0);
  PumpMessages();
  parent.Clear();
  Click(ItemPoint(2).x, ItemPoint(2).y);
  ASSERT_TRUE(PumpUntil([&] { return !Received(WM_LIST_SELCHANGE).empty(); }));
  EXPECT_EQ(Received(WM_LIST_SELCHANGE)[0].w, kId);
  EXPECT_EQ(Received(WM_LIST_SELCHANGE)[0].l, 2);
  // The arrow keys too; a click on the selected item changes nothing and says nothing.
  Key(VK_DOWN);
  ASSERT_TRUE(PumpUntil([&] { return Received(WM_LIST_SELCHANGE).size() == 2; }));
  EXPECT_EQ(Received(WM_LIST_SELCHANGE)[1].l, 3);
  Click(ItemPoint(3).x, ItemPoint(3).y);
  ASSERT_TRUE(PumpUntil([&] { return !(::GetAsyncKeyState(VK_LBUTTON) & 0x8000); }));
  PumpMessages();
  EXPECT_EQ(Received(WM_LIST_SELCHANGE).size(), 2u);
  // A notify target takes the notifications from the parent.
  test::RecordingWindow target;
  ASSERT_TRUE(target.Open(RECT{600, 100, 640, 140}));
  list.SetNotifyTarget(target, true);
  ::SetForegroundWindow(parent);
  ::SetFocus(list);
  Key(VK_UP);
  ASSERT_TRUE(PumpUntil([&] { return !target.Received(WM_LIST_SELCHANGE).empty(); }));
  EXPECT_EQ(target.Received(WM_LIST_SELCHANGE)[0].l, 2);
  EXPECT_EQ(Received(WM_LIST_SELCHANGE).size(), 2u);
}

// A PNG's pixels blended onto a plain colour, as the list should show the icon.
COLORREF Blend(uint32_t argb, COLORREF under) {
  const int a = static_cast<int>(argb >> 24);
  auto mix = [&](int top, int bottom) { return (top * a + bottom * (255 - a) + 127) / 255; };
  return RGB(mix((argb >> 16) & 0xFF, GetRValue(under)), mix((argb >> 8) & 0xFF, GetGValue(under)),
             mix(argb & 0xFF, GetBValue(under)));
}
bool Near(COLORREF a, COLORREF b, int tolerance) {
  return std::abs(GetRValue(a) - GetRValue(b)) <= tolerance && std::abs(GetGValue(a) - GetGValue(b)) <= tolerance &&
         std::abs(GetBValue(a) - GetBValue(b)) <= tolerance;
}
// How many pixels of the 16 x 16 icon at (left, top) differ from the PNG blended onto `under`.
int IconMismatches(const test::Pixels& pixels, int left, int top, const std::u16string& png, COLORREF under) {
  Gdiplus::GpBitmap* bitmap = nullptr;
  if (Gdiplus::DllExports::GdipCreateBitmapFromFile(Wide(png), &bitmap) != Gdiplus::Ok) return -1;
  GdiplusImage owned(bitmap);
  int mismatches = 0;
  for (int y = 0; y < listbox::kIconSize; ++y) {
    for (int x = 0; x < listbox::kIconSize; ++x) {
      Gdiplus::ARGB argb = 0;
      Gdiplus::DllExports::GdipBitmapGetPixel(bitmap, x, y, &argb);
      if (!Near(pixels.At(left + x, top + y), Blend(argb, under), 3)) ++mismatches;
    }
  }
  return mismatches;
}
bool DiffersIn(const test::Pixels& pixels, int left, int right, int top, int bottom, COLORREF colour) {
  for (int y = top; y < bottom; ++y) {
    for (int x = left; x < right; ++x) {
      if (pixels.At(x, y) != colour) return true;
    }
  }
  return false;
}

// What the screen shows of a window's client area after it has been drawn again.
test::Pixels OnScreen(HWND window) {
  ::RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  PumpMessages();
  ::GdiFlush();
  RECT r{};
  ::GetClientRect(window, &r);
  ::MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&r), 2);
  Bitmap shot = test::CaptureScreen(r);
  return test::ReadBitmap(shot.Get());
}

TEST_F(ListBoxTest, ItemsDrawTheirIconsAndTextWhereTheKindSays) {
  list.SetColors(kBackground, kSelected);
  list.AddItem(listbox::kDown, u"Press A", 0x41);
  list.AddItem(listbox::kUp, u"Release A", 0x41);
  list.AddItem(listbox::kDelay, u"50 ms", 50);
  list.AddItem(listbox::kIndented, u"Indented", 1);
  list.InsertItem(-1, listbox::kPlain, u"Plain", 0);  // shows no icon; text from the left
  list.SetCurSel(0);
  PumpMessages();
  const test::Pixels pixels = test::RenderClient(list);
  const std::u16string skins = BuildFolder() + u"skins\\";
  // A selected row of kind 3 shows "down_select.png" on the selected colour.
  EXPECT_EQ(IconMismatches(pixels, 5, 1, skins + u"down_select.png", kSelected), 0);
  EXPECT_EQ(pixels.At(190, 10), kSelected);
  EXPECT_EQ(IconMismatches(pixels, 5, 21, skins + u"up_normal.png", kBackground), 0);
  EXPECT_EQ(IconMismatches(pixels, 5, 41, skins + u"delay_normal.png", kBackground), 0);
  EXPECT_NE(IconMismatches(pixels, 5, 41, skins + u"delay_select.png", kBackground), 0);
  EXPECT_EQ(pixels.At(190, 30), kBackground);
  // Text: from 26 after an icon's place, from 5 without; nothing between icon and text.
  for (int row = 0; row < 4; ++row) {
    const int top = row * 20;
    const COLORREF under = row == 0 ? kSelected : kBackground;
    EXPECT_FALSE(DiffersIn(pixels, 21, 26, top, top + 20, under)) << "row " << row;
    EXPECT_TRUE(DiffersIn(pixels, 26, 60, top + 3, top + 17, under)) << "row " << row;
  }
  EXPECT_FALSE(DiffersIn(pixels, 0, 26, 60, 80, kBackground));  // the indented row has no icon
  EXPECT_TRUE(DiffersIn(pixels, 5, 20, 83, 97, kBackground));    // the plain row's text
  EXPECT_FALSE(DiffersIn(pixels, 0, 5, 80, 100, kBackground));
  // Below the items, on the screen: the background brush; disabled, the inactive border colour.
  EXPECT_EQ(OnScreen(list).At(100, 150), kBackground);
  ::EnableWindow(list, FALSE);
  EXPECT_EQ(OnScreen(list).At(100, 150), ::GetSysColor(COLOR_INACTIVEBORDER));
}

TEST_F(ListBoxTest, AnItemAddedForEditingIsRenamedWithEnter) {
  list.AddItem(listbox::kPlain, u"First", 1);
  ASSERT_EQ(list.AddItem(listbox::kUp, u"Macro 1", 0x77, true), 1);
  ASSERT_TRUE(list.IsEditing());
  EXPECT_EQ(list.EditIndex(), 1);
  HWND edit = list.EditWindow();
  ASSERT_TRUE(::IsWindow(edit));
  EXPECT_EQ(::GetFocus(), edit);
  EXPECT_EQ(test::WindowText(edit), u"Macro 1");
  EXPECT_EQ(reinterpret_cast<HFONT>(::SendMessageW(edit, WM_GETFONT, 0, 0)), SkinLook::Default().ListFont());
  EXPECT_EQ(::SendMessageW(edit, EM_GETLIMITTEXT, 0, 0), 20);
  // Exactly over the item.
  RECT item{};
  list.Send(LB_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&item));
  RECT editRect{};
  ::GetWindowRect(edit, &editRect);
  ::MapWindowPoints(nullptr, list, reinterpret_cast<POINT*>(&editRect), 2);
  EXPECT_TRUE(::EqualRect(&item, &editRect));
  // All text selected: typing replaces it.
  Type("fire");
  ASSERT_TRUE(PumpUntil([&] { return test::WindowText(edit) == u"fire"; }));
  EXPECT_TRUE(Received(WM_LIST_ITEM_EDITED).empty());
  Key(VK_RETURN);
  ASSERT_TRUE(PumpUntil([&] { return !Received(WM_LIST_ITEM_EDITED).empty(); }));
  EXPECT_EQ(Received(WM_LIST_ITEM_EDITED)[0].w, kId);
  EXPECT_EQ(Received(WM_LIST_ITEM_EDITED)[0].l, 1);
  EXPECT_FALSE(list.IsEditing());
  EXPECT_FALSE(::IsWindow(edit));
  EXPECT_EQ(list.GetItemText(1), u"fire");
  EXPECT_EQ(list.GetItemData(1), 0x02000077u);  // the item data stays
  EXPECT_EQ(list.GetCurSel(), 1);
  EXPECT_EQ(list.GetCount(), 2);
  EXPECT_EQ(::GetFocus(), list.GetSafeHwnd());
  PumpMessages();
  EXPECT_EQ(Received(WM_LIST_ITEM_EDITED).size(), 1u);
}

TEST_F(ListBoxTest, EscapeCancelsARenameStartedByDoubleClick) {
  list.SetRenameOnDoubleClick(true);
  list.AddItem(listbox::kDelay, u"Delay", 100);
  list.AddItem(listbox::kDown, u"Key", 0x41);
  PumpMessages();
  const POINT p = ItemPoint(0);
  MoveTo(p.x, p.y);
  Mouse(MOUSEEVENTF_LEFTDOWN);
  Mouse(MOUSEEVENTF_LEFTUP);
  Mouse(MOUSEEVENTF_LEFTDOWN);
  Mouse(MOUSEEVENTF_LEFTUP);
  ASSERT_TRUE(PumpUntil([&] { return list.IsEditing(); }));
  EXPECT_EQ(list.EditIndex(), 0);
  HWND edit = list.EditWindow();
  Type("zzz");
  ASSERT_TRUE(PumpUntil([&] { return test::WindowText(edit) == u"zzz"; }));
  Key(VK_ESCAPE);
  ASSERT_TRUE(PumpUntil([&] { return !list.IsEditing(); }));
  PumpMessages();
  EXPECT_FALSE(::IsWindow(edit));
  EXPECT_EQ(list.GetItemText(0), u"Delay");
  EXPECT_EQ(list.GetCurSel(), 0);
  EXPECT_TRUE(Received(WM_LIST_ITEM_EDITED).empty());
}

TEST_F(ListBoxTest, ClickingElsewhereCommitsAndTheEditTakesTwentyCharacters) {
  list.AddItem(listbox::kPlain, u"One", 1);
  list.AddItem(listbox::kPlain, u"Two", 2);
  list.AddItem(listbox::kPlain, u"Three", 3);
  ASSERT_TRUE(list.EditItem(0));
  HWND edit = list.EditWindow();
  Type("abcdefghijklmnopqrstuvwxy");  // 25 letters
  ASSERT_TRUE(PumpUntil([&] { return test::WindowText(edit).size() == 20; }));
  PumpMessages();
  EXPECT_EQ(test::WindowText(edit), u"abcdefghijklmnopqrst");
  // Losing the focus to a click on another item commits; the click then selects its item.
  Click(ItemPoint(2).x, ItemPoint(2).y);
  ASSERT_TRUE(PumpUntil([&] { return !Received(WM_LIST_ITEM_EDITED).empty(); }));
  ASSERT_TRUE(PumpUntil([&] { return list.GetCurSel() == 2; }));
  EXPECT_EQ(Received(WM_LIST_ITEM_EDITED)[0].l, 0);
  EXPECT_EQ(list.GetItemText(0), u"abcdefghijklmnopqrst");
  EXPECT_EQ(list.GetItemData(0), 1u);
  EXPECT_FALSE(list.IsEditing());
}

TEST_F(ListBoxTest, AddingAnItemDiscardsAnOpenEdit) {
  list.AddItem(listbox::kPlain, u"Keep", 1);
  ASSERT_TRUE(list.EditItem(0));
  HWND edit = list.EditWindow();
  Type("gone");
  ASSERT_TRUE(PumpUntil([&] { return test::WindowText(edit) == u"gone"; }));
  EXPECT_EQ(list.AddItem(listbox::kPlain, u"New", 2), 1);
  PumpMessages();
  EXPECT_FALSE(list.IsEditing());
  EXPECT_FALSE(::IsWindow(edit));
  EXPECT_EQ(list.GetItemText(0), u"Keep");
  EXPECT_TRUE(Received(WM_LIST_ITEM_EDITED).empty());
  EXPECT_EQ(list.GetCurSel(), 1);
}

TEST_F(ListBoxTest, OnlyOneInPlaceEditExistsAtATime) {
  CListBoxEx other;
  ASSERT_TRUE(other.Create(RECT{240, 20, 380, 120}, parent, kId + 1));
  list.AddItem(listbox::kPlain, u"Left", 1);
  other.AddItem(listbox::kPlain, u"Right", 2);
  ASSERT_TRUE(list.EditItem(0));
  HWND first = list.EditWindow();
  Type("x");
  ASSERT_TRUE(PumpUntil([&] { return test::WindowText(first) == u"x"; }));
  ASSERT_TRUE(other.EditItem(0));
  PumpMessages();
  EXPECT_FALSE(list.IsEditing());
  EXPECT_FALSE(::IsWindow(first));
  EXPECT_EQ(list.GetItemText(0), u"x");  // the first one was committed
  EXPECT_TRUE(other.IsEditing());
  other.CancelEdit();
}

}  // namespace
}  // namespace nx7::win32
