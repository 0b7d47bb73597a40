#pragma once
// The main window's decisions that need no window: the command line of the program, what a page
// switch does, what the apply button does, and which hint the pointer asks for. The window
// (main_dlg_win32.h) carries them out.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace nx7 {

// The program's command line.
//   --virtual              the built-in virtual mouse instead of the HID driver
//   --trace FILE           every report of the session to FILE (the nx7ctl trace format)
//   --virtual-bootloader   with --virtual: a mouse in bootloader mode is present at start
//   --fail-command XX      with --virtual: the mouse refuses every report of command byte XX (hex)
//   --report FILE          when the window is shown: start-up time, memory and GDI objects to FILE
//   --stats-save-seconds N the statistics' periodic save every N seconds (1 to 3600) instead of
//                          every three minutes
struct ProgramOptions {
  bool useVirtual = false;
  std::u16string tracePath;
  bool virtualBootloader = false;
  std::optional<uint8_t> failCommand;
  std::u16string reportPath;
  std::optional<uint32_t> statsSaveSeconds;
  // With --virtual: a download still changes the Windows pointer settings.
  bool applyPointerSettings = false;
};

struct ParsedOptions {
  ProgramOptions options;
  std::u16string error;  // not empty: the command line is refused, and says why
};

// `args` are the arguments after the program's own name.
ParsedOptions ParseProgramOptions(const std::vector<std::u16string>& args);

inline constexpr int kPageCount = 5;
inline constexpr int kMacroPage = 3;

// A page switch to `page` (1 to 5), given whether the macro page records.
struct PageSwitch {
  std::array<bool, kPageCount> tabChecked{};  // and the pages shown
  bool closeMacroMenu = false;                 // before anything else
  bool stopRecording = false;                  // the macro page's record toggle, once
  bool profileAndApplyEnabled = false;
  bool reloadPage = false;                     // the new page shows the settings block again
};
PageSwitch PageSwitchTo(int page, bool macroPageRecording);

// What the apply button does, in order.
struct ApplySteps {
  bool commitMacroEdit = true;    // always first
  bool commitWheelLines = false;  // only while the wheel lines are a number of lines
  bool startDownload = false;     // only while no download runs
};
ApplySteps ApplyButtonSteps(int32_t wheelLines, bool downloadIdle);

// The eleven region buttons in hint order (tabs 1 to 5, profiles 1 to 5, apply) as window
// rectangles in the main window's client coordinates; the hint of button i is i + 1.
struct HintRect {
  int left, top, right, bottom;
};
// The HintIds to post for a pointer at (x, y) over the background, in order: each button whose
// rectangle grown by one pixel on every side holds the point.
std::vector<int> MainWindowHintsAt(int x, int y, const std::array<HintRect, 11>& buttons);

}  // namespace nx7
