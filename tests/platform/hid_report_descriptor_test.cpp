#include "platform/hid_report_descriptor.h"

#include <gtest/gtest.h>

#include "platform/hid_descriptors.h"

namespace nx7 {
namespace {

using testing::kBootKeyboardDescriptor;
using testing::kBootMouseDescriptor;
using testing::kMouseWithVendorDescriptor;

HidReportDescriptor Parse(const std::vector<uint8_t>& bytes) {
  HidReportDescriptor d;
  const HidDescriptorResult result = ParseHidReportDescriptor(bytes.data(), bytes.size(), d);
  EXPECT_TRUE(result.ok()) << "stopped at " << result.offset;
  EXPECT_EQ(result.offset, bytes.size());
  return d;
}

TEST(HidReportDescriptor, BootMouse) {
  const HidReportDescriptor d = Parse(kBootMouseDescriptor);
  ASSERT_EQ(d.collections.size(), 2u);
  EXPECT_EQ(d.collections[0].usagePage, 0x01);
  EXPECT_EQ(d.collections[0].usage, 0x02);
  EXPECT_EQ(d.collections[0].type, 1);
  EXPECT_EQ(d.collections[0].parent, -1);
  EXPECT_EQ(d.collections[1].usage, 0x01);
  EXPECT_EQ(d.collections[1].type, 0);
  EXPECT_EQ(d.collections[1].parent, 0);
  EXPECT_FALSE(d.usesReportIds);

  ASSERT_EQ(d.items.size(), 3u);
  const HidMainItem& buttons = d.items[0];
  EXPECT_TRUE(buttons.isRange);
  EXPECT_EQ(buttons.usageMinimum, 0x00090001u);
  EXPECT_EQ(buttons.usageMaximum, 0x00090003u);
  EXPECT_EQ(buttons.reportSize, 1u);
  EXPECT_EQ(buttons.reportCount, 3u);
  EXPECT_TRUE(d.items[1].constant());
  const HidMainItem& axes = d.items[2];
  EXPECT_EQ(axes.usages, (std::vector<uint32_t>{0x00010030, 0x00010031}));
  EXPECT_EQ(axes.collection, 1);
  EXPECT_TRUE(axes.variable());

  // 3 + 5 + 16 bits, and the report id byte Windows counts even without report ids.
  const HidCaps caps = CapsOf(d);
  EXPECT_EQ(caps.usagePage, 0x01);
  EXPECT_EQ(caps.usage, 0x02);
  EXPECT_EQ(caps.inputReportByteLength, 4);
  EXPECT_EQ(caps.outputReportByteLength, 0);
  EXPECT_EQ(caps.featureReportByteLength, 0);
  EXPECT_EQ(caps.numberFeatureValueCaps, 0);
}

TEST(HidReportDescriptor, BootKeyboard) {
  const HidReportDescriptor d = Parse(kBootKeyboardDescriptor);
  ASSERT_EQ(d.collections.size(), 1u);
  EXPECT_EQ(d.collections[0].usage, 0x06);
  ASSERT_EQ(d.items.size(), 5u);
  EXPECT_EQ(d.items[2].kind, HidReportKind::Output);
  EXPECT_EQ(d.items[2].usageMinimum, 0x00080001u);
  EXPECT_FALSE(d.items[4].variable());  // the key slots are an array
  const HidCaps caps = CapsOf(d);
  EXPECT_EQ(caps.inputReportByteLength, 9);
  EXPECT_EQ(caps.outputReportByteLength, 2);
}

TEST(HidReportDescriptor, VendorCollectionBesideTheMouse) {
  const HidReportDescriptor d = Parse(kMouseWithVendorDescriptor);
  EXPECT_TRUE(d.usesReportIds);
  ASSERT_EQ(d.collections.size(), 3u);
  EXPECT_EQ(d.collections[2].usagePage, 0xFF01);
  EXPECT_EQ(d.collections[2].usage, 0x22);
  EXPECT_EQ(d.collections[2].parent, -1);
  // AC Pan, a two-byte usage, under the consumer page.
  EXPECT_EQ(d.items[4].usages, (std::vector<uint32_t>{0x000C0238}));

  const HidCaps caps = CapsOf(d);
  EXPECT_EQ(caps.usagePage, 0x01);  // the first top-level collection
  EXPECT_EQ(caps.usage, 0x02);
  EXPECT_EQ(caps.inputReportByteLength, 8);    // report 1: 5 + 3 + 32 + 8 + 8 bits
  EXPECT_EQ(caps.outputReportByteLength, 33);  // report 7: 32 bytes
  EXPECT_EQ(caps.featureReportByteLength, 33);
  EXPECT_EQ(caps.numberFeatureValueCaps, 2);

  const std::vector<HidValueCaps> values = FeatureValueCapsOf(d);
  ASSERT_EQ(values.size(), 2u);
  EXPECT_EQ(values[0].usagePage, 0x0C);
  EXPECT_EQ(values[0].usage, 0x01);
  EXPECT_EQ(values[0].reportId, 2);
  EXPECT_EQ(values[0].reportCount, 1);
  EXPECT_EQ(values[0].linkCollection, 0);
  EXPECT_EQ(values[1].usagePage, 0xFF01);
  EXPECT_EQ(values[1].usage, 0x22);
  EXPECT_FALSE(values[1].isRange);
  EXPECT_EQ(values[1].reportId, 7);
  EXPECT_EQ(values[1].reportCount, 32);
  EXPECT_EQ(values[1].linkCollection, 0);
}

TEST(HidReportDescriptor, UsagesExtendedPagesPushPopAndLongItems) {
  const std::vector<uint8_t> bytes = {
      0x05, 0x01, 0x09, 0x00, 0xA1, 0x01,  // Generic Desktop, undefined usage, application
      0x75, 0x08,                          // Report Size (8)
      0xA4,                                // Push (page 1, size 8)
      0x06, 0x01, 0xFF,                    // Usage Page (FF01)
      0x09, 0x24,                          // Usage (24)
      0x0B, 0x22, 0x00, 0x02, 0xFF,        // Usage (FF02:0022), extended
      0x0A, 0x30, 0x00,                    // Usage (30) with a two-byte item
      0xA1, 0x02,                          // Collection (Logical), usage FF01:24
      0x75, 0x10, 0x95, 0x04, 0xB1, 0x02,  //   4 × 16 bits, Feature with no usage left
      0xC0,                                // End Collection
      0xB4,                                // Pop (page 1 and size 8 again)
      0x09, 0x30, 0x09, 0x31,              // Usage (X), Usage (Y)
      0x95, 0x03, 0xB1, 0x02,              // 3 × 8 bits, Feature
      0xFE, 0x02, 0x10, 0xAA, 0xBB,        // a long item, skipped
      0xC0,
  };
  const HidReportDescriptor d = Parse(bytes);
  ASSERT_EQ(d.collections.size(), 2u);
  EXPECT_EQ(d.collections[1].usagePage, 0xFF01);
  EXPECT_EQ(d.collections[1].usage, 0x24);
  EXPECT_EQ(d.collections[1].type, 2);
  ASSERT_EQ(d.items.size(), 2u);
  EXPECT_TRUE(d.items[0].usages.empty());  // a collection uses up the local items before it
  EXPECT_EQ(d.items[0].reportSize, 16u);
  EXPECT_EQ(d.items[1].reportSize, 8u);
  EXPECT_EQ(d.items[1].usages, (std::vector<uint32_t>{0x00010030, 0x00010031}));
  // X gets one field, Y the other two; the field without usages names nothing.
  const std::vector<HidValueCaps> values = FeatureValueCapsOf(d);
  ASSERT_EQ(values.size(), 2u);
  EXPECT_EQ(values[0].usage, 0x30);
  EXPECT_EQ(values[0].reportCount, 1);
  EXPECT_EQ(values[1].usage, 0x31);
  EXPECT_EQ(values[1].reportCount, 2);
  EXPECT_EQ(HidReportByteLength(d, HidReportKind::Feature), 12);  // 64 + 24 bits in report 0, + 1
}

TEST(HidReportDescriptor, ExtendedUsageKeepsItsOwnPage) {
  const std::vector<uint8_t> bytes = {
      0x05, 0x01, 0x0B, 0x22, 0x00, 0x01, 0xFF, 0xA1, 0x01,  // Usage (FF01:0022) under page 1
      0x85, 0x07, 0x0B, 0x22, 0x00, 0x01, 0xFF,              // Report ID 7, Usage (FF01:0022)
      0x75, 0x08, 0x95, 0x05, 0xB1, 0x02, 0xC0,
  };
  const HidReportDescriptor d = Parse(bytes);
  EXPECT_EQ(d.collections[0].usagePage, 0xFF01);
  const std::vector<HidValueCaps> values = FeatureValueCapsOf(d);
  ASSERT_EQ(values.size(), 1u);
  EXPECT_EQ(values[0].usagePage, 0xFF01);
  EXPECT_EQ(values[0].usage, 0x22);
  EXPECT_EQ(values[0].reportCount, 5);
}

TEST(HidReportDescriptor, OnlyDataVariablesWiderThanABitAreFeatureValues) {
  const struct {
    const char* name;
    std::vector<uint8_t> field;  // usage range, report size and count, the feature item
    size_t values;
  } cases[] = {
      {"a value", {0x75, 0x08, 0x95, 0x02, 0xB1, 0x02}, 1},
      {"no fields", {0x75, 0x08, 0x95, 0x00, 0xB1, 0x02}, 0},
      {"a value over a usage range", {0x19, 0x01, 0x29, 0x04, 0x75, 0x08, 0x95, 0x04, 0xB1, 0x02}, 1},
      {"no fields over a usage range", {0x19, 0x01, 0x29, 0x04, 0x75, 0x08, 0x95, 0x00, 0xB1, 0x02}, 0},
      {"one-bit fields (buttons)", {0x75, 0x01, 0x95, 0x08, 0xB1, 0x02}, 0},
      {"constant", {0x75, 0x08, 0x95, 0x02, 0xB1, 0x03}, 0},
      {"array", {0x75, 0x08, 0x95, 0x02, 0xB1, 0x00}, 0},
  };
  for (const auto& c : cases) {
    std::vector<uint8_t> bytes = {0x06, 0x01, 0xFF, 0x09, 0x22, 0xA1, 0x01, 0x09, 0x22};
    bytes.insert(bytes.end(), c.field.begin(), c.field.end());
    bytes.push_back(0xC0);
    EXPECT_EQ(FeatureValueCapsOf(Parse(bytes)).size(), c.values) << c.name;
  }
}

TEST(HidReportDescriptor, NestedCollectionsNumberFromTheirTopLevel) {
  const std::vector<uint8_t> bytes = {
      0x06, 0x01, 0xFF, 0x09, 0x01, 0xA1, 0x01, 0xC0,  // a first top-level collection
      0x09, 0x02, 0xA1, 0x01,                          // second top-level (index 1)
      0x09, 0x03, 0xA1, 0x02,                          //   nested (index 2 → link 1)
      0x09, 0x22, 0x75, 0x08, 0x95, 0x02, 0xB1, 0x02,  //     feature in the nested one
      0xC0, 0xC0,
  };
  const std::vector<HidValueCaps> values = FeatureValueCapsOf(Parse(bytes));
  ASSERT_EQ(values.size(), 1u);
  EXPECT_EQ(values[0].linkCollection, 1);
}

TEST(HidReportDescriptor, MalformedDescriptorsStopAtTheFaultyItem) {
  const struct {
    const char* name;
    std::vector<uint8_t> bytes;
    HidDescriptorStatus status;
    size_t offset;
  } cases[] = {
      {"item data past the end", {0x05, 0x01, 0x09}, HidDescriptorStatus::Truncated, 2},
      {"four-byte item cut short", {0x07, 0x01, 0x00, 0x00}, HidDescriptorStatus::Truncated, 0},
      {"long item cut short", {0xFE, 0x05, 0x00, 0x01}, HidDescriptorStatus::Truncated, 0},
      {"end collection with none open", {0x09, 0x01, 0xC0}, HidDescriptorStatus::UnbalancedCollection, 2},
      {"collection left open", {0x09, 0x01, 0xA1, 0x01}, HidDescriptorStatus::UnbalancedCollection, 4},
      {"report id 0", {0xA1, 0x01, 0x85, 0x00, 0xC0}, HidDescriptorStatus::BadReportId, 2},
      {"report id above 255", {0xA1, 0x01, 0x86, 0x00, 0x01, 0xC0}, HidDescriptorStatus::BadReportId, 2},
      {"pop without push", {0xB4}, HidDescriptorStatus::PopWithoutPush, 0},
      {"field outside any collection", {0x75, 0x08, 0x95, 0x01, 0x81, 0x02}, HidDescriptorStatus::MainItemOutsideCollection, 4},
      {"field longer than a report", {0xA1, 0x01, 0x77, 0xFF, 0xFF, 0xFF, 0x00, 0x95, 0x02, 0x81, 0x02, 0xC0},
       HidDescriptorStatus::ReportTooLong, 9},
      {"fields adding up beyond a report",
       {0xA1, 0x01, 0x75, 0x08, 0x96, 0x00, 0x80, 0xB1, 0x02, 0xB1, 0x02, 0xC0}, HidDescriptorStatus::ReportTooLong, 9},
  };
  for (const auto& c : cases) {
    HidReportDescriptor d;
    const HidDescriptorResult result = ParseHidReportDescriptor(c.bytes.data(), c.bytes.size(), d);
    EXPECT_EQ(result.status, c.status) << c.name;
    EXPECT_EQ(result.offset, c.offset) << c.name;
  }
}

TEST(HidReportDescriptor, NestingDeeperThanAnyDeviceIsRefused) {
  std::vector<uint8_t> collections, pushes;
  for (int i = 0; i < 33; ++i) collections.insert(collections.end(), {0xA1, 0x00});
  for (int i = 0; i < 33; ++i) pushes.push_back(0xA4);
  HidReportDescriptor d;
  EXPECT_EQ(ParseHidReportDescriptor(collections.data(), collections.size(), d).status, HidDescriptorStatus::TooDeep);
  EXPECT_EQ(d.collections.size(), 32u);  // what was read before the fault stays
  EXPECT_EQ(ParseHidReportDescriptor(pushes.data(), pushes.size(), d).status, HidDescriptorStatus::TooDeep);
}

TEST(HidReportDescriptor, EmptyDescriptorHasNothing) {
  HidReportDescriptor d;
  d.items.resize(3);  // a reused result is cleared
  EXPECT_TRUE(ParseHidReportDescriptor(nullptr, 0, d).ok());
  EXPECT_TRUE(d.items.empty());
  EXPECT_EQ(CapsOf(d).inputReportByteLength, 0);
}

}  // namespace
}  // namespace nx7
