#pragma once
// The application context: created once at start-up, it owns the services through which the
// program reaches the system (clock, files, registry, INI files, HID, input hooks, window
// messages) and the model every window edits (the settings block being edited with its macro
// ids, the macro library, the profile slots, the string catalogue). Windows and stores receive
// what they use from it; nothing here is process-wide, so a test makes as many as it likes.
//
// Threads: everything is used on the user-interface thread, except that the download worker
// reads the model while the modal progress dialog keeps the windows from changing it.
#include <memory>
#include <string>

#include "i18n/language_choice.h"
#include "i18n/string_catalogue.h"
#include "i18n/xml_reader.h"
#include "macros/input_hooks.h"
#include "macros/macro_library.h"
#include "platform/clock.h"
#include "platform/file_system.h"
#include "platform/hid.h"
#include "platform/ini_file.h"
#include "platform/message_poster.h"
#include "platform/registry.h"
#include "store/profile_store.h"
#include "store/settings_block.h"

namespace nx7 {

// The system behind the program: the Windows back-ends in the program, virtual ones in tests
// and on the virtual mouse.
struct AppServices {
  std::unique_ptr<Clock> clock;
  std::unique_ptr<FileSystem> files;
  std::unique_ptr<Registry> registry;
  std::unique_ptr<IniFile> ini;
  std::unique_ptr<HidSystem> hid;
  std::unique_ptr<HookInstaller> hookInstaller;
  std::unique_ptr<MessagePoster> poster;
};

// What the windows edit, zero until the start-up order fills it.
struct AppModel {
  SettingsBlock settings{};
  // Kept right beside the block: a write past the block's end would show here first.
  ButtonMacroIds macroIds{};
  std::unique_ptr<MacroLibrary> library = std::make_unique<MacroLibrary>();  // 2 MB
  StringCatalogue catalogue;
  // Picks the Chinese or English form of every built-in text and language-dependent layout.
  bool chineseText = true;
};

class AppContext {
 public:
  // Every service must be given. `programFolder` is the folder every file path is built from,
  // as path text without a final separator.
  AppContext(std::u16string programFolder, AppServices services);
  AppContext(const AppContext&) = delete;
  AppContext& operator=(const AppContext&) = delete;

  const std::u16string& ProgramFolder() const { return programFolder_; }

  Clock& clock() { return *services_.clock; }
  FileSystem& files() { return *services_.files; }
  Registry& registry() { return *services_.registry; }
  IniFile& ini() { return *services_.ini; }
  HidSystem& hid() { return *services_.hid; }
  MessagePoster& poster() { return *services_.poster; }
  InputHooks& hooks() { return hooks_; }
  // The one XML reader, shared by the language files and the firmware check.
  CXmlReader& xml() { return xml_; }

  AppModel& model() { return model_; }
  SettingsBlock& settings() { return model_.settings; }
  ButtonMacroIds& macroIds() { return model_.macroIds; }
  MacroLibrary& library() { return *model_.library; }
  StringCatalogue& catalogue() { return model_.catalogue; }

  ProfileStore& profiles() { return profiles_; }
  MacroStore& macros() { return macros_; }
  // What the language choice reads and writes.
  LanguageContext Language() { return {programFolder_, ini(), registry(), catalogue(), xml_, model_.chineseText}; }
  bool ChineseText() const { return model_.chineseText; }

 private:
  static AppServices Checked(AppServices services);

  std::u16string programFolder_;
  AppServices services_;
  AppModel model_;
  CXmlReader xml_;
  InputHooks hooks_;
  ProfileStore profiles_;
  MacroStore macros_;
};

}  // namespace nx7
