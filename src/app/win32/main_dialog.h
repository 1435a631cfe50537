#pragma once
// COrvaneDlg: the main window. It turns window messages into calls on MainWindowLogic, does what
// the logic asks of the window (MainWindowView), and is the window the device link reports to
// (HostWindow).
#include <windows.h>

#include <array>
#include <map>
#include <memory>
#include <set>
#include <vector>

#include "app/app_paths.h"
#include "app/host_window.h"
#include "app/composite_dialog_logic.h"
#include "app/keyboard_view_logic.h"
#include "app/main_window_logic.h"
#include "app/profile_dialog_logic.h"
#include "app/scene_switcher.h"
#include "app/settings_transfer_logic.h"
#include "app/win32/about_dialog.h"
#include "app/win32/composite_dialog.h"
#include "app/win32/busy_worker.h"
#include "app/win32/transfer_pump.h"
#include "app/win32/instance_platform_win32.h"
#include "app/win32/lighting_panel_view.h"
#include "app/win32/named_event_set.h"
#include "app/win32/profile_dialog.h"
#include "app/win32/scene_menu.h"
#include "app/win32/shell_services.h"
#include "app/win32/tray_icon.h"
#include "app/win32/update_dialog.h"
#include "controls/image_button.h"
#include "platform/win32/win32_file_dialogs.h"
#include "controls/sheet_surface.h"
#include "skin/state_sheet.h"
#include "skin/ui/base_dialog.h"
#include "texts/live_text_key.h"
#include "texts/text_key.h"

namespace vendrel::app {

class COrvaneDlg final : public skin::CBaseDialog,
                         public MainWindowView,
                         public HostWindow,
                         public KeyboardViewView,
                         public CompositeDialogHost,
                         public ProfileDialogHost,
                         public LightingKeyPicture,
                         public SceneView,
                         public SettingsTransferHost {
 public:
  COrvaneDlg(const AppPaths& paths, platform::IniProfile& ini, ShellServices& services,
             ShellFlags& flags, Win32InstancePlatform& instance);
  ~COrvaneDlg() override;

  // MainWindowView
  bool InitialiseSkin() override;
  void AddAboutToSystemMenu() override;
  void SetWindowIcons(int icon_id) override;
  void PublishMainWindow() override;
  bool LoadLayeredWindowFunction() override;
  void LoadStateSheets() override;
  void ReadLink() override;
  void PlaceControls() override;
  void LayOutLightingPanel() override;
  void BecomeToolWindow() override;
  void SetMainTag() override;
  void AddFrameStyles() override;
  void SetCaption(std::u16string_view caption) override;
  void CreateNamedEvents() override;
  void SetColourKeysSwitchText(std::u16string_view text) override;
  void PostInitMessage() override;
  void ApplyLabels() override;
  void AddTrayIcon(int icon_id, std::u16string_view tooltip) override;
  void ChangeTrayIcon(int icon_id) override;
  void RemoveTrayIcon() override;
  void Hide() override;
  void ShowAsApplicationWindow() override;
  void ShowMessage(std::u16string_view text) override;
  bool AskYesNo(std::u16string_view text) override;
  void EnableApply(bool enabled) override;
  void StartBusy() override;
  void StopBusy() override;
  void RunTransfer(std::function<void()> work) override;
  void RefreshKeyButtons() override;
  void MarkActiveProfile(int profile) override;
  void CloseChildDialogs() override;
  void RestoreDefaultLighting() override;
  void LoadLightingOnConnect(int active_profile) override;
  bool ChildAgreesToClose(ChildDialog child) override;
  void CloseInstanceMutex() override;
  void CloseNamedEvents() override;
  void ReleaseSkinBitmaps() override;
  void EndModalLoop() override;
  void ExitProcess() override;

  // KeyboardViewView (SetColourKeysSwitchText is shared with MainWindowView)
  void KeepKeyLit(int control_id, bool lit) override;
  void OpenKeyDialog(const KeyDialogRequest& request) override;
  void ShowColourFlag(int control_id, bool flag) override;
  void ShowColourKeys(bool on) override;
  void EnableMainApply() override;
  void EnableKey(int control_id, bool enabled) override;
  void ShowArrow(FlipArrow arrow, std::u16string_view variant_key) override;
  void ShowKeyMark(int control_id, bool set) override;
  void SetKeyTooltip(int control_id, std::u16string_view text) override;
  void SetGKeyLabel(int control_id, std::u16string_view label) override;
  void ShowBankIndicator(const skin::SlotSheets& sheets) override;

  // CompositeDialogHost
  void ShowAssignment(int control_id, bool set) override;

  // ProfileDialogHost
  int ActiveProfile() override { return services_.ActiveProfile(); }
  std::u16string CacheFilePath() override { return services_.Settings().CacheFilePath(); }
  std::u16string UserFolder() override;
  bool CreateDefaultSettingsFile(const std::u16string& path) override;
  void SetActiveProfile(int profile) override { services_.SetKeyboardActiveProfile(profile); }
  void RefreshCache() override;
  void RebuildProfileMenu() override;
  void DisableMainApply() override;

  // LightingKeyPicture (PressReportButton also serves the panel)
  void TintKey(int control_id, std::optional<COLORREF> colour) override;
  void UntintKeysAndRedraw() override;
  void PressReportButton(int rate) override;

  // SceneView (ShowMessage, AskYesNo and MarkActiveProfile are shared with MainWindowView)
  bool EditorOpen() override;
  bool MainSettingsChanged() override;
  void ApplyMainSettings() override;
  void SetMainApply(bool enabled) override;
  void RedrawKeyButtons() override;
  void ShowProfileMenu(const ProfileMenu& menu) override;
  void ColourKeysModeOff() override;
  void ShowLightingOf(int profile) override;
  bool ProfileDialogChanged() override;
  void MarkProfileDialogRow(int profile) override;

  // SettingsTransferHost (RefreshKeyButtons is shared with MainWindowView)
  std::optional<KeyboardLink> KeyboardForWrite() override { return services_.KeyboardForWrite(); }
  void SetSettingsPending(bool pending) override { logic_.SetSettingsChanged(pending); }

  // HostWindow
  void SendToWindow(std::uint32_t message, std::uint32_t first, std::uint32_t second) override;
  void PostToWindow(std::uint32_t message, std::uint32_t first, std::uint32_t second) override;
  void HideWindow() override;
  void SetTrayIcon(int icon_id) override;
  bool IsReady() const override;
  bool StartFlag() const override;
  void SetStartFlag() override;

 protected:
  BOOL OnInitDialog() override;
  void OnOK() override;
  void OnCancel() override;
  bool PreTranslateMessage(MSG& msg) override;
  bool OnCommand(int id, int code, HWND control) override;
  bool OnTimer(UINT_PTR id) override;
  bool OnSysCommand(UINT command) override;
  // Private, registered and tray messages, and painting while minimised.
  INT_PTR HandleMessage(UINT message, WPARAM wparam, LPARAM lparam, bool& handled) override;

 private:
  void ShowMainMenu();
  void ShowTrayMenu();
  void OpenHelp();
  void OpenLink();
  controls::ImageButton* Button(int id);
  controls::ImageButton& AddButton(int id);
  // One font per face and size for the life of the window, however often a label is set.
  HFONT Font(const wchar_t* face, int points);
  void AddTooltip(HWND control, const std::wstring& text);
  std::wstring TextW(texts::TextKey key);
  std::wstring TextW(texts::LiveTextKey key);
  // The colour-keys look of a key or G button at its place on the picture.
  controls::SlotImage ColourLook(int control_id, bool flag);
  // A click of the keyboard view; false when the id is not the keyboard view's.
  bool OnKeyboardCommand(int id);
  // Profile buttons, the scene button and the scene menu's commands; false for other ids.
  bool OnSceneCommand(int id);
  // Message boxes belong to the key-setting dialog while it is open, so that closing one does
  // not enable the main window under that modal dialog.
  HWND MessageOwner() const;

  const AppPaths& paths_;
  ShellServices& services_;
  platform::IniProfile& ini_;
  ShellFlags& flags_;
  Win32InstancePlatform& instance_;
  MainWindowLogic logic_;
  KeyboardViewLogic keyboard_;
  std::unique_ptr<CCompositeDlg> composite_;
  std::unique_ptr<CProfileDlg> profile_;
  bool write_pending_ = false;  // the last refresh kept an unfinished write to send
  std::map<int, POINT> key_origins_;  // where each key and G button is cut from the sheets
  std::set<int> absent_keys_;          // keys this model lacks: never enabled
  std::array<controls::SheetSurface, skin::kMainSheetCount> sheets_;
  std::map<int, std::unique_ptr<controls::ImageButton>> buttons_;
  std::map<std::pair<std::wstring, int>, controls::UniqueFont> fonts_;
  HWND tooltip_ = nullptr;
  std::unique_ptr<CLightingPanel> lighting_;  // once the device link and the skin are there
  std::unique_ptr<SceneSwitcher> scenes_;     // once the device link is there
  CSceneMenu scene_menu_;
  CTrayIcon tray_;
  NamedEventSet events_;
  std::unique_ptr<CAboutDlg> about_;
  std::unique_ptr<CUpdateDlg> update_;  // keeps the chosen update program for the run

  // Import and Export of the main menu.
  platform::win32::Win32FileDialogs file_dialogs_{nullptr};
  std::unique_ptr<SettingsTransferLogic> transfer_;
  std::unique_ptr<BusyWorker> busy_;  // made at the first Apply, reused by every later one
  TransferPump transfer_pump_;
  BusyWorker& Busy();
  std::wstring link_;
  UINT taskbar_created_ = 0;
  HICON big_icon_ = nullptr;    // shared resource icons: owned by the system
  HICON small_icon_ = nullptr;
};

}  // namespace vendrel::app
