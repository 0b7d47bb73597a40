#pragma once
// The device session (`CUSBDriver`): finds the mouse among the HID device interfaces, opens its
// vendor collection for feature reads and writes, and speaks the mouse's command set.
//
// A command is one feature report of `reportCount` + 1 bytes (byte 0 the report id, bytes 1..
// the command); commands that carry a table follow it with 33-byte output reports (data
// packets). Every pause goes through the Clock. All commands return true when sent, false when
// they failed; none retries or shows anything.
//
// Thread safety: commands are serialised by the session, so the version read on the UI thread
// cannot interleave with a download's command on the worker. Close may be called from any
// thread at any time; a command running then fails at its next report.
#include <array>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>

#include "device/protocol.h"
#include "platform/clock.h"
#include "platform/hid.h"

namespace nx7 {

class SessionHost;

inline constexpr uint32_t kPendingWriteTimeoutMs = 1500;

class CUSBDriver {
 public:
  // `host` (may be null) is the Windows side used by Create, Stop and Destroy.
  CUSBDriver(HidSystem& hid, Clock& clock, SessionHost* host = nullptr);
  ~CUSBDriver();  // Destroy
  CUSBDriver(const CUSBDriver&) = delete;
  CUSBDriver& operator=(const CUSBDriver&) = delete;

  // Hidden window and HidParse.dll; false when there is no host or the library or its export
  // is missing.
  bool Create();
  // Finds and opens the mouse's vendor collection; true when both handles are open. Any
  // previously open handles are closed first.
  bool Open();
  // Closes both handles (the mouse was removed).
  void Close();
  // Destroys the hidden window (shut-down).
  void Stop();
  // Closes both handles and frees the library.
  void Destroy();

  bool IsOpen() const;
  int reportId() const { return reportId_; }
  int reportCount() const { return reportCount_; }
  const HidCaps& caps() const { return caps_; }
  // The reason of the last failed Open or command.
  std::string LastError() const;

  // The command set.
  bool ReadVersion(int& version);                           // 80 → 10 × reply[2] + reply[3]
  bool SendReportRate(int rateCode);                        // 01 r; r not 1/2/4/8 is sent as 2
  bool SendBodyLight(int bodyLight, int ledMode);           // 03 A0 (on, mode not 6) / B0
  bool SendColorTable(const uint8_t* table, size_t length); // 09 01 00 20 00 + 32 bytes
  bool SendDpiLevelCount(uint8_t count);                    // 0B 01 n
  bool SendLightingColor(uint32_t color);                   // 0C 01 g r b (color 0x00BBGGRR)
  bool SendLightingEffect(uint8_t a, uint8_t b, uint8_t c); // 0D 01 a b c
  bool SendDpiTable(const uint8_t* table, size_t length);   // 11 01 07 10 00 + 16 bytes
  bool SendKeyMatrix(const uint8_t* matrix, size_t length); // 12 01 00 40 00 + 64 bytes
  bool SendMacro(int slot, const uint8_t* data, size_t length);  // 13 01 s 00 02 + 512 bytes

  // The packet writer: `length` must be a multiple of 32 (0 sends nothing and succeeds); each
  // 32-byte chunk goes out as one data packet with 50 ms before and after its write.
  bool WritePackets(const uint8_t* data, size_t length);

 private:
  bool SendCommandLocked(std::initializer_list<uint8_t> bytes);
  bool SendSinglePacketLocked(const uint8_t* data, size_t length);
  bool WritePacketsLocked(const uint8_t* data, size_t length);
  bool WritePacketLocked(const uint8_t* packet);
  bool SendTableCommand(const protocol::TableHeader& header, uint8_t parameter, const uint8_t* data,
                        size_t length);
  std::shared_ptr<HidDevice> ReadDevice() const;
  std::shared_ptr<HidDevice> WriteDevice() const;
  void Fail(std::string reason);

  HidSystem& hid_;
  Clock& clock_;
  SessionHost* host_;

  HidCaps caps_;
  std::array<uint8_t, 255> featureReport_{};
  std::array<uint8_t, 255> featureReply_{};
  uint16_t vendorId_ = 0;
  uint16_t productId_ = 0;
  int reportId_ = 0;
  int reportCount_ = 0;

  mutable std::mutex handlesMutex_;  // guards the two handles only (never held across a pause)
  std::shared_ptr<HidDevice> readHandle_;
  std::shared_ptr<HidDevice> writeHandle_;
  std::mutex commandMutex_;  // one command at a time
  mutable std::mutex errorMutex_;
  std::string lastError_;
};

}  // namespace nx7
