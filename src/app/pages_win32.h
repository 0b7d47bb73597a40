#pragma once
// The five pages of the main window, each in its subsystem's folder.
#include "macros/dlg_macro_win32.h"
#include "performance/dlg_led_set_win32.h"
#include "performance/dlg_main_set_win32.h"
#include "stats/dlg_sts_win32.h"
#include "support/dlg_support_win32.h"
