#pragma once
// CUpdateDlg: the update and backup dialog. One object owned by the main window and opened
// modally from its menu; it places its controls from the skin and does what
// UpdateDialogLogic asks of the window and the system.
#include <windows.h>

#include <map>
#include <memory>
#include <string>

#include "app/app_paths.h"
#include "app/update_dialog_logic.h"
#include "controls/image_button.h"
#include "controls/sheet_surface.h"
#include "controls/transparent_label.h"
#include "platform/win32/win32_file_dialogs.h"
#include "platform/win32/win32_message_boxes.h"
#include "skin/ui/base_dialog.h"

namespace vendrel::app {

class ShellServices;

class CUpdateDlg final : public skin::CBaseDialog,
                         public UpdateDialogView,
                         public UpdateDialogHost {
 public:
  CUpdateDlg(HWND owner, platform::IniProfile& ini, const AppPaths& paths,
             ShellServices& services);
  ~CUpdateDlg() override;

  // Opens modally; returns when the dialog has closed.
  void Open();
  // The program is closing: an open dialog ends its loop, keeping the chosen program.
  void CloseIfOpen();

  // UpdateDialogView
  void ShowProgramPath(std::u16string_view path) override;
  void ShowMessage(std::u16string_view text) override;
  void CloseDialog() override;

  // UpdateDialogHost
  device::CommandSet* Commands() override;
  bool StartProgram(const std::u16string& path) override;
  void SetCurrentFolder(const std::u16string& folder) override;

 protected:
  BOOL OnInitDialog() override;
  void OnOK() override {}  // Enter starts nothing
  void OnCancel() override { CloseDialog(); }
  bool OnCommand(int id, int code, HWND control) override;

 private:
  void LoadSheets();
  void PlaceControls();
  // Over the main window, or in the middle of the work area while that is hidden.
  void CentreOnOwner();

  HWND owner_;
  ShellServices& services_;
  platform::win32::Win32FileDialogs dialogs_;
  platform::win32::Win32MessageBoxes boxes_;
  UpdateDialogLogic logic_;
  controls::SheetSurface normal_sheet_;
  controls::SheetSurface over_sheet_;
  bool sheets_loaded_ = false;  // once per run, at the first opening
  std::map<int, std::unique_ptr<controls::ImageButton>> buttons_;
  controls::TransparentLabel path_label_;
  controls::UniqueFont font_;
};

}  // namespace vendrel::app
