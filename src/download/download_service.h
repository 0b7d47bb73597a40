#pragma once
// The one way a profile reaches the mouse, used by the program, nx7ctl and the fuzzer: check the
// profile, bring its values into their ranges, plan, set the input hooks' intercepts, send.
//
//   DownloadService service(session, clock, &hooks, pointerSettings);
//   tools:    DownloadResult r = service.DownloadOnce(model);        // now, on this thread
//   program:  Prepare(model) before setting the download event (to show a refusal), then the
//             DownloadWorker runs service.WorkerPass(model) on its thread.
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "device/download_pass.h"
#include "macros/macro_library.h"
#include "store/settings_block.h"
#include "store/settings_ranges.h"

namespace nx7 {

class CUSBDriver;
class Clock;
class InputHooks;

// What a download reads. The UI cannot change it during a pass: the progress dialog is modal.
struct DownloadModel {
  const SettingsBlock& block;
  const ButtonMacroIds& macroIds;  // the download plays these ids, not the records' macroId
  const MacroLibrary& library;
  bool chineseText = true;  // the language of a refusal
};

// A download decided but not yet sent.
struct PreparedDownload {
  std::optional<std::u16string> refusal;   // set: nothing may be sent
  std::vector<RangeAdjustment> adjusted;   // values brought into their ranges
  std::unique_ptr<SettingsBlock> block;    // the block as sent, values in range
  DownloadPlan plan;
};

// Pure: checks, clamps and plans.
PreparedDownload Prepare(const DownloadModel& model);

struct UnplayableMacro {
  size_t input;
  uint32_t macroId;
};

struct DownloadResult {
  std::optional<std::u16string> refusal;  // refused before anything was sent
  int failedStage = -1;                   // the stage that failed the pass, -1 when none did
  bool dpiLevelCountRefused = false;      // the mouse refused these; the pass still succeeded
  bool reportRateRefused = false;
  std::vector<RangeAdjustment> adjusted;
  std::vector<UnplayableMacro> unplayableMacros;  // inputs that now do nothing

  bool Succeeded() const { return !refusal && failedStage < 0; }
};

// The unplayable macro inputs of a plan, in input order.
std::vector<UnplayableMacro> UnplayableMacros(const DownloadPlan& plan);

// Each input's intercept entry is removed, and added back for the inputs the plan intercepts.
void ApplyIntercepts(InputHooks& hooks, const DownloadPlan& plan);

class DownloadService {
 public:
  // Pushes the three Windows pointer settings of the block as sent; may be empty.
  using PointerSettings = std::function<void(const SettingsBlock&)>;

  // `hooks` may be null (a tool that places no hooks). All must outlive the service.
  DownloadService(CUSBDriver& device, Clock& clock, InputHooks* hooks, PointerSettings pointerSettings);

  // One whole download on this thread: the pass's opening 50 ms, then the pass, reporting to
  // `observer` when given. A refused profile sends nothing and makes no pause.
  DownloadResult DownloadOnce(const DownloadModel& model, DownloadObserver* observer = nullptr);

  // The pass the DownloadWorker runs (it makes the opening pause itself). A profile refused
  // here — the program asks Prepare first, so only one changed in between — sends nothing and
  // reports the key-matrix stage, so the user never sees success. The last result is kept.
  std::function<void(DownloadObserver&)> WorkerPass(const DownloadModel& model);
  const DownloadResult& LastResult() const { return last_; }

 private:
  DownloadResult Run(const DownloadModel& model, DownloadObserver& observer, bool openingPause);

  CUSBDriver& device_;
  Clock& clock_;
  InputHooks* hooks_;
  PointerSettings pointerSettings_;
  DownloadResult last_;
};

}  // namespace nx7
