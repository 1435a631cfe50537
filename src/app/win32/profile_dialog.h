#pragma once
// CProfileDlg: the profile dialog. One object owned by the main window and reused for every
// opening; its list view shows the logic's rows with a check box each, and its skinned buttons
// forward to ProfileDialogLogic.
#include <windows.h>

#include <array>
#include <map>
#include <memory>
#include <string_view>
#include <vector>

#include "app/app_paths.h"
#include "app/profile_dialog_logic.h"
#include "controls/image_button.h"
#include "controls/sheet_surface.h"
#include "platform/win32/win32_file_dialogs.h"
#include "skin/ui/base_dialog.h"
#include "texts/text_source.h"

namespace vendrel::app {

class CProfileDlg final : public skin::CBaseDialog, public ProfileDialogView {
 public:
  CProfileDlg(HWND owner, platform::IniProfile& ini, const AppPaths& paths,
              ProfileDialogHost& host, platform::IniProfile& registry,
              const texts::TextSource& texts);
  ~CProfileDlg() override;

  // Opens modally; returns when the dialog has closed.
  void Open();
  // The main window closes an open dialog, as Cancel does, when the keyboard goes.
  void CloseIfOpen() { logic_.Cancel(); }
  ProfileDialogLogic& Logic() { return logic_; }

  // ProfileDialogView
  void ClearRows() override;
  void AppendRow(const ProfileRow& row, bool offer_check) override;
  void RemoveRow(int row) override;
  void SetChecked(int row, bool checked) override;
  int SelectedRow() const override;
  void SelectRow(int row) override;
  void EnableApply(bool enabled) override;
  void ShowMessage(std::u16string_view text) override;
  void EndDialog() override;

 protected:
  BOOL OnInitDialog() override;
  void OnOK() override { logic_.Ok(); }
  void OnCancel() override { logic_.Cancel(); }
  bool OnClose() override;
  bool OnCommand(int id, int code, HWND control) override;
  bool OnNotify(int id, NMHDR& header, LRESULT& result) override;
  INT_PTR HandleMessage(UINT message, WPARAM wparam, LPARAM lparam, bool& handled) override;

 private:
  void LoadSheets();
  void PlaceControls();
  void SetUpList();
  HWND List() const;

  HWND owner_;
  const AppPaths& paths_;
  const texts::TextSource& texts_;
  platform::win32::Win32FileDialogs dialogs_;
  ProfileDialogLogic logic_;
  std::array<controls::SheetSurface, 3> sheets_;  // normal, over, down
  std::map<int, std::unique_ptr<controls::ImageButton>> buttons_;
  controls::UniqueFont label_font_;
  std::vector<bool> offers_check_;  // per row: whether it shows a check box
  int quiet_ = 0;                   // >0 while the dialog itself changes check marks
};

}  // namespace vendrel::app
