#pragma once
#include <string>

namespace nx7::win32 {

// The program folder: the full path of the running program file up to its last backslash
// (without it). Every file path of the program is built from it.
std::u16string ProgramFolder();

}  // namespace nx7::win32
