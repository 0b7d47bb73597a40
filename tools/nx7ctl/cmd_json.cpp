// export-json, import-json and set: a profile file as JSON a person edits, and single fields.
#include <memory>
#include <ostream>

#include "command.h"
#include "command_files.h"
#include "macros/macro_library.h"
#include "platform/file_system.h"
#include "platform/virtual/us_keyboard_layout.h"
#include "store/profile_json.h"
#include "store/settings_block.h"

namespace nx7::ctl {
namespace {

// The most a JSON profile may take; an exported one is some 3 KB.
constexpr size_t kJsonLimit = 16 * 1024 * 1024;

std::unique_ptr<SettingsBlock> LoadProfile(const std::string& path) {
  // Read like the program reads a profile: at most one block, a shorter file leaves the rest zero.
  const std::vector<uint8_t> image = ReadInputFile(path, kSettingsBlockSize);
  auto block = std::make_unique<SettingsBlock>();
  DeserialiseSettingsBlock(image, *block);
  if (image.size() < 4 || block->magic != kSettingsMagic)
    throw CommandError(path + " is not a profile file (it does not begin with the profile signature)");
  return block;
}

std::unique_ptr<MacroLibrary> LoadLibrary(const std::optional<std::string>& path) {
  if (!path) return nullptr;
  auto library = std::make_unique<MacroLibrary>();
  LoadMacroLibraryImage(ReadInputFile(*path, kMacroLibrarySize), *library);
  return library;
}

// Crash-safe: the file holds either its old bytes or all of the new ones.
void WriteFile(const std::string& path, std::span<const uint8_t> bytes) {
  const auto fs = MakeHostFileSystem();
  if (fs->WriteWholeFile(PathArgument(path), bytes) != FileStatus::Ok)
    throw CommandError("writing " + path + " failed: " + fs->LastErrorText());
}

void WriteProfile(const std::string& path, const SettingsBlock& block) { WriteFile(path, SerialiseSettingsBlock(block)); }

int RunExport(const Invocation& call) {
  static constexpr std::string_view kOptions[] = {"--macros="};
  const ParsedArgs args = ParseArgs(call.args, kOptions, 1, 2);
  const std::string& profile = args.positional[0];
  const std::optional<std::string> output =
      args.positional.size() > 1 ? std::optional<std::string>(args.positional[1]) : std::nullopt;
  RefuseSameFiles({{"PROFILE", profile}, {"--macros", args.Value("--macros")}}, {{"FILE", output}});
  const auto block = LoadProfile(profile);
  const auto library = LoadLibrary(args.Value("--macros"));
  UsKeyboardLayout layout;
  const ProfileJsonContext context{library.get(), &layout, false};
  const std::string json = ProfileToJson(*block, context);
  if (output) {
    WriteFile(*output, std::span(reinterpret_cast<const uint8_t*>(json.data()), json.size()));
  } else {
    call.out << json;
  }
  // The file is written all the same: it is how such a value gets fixed.
  if (const auto problem = CheckProfileValues(*block))
    call.err << "nx7ctl export-json: note: import-json refuses this profile until it is changed: " << *problem << "\n";
  return 0;
}

int RunImport(const Invocation& call) {
  static constexpr std::string_view kOptions[] = {"--macros=", "--chinese"};
  const ParsedArgs args = ParseArgs(call.args, kOptions, 2, 2);
  const std::string& input = args.positional[0];
  const std::string& profile = args.positional[1];
  RefuseSameFiles({{"FILE", input}, {"--macros", args.Value("--macros")}}, {{"PROFILE", profile}});
  const std::vector<uint8_t> text = ReadInputFile(input, kJsonLimit + 1);
  if (text.size() > kJsonLimit) throw CommandError(input + " is larger than " + std::to_string(kJsonLimit) + " bytes");
  const auto library = LoadLibrary(args.Value("--macros"));
  UsKeyboardLayout layout;
  const ProfileJsonContext context{library.get(), &layout, args.Has("--chinese")};
  auto block = std::make_unique<SettingsBlock>();
  if (const auto problem =
          ProfileFromJson(std::string_view(reinterpret_cast<const char*>(text.data()), text.size()), context, *block))
    throw CommandError(input + ": " + *problem + "; " + profile + " is unchanged");
  WriteProfile(profile, *block);
  call.out << "wrote " << profile << "\n";
  return 0;
}

int RunSet(const Invocation& call) {
  static constexpr std::string_view kOptions[] = {"--macros=", "--chinese"};
  const ParsedArgs args = ParseArgs(call.args, kOptions, 2, SIZE_MAX);
  const std::string& profile = args.positional[0];
  RefuseSameFiles({{"--macros", args.Value("--macros")}}, {{"PROFILE", profile}});
  auto block = LoadProfile(profile);
  const auto library = LoadLibrary(args.Value("--macros"));
  UsKeyboardLayout layout;
  const ProfileJsonContext context{library.get(), &layout, args.Has("--chinese")};
  const std::vector<std::string> assignments(args.positional.begin() + 1, args.positional.end());
  if (const auto problem = SetProfileFields(*block, assignments, context))
    throw CommandError(*problem + "; " + profile + " is unchanged");
  WriteProfile(profile, *block);
  call.out << "wrote " << profile << "\n";
  return 0;
}

}  // namespace

// The function forms, shared by the usage texts below.
#define NX7_FUNCTION_FORMS \
    "An input's function is one of:\n" \
    "  NAME                 a built-in function: Click, Menu, Middle, Forward, Back, \"Scroll up\",\n" \
    "                       Scroll, Play/Pause, Stop, Previous, Next, \"Volume up\", \"Volume down\",\n" \
    "                       Mute, Music, \"Close window\", \"Lock PC\", Run, \"Show desktop\",\n" \
    "                       \"Enter classic desktop\", \"Switch applications\", Search,\n" \
    "                       \"sreen zoom in\", \"sreen zoom out\", SNIPE, FIRE, disable\n" \
    "  key:COMBINATION      a key combination, e.g. key:Ctrl+Shift+F5 (key:0x00040100 for a code)\n" \
    "  macro:NAME           a macro of the --macros file by its name\n" \
    "  macro-id:0xID        a macro by its id\n" \
    "  launch:KIND:PATH     KIND sound, program, file or folder\n" \
    "  type N               a function type by its number\n" \
    "At least one input keeps Click, and the wheel (inputs 5 and 6) cannot take SNIPE.\n"

extern const Command kExportJsonCommand{
    "export-json", "write a profile file as editable JSON",
    "export-json PROFILE [FILE] [--macros MACRO.CFG]\n"
    "Writes every field of the profile as JSON to FILE, or to the standard output: the inputs'\n"
    "functions by name, DPI levels, report rate in Hz, pointer speed, precision, wheel lines,\n"
    "lighting mode by name, colours as #rrggbb. Bytes no field shows go in \"raw\", so import-json\n"
    "gives back the same file. Macros are written by name when --macros names the macro file,\n"
    "else by id. A value import-json would refuse is named on the standard error.\n"
    "  --macros MACRO.CFG  the macro file whose names the macro inputs take\n",
    &RunExport};

extern const Command kImportJsonCommand{
    "import-json", "write a profile file from JSON",
    "import-json FILE PROFILE [--macros MACRO.CFG] [--chinese]\n"
    "Reads the JSON profile FILE (as export-json writes it; fields it leaves out take their\n"
    "defaults) and writes PROFILE. Nothing is written unless every field is read and accepted:\n"
    "a DPI the mouse cannot take, a report rate other than 125, 250, 500 or 1000, an unknown\n"
    "function or macro name, or malformed JSON is refused with the field, value or line and\n"
    "column named, and PROFILE stays as it was.\n"
    "  --macros MACRO.CFG  the macro file in which macro:NAME is looked up\n"
    "  --chinese           write Chinese built-in names where FILE gives no display name\n"
    NX7_FUNCTION_FORMS,
    &RunImport};

extern const Command kSetCommand{
    "set", "change single fields of a profile file",
    "set PROFILE NAME=VALUE... [--macros MACRO.CFG] [--chinese]\n"
    "Changes the named fields and rewrites PROFILE, or refuses and leaves it as it was. Names:\n"
    "  dpi=750,1500,3000     DPI levels (up to 7; the rest are not used): 250 to 3500 in steps\n"
    "                        of 250, 4000, 5000, 6000, 7000\n"
    "  report-rate=500       125, 250, 500 or 1000 reports per second\n"
    "  pointer-speed=10      Windows pointer speed 1 to 20\n"
    "  precision=on          Windows enhanced pointer precision on or off\n"
    "  wheel-lines=3         lines per wheel notch 1 to 30, or screen\n"
    "  sheight-level=15      the performance page's second slider, 1 to 30\n"
    "  light-mode=breathing  always-on, breathing, apm, spectrum, symphony or off\n"
    "  brightness=5          always-on brightness 1 to 10\n"
    "  frequency=3           breathing frequency 1 to 5\n"
    "  symphony-speed=4      2, 4 or 6\n"
    "  custom-colours=on     symphony with colours 0 to 2\n"
    "  body-light=on         the body light\n"
    "  colour.K=#rrggbb      colour K (0 to 2 symphony, 3 always-on and breathing); colours=A,B,C,D\n"
    "  colour-custom.K=on    colour K was mixed rather than picked from the palette\n"
    "  palette-index.K=0     palette entry 0 to 25 last picked for colour K\n"
    "  input.N=FUNCTION      input N: 0 left, 1 middle, 2 right, 3 forward side, 4 back side,\n"
    "                        5 wheel forward, 6 wheel backward\n"
    "The input's display name becomes the function's name (in Chinese with --chinese).\n"
    "  --macros MACRO.CFG  the macro file in which macro:NAME is looked up\n"
    "  --chinese           name built-in functions in Chinese\n"
    NX7_FUNCTION_FORMS,
    &RunSet};

}  // namespace nx7::ctl
