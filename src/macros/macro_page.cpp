#include "macros/macro_page.h"

#include "i18n/chinese_text.h"

namespace nx7 {

// Kept letter for letter, stray spaces and spellings included: they are the names users know.
const std::array<GameCategory, 21> GameCategoryTable = {{
    {1, u"Battlefield 3 ", u"Battlefield 3", u"战地 3 ", u"战地 3"},
    {2, u"Star Wars: The Old Republic", u"Star Wars: The Old Republic", u"星球大战:旧共和国", u"星球大战:旧共和国"},
    {3, u"Counter-Strike: Global Offensive", u"Counter-Strike: Global Offensive", u"反恐精英:全球攻势",
     u"反恐精英:全球攻势"},
    {4, u"Elder Scrolls V: Skyrim", u"Elder Scrolls V: Skyrim", u"上古卷轴5：天际", u"上古卷轴5：天际"},
    {5, u"Team Fortress 2", u"Team Fortress 2", u"军团要塞2", u"军团要塞 2"},
    {6, u"Batman Arkham City", u"Batman Arkham City", u"蝙蝠侠：阿甘之城", u"蝙蝠侠：阿甘之城"},
    {7, u"Civilization 5 ", u"Civilization 5 ", u"文明 5 ", u"文明 5 "},
    {8, u"World of Tanks", u"World of Tanks", u"坦克世界", u"坦克世界"},
    {9, u"Borderlands 2", u"Borderlands 2", u"无主之地 2", u"无主之地 2"},
    {10, u"Anno 2070", u"Anno 2070", u"纪元 2070：雷诺起源", u"纪元 2070：雷诺起源"},
    {11, u"League of Legends", u"League of Legends", u"英雄联盟(LOL)", u"英雄联盟(LOL)"},
    {12, u"Football Manager 2013 (EA)", u"Football Manager 2013 (EA)", u"足球经理 2013 (EA)", u"足球经理 2013 (EA)"},
    {13, u"Dota 2 ", u"Dota 2 ", u"远古遗迹守卫2（Dota 2） ", u"远古遗迹守卫2（Dota 2）"},
    {14, u"Battlefield 4", u"Battlefield 4", u"战地 4", u"战地 4"},
    {15, u"World of Warplanes", u"World of Warplanes", u"战机世界", u"战机世界"},
    {16, u"Football Manager 2013 (SEGA)", u"Football Manager 2013 (SEGA)", u"足球经理 2013 (SEGA)",
     u"足球经理 2013 (SEGA)"},
    {17, u"Minecraft", u"Minecraft", u"我的世界", u"我的世界"},
    {18, u"Neverwinter", u"Neverwinter", u"无冬之夜", u"无冬之夜"},
    {19, u"Path of Exile", u"Path of Exile", u"流亡黯道", u"流亡黯道"},
    {20, u"War Thunder", u"War Thunder", u"战争雷霆", u"战争雷霆"},
    {21, u"Customize", u"Customisze", u"玩家自定义", u"玩家自定义"},
}};

namespace {

const GameCategory* FindCategory(uint32_t id) {
  if (id < 1 || id > GameCategoryTable.size()) return nullptr;
  return &GameCategoryTable[id - 1];
}

}  // namespace

std::u16string_view CategoryMenuText(uint32_t id, bool chinese) {
  const GameCategory* c = FindCategory(id);
  return c ? BilingualText(chinese, c->chineseMenu, c->englishMenu) : std::u16string_view{};
}

std::u16string_view CategoryCaption(uint32_t id, bool chinese) {
  const GameCategory* c = FindCategory(id);
  return c ? BilingualText(chinese, c->chineseCaption, c->englishCaption) : std::u16string_view{};
}

void FillCategoryMenu(CategoryMenuRecords& records, bool chinese) {
  records = {};
  for (const GameCategory& c : GameCategoryTable)
    menuex::FillMenuExItem(records[c.id - 1], menuex::kTopLevel, int32_t(c.id), CategoryMenuText(c.id, chinese));
}

std::u16string_view NewMacroName(bool chinese) { return BilingualText(chinese, u"新建宏", u"New Macro"); }

std::u16string_view MacroInUseText(bool chinese) {
  return BilingualText(chinese, u"当前宏正在被使用，不能删除！", u"The macro is being applied and cannot be deleted!");
}

std::vector<int> MacroPageHintsAt(layout::Point p, bool chineseLayout, bool recording) {
  namespace mp = layout::macro_page;
  struct Area {
    layout::Rect rect;
    int hint;
  };
  const bool zh = chineseLayout;
  const Area areas[] = {
      {mp::kNewMacroButton, 40},          {mp::kDeleteMacroButton, 41},
      {mp::kInsertButton.pick(zh), 42},   {mp::kDeleteEventButton.pick(zh), 43},
      {mp::kModifyButton.pick(zh), 44},   {mp::kRecordButton, recording ? 46 : 45},
      {mp::kDelayToggle, 47},             {mp::kRepeatEdit, 48},
      {mp::kLeftPad.pick(zh), 49},        {mp::kMiddlePad.pick(zh), 50},
      {mp::kRightPad.pick(zh), 51},       {mp::kKeyChoice.pick(zh), 52},
      {mp::kKeyEdit.pick(zh), 52},        {mp::kDelayChoice.pick(zh), 53},
      {mp::kDelayEdit.pick(zh), 53},
  };
  std::vector<int> hints;
  for (const Area& a : areas) {
    const layout::Rect widened{a.rect.left - 1, a.rect.top - 1, a.rect.right + 1, a.rect.bottom + 1};
    if (widened.contains(p)) hints.push_back(a.hint);
  }
  return hints;
}

MacroPage::MacroPage(MacroPageView& view, InputHooks& hooks, MessagePoster& poster, WindowHandle page, Clock& clock,
                     const MacroLibrary& library, MacroStore& store, MacroUse use, const bool& chinese)
    : view_(view),
      clock_(clock),
      library_(library),
      store_(store),
      use_(use),
      chinese_(chinese),
      recorder_(view, hooks, poster, page, clock, library, store) {}

void MacroPage::FillMacroList(uint32_t category) {
  // A recording or an edit belongs to a list index: it ends while the list still holds it.
  recorder_.ForgetMacro();
  view_.ClearMacros();
  view_.SetMacroListRedraw(false);
  for (const MacroEntry& entry : library_) {
    if (!IsListed(entry) || entry.macroId >> 24 != category) continue;
    view_.AddMacro({entry.macroId, MacroName(entry)}, false);
  }
  view_.SetMacroListRedraw(true);
  const int selection = view_.MacroSelection();
  recorder_.RememberMacroSelection(selection);
  recorder_.LoadMacroToList(selection);
  recorder_.RememberEventSelection(recorder_.Selection());
}

void MacroPage::CategoryChosen(uint32_t lParam) {
  const uint32_t category = lParam & 0xFFFF;
  category_ = category;
  view_.SetCategoryCaption(CategoryCaption(category, chinese_));
  FillMacroList(category);
}

void MacroPage::NewMacro() {
  const uint32_t id = NewMacroId(category_, clock_);
  view_.AddMacro({id, std::u16string(NewMacroName(chinese_))}, true);
  // As a selection change: an open edit ends and the (empty) event list of the new macro shows.
  recorder_.MacroSelectionChanged(view_.MacroSelection());
  recorder_.RememberEventSelection(-1);
}

void MacroPage::MacroRenamed(const MacroListItem& item) {
  StoreOutcome outcome;
  store_.RenameMacro(item.macroId, item.name, outcome);
  ShowOutcome(outcome);
}

void MacroPage::DeleteMacro() {
  const int index = view_.MacroSelection();
  const std::optional<MacroListItem> macro = view_.MacroAt(index);
  if (!macro) return;
  if (IsMacroInUse(macro->macroId, use_.slots, use_.block)) {
    view_.ShowPageMessage(MacroInUseText(chinese_));
    return;
  }
  StoreOutcome outcome;
  store_.DeleteMacroEntry(macro->macroId, outcome);
  ShowOutcome(outcome);
  view_.DeleteMacro(index);
  recorder_.ForgetMacro();
}

void MacroPage::MacroSelectionChanged(int index) { recorder_.MacroSelectionChanged(index); }

void MacroPage::ShowOutcome(const StoreOutcome& outcome) {
  if (!outcome.steps.empty()) view_.ShowStoreOutcome(outcome);
}

}  // namespace nx7
