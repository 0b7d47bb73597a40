#include "download/download_plan.h"

#include "buttons/assignment.h"
#include "buttons/device_key_code.h"
#include "buttons/function_types.h"
#include "buttons/inputs.h"
#include "i18n/chinese_text.h"
#include "macros/macro_upload.h"

namespace nx7 {

static_assert(kDownloadInputs == kInputCount);
static_assert(kMacroPayloadLength == kMacroPayloadSize);

uint8_t DpiCode(int32_t dpi) {
  if (dpi >= 250 && dpi <= 3500 && dpi % 250 == 0) return uint8_t(dpi / 250);
  switch (dpi) {
    case 4000: return 0x28;
    case 5000: return 0x2A;
    case 6000: return 0x2C;
    case 7000: return 0x2E;
  }
  return kDpiNotInUse;
}

std::array<uint8_t, 3> LightingEffectBytes(const SettingsBlock& b) {
  switch (b.ledMode) {
    case 1: return {1, uint8_t(b.ledBrightness), 1};
    case 2: return {2, uint8_t(b.ledFrequency), 1};
    case 3: return {3, 2, 3};
    case 4: return {4, 10, 2};
    case 5: return {5, uint8_t(b.ledSymphonySpeed), uint8_t(b.ledSubMode)};
  }
  return {0, 0, 0};
}

std::array<uint8_t, 16> DpiTable(const SettingsBlock& block, int& levelsInUse) {
  std::array<uint8_t, 16> table{};
  levelsInUse = 0;
  for (size_t i = 0; i < kDpiLevelCount; ++i) {
    const uint8_t code = DpiCode(block.dpiLevels[i]);
    if (code != kDpiNotInUse) ++levelsInUse;
    table[i] = table[8 + i] = code;
  }
  table[7] = table[15] = 0x02;
  return table;
}

namespace {

// Red, green, blue of a 0x00BBGGRR colour.
void PutRgb(uint8_t* out, uint32_t color) {
  out[0] = uint8_t(color);
  out[1] = uint8_t(color >> 8);
  out[2] = uint8_t(color >> 16);
}

}  // namespace

DownloadPlan PlanDownload(const SettingsBlock& block, const ButtonMacroIds& macroIds, const MacroLibrary& library) {
  DownloadPlan plan;
  int nextMacroSlot = 1;
  for (size_t i = 0; i < kInputCount; ++i) {
    const ButtonAssignment& button = block.buttons[i];
    PlannedInput& input = plan.inputs[i];
    input.intercept = button.type == kTypeSoftwareLaunch;
    if (button.type == kTypeMacro) {
      const uint32_t id = uint32_t(macroIds[i]);
      const std::optional<size_t> found = FindMacroById(library, id);
      if (!found || !IsPlayable(library[*found]) || MacroEvents(library[*found]).empty()) {
        input.keyCode = kMissingMacroCode;
        input.unplayableMacroId = id;
      } else {
        const MacroPayload payload = EncodeMacroPayload(library[*found]);
        input.macro = PlannedMacro{nextMacroSlot, payload.bytes};
        input.keyCode = MacroKeyCode(nextMacroSlot, payload.wordCount);
        ++nextMacroSlot;
      }
    } else {
      input.keyCode = CatalogueKeyCode(button, i);
    }
    if (input.keyCode) plan.keyMatrix[size_t(kInputs[i].tablePosition)] = *input.keyCode;
  }
  plan.keyMatrix[protocol::kKeyMatrixFixedEntry] = protocol::kKeyMatrixFixedCode;

  plan.lightingColor = block.ledColors[3];
  plan.lightingEffect = LightingEffectBytes(block);
  if (block.ledMode == 5 && block.ledSubMode == 1) {
    std::array<uint8_t, 32> table{};
    for (size_t k = 0; k < 3; ++k) PutRgb(table.data() + 3 * k, block.ledColors[k]);
    plan.colorTable = table;
  }
  plan.bodyLight = block.bodyLight;
  plan.ledMode = block.ledMode;
  int levelsInUse = 0;
  plan.dpiTable = DpiTable(block, levelsInUse);
  plan.dpiLevelCount = uint8_t(levelsInUse < 3 ? levelsInUse : 3);
  plan.reportRate = block.reportRate;
  return plan;
}

std::optional<std::u16string> DownloadRefusal(const SettingsBlock& block, bool chinese) {
  bool click = false;
  for (size_t i = 0; i < kInputCount; ++i) click |= block.buttons[i].type == kTypeClick;
  if (!click) {
    return std::u16string(BilingualText(chinese, u"请保留至少一个键为\"单击\"功能!",
                                        u"At least one button must be configured as 'Left click'!"));
  }
  int levelsInUse = 0;
  DpiTable(block, levelsInUse);
  if (levelsInUse == 0) {
    return std::u16string(BilingualText(chinese, u"没有可用的DPI档位，请至少设置一个DPI值!",
                                        u"No DPI level can be used: set at least one DPI value!"));
  }
  return std::nullopt;
}

}  // namespace nx7
