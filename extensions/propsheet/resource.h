// Resource and control ids of the property-sheet dialogs.
#pragma once

#define IDD_BASE_TEST        107
#define IDD_VIBRATION_TEST   108
#define IDD_CALIBRATION      109
#define IDD_ABOUT            110
#define IDI_STATUS_WARNING       111
#define IDI_SHEET            32517

#define IDC_LAMP_FIRST       1000
#define IDC_AXES             1024
#define IDC_POV              1026
#define IDC_CAL_X_TEXT       1027
#define IDC_CAL_Y_TEXT       1028
#define IDC_CAL_DEFAULT      1031
#define IDC_CAL_SET          1032
#define IDC_RUMBLE           1033
#define IDC_BASE_STATUS      1034
#define IDC_CAL_STATUS       1035
#define IDC_VIB_STATUS       1036
#define IDC_STRENGTH         1037
#define IDC_BASE_WARNING     1038
#define IDC_VIB_WARNING      1039
#define IDC_CAL_WARNING      1040
#define IDC_STOP             1042
#define IDC_LEFT_FORCE       1043
#define IDC_RIGHT_FORCE      1044
#define IDC_BOTH_FORCES      1045
#define IDC_STRENGTH_TEXT    1049
#define IDC_Z_BAR            1067
#define IDC_RZ_BAR           1068

#define LAMP_COUNT           24
