#include "download/download_service.h"

#include "buttons/inputs.h"
#include "download/download_plan.h"
#include "macros/input_hooks.h"
#include "platform/clock.h"

namespace nx7 {
namespace {

struct NullObserver final : DownloadObserver {
  void Progress(int) override {}
  void Done() override {}
  void Failed(int) override {}
};

}  // namespace

PreparedDownload Prepare(const DownloadModel& model) {
  PreparedDownload prepared;
  prepared.block = std::make_unique<SettingsBlock>(model.block);
  prepared.adjusted = ClampToDocumentedRanges(*prepared.block);
  prepared.refusal = DownloadRefusal(*prepared.block, model.chineseText);
  if (!prepared.refusal) prepared.plan = PlanDownload(*prepared.block, model.macroIds, model.library);
  return prepared;
}

std::vector<UnplayableMacro> UnplayableMacros(const DownloadPlan& plan) {
  std::vector<UnplayableMacro> out;
  for (size_t i = 0; i < plan.inputs.size(); ++i)
    if (plan.inputs[i].unplayableMacroId) out.push_back({i, *plan.inputs[i].unplayableMacroId});
  return out;
}

void ApplyIntercepts(InputHooks& hooks, const DownloadPlan& plan) {
  for (size_t i = 0; i < plan.inputs.size(); ++i) {
    hooks.SetMouseIntercept(InterceptEvent(i), true);
    if (plan.inputs[i].intercept) hooks.SetMouseIntercept(InterceptEvent(i), false);
  }
}

DownloadService::DownloadService(CUSBDriver& device, Clock& clock, InputHooks* hooks, PointerSettings pointerSettings)
    : device_(device), clock_(clock), hooks_(hooks), pointerSettings_(std::move(pointerSettings)) {}

DownloadResult DownloadService::DownloadOnce(const DownloadModel& model, DownloadObserver* observer) {
  NullObserver none;
  return Run(model, observer ? *observer : none, true);
}

std::function<void(DownloadObserver&)> DownloadService::WorkerPass(const DownloadModel& model) {
  return [this, model](DownloadObserver& observer) { Run(model, observer, false); };
}

DownloadResult DownloadService::Run(const DownloadModel& model, DownloadObserver& observer, bool openingPause) {
  const PreparedDownload prepared = Prepare(model);
  DownloadResult result;
  result.adjusted = prepared.adjusted;
  if (prepared.refusal) {
    result.refusal = prepared.refusal;
    if (!openingPause) observer.Failed(kStageKeyMatrix);
    return last_ = result;
  }
  result.unplayableMacros = UnplayableMacros(prepared.plan);
  if (openingPause) clock_.Sleep(50);
  if (hooks_) ApplyIntercepts(*hooks_, prepared.plan);
  std::function<void()> pointer;
  if (pointerSettings_) pointer = [&] { pointerSettings_(*prepared.block); };
  DownloadPassContext context{device_, clock_, prepared.plan, pointer, observer};
  result.failedStage = RunDownloadPass(context);
  result.dpiLevelCountRefused = context.dpiLevelCountRefused;
  result.reportRateRefused = context.reportRateRefused;
  return last_ = result;
}

}  // namespace nx7
