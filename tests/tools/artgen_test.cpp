// Runs the artwork generator and checks its output against the layout tables: every file the
// program loads exists with the size and pixel format it needs, the manifest is true, two runs give
// the same bytes, and the pictures agree where the program cuts one from another.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "platform/ini_file.h"
#include "skin/layout.h"

namespace fs = std::filesystem;
namespace L = nx7::layout;

namespace {

std::vector<uint8_t> ReadAll(const fs::path& path) {
  std::ifstream f(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(f), {});
}

uint32_t Le32(const std::vector<uint8_t>& b, size_t at) { return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | uint32_t(b[at + 3]) << 24; }
uint16_t Le16(const std::vector<uint8_t>& b, size_t at) { return static_cast<uint16_t>(b[at] | b[at + 1] << 8); }
uint32_t Be32(const std::vector<uint8_t>& b, size_t at) { return uint32_t(b[at]) << 24 | b[at + 1] << 16 | b[at + 2] << 8 | b[at + 3]; }

struct Picture {
  int width = 0;
  int height = 0;
  int bits = 0;        // BMP bits per pixel; 24 for an RGB PNG, 32 for an RGBA PNG
  bool valid = false;
  bool stamped = false;  // a PNG carrying a time chunk
};

Picture Inspect(const fs::path& path) {
  const auto b = ReadAll(path);
  Picture p;
  if (b.size() >= 54 && b[0] == 'B' && b[1] == 'M') {
    p.width = static_cast<int>(Le32(b, 18));
    p.height = static_cast<int>(Le32(b, 22));
    p.bits = Le16(b, 28);
    const size_t row = ((p.width * p.bits / 8) + 3) & ~size_t(3);
    p.valid = Le32(b, 30) == 0 && Le32(b, 10) == 54 && b.size() == 54 + row * p.height && Le32(b, 2) == b.size();
  } else if (b.size() >= 33 && b[1] == 'P' && b[2] == 'N' && b[3] == 'G') {
    p.width = static_cast<int>(Be32(b, 16));
    p.height = static_cast<int>(Be32(b, 20));
    p.bits = b[24] != 8 ? 0 : b[25] == 6 ? 32 : b[25] == 2 ? 24 : 0;
    p.valid = std::string(b.begin() + 12, b.begin() + 16) == "IHDR";
    for (size_t at = 8; at + 8 <= b.size(); at += 12 + Be32(b, at)) {
      const std::string type(b.begin() + at + 4, b.begin() + at + 8);
      if (type == "tIME") p.stamped = true;
      if (type == "IEND") break;
    }
  }
  return p;
}

// 24-bit BMP pixels as 0xRRGGBB, top row first.
struct Pixels {
  int width = 0, height = 0;
  std::vector<uint32_t> rgb;
  uint32_t at(int x, int y) const { return rgb[static_cast<size_t>(y) * width + x]; }
};

Pixels Load24(const fs::path& path) {
  const auto b = ReadAll(path);
  Pixels px;
  px.width = static_cast<int>(Le32(b, 18));
  px.height = static_cast<int>(Le32(b, 22));
  const size_t row = ((px.width * 3) + 3) & ~size_t(3);
  px.rgb.resize(static_cast<size_t>(px.width) * px.height);
  for (int y = 0; y < px.height; ++y) {
    const size_t start = 54 + row * (px.height - 1 - y);
    for (int x = 0; x < px.width; ++x) {
      const size_t o = start + x * 3;
      px.rgb[static_cast<size_t>(y) * px.width + x] = uint32_t(b[o + 2]) << 16 | b[o + 1] << 8 | b[o];
    }
  }
  return px;
}

bool SameArea(const Pixels& a, const Pixels& b, const L::Rect& r) {
  for (int y = r.top; y < r.bottom; ++y)
    for (int x = r.left; x < r.right; ++x)
      if (a.at(x, y) != b.at(x, y)) return false;
  return true;
}

class ArtworkTest : public ::testing::Test {
 protected:
  static fs::path Run(const std::string& name, const std::string& extra = "") {
    const fs::path out = fs::temp_directory_path() / ("nx7-artgen-test-" + std::to_string(::getpid()) + "-" + name);
    fs::remove_all(out);
    const std::string cmd = std::string("\"") + NX7_ARTGEN + "\" --out \"" + out.string() + "\"" + extra;
    EXPECT_EQ(std::system(cmd.c_str()), 0) << cmd;
    return out;
  }
  static void SetUpTestSuite() { out_ = new fs::path(Run("a")); }
  static void TearDownTestSuite() {
    fs::remove_all(*out_);
    delete out_;
  }
  static const fs::path& Out() { return *out_; }
  static fs::path* out_;
};
fs::path* ArtworkTest::out_ = nullptr;

struct Expected {
  std::string path;
  L::Size size;
  int bits;  // 24 for opaque pictures, 32 where the program needs transparency
};

std::vector<Expected> SkinFolder() {
  std::vector<Expected> e;
  const L::Size page = L::kPageClient;
  const L::Size sub = L::setting_pages::kClient;
  for (const char* s : {"Normal", "Down", "Over"}) {
    const std::string st = s;
    std::string lower = st;
    lower[0] = static_cast<char>(lower[0] - 'A' + 'a');
    e.push_back({"skins/Main_" + st + ".bmp", L::main_window::kClient, 24});
    e.push_back({"skins/NX7_Main_" + st + ".bmp", page, 24});
    e.push_back({"skins/Light/LedSet_" + lower + ".bmp", page, 24});
    e.push_back({"skins/Macro_" + lower + ".bmp", page, 24});
    e.push_back({"skins/Sts_" + st + ".bmp", page, 24});
    e.push_back({"skins/support_" + lower + ".bmp", page, 24});
    e.push_back({"skins/setting/Setting_" + st + ".bmp", L::setting_dialog::kClient, 24});
    e.push_back({"skins/base/Base_" + st + ".bmp", sub, 24});
    e.push_back({"skins/advanced/Advanced_" + st + ".bmp", sub, 24});
    e.push_back({"skins/macro/Macro_" + st + ".bmp", sub, 24});
    e.push_back({"skins/combo/Combo_" + st + ".bmp", sub, 24});
  }
  const L::Size trophy{L::stats_page::kTrophyPicture.width(), L::stats_page::kTrophyPicture.height()};
  for (int level = 0; level <= 12; ++level) e.push_back({"skins/trophy/trophy" + std::to_string(level) + "Down.bmp", trophy, 24});
  e.push_back({"skins/Slider.png", L::art::kSliderThumb, 32});
  e.push_back({"skins/ProgressBar/Progress_Normal.png", L::progress_dialog::kClient, 24});
  e.push_back({"skins/ProgressBar/Progress_Over.png", L::progress_dialog::kClient, 24});
  for (const char* f : {"up_select.png", "up_normal.png", "down_select.png", "down_normal.png", "delay_select.png", "delay_normal.png"})
    e.push_back({std::string("skins/") + f, L::art::kListIcon, 32});
  for (const char* f : {"MenuNorL.BMP", "MenuOverL.BMP", "MenuDownL.BMP", "MenuNorHaveSub.BMP", "MenuOverHaveSub.BMP", "MenuDownHaveSub.BMP"})
    e.push_back({std::string("skins/Menu/") + f, L::art::kCategoryMenuItem, 24});
  return e;
}

std::vector<Expected> Resources() {
  std::vector<Expected> e;
  auto bmp = [&](int id, L::Size s) { e.push_back({"resources/IDB_" + std::to_string(id) + ".bmp", s, 24}); };
  auto png = [&](int id, L::Size s, int bits) { e.push_back({"resources/IDP_" + std::to_string(id) + ".png", s, bits}); };
  for (int id = 142; id <= 153; ++id) bmp(id, L::art::kFlag);
  for (int id = 154; id <= 159; ++id) bmp(id, L::main_window::kClient);
  for (int id = 160; id <= 165; ++id) bmp(id, L::kPageClient);
  bmp(166, L::art::kScrollSkin);
  for (int id = 1004; id <= 1009; ++id) bmp(id, L::message_box::kClient);
  png(129, L::art::kMenuFrame, 32);  // the popup's rounded corners are see-through
  for (int id = 130; id <= 141; ++id) png(id, L::art::kMenuIcon, 24);
  return e;
}

TEST_F(ArtworkTest, EveryFileHasItsSizeAndFormat) {
  std::vector<Expected> all = SkinFolder();
  const std::vector<Expected> res = Resources();
  all.insert(all.end(), res.begin(), res.end());
  for (const Expected& x : all) {
    SCOPED_TRACE(x.path);
    ASSERT_TRUE(fs::exists(Out() / x.path));
    const Picture p = Inspect(Out() / x.path);
    EXPECT_TRUE(p.valid);
    EXPECT_EQ(p.width, x.size.width);
    EXPECT_EQ(p.height, x.size.height);
    EXPECT_EQ(p.bits, x.bits);
    EXPECT_FALSE(p.stamped);
  }
}

TEST_F(ArtworkTest, IconsHoldEverySize) {
  for (int id : {128, 1011, 1012}) {
    const auto b = ReadAll(Out() / ("resources/IDI_" + std::to_string(id) + ".ico"));
    ASSERT_GE(b.size(), 6u + 16 * 5);
    EXPECT_EQ(Le16(b, 2), 1);  // icon
    ASSERT_EQ(Le16(b, 4), 5);
    std::vector<int> sizes;
    for (int i = 0; i < 5; ++i) {
      const size_t entry = 6 + 16 * i;
      sizes.push_back(b[entry] == 0 ? 256 : b[entry]);
      EXPECT_LE(Le32(b, entry + 12) + Le32(b, entry + 8), b.size());
    }
    EXPECT_EQ(sizes, (std::vector<int>{16, 24, 32, 48, 256}));
  }
}

TEST_F(ArtworkTest, ManifestListsEveryFileWithItsTrueSize) {
  std::ifstream list(Out() / "artwork.txt");
  std::map<std::string, std::string> manifest;
  std::string path, size;
  while (list >> path >> size) manifest[path] = size;
  size_t files = 0;
  for (const auto& entry : fs::recursive_directory_iterator(Out()))
    if (entry.is_regular_file() && entry.path().filename() != "artwork.txt") ++files;
  EXPECT_EQ(manifest.size(), files);
  for (const auto& [file, dims] : manifest) {
    SCOPED_TRACE(file);
    ASSERT_TRUE(fs::exists(Out() / file));
    if (file.ends_with(".ico") || file.ends_with(".ini")) continue;
    const Picture p = Inspect(Out() / file);
    EXPECT_EQ(dims, std::to_string(p.width) + "x" + std::to_string(p.height));
  }
}

TEST_F(ArtworkTest, TwoRunsGiveTheSameBytes) {
  const fs::path again = Run("b");
  size_t compared = 0;
  for (const auto& entry : fs::recursive_directory_iterator(Out())) {
    if (!entry.is_regular_file()) continue;
    const fs::path rel = fs::relative(entry.path(), Out());
    SCOPED_TRACE(rel.string());
    EXPECT_TRUE(ReadAll(entry.path()) == ReadAll(again / rel));
    ++compared;
  }
  EXPECT_GT(compared, 100u);
  fs::remove_all(again);
}

// The performance page's sliders and edit box take their background from the page pictures of
// its input tabs: those must match the page's own skin file there.
TEST_F(ArtworkTest, PerformanceResourcesMatchThePageWhereTheSlidersSit) {
  namespace pp = L::performance_page;
  const Pixels page = Load24(Out() / "skins/NX7_Main_Normal.bmp");
  for (int id : {163, 164, 165}) {
    SCOPED_TRACE(id);
    const Pixels res = Load24(Out() / ("resources/IDB_" + std::to_string(id) + ".bmp"));
    EXPECT_TRUE(SameArea(page, res, pp::kPointerSpeedSlider));
    EXPECT_TRUE(SameArea(page, res, pp::kSecondSlider));
    EXPECT_TRUE(SameArea(page, res, pp::kLinesEdit.english));
  }
}

// Every button shows a different picture when highlighted and when pressed or checked.
TEST_F(ArtworkTest, ButtonsLookDifferentInEachState) {
  struct Case {
    std::string normal, over, down;
    std::vector<L::Rect> rects;
  };
  namespace pp = L::performance_page;
  namespace lp = L::lighting_page;
  std::vector<L::Rect> mainRects{L::main_window::kMinimiseButton, L::main_window::kCloseButton, L::main_window::kLanguageButton};
  std::vector<L::Rect> regionRects;
  for (const auto& q : L::main_window::kPageTabs) regionRects.push_back(q.bounds());
  for (const auto& q : L::main_window::kProfileButtons) regionRects.push_back(q.bounds());
  regionRects.push_back(L::main_window::kApplyButton.bounds());
  std::vector<L::Rect> perf(pp::kDpiButtons.begin(), pp::kDpiButtons.end());
  perf.insert(perf.end(), pp::kReportRateButtons.begin(), pp::kReportRateButtons.end());
  perf.push_back(pp::kPrecisionSwitch);
  perf.push_back(pp::kLinesOption.english);
  perf.push_back(pp::kScreenOption.english);
  std::vector<L::Rect> tabs;
  for (const auto& q : pp::kInputTabs) tabs.push_back(q.bounds());
  std::vector<L::Rect> light;
  for (const auto& m : lp::kModeButtons) light.push_back(m.english);
  for (int k = 0; k < lp::kPaletteCount; ++k) light.push_back(lp::PaletteButton(k, false));
  light.push_back(lp::kColourCheck.english);
  light.push_back(lp::kBodyLightOn.english);
  light.push_back(lp::kBodyLightOff.english);
  namespace mb = L::message_box;
  const std::vector<Case> cases{
      {"skins/Main_Normal.bmp", "skins/Main_Over.bmp", "skins/Main_Down.bmp", mainRects},
      {"resources/IDB_157.bmp", "resources/IDB_158.bmp", "resources/IDB_159.bmp", regionRects},
      {"resources/IDB_154.bmp", "resources/IDB_155.bmp", "resources/IDB_156.bmp", regionRects},
      {"skins/NX7_Main_Normal.bmp", "skins/NX7_Main_Over.bmp", "skins/NX7_Main_Down.bmp", perf},
      {"resources/IDB_164.bmp", "resources/IDB_165.bmp", "resources/IDB_163.bmp", tabs},
      {"resources/IDB_161.bmp", "resources/IDB_162.bmp", "resources/IDB_160.bmp", tabs},
      {"skins/Light/LedSet_normal.bmp", "skins/Light/LedSet_over.bmp", "skins/Light/LedSet_down.bmp", light},
      {"skins/support_normal.bmp", "skins/support_over.bmp", "skins/support_down.bmp",
       {L::support_page::kFirmwareUpdate, L::support_page::kWebSite, L::support_page::kImport, L::support_page::kExport, L::support_page::kRestoreDefaults}},
      {"skins/Sts_Normal.bmp", "skins/Sts_Over.bmp", "skins/Sts_Down.bmp", {L::stats_page::kResetButton, L::stats_page::Lamp(0), L::stats_page::Lamp(12)}},
      {"resources/IDB_1007.bmp", "resources/IDB_1009.bmp", "resources/IDB_1005.bmp", {mb::kCloseButton, mb::kOkSingle}},
      {"resources/IDB_1006.bmp", "resources/IDB_1008.bmp", "resources/IDB_1004.bmp", {mb::kCloseButton, mb::kOkPair, mb::kCancelPair}},
      {"skins/setting/Setting_Normal.bmp", "skins/setting/Setting_Over.bmp", "skins/setting/Setting_Down.bmp",
       {L::setting_dialog::kCloseButton, L::setting_dialog::kTabs[0], L::setting_dialog::kTabs[3], L::setting_dialog::kDisableCheck,
        L::setting_dialog::kRestoreButton, L::setting_dialog::kOkButton}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.normal);
    const Pixels n = Load24(Out() / c.normal), o = Load24(Out() / c.over), d = Load24(Out() / c.down);
    for (const L::Rect& r : c.rects) {
      SCOPED_TRACE(std::to_string(r.left) + "," + std::to_string(r.top));
      EXPECT_FALSE(SameArea(n, o, r));
      EXPECT_FALSE(SameArea(n, d, r));
      EXPECT_FALSE(SameArea(o, d, r));
    }
  }
}

// The lighting page's wheel holds the colours a user expects at its rim: a click there takes the
// pixel under the pointer.
TEST_F(ArtworkTest, ColourWheelShowsPureHuesAtItsRim) {
  const Pixels page = Load24(Out() / "skins/Light/LedSet_normal.bmp");
  const L::Rect w = L::lighting_page::kColourWheel;
  const int cx = (w.left + w.right) / 2, cy = (w.top + w.bottom) / 2;
  const int rx = w.width() / 2 - 4;
  auto channel = [](uint32_t rgb, int shift) { return static_cast<int>((rgb >> shift) & 0xFF); };
  const uint32_t right = page.at(cx + rx, cy);   // red side
  const uint32_t left = page.at(cx - rx, cy);    // cyan side
  EXPECT_GT(channel(right, 16), 220);
  EXPECT_LT(channel(right, 8), 60);
  EXPECT_LT(channel(left, 16), 60);
  EXPECT_GT(channel(left, 8), 200);
  const uint32_t centre = page.at(cx, cy);
  EXPECT_GT(channel(centre, 16), 200);
  EXPECT_GT(channel(centre, 8), 200);
  EXPECT_GT(channel(centre, 0), 200);
}

TEST_F(ArtworkTest, ChineseSkinsFollowTheChineseLayout) {
  const fs::path zh = Run("zh", " --chinese-skins");
  namespace lp = L::lighting_page;
  const Pixels en = Load24(Out() / "skins/Light/LedSet_down.bmp");
  const Pixels cn = Load24(zh / "skins/Light/LedSet_down.bmp");
  const Pixels cnNormal = Load24(zh / "skins/Light/LedSet_normal.bmp");
  // The checked palette button 0 sits elsewhere in each layout.
  EXPECT_FALSE(SameArea(cnNormal, cn, lp::PaletteButton(0, true)));
  EXPECT_FALSE(SameArea(en, cn, lp::PaletteButton(0, false)));
  // Each skin folder tells the program which layout it carries.
  nx7::FileIniFile ini;
  const auto layout = [&](const fs::path& out) {
    return nx7::ReadIniInt(ini, (out / "skins/languagetype.ini").u16string(), u"languagetype", u"value", -1);
  };
  EXPECT_EQ(layout(Out()), 0);
  EXPECT_EQ(layout(zh), 1);
  fs::remove_all(zh);
}

TEST(ArtgenCommandLine, ReportsAnOutputFolderItCannotWrite) {
  // A regular file where the output folder should be: nothing can be written below it.
  const fs::path blocker = fs::temp_directory_path() / ("nx7-artgen-test-blocker-" + std::to_string(::getpid()));
  std::ofstream(blocker) << "not a folder";
  const std::string cmd = std::string("\"") + NX7_ARTGEN + "\" --out \"" + (blocker / "out").string() + "\" >/dev/null 2>&1";
  const int status = std::system(cmd.c_str());
  EXPECT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 1);
  fs::remove(blocker);
}

TEST(ArtgenCommandLine, RefusesUnknownArguments) {
  const std::string cmd = std::string("\"") + NX7_ARTGEN + "\" --colour-me-pink >/dev/null 2>&1";
  EXPECT_NE(std::system(cmd.c_str()), 0);
  const std::string bare = std::string("\"") + NX7_ARTGEN + "\" >/dev/null 2>&1";
  EXPECT_NE(std::system(bare.c_str()), 0);
}

}  // namespace

namespace nx7::artgen {
namespace {

// The resource script lines and the id header come from the list the resources are rendered
// from: every resource file written has its line under its number, and every number its name.
TEST(ArtgenResourceList, NamesEveryRenderedResourceOnceInTheScriptAndTheHeader) {
  const fs::path root = fs::temp_directory_path() / ("nx7-artgen-list-" + std::to_string(::getpid()));
  const std::string cmd = std::string("\"") + NX7_ARTGEN + "\" --out \"" + (root / "out").string() +
                          "\" --resource-list \"" + (root / "list").string() + "\" >/dev/null 2>&1";
  ASSERT_EQ(std::system(cmd.c_str()), 0) << cmd;
  std::map<std::string, std::string> lines;  // file → "id TYPE"
  {
    std::ifstream rc(root / "list" / "artwork.rc");
    std::string line;
    while (std::getline(rc, line)) {
      if (line.starts_with("//")) continue;
      const size_t quote = line.find('"');
      ASSERT_NE(quote, std::string::npos) << line;
      const fs::path file = line.substr(quote + 1, line.size() - quote - 2);
      EXPECT_TRUE(file.is_absolute()) << line;
      EXPECT_TRUE(lines.emplace(fs::relative(file, root / "out").generic_string(), line.substr(0, quote - 1)).second)
          << line;
    }
  }
  size_t resources = 0;
  for (const auto& entry : fs::directory_iterator(root / "out" / "resources")) {
    ++resources;
    const std::string name = entry.path().filename().string();  // IDB_157.bmp, IDP_129.png, IDI_128.ico
    const std::string id = name.substr(4, name.find('.') - 4);
    const std::string type = name.starts_with("IDB_") ? "BITMAP" : name.starts_with("IDP_") ? "PNG" : "ICON";
    EXPECT_EQ(lines["resources/" + name], id + " " + type) << name;
  }
  EXPECT_EQ(lines.size(), resources);
  EXPECT_EQ(resources, 25u + 6u + 13u + 3u);

  std::ifstream header(root / "list" / "artwork_ids.h");
  const std::string ids((std::istreambuf_iterator<char>(header)), std::istreambuf_iterator<char>());
  for (const char* define : {"#define IDI_APP 128\n", "#define IDI_MENU_EXIT 1011\n", "#define IDI_MENU_CONFIG 1012\n",
                             "#define IDB_FLAG_1 142\n", "#define IDB_MAIN_EN_NORMAL 157\n",
                             "#define IDB_MESSAGE_BOX_PAIR_DOWN 1004\n", "#define IDP_MENU_FRAME 129\n"}) {
    EXPECT_NE(ids.find(define), std::string::npos) << define;
  }
  size_t defines = 0;
  for (size_t at = ids.find("#define ID"); at != std::string::npos; at = ids.find("#define ID", at + 1)) ++defines;
  EXPECT_EQ(defines, resources);
  fs::remove_all(root);
}

}  // namespace
}  // namespace nx7::artgen
