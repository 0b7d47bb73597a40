#include "macros/macro_upload.h"

#include <gtest/gtest.h>

#include "device/device_fixture.h"
#include "device/usb_driver.h"
#include "macros/macro_entry_fixture.h"

namespace nx7 {
namespace {

using testing::Delay;
using testing::Press;
using testing::Release;
using testing::StoredMacro;

// A macro goes to the mouse as its encoded payload; the word count is the encoding's alone.
uint32_t UploadMacro(CUSBDriver& session, int slot, const MacroEntry& entry) {
  const MacroPayload payload = EncodeMacroPayload(entry);
  session.SendMacro(slot, payload.bytes.data(), payload.bytes.size());
  return payload.wordCount;
}

TEST(UploadMacro, WritesThePayloadIntoTheSlotAndReturnsTheWordCount) {
  testing::VirtualSession s;
  ASSERT_TRUE(s.driver.Open());
  const MacroEntry entry = StoredMacro(0x15000001, u"A", {Press('A'), Delay(2000), Release('A')}, 3);
  EXPECT_EQ(UploadMacro(s.driver, 4, entry), 5u);
  const auto state = s.mouse.State();
  ASSERT_TRUE(state.macros[4].has_value());
  const uint8_t start[] = {0x00, 0x03, 0x01, 0x04, 0x00, 0x01, 0x00, 0x64, 0x81, 0x04, 0x00};
  for (size_t i = 0; i < sizeof start; ++i) EXPECT_EQ((*state.macros[4])[i], start[i]) << i;
  EXPECT_EQ(state.framingErrors, 0) << state.lastFramingError;
  // 100 ms after the command, 50 ms before and after each of the 16 packets.
  EXPECT_EQ(s.clock.TotalSlept(), 1700u);
}

TEST(UploadMacro, CountsWithoutSendingForAMissingSlotOrAClosedSession) {
  const MacroEntry entry = StoredMacro(0x15000001, u"A", {Press('A'), Release('A')});
  {
    testing::VirtualSession s;
    ASSERT_TRUE(s.driver.Open());
    EXPECT_EQ(UploadMacro(s.driver, 8, entry), 3u);
    EXPECT_EQ(s.mouse.ReportsSeen(), 0);
  }
  testing::VirtualSession closed;
  EXPECT_EQ(UploadMacro(closed.driver, 1, entry), 3u);
  EXPECT_EQ(closed.mouse.ReportsSeen(), 0);
}

TEST(UploadMacro, AFailingDeviceDoesNotChangeTheCount) {
  testing::VirtualSession s;
  ASSERT_TRUE(s.driver.Open());
  s.mouse.FailCommand(0x13);
  EXPECT_EQ(UploadMacro(s.driver, 1, StoredMacro(1, u"A", {Press('A')}, 0xFFFE)), 2u);
  EXPECT_FALSE(s.mouse.State().macros[1].has_value());
}

TEST(EncodeMacroPayload, ReadsAtMostAThousandEventsOfAnEntry) {
  MacroEntry entry = StoredMacro(1, u"A", {Press('A'), Release('A')});
  entry.eventCount = 0xFFFFFFFF;  // a damaged file; the words beyond the two are zero
  const MacroPayload p = EncodeMacroPayload(entry);
  // Words 3 to 1000 are zero, an unknown type: one empty item each until the payload is full.
  EXPECT_EQ(p.wordCount, 255u);
  EXPECT_EQ(p.bytes[2], 0x01);
  EXPECT_EQ(p.bytes[4], 0x81);
}

}  // namespace
}  // namespace nx7
