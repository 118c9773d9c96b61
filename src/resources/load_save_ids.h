// Control ids of the Load/Save page.
#pragma once

#define IDC_LOAD_BUTTON 1247
#define IDC_SAVE_BUTTON 1248
#define IDC_DECODER_NAME 1250
#define IDC_OWNER 1251
#define IDC_NOTES 1252
#define IDC_CLEAR_ALL_BUTTON 1253
