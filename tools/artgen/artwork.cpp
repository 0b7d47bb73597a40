#include "artwork.h"

#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "image_files.h"
#include "scenes.h"

namespace fs = std::filesystem;
namespace L = nx7::layout;

namespace nx7::artgen {
namespace {

enum class Format { Bmp24, Bmp32, Png };

struct Job {
  std::string path;  // relative to the output folder
  L::Size size;
  Format format;
  std::function<void(Canvas&)> paint;
  // Resources compiled into the program: their number and the name of the number.
  int id = 0;
  std::string name;
};

struct IconJob {
  std::string path;
  AppIcon icon;
  int id;
  const char* name;
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
    jobs.push_back({std::move(path), size, Format::Bmp24, std::move(paint), 0, {}});
  };
  auto png = [&](std::string path, L::Size size, std::function<void(Canvas&)> paint) {
    jobs.push_back({std::move(path), size, Format::Png, std::move(paint), 0, {}});
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

  // Resources compiled into the program, numbered by the layout's tables; this list is also what
  // the resource script lines and the id header are written from (WriteResourceList).
  auto res = [&](int id, std::string name, L::Size size, std::function<void(Canvas&)> paint, bool bitmap = true) {
    const std::string path = "resources/" + std::string(bitmap ? "IDB_" : "IDP_") + std::to_string(id) + (bitmap ? ".bmp" : ".png");
    jobs.push_back({path, size, bitmap ? Format::Bmp24 : Format::Png, std::move(paint), id, (bitmap ? "IDB_" : "IDP_") + name});
  };
  for (int lang = 1; lang <= 12; ++lang) {
    res(L::resource::kFlagFirst + lang - 1, "FLAG_" + std::to_string(lang), L::art::kFlag, [=](Canvas& c) { PaintFlag(c, lang); });
    res(L::resource::kMenuIconFirst + lang - 1, "MENU_ICON_" + std::to_string(lang), L::art::kMenuIcon, [=](Canvas& c) { PaintFlag(c, lang); }, false);
  }
  res(L::resource::kMenuFramePng, "MENU_FRAME", L::art::kMenuFrame, [](Canvas& c) { PaintMenuFrame(c); }, false);
  // Main-window region buttons: normal, over, down per language.
  for (int chinese = 0; chinese < 2; ++chinese) {
    const std::string lang = chinese ? "_ZH_" : "_EN_";
    const int base = chinese ? L::resource::kMainChinese : L::resource::kMainEnglish;
    res(base, "MAIN" + lang + "NORMAL", L::main_window::kClient, [=](Canvas& c) { PaintMainWindow(c, Look::Normal, chinese); });
    res(base + 1, "MAIN" + lang + "OVER", L::main_window::kClient, [=](Canvas& c) { PaintMainWindow(c, Look::Over, chinese); });
    res(base + 2, "MAIN" + lang + "DOWN", L::main_window::kClient, [=](Canvas& c) { PaintMainWindow(c, Look::Down, chinese); });
    // Performance-page input tabs: down, normal, over per language.
    const int perf = chinese ? L::resource::kPerformanceChinese : L::resource::kPerformanceEnglish;
    res(perf, "PERFORMANCE" + lang + "DOWN", L::kPageClient, [=](Canvas& c) { PaintPerformancePage(c, Look::Down, chinese); });
    res(perf + 1, "PERFORMANCE" + lang + "NORMAL", L::kPageClient, [=](Canvas& c) { PaintPerformancePage(c, Look::Normal, chinese); });
    res(perf + 2, "PERFORMANCE" + lang + "OVER", L::kPageClient, [=](Canvas& c) { PaintPerformancePage(c, Look::Over, chinese); });
  }
  res(L::resource::kScrollSkin, "SCROLL_SKIN", L::art::kScrollSkin, [](Canvas& c) { PaintScrollSkin(c); });
  // Message box, one-button and two-button forms (normal, hot, pressed).
  const Look boxLooks[3] = {Look::Normal, Look::Over, Look::Down};
  const char* boxNames[3] = {"NORMAL", "OVER", "DOWN"};
  for (int i = 0; i < 3; ++i) {
    const Look look = boxLooks[i];
    res(L::message_box::kSingleBitmaps[i], std::string("MESSAGE_BOX_SINGLE_") + boxNames[i], L::message_box::kClient, [=](Canvas& c) { PaintMessageBox(c, look, false); });
    res(L::message_box::kPairBitmaps[i], std::string("MESSAGE_BOX_PAIR_") + boxNames[i], L::message_box::kClient, [=](Canvas& c) { PaintMessageBox(c, look, true); });
  }
  return jobs;
}

// The resource script lines (one per picture, by absolute path) and the id header (one name per
// number) of every resource written, in the order rendered.
struct ResourceLine {
  int id;
  std::string name;
  const char* type;
  std::string path;
};

bool WriteResourceList(const fs::path& out, const fs::path& listDir, const std::vector<ResourceLine>& lines,
                       std::string& error) {
  std::error_code ec;
  fs::create_directories(listDir, ec);
  std::ofstream rc(listDir / "artwork.rc", std::ios::binary | std::ios::trunc);
  std::ofstream ids(listDir / "artwork_ids.h", std::ios::binary | std::ios::trunc);
  rc << "// Generated by nx7-artgen: the pictures compiled into the program.\n";
  ids << "/* Generated by nx7-artgen: the numbers of the pictures compiled into the program. */\n"
         "#ifndef NX7_ARTWORK_IDS_H\n#define NX7_ARTWORK_IDS_H\n";
  for (const ResourceLine& line : lines) {
    rc << line.id << ' ' << line.type << " \"" << fs::absolute(out / line.path).generic_string() << "\"\n";
    ids << "#define " << line.name << ' ' << line.id << '\n';
  }
  ids << "#endif\n";
  if (!rc || !ids) {
    error = "cannot write the resource list";
    return false;
  }
  return true;
}

bool WriteJob(const fs::path& out, const Job& job) {
  Canvas canvas(job.size.width, job.size.height);
  job.paint(canvas);
  const fs::path target = out / job.path;
  std::error_code ec;
  fs::create_directories(target.parent_path(), ec);  // a failure shows when the file is written
  switch (job.format) {
    case Format::Bmp24: return WriteBmp24(canvas, target.string());
    case Format::Bmp32: return WriteBmp32(canvas, target.string());
    case Format::Png: return WritePng(canvas, target.string());
  }
  return false;
}

constexpr int kIconSizes[] = {16, 24, 32, 48, 256};

}  // namespace

bool GenerateArtwork(const fs::path& out, bool chineseSkins, std::string& error, const fs::path& resourceList) {
  std::error_code ec;
  fs::create_directories(out, ec);
  std::vector<std::string> manifest;
  std::vector<ResourceLine> resources;
  for (const Job& job : Jobs(chineseSkins)) {
    if (!WriteJob(out, job)) {
      error = "cannot write " + (out / job.path).string();
      return false;
    }
    manifest.push_back(job.path + " " + std::to_string(job.size.width) + "x" + std::to_string(job.size.height));
    if (job.id) resources.push_back({job.id, job.name, job.format == Format::Png ? "PNG" : "BITMAP", job.path});
  }
  const IconJob icons[] = {
      {"resources/IDI_" + std::to_string(L::resource::kAppIcon) + ".ico", AppIcon::Application, L::resource::kAppIcon, "IDI_APP"},
      {"resources/IDI_" + std::to_string(L::resource::kExitIcon) + ".ico", AppIcon::Exit, L::resource::kExitIcon, "IDI_MENU_EXIT"},
      {"resources/IDI_" + std::to_string(L::resource::kConfigIcon) + ".ico", AppIcon::Config, L::resource::kConfigIcon, "IDI_MENU_CONFIG"}};
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
    fs::create_directories(target.parent_path(), ec);
    if (!WriteIco(images, target.string())) {
      error = "cannot write " + target.string();
      return false;
    }
    manifest.push_back(job.path + " " + sizes);
    resources.push_back({job.id, job.name, "ICON", job.path});
  }
  if (!resourceList.empty() && !WriteResourceList(out, resourceList, resources, error)) return false;
  {
    // The skin folder says which layout it carries: the program reads it at start to pick the
    // default language and the controls' places, so it must match the pictures.
    const std::string layout = chineseSkins ? "1" : "0";
    std::ofstream ini(out / "skins" / "languagetype.ini", std::ios::binary | std::ios::trunc);
    ini << "[languagetype]\r\nvalue=" << layout << "\r\n";
    if (!ini) {
      error = "cannot write " + (out / "skins" / "languagetype.ini").string();
      return false;
    }
    manifest.push_back("skins/languagetype.ini value=" + layout);
  }
  std::ofstream list(out / "artwork.txt", std::ios::trunc);
  for (const std::string& line : manifest) list << line << '\n';
  if (!list) {
    error = "cannot write the manifest";
    return false;
  }
  return true;
}

}  // namespace nx7::artgen
