// Resource and control numbers of Vendrel.exe, shared by the resource script (which reads only
// #define lines) and the code (app/main_window_commands.h gives them typed names). Plain C: no
// Windows header, so the portable core can include it too.
#ifndef VENDREL_APP_RESOURCE_IDS_H
#define VENDREL_APP_RESOURCE_IDS_H

// Dialog templates, icons and menus.
#define IDD_ABOUTBOX 100
#define IDD_MAIN 102
#define IDI_DISCONNECTED 128
#define IDM_TRAY 140
#define IDI_CONNECTED 141
#define IDI_MACRO_PLAYING 142
#define IDM_MAIN 144

// The main window's own controls (the key, G and Fn buttons come from the key table).
#define IDC_PROFILES 1005
#define IDC_APPLY 1006
#define IDC_MACRO_EDIT 1007
#define IDC_LINK 1121
#define IDC_HELP_BUTTON 1122
#define IDC_MINIMISE 1123
#define IDC_CLOSE 1124
#define IDC_LOCK_CAPS 1125
#define IDC_LOCK_NUM 1126
#define IDC_LOCK_SCROLL 1127
#define IDC_BANK_INDICATOR 1128
#define IDC_FLIP_0 1129
#define IDC_FLIP_1 1130
#define IDC_FLIP_2 1131
#define IDC_LEFT_ARROW 1132
#define IDC_RIGHT_ARROW 1133
#define IDC_VERSION 1134
#define IDC_PROFILE_1 1135
#define IDC_PROFILE_2 1136
#define IDC_PROFILE_3 1137
#define IDC_DEFAULT 1138
#define IDC_MENU 1139
#define IDC_COLOUR_SWITCH 1144
#define IDC_REPORT_1 1147
#define IDC_REPORT_2 1168
#define IDC_REPORT_3 1169
#define IDC_REPORT_4 1170

// Menu commands.
#define ID_CMD_OPEN 32771
#define ID_CMD_ABOUT 32773
#define ID_CMD_TRAY_EXIT 32774
#define ID_CMD_IMPORT 32776
#define ID_CMD_EXPORT 32777
#define ID_CMD_MENU_CLOSE 32779
#define ID_CMD_UPDATE 32780

// The key-setting dialog (template IDD_COMPOSITE; OK and Cancel are IDOK and IDCANCEL).
#define IDD_COMPOSITE 134
#define IDC_CMP_APPLY 1015
#define IDC_CMP_MACRO_ADD 1017
#define IDC_CMP_MACRO_DELETE 1018
#define IDC_CMP_ACTION_LIST 1019
#define IDC_CMP_RECORD 1020
#define IDC_CMP_ACTION_DELETE 1021
#define IDC_CMP_ACTION_CLEAR 1022
#define IDC_CMP_MOVE_TOP 1023
#define IDC_CMP_MOVE_UP 1024
#define IDC_CMP_MOVE_DOWN 1025
#define IDC_CMP_MOVE_BOTTOM 1026
#define IDC_CMP_RECORD_DELAY 1027
#define IDC_CMP_TAB_KEY 1028
#define IDC_CMP_TAB_MACRO 1029
#define IDC_CMP_TAB_MEDIA 1030
#define IDC_CMP_TAB_FUNCTION 1031
#define IDC_CMP_CLEAR 1032
#define IDC_CMP_MASK 1033
#define IDC_CMP_CYCLES 1125
#define IDC_CMP_MACRO_BOX 1126
#define IDC_CMP_KEY_FIELD 1127
#define IDC_CMP_MEDIA_BOX 1128
#define IDC_CMP_FUNCTION_BOX 1129
#define IDC_CMP_CYCLES_LABEL 1130
#define IDC_CMP_TITLE 1131
#define IDC_CMP_OSK 1132
#define IDC_CMP_RECORD_DELAY_LABEL 1133
#define IDC_CMP_PROMPT 1199
#define IDC_CMP_MACRO_LABEL 1200
#define IDC_CMP_KEY_LABEL 1201
#define IDC_CMP_MEDIA_LABEL 1202
#define IDC_CMP_FUNCTION_LABEL 1203

// The about box.
#define IDC_ABOUT_ICON 1300
#define IDC_ABOUT_TEXT1 1301
#define IDC_ABOUT_TEXT2 1302
#define IDC_ABOUT_LINK 1303

#endif
