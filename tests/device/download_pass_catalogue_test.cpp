// The pass with the button catalogue resolving the inputs: macros uploaded into on-board slots in
// input order, launches intercepted on the computer.
#include <gtest/gtest.h>

#include <memory>

#include "device/device_fixture.h"
#include "download/download_service.h"
#include "macros/input_hooks.h"
#include "macros/input_hooks_virtual.h"
#include "macros/macro_library.h"
#include "platform/virtual/recording_poster.h"

namespace nx7 {
namespace {

struct CataloguePass {
  testing::VirtualSession s;
  SettingsBlock block{};
  ButtonMacroIds macroIds{};
  std::unique_ptr<MacroLibrary> library = std::make_unique<MacroLibrary>();
  RecordingPoster posts;
  VirtualHookInstaller installer;
  InputHooks hooks{posts, installer};

  CataloguePass() {
    FillWithDefaults(block, true);
    EXPECT_TRUE(s.driver.Open());
  }
  // A playable macro: press, 50 ms, release of `key`.
  void AddMacro(size_t entry, uint32_t id, uint32_t key) {
    MacroEntry& e = (*library)[entry];
    e.entrySize = 4104;
    e.entrySignature = 0xE8E80010;
    e.macroId = id;
    e.repeatCount = 1;
    e.eventCount = 3;
    e.macroEvents[0] = 0xC0000000 | key;
    e.macroEvents[1] = 0xA0000032;
    e.macroEvents[2] = 0xE0000000 | key;
  }
  int Run() {
    DownloadService service(s.driver, s.tracedClock, &hooks, {});
    return service.DownloadOnce({block, macroIds, *library}).failedStage;
  }
};

TEST(DownloadPassWithCatalogue, TwoMacroInputsTakeSlotsOneAndTwoInInputOrder) {
  CataloguePass p;
  p.AddMacro(0, 0x01000004, 0x42);  // input 4's macro comes first in the library
  p.AddMacro(1, 0x01000002, 0x41);
  p.block.buttons[2].type = 6;
  p.block.buttons[4].type = 6;
  p.macroIds[2] = 0x01000002;
  p.macroIds[4] = 0x01000004;
  ASSERT_EQ(p.Run(), -1);
  const VirtualMouseState st = p.s.mouse.State();
  // Input 2 sits at matrix entry 1, input 4 at entry 4; word count 3 in the top byte.
  EXPECT_EQ(st.keyMatrix->at(1), 0x03010009u);
  EXPECT_EQ(st.keyMatrix->at(4), 0x03020009u);
  ASSERT_TRUE(st.macros[1] && st.macros[2]);
  EXPECT_EQ((std::vector<uint8_t>(st.macros[1]->begin(), st.macros[1]->begin() + 7)),
            (std::vector<uint8_t>{0x00, 0x01, 0x06, 0x04, 0x81, 0x04, 0x00}));  // 'A'
  EXPECT_EQ((std::vector<uint8_t>(st.macros[2]->begin(), st.macros[2]->begin() + 7)),
            (std::vector<uint8_t>{0x00, 0x01, 0x06, 0x05, 0x81, 0x05, 0x00}));  // 'B'
  EXPECT_FALSE(st.macros[3].has_value());
  EXPECT_EQ(st.framingErrors, 0);
}

TEST(DownloadPassWithCatalogue, NoMacroInputUploadsNothing) {
  CataloguePass p;
  p.AddMacro(0, 0x01000002, 0x41);
  p.macroIds[2] = 0x01000002;  // an id alone does not make a macro input
  ASSERT_EQ(p.Run(), -1);
  for (const auto& slot : p.s.mouse.State().macros) EXPECT_FALSE(slot.has_value());
}

TEST(DownloadPassWithCatalogue, ALaunchKeepsTheDefaultCodeAndIsInterceptedUntilChangedBack) {
  CataloguePass p;
  p.block.buttons[1].type = 19;
  ASSERT_EQ(p.Run(), -1);
  EXPECT_EQ(p.s.mouse.State().keyMatrix->at(2), 0x00F20001u);
  EXPECT_TRUE(p.hooks.IsMouseIntercepted(0x207));
  p.block.buttons[1].type = 4;
  ASSERT_EQ(p.Run(), -1);
  EXPECT_FALSE(p.hooks.IsMouseIntercepted(0x207));
  EXPECT_EQ(p.s.mouse.State().keyMatrix->at(2), 0x00F20001u);
}

}  // namespace
}  // namespace nx7
