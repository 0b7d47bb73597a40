#include "i18n/chinese_text.h"

namespace nx7 {

bool chineseText = true;

}  // namespace nx7
