#include "app/main_window_rules.h"

namespace nx7 {

namespace {

std::optional<uint8_t> HexByte(const std::u16string& text) {
  if (text.empty() || text.size() > 2) return std::nullopt;
  unsigned value = 0;
  for (char16_t c : text) {
    value <<= 4;
    if (c >= u'0' && c <= u'9') value |= unsigned(c - u'0');
    else if (c >= u'a' && c <= u'f') value |= unsigned(c - u'a' + 10);
    else if (c >= u'A' && c <= u'F') value |= unsigned(c - u'A' + 10);
    else return std::nullopt;
  }
  return static_cast<uint8_t>(value);
}

// Decimal seconds from 1 to 3600.
std::optional<uint32_t> Seconds(const std::u16string& text) {
  if (text.empty() || text.size() > 4) return std::nullopt;
  uint32_t value = 0;
  for (char16_t c : text) {
    if (c < u'0' || c > u'9') return std::nullopt;
    value = value * 10 + uint32_t(c - u'0');
  }
  if (value < 1 || value > 3600) return std::nullopt;
  return value;
}

}  // namespace

ParsedOptions ParseProgramOptions(const std::vector<std::u16string>& args) {
  ParsedOptions parsed;
  ProgramOptions& o = parsed.options;
  bool traceSeen = false;
  auto refuse = [&](std::u16string why) {
    parsed.error = std::move(why);
    return parsed;
  };
  for (size_t i = 0; i < args.size(); ++i) {
    const std::u16string& a = args[i];
    if (a == u"--virtual") {
      if (o.useVirtual) return refuse(u"--virtual given twice");
      o.useVirtual = true;
    } else if (a == u"--virtual-bootloader") {
      if (o.virtualBootloader) return refuse(u"--virtual-bootloader given twice");
      o.virtualBootloader = true;
    } else if (a == u"--trace") {
      if (traceSeen) return refuse(u"--trace given twice");
      if (i + 1 >= args.size() || args[i + 1].empty()) return refuse(u"--trace needs a file");
      traceSeen = true;
      o.tracePath = args[++i];
    } else if (a == u"--report") {
      if (!o.reportPath.empty()) return refuse(u"--report given twice");
      if (i + 1 >= args.size() || args[i + 1].empty()) return refuse(u"--report needs a file");
      o.reportPath = args[++i];
    } else if (a == u"--fail-command") {
      if (o.failCommand) return refuse(u"--fail-command given twice");
      if (i + 1 >= args.size()) return refuse(u"--fail-command needs a command byte");
      o.failCommand = HexByte(args[++i]);
      if (!o.failCommand) return refuse(u"--fail-command needs a hexadecimal byte");
    } else if (a == u"--stats-save-seconds") {
      if (o.statsSaveSeconds) return refuse(u"--stats-save-seconds given twice");
      if (i + 1 >= args.size()) return refuse(u"--stats-save-seconds needs a number of seconds");
      o.statsSaveSeconds = Seconds(args[++i]);
      if (!o.statsSaveSeconds) return refuse(u"--stats-save-seconds needs a number from 1 to 3600");
    } else if (a == u"--apply-pointer-settings") {
      if (o.applyPointerSettings) return refuse(u"--apply-pointer-settings given twice");
      o.applyPointerSettings = true;
    } else {
      return refuse(u"unknown option " + a);
    }
  }
  if (o.virtualBootloader && !o.useVirtual) return refuse(u"--virtual-bootloader needs --virtual");
  if (o.failCommand && !o.useVirtual) return refuse(u"--fail-command needs --virtual");
  if (o.applyPointerSettings && !o.useVirtual) return refuse(u"--apply-pointer-settings needs --virtual");
  return parsed;
}

PageSwitch PageSwitchTo(int page, bool macroPageRecording) {
  PageSwitch s;
  if (page < 1 || page > kPageCount) return s;
  if (page != kMacroPage) {
    s.closeMacroMenu = true;
    s.stopRecording = macroPageRecording;
  }
  s.tabChecked[size_t(page - 1)] = true;
  s.profileAndApplyEnabled = page <= 2;
  s.reloadPage = page <= 2;
  return s;
}

ApplySteps ApplyButtonSteps(int32_t wheelLines, bool downloadIdle) {
  ApplySteps steps;
  steps.commitWheelLines = wheelLines != -1;
  steps.startDownload = downloadIdle;
  return steps;
}

std::vector<int> MainWindowHintsAt(int x, int y, const std::array<HintRect, 11>& buttons) {
  std::vector<int> hints;
  for (size_t i = 0; i < buttons.size(); ++i) {
    const HintRect& r = buttons[i];
    // The window rectangle grown by one pixel, right and bottom exclusive as a RECT.
    if (x >= r.left - 1 && x < r.right + 1 && y >= r.top - 1 && y < r.bottom + 1) hints.push_back(int(i) + 1);
  }
  return hints;
}

}  // namespace nx7
