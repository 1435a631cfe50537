#include "app/update_dialog_logic.h"

#include <utility>

namespace vendrel::app {

using texts::TextKey;

platform::FileDialogRequest BackupRequest() {
  platform::FileDialogRequest r;
  r.save = true;
  r.filter = u"(*.fwc)|*.fwc|(*.*)|*.*||";
  r.default_extension = u"fwc";
  r.proposed = u"*.fwc";
  r.overwrite_prompt = true;
  return r;
}

platform::FileDialogRequest UpdateProgramRequest(const std::u16string& package_folder) {
  platform::FileDialogRequest r;
  r.filter = u"MyType Files (*.exe)|*.exe||";
  r.default_extension = u"exe";
  // A pattern inside the folder opens the dialog there, showing the programs it holds.
  r.proposed = platform::JoinPath(package_folder, u"*.exe");
  return r;
}

UpdateDialogLogic::UpdateDialogLogic(UpdateDialogView& view, UpdateDialogHost& host,
                                     platform::FileDialogs& dialogs,
                                     const platform::FileSystem& files,
                                     store::SettingsFiles& settings,
                                     const texts::TextSource& texts, std::u16string package_folder)
    : view_(view),
      host_(host),
      dialogs_(dialogs),
      files_(files),
      settings_(settings),
      texts_(texts),
      package_folder_(std::move(package_folder)) {}

void UpdateDialogLogic::OnOpen() { view_.ShowProgramPath(program_path_); }

void UpdateDialogLogic::Backup() {
  const auto path = dialogs_.Choose(BackupRequest());
  if (!path || path->empty()) return;
  const bool saved = settings_.SaveSettingsFile(*path, true);
  view_.ShowMessage(texts_.Text(saved ? TextKey::MAIN_UPDATE_BACKUP_OK : TextKey::MAIN_UPDATE_BACKUP_NG));
}

void UpdateDialogLogic::ChooseProgram() {
  if (const auto path = dialogs_.Choose(UpdateProgramRequest(package_folder_))) {
    program_path_ = *path;
  }
  host_.SetCurrentFolder(package_folder_);
  view_.ShowProgramPath(program_path_);
}

void UpdateDialogLogic::StartUpdate() {
  if (program_path_.empty() || !files_.FileExists(program_path_)) {
    view_.ShowMessage(texts_.Text(TextKey::MAIN_UPDATE_ERROR_TEXT));
    return;
  }
  device::CommandSet* commands = host_.Commands();
  if (commands == nullptr || commands->EnterUpdateMode() != device::kOk) {
    view_.ShowMessage(texts_.Text(TextKey::MAIN_BOOT_ERROR_TEXT));
    return;
  }
  // The keyboard has left its normal operation: whatever the shell answers, this program is not
  // started a second time by another click.
  const std::u16string program = std::exchange(program_path_, std::u16string());
  view_.ShowProgramPath(program_path_);
  if (host_.StartProgram(program)) {
    view_.CloseDialog();
  } else {
    view_.ShowMessage(texts_.Text(TextKey::MAIN_SHELL_ERROR_TEXT));
  }
}

void UpdateDialogLogic::CancelUpdate() {
  program_path_.clear();
  view_.CloseDialog();
}

}  // namespace vendrel::app
