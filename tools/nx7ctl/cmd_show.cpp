#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <ostream>
#include <vector>

#include "buttons/function_types.h"
#include "buttons/key_names.h"
#include "command.h"
#include "command_files.h"
#include "common/text.h"
#include "json_text.h"
#include "platform/virtual/us_keyboard_layout.h"
#include "store/settings_block.h"

namespace nx7::ctl {
namespace {

// The most `show` reads of a file.
constexpr size_t kShowLimit = 16 * 1024 * 1024;

constexpr const char* kInputNames[kInputCount] = {
    "left button", "middle button", "right button", "forward side button",
    "back side button", "wheel forward", "wheel backward"};

std::string IntArray(const int32_t* values, size_t count) {
  std::string json = "[";
  for (size_t i = 0; i < count; ++i) json += (i ? ", " : "") + std::to_string(values[i]);
  return json + "]";
}

std::string ButtonJson(const ButtonAssignment& b, size_t index, KeyboardLayout& layout, bool chinese) {
  const bool combination = b.type == kTypeKeyCombination;
  std::string json = "    {\"index\": " + std::to_string(index) + ", \"input\": \"" + kInputNames[index] + "\",\n";
  json += "     \"type\": " + std::to_string(b.type) + ", \"typeName\": " + JsonString(FunctionName(b.type, chinese)) + ",\n";
  json += "     \"displayName\": " + JsonString(TextFromField(b.displayName, kTextFieldLength)) + ",\n";
  json += "     \"keyCode\": " + JsonHex(b.keyCode) +
          ", \"keyCodeText\": " + JsonString(combination ? CombinationText(b.keyCode, layout) : u"") + ",\n";
  json += "     \"macroId\": " + JsonHex(uint32_t(b.macroId)) + ",\n";
  json += "     \"launchKind\": " + JsonHex(uint32_t(b.launchKind), 2) + ", \"launchCode\": " + JsonHex(b.launchCode) +
          ", \"launchPath\": " + JsonString(TextFromField(b.launchPath, kTextFieldLength)) + "}";
  return json;
}

std::string ProfileJson(const SettingsBlock& s, size_t fileSize, bool chinese) {
  UsKeyboardLayout layout;
  std::string json = "{\n";
  json += "  \"fileSize\": " + std::to_string(fileSize) + ",\n";
  json += "  \"magic\": " + JsonHex(s.magic) + ", \"signatureValid\": " + (s.magic == kSettingsMagic ? "true" : "false") + ",\n";
  json += "  \"buttons\": [\n";
  for (size_t i = 0; i < kInputCount; ++i) json += ButtonJson(s.buttons[i], i, layout, chinese) + (i + 1 < kInputCount ? ",\n" : "\n");
  json += "  ],\n";
  json += "  \"dpiLevels\": " + IntArray(s.dpiLevels, kDpiLevelCount) + ",\n";
  json += "  \"sheightLevel\": " + std::to_string(s.sheightLevel) + ",\n";
  json += "  \"reportRate\": " + std::to_string(s.reportRate) + ",\n";
  json += "  \"ledMode\": " + std::to_string(s.ledMode) + ",\n";
  json += "  \"ledSubMode\": " + std::to_string(s.ledSubMode) + ",\n";
  json += "  \"ledColors\": [";
  for (size_t k = 0; k < kLedColorCount; ++k) json += (k ? ", " : "") + JsonHex(s.ledColors[k]);
  json += "],\n";
  json += "  \"ledColorCustom\": " + IntArray(s.ledColorCustom, kLedColorCount) + ",\n";
  json += "  \"ledPaletteIndex\": " + IntArray(s.ledPaletteIndex, kLedColorCount) + ",\n";
  json += "  \"bodyLight\": " + std::to_string(s.bodyLight) + ",\n";
  json += "  \"enhancePrecision\": " + std::to_string(s.enhancePrecision) + ",\n";
  json += "  \"pointerSpeed\": " + std::to_string(s.pointerSpeed) + ",\n";
  json += "  \"ledBrightness\": " + std::to_string(s.ledBrightness) + ",\n";
  json += "  \"ledFrequency\": " + std::to_string(s.ledFrequency) + ",\n";
  json += "  \"ledSymphonySpeed\": " + std::to_string(s.ledSymphonySpeed) + ",\n";
  json += "  \"wheelLines\": " + std::to_string(s.wheelLines) + "\n";
  return json + "}\n";
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
