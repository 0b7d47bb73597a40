// Launches on a real desktop: wheel steps injected with SendInput reach the low-level mouse hook,
// which swallows them and posts WM_HOOKED_INPUT; the window's handler launches the stand-in
// program once per step.
#include "buttons/launches.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/messages.h"
#include "app/standin/standin_log.h"
#include "buttons/function_types.h"
#include "macros/input_hooks.h"
#include "macros/input_hooks_win32.h"
#include "platform/win32/shell_win32.h"
#include "platform/win32/win32_message_poster.h"
#include "temp_folder.h"

namespace nx7 {
namespace {

// The main window's WM_HOOKED_INPUT handling in miniature.
class LaunchWindow {
 public:
  LaunchWindow(const SettingsBlock& settings, Shell& shell) : settings_(settings), shell_(shell) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = Proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"NX7LaunchTest";
    RegisterClassW(&wc);
    handle_ = CreateWindowExW(0, wc.lpszClassName, L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, wc.hInstance, nullptr);
    SetWindowLongPtrW(handle_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  }
  ~LaunchWindow() { DestroyWindow(handle_); }
  HWND handle() const { return handle_; }

  // Runs the message loop until `count` WM_HOOKED_INPUT have been handled (or five seconds).
  void PumpUntilHandled(size_t count) {
    const DWORD deadline = GetTickCount() + 5000;
    while (forwarded.size() < count && static_cast<LONG>(GetTickCount() - deadline) < 0) {
      MSG msg;
      while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
      MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
  }

  std::vector<uintptr_t> forwarded;  // the wParam of each WM_STS_INPUT the handler would post

 private:
  static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<LaunchWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self && message == WM_HOOKED_INPUT) {
      const HookedInputResponse r = RespondToHookedInput(wParam, lParam, self->settings_);
      self->forwarded.push_back(r.statsWParam);
      PerformLaunch(r.launch, self->shell_);
      return 1;
    }
    return DefWindowProcW(window, message, wParam, lParam);
  }

  const SettingsBlock& settings_;
  Shell& shell_;
  HWND handle_ = nullptr;
};

TEST(LaunchesWin32, AWheelForwardProgramLaunchRunsOncePerStep) {
  testing::TempFolder folder;
  const std::filesystem::path program = (folder.Path() / "My Tools" / "tool.exe").make_preferred();
  std::filesystem::create_directories(program.parent_path());
  std::filesystem::copy_file(testing::StandInProgram(), program);
  testing::StandInLog log(folder.Path() / "runs.log");

  SettingsBlock settings{};
  FillWithDefaults(settings, false);
  ButtonAssignment& wheel = settings.buttons[5];
  wheel.type = kTypeSoftwareLaunch;
  wheel.launchKind = kLaunchProgram;
  const std::u16string path = program.u16string();
  std::copy(path.begin(), path.end(), wheel.launchPath);

  win32::Win32Shell shell;
  LaunchWindow window(settings, shell);
  ASSERT_NE(window.handle(), nullptr);
  win32::Win32MessagePoster poster;
  win32::Win32HookInstaller installer;
  InputHooks hooks(poster, installer);
  ASSERT_TRUE(hooks.InstallHooks(window.handle())) << installer.LastError();
  hooks.SetNotifyFlags(false, true);
  hooks.SetMouseIntercept(kMouseWheelForward, false);  // as the download sets it for a launch

  for (int step = 0; step < 3; ++step) {
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = MOUSEEVENTF_WHEEL;
    in.mi.mouseData = WHEEL_DELTA;
    ASSERT_EQ(SendInput(1, &in, sizeof in), 1u);
  }
  window.PumpUntilHandled(3);
  hooks.RemoveHooks();
  EXPECT_EQ(window.forwarded, (std::vector<uintptr_t>(3, kMouseWheelForward)));
  EXPECT_EQ(log.WaitForLines(3), (std::vector<std::string>(3, "0")));
}

}  // namespace
}  // namespace nx7
