#pragma once
// CCompositeDlg: the key-setting dialog. One object owned by the main window and reused for
// every opening; it copies between its controls and CompositeDialogLogic and draws what the
// logic says.
#include <windows.h>

#include <array>
#include <map>
#include <memory>
#include <vector>

#include "app/app_paths.h"
#include "app/composite_dialog_controls.h"
#include "app/composite_dialog_logic.h"
#include "app/keyboard_view_logic.h"
#include "app/macro_editor.h"
#include "app/win32/key_capture_hooks.h"
#include "app/win32/macro_tab_view.h"
#include "controls/image_button.h"
#include "controls/sheet_surface.h"
#include "skin/ui/base_dialog.h"
#include "texts/text_source.h"
#include "texts/text_table.h"

namespace vendrel::app {

class CCompositeDlg final : public skin::CBaseDialog, public CompositeDialogView {
 public:
  CCompositeDlg(HWND owner, platform::IniProfile& ini, const AppPaths& paths,
                store::WorkingStore& store, const texts::TextSource& texts,
                const texts::TextTable& loaded_texts, platform::IniProfile& registry,
                CompositeDialogHost& host);
  ~CCompositeDlg() override;

  // Opens modally beside the clicked button; returns when the dialog has closed.
  void Open(const KeyDialogRequest& request, HWND clicked_button);
  // The main window closes an open dialog when the keyboard goes.
  void CloseIfOpen() { logic_.Close(); }
  bool IsOpen() const { return logic_.IsOpen(); }

  // CompositeDialogView
  void ShowMode(bool macro_edit) override;
  void ShowTab(CompositeTab tab) override;
  void SetKeyField(std::u16string_view text) override;
  void EnableApply(bool enabled) override;
  void SelectMedia(int position) override;
  void SelectFunction(int position) override;
  int SelectedMedia() const override;
  int SelectedFunction() const override;
  void InstallCaptureHooks() override { hooks_.Install(); }
  void RemoveCaptureHooks() override { hooks_.Remove(); }
  void EndDialog() override;

 protected:
  BOOL OnInitDialog() override;
  void OnOK() override { logic_.Ok(); }
  void OnCancel() override { logic_.Close(); }
  bool OnClose() override;
  bool PreTranslateMessage(MSG& msg) override;
  bool OnCommand(int id, int code, HWND control) override;
  bool OnNotify(int id, NMHDR& header, LRESULT& result) override;
  INT_PTR HandleMessage(UINT message, WPARAM wparam, LPARAM lparam, bool& handled) override;

 private:
  using SheetSet = std::array<controls::SheetSurface, kCompositeSheetStates>;

  void LoadSheets();
  void PlaceControls();
  void FillBoxes();
  void ApplyTexts();
  void SetButtonImages(controls::ImageButton& button, CompositeImageSet set, POINT origin);
  void PlaceBeside(HWND clicked_button);
  void AddTooltip(int id, const std::wstring& text);
  controls::ImageButton* Button(int id);
  const SheetSet& Sheets(CompositeImageSet set) const;

  HWND owner_;
  const texts::TextSource& texts_;
  const texts::TextTable& loaded_texts_;
  MacroTabView macro_view_;
  MacroEditor macro_tab_;
  CompositeDialogLogic logic_;
  KeyCaptureHooks hooks_;
  std::array<SheetSet, kCompositeImageSetCount> sheets_;
  std::map<int, std::unique_ptr<controls::ImageButton>> buttons_;
  std::map<int, POINT> origins_;  // where each image button's pictures are cut
  controls::ImageButton mask_;
  POINT mask_origin_{0, 0};
  controls::UniqueFont label_font_;
  HWND tooltip_ = nullptr;  // owned by the dialog window
  bool macro_edit_ = false;
  CompositeTab tab_ = CompositeTab::SingleKey;
};

}  // namespace vendrel::app
