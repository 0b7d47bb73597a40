// Planning each input's code: the catalogue's fixed codes, macros encoded for on-board slots in
// input order (uploaded here as the pass uploads them), launches intercepted.
#include "download/download_plan.h"

#include <gtest/gtest.h>

#include <memory>

#include "buttons/device_key_code.h"
#include "buttons/inputs.h"
#include "device/device_fixture.h"
#include "download/download_service.h"
#include "macros/input_hooks.h"
#include "macros/input_hooks_virtual.h"
#include "macros/macro_entry_fixture.h"
#include "macros/macro_upload.h"
#include "platform/virtual/recording_poster.h"

namespace nx7 {
namespace {

using testing::Delay;
using testing::Press;
using testing::Release;
using testing::StoredMacro;
using Codes = std::array<std::optional<uint32_t>, kInputCount>;

constexpr uint32_t kMacroA = 0x15000A0A, kMacroB = 0x03000B0B;

class DownloadPlanTest : public ::testing::Test {
 protected:
  DownloadPlanTest() {
    FillWithDefaults(*block, true);
    EXPECT_TRUE(s.driver.Open());
    (*library)[3] = StoredMacro(kMacroA, u"A", {Press('A'), Delay(50), Release('A')});
    (*library)[7] = StoredMacro(kMacroB, u"B", {Press('B'), Release('B'), Press('C'), Release('C')}, 2);
  }

  // One download's worth: the plan of inputs 0 to 6, their macros uploaded and their intercepts
  // applied as the pass does it.
  Codes ResolveAll() {
    const DownloadPlan plan = PlanDownload(*block, macroIds, *library);
    ApplyIntercepts(hooks, plan);
    nextSlot = 1;
    Codes codes;
    for (size_t i = 0; i < kInputCount; ++i) {
      EXPECT_TRUE(SendPlannedMacro(s.driver, s.tracedClock, plan.inputs[i]));
      if (plan.inputs[i].macro) nextSlot = plan.inputs[i].macro->slot + 1;
      codes[i] = plan.inputs[i].keyCode;
    }
    return codes;
  }
  std::optional<uint32_t> Resolve(size_t index) {
    if (index >= kInputCount) return CatalogueKeyCode(block->buttons[0], index);
    return ResolveAll()[index];
  }
  void AssignMacro(size_t index, uint32_t id) {
    block->buttons[index].type = 6;
    block->buttons[index].macroId = int32_t(id);
    macroIds[index] = int32_t(id);
  }
  std::vector<uint32_t> Intercepted() const {
    std::vector<uint32_t> present;
    for (size_t i = 0; i < kInputCount; ++i)
      if (hooks.IsMouseIntercepted(InterceptEvent(i))) present.push_back(InterceptEvent(i));
    return present;
  }

  testing::VirtualSession s;
  std::unique_ptr<SettingsBlock> block = std::make_unique<SettingsBlock>();
  ButtonMacroIds macroIds{};
  std::unique_ptr<MacroLibrary> library = std::make_unique<MacroLibrary>();
  RecordingPoster poster;
  VirtualHookInstaller installer;
  InputHooks hooks{poster, installer};
  int nextSlot = 1;
};

TEST_F(DownloadPlanTest, DefaultProfileGivesTheFixedCodesAndUploadsNothing) {
  EXPECT_EQ(ResolveAll(), (Codes{0x00F00001, 0x00F20001, 0x00F10001, 0x00F40001, 0x00F30001, 0x00010004, 0x00020004}));
  EXPECT_EQ(s.mouse.ReportsSeen(), 0);
  EXPECT_EQ(s.clock.TotalSlept(), 0u);
  EXPECT_EQ(nextSlot, 1);
}

TEST_F(DownloadPlanTest, CodesByType) {
  struct Case {
    int32_t type;
    uint32_t keyCode;
    std::optional<uint32_t> code;
  } cases[] = {
      {142, 0, 0x08040007}, {143, 0, 0x0218F00A}, {121, 0, 0x00000007}, {40, 0, 0x01830003},
      {127, 0, 0x00560800}, {5, 0x00040300, 0x00040300}, {5, 0, 0x00000000},
      {0, 0, std::nullopt}, {36, 0, std::nullopt}, {3, 0, std::nullopt}, {-1, 0, std::nullopt},
  };
  for (const auto& c : cases) {
    block->buttons[2].type = c.type;
    block->buttons[2].keyCode = c.keyCode;
    EXPECT_EQ(Resolve(2), c.code) << c.type;
  }
  EXPECT_EQ(Resolve(7), std::nullopt);
}

TEST_F(DownloadPlanTest, MacroInputsTakeSlotsInInputOrder) {
  AssignMacro(4, kMacroA);
  AssignMacro(2, kMacroB);
  const Codes codes = ResolveAll();
  // Input 2 comes first: slot 1, length 5 (two presses, two releases); input 4 slot 2, length 3.
  EXPECT_EQ(codes[2], 0x05010009u);
  EXPECT_EQ(codes[4], 0x03020009u);
  EXPECT_EQ(nextSlot, 3);
  const auto state = s.mouse.State();
  ASSERT_TRUE(state.macros[1] && state.macros[2]);
  EXPECT_EQ(*state.macros[1], EncodeMacroPayload((*library)[7]).bytes);
  EXPECT_EQ(*state.macros[2], EncodeMacroPayload((*library)[3]).bytes);
  EXPECT_EQ(state.framingErrors, 0) << state.lastFramingError;
  EXPECT_EQ(s.clock.TotalSlept(), 2 * (1700u + 50u));
}

TEST_F(DownloadPlanTest, TheDownloadPlaysTheIdKeptBesideTheBlock) {
  AssignMacro(1, kMacroA);
  block->buttons[1].macroId = int32_t(kMacroB);  // the record's own id is not what is played
  EXPECT_EQ(Resolve(1), 0x03010009u);
  EXPECT_EQ(*s.mouse.State().macros[1], EncodeMacroPayload((*library)[3]).bytes);
}

TEST_F(DownloadPlanTest, AMacroThatCannotBePlayedMakesTheInputDoNothing) {
  (*library)[5].macroId = 0x15000055;  // an id whose entry is free (entrySize 0)
  (*library)[6] = StoredMacro(0x15000066, u"empty", {});  // stored, but without a single event
  for (uint32_t id : {0x15000055u, 0x15FFFFFFu, 0u, 0x15000066u}) {
    AssignMacro(3, id);
    AssignMacro(5, kMacroA);
    const Codes codes = ResolveAll();
    EXPECT_EQ(codes[3], kMissingMacroCode) << id;
    EXPECT_EQ(codes[5], 0x03010009u) << id;  // the next playable macro still gets slot 1
    EXPECT_FALSE(s.mouse.State().macros[2]) << id;  // nothing was uploaded for input 3
  }
}

TEST_F(DownloadPlanTest, SoftwareLaunchKeepsTheDefaultCodeAndIsIntercepted) {
  block->buttons[1].type = 19;
  EXPECT_EQ(ResolveAll()[1], 0x00F20001u);
  EXPECT_EQ(Intercepted(), std::vector<uint32_t>{0x207});

  block->buttons[1].type = 4;
  block->buttons[2].type = 19;
  block->buttons[6].type = 19;
  const Codes codes = ResolveAll();
  EXPECT_EQ(codes[2], 0x00F10001u);
  EXPECT_EQ(codes[6], 0x00020004u);
  EXPECT_EQ(Intercepted(), (std::vector<uint32_t>{0x204, 0x20A00}));

  FillWithDefaults(*block, true);
  ResolveAll();
  EXPECT_TRUE(Intercepted().empty());
}

}  // namespace
}  // namespace nx7
