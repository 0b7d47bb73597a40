#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <ostream>
#include <vector>

#include <nlohmann/json.hpp>

#include "buttons/function_types.h"
#include "buttons/key_names.h"
#include "command.h"
#include "command_files.h"
#include "common/text.h"
#include "store/profile_json.h"
#include "platform/virtual/us_keyboard_layout.h"
#include "store/settings_block.h"

namespace nx7::ctl {
namespace {

// The most `show` reads of a file.
constexpr size_t kShowLimit = 16 * 1024 * 1024;

using Json = nlohmann::ordered_json;

std::string Hex(uint32_t value, int digits = 8) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "0x%0*X", digits, unsigned(value));
  return buf;
}

Json IntArray(const int32_t* values, size_t count) { return Json(std::vector<int32_t>(values, values + count)); }

Json ButtonJson(const ButtonAssignment& b, size_t index, KeyboardLayout& layout, bool chinese) {
  const bool combination = b.type == kTypeKeyCombination;
  Json json;
  json["index"] = index;
  json["input"] = InputName(index);
  json["type"] = b.type;
  json["typeName"] = Utf8FromUtf16(FunctionName(b.type, chinese));
  json["displayName"] = Utf8FromUtf16(TextFromField(b.displayName, kTextFieldLength));
  json["keyCode"] = Hex(b.keyCode);
  json["keyCodeText"] = Utf8FromUtf16(combination ? CombinationText(b.keyCode, layout) : u"");
  json["macroId"] = Hex(uint32_t(b.macroId));
  json["launchKind"] = Hex(uint32_t(b.launchKind), 2);
  json["launchCode"] = Hex(b.launchCode);
  json["launchPath"] = Utf8FromUtf16(TextFromField(b.launchPath, kTextFieldLength));
  return json;
}

std::string ProfileJson(const SettingsBlock& s, size_t fileSize, bool chinese) {
  UsKeyboardLayout layout;
  Json json;
  json["fileSize"] = fileSize;
  json["magic"] = Hex(s.magic);
  json["signatureValid"] = s.magic == kSettingsMagic;
  json["buttons"] = Json::array();
  for (size_t i = 0; i < kInputCount; ++i) json["buttons"].push_back(ButtonJson(s.buttons[i], i, layout, chinese));
  json["dpiLevels"] = IntArray(s.dpiLevels, kDpiLevelCount);
  json["sheightLevel"] = s.sheightLevel;
  json["reportRate"] = s.reportRate;
  json["ledMode"] = s.ledMode;
  json["ledSubMode"] = s.ledSubMode;
  json["ledColors"] = Json::array();
  for (size_t k = 0; k < kLedColorCount; ++k) json["ledColors"].push_back(Hex(s.ledColors[k]));
  json["ledColorCustom"] = IntArray(s.ledColorCustom, kLedColorCount);
  json["ledPaletteIndex"] = IntArray(s.ledPaletteIndex, kLedColorCount);
  json["bodyLight"] = s.bodyLight;
  json["enhancePrecision"] = s.enhancePrecision;
  json["pointerSpeed"] = s.pointerSpeed;
  json["ledBrightness"] = s.ledBrightness;
  json["ledFrequency"] = s.ledFrequency;
  json["ledSymphonySpeed"] = s.ledSymphonySpeed;
  json["wheelLines"] = s.wheelLines;
  // Texts come from UTF-16 fields: a lone surrogate becomes U+FFFD.
  return json.dump(2, ' ', false, Json::error_handler_t::replace) + "\n";
}

int Run(const Invocation& call) {
  static constexpr std::string_view kOptions[] = {"--chinese"};
  const ParsedArgs args = ParseArgs(call.args, kOptions, 1, 1);
  const std::string& name = args.positional[0];
  // The whole file is read (a pipe or device file as what it yields), so fileSize is what was
  // there; a profile is 22252 bytes, anything past the limit is certainly none.
  std::vector<uint8_t> image = ReadInputFile(name, kShowLimit + 1);
  if (image.size() > kShowLimit)
    throw CommandError(name + " is larger than " + std::to_string(kShowLimit) + " bytes: not a profile file");
  const size_t fileSize = image.size();
  // Read like the program reads a profile: at most one block, a shorter file leaves the rest zero.
  if (image.size() > kSettingsBlockSize) image.resize(kSettingsBlockSize);
  auto block = std::make_unique<SettingsBlock>();
  DeserialiseSettingsBlock(image, *block);
  call.out << ProfileJson(*block, fileSize, args.Has("--chinese"));
  return 0;
}

}  // namespace

extern const Command kShowCommand{
    "show", "print a profile file as JSON",
    "show PROFILE [--chinese]\n"
    "Prints every field of the profile's settings block as JSON; for each input its type, the\n"
    "type's built-in name, display name, key code (with the combination's text for type 5), macro\n"
    "id, launch kind, code and path. Key names are those of a US keyboard. The file is read as the\n"
    "program reads it (a short file leaves the rest zero); signatureValid is false when the file\n"
    "does not begin with the profile signature, which the program refuses.\n"
    "  --chinese  give the built-in type names in Chinese\n",
    &Run};

}  // namespace nx7::ctl
