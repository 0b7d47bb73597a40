#include "app/app_context.h"

#include <stdexcept>

namespace nx7 {

AppServices AppContext::Checked(AppServices services) {
  if (!services.clock || !services.files || !services.registry || !services.ini || !services.hid ||
      !services.hookInstaller || !services.poster)
    throw std::invalid_argument("AppContext: every service must be given");
  return services;
}

AppContext::AppContext(std::u16string programFolder, AppServices services)
    : programFolder_(std::move(programFolder)),
      services_(Checked(std::move(services))),
      hooks_(*services_.poster, *services_.hookInstaller),
      profiles_(*services_.registry, *services_.files, programFolder_, model_.settings, model_.macroIds,
                model_.chineseText),
      macros_(*services_.files, *services_.clock, programFolder_, *model_.library) {}

}  // namespace nx7
