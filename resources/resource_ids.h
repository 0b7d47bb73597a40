/* Resource numbers of the program's templates and template controls. Read by the resource compiler
   and by C++. The pictures' and icons' numbers come with the artwork (artwork_ids.h). */
#ifndef NX7_RESOURCE_IDS_H
#define NX7_RESOURCE_IDS_H

#include "artwork_ids.h"

#define IDD_NX70DRIVER_DIALOG 102
#define IDD_DLG_MAINSET 103
#define IDD_DLG_LEDSET 104
#define IDD_DLG_MACRO 105
#define IDD_DLG_STS 106
#define IDD_DLG_SUPPORT 107
#define IDD_SETTING 108
#define IDD_SETTING_COMBO 109
#define IDD_SETTING_MACRO 110
#define IDD_SETTING_BASE 111
#define IDD_SETTING_ADVANCE 112
#define IDD_DLG_INFO 113
#define IDD_DLG_PROGRESS 114

#define IDC_LANGUAGE_FLAG 1010
#define IDC_MACRO_REPEAT_EDIT 1001
#define IDC_MACRO_KEY_EDIT 1002
#define IDC_MACRO_DELAY_EDIT 1003

#endif
