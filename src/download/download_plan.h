#pragma once
// Planning a download: what the mouse receives for a profile, decided without touching the mouse,
// the hooks or the clock. The device's pass (device/download_pass.h) sends the plan; the service
// (download_service.h) checks the profile, plans, applies the intercepts and runs the pass.
#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "device/download_pass.h"
#include "macros/macro_library.h"
#include "store/settings_block.h"

namespace nx7 {

// The device code of a DPI value: 250 × k (k = 1..14) → k; 4000, 5000, 6000, 7000 → 28, 2A,
// 2C, 2E; anything else → 0x80, a level not in use.
uint8_t DpiCode(int32_t dpi);
inline constexpr uint8_t kDpiNotInUse = 0x80;

// The three lighting-effect bytes of the block's mode.
std::array<uint8_t, 3> LightingEffectBytes(const SettingsBlock& block);

// The 16-byte DPI table (c0..c6, 02, c0..c6, 02) and the count of levels in use.
std::array<uint8_t, 16> DpiTable(const SettingsBlock& block, int& levelsInUse);

// The plan of one download of `block`. Inputs resolve through the function catalogue; a macro
// input (type 6) plays the id `macroIds` holds for it: its first playable entry with events is
// encoded for the next on-board slot (1, 2, ... in input order), otherwise the input does nothing
// and the plan names the id it asked for. A software launch (type 19) is intercepted.
DownloadPlan PlanDownload(const SettingsBlock& block, const ButtonMacroIds& macroIds, const MacroLibrary& library);

// Why `block` must not be downloaded, Chinese or English; nothing when it may be.
// Refused: no input keeps the left click (the user would lose the button that answers the
// program), or no DPI level the mouse knows (the mouse would have no resolution to run at).
std::optional<std::u16string> DownloadRefusal(const SettingsBlock& block, bool chinese);

}  // namespace nx7
