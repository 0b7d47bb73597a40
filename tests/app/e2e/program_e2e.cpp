#include "program_e2e.h"

#include <gtest/gtest.h>

#include <optional>
#include <thread>

#include "framework/timer_source.h"
#include "platform/clock.h"

namespace nx7::e2e {

HWND StartAndShowProgram(Process& process, const ProgramFolder& folder, const std::filesystem::path& program,
                         const std::vector<std::wstring>& arguments, milliseconds pause) {
  if (!process.Start(program, {.arguments = arguments,
                               .environment = {{L"NX7_STANDIN_LOG", folder.StandInLog().wstring()}}})) {
    ADD_FAILURE() << process.Error();
    return nullptr;
  }
  HWND main = WaitForWindow({.title = kTitle, .processId = process.Id()}, milliseconds(20000));
  if (!main) {
    ADD_FAILURE() << "the main window did not show";
    return nullptr;
  }
  if (!WaitUntilSettled(main, 959, 639)) ADD_FAILURE() << "the main window did not settle at 959 x 639";
  ActivateWindow(main);
  std::this_thread::sleep_for(pause);
  return main;
}

std::vector<COLORREF> CaptureClient(HWND window, const RECT& client) {
  POINT topLeft{client.left, client.top}, bottomRight{client.right, client.bottom};
  ClientToScreen(window, &topLeft);
  ClientToScreen(window, &bottomRight);
  return CaptureScreenPixels({topLeft.x, topLeft.y, bottomRight.x, bottomRight.y});
}

std::vector<std::string> Reports(const std::vector<std::string>& trace, size_t from) {
  std::vector<std::string> reports;
  for (size_t i = from; i < trace.size(); ++i) {
    if (trace[i].rfind("SLEEP ", 0) != 0) reports.push_back(trace[i]);
  }
  return reports;
}

std::vector<std::string> SettledLines(const std::filesystem::path& file, milliseconds quiet) {
  constexpr milliseconds kPace(100);
  const auto stillNeeded = std::max<long long>(1, quiet / kPace);
  std::vector<std::string> last = ReadLines(file);
  long long still = 0;
  for (int i = 0; i < 100 && still < stillNeeded; ++i) {
    std::this_thread::sleep_for(kPace);
    std::vector<std::string> now = ReadLines(file);
    still = now == last ? still + 1 : 0;
    last = std::move(now);
  }
  return last;
}

std::vector<COLORREF> ReferenceMessageBody(const std::u16string& text, bool chinese, bool twoButtons) {
  static win32::CDlgInfo* box;
  static std::vector<COLORREF> body;
  static int visibleTicks;
  visibleTicks = 0;
  body.clear();
  win32::CDlgInfo dialog(nullptr, RealClock(), win32::WindowTimers());
  dialog.chineseText = chinese;
  dialog.text = text;
  dialog.twoButtons = twoButtons ? 1 : 0;
  box = &dialog;
  const UINT_PTR timer = SetTimer(nullptr, 0, 50, [](HWND, UINT, UINT_PTR id, DWORD) {
    if (!box->GetSafeHwnd() || !IsWindowVisible(*box) || ++visibleTicks < 6) return;  // shown and painted
    KillTimer(nullptr, id);
    body = CaptureClient(*box, kMessageBody);
    box->EndDialog(IDOK);
  });
  dialog.DoModal();
  KillTimer(nullptr, timer);
  return body;
}

std::vector<std::string> Nx7ctlApplyReports(const ProgramFolder& folder, const std::filesystem::path& profile,
                                            const std::wstring& macroIds, bool mustWork) {
  const auto trace = folder.Path() / "nx7ctl-trace.txt";
  std::filesystem::remove(trace);
  std::vector<std::wstring> arguments = {L"apply", (folder.Path() / profile).wstring(), L"--virtual", L"--trace",
                                         trace.wstring()};
  if (folder.Exists("Macro.cfg")) {
    arguments.push_back(L"--macros");
    arguments.push_back((folder.Path() / "Macro.cfg").wstring());
  }
  if (!macroIds.empty()) {
    arguments.push_back(L"--macro-ids");
    arguments.push_back(macroIds);
  }
  std::optional<DWORD> code;
  // The program replaces its files as it saves them; a read that meets the file open for that is
  // refused (a sharing violation), and a moment later it succeeds.
  for (int attempt = 0; attempt < 3; ++attempt) {
    if (attempt > 0) std::this_thread::sleep_for(milliseconds(300));
    Process ctl;
    if (!ctl.Start(BuildFiles::Nx7ctl(), {.arguments = arguments, .output = folder.Path() / "nx7ctl-output.txt"})) {
      ADD_FAILURE() << ctl.Error();
      return {};
    }
    code = ctl.WaitForExit(milliseconds(30000));
    if (code == 0u || folder.Read("nx7ctl-output.txt").find("Sharing violation") == std::string::npos) break;
  }
  if (mustWork) {
    EXPECT_EQ(code, 0u) << folder.Read("nx7ctl-output.txt");
  }
  if (code != 0u) return {};
  return Reports(ReadLines(trace));
}

std::vector<std::string> LaunchesOfWheelSteps(const ProgramFolder& folder, int steps) {
  MoveCursorTo({400, 400});
  for (int step = 0; step < steps; ++step) {
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = MOUSEEVENTF_WHEEL;
    in.mi.mouseData = WHEEL_DELTA;
    if (SendInput(1, &in, sizeof in) != 1) ADD_FAILURE() << "SendInput refused a wheel step";
    std::this_thread::sleep_for(milliseconds(100));
  }
  WaitUntil([&] { return folder.StandInLines().size() >= size_t(steps); }, milliseconds(10000));
  std::this_thread::sleep_for(milliseconds(500));
  return folder.StandInLines();
}

}  // namespace nx7::e2e
