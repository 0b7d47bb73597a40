#include "buttons/setting_pages.h"

#include "buttons/key_usage_table.h"

namespace nx7 {

// ---- Key combination page ----------------------------------------------------------------------

std::optional<Modifier> ModifierOfKey(uint32_t virtualKey) {
  switch (virtualKey) {
    case 16: case 160: case 161: return Modifier::kShift;
    case 17: case 162: case 163: return Modifier::kCtrl;
    case 18: case 164: case 165: return Modifier::kAlt;
    case 91: case 92: return Modifier::kWin;
    default: return std::nullopt;
  }
}

bool IsKeyPressFlags(uint32_t flags) {
  // Extended (1), injected (16) and Alt-down (32) combinations of a press.
  switch (flags) {
    case 0: case 1: case 16: case 17: case 32: case 33: return true;
    default: return false;
  }
}

CombinationPage::Change CombinationPage::OnKeyEvent(uint32_t virtualKey, uint32_t flags) {
  if (const std::optional<Modifier> modifier = ModifierOfKey(virtualKey)) {
    if (!IsKeyPressFlags(flags)) return Change::kNone;
    Toggle(*modifier);
    return Change::kModifier;
  }
  key_ = virtualKey;
  return Change::kKey;
}

void CombinationPage::Toggle(Modifier modifier) { checked_[size_t(modifier)] = !checked_[size_t(modifier)]; }

void CombinationPage::FillResult(SettingResult& result) const {
  // Mask bits and the usage each modifier has as a key of its own, in check-box order.
  static constexpr std::array<uint32_t, kModifierCount> kMaskBit{1, 4, 2, 8};
  static constexpr std::array<uint32_t, kModifierCount> kOwnUsage{0xE0, 0xE2, 0xE1, 0xE3};
  uint32_t mask = 0;
  int count = 0;
  size_t only = 0;
  for (size_t m = 0; m < kModifierCount; ++m) {
    if (!checked_[m]) continue;
    mask |= kMaskBit[m];
    ++count;
    only = m;
  }
  const uint32_t usage = UsageFromVirtualKey(key_);
  uint32_t value = 0;
  if (usage != 0) {
    value = (usage << 16) + (mask << 8);
  } else if (count == 1) {
    // A lone modifier is sent as an ordinary key.
    value = kOwnUsage[only] << 16;
  }
  result.value = int32_t(value);
  result.category = kSettingCombination;
}

// ---- Macro page ---------------------------------------------------------------------------------

namespace {
struct CategoryName {
  std::u16string_view chinese;
  std::u16string_view english;
};
// The names the category button of the macro page shows after a choice; item 12's Chinese name
// keeps the trailing space of its menu entry.
constexpr std::array<CategoryName, kSettingCategoryCount> kCategoryNames{{
    {u"战地 3", u"Battlefield 3"},
    {u"星球大战:旧共和国", u"Star Wars: The Old Republic"},
    {u"反恐精英:全球攻势", u"Counter-Strike: Global Offensive"},
    {u"上古卷轴5：天际", u"Elder Scrolls V: Skyrim"},
    {u"军团要塞 2", u"Team Fortress 2"},
    {u"蝙蝠侠：阿甘之城", u"Batman Arkham City"},
    {u"文明 5 ", u"Civilization 5 "},
    {u"坦克世界", u"World of Tanks"},
    {u"无主之地 2", u"Borderlands 2"},
    {u"纪元 2070：雷诺起源", u"Anno 2070"},
    {u"英雄联盟(LOL)", u"League of Legends"},
    {u"足球经理 2013 (EA)", u"Football Manager 2013 (EA)"},
    {u"远古遗迹守卫2（Dota 2） ", u"Dota 2 "},
    {u"战地 4", u"Battlefield 4"},
    {u"战机世界", u"World of Warplanes"},
    {u"足球经理 2013 (SEGA)", u"Football Manager 2013 (SEGA)"},
    {u"我的世界", u"Minecraft"},
    {u"无冬之夜", u"Neverwinter"},
    {u"流亡黯道", u"Path of Exile"},
    {u"战争雷霆", u"War Thunder"},
    {u"玩家自定义", u"Customisze"},
}};
}  // namespace

std::u16string_view SettingCategoryName(int item, bool chinese) {
  if (item < 0 || item >= kSettingCategoryCount) return {};
  const CategoryName& name = kCategoryNames[size_t(item)];
  return chinese ? name.chinese : name.english;
}

std::vector<MacroRow> MacrosOfCategory(const MacroLibrary& library, uint32_t category) {
  std::vector<MacroRow> rows;
  for (const MacroEntry& entry : library) {
    if (IsListed(entry) && (entry.macroId >> 24) == category) rows.push_back({MacroName(entry), entry.macroId});
  }
  return rows;
}

bool MacroChoicePage::OnCategorySelected(int selection) {
  if (selection == shown_) return false;
  shown_ = selection;
  return true;
}

void FillMacroResult(std::optional<uint32_t> selectedMacroId, SettingResult& result) {
  if (!selectedMacroId) {
    result.value = 0;
    return;
  }
  result.category = kSettingMacro;
  result.value = int32_t(*selectedMacroId);
}

// ---- Basic-function page -----------------------------------------------------------------------

const std::array<BaseFunctionRow, 24> kBaseFunctionRows{{
    {StringKey::str_close, 81},        {StringKey::str_lock, 82},         {StringKey::str_run, 84},
    {StringKey::str_show, 85},         {StringKey::str_win8_classic, 123}, {StringKey::str_win8_switch, 124},
    {StringKey::str_win8_winp, 126},   {StringKey::str_win8_winm, 127},   {StringKey::str_find, 125},
    {StringKey::str_mouseleft, 1},     {StringKey::str_mouseright, 2},    {StringKey::str_mousemiddle, 4},
    {StringKey::str_pre, 8},           {StringKey::str_back, 16},         {StringKey::str_player, 40},
    {StringKey::str_PL, 32},           {StringKey::str_stop, 33},         {StringKey::str_pre_media, 34},
    {StringKey::str_next_media, 35},   {StringKey::str_vol_dw, 38},       {StringKey::str_vol_up, 37},
    {StringKey::str_mute, 39},         {StringKey::str_snipe, 142},       {StringKey::str_fire, 143},
}};

void FillBaseResult(int selectedRow, SettingResult& result) {
  const bool valid = selectedRow >= 0 && size_t(selectedRow) < kBaseFunctionRows.size();
  result.value = valid ? kBaseFunctionRows[size_t(selectedRow)].type : 0;
}

// ---- Advanced page ------------------------------------------------------------------------------

const std::array<StringKey, kLaunchRowCount> kLaunchRowLabels{
    StringKey::str_advanced_sound, StringKey::str_advanced_exe, StringKey::str_advanced_file,
    StringKey::str_advanced_dir};

int32_t LaunchCode(int row, int buttonIndex) {
  return int32_t(6u + (uint32_t(0xC0 + 0x10 * row + buttonIndex) << 16));
}

LaunchChooser ChooserOfRow(int row) {
  LaunchChooser chooser;
  FileDialogOptions& o = chooser.options;
  o.hideReadOnly = true;
  o.overwritePrompt = true;
  switch (row) {
    case 0:
      o.defaultExtension = u".wav*";
      o.initialFileName = u"*.wav*";
      o.filter = u"(*.wav*)|*.wav*||";
      o.initialFolder = u"c:\\Windows\\Media";
      break;
    case 1:
      o.defaultExtension = u".exe";
      o.initialFileName = u"*.exe";
      o.filter = u"(*.exe)|*.exe||";
      o.initialFolder = u"c:\\Program Files";
      break;
    case 2:
      o.defaultExtension = u".";
      o.initialFileName = u"*.*";
      o.filter = u"(*.*)|*.*||";
      o.initialFolder = u"D:\\";
      break;
    default:
      chooser = LaunchChooser{true, {}};
      break;
  }
  return chooser;
}

LaunchPage::LaunchPage(int buttonIndex) {
  for (int row = 0; row < kLaunchRowCount; ++row) codes_[size_t(row)] = LaunchCode(row, buttonIndex);
}

void LaunchPage::Check(int row) { checked_ = row >= 0 && row < kLaunchRowCount ? row : -1; }

bool LaunchPage::Browse(int row, Shell& shell, WindowHandle owner) {
  if (row < 0 || row >= kLaunchRowCount) return false;
  Check(row);
  const LaunchChooser chooser = ChooserOfRow(row);
  const std::optional<std::u16string> chosen =
      chooser.folder ? shell.ChooseFolder(owner) : shell.ChooseFile(FileDialogKind::Open, chooser.options, owner);
  if (!chosen || *chosen == paths_[size_t(row)]) return false;
  paths_[size_t(row)] = *chosen;
  return true;
}

void LaunchPage::FillResult(SettingResult& result) const {
  if (checked_ < 0 || paths_[size_t(checked_)].empty()) {
    result.value = 0;
    return;
  }
  result.value = codes_[size_t(checked_)];
  result.category = kSettingLaunch;
  result.launchRow = checked_;
  SetLaunchPath(result, paths_[size_t(checked_)]);
}

}  // namespace nx7
