#pragma once
// A profile as JSON a person can read and edit, and back. Every field of the settings block has a
// readable form (DPI levels as numbers, the report rate in Hz, the lighting mode by name, colours
// as "#rrggbb", each input's function by name); the bytes no field shows (reserved bytes, text
// after a terminator, values an earlier function left behind) travel in "raw", so exporting and
// importing a profile gives back the same 22252 bytes.
//
// An input's function is one text, the same in a JSON file and on nx7ctl's command line:
//   Click, Menu, "Volume up", ...    a built-in function by its English or Chinese name
//   disable                          the input does nothing ("Disable key")
//   key:Ctrl+Shift+F5                a key combination (key:0x00040100 for any device key code)
//   macro:NAME  or  macro-id:0x...   a macro of the macro library by name, or any macro id
//   launch:KIND:PATH                 KIND one of sound, program, file, folder
//   type N                           any function type by its number
//
// Importing never throws and changes nothing it was not asked to: the result goes into the block
// only when the whole text was read and every value is one the program and the mouse accept.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "macros/macro_library.h"
#include "platform/keyboard_layout.h"
#include "store/settings_block.h"

namespace nx7 {

// What names and texts are looked up in while reading and writing.
struct ProfileJsonContext {
  const MacroLibrary* library = nullptr;  // none: macros are written and read by id only
  KeyboardLayout* layout = nullptr;       // names the keys of a combination's display name; none: US
  bool chinese = false;                   // form of the built-in names written as display names
};

// The input names of the JSON: "left button" ... "wheel backward".
std::string_view InputName(size_t index);

// The JSON text of `block` (which must carry the profile signature), two-space indented.
std::string ProfileToJson(const SettingsBlock& block, const ProfileJsonContext& context);

// Reads `text` as a whole profile: fields it leaves out keep their defaults. On success returns
// nothing and `block` holds the profile; otherwise returns the reason (naming the field, the value
// or the line and column) and leaves `block` as it was.
std::optional<std::string> ProfileFromJson(std::string_view text, const ProfileJsonContext& context,
                                           SettingsBlock& block);

// Changes single fields, each given as "name=value" (for example "dpi=750,1500,3000",
// "report-rate=500", "input.4=key:Ctrl+C", "colour.3=#00ff80"). An input takes its new function
// as the program's button dialog gives it (only that function's fields change). All or nothing:
// on a refusal returns the reason and leaves `block` as it was.
std::optional<std::string> SetProfileFields(SettingsBlock& block, const std::vector<std::string>& assignments,
                                            const ProfileJsonContext& context);

// The first value of `block` that the program or the mouse does not accept, as a reason naming the
// field; nothing when every value is in range.
std::optional<std::string> CheckProfileValues(const SettingsBlock& block);

// A key combination's text in the JSON ("Ctrl+Shift+F5") and back; the parser takes the
// modifiers in any order and case, with or without spaces around '+'.
std::optional<std::string> KeyCombinationName(uint32_t deviceKeyCode);
std::optional<uint32_t> ParseKeyCombination(std::string_view text);

}  // namespace nx7
