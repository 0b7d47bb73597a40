#include "store/store_outcome.h"

#include "common/text.h"

namespace nx7 {

std::optional<StringKey> StoreMessageKey(StoreMessage message) {
  switch (message) {
    case StoreMessage::FileNotFound: return StringKey::str_msg2;
    case StoreMessage::FolderNotWritable: return StringKey::str_msg4;
    case StoreMessage::ProfileNotSaved: return StringKey::str_msg5;
    case StoreMessage::OpenFailedCreating:
    case StoreMessage::NotAProfile: break;
  }
  return std::nullopt;
}

std::u16string StoreMessageText(const StoreStep& step,
                                const std::function<std::u16string(StringKey)>& catalogueText) {
  std::u16string format;
  if (const std::optional<StringKey> key = StoreMessageKey(step.message)) {
    format = catalogueText(*key);
  } else if (step.message == StoreMessage::OpenFailedCreating) {
    format = u"Failed to open file, check whether there is a %s path?";
  } else {
    format = u"%s is an invaild Profile!";
  }
  return FormatCatalogueText(format, step.path);
}

}  // namespace nx7
