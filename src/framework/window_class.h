#pragma once
// WindowClass: states a window class's message table once. The class derives from
// WindowClass<Self, Base, Mixins...> and lists its entries in one static function,
//
//   static constexpr auto MessageEntries() { return Entries(On<...>(), OnControl<...>()); }
//
// from which the table (own entries, then each mix-in's table, then the base class's) and the
// Messages() override are made. The table is public as Self::Table(), so a class derived from a
// skinned control chains it and extends it. Mix-ins (DoubleBufferedPaint<Self>, ...) are
// inherited through WindowClass.
#include "framework/message_table.h"

namespace nx7::win32 {

template <class Self, class Base, class... Mixins>
class WindowClass : public Base, public Mixins... {
 public:
  using Base::Base;

  static const MessageTable& Table() {
    static const auto entries = Self::MessageEntries();
    static const MessageTable* const chained[] = {&Mixins::Table()..., &Base::Table()};
    static const MessageTable table{entries, chained};
    return table;
  }

 protected:
  const MessageTable& Messages() const override { return Table(); }
};

}  // namespace nx7::win32
