#include "app/app_context.h"

#include <gtest/gtest.h>

#include "macros/input_hooks_virtual.h"
#include "platform/virtual/recording_poster.h"
#include "platform/virtual/virtual_clock.h"
#include "platform/virtual/virtual_file_system.h"
#include "device/virtual/virtual_mouse.h"
#include "platform/virtual/virtual_registry.h"

namespace nx7 {
namespace {

const std::u16string kFolder = u"C:\\NX7";

struct VirtualServices {
  VirtualFileSystem* files = nullptr;
  VirtualRegistry* registry = nullptr;

  AppServices Make() {
    AppServices s;
    s.clock = std::make_unique<VirtualClock>(1000);
    auto fs = std::make_unique<VirtualFileSystem>();
    fs->AddFolder(kFolder);
    files = fs.get();
    s.files = std::move(fs);
    auto reg = std::make_unique<VirtualRegistry>();
    registry = reg.get();
    s.registry = std::move(reg);
    s.ini = std::make_unique<FileIniFile>();
    s.hid = std::make_unique<VirtualMouse>();
    s.hookInstaller = std::make_unique<VirtualHookInstaller>();
    s.poster = std::make_unique<RecordingPoster>();
    return s;
  }
};

TEST(AppContext, RefusesAMissingService) {
  VirtualServices v;
  AppServices services = v.Make();
  services.hid.reset();
  EXPECT_THROW(AppContext(kFolder, std::move(services)), std::invalid_argument);
}

TEST(AppContext, TwoContextsShareNothing) {
  VirtualServices va, vb;
  auto a = std::make_unique<AppContext>(kFolder, va.Make());
  auto b = std::make_unique<AppContext>(kFolder, vb.Make());
  FillWithDefaults(a->settings(), true);
  a->macroIds() = {7, 0, 0, 0, 0, 0, 9};
  (*a->model().library)[0].macroId = 5;
  EXPECT_EQ(b->settings().magic, 0u);
  EXPECT_EQ(b->macroIds(), ButtonMacroIds{});
  EXPECT_EQ(b->library()[0].macroId, 0u);
  EXPECT_NE(&a->xml(), &b->xml());
  EXPECT_NE(&a->catalogue(), &b->catalogue());
}

TEST(AppContext, DefaultsLeaveTheMacroIdsBesideTheBlockAlone) {
  VirtualServices v;
  auto context = std::make_unique<AppContext>(kFolder, v.Make());
  context->macroIds() = {7, 0, 0, 0, 0, 0, 9};
  FillWithDefaults(context->settings(), context->ChineseText());
  EXPECT_EQ(context->macroIds(), (ButtonMacroIds{7, 0, 0, 0, 0, 0, 9}));
}

TEST(AppContext, StoresWorkOnTheModelAndTheContextsServices) {
  VirtualServices v;
  auto context = std::make_unique<AppContext>(kFolder, v.Make());
  const StoreOutcome start = context->profiles().LoadAtStart();
  EXPECT_TRUE(start.steps.empty());
  EXPECT_EQ(context->settings().magic, kSettingsMagic);  // the defaults written for slot 0
  EXPECT_TRUE(v.files->FileContent(kFolder + u"\\Profile\\Profile1.cfg").has_value());
  EXPECT_TRUE(v.registry->Value(kProgramKey, kConfigInfoValue).has_value());

  StoreOutcome load;
  EXPECT_FALSE(context->macros().LoadMacroLibrary(load));
  ASSERT_EQ(load.steps.size(), 1u);
  EXPECT_EQ(load.steps[0].message, StoreMessage::FileNotFound);
  EXPECT_EQ(load.steps[0].path, kFolder + u"\\Macro.cfg");
}

}  // namespace
}  // namespace nx7
