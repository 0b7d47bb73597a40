#pragma once
// The part of the device session that only exists on Windows: the session's hidden window and
// the HidParse.dll library that must be present beside the program. The session (usb_driver.h)
// calls it from Create, Stop and Destroy; session_host_win32.cpp is the real one.
namespace nx7 {

class SessionHost {
 public:
  virtual ~SessionHost() = default;
  // Creates the hidden window, then loads the library and resolves its export. True only if
  // both the library and the export were found.
  virtual bool Create() = 0;
  // Destroys the hidden window (shut-down).
  virtual void Stop() = 0;
  // Frees the library if loaded.
  virtual void Destroy() = 0;
};

}  // namespace nx7
