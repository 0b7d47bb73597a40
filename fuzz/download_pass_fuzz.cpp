// Whatever a loaded profile holds goes through the download service on the virtual mouse: a
// refused profile sends nothing, any other must finish its pass with every report well framed.
// Input: a profile file image, then optionally seven 32-bit macro ids.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "device/usb_driver.h"
#include "device/virtual/virtual_mouse.h"
#include "download/download_service.h"
#include "macros/input_hooks.h"
#include "macros/input_hooks_virtual.h"
#include "platform/virtual/recording_poster.h"
#include "platform/virtual/virtual_clock.h"
#include "store/settings_block.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace nx7;
  auto block = std::make_unique<SettingsBlock>();
  DeserialiseSettingsBlock({data, size}, *block);
  ButtonMacroIds ids{};
  if (size > kSettingsBlockSize)
    std::memcpy(ids.data(), data + kSettingsBlockSize, std::min(sizeof ids, size - kSettingsBlockSize));
  static const std::unique_ptr<MacroLibrary> library = std::make_unique<MacroLibrary>();

  VirtualMouse mouse;
  VirtualClock clock;
  CUSBDriver driver(mouse, clock);
  if (!driver.Open()) std::abort();
  RecordingPoster posts;
  VirtualHookInstaller noHooks;
  InputHooks hooks(posts, noHooks);
  DownloadService service(driver, clock, &hooks, {});
  const DownloadResult result = service.DownloadOnce({*block, ids, *library});
  const VirtualMouseState state = mouse.State();
  if (result.refusal) {
    if (mouse.ReportsSeen() != 0 || clock.TotalSlept() != 0) std::abort();
    return 0;
  }
  if (!result.Succeeded() || result.dpiLevelCountRefused || result.reportRateRefused || state.framingErrors != 0 ||
      !state.keyMatrix || !state.dpiTable)
    std::abort();
  return 0;
}
