#pragma once
// The assignable function types: the number stored in ButtonAssignment::type, the built-in
// English and Chinese names, the 32-bit device key code the mouse receives for an input of that
// type, and the string-catalogue key of the row that offers it in the basic-function list.
// Types 5 (key combination), 6 (macro) and 19 (software launch) have no row: their name and code
// come from the assignment itself.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "i18n/string_keys.h"

namespace nx7 {

struct FunctionTypeRow {
  int32_t type;
  std::u16string_view english;
  std::u16string_view chinese;
  uint32_t deviceKeyCode;
  std::string_view catalogueKey;  // empty: the function is not offered in the basic list
};

inline constexpr std::array<FunctionTypeRow, 27> kFunctionTypes{{
    {1, u"Click", u"单击", 0x00F00001, "str_mouseleft"},
    {2, u"Menu", u"菜单", 0x00F10001, "str_mouseright"},
    {4, u"Middle", u"中键", 0x00F20001, "str_mousemiddle"},
    {8, u"Forward", u"前进", 0x00F40001, "str_pre"},
    {16, u"Back", u"后退", 0x00F30001, "str_back"},
    {11, u"Scroll up", u"滚轮前滚", 0x00010004, ""},
    {22, u"Scroll", u"滚轮后滚", 0x00020004, ""},
    {32, u"Play/Pause", u"播放/暂停", 0x00CD0003, "str_PL"},
    {33, u"Stop", u"停止", 0x00B70003, "str_stop"},
    {34, u"Previous", u"上一曲", 0x00B60003, "str_pre_media"},
    {35, u"Next", u"下一曲", 0x00B50003, "str_next_media"},
    {37, u"Volume up", u"音量+", 0x00E90003, "str_vol_up"},
    {38, u"Volume down", u"音量-", 0x00EA0003, "str_vol_dw"},
    {39, u"Mute", u"静音", 0x00E20003, "str_mute"},
    {40, u"Music", u"音乐", 0x01830003, "str_player"},
    {81, u"Close window", u"关闭窗口", 0x003D0400, "str_close"},
    {82, u"Lock PC", u"锁定电脑", 0x000F0800, "str_lock"},
    {84, u"Run", u"运行", 0x00150800, "str_run"},
    {85, u"Show desktop", u"显示桌面", 0x00070800, "str_show"},
    {123, u"Enter classic desktop", u"进入传统界面", 0x00100800, "str_win8_classic"},
    {124, u"Switch applications", u"切换应用程序", 0x002B0400, "str_win8_switch"},
    {125, u"Search", u"搜索", 0x00140800, "str_find"},
    {126, u"sreen zoom in", u"放大", 0x00570800, "str_win8_winp"},
    {127, u"sreen zoom out", u"缩小", 0x00560800, "str_win8_winm"},
    {142, u"SNIPE", u"狙击键", 0x08040007, "str_snipe"},
    {143, u"FIRE", u"火力", 0x0218F00A, "str_fire"},
    {121, u"Disable key", u"禁用按键", 0x00000007, ""},  // offered by the dialog's disable check box
}};

// The catalogue key of the row offering `row` in the basic-function list, nothing when none does.
constexpr std::optional<StringKey> CatalogueKey(const FunctionTypeRow& row) {
  return row.catalogueKey.empty() ? std::nullopt : StringKeyNamed(row.catalogueKey);
}

// Every key the table names is a key of the catalogue.
static_assert([] {
  for (const FunctionTypeRow& row : kFunctionTypes) {
    if (!row.catalogueKey.empty() && !StringKeyNamed(row.catalogueKey)) return false;
  }
  return true;
}());

inline constexpr int32_t kTypeKeyCombination = 5;
inline constexpr int32_t kTypeMacro = 6;
inline constexpr int32_t kTypeSoftwareLaunch = 19;

// The row of `type`, or nullptr when the type has none.
const FunctionTypeRow* FindFunctionType(int32_t type);

// The built-in name of `type`, Chinese or English; empty for a type without a row.
std::u16string FunctionName(int32_t type, bool chinese);

}  // namespace nx7
