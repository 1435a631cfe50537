// Resource numbers shared by the resource script and the code.
#pragma once

#define IDD_ABOUTBOX 100
#define IDD_MAIN 102
#define IDI_DISCONNECTED 128
#define IDM_TRAY 140
#define IDI_CONNECTED 141
#define IDI_MACRO_PLAYING 142
#define IDM_MAIN 144

#define IDC_ABOUT_ICON 1300
#define IDC_ABOUT_TEXT1 1301
#define IDC_ABOUT_TEXT2 1302
#define IDC_ABOUT_LINK 1303
