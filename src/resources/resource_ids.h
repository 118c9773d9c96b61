// Control and command ids shared by the resource script and the code.
#pragma once

#define IDC_LOG_TEXT 1076
#define IDC_MAIN_TABS 1081
#define IDC_WAIT_PROGRESS 1053
#define IDC_WAIT_MESSAGE 1054
#define IDM_QUIT 40003
