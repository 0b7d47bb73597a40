#include "buttons/launches.h"

#include <cstdint>
#include <optional>
#include <utility>

#include "buttons/function_types.h"
#include "buttons/inputs.h"

namespace nx7 {
namespace {

// The path up to its terminator, or the whole field when it has none.
std::u16string LaunchPath(const ButtonAssignment& assignment) {
  size_t length = 0;
  while (length < kTextFieldLength && assignment.launchPath[length] != u'\0') ++length;
  return std::u16string(assignment.launchPath, length);
}

}  // namespace

Launch LaunchOf(const ButtonAssignment& assignment) {
  if (assignment.type != kTypeSoftwareLaunch) return {};
  std::u16string path = LaunchPath(assignment);
  if (path.empty()) return {};
  switch (assignment.launchKind) {
    case kLaunchSound:
      return {Launch::Kind::PlaySound, std::move(path)};
    case kLaunchProgram:
      return {Launch::Kind::Open, std::move(path)};
    case kLaunchFile:
    case kLaunchFolder:
      // The shell takes the text whole; programs get theirs unquoted.
      if (path.find(u' ') != std::u16string::npos) path = u"\"" + path + u"\"";
      return {Launch::Kind::Open, std::move(path)};
    default:
      return {};
  }
}

HookedInputResponse RespondToHookedInput(uintptr_t wParam, intptr_t lParam, const SettingsBlock& settings) {
  HookedInputResponse response{wParam, lParam, {}};
  if (wParam > UINT32_MAX) return response;
  const std::optional<int> input = ButtonOfMouseEventCode(static_cast<MouseEventCode>(wParam));
  if (!input) return response;
  response.launch = LaunchOf(settings.buttons[*input]);
  return response;
}

void PerformLaunch(const Launch& launch, Shell& shell) {
  switch (launch.kind) {
    case Launch::Kind::None:
      break;
    case Launch::Kind::PlaySound:
      shell.PlaySoundFile(launch.target);
      break;
    case Launch::Kind::Open:
      shell.Open(launch.target, {});
      break;
  }
}

}  // namespace nx7
