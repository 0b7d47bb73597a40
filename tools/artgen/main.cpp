// nx7-artgen: renders every skin file and picture resource of the program.
//
//   nx7-artgen --out DIR [--chinese-skins] [--resource-list LISTDIR]
//
// writes DIR/skins/... (the skin folder beside the program), DIR/resources/IDB_<id>.bmp,
// IDP_<id>.png and IDI_<id>.ico (compiled into the program), and DIR/artwork.txt listing every
// file with its size in pixels. The skin files are single-language: by default they carry the
// English layout, which every language but Chinese uses; --chinese-skins draws the Chinese one.
// DIR/skins/languagetype.ini names the layout drawn (value 0 English, 1 Chinese).
// With --resource-list, LISTDIR/artwork.rc (the resource script lines of the resources, by absolute
// path) and LISTDIR/artwork_ids.h (a name for each resource number) are written from the same
// list the resources are rendered from. The same inputs always give the same bytes.
#include <fontconfig/fontconfig.h>
#include <pango/pangocairo.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

#include "artwork.h"

namespace {

int Usage() {
  std::fprintf(stderr, "usage: nx7-artgen --out DIR [--chinese-skins] [--resource-list LISTDIR]\n");
  return 2;
}

int Generate(int argc, char** argv) {
  std::filesystem::path out;
  std::filesystem::path resourceList;
  bool chineseSkins = false;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--out") == 0 && i + 1 < argc) out = argv[++i];
    else if (std::strcmp(argv[i], "--chinese-skins") == 0) chineseSkins = true;
    else if (std::strcmp(argv[i], "--resource-list") == 0 && i + 1 < argc) resourceList = argv[++i];
    else return Usage();
  }
  if (out.empty()) return Usage();
  std::string error;
  if (!nx7::artgen::GenerateArtwork(out, chineseSkins, error, resourceList)) {
    std::fprintf(stderr, "nx7-artgen: %s\n", error.c_str());
    return 1;
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const int status = Generate(argc, argv);
  // Hand back the font caches so leak checkers see a clean exit. Pango loads fontconfig on a
  // thread of its own; tearing fontconfig down while that thread still runs aborts the process
  // (seen when an early failure ends the run under load), so first wait for it: listing the
  // families needs the loaded fonts.
  PangoFontFamily** families = nullptr;
  int familyCount = 0;
  pango_font_map_list_families(pango_cairo_font_map_get_default(), &families, &familyCount);
  g_free(families);
  pango_cairo_font_map_set_default(nullptr);
  cairo_debug_reset_static_data();
  FcFini();
  return status;
}
