#pragma once
// The NX7's configuration protocol: how the mouse is recognised and the bytes of its command set.
// The session (usb_driver.h) speaks it and the virtual mouse (virtual/virtual_mouse.h) answers
// it, so both take every number from here.
#include <cstddef>
#include <cstdint>

namespace nx7::protocol {

// The ids the mouse is found by, as texts (the session parses them hexadecimally) and as numbers.
inline constexpr char kVendorIdText[] = "3A7D";
inline constexpr char kProductIdText[] = "4110";
inline constexpr uint16_t kVendorId = 0x3A7D;
inline constexpr uint16_t kProductId = 0x4110;

// The configuration collection: the feature value with this usage page and usage. The NX7 gives
// it report id 07 and report count 32, so its feature reports are 33 bytes long.
inline constexpr uint16_t kVendorUsagePage = 0xFF01;
inline constexpr uint16_t kVendorUsage = 0x22;
inline constexpr uint8_t kReportId = 0x07;
inline constexpr uint16_t kReportCount = 32;

// Data packets: the report id, then 32 data bytes.
inline constexpr size_t kPacketLength = 33;
inline constexpr size_t kPacketDataLength = 32;

// Command bytes (feature report byte 1).
inline constexpr uint8_t kReadVersion = 0x80;
inline constexpr uint8_t kReportRate = 0x01;
inline constexpr uint8_t kBodyLight = 0x03;
inline constexpr uint8_t kColorTable = 0x09;
inline constexpr uint8_t kDpiLevelCount = 0x0B;
inline constexpr uint8_t kLightingColor = 0x0C;
inline constexpr uint8_t kLightingEffect = 0x0D;
inline constexpr uint8_t kDpiTable = 0x11;
inline constexpr uint8_t kKeyMatrix = 0x12;
inline constexpr uint8_t kMacro = 0x13;

// Byte 2 of the commands that carry a sub-command byte (tables, level count, lighting).
inline constexpr uint8_t kSubCommand = 0x01;

// Table commands announce their data phase: command, 01, a parameter byte, 16-bit length.
struct TableHeader {
  uint8_t command;
  uint8_t parameter;  // the macro command's parameter is the on-board slot instead
  uint16_t length;
  bool multiPacket;   // sent with the packet writer (100 ms first) rather than as one packet
};
inline constexpr TableHeader kColorTableHeader{kColorTable, 0x00, 32, false};
inline constexpr TableHeader kDpiTableHeader{kDpiTable, 0x07, 16, false};
inline constexpr TableHeader kKeyMatrixHeader{kKeyMatrix, 0x00, 64, true};
inline constexpr TableHeader kMacroHeader{kMacro, 0x00, 512, true};

// Report-rate codes the mouse knows (8 = 125, 4 = 250, 2 = 500, 1 = 1000 reports per second);
// any other is sent as the fallback.
inline constexpr bool IsReportRateCode(int code) { return code == 1 || code == 2 || code == 4 || code == 8; }
inline constexpr uint8_t kReportRateFallback = 2;

// Body light: on, or off (also whenever the lights are off).
inline constexpr uint8_t kBodyLightOn = 0xA0;
inline constexpr uint8_t kBodyLightOff = 0xB0;

// The version reply: byte 1 the marker, then tens and units of the version number.
inline constexpr uint8_t kVersionMarker = 0x80;

// On-board macro slots 0 to 7; downloads use 1 to 7.
inline constexpr int kMacroSlots = 8;

// The key matrix: sixteen 32-bit key codes; entry 3 always carries this value.
inline constexpr size_t kKeyMatrixEntries = 16;
inline constexpr size_t kKeyMatrixFixedEntry = 3;
inline constexpr uint32_t kKeyMatrixFixedCode = 0x00030007;

}  // namespace nx7::protocol
