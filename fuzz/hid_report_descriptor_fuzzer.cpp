// Parses arbitrary bytes as a HID report descriptor and checks that what it kept is consistent:
// every link between collections and items points inside the tables, the report lengths cover
// every field, and the capabilities agree with the items they come from.
#include <cstddef>
#include <cstdint>

#include "fuzz_check.h"
#include "platform/hid_report_descriptor.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  nx7::HidReportDescriptor d;
  const nx7::HidDescriptorResult result = nx7::ParseHidReportDescriptor(data, size, d);
  FUZZ_CHECK(result.offset <= size);
  FUZZ_CHECK(!result.ok() || result.offset == size);

  for (size_t i = 0; i < d.collections.size(); ++i) FUZZ_CHECK(d.collections[i].parent < int(i));
  uint64_t bits[3][256] = {};
  bool anyReportId = false;
  for (const nx7::HidMainItem& item : d.items) {
    FUZZ_CHECK(item.collection >= 0 && size_t(item.collection) < d.collections.size());
    bits[size_t(item.kind)][item.reportId] += uint64_t(item.reportSize) * item.reportCount;
    anyReportId |= item.reportId != 0;
  }
  FUZZ_CHECK(!anyReportId || d.usesReportIds);

  const nx7::HidCaps caps = nx7::CapsOf(d);
  const uint16_t lengths[3] = {caps.inputReportByteLength, caps.outputReportByteLength, caps.featureReportByteLength};
  for (size_t kind = 0; kind < 3; ++kind)
    for (size_t id = 0; id < 256; ++id) FUZZ_CHECK(bits[kind][id] <= uint64_t(lengths[kind]) * 8);

  const std::vector<nx7::HidValueCaps> values = nx7::FeatureValueCapsOf(d);
  FUZZ_CHECK(values.size() == caps.numberFeatureValueCaps || values.size() > 0xFFFF);
  for (const nx7::HidValueCaps& v : values) {
    FUZZ_CHECK(v.reportCount > 0);
    FUZZ_CHECK(v.linkCollection < d.collections.size());
    FUZZ_CHECK(v.reportId == 0 || d.usesReportIds);
  }
  return 0;
}
