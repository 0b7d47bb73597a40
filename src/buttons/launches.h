#pragma once
// The software-launch functions, carried out by the program on WM_HOOKED_INPUT: the input hooks
// report a press of an input, and when the input's current assignment is a software launch
// (type 19) the main window plays its sound, starts its program or opens its file or folder.
//
// The handler reads the settings block as currently edited, not as last downloaded: an input
// just set to a launch and not yet downloaded launches from its notifications too.
#include <cstdint>
#include <string>

#include "platform/shell.h"
#include "store/settings_block.h"

namespace nx7 {

inline constexpr int32_t kLaunchSound = 0xC0;
inline constexpr int32_t kLaunchProgram = 0xD0;
inline constexpr int32_t kLaunchFile = 0xE0;
inline constexpr int32_t kLaunchFolder = 0xF0;

struct Launch {
  enum class Kind {
    None,
    PlaySound,  // Shell::PlaySoundFile(target)
    Open,       // Shell::Open(target, no parameters)
  };
  Kind kind = Kind::None;
  std::u16string target;
  bool operator==(const Launch&) const = default;
};

// What the main window does with one WM_HOOKED_INPUT (wParam, lParam), in order: post
// WM_STS_INPUT with `statsWParam`, `statsLParam` to the statistics page (every time), then carry
// out `launch`.
struct HookedInputResponse {
  uintptr_t statsWParam;
  intptr_t statsLParam;
  Launch launch;
};

// `wParam` is a MouseEventCode, or 1 for a key-down notification (only forwarded).
HookedInputResponse RespondToHookedInput(uintptr_t wParam, intptr_t lParam, const SettingsBlock& settings);

// The launch of one assignment: nothing unless its type is 19 and its path is not empty. Sounds
// and programs take the path as it is; a file or folder path holding a space is enclosed in
// double quotation marks.
Launch LaunchOf(const ButtonAssignment& assignment);

// Plays or opens; results are not looked at (a missing file just does nothing).
void PerformLaunch(const Launch& launch, Shell& shell);

}  // namespace nx7
