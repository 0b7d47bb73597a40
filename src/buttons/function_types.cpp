#include "buttons/function_types.h"

#include "i18n/chinese_text.h"

namespace nx7 {

const FunctionTypeRow* FindFunctionType(int32_t type) {
  for (const auto& row : kFunctionTypes) {
    if (row.type == type) return &row;
  }
  return nullptr;
}

std::u16string FunctionName(int32_t type, bool chinese) {
  const FunctionTypeRow* row = FindFunctionType(type);
  if (!row) return {};
  return std::u16string(BilingualText(chinese, row->chinese, row->english));
}

}  // namespace nx7
