// nx7-artgen: renders every skin file and picture resource of the program.
//
//   nx7-artgen --out DIR [--chinese-skins]
//
// writes DIR/skins/... (the skin folder beside the program), DIR/resources/IDB_<id>.bmp,
// IDP_<id>.png and IDI_<id>.ico (compiled into the program), and DIR/artwork.txt listing every
// file with its size in pixels. The skin files are single-language: by default they carry the
// English layout, which every language but Chinese uses; --chinese-skins draws the Chinese one.
// The same inputs always give the same bytes.
#include <fontconfig/fontconfig.h>
#include <pango/pangocairo.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "image_files.h"
#include "scenes.h"

namespace fs = std::filesystem;
using namespace nx7::artgen;
namespace L = nx7::layout;

namespace {

enum class Format { Bmp24, Bmp32, Png };

struct Job {
  std::string path;  // relative to the output folder
  L::Size size;
  Format format;
  std::function<void(Canvas&)> paint;
};

struct IconJob {
  std::string path;
  AppIcon icon;
};

const char* LookName(Look l, bool lower) {
  switch (l) {
    case Look::Normal: return lower ? "normal" : "Normal";
    case Look::Over: return lower ? "over" : "Over";
    case Look::Down: return lower ? "down" : "Down";
  }
  return "";
}

constexpr Look kLooks[] = {Look::Normal, Look::Down, Look::Over};

std::vector<Job> Jobs(bool chineseSkins) {
  std::vector<Job> jobs;
  const bool zh = chineseSkins;
  auto bmp = [&](std::string path, L::Size size, std::function<void(Canvas&)> paint) {
    jobs.push_back({std::move(path), size, Format::Bmp24, std::move(paint)});
  };
  auto png = [&](std::string path, L::Size size, std::function<void(Canvas&)> paint) {
    jobs.push_back({std::move(path), size, Format::Png, std::move(paint)});
  };

  // Whole-window skin files.
  for (Look look : kLooks) {
    const std::string upper = LookName(look, false), lower = LookName(look, true);
    bmp("skins/Main_" + upper + ".bmp", L::main_window::kClient, [=](Canvas& c) { PaintMainWindow(c, look, zh); });
    bmp("skins/NX7_Main_" + upper + ".bmp", L::kPageClient, [=](Canvas& c) { PaintPerformancePage(c, look, zh); });
    bmp("skins/Light/LedSet_" + lower + ".bmp", L::kPageClient, [=](Canvas& c) { PaintLightingPage(c, look, zh); });
    bmp("skins/Macro_" + lower + ".bmp", L::kPageClient, [=](Canvas& c) { PaintMacroPage(c, look, zh); });
    bmp("skins/Sts_" + upper + ".bmp", L::kPageClient, [=](Canvas& c) { PaintStatsPage(c, look, zh); });
    bmp("skins/support_" + lower + ".bmp", L::kPageClient, [=](Canvas& c) { PaintSupportPage(c, look, zh); });
    bmp("skins/setting/Setting_" + upper + ".bmp", L::setting_dialog::kClient, [=](Canvas& c) { PaintSettingDialog(c, look, zh); });
    bmp("skins/base/Base_" + upper + ".bmp", L::setting_pages::kClient, [=](Canvas& c) { PaintBasePage(c, look, zh); });
    bmp("skins/advanced/Advanced_" + upper + ".bmp", L::setting_pages::kClient, [=](Canvas& c) { PaintAdvancedPage(c, look, zh); });
    bmp("skins/macro/Macro_" + upper + ".bmp", L::setting_pages::kClient, [=](Canvas& c) { PaintMacroSetPage(c, look, zh); });
    bmp("skins/combo/Combo_" + upper + ".bmp", L::setting_pages::kClient, [=](Canvas& c) { PaintComboPage(c, look, zh); });
  }
  for (int level = 0; level < L::stats_page::kTrophyLevels; ++level) {
    const L::Rect t = L::stats_page::kTrophyPicture;
    bmp("skins/trophy/trophy" + std::to_string(level) + "Down.bmp", L::Size{t.width(), t.height()}, [=](Canvas& c) { PaintTrophy(c, level); });
  }
  png("skins/Slider.png", L::art::kSliderThumb, [](Canvas& c) { PaintSliderThumb(c); });
  png("skins/ProgressBar/Progress_Normal.png", L::progress_dialog::kClient, [](Canvas& c) { PaintProgressDialog(c, false); });
  png("skins/ProgressBar/Progress_Over.png", L::progress_dialog::kClient, [](Canvas& c) { PaintProgressDialog(c, true); });
  const struct { const char* name; ListIcon icon; } listIcons[] = {{"up", ListIcon::Up}, {"down", ListIcon::Down}, {"delay", ListIcon::Delay}};
  for (const auto& li : listIcons) {
    png(std::string("skins/") + li.name + "_select.png", L::art::kListIcon, [=](Canvas& c) { PaintListIcon(c, li.icon, true); });
    png(std::string("skins/") + li.name + "_normal.png", L::art::kListIcon, [=](Canvas& c) { PaintListIcon(c, li.icon, false); });
  }
  const struct { const char* name; Look look; bool sub; } menu[] = {
      {"MenuNorL.BMP", Look::Normal, false}, {"MenuOverL.BMP", Look::Over, false}, {"MenuDownL.BMP", Look::Down, false},
      {"MenuNorHaveSub.BMP", Look::Normal, true}, {"MenuOverHaveSub.BMP", Look::Over, true}, {"MenuDownHaveSub.BMP", Look::Down, true}};
  for (const auto& m : menu)
    bmp(std::string("skins/Menu/") + m.name, L::art::kCategoryMenuItem, [=](Canvas& c) { PaintCategoryMenuItem(c, m.look, m.sub); });

  // Resources compiled into the program.
  auto res = [](int id, const char* ext) { return "resources/" + std::string(ext[0] == 'b' ? "IDB_" : "IDP_") + std::to_string(id) + "." + ext; };
  for (int lang = 1; lang <= 12; ++lang) {
    bmp(res(L::resource::kFlagFirst + lang - 1, "bmp"), L::art::kFlag, [=](Canvas& c) { PaintFlag(c, lang); });
    png(res(L::resource::kMenuIconFirst + lang - 1, "png"), L::art::kMenuIcon, [=](Canvas& c) { PaintFlag(c, lang); });
  }
  png(res(L::resource::kMenuFramePng, "png"), L::art::kMenuFrame, [](Canvas& c) { PaintMenuFrame(c); });
  // Main-window region buttons: normal, over, down per language.
  for (int chinese = 0; chinese < 2; ++chinese) {
    const int base = chinese ? L::resource::kMainChinese : L::resource::kMainEnglish;
    bmp(res(base, "bmp"), L::main_window::kClient, [=](Canvas& c) { PaintMainWindow(c, Look::Normal, chinese); });
    bmp(res(base + 1, "bmp"), L::main_window::kClient, [=](Canvas& c) { PaintMainWindow(c, Look::Over, chinese); });
    bmp(res(base + 2, "bmp"), L::main_window::kClient, [=](Canvas& c) { PaintMainWindow(c, Look::Down, chinese); });
    // Performance-page input tabs: down, normal, over per language.
    const int perf = chinese ? L::resource::kPerformanceChinese : L::resource::kPerformanceEnglish;
    bmp(res(perf, "bmp"), L::kPageClient, [=](Canvas& c) { PaintPerformancePage(c, Look::Down, chinese); });
    bmp(res(perf + 1, "bmp"), L::kPageClient, [=](Canvas& c) { PaintPerformancePage(c, Look::Normal, chinese); });
    bmp(res(perf + 2, "bmp"), L::kPageClient, [=](Canvas& c) { PaintPerformancePage(c, Look::Over, chinese); });
  }
  bmp(res(L::resource::kScrollSkin, "bmp"), L::art::kScrollSkin, [](Canvas& c) { PaintScrollSkin(c); });
  // Message box: one-button 1007/1009/1005, two-button 1006/1008/1004 (normal, hot, pressed).
  const Look boxLooks[3] = {Look::Normal, Look::Over, Look::Down};
  for (int i = 0; i < 3; ++i) {
    const Look look = boxLooks[i];
    bmp(res(L::message_box::kSingleBitmaps[i], "bmp"), L::message_box::kClient, [=](Canvas& c) { PaintMessageBox(c, look, false); });
    bmp(res(L::message_box::kPairBitmaps[i], "bmp"), L::message_box::kClient, [=](Canvas& c) { PaintMessageBox(c, look, true); });
  }
  return jobs;
}

bool WriteJob(const fs::path& out, const Job& job) {
  Canvas canvas(job.size.width, job.size.height);
  job.paint(canvas);
  const fs::path target = out / job.path;
  fs::create_directories(target.parent_path());
  switch (job.format) {
    case Format::Bmp24: return WriteBmp24(canvas, target.string());
    case Format::Bmp32: return WriteBmp32(canvas, target.string());
    case Format::Png: return WritePng(canvas, target.string());
  }
  return false;
}

constexpr int kIconSizes[] = {16, 24, 32, 48, 256};

}  // namespace

static int Generate(int argc, char** argv) {
  fs::path out;
  bool chineseSkins = false;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--out") == 0 && i + 1 < argc) out = argv[++i];
    else if (std::strcmp(argv[i], "--chinese-skins") == 0) chineseSkins = true;
    else {
      std::fprintf(stderr, "usage: nx7-artgen --out DIR [--chinese-skins]\n");
      return 2;
    }
  }
  if (out.empty()) {
    std::fprintf(stderr, "usage: nx7-artgen --out DIR [--chinese-skins]\n");
    return 2;
  }
  std::error_code ec;
  fs::create_directories(out, ec);
  std::vector<std::string> manifest;
  for (const Job& job : Jobs(chineseSkins)) {
    if (!WriteJob(out, job)) {
      std::fprintf(stderr, "nx7-artgen: cannot write %s\n", (out / job.path).string().c_str());
      return 1;
    }
    manifest.push_back(job.path + " " + std::to_string(job.size.width) + "x" + std::to_string(job.size.height));
  }
  const IconJob icons[] = {{"resources/IDI_128.ico", AppIcon::Application},
                           {"resources/IDI_1011.ico", AppIcon::Exit},
                           {"resources/IDI_1012.ico", AppIcon::Config}};
  for (const IconJob& job : icons) {
    std::vector<std::unique_ptr<Canvas>> canvases;
    std::vector<Canvas*> images;
    std::string sizes;
    for (int s : kIconSizes) {
      canvases.push_back(std::make_unique<Canvas>(s, s));
      PaintIcon(*canvases.back(), job.icon);
      images.push_back(canvases.back().get());
      sizes += (sizes.empty() ? "" : ",") + std::to_string(s) + "x" + std::to_string(s);
    }
    const fs::path target = out / job.path;
    fs::create_directories(target.parent_path());
    if (!WriteIco(images, target.string())) {
      std::fprintf(stderr, "nx7-artgen: cannot write %s\n", target.string().c_str());
      return 1;
    }
    manifest.push_back(job.path + " " + sizes);
  }
  std::ofstream list(out / "artwork.txt", std::ios::trunc);
  for (const std::string& line : manifest) list << line << '\n';
  if (!list) {
    std::fprintf(stderr, "nx7-artgen: cannot write the manifest\n");
    return 1;
  }
  return 0;
}

int main(int argc, char** argv) {
  const int status = Generate(argc, argv);
  // Hand back the font caches so leak checkers see a clean exit.
  pango_cairo_font_map_set_default(nullptr);
  cairo_debug_reset_static_data();
  FcFini();
  return status;
}
