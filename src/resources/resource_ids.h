// Control and command ids shared by the resource script and the code.
#pragma once

#define IDC_LOG_TEXT 1076
#define IDC_MAIN_TABS 1081
#define IDC_WAIT_PROGRESS 1053
#define IDC_WAIT_MESSAGE 1054
#define IDM_QUIT 40003
#define IDM_UNDO 40004

// Connection Setup page and the NCE options page.
#define IDC_STATION_LIST 1016
#define IDC_DEVICE_OPTIONS_FRAME 1023
#define IDC_FIND_STATION 1017
// Program on: the programming track, or a decoder on the main.
#define IDC_PROGRAM_ON_TRACK 1450
#define IDC_PROGRAM_ON_MAIN 1451
#define IDC_MAIN_ADDRESS 1452
#define IDC_MAIN_LONG 1453
#define IDC_PROGRAM_ON_ACCESSORY 1454
#define IDC_ACCESSORY_NUMBER 1455
#define IDC_PROGRAM_ON_NOTE 1456
#define IDC_NCE_TEST 1025
#define IDC_NCE_BAUD 1026
#define IDC_NCE_VERSION 1028
#define IDC_NCE_NAME 1029
#define IDC_NCE_PORT 1036
#define IDC_NCE_SERIAL_LOG 1077
#define IDC_NCE_READ_RETRIES 1501
#define IDC_NCE_ANSWER_WAIT 1502

// Version page.
#define IDC_VERSION_DATE 1096
#define IDC_VERSION_BUILD 1097
#define IDC_VERSION_PICTURE 1303
#define IDC_TRAIN_STRIP 1087
#define IDC_TRAIN_SPEED 1088
