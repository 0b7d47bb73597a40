// Whatever a loaded profile holds goes through a whole download pass on the virtual mouse: the
// pass must finish, and every report must be well framed. Input: a profile file image, then
// optionally seven 32-bit macro ids.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "apply_key_codes.h"
#include "device/download_pass.h"
#include "device/usb_driver.h"
#include "macros/input_hooks.h"
#include "macros/input_hooks_virtual.h"
#include "platform/virtual/recording_poster.h"
#include "platform/virtual/virtual_clock.h"
#include "platform/virtual/virtual_mouse.h"
#include "store/settings_block.h"

namespace {

struct Outcome final : nx7::DownloadObserver {
  int result = 99;
  void Progress(int) override {}
  void Done() override { result = -1; }
  void Failed(int stage) override { result = stage; }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace nx7;
  SettingsBlock block{};
  DeserialiseSettingsBlock({data, size}, block);
  ButtonMacroIds ids{};
  if (size > kSettingsBlockSize)
    std::memcpy(ids.data(), data + kSettingsBlockSize, std::min(sizeof ids, size - kSettingsBlockSize));

  VirtualMouse mouse;
  VirtualClock clock;
  CUSBDriver driver(mouse, clock);
  if (!driver.Open()) std::abort();
  RecordingPoster posts;
  VirtualHookInstaller noHooks;
  InputHooks hooks(posts, noHooks);
  ctl::ApplyKeyCodes keyCodes(std::nullopt, block, ids, hooks, driver, clock);
  Outcome outcome;
  DownloadPassContext context{driver, clock, block, keyCodes.Resolver(), {}, outcome};
  const int stage = RunDownloadPass(context);
  const VirtualMouseState state = mouse.State();
  if (stage != -1 || outcome.result != -1 || state.framingErrors != 0 || !state.keyMatrix || !state.dpiTable)
    std::abort();
  return 0;
}
