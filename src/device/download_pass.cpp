#include "device/download_pass.h"

#include "buttons/inputs.h"
#include "common/bytes.h"
#include "device/usb_driver.h"
#include "platform/clock.h"

namespace nx7 {

std::u16string DownloadFailureText(int stage) {
  switch (stage) {
    case kStageKeyMatrix: return u"write mousekey metix fail.\n";
    case kStageLightingColor: return u"Write mouse LED color failed.\n";
    case kStageLightingEffect: return u"Write mouse effect failed.\n";
    case kStageColorTable: return u"Write LED color123 failed.\n";
    case kStageBodyLight: return u"Write mouse touch failed.\n";
    case kStageDpiTable: return u"Write mouse DPI failed.\n";
  }
  return u"";
}

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

int RunDownloadPass(DownloadPassContext& c) {
  const SettingsBlock& block = c.block;
  CUSBDriver& device = c.device;
  auto fail = [&](int stage) {
    c.observer.Failed(stage);
    return stage;
  };

  int nextMacroSlot = 1;
  std::array<uint32_t, 16> keyMatrix{};
  int progress = 0;
  for (size_t i = 0; i < kInputCount; ++i) {
    c.observer.Progress(progress);
    if (std::optional<uint32_t> code = c.deviceKeyCode(i, nextMacroSlot)) {
      keyMatrix[kInputs[i].tablePosition] = *code;
      c.clock.Sleep(50);
    }
    progress += 7;
  }
  keyMatrix[3] = kKeyMatrixEntry3;
  uint8_t matrixBytes[64];
  for (size_t e = 0; e < keyMatrix.size(); ++e) WriteLe32(matrixBytes + 4 * e, keyMatrix[e]);
  if (!device.SendKeyMatrix(matrixBytes, sizeof matrixBytes)) return fail(kStageKeyMatrix);
  c.observer.Progress(60);

  if (!device.SendLightingColor(block.ledColors[3])) return fail(kStageLightingColor);
  const auto effect = LightingEffectBytes(block);
  if (!device.SendLightingEffect(effect[0], effect[1], effect[2])) return fail(kStageLightingEffect);
  if (block.ledMode == 5 && block.ledSubMode == 1) {
    uint8_t colorTable[32] = {};
    for (int k = 0; k < 3; ++k) PutRgb(colorTable + 3 * k, block.ledColors[k]);
    if (!device.SendColorTable(colorTable, sizeof colorTable)) return fail(kStageColorTable);
  }
  c.observer.Progress(70);

  if (!device.SendBodyLight(block.bodyLight, block.ledMode)) return fail(kStageBodyLight);
  c.observer.Progress(75);

  int levelsInUse = 0;
  const auto dpiTable = DpiTable(block, levelsInUse);
  if (!device.SendDpiTable(dpiTable.data(), dpiTable.size())) return fail(kStageDpiTable);
  device.SendDpiLevelCount(uint8_t(levelsInUse < 3 ? levelsInUse : 3));  // cannot fail the pass
  c.observer.Progress(80);

  if (c.applyWindowsMouseSettings) c.applyWindowsMouseSettings();
  c.observer.Progress(90);
  device.SendReportRate(block.reportRate);  // cannot fail the pass
  c.observer.Progress(100);
  c.clock.Sleep(300);
  c.observer.Done();
  return -1;
}

}  // namespace nx7
