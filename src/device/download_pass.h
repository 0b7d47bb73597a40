#pragma once
// One download: the whole profile written to the mouse in a fixed order — the seven inputs as
// the key matrix (uploading macros on the way), lighting colour and effect, the colour table in
// mode 5 with custom colours, the body light, the DPI table and level count, the Windows pointer
// settings and the report rate — with progress 0..100 and, on failure, the stage that failed.
#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "store/settings_block.h"

namespace nx7 {

class CUSBDriver;
class Clock;

// What the pass reports. The program's version posts 0x42B to the progress dialog and
// 0x703 / 0x704 to the main window (posting_download_observer.h).
class DownloadObserver {
 public:
  virtual ~DownloadObserver() = default;
  virtual void Progress(int percent) = 0;
  virtual void Done() = 0;
  virtual void Failed(int stage) = 0;
};

enum DownloadStage : int {
  kStageKeyMatrix = 0,
  kStageLightingColor = 1,
  kStageLightingEffect = 2,
  kStageColorTable = 3,
  kStageBodyLight = 4,
  kStageDpiTable = 5,
};

// The message the main window shows for a failed stage (0 to 5); empty for any other number.
std::u16string DownloadFailureText(int stage);

// The device code of a DPI value: 250 × k (k = 1..14) → k; 4000, 5000, 6000, 7000 → 28, 2A,
// 2C, 2E; anything else → 0x80, a level not in use.
uint8_t DpiCode(int32_t dpi);
inline constexpr uint8_t kDpiNotInUse = 0x80;

// The three lighting-effect bytes of the block's mode.
std::array<uint8_t, 3> LightingEffectBytes(const SettingsBlock& block);

// The 16-byte DPI table (c0..c6, 02, c0..c6, 02) and the count of levels in use.
std::array<uint8_t, 16> DpiTable(const SettingsBlock& block, int& levelsInUse);

// Resolves input `index`'s device key code; may upload its macro into `nextMacroSlot` and
// advance it. No code: the input's table entry stays 0 and there is no pause.
using KeyCodeResolver = std::function<std::optional<uint32_t>(size_t index, int& nextMacroSlot)>;

struct DownloadPassContext {
  CUSBDriver& device;
  Clock& clock;
  const SettingsBlock& block;
  KeyCodeResolver deviceKeyCode;
  std::function<void()> applyWindowsMouseSettings;  // may be empty
  DownloadObserver& observer;
};

inline constexpr uint32_t kKeyMatrixEntry3 = 0x00030007;

// Runs steps 5 to 19 of a pass (everything after the initial 50 ms wait) and reports Done or
// Failed(stage) to the observer. Returns the failed stage, or -1 on success.
int RunDownloadPass(DownloadPassContext& context);

}  // namespace nx7
