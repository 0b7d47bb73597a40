// Routing of the window layer: declining, commands by control, crackers, reflection, tables made
// from one entry list, message filters in the loops, the failure log and window lifetime.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <array>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "framework/dialog.h"
#include "framework/double_buffer.h"
#include "framework/failure_log.h"
#include "framework/message_loop.h"
#include "framework/ui_test_support.h"
#include "framework/window_class.h"
#include "framework/wnd.h"
#include "resource_ids.h"
#include "skin/gdi_bitmap_btn_win32.h"
#include "skin/skin_look_win32.h"
#include "temp_folder.h"

namespace nx7::win32 {
namespace {

RECT Rect(int l, int t, int r, int b) { return RECT{l, t, r, b}; }

// A base with entries of its own, to be reached when the derived class declines.
class Panel : public WindowClass<Panel, CWnd> {
 public:
  ~Panel() override { DestroyWindow(); }
  static constexpr auto MessageEntries() {
    return Entries(OnRaw<WM_USER + 1, &Panel::OnBase>(), On<WM_COMMAND, &Panel::OnAnyCommand>());
  }
  std::vector<std::string> calls;

 private:
  LRESULT OnBase(WPARAM, LPARAM) {
    calls.push_back("base");
    return 7;
  }
  void OnAnyCommand(UINT code, UINT id, HWND control) { calls.push_back("base command"); }
};

// Two buttons with control id 0, told apart by their windows through the table.
class Toolbar : public WindowClass<Toolbar, Panel> {
 public:
  ~Toolbar() override { DestroyWindow(); }
  static constexpr auto MessageEntries() {
    return Entries(OnRaw<WM_USER + 1, &Toolbar::OnMaybe>(),
                   OnRaw<WM_SETTEXT, &Toolbar::OnDeclineAll>(),
                   OnControl<&Toolbar::apply, &Toolbar::OnApply>(),
                   OnControl<&Toolbar::reset, &Toolbar::OnReset, BN_CLICKED>(),
                   OnControl<&Toolbar::plain, &Toolbar::OnPlain>(),
                   OnControlNotify<&Toolbar::reset, &Toolbar::OnResetNotify, NM_CUSTOMDRAW>());
  }
  bool take = false;
  CGDIBitmapBtn apply, reset;
  HWND plain = nullptr;  // a window the layer does not own
  std::vector<std::string> calls;
  UINT applyCode = 0;

  bool Make() {
    if (!CreateEx(0, nullptr, L"", WS_POPUP, Rect(0, 0, 200, 100), nullptr, 0)) return false;
    plain = ::CreateWindowExW(0, L"BUTTON", L"", WS_CHILD, 0, 0, 10, 10, GetSafeHwnd(), nullptr, nullptr, nullptr);
    return apply.Create(GetSafeHwnd(), Rect(10, 10, 50, 40)) && reset.Create(GetSafeHwnd(), Rect(60, 10, 100, 40)) &&
           plain;
  }
  void Click(HWND from, UINT code = BN_CLICKED) { Send(WM_COMMAND, MAKEWPARAM(0, code), reinterpret_cast<LPARAM>(from)); }

 private:
  LRESULT OnMaybe(WPARAM, LPARAM) {
    if (!take) Decline();
    calls.push_back("derived");
    return 70;
  }
  LRESULT OnDeclineAll(WPARAM, LPARAM) {
    Decline();
    return 0;
  }
  void OnApply(UINT code) {
    applyCode = code;
    calls.push_back("apply");
  }
  void OnReset() { calls.push_back("reset"); }
  void OnPlain() { calls.push_back("plain"); }
  LRESULT OnResetNotify(const NMHDR&) {
    calls.push_back("reset notify");
    return CDRF_SKIPDEFAULT;
  }
};

TEST(Routing, ADeclinedMessageGoesOnToTheChainedTablesAndThenTheDefaultProcessing) {
  Toolbar bar;
  ASSERT_TRUE(bar.Make());
  EXPECT_EQ(bar.Send(WM_USER + 1), 7);  // declined: the base's entry answers
  bar.take = true;
  EXPECT_EQ(bar.Send(WM_USER + 1), 70);
  EXPECT_EQ(bar.calls, (std::vector<std::string>{"derived", "derived"}));
  EXPECT_EQ(bar.Panel::calls, (std::vector<std::string>{"base"}));
  // Declined by every entry: the window procedure of the class still stores the text.
  ::SetWindowTextW(bar, L"stored by default");
  EXPECT_EQ(bar.GetWindowText(), L"stored by default");
}

TEST(Routing, CommandsReachTheEntryOfTheControlTheyComeFrom) {
  Toolbar bar;
  ASSERT_TRUE(bar.Make());
  ASSERT_EQ(::GetDlgCtrlID(bar.apply), 0);
  ASSERT_EQ(::GetDlgCtrlID(bar.reset), 0);
  struct Case {
    const char* name;
    HWND from;
    UINT code;
    std::vector<std::string> derived;
    std::vector<std::string> base;
  };
  const Case cases[] = {
      {"apply", bar.apply, BN_CLICKED, {"apply"}, {}},
      {"apply, any code", bar.apply, BN_DOUBLECLICKED, {"apply"}, {}},
      {"reset", bar.reset, BN_CLICKED, {"reset"}, {}},
      {"reset, other code: not its entry", bar.reset, BN_SETFOCUS, {}, {"base command"}},
      {"plain window member", bar.plain, BN_CLICKED, {"plain"}, {}},
      {"no control (a menu or accelerator)", nullptr, 0, {}, {"base command"}},
      {"a control without an entry", bar.GetSafeHwnd(), BN_CLICKED, {}, {"base command"}},
  };
  for (const Case& c : cases) {
    bar.calls.clear();
    bar.Panel::calls.clear();
    bar.Click(c.from, c.code);
    EXPECT_EQ(bar.calls, c.derived) << c.name;
    EXPECT_EQ(bar.Panel::calls, c.base) << c.name;
  }
  bar.Click(bar.apply, BN_DOUBLECLICKED);
  EXPECT_EQ(bar.applyCode, static_cast<UINT>(BN_DOUBLECLICKED));
  // Notifications are routed by control and code the same way; others get the default answer.
  bar.calls.clear();
  NMHDR header{bar.reset, 0, static_cast<UINT>(NM_CUSTOMDRAW)};
  EXPECT_EQ(bar.Send(WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&header)), CDRF_SKIPDEFAULT);
  header.hwndFrom = bar.apply;
  EXPECT_EQ(bar.Send(WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&header)), 0);
  header.hwndFrom = bar.reset;
  header.code = static_cast<UINT>(NM_CLICK);
  EXPECT_EQ(bar.Send(WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&header)), 0);
  EXPECT_EQ(bar.calls, (std::vector<std::string>{"reset notify"}));
  // A real click on the button arrives the same way.
  bar.calls.clear();
  bar.reset.Send(BM_CLICK);
  EXPECT_EQ(bar.calls, (std::vector<std::string>{"reset"}));
}

// Records what each cracker hands its handler.
class Cracked : public WindowClass<Cracked, CWnd> {
 public:
  ~Cracked() override { DestroyWindow(); }
  static constexpr auto MessageEntries() {
    return Entries(On<WM_SETCURSOR, &Cracked::OnSetCursor>(), On<WM_NCHITTEST, &Cracked::OnHitTest>(),
                   On<WM_CONTEXTMENU, &Cracked::OnContextMenu>(), On<WM_HSCROLL, &Cracked::OnHScroll>(),
                   On<WM_MEASUREITEM, &Cracked::OnMeasure>(), On<WM_MOUSELEAVE, &Cracked::OnLeave>(),
                   On<WM_NOTIFY, &Cracked::OnNotify>(), On<WM_DRAWITEM, &Cracked::OnRawDraw>());
  }
  std::vector<std::string> log;

 private:
  static std::string P(POINT p) { return std::to_string(p.x) + "," + std::to_string(p.y); }
  BOOL OnSetCursor(HWND w, UINT hit, UINT mouse) {
    log.push_back("cursor " + std::to_string(w == GetSafeHwnd()) + " " + std::to_string(hit) + " " +
                  std::to_string(mouse));
    return TRUE;
  }
  UINT OnHitTest(POINT p) {
    log.push_back("hit " + P(p));
    return HTCAPTION;
  }
  void OnContextMenu(HWND w, POINT p) { log.push_back("menu " + std::to_string(w == GetSafeHwnd()) + " " + P(p)); }
  void OnHScroll(UINT code, int pos, HWND bar) {
    log.push_back("scroll " + std::to_string(code) + " " + std::to_string(pos) + " " + std::to_string(bar == nullptr));
  }
  void OnMeasure(MEASUREITEMSTRUCT& m) {
    m.itemHeight = 23;
    log.push_back("measure " + std::to_string(m.CtlType));
  }
  void OnLeave() { log.push_back("leave"); }
  LRESULT OnNotify(const NMHDR& h) {
    log.push_back("notify " + std::to_string(static_cast<int>(h.code)));
    return 5;
  }
  LRESULT OnRawDraw(WPARAM, LPARAM l) {
    log.push_back("draw " + std::to_string(reinterpret_cast<const DRAWITEMSTRUCT*>(l)->CtlType));
    return TRUE;
  }
};

TEST(Crackers, HandlersReceiveTheMessagesArgumentsTheirWay) {
  Cracked window;
  ASSERT_TRUE(window.CreateEx(0, nullptr, L"", WS_POPUP, Rect(0, 0, 50, 50), nullptr, 0));
  EXPECT_EQ(window.Send(WM_SETCURSOR, reinterpret_cast<WPARAM>(window.GetSafeHwnd()), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)),
            TRUE);
  EXPECT_EQ(window.Send(WM_NCHITTEST, 0, MAKELPARAM(-3, 900)), HTCAPTION);
  window.Send(WM_CONTEXTMENU, reinterpret_cast<WPARAM>(window.GetSafeHwnd()), MAKELPARAM(-1, -1));
  window.Send(WM_HSCROLL, MAKEWPARAM(SB_THUMBTRACK, 300), 0);
  MEASUREITEMSTRUCT measure{ODT_MENU, 0, 1, 0, 0, 0};
  EXPECT_EQ(window.Send(WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&measure)), TRUE);
  EXPECT_EQ(measure.itemHeight, 23u);
  window.Send(WM_MOUSELEAVE);
  NMHDR header{window.GetSafeHwnd(), 0, static_cast<UINT>(NM_CLICK)};
  EXPECT_EQ(window.Send(WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&header)), 5);
  EXPECT_EQ(window.log, (std::vector<std::string>{"cursor 1 1 512", "hit -3,900", "menu 1 -1,-1", "scroll 5 300 1",
                                                  "measure 1", "leave", "notify -2"}));
}

// A control that takes its own notifications by reflection.
class Reflecting : public WindowClass<Reflecting, CWnd> {
 public:
  ~Reflecting() override { DestroyWindow(); }
  static constexpr auto MessageEntries() {
    return Entries(On<kReflect + WM_DRAWITEM, &Reflecting::Draw>(), On<kReflect + WM_NOTIFY, &Reflecting::Notified>(),
                   On<kReflect + WM_HSCROLL, &Reflecting::Scrolled>());
  }
  std::vector<std::string> log;

 private:
  void Draw(const DRAWITEMSTRUCT&) { log.push_back("draw"); }
  LRESULT Notified(const NMHDR&) {
    log.push_back("notify");
    return 9;
  }
  void Scrolled(UINT code, int pos, HWND) { log.push_back("scroll " + std::to_string(pos)); }
};

TEST(Reflection, NotificationsGoToTheControlButAMenuItemIsNeverTakenForAWindow) {
  Cracked parent;
  ASSERT_TRUE(parent.CreateEx(0, nullptr, L"", WS_POPUP, Rect(0, 0, 100, 100), nullptr, 0));
  Reflecting child;
  ASSERT_TRUE(child.CreateEx(0, nullptr, L"", WS_CHILD, Rect(0, 0, 20, 20), parent, 0));

  DRAWITEMSTRUCT item{};
  item.CtlType = ODT_BUTTON;
  item.hwndItem = child;
  parent.Send(WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&item));
  // A menu item's hwndItem is a menu handle; even one equal to a window's handle is not reflected.
  item.CtlType = ODT_MENU;
  parent.Send(WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&item));
  NMHDR header{child, 0, static_cast<UINT>(NM_CLICK)};
  EXPECT_EQ(parent.Send(WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&header)), 9);
  parent.Send(WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 44), reinterpret_cast<LPARAM>(child.GetSafeHwnd()));
  parent.Send(WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 45), 0);  // the parent's own scroll bar

  EXPECT_EQ(child.log, (std::vector<std::string>{"draw", "notify", "scroll 44"}));
  EXPECT_EQ(parent.log, (std::vector<std::string>{"draw 1", "scroll 4 45 1"}));
}

// A skinned control's table is public, so a derived control extends it.
class CountingButton : public WindowClass<CountingButton, CGDIBitmapBtn> {
 public:
  ~CountingButton() override { DestroyWindow(); }
  static constexpr auto MessageEntries() { return Entries(On<WM_MOUSELEAVE, &CountingButton::OnLeave>()); }
  int leaves = 0;

 private:
  void OnLeave() { ++leaves; }
};

TEST(WindowClasses, ADerivedControlExtendsTheTableOfItsBase) {
  test::RecordingWindow parent;
  ASSERT_TRUE(parent.Open(Rect(40, 40, 200, 140)));
  CountingButton button;
  ASSERT_TRUE(button.Create(parent, Rect(10, 10, 60, 40)));
  button.Send(WM_MOUSELEAVE);
  EXPECT_EQ(button.leaves, 1);
  // The base's entries still route: the button's press notification reaches the parent.
  button.SetPressNotify(true);
  button.Send(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  button.Send(WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  test::PumpMessages();
  EXPECT_EQ(parent.Received(WM_BUTTON_MOUSE).size(), 2u);
  EXPECT_NE(CGDIBitmapBtn::Table().Find(kReflect + WM_DRAWITEM), nullptr);
}

// Counts the messages a filter sees, taking the ones it is asked to.
class CountingFilter final : public MessageFilter {
 public:
  UINT take = 0;
  int seen = 0;
  bool PreTranslateMessage(MSG& msg) override {
    if (msg.message != WM_USER + 50 && msg.message != take) return false;
    ++seen;
    return msg.message == take;
  }
};

TEST(MessageLoop, FiltersRunInTheLayersLoopAndInsideAModalDialogsLoop) {
  CountingFilter filter;
  AddMessageFilter(filter);
  test::RecordingWindow window;
  ASSERT_TRUE(window.Open(Rect(40, 40, 200, 140)));
  filter.take = WM_LBUTTONDOWN;
  window.Post(WM_USER + 50);
  window.Post(WM_LBUTTONDOWN, MK_LBUTTON, 0);  // taken: never reaches the window
  EXPECT_EQ(RunMessageLoop([&] { return filter.seen >= 2; }), 0);
  EXPECT_EQ(filter.seen, 2);
  EXPECT_TRUE(window.Received(WM_LBUTTONDOWN).empty());

  // Windows runs a modal dialog's loop itself; the filters still see its messages.
  CDialogEx dialog(IDD_DLG_INFO);
  filter.seen = 0;
  const UINT_PTR timer = ::SetTimer(nullptr, 0, 20, [](HWND, UINT, UINT_PTR id, DWORD) {
    HWND box = ::FindWindowW(L"#32770", nullptr);
    if (!box) return;
    ::KillTimer(nullptr, id);
    ::PostMessageW(box, WM_USER + 50, 0, 0);
    ::PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  });
  EXPECT_EQ(dialog.DoModal(), IDOK);
  ::KillTimer(nullptr, timer);
  EXPECT_EQ(filter.seen, 1);
  RemoveMessageFilter(filter);
}

TEST(MessageLoop, AModelessPageNavigatesWithTheKeyboard) {
  test::RecordingWindow parent;
  ASSERT_TRUE(parent.Open(Rect(40, 40, 400, 300)));
  CDialogEx page(IDD_DLG_MAINSET);
  ASSERT_TRUE(page.Create(parent));
  ::ShowWindow(page, SW_SHOW);
  HWND first = ::CreateWindowExW(0, L"BUTTON", L"1", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 0, 0, 40, 20, page, nullptr,
                                 nullptr, nullptr);
  HWND second = ::CreateWindowExW(0, L"BUTTON", L"2", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 50, 0, 40, 20, page,
                                  nullptr, nullptr, nullptr);
  ::SetFocus(first);
  ASSERT_EQ(::GetFocus(), first);
  // Tab reaches the queue as a key press on the focused button; only dialog navigation moves on.
  ::PostMessageW(first, WM_KEYDOWN, VK_TAB, 0x000F0001);
  EXPECT_TRUE(test::PumpUntil([&] { return ::GetFocus() == second; }, 2000));
  page.DestroyWindow();
  // A destroyed page no longer navigates.
  ::SetFocus(parent);
  ::PostMessageW(parent, WM_KEYDOWN, VK_TAB, 0x000F0001);
  test::PumpMessages();
  EXPECT_EQ(::GetFocus(), parent.GetSafeHwnd());
}

class Throwing : public WindowClass<Throwing, CWnd> {
 public:
  ~Throwing() override { DestroyWindow(); }
  static constexpr auto MessageEntries() { return Entries(OnRaw<WM_USER + 9, &Throwing::Fail>()); }

 private:
  LRESULT Fail(WPARAM, LPARAM) { throw std::runtime_error("page state lost"); }
};

std::string ReadText(const std::wstring& path) {
  std::ifstream in(std::filesystem::path(path), std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

TEST(FailureLog, AnExceptionAtAWindowProcedureIsWrittenToTheUsersLogAndTheLogStaysSmall) {
  // By default the log sits in the user's local application-data folder, not beside the program.
  const std::wstring folder = FailureLogFolder();
  EXPECT_NE(folder.find(L"\\Vorna\\NX7"), std::wstring::npos);
  wchar_t program[MAX_PATH] = {};
  ::GetModuleFileNameW(nullptr, program, MAX_PATH);
  EXPECT_EQ(std::wstring(program).find(folder), std::wstring::npos);

  nx7::testing::TempFolder temp;
  SetFailureLogFolder(temp.Path().wstring());
  Throwing window;
  ASSERT_TRUE(window.CreateEx(0, nullptr, L"", WS_POPUP, Rect(0, 0, 50, 50), nullptr, 0));
  window.Send(WM_USER + 9);
  const std::wstring log = temp.Path().wstring() + L"\\NX7Driver.log";
  const std::string text = ReadText(log);
  EXPECT_NE(text.find("message 0x409: handler threw: page state lost"), std::string::npos) << text;
  EXPECT_NE(text.find("class NX7Window"), std::string::npos) << text;

  // Many failures: the file is capped and the older lines move to one previous file.
  for (int i = 0; i < 1200; ++i) window.Send(WM_USER + 9);
  EXPECT_LE(ReadText(log).size(), kLogLimit);
  const std::string old = ReadText(temp.Path().wstring() + L"\\NX7Driver.old.log");
  EXPECT_GT(old.size(), kLogLimit / 2);
  EXPECT_LE(old.size(), kLogLimit);
  SetFailureLogFolder({});
}

// Forgets to destroy its window in its own destructor.
class Careless : public WindowClass<Careless, CWnd> {
 public:
  static constexpr auto MessageEntries() { return Entries(On<WM_DESTROY, &Careless::OnDestroy>()); }
  std::string* state = nullptr;

 private:
  void OnDestroy() { *state = "destroyed by the object"; }
};

TEST(WindowLifetime, AWindowLeftToTheBaseDestructorIsAFaultThatIsReported) {
#ifndef NDEBUG
  GTEST_SKIP() << "the base destructor asserts in debug builds";
#endif
  nx7::testing::TempFolder temp;
  SetFailureLogFolder(temp.Path().wstring());
  std::string state = "alive";
  const unsigned before = CWnd::WindowsLeftToBase();
  HWND hwnd = nullptr;
  {
    Careless careless;
    careless.state = &state;
    ASSERT_TRUE(careless.CreateEx(0, nullptr, L"", WS_POPUP, Rect(0, 0, 50, 50), nullptr, 0));
    hwnd = careless;
  }
  EXPECT_FALSE(::IsWindow(hwnd));
  EXPECT_EQ(CWnd::WindowsLeftToBase(), before + 1);
  // The half-destroyed object was not asked to handle the window's last messages.
  EXPECT_EQ(state, "alive");
  EXPECT_NE(ReadText(temp.Path().wstring() + L"\\NX7Driver.log").find("outlived its object's destructor"),
            std::string::npos);
  SetFailureLogFolder({});

  // Every window class of the layer destroys its own window.
  {
    CGDIBitmapBtn button;
    test::RecordingWindow parent;
    ASSERT_TRUE(parent.Open(Rect(40, 40, 200, 140)));
    ASSERT_TRUE(button.Create(parent, Rect(1, 1, 20, 20)));
  }
  EXPECT_EQ(CWnd::WindowsLeftToBase(), before + 1);
}

// A window that deletes itself in its final message and is destroyed by its own WM_CLOSE
// handler: the object must outlive that handler.
class SelfDeleting : public WindowClass<SelfDeleting, CWnd> {
 public:
  explicit SelfDeleting(std::vector<std::string>& events) : events_(events) {}
  ~SelfDeleting() override { events_.push_back("deleted"); }
  static constexpr auto MessageEntries() { return Entries(On<WM_CLOSE, &SelfDeleting::OnClose>()); }

 private:
  void OnClose() {
    DestroyWindow();
    events_.push_back(IsWindow() ? "window still there" : "handler goes on after DestroyWindow");
  }
  void OnFinalMessage() override { delete this; }
  std::vector<std::string>& events_;
};

TEST(WindowLifetime, AWindowDestroyedByItsOwnHandlerGetsItsFinalMessageWhenTheHandlerHasReturned) {
  std::vector<std::string> events;
  auto* window = new SelfDeleting(events);
  ASSERT_TRUE(window->CreateEx(0, nullptr, L"", WS_POPUP, Rect(0, 0, 50, 50), nullptr, 0));
  const HWND hwnd = *window;
  ::SendMessageW(hwnd, WM_CLOSE, 0, 0);
  EXPECT_FALSE(::IsWindow(hwnd));
  EXPECT_EQ(events, (std::vector<std::string>{"handler goes on after DestroyWindow", "deleted"}));

  // Destroyed from outside, it gets the final message at once.
  events.clear();
  window = new SelfDeleting(events);
  ASSERT_TRUE(window->CreateEx(0, nullptr, L"", WS_POPUP, Rect(0, 0, 50, 50), nullptr, 0));
  ::DestroyWindow(*window);
  EXPECT_EQ(events, std::vector<std::string>{"deleted"});
}

}  // namespace
}  // namespace nx7::win32

namespace nx7::win32 {
namespace {

TEST(SkinLook, ControlsShareTheFontsOfTheirLayoutsLook) {
  test::RecordingWindow parent;
  ASSERT_TRUE(parent.Open(Rect(40, 40, 300, 140)));
  const SkinLook& english = SkinLook::ForLayout(false);
  const SkinLook& chinese = SkinLook::ForLayout(true);
  EXPECT_NE(&english, &chinese);
  EXPECT_TRUE(chinese.Chinese());
  EXPECT_EQ(english.CaptionFont(), english.CaptionFont());
  EXPECT_EQ(english.EditFont(12), english.EditFont(12));
  EXPECT_NE(english.EditFont(12), english.EditFont(16));

  // Three captioned buttons draw with the one caption font of the look: no font of their own.
  std::array<CGDIBitmapBtn, 3> buttons;
  const std::ptrdiff_t before = OwnedGdiObjects();
  for (int i = 0; i < 3; ++i) {
    ASSERT_TRUE(buttons[i].Create(parent, Rect(10 + 60 * i, 10, 60 + 60 * i, 40)));
    buttons[i].SetLook(chinese);
    buttons[i].SetText(u"OK");
    test::RenderClient(buttons[i]);
  }
  EXPECT_LE(OwnedGdiObjects() - before, 1);  // at most the look's caption font, made on first use
  EXPECT_EQ(&buttons[0].Look(), &chinese);
  EXPECT_EQ(CGDIBitmapBtn::kDisabledTextColor, SkinLook::kButtonText.disabled);
}

}  // namespace
}  // namespace nx7::win32
