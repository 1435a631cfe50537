#pragma once
// Command ids of the main window's own controls and menus, and what each asks for.
#include <cstdint>

#include "app/resource_ids.h"

namespace vendrel::app {

// Typed names of the numbers the resource script uses (app/resource_ids.h).
inline constexpr int kIdOk = 1;      // the dialog manager's OK and Cancel
inline constexpr int kIdCancel = 2;
inline constexpr int kIdProfiles = IDC_PROFILES;
inline constexpr int kIdApply = IDC_APPLY;
inline constexpr int kIdMacroEdit = IDC_MACRO_EDIT;
inline constexpr int kIdLink = IDC_LINK;
inline constexpr int kIdHelp = IDC_HELP_BUTTON;
inline constexpr int kIdMinimise = IDC_MINIMISE;
inline constexpr int kIdClose = IDC_CLOSE;
inline constexpr int kIdLockCaps = IDC_LOCK_CAPS;
inline constexpr int kIdLockNum = IDC_LOCK_NUM;
inline constexpr int kIdLockScroll = IDC_LOCK_SCROLL;
inline constexpr int kIdBankIndicator = IDC_BANK_INDICATOR;
inline constexpr int kIdFlip0 = IDC_FLIP_0;
inline constexpr int kIdFlip1 = IDC_FLIP_1;
inline constexpr int kIdFlip2 = IDC_FLIP_2;
inline constexpr int kIdLeftArrow = IDC_LEFT_ARROW;
inline constexpr int kIdRightArrow = IDC_RIGHT_ARROW;
inline constexpr int kIdVersion = IDC_VERSION;
inline constexpr int kIdProfile1 = IDC_PROFILE_1;
inline constexpr int kIdProfile2 = IDC_PROFILE_2;
inline constexpr int kIdProfile3 = IDC_PROFILE_3;
inline constexpr int kIdDefault = IDC_DEFAULT;
inline constexpr int kIdMenu = IDC_MENU;
inline constexpr int kIdColourSwitch = IDC_COLOUR_SWITCH;
inline constexpr int kIdReport1 = IDC_REPORT_1;
inline constexpr int kIdReport2 = IDC_REPORT_2;
inline constexpr int kIdReport3 = IDC_REPORT_3;
inline constexpr int kIdReport4 = IDC_REPORT_4;
inline constexpr int kIdSceneMenu = IDC_SCENE_MENU;
inline constexpr int kCmdOpen = ID_CMD_OPEN;
inline constexpr int kCmdAbout = ID_CMD_ABOUT;
inline constexpr int kCmdTrayExit = ID_CMD_TRAY_EXIT;
inline constexpr int kCmdImport = ID_CMD_IMPORT;
inline constexpr int kCmdExport = ID_CMD_EXPORT;
inline constexpr int kCmdMenuClose = ID_CMD_MENU_CLOSE;
inline constexpr int kCmdUpdate = ID_CMD_UPDATE;

inline constexpr int kTrayIconId = IDM_TRAY;  // also the tray menu's resource
inline constexpr int kTrayMenuId = IDM_TRAY;
inline constexpr int kMainMenuId = IDM_MAIN;
inline constexpr int kMainDialogId = IDD_MAIN;
inline constexpr int kAboutDialogId = IDD_ABOUTBOX;


inline constexpr std::uint32_t kSysCommandAbout = 0x0010;
inline constexpr int kTimerBusy = 1050;
// Frame period of the busy indicator while Apply runs.
inline constexpr unsigned kBusyFramePeriodMs = 50;
inline constexpr int kTimerLighting = 1051;  // started by kMsgLighting, one shot
// Posted to the main window by the busy worker: show the progress picture and start timer 1050;
// stop it and hide the picture (WM_APP + 0x50 and + 0x51).
inline constexpr std::uint32_t kMsgBusyStarted = 0x8050;
inline constexpr std::uint32_t kMsgBusyStopped = 0x8051;

enum class ShellCommand {
  None,        // not the shell's: the keyboard view, lighting or profiles handle it
  Apply,
  Ok,
  Cancel,
  RestoreDefaults,
  MainMenu,
  OpenLink,
  Help,
  Minimise,
  CloseProgram,
  Show,
  About,
  Import,
  Export,
  Profiles,
  Update,
};

ShellCommand ClassifyCommand(int id);

}  // namespace vendrel::app
