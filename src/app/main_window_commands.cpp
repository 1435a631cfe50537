#include "app/main_window_commands.h"

namespace vendrel::app {

ShellCommand ClassifyCommand(int id) {
  switch (id) {
    case kIdApply: return ShellCommand::Apply;
    case kIdOk: return ShellCommand::Ok;
    case kIdCancel: return ShellCommand::Cancel;
    case kIdDefault: return ShellCommand::RestoreDefaults;
    case kIdMenu: return ShellCommand::MainMenu;
    case kIdLink: return ShellCommand::OpenLink;
    case kIdHelp: return ShellCommand::Help;
    case kIdMinimise: return ShellCommand::Minimise;
    case kIdClose:
    case kCmdTrayExit:
    case kCmdMenuClose: return ShellCommand::CloseProgram;
    case kCmdOpen: return ShellCommand::Show;
    case kCmdAbout: return ShellCommand::About;
    case kCmdImport: return ShellCommand::Import;
    case kCmdExport: return ShellCommand::Export;
    case kIdProfiles: return ShellCommand::Profiles;
    case kCmdUpdate: return ShellCommand::Update;
    default: return ShellCommand::None;
  }
}

}  // namespace vendrel::app
