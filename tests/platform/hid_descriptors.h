#pragma once
// Report descriptors as devices send them, written item by item after HID 1.11.
#include <cstdint>
#include <vector>

namespace nx7::testing {

// The boot mouse of HID 1.11, appendix B: three buttons, five bits of padding, X and Y.
inline const std::vector<uint8_t> kBootMouseDescriptor = {
    0x05, 0x01,  // Usage Page (Generic Desktop)
    0x09, 0x02,  // Usage (Mouse)
    0xA1, 0x01,  // Collection (Application)
    0x09, 0x01,  //   Usage (Pointer)
    0xA1, 0x00,  //   Collection (Physical)
    0x05, 0x09,  //     Usage Page (Button)
    0x19, 0x01,  //     Usage Minimum (1)
    0x29, 0x03,  //     Usage Maximum (3)
    0x15, 0x00,  //     Logical Minimum (0)
    0x25, 0x01,  //     Logical Maximum (1)
    0x95, 0x03,  //     Report Count (3)
    0x75, 0x01,  //     Report Size (1)
    0x81, 0x02,  //     Input (Data, Variable, Absolute)
    0x95, 0x01,  //     Report Count (1)
    0x75, 0x05,  //     Report Size (5)
    0x81, 0x01,  //     Input (Constant)
    0x05, 0x01,  //     Usage Page (Generic Desktop)
    0x09, 0x30,  //     Usage (X)
    0x09, 0x31,  //     Usage (Y)
    0x15, 0x81,  //     Logical Minimum (-127)
    0x25, 0x7F,  //     Logical Maximum (127)
    0x75, 0x08,  //     Report Size (8)
    0x95, 0x02,  //     Report Count (2)
    0x81, 0x06,  //     Input (Data, Variable, Relative)
    0xC0,        //   End Collection
    0xC0,        // End Collection
};

// The boot keyboard: modifier bits, a reserved byte, five LEDs (output) and six key slots.
inline const std::vector<uint8_t> kBootKeyboardDescriptor = {
    0x05, 0x01,  // Usage Page (Generic Desktop)
    0x09, 0x06,  // Usage (Keyboard)
    0xA1, 0x01,  // Collection (Application)
    0x05, 0x07,  //   Usage Page (Keyboard)
    0x19, 0xE0,  //   Usage Minimum (Left Control)
    0x29, 0xE7,  //   Usage Maximum (Right GUI)
    0x15, 0x00,  //   Logical Minimum (0)
    0x25, 0x01,  //   Logical Maximum (1)
    0x75, 0x01,  //   Report Size (1)
    0x95, 0x08,  //   Report Count (8)
    0x81, 0x02,  //   Input (Data, Variable, Absolute)
    0x95, 0x01,  //   Report Count (1)
    0x75, 0x08,  //   Report Size (8)
    0x81, 0x01,  //   Input (Constant)
    0x95, 0x05,  //   Report Count (5)
    0x75, 0x01,  //   Report Size (1)
    0x05, 0x08,  //   Usage Page (LEDs)
    0x19, 0x01,  //   Usage Minimum (Num Lock)
    0x29, 0x05,  //   Usage Maximum (Kana)
    0x91, 0x02,  //   Output (Data, Variable, Absolute)
    0x95, 0x01,  //   Report Count (1)
    0x75, 0x03,  //   Report Size (3)
    0x91, 0x01,  //   Output (Constant)
    0x95, 0x06,  //   Report Count (6)
    0x75, 0x08,  //   Report Size (8)
    0x15, 0x00,  //   Logical Minimum (0)
    0x25, 0x65,  //   Logical Maximum (101)
    0x05, 0x07,  //   Usage Page (Keyboard)
    0x19, 0x00,  //   Usage Minimum (0)
    0x29, 0x65,  //   Usage Maximum (101)
    0x81, 0x00,  //   Input (Data, Array)
    0xC0,        // End Collection
};

// A gaming mouse's second interface: the mouse (report 1: five buttons, 16-bit X and Y, wheel,
// horizontal pan) with a consumer feature value (report 2), then the vendor configuration
// collection (usage page FF01, usage 22, report 7: a 32-byte feature and a 32-byte output).
inline const std::vector<uint8_t> kMouseWithVendorDescriptor = {
    0x05, 0x01,              // Usage Page (Generic Desktop)
    0x09, 0x02,              // Usage (Mouse)
    0xA1, 0x01,              // Collection (Application)
    0x85, 0x01,              //   Report ID (1)
    0x09, 0x01,              //   Usage (Pointer)
    0xA1, 0x00,              //   Collection (Physical)
    0x05, 0x09,              //     Usage Page (Button)
    0x19, 0x01,              //     Usage Minimum (1)
    0x29, 0x05,              //     Usage Maximum (5)
    0x15, 0x00,              //     Logical Minimum (0)
    0x25, 0x01,              //     Logical Maximum (1)
    0x95, 0x05,              //     Report Count (5)
    0x75, 0x01,              //     Report Size (1)
    0x81, 0x02,              //     Input (Data, Variable, Absolute)
    0x95, 0x01,              //     Report Count (1)
    0x75, 0x03,              //     Report Size (3)
    0x81, 0x01,              //     Input (Constant)
    0x05, 0x01,              //     Usage Page (Generic Desktop)
    0x09, 0x30,              //     Usage (X)
    0x09, 0x31,              //     Usage (Y)
    0x16, 0x01, 0x80,        //     Logical Minimum (-32767)
    0x26, 0xFF, 0x7F,        //     Logical Maximum (32767)
    0x75, 0x10,              //     Report Size (16)
    0x95, 0x02,              //     Report Count (2)
    0x81, 0x06,              //     Input (Data, Variable, Relative)
    0x09, 0x38,              //     Usage (Wheel)
    0x15, 0x81,              //     Logical Minimum (-127)
    0x25, 0x7F,              //     Logical Maximum (127)
    0x75, 0x08,              //     Report Size (8)
    0x95, 0x01,              //     Report Count (1)
    0x81, 0x06,              //     Input (Data, Variable, Relative)
    0x05, 0x0C,              //     Usage Page (Consumer)
    0x0A, 0x38, 0x02,        //     Usage (AC Pan)
    0x81, 0x06,              //     Input (Data, Variable, Relative)
    0xC0,                    //   End Collection
    0x05, 0x0C,              //   Usage Page (Consumer)
    0x09, 0x01,              //   Usage (Consumer Control)
    0x85, 0x02,              //   Report ID (2)
    0x15, 0x00,              //   Logical Minimum (0)
    0x26, 0xFF, 0x00,        //   Logical Maximum (255)
    0x75, 0x08,              //   Report Size (8)
    0x95, 0x01,              //   Report Count (1)
    0xB1, 0x02,              //   Feature (Data, Variable, Absolute)
    0xC0,                    // End Collection
    0x06, 0x01, 0xFF,        // Usage Page (Vendor FF01)
    0x09, 0x22,              // Usage (0x22)
    0xA1, 0x01,              // Collection (Application)
    0x85, 0x07,              //   Report ID (7)
    0x09, 0x22,              //   Usage (0x22)
    0x15, 0x00,              //   Logical Minimum (0)
    0x26, 0xFF, 0x00,        //   Logical Maximum (255)
    0x75, 0x08,              //   Report Size (8)
    0x95, 0x20,              //   Report Count (32)
    0xB1, 0x02,              //   Feature (Data, Variable, Absolute)
    0x09, 0x23,              //   Usage (0x23)
    0x95, 0x20,              //   Report Count (32)
    0x91, 0x02,              //   Output (Data, Variable, Absolute)
    0xC0,                    // End Collection
};

}  // namespace nx7::testing
