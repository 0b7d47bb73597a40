// The statistics page under Wine: a real page over the generated skins, on a virtual registry,
// with the periodic timers fired by the test and the cursor read from a point the test moves.
#include "stats/dlg_sts_win32.h"

#include <gtest/gtest.h>

#include <atomic>
#include <map>
#include <memory>

#include "device/virtual/virtual_mouse.h"
#include "framework/ui_init.h"
#include "framework/ui_test_support.h"
#include "macros/input_hooks_virtual.h"
#include "platform/virtual/virtual_file_system.h"
#include "platform/virtual/virtual_registry.h"
#include "platform/win32/ini_file_win32.h"
#include "platform/win32/wide.h"
#include "platform/win32/win32_message_poster.h"
#include "skin/layout_win32.h"

namespace nx7::win32 {
namespace {

namespace sp = layout::stats_page;

// build/windows: the test program sits in tests/stats.
std::wstring BuildFolder() { return test::FolderAboveProgram(3); }
// The skins in the Chinese layout, rendered beside the test program by the build.
std::wstring ChineseSkinsFolder() { return test::FolderAboveProgram(1) + L"\\zh"; }

// The real clock: the page's sampling thread pauses 500 ms between samples through it.
class RealTime final : public Clock {
 public:
  uint32_t TickCount() override { return RealClock().TickCount(); }
  void Sleep(uint32_t ms) override { RealClock().Sleep(ms); }
};

class ManualTimers final : public TimerSource {
 public:
  bool Start(HWND, UINT_PTR id, UINT periodMs) override {
    running[id] = periodMs;
    return true;
  }
  void Stop(HWND, UINT_PTR id) override { running.erase(id); }
  std::map<UINT_PTR, UINT> running;
};

// The main window as the page sees it: it keeps the hints the page posts.
class Owner : public WindowClass<Owner, test::RecordingWindow> {
 public:
  ~Owner() override { DestroyWindow(); }
  static std::span<const MessageEntry> MessageEntries() {
    static constexpr auto entries = Entries(OnRaw<WM_SHOW_HINT, &Owner::OnHint>());
    return entries;
  }
  std::vector<LPARAM> hints;

 private:
  LRESULT OnHint(WPARAM, LPARAM hint) {
    hints.push_back(hint);
    return 0;
  }
};

class StatsPage : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(InitUserInterface()); }

  // A page over `folder`'s skins with the counters `stored` in its registry, shown in a window
  // of the main window's size.
  CDlgSts& Open(const StatsCounters& stored, bool chineseText = false, std::wstring folder = BuildFolder()) {
    AppServices s;
    s.clock = std::make_unique<RealTime>();
    s.files = std::make_unique<VirtualFileSystem>();
    auto registry = std::make_unique<VirtualRegistry>();
    registry_ = registry.get();
    s.registry = std::move(registry);
    s.ini = std::make_unique<FileIniFile>();
    s.hid = std::make_unique<VirtualMouse>();
    s.hookInstaller = std::make_unique<VirtualHookInstaller>();
    s.poster = std::make_unique<Win32MessagePoster>();
    app_ = std::make_unique<AppContext>(FromWide(folder), std::move(s));
    app_->model().chineseText = chineseText;
    SaveStatistics(*registry_, stored);
    owner_ = std::make_unique<Owner>();
    EXPECT_TRUE(owner_->Open(RECT{0, 0, 959, 639}));
    page_ = std::make_unique<CDlgSts>(*app_, timers_, [this] {
      return CursorPoint{cursorX_.load(), cursorY_.load()};
    });
    EXPECT_TRUE(page_->CreatePage(*owner_, ToRect(layout::main_window::kPageArea)));
    ::ShowWindow(*page_, SW_SHOW);
    ::UpdateWindow(*page_);
    test::PumpMessages();
    return *page_;
  }
  void TearDown() override {
    page_.reset();
    owner_.reset();
  }

  // The page's client area as the screen shows it.
  test::Pixels Screen() {
    ::RedrawWindow(*page_, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    test::PumpMessages();
    ::GdiFlush();
    RECT r{};
    ::GetClientRect(*page_, &r);
    ::MapWindowPoints(*page_, nullptr, reinterpret_cast<POINT*>(&r), 2);
    Bitmap shot = test::CaptureScreen(r);
    return test::ReadBitmap(shot.Get());
  }
  void Screenshot(const std::wstring& name) {
    ::RedrawWindow(*page_, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    test::PumpMessages();
    ::GdiFlush();
    RECT r{};
    ::GetWindowRect(*page_, &r);
    Bitmap shot = test::CaptureScreen(r);
    EXPECT_TRUE(test::SavePng(shot.Get(), BuildFolder() + L"\\screenshots\\" + name + L".png"));
  }

  // The figure column as the page must draw `texts` over its skin, drawn here the same way.
  test::Pixels ExpectedFigures(const std::array<std::u16string, 8>& texts, bool chinese) {
    const SkinBitmap skin = LoadSkinBitmap(app_->ProgramFolder() + u"\\skins\\Sts_Normal.bmp");
    EXPECT_TRUE(skin);
    Bitmap copy = CutBitmap(skin.bitmap.Get(), 0, 0, skin.width, skin.height);
    {
      BitmapDc dc(nullptr, copy.Get());
      SelectGuard font(dc, SkinLook::ForLayout(chinese).CaptionFont());
      ::SetBkMode(dc, TRANSPARENT);
      ::SetTextColor(dc, 0xDCDCDC);
      for (int i = 0; i < 8; ++i) {
        RECT r = ToRect(sp::Figure(i, chinese));
        ::DrawTextW(dc, Wide(texts[size_t(i)]), -1, &r, DT_RIGHT | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS);
      }
    }
    return test::ReadBitmap(copy.Get());
  }
  // Pixels of the figure column that differ between two pictures of the page.
  static int FigureDifferences(const test::Pixels& a, const test::Pixels& b, bool chinese) {
    int differ = 0;
    for (int i = 0; i < 8; ++i) {
      const layout::Rect f = sp::Figure(i, chinese);
      for (int y = f.top; y < f.bottom; ++y)
        for (int x = f.left; x < f.right; ++x) differ += a.At(x, y) != b.At(x, y);
    }
    return differ;
  }

  ManualTimers timers_;
  VirtualRegistry* registry_ = nullptr;
  std::unique_ptr<AppContext> app_;
  std::unique_ptr<Owner> owner_;
  std::unique_ptr<CDlgSts> page_;
  std::atomic<int32_t> cursorX_{0}, cursorY_{0};
};

TEST_F(StatsPage, CountsTheForwardedPressesAndDrawsTheEightFigures) {
  CDlgSts& page = Open({1000, 20, 300, 4000, 50000, 20000});
  for (WPARAM code : {0x201, 0x201, 0x207, 0x204, 0x20A01, 0x20A00, 0x20A00, 0x1020B, 0x2020B, 0x202})
    ::SendMessageW(page, WM_STS_INPUT, code, 0);
  EXPECT_EQ(page.Stats().Counters(), (StatsCounters{1002, 21, 301, 4001, 50002, 20000}));
  const test::Pixels shown = Screen();
  EXPECT_EQ(FigureDifferences(shown, ExpectedFigures({u"1002", u"21", u"301", u"1324", u"4001", u"50002", u"54003", u"2.00"}, false), false), 0);
  // The comparison tells figures apart.
  EXPECT_GT(FigureDifferences(shown, ExpectedFigures({u"1002", u"21", u"301", u"1324", u"4001", u"50002", u"54003", u"2.01"}, false), false), 0);
}

TEST_F(StatsPage, ChineseLayoutDrawsTheFiguresInItsOwnColumns) {
  CDlgSts& page = Open({1, 2, 3, 4, 5, 2147483648u}, true, ChineseSkinsFolder());
  EXPECT_EQ(page.Stats().Counters().distance, 2147483648u);
  const test::Pixels shown = Screen();
  EXPECT_EQ(FigureDifferences(shown, ExpectedFigures({u"1", u"2", u"3", u"6", u"4", u"5", u"9", u"214748.36"}, true), true), 0);
}

TEST_F(StatsPage, TheSampledCursorTravelAddsToTheDistance) {
  cursorX_ = 100;
  cursorY_ = 100;
  CDlgSts& page = Open({});
  cursorX_ = 130;
  cursorY_ = 60;
  // The sampling thread posts within 500 ms of real time.
  EXPECT_TRUE(test::PumpUntil([&] { return page.Stats().Counters().distance == 70u; }, 3000))
      << page.Stats().Counters().distance;
  cursorX_ = 30;
  EXPECT_TRUE(test::PumpUntil([&] { return page.Stats().Counters().distance == 170u; }, 3000))
      << page.Stats().Counters().distance;
  // The distance figure is repainted by timer 1 every five seconds.
  EXPECT_EQ(timers_.running[CDlgSts::kDistanceTimer], 5000u);
}

TEST_F(StatsPage, TrophyPictureLampsAndBarFollowTheLevel) {
  const struct {
    StatsCounters stored;
    int level;
  } cases[] = {
      {{99999, 0, 0, 0, 0, 0}, 0},
      {{0, 0, 0, 1500000, 0, 0}, 4},
      {{3000000, 1000000, 0, 0, 0, 0}, 8},
      {{0, 0, 0, 0, 10000000, 0}, 12},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE("level " + std::to_string(c.level));
    CDlgSts& page = Open(c.stored);
    const test::Pixels shown = Screen();
    EXPECT_EQ(page.Stats().Level(), c.level);
    for (int i = 0; i < kTrophyLampCount; ++i) EXPECT_EQ(page.LampOn(i), i <= c.level) << "lamp " << i;
    RECT bar{};
    ::GetWindowRect(page.LevelBar(), &bar);
    ::MapWindowPoints(nullptr, page, reinterpret_cast<POINT*>(&bar), 2);
    EXPECT_EQ(bar.left, 631);
    EXPECT_EQ(bar.top, 62);
    EXPECT_EQ(bar.right - bar.left, LevelBarWidth(c.level));
    EXPECT_EQ(bar.bottom - bar.top, 15);
    // The trophy picture shows its level's file pixel for pixel.
    const SkinBitmap trophy =
        LoadSkinBitmap(app_->ProgramFolder() + u"\\skins\\trophy\\trophy" + FromWide(std::to_wstring(c.level)) + u"Down.bmp");
    ASSERT_TRUE(trophy);
    const test::Pixels expected = test::ReadBitmap(trophy.bitmap.Get());
    int differ = 0;
    for (int y = 0; y < expected.height; y += 3)
      for (int x = 0; x < expected.width; x += 3) differ += shown.At(sp::kTrophyPicture.left + x, y) != expected.At(x, y);
    EXPECT_EQ(differ, 0);
    TearDown();
  }
}

TEST_F(StatsPage, ThePeriodicSaveWritesOnlyWhatChangedAndDestructionSaves) {
  CDlgSts& page = Open({5, 0, 0, 0, 0, 0});
  page.SetSavePeriod(1000);  // too late: the page already runs with its own period
  EXPECT_EQ(timers_.running[CDlgSts::kSaveTimer], CDlgSts::kSavePeriodMs);
  const int writes = registry_->WriteCount();
  ::SendMessageW(page, WM_TIMER, CDlgSts::kSaveTimer, 0);
  EXPECT_EQ(registry_->WriteCount(), writes) << "nothing changed";
  ::SendMessageW(page, WM_STS_INPUT, 0x201, 0);
  EXPECT_EQ(LoadStatistics(*registry_).leftClicks, 5u);
  ::SendMessageW(page, WM_TIMER, CDlgSts::kSaveTimer, 0);
  EXPECT_EQ(LoadStatistics(*registry_).leftClicks, 6u);
  ::SendMessageW(page, WM_STS_INPUT, 0x20A00, 0);
  page_.reset();
  EXPECT_EQ(LoadStatistics(*registry_), (StatsCounters{6, 0, 0, 0, 1, 0}));
  EXPECT_TRUE(timers_.running.empty()) << "timers left running";
}

TEST_F(StatsPage, ASavePeriodSetBeforeCreationIsUsed) {
  AppServices s;
  s.clock = std::make_unique<RealTime>();
  s.files = std::make_unique<VirtualFileSystem>();
  s.registry = std::make_unique<VirtualRegistry>();
  s.ini = std::make_unique<FileIniFile>();
  s.hid = std::make_unique<VirtualMouse>();
  s.hookInstaller = std::make_unique<VirtualHookInstaller>();
  s.poster = std::make_unique<Win32MessagePoster>();
  AppContext app(FromWide(BuildFolder()), std::move(s));
  Owner owner;
  ASSERT_TRUE(owner.Open(RECT{0, 0, 959, 639}));
  CDlgSts page(app, timers_);
  page.SetSavePeriod(2000);
  ASSERT_TRUE(page.CreatePage(owner, ToRect(layout::main_window::kPageArea)));
  EXPECT_EQ(timers_.running[CDlgSts::kSaveTimer], 2000u);
}

// Runs `act` and answers the confirmation box that opens with the button at `button`.
void AnswerConfirmation(const std::function<void()>& act, POINT button, std::u16string* seenTitle = nullptr) {
  static POINT target;
  static bool answered;
  target = button;
  answered = false;
  const UINT_PTR timer = ::SetTimer(nullptr, 0, 50, [](HWND, UINT, UINT_PTR id, DWORD) {
    HWND box = ::FindWindowW(nullptr, L"VornaNX7InfoDlg");
    if (!box || !::IsWindowVisible(box) || answered) return;
    answered = true;
    HWND b = ::ChildWindowFromPoint(box, target);
    if (b && b != box) ::PostMessageW(b, BM_CLICK, 0, 0);
  });
  act();
  ::KillTimer(nullptr, timer);
  EXPECT_TRUE(answered) << "no confirmation box";
}

TEST_F(StatsPage, ResetAsksFirstAndOnlyOkZeroesAndSaves) {
  CDlgSts& page = Open({3000000, 0, 0, 0, 0, 12345});
  Screen();
  EXPECT_EQ(page.Stats().Level(), 7);
  const POINT ok{211, 143}, cancel{278, 143};
  AnswerConfirmation([&] { ::SendMessageW(page, WM_COMMAND, MAKEWPARAM(0, BN_CLICKED), LPARAM(page.ResetButton())); }, cancel);
  EXPECT_EQ(page.Stats().Counters(), (StatsCounters{3000000, 0, 0, 0, 0, 12345}));
  EXPECT_EQ(LoadStatistics(*registry_).leftClicks, 3000000u);
  AnswerConfirmation([&] { ::SendMessageW(page, WM_COMMAND, MAKEWPARAM(0, BN_CLICKED), LPARAM(page.ResetButton())); }, ok);
  EXPECT_EQ(page.Stats().Counters(), StatsCounters{});
  EXPECT_EQ(LoadStatistics(*registry_), StatsCounters{});
  const test::Pixels shown = Screen();
  EXPECT_EQ(page.Stats().Level(), 0);
  for (int i = 0; i < kTrophyLampCount; ++i) EXPECT_EQ(page.LampOn(i), i == 0) << "lamp " << i;
  EXPECT_EQ(FigureDifferences(shown, ExpectedFigures({u"0", u"0", u"0", u"0", u"0", u"0", u"0", u"0.00"}, false), false), 0);
}

TEST_F(StatsPage, HintsOfTheTrophyAndTheResetButton) {
  CDlgSts& page = Open({});
  const struct {
    POINT at;
    std::vector<LPARAM> hints;
  } cases[] = {
      {{400, 200}, {54}}, {{308, 200}, {54}}, {{750, 390}, {55}}, {{702, 378}, {55}}, {{100, 300}, {}}, {{640, 430}, {}},
  };
  for (const auto& c : cases) {
    owner_->hints.clear();
    ::SendMessageW(page, WM_MOUSEMOVE, 0, MAKELPARAM(c.at.x, c.at.y));
    test::PumpMessages();
    EXPECT_EQ(owner_->hints, c.hints) << c.at.x << "," << c.at.y;
  }
}

TEST_F(StatsPage, Screenshots) {
  const struct {
    StatsCounters stored;
    int level;
  } levels[] = {
      {{1204, 87, 356, 20311, 19876, 8234567}, 0},
      {{812345, 40211, 198765, 401234, 387654, 912345678}, 3},
      {{3456789, 123456, 987654, 3345678, 2109876, 1987654321}, 9},
      {{7654321, 765432, 1876543, 5432109, 5123456, 2147483647}, 12},
  };
  for (bool chinese : {false, true}) {
    for (const auto& l : levels) {
      CDlgSts& page = Open(l.stored, chinese, chinese ? ChineseSkinsFolder() : BuildFolder());
      Screen();
      EXPECT_EQ(page.Stats().Level(), l.level);
      Screenshot(std::wstring(chinese ? L"stats_zh_level" : L"stats_en_level") + std::to_wstring(l.level));
      TearDown();
    }
  }
}

}  // namespace
}  // namespace nx7::win32
