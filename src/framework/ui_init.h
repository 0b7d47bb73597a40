#pragma once
// Process-wide set-up of the windowing libraries: GDI+ is started and the common controls
// (tooltips, standard controls, window subclassing) are registered once, on first call; the
// calls after the first do nothing. Every window of the program calls it before it is created.
namespace nx7::win32 {

// Returns false when GDI+ could not be started (PNG images then fail to load).
bool InitUserInterface();

}  // namespace nx7::win32
