#include "platform/hid_trace.h"

#include <ostream>

namespace nx7 {

void HidTrace::Record(std::string line) {
  std::lock_guard lock(mutex_);
  if (out_) *out_ << line << '\n' << std::flush;
  lines_.push_back(std::move(line));
}

std::vector<std::string> HidTrace::Lines() const {
  std::lock_guard lock(mutex_);
  return lines_;
}

void HidTrace::Clear() {
  std::lock_guard lock(mutex_);
  lines_.clear();
}

std::string HidTrace::Hex(const uint8_t* bytes, size_t length) {
  static constexpr char digits[] = "0123456789abcdef";
  std::string text;
  text.reserve(length * 3);
  for (size_t i = 0; i < length; ++i) {
    if (i) text += ' ';
    text += digits[bytes[i] >> 4];
    text += digits[bytes[i] & 15];
  }
  return text;
}

namespace {

class TracingHidDevice final : public HidDevice {
 public:
  TracingHidDevice(std::unique_ptr<HidDevice> inner, HidTrace& trace)
      : inner_(std::move(inner)), trace_(trace) {}

  bool GetAttributes(HidAttributes& a) override { return inner_->GetAttributes(a); }
  bool GetCaps(HidCaps& caps) override { return inner_->GetCaps(caps); }
  bool GetFeatureValueCaps(std::vector<HidValueCaps>& v) override { return inner_->GetFeatureValueCaps(v); }

  bool SetFeature(const uint8_t* report, size_t length) override {
    trace_.Record("SET_FEATURE " + HidTrace::Hex(report, length));
    return inner_->SetFeature(report, length);
  }
  bool GetFeature(uint8_t* report, size_t length) override {
    const bool ok = inner_->GetFeature(report, length);
    if (ok) trace_.Record("GET_FEATURE " + HidTrace::Hex(report, length));
    return ok;
  }
  HidWriteResult Write(const uint8_t* report, size_t length) override {
    trace_.Record("OUTPUT " + HidTrace::Hex(report, length));
    return inner_->Write(report, length);
  }
  HidWriteResult WaitForWrite(uint32_t timeoutMs) override { return inner_->WaitForWrite(timeoutMs); }
  std::string LastError() const override { return inner_->LastError(); }

 private:
  std::unique_ptr<HidDevice> inner_;
  HidTrace& trace_;
};

}  // namespace

std::unique_ptr<HidDevice> TracingHidSystem::Open(const std::u16string& path, HidAccess access) {
  std::unique_ptr<HidDevice> device = inner_.Open(path, access);
  if (!device) return nullptr;
  return std::make_unique<TracingHidDevice>(std::move(device), trace_);
}

void TracingClock::Sleep(uint32_t ms) {
  trace_.Record("SLEEP " + std::to_string(ms));
  inner_.Sleep(ms);
}

}  // namespace nx7
