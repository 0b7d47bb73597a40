#include <ostream>

#include "command.h"
#include "device_access.h"

namespace nx7::ctl {
namespace {

int Run(const Invocation& call) {
  const ParsedArgs args = ParseArgs(call.args, kDeviceOptions, 0, 0);
  DeviceAccess access(ParseDeviceOptions(args));
  CUSBDriver& mouse = access.OpenMouse();
  int version = 0;
  if (!mouse.ReadVersion(version)) throw CommandError("reading the firmware version failed: " + mouse.LastError());
  access.FinishTrace();
  call.out << version << "\n";
  return 0;
}

}  // namespace

extern const Command kVersionCommand{
    "version", "print the mouse's firmware version",
    "version [--virtual] [--trace FILE] [--fail-command XX]\n"
    "Opens the mouse, reads its firmware version and prints it as a decimal number.\n"
    "  --virtual          use the virtual mouse instead of the one plugged in\n"
    "  --trace FILE       write every report and pause exchanged with the mouse to FILE\n"
    "  --fail-command XX  with --virtual: the mouse refuses every report of command byte XX (hex)\n",
    &Run};

}  // namespace nx7::ctl
