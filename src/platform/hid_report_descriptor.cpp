#include "platform/hid_report_descriptor.h"

#include <algorithm>
#include <array>
#include <optional>

namespace nx7 {
namespace {

// Item types and tags of short items (HID 1.11, 6.2.2.4 to 6.2.2.8).
enum : uint8_t { kMain = 0, kGlobal = 1, kLocal = 2 };
enum : uint8_t { kInput = 0x8, kOutput = 0x9, kCollection = 0xA, kFeature = 0xB, kEndCollection = 0xC };
enum : uint8_t { kUsagePage = 0x0, kReportSize = 0x7, kReportId = 0x8, kReportCount = 0x9, kPush = 0xA, kPop = 0xB };
enum : uint8_t { kUsage = 0x0, kUsageMinimum = 0x1, kUsageMaximum = 0x2 };
constexpr uint8_t kLongItemPrefix = 0xFE;

// Real devices nest a handful of collections and rarely push at all.
constexpr size_t kMaxDepth = 32;
// The longest report any host accepts: its byte length, report id included, must fit 16 bits.
constexpr uint64_t kMaxReportBits = uint64_t(0xFFFF - 1) * 8;

struct Globals {
  uint16_t usagePage = 0;
  uint32_t reportSize = 0;
  uint32_t reportCount = 0;
  uint32_t reportId = 0;
};

// A usage as declared: a 4-byte one carries its page, a shorter one takes the page current at
// the main item (a Usage Page may follow the usages it applies to).
struct LocalUsage {
  uint32_t value = 0;
  bool extended = false;
};

struct Locals {
  std::vector<LocalUsage> usages;
  std::optional<LocalUsage> minimum, maximum;
};

uint32_t Resolve(const LocalUsage& usage, uint16_t page) {
  return usage.extended ? usage.value : (uint32_t(page) << 16 | (usage.value & 0xFFFF));
}

class Parser {
 public:
  Parser(const uint8_t* data, size_t length, HidReportDescriptor& out) : data_(data), length_(length), out_(out) {}

  HidDescriptorResult Run() {
    size_t offset = 0;
    while (offset < length_) {
      const uint8_t prefix = data_[offset];
      if (prefix == kLongItemPrefix) {
        // Long items (6.2.2.3) are reserved; skipped whole.
        if (length_ - offset < 3 || length_ - offset - 3 < data_[offset + 1])
          return {HidDescriptorStatus::Truncated, offset};
        offset += 3 + size_t(data_[offset + 1]);
        continue;
      }
      const size_t size = (prefix & 3) == 3 ? 4 : (prefix & 3);
      if (length_ - offset - 1 < size) return {HidDescriptorStatus::Truncated, offset};
      uint32_t value = 0;
      for (size_t i = 0; i < size; ++i) value |= uint32_t(data_[offset + 1 + i]) << (8 * i);
      const HidDescriptorStatus status = Item((prefix >> 2) & 3, prefix >> 4, value, size);
      if (status != HidDescriptorStatus::Ok) return {status, offset};
      offset += 1 + size;
    }
    if (!open_.empty()) return {HidDescriptorStatus::UnbalancedCollection, length_};
    return {HidDescriptorStatus::Ok, length_};
  }

 private:
  HidDescriptorStatus Item(uint8_t type, uint8_t tag, uint32_t value, size_t size) {
    switch (type) {
      case kMain: return MainItem(tag, value);
      case kGlobal: return GlobalItem(tag, value);
      case kLocal: LocalItem(tag, value, size); return HidDescriptorStatus::Ok;
      default: return HidDescriptorStatus::Ok;  // reserved type: ignored
    }
  }

  HidDescriptorStatus MainItem(uint8_t tag, uint32_t value) {
    HidDescriptorStatus status = HidDescriptorStatus::Ok;
    switch (tag) {
      case kCollection: {
        if (open_.size() >= kMaxDepth) return HidDescriptorStatus::TooDeep;
        HidCollection c;
        const std::optional<LocalUsage> first =
            !locals_.usages.empty() ? std::optional(locals_.usages.front()) : locals_.minimum;
        const uint32_t usage = first ? Resolve(*first, globals_.usagePage) : uint32_t(globals_.usagePage) << 16;
        c.usagePage = uint16_t(usage >> 16);
        c.usage = uint16_t(usage);
        c.type = uint8_t(value);
        c.parent = open_.empty() ? -1 : open_.back();
        open_.push_back(int(out_.collections.size()));
        out_.collections.push_back(c);
        break;
      }
      case kEndCollection:
        if (open_.empty()) return HidDescriptorStatus::UnbalancedCollection;
        open_.pop_back();
        break;
      case kInput:
      case kOutput:
      case kFeature:
        status = Field(tag == kInput ? HidReportKind::Input : tag == kOutput ? HidReportKind::Output : HidReportKind::Feature,
                       value);
        break;
      default:
        break;  // reserved tag
    }
    locals_ = Locals{};  // local items apply to the next main item only
    return status;
  }

  HidDescriptorStatus Field(HidReportKind kind, uint32_t flags) {
    if (open_.empty()) return HidDescriptorStatus::MainItemOutsideCollection;
    const uint64_t bits = uint64_t(globals_.reportSize) * globals_.reportCount;
    uint64_t& total = bits_[size_t(kind)][globals_.reportId];
    if (bits > kMaxReportBits || total + bits > kMaxReportBits) return HidDescriptorStatus::ReportTooLong;
    total += bits;

    HidMainItem item;
    item.kind = kind;
    item.reportId = uint8_t(globals_.reportId);
    item.reportSize = globals_.reportSize;
    item.reportCount = globals_.reportCount;
    item.flags = flags;
    item.collection = open_.back();
    for (const LocalUsage& u : locals_.usages) item.usages.push_back(Resolve(u, globals_.usagePage));
    if (locals_.minimum && locals_.maximum) {
      item.isRange = true;
      item.usageMinimum = Resolve(*locals_.minimum, globals_.usagePage);
      item.usageMaximum = Resolve(*locals_.maximum, globals_.usagePage);
    }
    out_.items.push_back(std::move(item));
    return HidDescriptorStatus::Ok;
  }

  HidDescriptorStatus GlobalItem(uint8_t tag, uint32_t value) {
    switch (tag) {
      case kUsagePage: globals_.usagePage = uint16_t(value); break;
      case kReportSize: globals_.reportSize = value; break;
      case kReportCount: globals_.reportCount = value; break;
      case kReportId:
        if (value == 0 || value > 0xFF) return HidDescriptorStatus::BadReportId;
        globals_.reportId = value;
        out_.usesReportIds = true;
        break;
      case kPush:
        if (stack_.size() >= kMaxDepth) return HidDescriptorStatus::TooDeep;
        stack_.push_back(globals_);
        break;
      case kPop:
        if (stack_.empty()) return HidDescriptorStatus::PopWithoutPush;
        globals_ = stack_.back();
        stack_.pop_back();
        break;
      default:
        break;  // logical and physical ranges, units: not needed here
    }
    return HidDescriptorStatus::Ok;
  }

  void LocalItem(uint8_t tag, uint32_t value, size_t size) {
    const LocalUsage usage{value, size == 4};
    switch (tag) {
      case kUsage: locals_.usages.push_back(usage); break;
      case kUsageMinimum: locals_.minimum = usage; break;
      case kUsageMaximum: locals_.maximum = usage; break;
      default: break;  // designators, strings, delimiters
    }
  }

  const uint8_t* data_;
  size_t length_;
  HidReportDescriptor& out_;
  Globals globals_;
  Locals locals_;
  std::vector<Globals> stack_;
  std::vector<int> open_;
  std::array<std::array<uint64_t, 256>, 3> bits_{};
};

int TopLevelOf(const HidReportDescriptor& d, int collection) {
  while (collection >= 0 && d.collections[size_t(collection)].parent >= 0) collection = d.collections[size_t(collection)].parent;
  return collection;
}

}  // namespace

HidDescriptorResult ParseHidReportDescriptor(const uint8_t* data, size_t length, HidReportDescriptor& out) {
  out = HidReportDescriptor{};
  if (length == 0) return {HidDescriptorStatus::Ok, 0};
  return Parser(data, length, out).Run();
}

uint16_t HidReportByteLength(const HidReportDescriptor& descriptor, HidReportKind kind) {
  std::array<uint64_t, 256> bits{};
  bool any = false;
  for (const HidMainItem& item : descriptor.items) {
    if (item.kind != kind) continue;
    bits[item.reportId] += uint64_t(item.reportSize) * item.reportCount;
    any = true;
  }
  if (!any) return 0;
  const uint64_t longest = *std::max_element(bits.begin(), bits.end());
  return uint16_t((longest + 7) / 8 + 1);  // the parser keeps this within 16 bits
}

HidCaps CapsOf(const HidReportDescriptor& descriptor) {
  HidCaps caps;
  for (const HidCollection& c : descriptor.collections) {
    if (c.parent >= 0) continue;
    caps.usagePage = c.usagePage;
    caps.usage = c.usage;
    break;
  }
  caps.inputReportByteLength = HidReportByteLength(descriptor, HidReportKind::Input);
  caps.outputReportByteLength = HidReportByteLength(descriptor, HidReportKind::Output);
  caps.featureReportByteLength = HidReportByteLength(descriptor, HidReportKind::Feature);
  caps.numberFeatureValueCaps = uint16_t(std::min<size_t>(FeatureValueCapsOf(descriptor).size(), 0xFFFF));
  return caps;
}

std::vector<HidValueCaps> FeatureValueCapsOf(const HidReportDescriptor& descriptor) {
  std::vector<HidValueCaps> caps;
  for (const HidMainItem& item : descriptor.items) {
    if (item.kind != HidReportKind::Feature || item.constant() || !item.variable() || item.reportSize <= 1 ||
        item.reportCount == 0)
      continue;  // a field of no bits holds no value
    HidValueCaps base;
    base.reportId = item.reportId;
    base.linkCollection = uint16_t(item.collection - TopLevelOf(descriptor, item.collection));
    if (item.isRange) {
      base.usagePage = uint16_t(item.usageMinimum >> 16);
      base.usage = uint16_t(item.usageMinimum);
      base.isRange = true;
      base.reportCount = uint16_t(std::min<uint32_t>(item.reportCount, 0xFFFF));
      caps.push_back(base);
      continue;
    }
    if (item.usages.empty()) continue;  // a field without a usage names nothing
    uint32_t left = item.reportCount;
    for (size_t i = 0; i < item.usages.size() && left > 0; ++i) {
      HidValueCaps cap = base;
      cap.usagePage = uint16_t(item.usages[i] >> 16);
      cap.usage = uint16_t(item.usages[i]);
      const uint32_t count = i + 1 == item.usages.size() ? left : 1;
      cap.reportCount = uint16_t(std::min<uint32_t>(count, 0xFFFF));
      left -= count;
      caps.push_back(cap);
    }
  }
  return caps;
}

}  // namespace nx7
