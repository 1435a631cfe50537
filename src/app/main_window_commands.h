#pragma once
// Command ids of the main window's own controls and menus, and what each asks for.
#include <cstdint>

namespace vendrel::app {

inline constexpr int kIdOk = 1;
inline constexpr int kIdCancel = 2;
inline constexpr int kIdProfiles = 1005;
inline constexpr int kIdApply = 1006;
inline constexpr int kIdMacroEdit = 1007;
inline constexpr int kIdLink = 1121;
inline constexpr int kIdHelp = 1122;
inline constexpr int kIdMinimise = 1123;
inline constexpr int kIdClose = 1124;
inline constexpr int kIdVersion = 1134;
inline constexpr int kIdDefault = 1138;
inline constexpr int kIdMenu = 1139;
inline constexpr int kIdColourSwitch = 1144;
inline constexpr int kCmdOpen = 32771;
inline constexpr int kCmdAbout = 32773;
inline constexpr int kCmdTrayExit = 32774;
inline constexpr int kCmdImport = 32776;
inline constexpr int kCmdExport = 32777;
inline constexpr int kCmdMenuClose = 32779;
inline constexpr int kCmdUpdate = 32780;

inline constexpr int kTrayIconId = 140;  // also the tray menu's resource
inline constexpr int kMainMenuId = 144;
inline constexpr int kMainDialogId = 102;
inline constexpr int kAboutDialogId = 100;
inline constexpr std::uint32_t kSysCommandAbout = 0x0010;
inline constexpr int kTimerBusy = 1050;
inline constexpr int kTimerLighting = 1051;  // started by kMsgLighting, one shot

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
