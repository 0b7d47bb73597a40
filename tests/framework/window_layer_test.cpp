#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <stdexcept>

#include "framework/dialog.h"
#include "framework/handles.h"
#include "framework/owner_drawn_button.h"
#include "framework/window_class.h"
#include "framework/ui_test_support.h"
#include "framework/wnd.h"
#include "resource_ids.h"

namespace nx7::win32 {
namespace {

using test::PumpMessages;
using test::PumpUntil;

class BaseWindow : public CWnd {
 public:
  ~BaseWindow() override { DestroyWindow(); }
  std::vector<std::string> calls;

 protected:
  const MessageTable& Messages() const override { return Table(); }
  static const MessageTable& Table() {
    static constexpr MessageEntry entries[] = {
        OnRaw<WM_USER + 1, &BaseWindow::OnShared>(),
        OnRaw<WM_USER + 2, &BaseWindow::OnBaseOnly>(),
    };
    static const MessageTable* const chained[] = {&CWnd::Table()};
    static const MessageTable table{entries, chained};
    return table;
  }

 private:
  LRESULT OnShared(WPARAM, LPARAM) { calls.push_back("base shared"); return 1; }
  LRESULT OnBaseOnly(WPARAM, LPARAM) { calls.push_back("base only"); return 2; }
};

class DerivedWindow : public BaseWindow {
 public:
  ~DerivedWindow() override { DestroyWindow(); }
  UINT flags = 0;
  POINT point{};
  UINT code = 0, id = 0;
  HWND control = nullptr;
  UINT_PTR timer = 0;
  bool throwNext = false;

 protected:
  const MessageTable& Messages() const override {
    static constexpr MessageEntry entries[] = {
        OnRaw<WM_USER + 1, &DerivedWindow::OnShared>(),
        On<WM_MOUSEMOVE, &DerivedWindow::OnMouseMove>(),
        On<WM_COMMAND, &DerivedWindow::OnCommand>(),
        On<WM_TIMER, &DerivedWindow::OnTimer>(),
        OnRaw<WM_USER + 3, &DerivedWindow::OnMayThrow>(),
    };
    static const MessageTable* const chained[] = {&BaseWindow::Table()};
    static const MessageTable table{entries, chained};
    return table;
  }

 private:
  LRESULT OnShared(WPARAM, LPARAM) { calls.push_back("derived shared"); return 10; }
  void OnMouseMove(UINT f, POINT p) { flags = f; point = p; }
  void OnCommand(UINT c, UINT i, HWND h) { code = c; id = i; control = h; }
  void OnTimer(UINT_PTR t) { timer = t; }
  LRESULT OnMayThrow(WPARAM w, LPARAM) {
    if (throwNext) {
      throwNext = false;
      throw std::runtime_error("handler failure");
    }
    return static_cast<LRESULT>(w) + 1;
  }
};

RECT Rect(int l, int t, int r, int b) { return RECT{l, t, r, b}; }

TEST(MessageTable, HandlersReceiveCrackedArguments) {
  DerivedWindow window;
  ASSERT_TRUE(window.CreateEx(0, nullptr, L"", WS_POPUP, Rect(0, 0, 50, 50), nullptr, 0));
  window.Send(WM_MOUSEMOVE, MK_LBUTTON | MK_SHIFT, MAKELPARAM(-5, 17));
  EXPECT_EQ(window.flags, static_cast<UINT>(MK_LBUTTON | MK_SHIFT));
  EXPECT_EQ(window.point.x, -5);
  EXPECT_EQ(window.point.y, 17);
  const HWND fake = reinterpret_cast<HWND>(0x1234);
  window.Send(WM_COMMAND, MAKEWPARAM(77, BN_DOUBLECLICKED), reinterpret_cast<LPARAM>(fake));
  EXPECT_EQ(window.code, static_cast<UINT>(BN_DOUBLECLICKED));
  EXPECT_EQ(window.id, 77u);
  EXPECT_EQ(window.control, fake);
  window.Send(WM_TIMER, 2321);
  EXPECT_EQ(window.timer, 2321u);
}

TEST(MessageTable, OwnEntriesComeFirstThenChainedTablesThenDefaultProcessing) {
  DerivedWindow window;
  ASSERT_TRUE(window.CreateEx(0, nullptr, L"", WS_POPUP, Rect(0, 0, 50, 50), nullptr, 0));
  EXPECT_EQ(window.Send(WM_USER + 1), 10);
  EXPECT_EQ(window.Send(WM_USER + 2), 2);
  EXPECT_EQ(window.calls, (std::vector<std::string>{"derived shared", "base only"}));
  // Not in any table: the window procedure of the class stores and returns the text.
  ::SetWindowTextW(window, L"kept by the default procedure");
  EXPECT_EQ(window.GetWindowText(), L"kept by the default procedure");
}

TEST(MessageTable, AnExceptionStopsAtTheWindowProcedure) {
  DerivedWindow window;
  ASSERT_TRUE(window.CreateEx(0, nullptr, L"", WS_POPUP, Rect(0, 0, 50, 50), nullptr, 0));
  const unsigned before = CWnd::CaughtExceptions();
  window.throwNext = true;
  EXPECT_EQ(window.Send(WM_USER + 3, 41), 0);  // answered by the default procedure
  EXPECT_EQ(CWnd::CaughtExceptions(), before + 1);
  EXPECT_EQ(window.Send(WM_USER + 3, 41), 42);  // the window goes on working
}

TEST(WindowLifetime, DestroyingTheWindowDetachesTheObjectAndTheObjectDestroysItsWindow) {
  DerivedWindow window;
  ASSERT_TRUE(window.CreateEx(0, nullptr, L"", WS_POPUP, Rect(0, 0, 50, 50), nullptr, 0));
  EXPECT_EQ(CWnd::FromHandle(window), &window);
  ::DestroyWindow(window);
  EXPECT_EQ(window.GetSafeHwnd(), nullptr);
  // Detached objects can create their window again.
  ASSERT_TRUE(window.CreateEx(0, nullptr, L"", WS_POPUP, Rect(0, 0, 50, 50), nullptr, 0));
  HWND hwnd = window.GetSafeHwnd();
  {
    auto temporary = std::make_unique<DerivedWindow>();
    ASSERT_TRUE(temporary->CreateEx(0, nullptr, L"", WS_POPUP, Rect(0, 0, 50, 50), nullptr, 0));
    hwnd = temporary->GetSafeHwnd();
  }
  EXPECT_FALSE(::IsWindow(hwnd));
}

// A child control of the layer draws itself: the parent's WM_DRAWITEM is handed to it.
class SelfDrawnButton : public CWnd {
 public:
  ~SelfDrawnButton() override { DestroyWindow(); }
  int draws = 0;

 protected:
  const MessageTable& Messages() const override {
    static constexpr MessageEntry entries[] = {On<kReflect + WM_DRAWITEM, &SelfDrawnButton::Draw>()};
    static const MessageTable* const chained[] = {&CWnd::Table()};
    static const MessageTable table{entries, chained};
    return table;
  }

 private:
  void Draw(const DRAWITEMSTRUCT& item) {
    if (item.CtlType == ODT_BUTTON) ++draws;
  }
};

TEST(WindowLayer, OwnerDrawingIsReflectedToTheControl) {
  test::RecordingWindow parent;
  ASSERT_TRUE(parent.Open(Rect(40, 40, 200, 140)));
  SelfDrawnButton button;
  ASSERT_TRUE(button.CreateEx(0, L"BUTTON", L"", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, Rect(10, 10, 60, 40), parent, 0));
  test::RenderClient(button);
  EXPECT_GE(button.draws, 1);
}

// Ends a modal dialog from inside its own message loop, once it exists.
struct ModalDriver {
  static inline CDialogEx* dialog = nullptr;
  static inline std::function<void(HWND)> action;
  static void CALLBACK Tick(HWND, UINT, UINT_PTR id, DWORD) {
    if (dialog && dialog->GetSafeHwnd() && action) {
      auto run = std::move(action);
      action = nullptr;
      ::KillTimer(nullptr, id);
      run(dialog->GetSafeHwnd());
    }
  }
  static INT_PTR Run(CDialogEx& d, std::function<void(HWND)> a) {
    dialog = &d;
    action = std::move(a);
    const UINT_PTR timer = ::SetTimer(nullptr, 0, 20, &ModalDriver::Tick);
    const INT_PTR result = d.DoModal();
    ::KillTimer(nullptr, timer);
    dialog = nullptr;
    return result;
  }
};

TEST(Dialog, ModalDialogsEndWithTheirResult) {
  struct Case {
    const char* name;
    std::function<void(HWND)> action;
    INT_PTR expected;
  };
  const Case cases[] = {
      {"EndDialog", [](HWND h) { ::EndDialog(h, 42); }, 42},
      {"Escape", [](HWND h) { ::PostMessageW(h, WM_KEYDOWN, VK_ESCAPE, 0); }, IDCANCEL},
      {"WM_CLOSE", [](HWND h) { ::PostMessageW(h, WM_CLOSE, 0, 0); }, IDCANCEL},
      {"Enter", [](HWND h) { ::PostMessageW(h, WM_KEYDOWN, VK_RETURN, 0); }, IDOK},
  };
  for (const Case& c : cases) {
    CDialogEx dialog(IDD_DLG_INFO);
    EXPECT_EQ(ModalDriver::Run(dialog, c.action), c.expected) << c.name;
    EXPECT_EQ(dialog.GetSafeHwnd(), nullptr) << c.name;
  }
}

TEST(Dialog, AMissingTemplateFailsWithoutAWindow) {
  CDialogEx dialog(9999);
  EXPECT_EQ(dialog.DoModal(), -1);
  EXPECT_FALSE(dialog.Create());
}

TEST(Dialog, ModelessPagesLiveUntilDestroyed) {
  test::RecordingWindow parent;
  ASSERT_TRUE(parent.Open(Rect(40, 40, 400, 300)));
  CDialogEx page(IDD_DLG_MAINSET);
  ASSERT_TRUE(page.Create(parent));
  EXPECT_EQ(::GetParent(page), parent.GetSafeHwnd());
  EXPECT_TRUE(::GetWindowLongPtrW(page, GWL_STYLE) & WS_CHILD);
  page.Send(WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);  // a modeless dialog is destroyed
  EXPECT_EQ(page.GetSafeHwnd(), nullptr);
}

// Another subclass placed over one of the layer's windows (as comctl32 controls do for their
// own purposes) keeps working when the object lets go, and a new object can take the window.
LRESULT CALLBACK CountingSubclass(HWND hwnd, UINT message, WPARAM w, LPARAM l, UINT_PTR, DWORD_PTR data) {
  if (message == WM_USER + 2) ++*reinterpret_cast<int*>(data);
  return ::DefSubclassProc(hwnd, message, w, l);
}

TEST(WindowLifetime, AnObjectLetsGoUnderAnotherSubclassAndANewOneTakesTheWindow) {
  DerivedWindow first;
  ASSERT_TRUE(first.CreateEx(0, nullptr, L"", WS_POPUP, Rect(0, 0, 50, 50), nullptr, 0));
  const HWND hwnd = first.GetSafeHwnd();
  int seen = 0;
  ASSERT_TRUE(::SetWindowSubclass(hwnd, &CountingSubclass, 1, reinterpret_cast<DWORD_PTR>(&seen)));
  EXPECT_EQ(::SendMessageW(hwnd, WM_USER + 2, 0, 0), 2);  // through the subclass to the object
  EXPECT_EQ(seen, 1);

  EXPECT_EQ(first.Detach(), hwnd);
  EXPECT_EQ(CWnd::FromHandle(hwnd), nullptr);
  first.calls.clear();
  EXPECT_EQ(::SendMessageW(hwnd, WM_USER + 2, 0, 0), 0);  // the default processing only
  EXPECT_EQ(seen, 2);
  EXPECT_TRUE(first.calls.empty());

  DerivedWindow second;
  ASSERT_TRUE(second.Attach(hwnd));
  EXPECT_FALSE(first.Attach(hwnd));  // one object per window
  EXPECT_EQ(CWnd::FromHandle(hwnd), &second);
  EXPECT_EQ(::SendMessageW(hwnd, WM_USER + 2, 0, 0), 2);
  EXPECT_EQ(second.calls, std::vector<std::string>{"base only"});
  EXPECT_EQ(seen, 3);
  ::RemoveWindowSubclass(hwnd, &CountingSubclass, 1);
  EXPECT_EQ(::SendMessageW(hwnd, WM_USER + 2, 0, 0), 2);
  EXPECT_EQ(seen, 3);
  // second's destructor destroys the window; first holds nothing any more.
}

// A framed child keeps its frame: only children with nothing outside their client area skip the
// default non-client painting.
TEST(WindowLayer, AFramedChildStillDrawsItsFrame) {
  DerivedWindow parent;
  ASSERT_TRUE(parent.CreateEx(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, nullptr, L"", WS_POPUP | WS_VISIBLE, Rect(40, 40, 140, 140),
                              nullptr, 0));
  HBRUSH white = static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH));
  ::SetClassLongPtrW(parent, GCLP_HBRBACKGROUND, reinterpret_cast<LONG_PTR>(white));
  DerivedWindow framed, plain;
  ASSERT_TRUE(framed.CreateEx(0, nullptr, L"", WS_CHILD | WS_VISIBLE | WS_BORDER, Rect(10, 10, 40, 40), parent, 1));
  ASSERT_TRUE(plain.CreateEx(0, nullptr, L"", WS_CHILD | WS_VISIBLE, Rect(50, 10, 80, 40), parent, 2));
  ::RedrawWindow(parent, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW | RDW_ALLCHILDREN);
  PumpMessages();
  ClientDc screen(nullptr);
  // The border is drawn in the frame colour; the plain child's edge is its own (white) background.
  EXPECT_EQ(::GetPixel(screen, 40 + 10, 40 + 20), ::GetSysColor(COLOR_WINDOWFRAME));
  EXPECT_EQ(::GetPixel(screen, 40 + 50, 40 + 20), RGB(255, 255, 255));
  ::SetClassLongPtrW(parent, GCLP_HBRBACKGROUND, 0);
}

// An owner-drawn button painting itself reports the state the button control itself reports in
// its WM_DRAWITEM (seen here through WM_PRINTCLIENT, which the control paints on its own).
class StateButton : public WindowClass<StateButton, CWnd, OwnerDrawnButtonPaint<StateButton>> {
  friend OwnerDrawnButtonPaint<StateButton>;

 public:
  ~StateButton() override { DestroyWindow(); }
  static constexpr auto MessageEntries() {
    return Entries(On<kReflect + WM_DRAWITEM, &StateButton::DrawItem>(),
                   OnRaw<kReflect + WM_CTLCOLORBTN, &StateButton::OnControlColour>());
  }
  std::vector<UINT> states;
  std::vector<UINT> ids;
  int controlPaints = 0;  // the button control asks its parent for a brush when it paints

 private:
  void DrawItem(const DRAWITEMSTRUCT& item) {
    states.push_back(item.itemState & (ODS_SELECTED | ODS_DISABLED | ODS_FOCUS));
    ids.push_back(item.CtlID);
  }
  LRESULT OnControlColour(WPARAM, LPARAM) {
    ++controlPaints;
    Decline();
    return 0;
  }
};

TEST(WindowLayer, AnOwnerDrawnButtonPaintsItselfWithTheControlsOwnState) {
  DerivedWindow parent;
  ASSERT_TRUE(parent.CreateEx(0, nullptr, L"", WS_POPUP | WS_VISIBLE, Rect(40, 40, 140, 140), nullptr, 0));
  StateButton button;
  ASSERT_TRUE(button.CreateEx(0, L"BUTTON", L"", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, Rect(10, 10, 60, 40), parent, 7));
  PumpMessages();
  struct Case {
    const char* name;
    bool pushed, disabled;
  };
  for (const Case& c : {Case{"normal", false, false}, Case{"pushed", true, false}, Case{"disabled", false, true}}) {
    ::EnableWindow(button, !c.disabled);
    button.Send(BM_SETSTATE, c.pushed);
    button.states.clear();
    button.ids.clear();
    button.controlPaints = 0;
    ::RedrawWindow(button, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_EQ(button.controlPaints, 0) << c.name;  // painted by the object, not the control
    ClientDc screen(nullptr);
    MemoryDc memory(::CreateCompatibleDC(screen));
    button.Send(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory.Get()), PRF_CLIENT);
    EXPECT_EQ(button.controlPaints, 1) << c.name;
    ASSERT_EQ(button.states.size(), 2u) << c.name;
    EXPECT_EQ(button.states[0], button.states[1]) << c.name;
    EXPECT_EQ((button.states[0] & ODS_SELECTED) != 0, c.pushed) << c.name;
    EXPECT_EQ((button.states[0] & ODS_DISABLED) != 0, c.disabled) << c.name;
    EXPECT_EQ(button.ids, (std::vector<UINT>{7, 7})) << c.name;
    button.Send(BM_SETSTATE, FALSE);
  }
}

}  // namespace
}  // namespace nx7::win32
