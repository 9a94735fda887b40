#pragma once
// Resource and control IDs of the settings dialog (3000-3999).
#define IDI_SETTINGS_DIALOG 3000
#define IDB_INDICATOR_OFF 3001
#define IDB_INDICATOR_ON 3002

#define IDC_PIC_C 3100
#define IDC_BGM_REPEAT 3101
#define IDC_CMD_BGM 3102
#define IDC_CMD_SET 3103
#define IDC_CMD_CAN 3104
#define IDC_CMD_ETC 3105
