#pragma once
// The catalogue keys of the language files, in catalogue order: the order in which a load reads
// them and the fixed index by which the program addresses each text.
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

namespace nx7 {

// Enumerators are spelled like the element names in the language files.
enum class StringKey : uint8_t {
  str_main,
  str_led_title,
  str_macro_manager,
  str_sts,
  str_about,
  str_profile1,
  str_profile2,
  str_profile3,
  str_profile4,
  str_profile5,
  str_ok,
  str_dpiwant,
  str_mouseSpeed,
  str_improveAccuracy,
  str_sheight,
  str_rollingrate,
  str_rollerColumn,
  str_rollerScreen,
  str_close,
  str_lock,
  str_run,
  str_show,
  str_win8_classic,
  str_win8_switch,
  str_win8_winp,
  str_win8_winm,
  str_find,
  str_mouseleft,
  str_mousemiddle,
  str_mouseright,
  str_pre,
  str_back,
  str_player,
  str_PL,
  str_stop,
  str_pre_media,
  str_next_media,
  str_vol_dw,
  str_vol_up,
  str_mute,
  str_snipe,
  str_fire,
  str_advanced_sound,
  str_advanced_exe,
  str_advanced_file,
  str_advanced_dir,
  str_ledspe,
  str_led_apmbre,
  str_led_off,
  str_led_norbre,
  str_led_frequency,
  str_led_brealways,
  str_led_brightness,
  str_led_symphony,
  str_led_changeClolor,
  str_led_setColor,
  str_led_symphonySpeed,
  str_led_body_on,
  str_led_body_off,
  str_led_custom,
  str_new_macro,
  str_del_macro,
  str_macro_new,
  str_macro_del,
  str_macro_modify,
  str_macro_start,
  str_macro_end,
  str_macro_delay,
  str_macro_loop,
  str_click,
  str_middle,
  str_menu,
  str_macro_msg6,
  str_macro_msg7,
  str_cups,
  str_resetSts,
  str_update,
  str_vornaWeb,
  str_importFile,
  str_exportFile,
  str_defaultname,
  str_msg2,
  str_msg4,
  str_msg5
};

inline constexpr size_t kStringKeyCount = 84;

// Element name of each key, indexed by StringKey.
inline constexpr std::array<std::u16string_view, kStringKeyCount> kStringKeyNames = {
    u"str_main",
    u"str_led_title",
    u"str_macro_manager",
    u"str_sts",
    u"str_about",
    u"str_profile1",
    u"str_profile2",
    u"str_profile3",
    u"str_profile4",
    u"str_profile5",
    u"str_ok",
    u"str_dpiwant",
    u"str_mouseSpeed",
    u"str_improveAccuracy",
    u"str_sheight",
    u"str_rollingrate",
    u"str_rollerColumn",
    u"str_rollerScreen",
    u"str_close",
    u"str_lock",
    u"str_run",
    u"str_show",
    u"str_win8_classic",
    u"str_win8_switch",
    u"str_win8_winp",
    u"str_win8_winm",
    u"str_find",
    u"str_mouseleft",
    u"str_mousemiddle",
    u"str_mouseright",
    u"str_pre",
    u"str_back",
    u"str_player",
    u"str_PL",
    u"str_stop",
    u"str_pre_media",
    u"str_next_media",
    u"str_vol_dw",
    u"str_vol_up",
    u"str_mute",
    u"str_snipe",
    u"str_fire",
    u"str_advanced_sound",
    u"str_advanced_exe",
    u"str_advanced_file",
    u"str_advanced_dir",
    u"str_ledspe",
    u"str_led_apmbre",
    u"str_led_off",
    u"str_led_norbre",
    u"str_led_frequency",
    u"str_led_brealways",
    u"str_led_brightness",
    u"str_led_symphony",
    u"str_led_changeClolor",
    u"str_led_setColor",
    u"str_led_symphonySpeed",
    u"str_led_body_on",
    u"str_led_body_off",
    u"str_led_custom",
    u"str_new_macro",
    u"str_del_macro",
    u"str_macro_new",
    u"str_macro_del",
    u"str_macro_modify",
    u"str_macro_start",
    u"str_macro_end",
    u"str_macro_delay",
    u"str_macro_loop",
    u"str_click",
    u"str_middle",
    u"str_menu",
    u"str_macro_msg6",
    u"str_macro_msg7",
    u"str_cups",
    u"str_resetSts",
    u"str_update",
    u"str_vornaWeb",
    u"str_importFile",
    u"str_exportFile",
    u"str_defaultname",
    u"str_msg2",
    u"str_msg4",
    u"str_msg5",
};

static_assert(static_cast<size_t>(StringKey::str_msg5) + 1 == kStringKeyCount);

inline constexpr std::u16string_view StringKeyName(StringKey key) {
  return kStringKeyNames[static_cast<size_t>(key)];
}

// The key whose element name is the ASCII text `name` (case matters), if there is one; usable in
// constant expressions, so tables that name keys by text are checked when they compile.
constexpr std::optional<StringKey> StringKeyNamed(std::string_view name) {
  for (size_t k = 0; k < kStringKeyCount; ++k) {
    const std::u16string_view candidate = kStringKeyNames[k];
    if (candidate.size() != name.size()) continue;
    bool same = true;
    for (size_t i = 0; i < name.size() && same; ++i) same = candidate[i] == char16_t(static_cast<unsigned char>(name[i]));
    if (same) return static_cast<StringKey>(k);
  }
  return std::nullopt;
}

}  // namespace nx7
