#pragma once
// How the settings store and the macro library speak to the user. The windows implement it: the
// Windows message box and the program's own message box are different windows, and catalogue
// texts come from the active language file.
#include <string>
#include <string_view>

namespace nx7 {

class StoreMessages {
 public:
  virtual ~StoreMessages() = default;
  // The standard Windows message box with the caption "Info" and an OK button.
  virtual void ShowInfoBox(std::u16string_view text) = 0;
  // The program's own message box in its form with a single OK button and no countdown.
  virtual void ShowMessageBox(std::u16string_view text) = 0;
  // The text of a string-catalogue key in the active language ("str_msg2", ...).
  virtual std::u16string CatalogueText(std::string_view key) = 0;
};

// `format` with its first "%s" replaced by `path`. Everything else, other '%' sequences included,
// is kept as it stands: catalogue texts come from editable files and are never used as a format.
std::u16string FormatWithPath(std::u16string_view format, std::u16string_view path);

}  // namespace nx7
