#pragma once
// What a store operation did that the user must see or the windows must follow up, in the order
// it happened. The stores touch files and the registry only; the window that called them turns
// the outcome into message boxes, button states, page refreshes and downloads.
#include <array>
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "i18n/string_keys.h"

namespace nx7 {

// The messages the stores report.
enum class StoreMessage {
  FileNotFound,          // catalogue "str_msg2" with the path: "Cannot find %s" in the shipped files
  FolderNotWritable,     // catalogue "str_msg4"
  ProfileNotSaved,       // catalogue "str_msg5"
  OpenFailedCreating,    // built-in, with the path: the profile file is missing and is created
  NotAProfile,           // built-in, with the path
};

// Which box shows a message: the Windows message box captioned "Info", or the program's own.
enum class MessageBoxKind { Info, Program };

struct StoreStep {
  enum class Kind {
    Show,                 // show `message` (with `path`) in `box`
    RefreshPages,         // the performance and lighting pages show the settings block again
    StartDownload,        // a download unless one runs, without the progress dialog
    StartDownloadShowing, // the same, then the progress dialog modally
    DownloadFinished,     // the save after a download is complete: a new download may start
  };
  Kind kind;
  StoreMessage message = StoreMessage::FileNotFound;
  MessageBoxKind box = MessageBoxKind::Info;
  std::u16string path;
};

inline constexpr size_t kProfileButtonCount = 5;

struct StoreOutcome {
  std::vector<StoreStep> steps;
  // The checked state of the five profile buttons, when the operation changed it.
  std::optional<std::array<bool, kProfileButtonCount>> profileButtons;

  void Show(MessageBoxKind box, StoreMessage message, std::u16string path = {}) {
    steps.push_back({StoreStep::Kind::Show, message, box, std::move(path)});
  }
  void Then(StoreStep::Kind kind) { steps.push_back({kind, StoreMessage::FileNotFound, MessageBoxKind::Info, {}}); }
};

// The catalogue key of a message's text, or nothing for a built-in text.
std::optional<StringKey> StoreMessageKey(StoreMessage message);

// The text of a Show step: the catalogue text (or the built-in text) with the step's path in
// place of its first "%s". `catalogueText` gives the active language's text of a key.
std::u16string StoreMessageText(const StoreStep& step, const std::function<std::u16string(StringKey)>& catalogueText);

}  // namespace nx7
