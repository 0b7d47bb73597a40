#include "store/profile_json.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <memory>

#include <nlohmann/json.hpp>

#include "buttons/assignment.h"
#include "buttons/function_types.h"
#include "buttons/key_names.h"
#include "buttons/key_usage_table.h"
#include "common/text.h"

namespace nx7 {
namespace {

// Written in field order; read into a sorted map, whose look-ups stay fast however many keys a
// file holds.
using Json = nlohmann::ordered_json;
using ReadJson = nlohmann::json;

// A refusal travels up as this exception inside the file only; the interface returns its text.
struct Refusal {
  std::string reason;
};
[[noreturn]] void Refuse(std::string reason) { throw Refusal{std::move(reason)}; }

constexpr std::string_view kInputNames[kInputCount] = {
    "left button", "middle button", "right button", "forward side button",
    "back side button", "wheel forward", "wheel backward"};

constexpr std::string_view kLightModes[] = {"always-on", "breathing", "apm", "spectrum", "symphony", "off"};
constexpr std::string_view kLaunchKinds[] = {"sound", "program", "file", "folder"};

struct ReportRate {
  int32_t code;
  int hz;
};
constexpr ReportRate kReportRates[] = {{8, 125}, {4, 250}, {2, 500}, {1, 1000}};

// The macro library of a context without one: no entry has a name.
const MacroLibrary& EmptyLibrary() {
  static const auto library = std::make_unique<MacroLibrary>();
  return *library;
}

// Key names of the JSON follow a US keyboard whatever the user's layout, so a file means the same
// key on every machine.
class JsonKeyLayout final : public KeyboardLayout {
 public:
  std::optional<uint8_t> CharacterOf(uint32_t vk) override {
    if (vk >= 'A' && vk <= 'Z') return uint8_t(vk - 'A' + 'a');
    if (vk >= '0' && vk <= '9') return uint8_t(vk);
    static constexpr struct {
      uint32_t vk;
      char c;
    } kPunctuation[] = {{186, ';'}, {187, '='}, {188, ','}, {189, '-'}, {190, '.'}, {191, '/'},
                        {192, '`'}, {219, '['}, {220, '\\'}, {221, ']'}, {222, '\''}};
    for (const auto& p : kPunctuation)
      if (p.vk == vk) return uint8_t(p.c);
    return std::nullopt;
  }
};

// One name per usage of the key table: the program's key names, with the two keys that share a
// virtual key (keypad Enter) and the mouse buttons named apart.
struct KeyNameRow {
  uint8_t usage;
  std::string name;
};
const std::vector<KeyNameRow>& KeyNames() {
  static const std::vector<KeyNameRow> names = [] {
    std::vector<KeyNameRow> rows;
    JsonKeyLayout layout;
    for (const KeyUsagePair& pair : KeyUsageTable) {
      std::string name;
      switch (pair.usage) {
        case 0x58: name = "(Enter)"; break;
        case 0xF0: name = "LButton"; break;
        case 0xF1: name = "RButton"; break;
        case 0xF2: name = "MButton"; break;
        default: name = Utf8FromUtf16(KeyName(pair.virtualKey, layout));
      }
      rows.push_back({pair.usage, name});
    }
    return rows;
  }();
  return names;
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
         });
}

std::string_view Trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

std::string Hex(uint32_t value, int digits = 8) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "0x%0*X", digits, unsigned(value));
  return buf;
}

std::string Quoted(std::string_view text) { return "'" + std::string(text) + "'"; }

// A value as a refusal shows it: scalars as written, lists and objects only by kind (a deeply
// nested one would not even print), long texts cut.
std::string Shown(const ReadJson& value) {
  if (value.is_array()) return "a list";
  if (value.is_object()) return "an object";
  std::string text = value.dump(-1, ' ', false, ReadJson::error_handler_t::replace);
  if (text.size() > 60) text = text.substr(0, 57) + "...";
  return text;
}

ReadJson ForReading(const Json& json) {
  return ReadJson::parse(json.dump(-1, ' ', false, Json::error_handler_t::replace));
}

std::optional<uint32_t> ParseHex32(std::string_view text) {
  if (text.size() < 3 || text.size() > 10 || text[0] != '0' || (text[1] != 'x' && text[1] != 'X')) return std::nullopt;
  uint32_t value = 0;
  const char* end = text.data() + text.size();
  const auto r = std::from_chars(text.data() + 2, end, value, 16);
  if (r.ec != std::errc() || r.ptr != end) return std::nullopt;
  return value;
}

std::optional<int64_t> ParseDecimal(std::string_view text) {
  int64_t value = 0;
  const char* begin = text.data();
  const char* end = begin + text.size();
  if (begin != end && *begin == '+') ++begin;
  const auto r = std::from_chars(begin, end, value);
  if (begin == end || r.ec != std::errc() || r.ptr != end) return std::nullopt;
  return value;
}

// ---- functions ----------------------------------------------------------------------------

struct Function {
  enum class Kind { kAssigned, kTypeOnly } kind = Kind::kAssigned;
  NewFunction assigned{FunctionKind::kBaseFunction};
  int32_t type = 0;  // kTypeOnly
};

uint32_t LaunchCodeFor(int row, size_t index) {
  return 6u + (uint32_t(LaunchKindOfRow(row) + int32_t(index)) << 16);
}

Function ParseFunction(std::string_view text, size_t index, const MacroLibrary& library, bool haveLibrary,
                       const std::string& field) {
  Function f;
  const std::u16string wide = Utf16FromUtf8(text);
  if (EqualsIgnoringCase(text, "disable")) {
    f.assigned = {FunctionKind::kDisable};
    return f;
  }
  for (const FunctionTypeRow& row : kFunctionTypes) {
    if (EqualsIgnoringCase(text, Utf8FromUtf16(row.english)) || wide == row.chinese) {
      f.assigned = {row.type == kTypeDisable ? FunctionKind::kDisable : FunctionKind::kBaseFunction, uint32_t(row.type)};
      return f;
    }
  }
  const size_t colon = text.find(':');
  const std::string_view head = colon == std::string_view::npos ? text : text.substr(0, colon);
  const std::string_view rest = colon == std::string_view::npos ? std::string_view() : text.substr(colon + 1);
  if (colon != std::string_view::npos && EqualsIgnoringCase(head, "key")) {
    std::optional<uint32_t> code = ParseHex32(Trim(rest));
    if (!code) code = ParseKeyCombination(rest);
    if (!code) Refuse(field + ": " + Quoted(rest) + " is not a key combination (for example Ctrl+Shift+F5)");
    f.assigned = {FunctionKind::kKeyCombination, *code};
    return f;
  }
  if (colon != std::string_view::npos && EqualsIgnoringCase(head, "macro-id")) {
    const std::optional<uint32_t> id = ParseHex32(Trim(rest));
    if (!id) Refuse(field + ": " + Quoted(rest) + " is not a macro id (0x and up to 8 hexadecimal digits)");
    f.assigned = {FunctionKind::kMacro, *id};
    return f;
  }
  if (colon != std::string_view::npos && EqualsIgnoringCase(head, "macro")) {
    if (!haveLibrary) Refuse(field + ": macro " + Quoted(rest) + " needs the macro library to find it by name");
    const std::u16string name = Utf16FromUtf8(rest);
    std::optional<uint32_t> found;
    for (const MacroEntry& entry : library) {
      if (!IsListed(entry) || MacroName(entry) != name) continue;
      if (found && *found != entry.macroId)
        Refuse(field + ": two macros are named " + Quoted(rest) + "; give one by its id (macro-id:0x...)");
      found = entry.macroId;
    }
    if (!found) Refuse(field + ": no macro is named " + Quoted(rest));
    f.assigned = {FunctionKind::kMacro, *found};
    return f;
  }
  if (colon != std::string_view::npos && EqualsIgnoringCase(head, "launch")) {
    const size_t second = rest.find(':');
    const std::string_view kind = rest.substr(0, second);
    const auto k = std::find_if(std::begin(kLaunchKinds), std::end(kLaunchKinds),
                                [&](std::string_view name) { return EqualsIgnoringCase(name, kind); });
    if (second == std::string_view::npos || k == std::end(kLaunchKinds))
      Refuse(field + ": " + Quoted(text) + " is not a launch (launch:sound|program|file|folder:PATH)");
    const int row = int(k - std::begin(kLaunchKinds));
    const std::u16string path = Utf16FromUtf8(rest.substr(second + 1));
    if (path.empty()) Refuse(field + ": the launch has no path");
    if (path.size() >= kTextFieldLength)
      Refuse(field + ": the launch path is longer than " + std::to_string(kTextFieldLength - 1) + " characters");
    f.assigned = {FunctionKind::kSoftwareLaunch, LaunchCodeFor(row, index), row, path};
    return f;
  }
  if (text.size() > 5 && EqualsIgnoringCase(text.substr(0, 5), "type ")) {
    const std::optional<int64_t> type = ParseDecimal(Trim(text.substr(5)));
    if (!type || *type < INT32_MIN || *type > INT32_MAX) Refuse(field + ": " + Quoted(text) + " is not a function type");
    if (const FunctionTypeRow* row = FindFunctionType(int32_t(*type))) {
      f.assigned = {row->type == kTypeDisable ? FunctionKind::kDisable : FunctionKind::kBaseFunction, uint32_t(row->type)};
    } else {
      f.kind = Function::Kind::kTypeOnly;
      f.type = int32_t(*type);
    }
    return f;
  }
  Refuse(field + ": unknown function " + Quoted(text));
}

// Writes `f` into input `index` of `block` as the button dialog would.
void ApplyFunction(const Function& f, size_t index, SettingsBlock& block, const ProfileJsonContext& context) {
  if (f.kind == Function::Kind::kTypeOnly) {
    block.buttons[index].type = f.type;
    return;
  }
  ButtonMacroIds ids{};
  JsonKeyLayout fallback;
  ButtonRecords records{block, ids, context.library ? *context.library : EmptyLibrary(),
                        context.layout ? *context.layout : static_cast<KeyboardLayout&>(fallback), context.chinese};
  Assign(records, index, f.assigned);
}

std::string FunctionText(const ButtonAssignment& b, const ProfileJsonContext& context) {
  if (const FunctionTypeRow* row = FindFunctionType(b.type)) return Utf8FromUtf16(row->english);
  switch (b.type) {
    case kTypeKeyCombination:
      if (const auto name = KeyCombinationName(b.keyCode)) return "key:" + *name;
      return "key:" + Hex(b.keyCode);
    case kTypeMacro:
      if (context.library) {
        // By name only when that name leads back to this id.
        const std::optional<size_t> first = FindMacroById(*context.library, uint32_t(b.macroId));
        if (first && IsListed((*context.library)[*first])) {
          const std::u16string name = MacroName((*context.library)[*first]);
          // A name UTF-8 cannot carry (a lone surrogate) would not find its macro again.
          bool unique = !name.empty() && Utf16FromUtf8(Utf8FromUtf16(name)) == name;
          for (const MacroEntry& e : *context.library)
            unique &= !(IsListed(e) && e.macroId != uint32_t(b.macroId) && MacroName(e) == name);
          if (unique) return "macro:" + Utf8FromUtf16(name);
        }
      }
      return "macro-id:" + Hex(uint32_t(b.macroId));
    case kTypeSoftwareLaunch:
      for (int row = 0; row < 4; ++row) {
        if (b.launchKind != LaunchKindOfRow(row)) continue;
        const std::u16string path = TextFromField(b.launchPath, kTextFieldLength);
        if (path.empty() || path.size() >= kTextFieldLength) break;
        return "launch:" + std::string(kLaunchKinds[row]) + ":" + Utf8FromUtf16(path);
      }
      break;
  }
  return "type " + std::to_string(b.type);
}

// ---- reading values ------------------------------------------------------------------------

int32_t ReadInt(const ReadJson& value, const std::string& field) {
  if (!value.is_number_integer()) Refuse(field + ": " + Shown(value) + " is not a whole number");
  if (value.is_number_unsigned() ? value.get<uint64_t>() > uint64_t(INT32_MAX)
                                 : (value.get<int64_t>() < INT32_MIN || value.get<int64_t>() > INT32_MAX))
    Refuse(field + ": " + Shown(value) + " is out of range");
  return int32_t(value.get<int64_t>());
}

// true and false, or the number the block holds when it is neither 0 nor 1.
int32_t ReadFlag(const ReadJson& value, const std::string& field) {
  if (value.is_boolean()) return value.get<bool>() ? 1 : 0;
  if (value.is_number_integer()) return ReadInt(value, field);
  Refuse(field + ": " + Shown(value) + " is not true or false");
}

std::string ReadString(const ReadJson& value, const std::string& field) {
  if (!value.is_string()) Refuse(field + ": " + Shown(value) + " is not a text");
  return value.get<std::string>();
}

uint32_t ReadHexField(const ReadJson& value, const std::string& field) {
  if (value.is_number_integer() && !value.is_number_float()) {
    if (value.is_number_unsigned() ? value.get<uint64_t>() <= UINT32_MAX : value.get<int64_t>() >= INT32_MIN)
      return uint32_t(value.get<int64_t>());
  }
  const std::optional<uint32_t> v = value.is_string() ? ParseHex32(value.get<std::string>()) : std::nullopt;
  if (!v) Refuse(field + ": " + Shown(value) + " is not a 32-bit value (0x and up to 8 hexadecimal digits)");
  return *v;
}

const ReadJson& ReadArray(const ReadJson& value, const std::string& field, size_t minCount, size_t maxCount) {
  if (!value.is_array()) Refuse(field + ": " + Shown(value) + " is not a list");
  if (value.size() < minCount || value.size() > maxCount)
    Refuse(field + ": " + std::to_string(value.size()) + " entries, " +
           (minCount == maxCount ? std::to_string(minCount) : std::to_string(minCount) + " to " + std::to_string(maxCount)) +
           " expected");
  return value;
}

void WriteText(const std::string& utf8, char16_t* field) {
  std::memset(field, 0, kTextFieldLength * sizeof(char16_t));
  CopyToField(Utf16FromUtf8(utf8), field, kTextFieldLength);
}

void ReadInput(const ReadJson& entry, size_t index, SettingsBlock& block, const ProfileJsonContext& context) {
  const std::string field = "inputs[" + std::to_string(index) + "]";
  if (!entry.is_object()) Refuse(field + ": " + Shown(entry) + " is not an object");
  static constexpr std::string_view kKeys[] = {"input", "function", "display-name", "macro-id",
                                               "launch-kind", "key-code", "launch-code", "launch-path"};
  for (const auto& item : entry.items())
    if (std::find(std::begin(kKeys), std::end(kKeys), item.key()) == std::end(kKeys))
      Refuse(field + ": unknown field " + Quoted(item.key()));
  if (entry.contains("input") && ReadString(entry["input"], field + ".input") != kInputNames[index])
    Refuse(field + ".input: " + Shown(entry["input"]) + " is not input " + std::to_string(index) + " (" +
           std::string(kInputNames[index]) + ")");
  if (!entry.contains("function")) Refuse(field + ": no function");
  const std::string text = ReadString(entry["function"], field + ".function");
  const Function f = ParseFunction(text, index, context.library ? *context.library : EmptyLibrary(),
                                   context.library != nullptr, field + ".function");
  std::memset(&block.buttons[index], 0, sizeof(ButtonAssignment));
  ApplyFunction(f, index, block, context);
  ButtonAssignment& b = block.buttons[index];
  if (entry.contains("display-name")) WriteText(ReadString(entry["display-name"], field + ".display-name"), b.displayName);
  if (entry.contains("macro-id")) b.macroId = int32_t(ReadHexField(entry["macro-id"], field + ".macro-id"));
  if (entry.contains("launch-kind")) b.launchKind = int32_t(ReadHexField(entry["launch-kind"], field + ".launch-kind"));
  if (entry.contains("key-code")) b.keyCode = ReadHexField(entry["key-code"], field + ".key-code");
  if (entry.contains("launch-code")) b.launchCode = ReadHexField(entry["launch-code"], field + ".launch-code");
  if (entry.contains("launch-path")) WriteText(ReadString(entry["launch-path"], field + ".launch-path"), b.launchPath);
}

uint32_t ReadColour(const ReadJson& value, const std::string& field) {
  const std::string text = value.is_string() ? value.get<std::string>() : std::string();
  uint32_t rgb = 0;
  const bool ok = text.size() == 7 && text[0] == '#' &&
                  std::all_of(text.begin() + 1, text.end(), [](char c) { return std::isxdigit(static_cast<unsigned char>(c)); }) &&
                  std::from_chars(text.data() + 1, text.data() + 7, rgb, 16).ec == std::errc();
  if (!value.is_string() || !ok) Refuse(field + ": " + Shown(value) + " is not a colour (#rrggbb)");
  // The block keeps red in the low byte.
  return ((rgb >> 16) & 0xFF) | (rgb & 0xFF00) | ((rgb & 0xFF) << 16);
}

void ReadRaw(const ReadJson& raw, SettingsBlock& block) {
  if (!raw.is_object()) Refuse("raw: " + Shown(raw) + " is not an object");
  auto* bytes = reinterpret_cast<uint8_t*>(&block);
  for (const auto& item : raw.items()) {
    const std::string field = "raw." + item.key();
    const std::optional<int64_t> offset = ParseDecimal(item.key());
    if (!offset || *offset < 0 || *offset >= int64_t(kSettingsBlockSize)) Refuse(field + ": not an offset in the profile");
    const std::string hex = ReadString(item.value(), field);
    if (hex.empty() || hex.size() % 2 != 0 || size_t(*offset) + hex.size() / 2 > kSettingsBlockSize)
      Refuse(field + ": not whole bytes inside the profile");
    for (size_t i = 0; i < hex.size(); i += 2) {
      uint8_t byte = 0;
      const auto r = std::from_chars(hex.data() + i, hex.data() + i + 2, byte, 16);
      if (r.ec != std::errc() || r.ptr != hex.data() + i + 2) Refuse(field + ": " + Quoted(hex.substr(i, 2)) + " is not a hexadecimal byte");
      bytes[size_t(*offset) + i / 2] = byte;
    }
  }
}

// Reads every field `json` names into `block`; no value check beyond the form.
void ReadProfile(const ReadJson& json, SettingsBlock& block, const ProfileJsonContext& context) {
  if (!json.is_object()) Refuse("the profile is not a JSON object");
  static constexpr std::string_view kKeys[] = {
      "inputs",     "dpi",       "report-rate",    "pointer-speed",  "precision", "wheel-lines",
      "sheight-level", "light-mode", "brightness", "frequency", "symphony-speed", "custom-colours",
      "colours", "colour-custom", "palette-index", "body-light", "raw"};
  for (const auto& item : json.items())
    if (std::find(std::begin(kKeys), std::end(kKeys), item.key()) == std::end(kKeys))
      Refuse("unknown field " + Quoted(item.key()));
  if (json.contains("inputs")) {
    const ReadJson& inputs = ReadArray(json["inputs"], "inputs", kInputCount, kInputCount);
    for (size_t i = 0; i < kInputCount; ++i) ReadInput(inputs[i], i, block, context);
  }
  if (json.contains("dpi")) {
    const ReadJson& dpi = ReadArray(json["dpi"], "dpi", 0, kDpiLevelCount);
    for (size_t i = 0; i < kDpiLevelCount; ++i)
      block.dpiLevels[i] = i < dpi.size() ? ReadInt(dpi[i], "dpi[" + std::to_string(i) + "]") : 0;
  }
  if (json.contains("report-rate")) {
    const ReadJson& rate = json["report-rate"];
    const std::string text = rate.is_string() ? rate.get<std::string>() : std::string();
    if (text.starts_with("code ") && ParseDecimal(text.substr(5)) && *ParseDecimal(text.substr(5)) >= INT32_MIN &&
        *ParseDecimal(text.substr(5)) <= INT32_MAX) {
      block.reportRate = int32_t(*ParseDecimal(text.substr(5)));
    } else {
      const auto r = std::find_if(std::begin(kReportRates), std::end(kReportRates), [&](const ReportRate& rr) {
        return rate.is_number_integer() && rate.get<int64_t>() == rr.hz;
      });
      if (r == std::end(kReportRates))
        Refuse("report-rate: " + Shown(rate) + " is not a report rate (125, 250, 500 or 1000)");
      block.reportRate = r->code;
    }
  }
  if (json.contains("light-mode")) {
    const ReadJson& mode = json["light-mode"];
    if (mode.is_number_integer()) {
      block.ledMode = ReadInt(mode, "light-mode");
    } else {
      const std::string name = ReadString(mode, "light-mode");
      const auto m = std::find_if(std::begin(kLightModes), std::end(kLightModes),
                                  [&](std::string_view n) { return EqualsIgnoringCase(n, name); });
      if (m == std::end(kLightModes))
        Refuse("light-mode: " + Quoted(name) + " is not a lighting mode (always-on, breathing, apm, spectrum, symphony, off)");
      block.ledMode = int32_t(m - std::begin(kLightModes)) + 1;
    }
  }
  if (json.contains("wheel-lines")) {
    const ReadJson& lines = json["wheel-lines"];
    if (lines.is_string() && EqualsIgnoringCase(lines.get<std::string>(), "screen")) {
      block.wheelLines = -1;
    } else if (lines.is_number_integer()) {
      block.wheelLines = ReadInt(lines, "wheel-lines");
    } else {
      Refuse("wheel-lines: " + Shown(lines) + " is not a number of lines or \"screen\"");
    }
  }
  const struct {
    const char* key;
    int32_t* field;
    bool flag;
  } kScalars[] = {{"pointer-speed", &block.pointerSpeed, false},   {"precision", &block.enhancePrecision, true},
                  {"sheight-level", &block.sheightLevel, false},   {"brightness", &block.ledBrightness, false},
                  {"frequency", &block.ledFrequency, false},       {"symphony-speed", &block.ledSymphonySpeed, false},
                  {"custom-colours", &block.ledSubMode, true},     {"body-light", &block.bodyLight, true}};
  for (const auto& s : kScalars) {
    if (!json.contains(s.key)) continue;
    *s.field = s.flag ? ReadFlag(json[s.key], s.key) : ReadInt(json[s.key], s.key);
  }
  if (json.contains("colours")) {
    const ReadJson& colours = ReadArray(json["colours"], "colours", kLedColorCount, kLedColorCount);
    for (size_t k = 0; k < kLedColorCount; ++k) block.ledColors[k] = ReadColour(colours[k], "colours[" + std::to_string(k) + "]");
  }
  if (json.contains("colour-custom")) {
    const ReadJson& custom = ReadArray(json["colour-custom"], "colour-custom", kLedColorCount, kLedColorCount);
    for (size_t k = 0; k < kLedColorCount; ++k)
      block.ledColorCustom[k] = ReadFlag(custom[k], "colour-custom[" + std::to_string(k) + "]");
  }
  if (json.contains("palette-index")) {
    const ReadJson& palette = ReadArray(json["palette-index"], "palette-index", kLedColorCount, kLedColorCount);
    for (size_t k = 0; k < kLedColorCount; ++k)
      block.ledPaletteIndex[k] = ReadInt(palette[k], "palette-index[" + std::to_string(k) + "]");
  }
  if (json.contains("raw")) ReadRaw(json["raw"], block);
}

// The base every import starts from: the defaults, with the names in the language asked for.
// Fields the JSON names replace theirs; the inputs of a JSON start from an empty record.
std::unique_ptr<SettingsBlock> ImportBase(bool chinese) {
  auto block = std::make_unique<SettingsBlock>();
  FillWithDefaults(*block, chinese);
  return block;
}

// ---- writing values ------------------------------------------------------------------------

Json FlagJson(int32_t value) { return value == 0 || value == 1 ? Json(value == 1) : Json(value); }

std::string ColourText(uint32_t colour) {
  char buf[8];
  std::snprintf(buf, sizeof buf, "#%02x%02x%02x", unsigned(colour & 0xFF), unsigned((colour >> 8) & 0xFF),
                unsigned((colour >> 16) & 0xFF));
  return buf;
}

Json InputJson(const SettingsBlock& block, size_t index, const ProfileJsonContext& context) {
  const ButtonAssignment& b = block.buttons[index];
  Json entry;
  entry["input"] = kInputNames[index];
  const std::string function = FunctionText(b, context);
  entry["function"] = function;
  entry["display-name"] = Utf8FromUtf16(TextFromField(b.displayName, kTextFieldLength));
  // What the function alone leaves in the record; fields that differ are written out.
  auto implied = ImportBase(context.chinese);
  std::memset(&implied->buttons[index], 0, sizeof(ButtonAssignment));
  ApplyFunction(ParseFunction(function, index, context.library ? *context.library : EmptyLibrary(),
                              context.library != nullptr, "function"),
                index, *implied, context);
  const ButtonAssignment& i = implied->buttons[index];
  if (b.macroId != i.macroId) entry["macro-id"] = Hex(uint32_t(b.macroId));
  if (b.launchKind != i.launchKind) entry["launch-kind"] = Hex(uint32_t(b.launchKind), 2);
  if (b.keyCode != i.keyCode) entry["key-code"] = Hex(b.keyCode);
  if (b.launchCode != i.launchCode) entry["launch-code"] = Hex(b.launchCode);
  const std::u16string path = TextFromField(b.launchPath, kTextFieldLength);
  if (path != TextFromField(i.launchPath, kTextFieldLength)) entry["launch-path"] = Utf8FromUtf16(path);
  return entry;
}

// Everything but "raw".
Json ReadableJson(const SettingsBlock& block, const ProfileJsonContext& context) {
  Json json;
  json["inputs"] = Json::array();
  for (size_t i = 0; i < kInputCount; ++i) json["inputs"].push_back(InputJson(block, i, context));
  size_t levels = kDpiLevelCount;
  while (levels > 0 && block.dpiLevels[levels - 1] == 0) --levels;
  json["dpi"] = Json::array();
  for (size_t i = 0; i < levels; ++i) json["dpi"].push_back(block.dpiLevels[i]);
  const auto rate = std::find_if(std::begin(kReportRates), std::end(kReportRates),
                                 [&](const ReportRate& r) { return r.code == block.reportRate; });
  json["report-rate"] = rate != std::end(kReportRates) ? Json(rate->hz) : Json("code " + std::to_string(block.reportRate));
  json["pointer-speed"] = block.pointerSpeed;
  json["precision"] = FlagJson(block.enhancePrecision);
  json["wheel-lines"] = block.wheelLines == -1 ? Json("screen") : Json(block.wheelLines);
  json["sheight-level"] = block.sheightLevel;
  json["light-mode"] =
      block.ledMode >= 1 && block.ledMode <= 6 ? Json(kLightModes[size_t(block.ledMode - 1)]) : Json(block.ledMode);
  json["brightness"] = block.ledBrightness;
  json["frequency"] = block.ledFrequency;
  json["symphony-speed"] = block.ledSymphonySpeed;
  json["custom-colours"] = FlagJson(block.ledSubMode);
  json["colours"] = Json::array();
  json["colour-custom"] = Json::array();
  json["palette-index"] = Json::array();
  for (size_t k = 0; k < kLedColorCount; ++k) {
    json["colours"].push_back(ColourText(block.ledColors[k]));
    json["colour-custom"].push_back(FlagJson(block.ledColorCustom[k]));
    json["palette-index"].push_back(block.ledPaletteIndex[k]);
  }
  json["body-light"] = FlagJson(block.bodyLight);
  return json;
}

// The readable fields plus, in "raw", the runs of bytes they do not reproduce.
Json FullJson(const SettingsBlock& block, const ProfileJsonContext& context) {
  Json json = ReadableJson(block, context);
  auto rebuilt = ImportBase(context.chinese);
  ReadProfile(ForReading(json), *rebuilt, context);
  const auto* want = reinterpret_cast<const uint8_t*>(&block);
  const auto* have = reinterpret_cast<const uint8_t*>(rebuilt.get());
  Json raw = Json::object();
  static constexpr size_t kJoinGap = 8;  // nearby runs become one entry
  for (size_t i = 0; i < kSettingsBlockSize;) {
    if (want[i] == have[i]) {
      ++i;
      continue;
    }
    size_t end = i + 1, same = 0;
    for (size_t j = end; j < kSettingsBlockSize && same < kJoinGap; ++j) {
      if (want[j] != have[j]) {
        end = j + 1;
        same = 0;
      } else {
        ++same;
      }
    }
    std::string hex;
    for (size_t j = i; j < end; ++j) {
      char buf[3];
      std::snprintf(buf, sizeof buf, "%02x", unsigned(want[j]));
      hex += buf;
    }
    raw[std::to_string(i)] = hex;
    i = end;
  }
  if (!raw.empty()) json["raw"] = raw;
  return json;
}

std::optional<std::string> RangeProblem(const char* field, int32_t value, int32_t low, int32_t high) {
  if (value >= low && value <= high) return std::nullopt;
  return std::string(field) + ": " + std::to_string(value) + " is outside " + std::to_string(low) + " to " +
         std::to_string(high);
}

bool IsMouseDpi(int32_t dpi) {
  return (dpi >= 250 && dpi <= 3500 && dpi % 250 == 0) || dpi == 4000 || dpi == 5000 || dpi == 6000 || dpi == 7000;
}

// A set value as JSON: a number, true or false, else the text itself.
Json SetValue(std::string_view text) {
  const std::string_view t = Trim(text);
  if (const auto n = ParseDecimal(t)) return Json(*n);
  for (std::string_view yes : {"on", "true", "yes"})
    if (EqualsIgnoringCase(t, yes)) return Json(true);
  for (std::string_view no : {"off", "false", "no"})
    if (EqualsIgnoringCase(t, no)) return Json(false);
  return Json(std::string(t));
}

Json SetList(std::string_view text) {
  Json list = Json::array();
  if (Trim(text).empty()) return list;
  size_t start = 0;
  while (true) {
    const size_t comma = text.find(',', start);
    list.push_back(SetValue(text.substr(start, comma == std::string_view::npos ? std::string_view::npos : comma - start)));
    if (comma == std::string_view::npos) break;
    start = comma + 1;
  }
  return list;
}

}  // namespace

std::string_view InputName(size_t index) { return index < kInputCount ? kInputNames[index] : std::string_view(); }

std::optional<std::string> KeyCombinationName(uint32_t code) {
  if ((code & 0xFF0000FFu) != 0) return std::nullopt;
  const uint32_t mask = (code >> 8) & 0xFF;
  const uint32_t usage = (code >> 16) & 0xFF;
  if (mask & 0xF0) return std::nullopt;
  const auto& names = KeyNames();
  const auto key = std::find_if(names.begin(), names.end(), [&](const KeyNameRow& r) { return r.usage == usage; });
  if (key == names.end() || key->name.empty()) return std::nullopt;
  std::string text;
  static constexpr struct {
    uint32_t bit;
    const char* name;
  } kModifiers[] = {{1, "Ctrl"}, {2, "Shift"}, {4, "Alt"}, {8, "Win"}};
  for (const auto& m : kModifiers)
    if (mask & m.bit) text += std::string(m.name) + "+";
  return text + key->name;
}

std::optional<uint32_t> ParseKeyCombination(std::string_view text) {
  static constexpr struct {
    const char* name;
    uint32_t bit;
  } kModifiers[] = {{"ctrl", 1}, {"control", 1}, {"shift", 2}, {"alt", 4}, {"win", 8}, {"windows", 8}};
  uint32_t mask = 0;
  std::string_view rest = Trim(text);
  for (bool more = true; more;) {
    more = false;
    for (const auto& m : kModifiers) {
      const std::string_view name = m.name;
      if (rest.size() <= name.size() || !EqualsIgnoringCase(rest.substr(0, name.size()), name)) continue;
      const std::string_view after = Trim(rest.substr(name.size()));
      if (after.size() < 2 || after[0] != '+') continue;
      mask |= m.bit;
      rest = Trim(after.substr(1));
      more = true;
      break;
    }
  }
  for (const KeyNameRow& row : KeyNames())
    if (!row.name.empty() && EqualsIgnoringCase(row.name, rest)) return (uint32_t(row.usage) << 16) | (mask << 8);
  return std::nullopt;
}

std::optional<std::string> CheckProfileValues(const SettingsBlock& b) {
  if (b.magic != kSettingsMagic) return "raw: the profile signature must stay 65 02 80 80";
  bool click = false;
  for (size_t i = 0; i < kInputCount; ++i) {
    const ButtonAssignment& button = b.buttons[i];
    const std::string field = "inputs[" + std::to_string(i) + "] (" + std::string(kInputNames[i]) + ")";
    const bool known = FindFunctionType(button.type) || button.type == kTypeKeyCombination ||
                       button.type == kTypeMacro || button.type == kTypeSoftwareLaunch;
    if (!known) return field + ": function type " + std::to_string(button.type) + " is not a function";
    if (button.type == kTypeSnipe && (i == 5 || i == 6)) return field + ": This key can not use the sniper function!";
    const int32_t kind = button.launchKind;
    if (button.type == kTypeSoftwareLaunch && kind != 0xC0 && kind != 0xD0 && kind != 0xE0 && kind != 0xF0)
      return field + ": launch kind " + Hex(uint32_t(button.launchKind), 2) + " is not sound, program, file or folder";
    click |= button.type == kTypeClick;
  }
  if (!click) return std::string("inputs: At least one button must be configured as 'Left click'!");
  bool anyLevel = false;
  for (size_t i = 0; i < kDpiLevelCount; ++i) {
    const int32_t dpi = b.dpiLevels[i];
    if (dpi != 0 && !IsMouseDpi(dpi))
      return "dpi: " + std::to_string(dpi) +
             " is not a DPI the mouse can take (250 to 3500 in steps of 250, 4000, 5000, 6000 or 7000; 0 for a level "
             "not in use)";
    anyLevel |= dpi != 0;
  }
  if (!anyLevel) return std::string("dpi: no level is in use");
  if (std::none_of(std::begin(kReportRates), std::end(kReportRates), [&](const ReportRate& r) { return r.code == b.reportRate; }))
    return "report-rate: code " + std::to_string(b.reportRate) + " is not a report rate (125, 250, 500 or 1000)";
  if (auto p = RangeProblem("pointer-speed", b.pointerSpeed, 1, 20)) return p;
  if (auto p = RangeProblem("precision", b.enhancePrecision, 0, 1)) return p;
  if (b.wheelLines != -1)
    if (auto p = RangeProblem("wheel-lines", b.wheelLines, 1, 30)) return *p + " (or \"screen\")";
  if (auto p = RangeProblem("sheight-level", b.sheightLevel, 1, 30)) return p;
  if (auto p = RangeProblem("light-mode", b.ledMode, 1, 6)) return p;
  if (auto p = RangeProblem("brightness", b.ledBrightness, 1, 10)) return p;
  if (auto p = RangeProblem("frequency", b.ledFrequency, 1, 5)) return p;
  if (b.ledSymphonySpeed != 2 && b.ledSymphonySpeed != 4 && b.ledSymphonySpeed != 6)
    return "symphony-speed: " + std::to_string(b.ledSymphonySpeed) + " is not 2, 4 or 6";
  if (auto p = RangeProblem("custom-colours", b.ledSubMode, 0, 1)) return p;
  if (auto p = RangeProblem("body-light", b.bodyLight, 0, 1)) return p;
  for (size_t k = 0; k < kLedColorCount; ++k) {
    const std::string index = "[" + std::to_string(k) + "]";
    if (b.ledColors[k] > 0xFFFFFF)
      return "colours" + index + ": " + Hex(b.ledColors[k]) + " holds more than red, green and blue";
    if (auto p = RangeProblem(("colour-custom" + index).c_str(), b.ledColorCustom[k], 0, 1)) return p;
    if (auto p = RangeProblem(("palette-index" + index).c_str(), b.ledPaletteIndex[k], 0, 25)) return p;
  }
  return std::nullopt;
}

std::string ProfileToJson(const SettingsBlock& block, const ProfileJsonContext& context) {
  try {
    return FullJson(block, context).dump(2, ' ', false, Json::error_handler_t::replace) + "\n";
  } catch (const Refusal& r) {
    // Every text FullJson writes is one ReadProfile reads; reaching this is a fault of this file.
    return "{\"error\": " + Json(r.reason).dump(-1, ' ', false, Json::error_handler_t::replace) + "}\n";
  }
}

std::optional<std::string> ProfileFromJson(std::string_view text, const ProfileJsonContext& context,
                                           SettingsBlock& block) {
  ReadJson json;
  try {
    json = ReadJson::parse(text.begin(), text.end());
  } catch (const ReadJson::parse_error& e) {
    // "[json.exception.parse_error.101] parse error at line 3, column 7: ..." without its tag.
    std::string what = e.what();
    const size_t tag = what.find("] ");
    return tag == std::string::npos ? what : what.substr(tag + 2);
  }
  try {
    auto result = ImportBase(context.chinese);
    ReadProfile(json, *result, context);
    if (auto problem = CheckProfileValues(*result)) return problem;
    block = *result;
    return std::nullopt;
  } catch (const Refusal& r) {
    return r.reason;
  } catch (const nlohmann::json::exception& e) {
    // The readers check every type before they look; this is only a last guard.
    return std::string("the JSON could not be read: ") + e.what();
  }
}

std::optional<std::string> SetProfileFields(SettingsBlock& block, const std::vector<std::string>& assignments,
                                            const ProfileJsonContext& context) {
  try {
    auto work = std::make_unique<SettingsBlock>(block);
    for (const std::string& assignment : assignments) {
      const size_t eq = assignment.find('=');
      if (eq == std::string::npos) Refuse(Quoted(assignment) + " is not name=value");
      const std::string name(Trim(std::string_view(assignment).substr(0, eq)));
      const std::string_view value = std::string_view(assignment).substr(eq + 1);
      if (name.starts_with("input.")) {
        const std::optional<int64_t> index = ParseDecimal(name.substr(6));
        if (!index || *index < 0 || *index >= int64_t(kInputCount))
          Refuse(name + ": inputs are numbered 0 to " + std::to_string(kInputCount - 1));
        const Function f = ParseFunction(Trim(value), size_t(*index), context.library ? *context.library : EmptyLibrary(),
                                         context.library != nullptr, name);
        ApplyFunction(f, size_t(*index), *work, context);
        continue;
      }
      // Every other field goes through the JSON form, so both read values the same way.
      Json json = FullJson(*work, context);
      const size_t dot = name.find('.');
      const std::string list = name.substr(0, dot);
      if (dot != std::string::npos && (list == "colour" || list == "colour-custom" || list == "palette-index")) {
        const std::optional<int64_t> k = ParseDecimal(name.substr(dot + 1));
        if (!k || *k < 0 || *k >= int64_t(kLedColorCount)) Refuse(name + ": colours are numbered 0 to 3");
        json[list == "colour" ? "colours" : list][size_t(*k)] = SetValue(value);
      } else if (name == "dpi" || name == "colours" || name == "colour-custom" || name == "palette-index") {
        json[name] = SetList(value);
      } else if (name == "inputs" || name == "raw" || !json.contains(name)) {
        Refuse("unknown field " + Quoted(name));
      } else if (name == "light-mode" && !ParseDecimal(Trim(value))) {
        json[name] = std::string(Trim(value));  // "off" is a mode here, not false
      } else {
        json[name] = SetValue(value);
      }
      auto next = ImportBase(context.chinese);
      ReadProfile(ForReading(json), *next, context);
      *work = *next;
    }
    if (auto problem = CheckProfileValues(*work)) return problem;
    block = *work;
    return std::nullopt;
  } catch (const Refusal& r) {
    return r.reason;
  } catch (const nlohmann::json::exception& e) {
    // The readers check every type before they look; this is only a last guard.
    return std::string("the JSON could not be read: ") + e.what();
  }
}

}  // namespace nx7
