#include "device/download_pass.h"

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

bool SendPlannedMacro(CUSBDriver& device, Clock& clock, const PlannedInput& input) {
  if (!input.macro) return true;
  if (!device.SendMacro(input.macro->slot, input.macro->payload.data(), input.macro->payload.size())) return false;
  clock.Sleep(50);
  return true;
}

int RunDownloadPass(DownloadPassContext& c) {
  const DownloadPlan& plan = c.plan;
  CUSBDriver& device = c.device;
  auto fail = [&](int stage) {
    c.observer.Failed(stage);
    return stage;
  };

  int progress = 0;
  for (const PlannedInput& input : plan.inputs) {
    c.observer.Progress(progress);
    if (!SendPlannedMacro(device, c.clock, input)) return fail(kStageKeyMatrix);
    if (input.keyCode) c.clock.Sleep(50);
    progress += 7;
  }
  uint8_t matrixBytes[4 * protocol::kKeyMatrixEntries];
  for (size_t e = 0; e < plan.keyMatrix.size(); ++e) WriteLe32(matrixBytes + 4 * e, plan.keyMatrix[e]);
  if (!device.SendKeyMatrix(matrixBytes, sizeof matrixBytes)) return fail(kStageKeyMatrix);
  c.observer.Progress(60);

  if (!device.SendLightingColor(plan.lightingColor)) return fail(kStageLightingColor);
  const auto& effect = plan.lightingEffect;
  if (!device.SendLightingEffect(effect[0], effect[1], effect[2])) return fail(kStageLightingEffect);
  if (plan.colorTable && !device.SendColorTable(plan.colorTable->data(), plan.colorTable->size()))
    return fail(kStageColorTable);
  c.observer.Progress(70);

  if (!device.SendBodyLight(plan.bodyLight, plan.ledMode)) return fail(kStageBodyLight);
  c.observer.Progress(75);

  if (!device.SendDpiTable(plan.dpiTable.data(), plan.dpiTable.size())) return fail(kStageDpiTable);
  // The level count and report rate have no stage of their own: they cannot fail the pass, but
  // the caller learns of a refusal.
  c.dpiLevelCountRefused = !device.SendDpiLevelCount(plan.dpiLevelCount);
  c.observer.Progress(80);

  if (c.applyWindowsMouseSettings) c.applyWindowsMouseSettings();
  c.observer.Progress(90);
  c.reportRateRefused = !device.SendReportRate(plan.reportRate);
  c.observer.Progress(100);
  c.clock.Sleep(300);
  c.observer.Done();
  return -1;
}

}  // namespace nx7
