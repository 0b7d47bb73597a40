#pragma once
// Changing an input's function: the two rules that limit which input may take which function,
// and how an accepted function is written into the input's record.
#include <cstdint>
#include <string>

#include "macros/macro_library.h"
#include "platform/keyboard_layout.h"
#include "store/settings_block.h"

namespace nx7 {

enum class FunctionKind { kBaseFunction, kDisable, kKeyCombination, kMacro, kSoftwareLaunch };

inline constexpr int32_t kTypeClick = 1;
inline constexpr int32_t kTypeDisable = 121;
inline constexpr int32_t kTypeSnipe = 142;

struct NewFunction {
  FunctionKind kind;
  // Base function: its type. Key combination: the device key code. Macro: the macro id.
  // Software launch: the launch code, 6 + ((launch kind + input index) << 16).
  uint32_t value = 0;
  int launchRow = 0;  // software launch: 0 sound, 1 program, 2 file, 3 folder
  std::u16string launchPath{};
};

// The function type `function` gives an input: 121 for disable, 5, 6 and 19 for a key
// combination, a macro and a software launch.
int32_t TypeOf(const NewFunction& function);

// The launch kind of launch row 0 to 3 (0xC0 sound, 0xD0 program, 0xE0 file, 0xF0 folder); 0 for
// any other row.
int32_t LaunchKindOfRow(int row);

struct AssignmentCheck {
  bool accepted = true;
  std::u16string refusal;  // the message to show when refused, Chinese or English as asked
};

// Refuses taking the last Click away (at least one input keeps type 1) and SNIPE on the wheel
// (inputs 5 and 6), in that order. An index outside 0 to 6 is refused without a message.
AssignmentCheck CheckAssignment(const SettingsBlock& block, size_t index, const NewFunction& function, bool chinese);

// What an assignment writes and reads besides the record.
struct ButtonRecords {
  SettingsBlock& block;
  ButtonMacroIds& macroIds;
  const MacroLibrary& library;  // a macro's name becomes the input's display name
  KeyboardLayout& layout;       // a key combination's text becomes the input's display name
  bool chinese;                 // the form of a function's name written as the display name
};

// Writes `function` into input `index`'s record; run CheckAssignment first. Only the fields of
// the new kind change (a record keeps, say, an old launch path), and macroIds[index] becomes the
// macro id for a macro, 0 otherwise. Texts are cut to 259 units. False, with nothing changed, for
// an index outside 0 to 6 or a launch row outside 0 to 3.
bool Assign(ButtonRecords& records, size_t index, const NewFunction& function);

}  // namespace nx7
