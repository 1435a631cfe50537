#pragma once
// The update and backup dialog, apart from Win32: the backup to a settings file, the choice of an
// update program from the package folder, the start of an update (the keyboard put into its boot
// mode, then the program started) and its cancel. The chosen program outlives the dialog's
// window within one run, so this object lives with the main window.
#include <string>
#include <string_view>

#include "device/command_set.h"
#include "platform/file_dialog.h"
#include "platform/file_system.h"
#include "store/settings_files.h"
#include "texts/text_source.h"

namespace vendrel::app {

class UpdateDialogView {
 public:
  virtual ~UpdateDialogView() = default;
  // The path label shows path, redrawn at once.
  virtual void ShowProgramPath(std::u16string_view path) = 0;
  virtual void ShowMessage(std::u16string_view text) = 0;
  virtual void CloseDialog() = 0;
};

class UpdateDialogHost {
 public:
  virtual ~UpdateDialogHost() = default;
  // The keyboard's commands; null while there is no device link.
  virtual device::CommandSet* Commands() = 0;
  // Starts the program as the shell opens a file, in a normal window; true when the shell
  // reported it started.
  virtual bool StartProgram(const std::u16string& path) = 0;
  // The process's current folder, so an update program finds its files beside it.
  virtual void SetCurrentFolder(const std::u16string& folder) = 0;
};

// The file dialogs' requests: the backup's save dialog and the update program's open dialog,
// which starts in the package folder.
platform::FileDialogRequest BackupRequest();
platform::FileDialogRequest UpdateProgramRequest(const std::u16string& package_folder);

class UpdateDialogLogic {
 public:
  // Every reference must outlive this object.
  UpdateDialogLogic(UpdateDialogView& view, UpdateDialogHost& host, platform::FileDialogs& dialogs,
                    const platform::FileSystem& files, store::SettingsFiles& settings,
                    const texts::TextSource& texts, std::u16string package_folder);

  // The dialog's window has opened: the label shows the program chosen earlier in this run.
  void OnOpen();
  void Backup();
  void ChooseProgram();
  void StartUpdate();
  void CancelUpdate();

  const std::u16string& ProgramPath() const { return program_path_; }

 private:
  UpdateDialogView& view_;
  UpdateDialogHost& host_;
  platform::FileDialogs& dialogs_;
  const platform::FileSystem& files_;
  store::SettingsFiles& settings_;
  const texts::TextSource& texts_;
  const std::u16string package_folder_;
  std::u16string program_path_;
};

}  // namespace vendrel::app
