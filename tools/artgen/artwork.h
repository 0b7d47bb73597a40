#pragma once
// Renders every skin file and picture resource of the program into one folder, with a manifest
// (artwork.txt) listing each file and its size in pixels. The same inputs give the same bytes.
#include <filesystem>
#include <string>

namespace nx7::artgen {

// Writes OUT/skins/..., OUT/resources/... and OUT/artwork.txt. The skin files are single-language:
// the English layout unless `chineseSkins`. With `resourceList` given, also writes there the
// resource script lines (artwork.rc) and the id header (artwork_ids.h) of the resources rendered.
// On failure returns false and says why in `error`.
bool GenerateArtwork(const std::filesystem::path& out, bool chineseSkins, std::string& error,
                     const std::filesystem::path& resourceList = {});

}  // namespace nx7::artgen
