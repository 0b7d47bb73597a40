#include <charconv>
#include <condition_variable>
#include <mutex>
#include <ostream>

#include "apply_key_codes.h"
#include "command.h"
#include "command_files.h"
#include "common/text.h"
#include "device/download_worker.h"
#include "device_access.h"
#include "macros/input_hooks.h"
#include "macros/input_hooks_virtual.h"
#include "performance/windows_pointer_settings.h"
#include "platform/file_system.h"
#include "platform/virtual/recording_poster.h"
#include "store/settings_block.h"

#ifdef _WIN32
#include "performance/system_parameters_win32.h"
#endif

namespace nx7::ctl {
namespace {

constexpr std::string_view kOptions[] = {"--macros=", "--macro-ids=", "--virtual", "--trace=", "--fail-command=",
                                         "--state="};

SettingsBlock LoadProfile(const std::string& path) {
  // Read like the program reads a profile: at most one block, a shorter file leaves the rest zero.
  const std::vector<uint8_t> image = ReadInputFile(path, kSettingsBlockSize);
  SettingsBlock block{};
  DeserialiseSettingsBlock(image, block);
  if (image.size() < 4 || block.magic != kSettingsMagic)
    throw CommandError(path + " is not a profile file (wrong signature)");
  return block;
}

ButtonMacroIds ParseMacroIds(const std::string& text) {
  ButtonMacroIds ids{};
  size_t n = 0;
  const char* p = text.data();
  const char* end = p + text.size();
  while (true) {
    if (n == ids.size()) throw UsageError("--macro-ids takes seven ids");
    int base = 10;
    if (end - p > 2 && p[0] == '0' && (p[1] == 'x' || p[1] == 'X')) {
      base = 16;
      p += 2;
    }
    uint32_t value = 0;
    auto [next, ec] = std::from_chars(p, end, value, base);
    if (next == p) throw UsageError("--macro-ids: not a number at '" + std::string(p, end) + "'");
    if (ec == std::errc::result_out_of_range)
      throw UsageError("--macro-ids: " + std::string(p, next) + " is out of range (an id has 32 bits)");
    ids[n++] = int32_t(value);
    p = next;
    if (p == end) break;
    if (*p != ',') throw UsageError("--macro-ids: ids are separated by commas");
    ++p;
  }
  if (n != ids.size()) throw UsageError("--macro-ids takes seven ids");
  return ids;
}

// The pass reports here; nx7ctl waits for its outcome.
class OutcomeWaiter final : public DownloadWindows {
 public:
  bool BeginPass() override { return true; }
  void Progress(int) override {}
  void Done() override { Finish(-1); }
  void Failed(int stage) override { Finish(stage); }

  int Wait() {
    std::unique_lock lock(mutex_);
    finished_.wait(lock, [&] { return outcome_.has_value(); });
    return *outcome_;
  }

 private:
  void Finish(int outcome) {
    std::lock_guard lock(mutex_);
    outcome_ = outcome;
    finished_.notify_all();
  }
  std::mutex mutex_;
  std::condition_variable finished_;
  std::optional<int> outcome_;
};

int Run(const Invocation& call) {
  const ParsedArgs args = ParseArgs(call.args, kOptions, 1, 1);
  if (args.Has("--state") && !args.Has("--virtual")) throw UsageError("--state needs --virtual");
  // The whole command line is checked before any file is read or written.
  const DeviceOptions device = ParseDeviceOptions(args);
  const ButtonMacroIds macroIds = args.Has("--macro-ids") ? ParseMacroIds(*args.Value("--macro-ids")) : ButtonMacroIds{};
  RefuseSameFiles({{"PROFILE", args.positional[0]}, {"--macros", args.Value("--macros")}},
                  {{"--trace", args.Value("--trace")}, {"--state", args.Value("--state")}});
  if (const auto macros = args.Value("--macros")) RefuseFolder(*macros);
  const SettingsBlock block = LoadProfile(args.positional[0]);
  std::optional<OutputFile> state;
  if (const auto statePath = args.Value("--state")) state.emplace("state", *statePath);

  DeviceAccess access(device);
  CUSBDriver& mouse = access.OpenMouse();

  // The intercept table the pass keeps up to date; no hooks are placed for a one-shot apply.
  RecordingPoster hookPosts;
  VirtualHookInstaller noHooks;
  InputHooks hooks(hookPosts, noHooks);
  ApplyKeyCodes keyCodes(args.Value("--macros"), block, macroIds, hooks, mouse, access.clock());

#ifdef _WIN32
  win32::Win32SystemParameters system;
  std::function<void()> pointerSettings = [&] { ApplyWindowsMouseSettings(block, system, nullptr); };
#else
  std::function<void()> pointerSettings;  // no Windows pointer settings here
#endif

  OutcomeWaiter outcome;
  DownloadSignals signals;
  DownloadWorker worker(signals, access.clock(), outcome, [&](DownloadObserver& observer) {
    DownloadPassContext context{mouse, access.clock(), block, keyCodes.Resolver(), pointerSettings, observer};
    RunDownloadPass(context);
  });
  worker.Start();
  signals.RequestDownload();
  const int stage = outcome.Wait();
  worker.Stop();

  if (state) {
    state->stream() << StateJson(access.virtualMouse()->State());
    state->Finish();
  }
  access.FinishTrace();
  if (stage >= 0) {
    std::string text = Utf8FromUtf16(DownloadFailureText(stage));
    while (!text.empty() && text.back() == '\n') text.pop_back();
    throw CommandError(text + " (stage " + std::to_string(stage) + ")");
  }
  call.out << "applied " << args.positional[0] << "\n";
  return 0;
}

}  // namespace

extern const Command kApplyCommand{
    "apply", "download a profile file to the mouse",
    "apply PROFILE [--macros MACRO.CFG] [--macro-ids i0,...,i6] [--virtual] [--trace FILE] [--fail-command XX] [--state FILE]\n"
    "Writes the profile to the mouse in one download pass, exactly as the program does (on\n"
    "Windows also the three pointer settings). Exits non-zero naming the step that failed.\n"
    "  --macros FILE       the macro library macro inputs take their macros from\n"
    "  --macro-ids LIST    seven macro ids, one per input (default all 0)\n"
    "  --virtual           use the virtual mouse instead of the one plugged in\n"
    "  --trace FILE        write every report and pause exchanged with the mouse to FILE\n"
    "  --fail-command XX   with --virtual: the mouse refuses every report of command byte XX (hex)\n"
    "  --state FILE        with --virtual: write the virtual mouse's state as JSON after the pass\n",
    &Run};

}  // namespace nx7::ctl
