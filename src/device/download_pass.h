#pragma once
// Sending one download: a plan (download/download_plan.h builds it from a profile) goes to the
// mouse in a fixed order — the inputs' macros into their on-board slots, the key matrix, lighting
// colour and effect, the colour table when planned, the body light, the DPI table and level
// count, the Windows pointer settings (a callback) and the report rate — with progress 0..100
// and, on failure, the stage that failed. Nothing here decides what to send.
#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "device/protocol.h"

namespace nx7 {

class CUSBDriver;
class Clock;

// What the pass reports. The program's version posts 0x42B to the progress dialog and
// 0x703 / 0x704 to the main window (app/posting_download_windows.h).
class DownloadObserver {
 public:
  virtual ~DownloadObserver() = default;
  virtual void Progress(int percent) = 0;
  virtual void Done() = 0;
  virtual void Failed(int stage) = 0;
};

enum DownloadStage : int {
  kStageKeyMatrix = 0,  // also a macro upload: it belongs to building the key matrix
  kStageLightingColor = 1,
  kStageLightingEffect = 2,
  kStageColorTable = 3,
  kStageBodyLight = 4,
  kStageDpiTable = 5,
};

// The message the main window shows for a failed stage (0 to 5); empty for any other number.
std::u16string DownloadFailureText(int stage);

inline constexpr size_t kDownloadInputs = 7;
inline constexpr size_t kMacroPayloadLength = 512;

// A macro to upload before the key matrix that names its slot.
struct PlannedMacro {
  int slot = 0;  // on-board slot 1 to 7
  std::array<uint8_t, kMacroPayloadLength> payload{};
};

// One input, in input order 0 to 6.
struct PlannedInput {
  std::optional<uint32_t> keyCode;  // none: its matrix entry stays 0 and there is no pause
  std::optional<PlannedMacro> macro;
  bool intercept = false;  // the program takes this input's presses (a software launch)
  // A macro input whose macro cannot be played (not in the library, or without events): the
  // id it asked for. The input then does nothing.
  std::optional<uint32_t> unplayableMacroId;
};

struct DownloadPlan {
  std::array<PlannedInput, kDownloadInputs> inputs;
  std::array<uint32_t, protocol::kKeyMatrixEntries> keyMatrix{};
  uint32_t lightingColor = 0;  // 0x00BBGGRR
  std::array<uint8_t, 3> lightingEffect{};
  std::optional<std::array<uint8_t, 32>> colorTable;
  int bodyLight = 0;
  int ledMode = 0;
  std::array<uint8_t, 16> dpiTable{};
  uint8_t dpiLevelCount = 0;  // as sent: at most 3
  int reportRate = 0;
};

struct DownloadPassContext {
  CUSBDriver& device;
  Clock& clock;
  const DownloadPlan& plan;
  std::function<void()> applyWindowsMouseSettings;  // may be empty
  DownloadObserver& observer;
  // Set by the pass: commands whose refusal does not fail it.
  bool dpiLevelCountRefused = false;
  bool reportRateRefused = false;
};

// Runs steps 5 to 19 of a pass (everything after the initial 50 ms wait) and reports Done or
// Failed(stage) to the observer. Returns the failed stage, or -1 on success. A macro that does
// not reach the mouse fails the pass at once, with the key-matrix stage, before the matrix would
// point an input at an empty slot.
int RunDownloadPass(DownloadPassContext& context);

// One input's share of the pass before its code is placed: its macro upload and the 50 ms after
// it. False when the upload failed.
bool SendPlannedMacro(CUSBDriver& device, Clock& clock, const PlannedInput& input);

}  // namespace nx7
