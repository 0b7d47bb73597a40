#include <charconv>
#include <cstdio>
#include <fstream>
#include <memory>
#include <ostream>

#include "command.h"
#include "command_files.h"
#include "common/text.h"
#include "device_access.h"
#include "download/download_service.h"
#include "macros/macro_library.h"
#include "performance/windows_pointer_settings.h"
#include "platform/file_system.h"
#include "store/settings_block.h"

#ifdef _WIN32
#include "performance/system_parameters_win32.h"
#endif

namespace nx7::ctl {
namespace {

constexpr std::string_view kOptions[] = {"--macros=", "--macro-ids=", "--virtual", "--trace=", "--fail-command=",
                                         "--state=", "--allow-short", "--apply-pointer-settings"};

std::unique_ptr<SettingsBlock> LoadProfile(const std::string& path, bool allowShort) {
  // Read like the program reads a profile: at most one block, a shorter file leaves the rest zero.
  const std::vector<uint8_t> image = ReadInputFile(path, kSettingsBlockSize);
  auto block = std::make_unique<SettingsBlock>();
  DeserialiseSettingsBlock(image, *block);
  if (image.size() < 4 || block->magic != kSettingsMagic)
    throw CommandError(path + " is not a profile file (wrong signature)");
  // The rest of a short file would reach the mouse as zeros: no click, no DPI level, lights off.
  if (image.size() < kSettingsBlockSize && !allowShort)
    throw CommandError(path + " holds " + std::to_string(image.size()) + " of the " +
                       std::to_string(kSettingsBlockSize) +
                       " bytes of a profile; --allow-short downloads it with the rest zero");
  return block;
}

std::unique_ptr<MacroLibrary> LoadMacroLibrary(const std::optional<std::string>& path) {
  auto library = std::make_unique<MacroLibrary>();  // all entries free
  if (!path) return library;
  LoadMacroLibraryImage(ReadInputFile(*path, kMacroLibrarySize), *library);
  return library;
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

std::string Hex32(uint32_t value) {
  char text[11];
  std::snprintf(text, sizeof text, "0x%08X", value);
  return text;
}

int Run(const Invocation& call) {
  const ParsedArgs args = ParseArgs(call.args, kOptions, 1, 1);
  if (args.Has("--state") && !args.Has("--virtual")) throw UsageError("--state needs --virtual");
  // The whole command line is checked before any file is read or written.
  const DeviceOptions device = ParseDeviceOptions(args);
  const ButtonMacroIds macroIds = args.Has("--macro-ids") ? ParseMacroIds(*args.Value("--macro-ids")) : ButtonMacroIds{};
  RefuseSameFiles({{"PROFILE", args.positional[0]}, {"--macros", args.Value("--macros")}},
                  {{"--trace", args.Value("--trace")}, {"--state", args.Value("--state")}});
  if (const auto macros = args.Value("--macros")) RefuseFolder(*macros);
  const std::unique_ptr<SettingsBlock> block = LoadProfile(args.positional[0], args.Has("--allow-short"));
  const std::unique_ptr<MacroLibrary> library = LoadMacroLibrary(args.Value("--macros"));
  // nx7ctl speaks English.
  const DownloadModel model{*block, macroIds, *library, false};

  // Refused before the mouse is even looked for.
  const std::optional<std::u16string> refusal = Prepare(model).refusal;
  if (refusal) throw CommandError(Utf8FromUtf16(*refusal) + " (nothing was sent)");
  std::optional<OutputFile> state;
  if (const auto statePath = args.Value("--state")) state.emplace("state", *statePath);

  DeviceAccess access(device);
  CUSBDriver& mouse = access.OpenMouse();

  // The user's Windows pointer settings change with a real mouse, as in the program; a run on the
  // virtual mouse leaves them alone unless asked.
  DownloadService::PointerSettings pointerSettings;
#ifdef _WIN32
  win32::Win32SystemParameters system;
  if (!args.Has("--virtual") || args.Has("--apply-pointer-settings"))
    pointerSettings = [&](const SettingsBlock& sent) { ApplyWindowsMouseSettings(sent, system, nullptr); };
#endif

  // No hooks are placed for a one-shot apply, so there is no intercept table to keep.
  DownloadService service(mouse, access.clock(), nullptr, pointerSettings);
  const DownloadResult result = service.DownloadOnce(model);

  for (const RangeAdjustment& a : result.adjusted)
    call.err << "nx7ctl apply: warning: " << a.field << " " << a.from << " is out of range; sent as " << a.to << "\n";
  for (const UnplayableMacro& m : result.unplayableMacros)
    call.err << "nx7ctl apply: warning: input " << m.input << " plays macro " << Hex32(m.macroId)
             << ", which the macro library has not (or holds without events); the input was set to do nothing\n";

  if (state) {
    state->stream() << StateJson(access.virtualMouse()->State());
    state->Finish();
  }
  access.FinishTrace();
  if (result.failedStage >= 0) {
    std::string text = Utf8FromUtf16(DownloadFailureText(result.failedStage));
    while (!text.empty() && text.back() == '\n') text.pop_back();
    throw CommandError(text + " (stage " + std::to_string(result.failedStage) + ")");
  }
  if (result.dpiLevelCountRefused || result.reportRateRefused) {
    if (result.dpiLevelCountRefused) call.err << "nx7ctl apply: the mouse refused the DPI level count command (0B)\n";
    if (result.reportRateRefused) call.err << "nx7ctl apply: the mouse refused the report rate command (01)\n";
    throw CommandError("the download went through, but the mouse refused the commands named above");
  }
  call.out << "applied " << args.positional[0] << "\n";
  return 0;
}

}  // namespace

extern const Command kApplyCommand{
    "apply", "download a profile file to the mouse",
    "apply PROFILE [--macros MACRO.CFG] [--macro-ids i0,...,i6] [--virtual] [--trace FILE] [--fail-command XX] [--state FILE]\n"
    "      [--allow-short] [--apply-pointer-settings]\n"
    "Writes the profile to the mouse in one download pass, exactly as the program does (on\n"
    "Windows also the three pointer settings). Exits non-zero naming the step that failed, and\n"
    "also when the mouse refused the DPI level count or report rate (the pass itself goes on).\n"
    "A profile that leaves no input with the left click or no usable DPI level is refused;\n"
    "values outside their ranges are sent clamped, with a warning.\n"
    "  --macros FILE       the macro library macro inputs take their macros from\n"
    "  --macro-ids LIST    seven macro ids, one per input (default all 0)\n"
    "  --virtual           use the virtual mouse instead of the one plugged in\n"
    "  --trace FILE        write every report and pause exchanged with the mouse to FILE\n"
    "  --fail-command XX   with --virtual: the mouse refuses every report of command byte XX (hex)\n"
    "  --state FILE        with --virtual: write the virtual mouse's state as JSON after the pass\n"
    "  --allow-short       download a file shorter than a profile, the rest taken as zero\n"
    "  --apply-pointer-settings  with --virtual on Windows: still change the Windows pointer settings\n",
    &Run};

}  // namespace nx7::ctl
