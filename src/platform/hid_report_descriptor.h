#pragma once
// A HID report descriptor parser (HID 1.11, section 6.2.2): collections, usages, report ids and
// the sizes of the input, output and feature reports. It reads what a host needs to pick a
// collection and size its reports, not units or physical ranges.
//
// Parsing never throws. The result carries a status and the byte offset of the item where it
// stopped; on an error the descriptor keeps what was read before that item.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/hid.h"

namespace nx7 {

enum class HidReportKind : uint8_t { Input, Output, Feature };

struct HidCollection {
  uint16_t usagePage = 0;
  uint16_t usage = 0;
  uint8_t type = 0;    // 0 physical, 1 application, 2 logical, ...
  int parent = -1;     // index in `collections`; -1 for a top-level collection
};

// One Input, Output or Feature main item.
struct HidMainItem {
  HidReportKind kind = HidReportKind::Input;
  uint8_t reportId = 0;
  uint32_t reportSize = 0;   // bits per field
  uint32_t reportCount = 0;  // fields
  uint32_t flags = 0;        // the item's data bits: bit 0 constant, bit 1 variable, ...
  // Usages as 32-bit extended usages (page << 16 | id), in the order declared; with a range,
  // `usageMinimum`..`usageMaximum` instead.
  std::vector<uint32_t> usages;
  bool isRange = false;
  uint32_t usageMinimum = 0;
  uint32_t usageMaximum = 0;
  int collection = -1;  // the innermost open collection, index in `collections`

  bool constant() const { return flags & 1; }
  bool variable() const { return flags & 2; }
};

struct HidReportDescriptor {
  std::vector<HidCollection> collections;  // in the order they open
  std::vector<HidMainItem> items;
  bool usesReportIds = false;
};

enum class HidDescriptorStatus {
  Ok,
  Truncated,             // an item runs past the end
  UnbalancedCollection,  // End Collection with none open, or one left open at the end
  TooDeep,               // collections or Push nested deeper than any real device needs
  PopWithoutPush,
  BadReportId,           // report id 0 (reserved) or above 255
  ReportTooLong,         // size × count beyond what a report can carry
  MainItemOutsideCollection,
};

struct HidDescriptorResult {
  HidDescriptorStatus status = HidDescriptorStatus::Ok;
  size_t offset = 0;  // the item where parsing stopped (the length when it read everything)
  bool ok() const { return status == HidDescriptorStatus::Ok; }
};

HidDescriptorResult ParseHidReportDescriptor(const uint8_t* data, size_t length, HidReportDescriptor& out);

// The byte length of the longest report of a kind, report id byte included (always counted, as
// Windows does, so a device without report ids still reports one more byte); 0 when there is none.
uint16_t HidReportByteLength(const HidReportDescriptor& descriptor, HidReportKind kind);

// What the Windows HID parser derives from the descriptor: the first top-level collection's
// usage and the report lengths, and the feature value capabilities (variable, non-constant
// fields of at least one field wider than one bit; one-bit fields are buttons). A field with several usages gives one
// capability per usage, the last taking the remaining count. `linkCollection` numbers the
// collections below each top-level collection from 0 (the top-level one itself), in order.
HidCaps CapsOf(const HidReportDescriptor& descriptor);
std::vector<HidValueCaps> FeatureValueCapsOf(const HidReportDescriptor& descriptor);

}  // namespace nx7
