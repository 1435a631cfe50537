#pragma once
// What the main window asks of the other subsystems, wired to the real ones: the device link over
// Quorva.dll, the two stores, the settings files and the language texts.
#include <windows.h>

#include <memory>
#include <optional>

#include "app/app_paths.h"
#include "app/device_event_policy.h"
#include "app/host_window.h"
#include "app/keyboard_view_logic.h"
#include "app/lighting_panel_logic.h"
#include "app/lighting_parts.h"
#include "app/main_window_view.h"
#include "app/scene_switcher.h"
#include "app/settings_transfer_logic.h"
#include "device/device_link.h"
#include "device/win32/quorva_hid_library.h"
#include "platform/ini_profile.h"
#include "platform/win32/win32_documents_folder.h"
#include "platform/win32/win32_message_boxes.h"
#include "store/key_store.h"
#include "store/settings_apply.h"
#include "store/settings_files.h"
#include "texts/language_texts.h"

namespace vendrel::app {

class ShellServices final : public MainWindowServices,
                            public KeyboardViewServices,
                            public LightingPanelServices {
 public:
  ShellServices(const AppPaths& paths, platform::IniProfile& ini, platform::IniProfile& registry,
                store::WorkingStore& working, store::DeviceStore& device_store);

  // The window that the device link reports to; set before StartDeviceLink.
  void SetHost(HostWindow* host, HWND owner);

  const texts::TextSource& Texts() override { return texts_; }
  void SetActiveProfileCache(int profile) override;
  bool StartDeviceLink() override;
  int PresenceCheck() override;
  void StartConnectionWorker(int count) override;
  bool IsConnected() override;
  std::recursive_mutex& WorkingStoreLock() override { return working_.Mutex(); }
  std::recursive_mutex& DeviceStoreLock() override { return device_store_.Mutex(); }
  void ResetSettings() override;
  void SendActiveProfile() override;
  KeyboardWrite ReportActiveProfileWrite() override;
  void ClearActiveProfileAssignments() override;
  KeyboardRead ConnectRefresh() override;
  bool KeyboardSettingsKnown() override;
  int ActiveProfile() override;
  void BuildSceneMenu() override;
  void ReleaseWorkingStore() override;
  void ReleaseDeviceStore() override;

  int GBank() const override;
  const texts::TextTable& LoadedTexts() const override;
  store::WorkingStore& Working() override { return working_; }
  platform::IniProfile& RegistryProfile() override { return registry_; }
  // The settings files: scene switching, the profile dialog's new files, the update dialog's
  // backup.
  store::SettingsFiles& Settings() { return settings_; }
  // The keyboard's active profile, 0..2; nothing without a device link.
  void SetKeyboardActiveProfile(int profile);
  // The keyboard's commands (scene switching, the boot-mode packet); null until the device link
  // has started.
  device::CommandSet* Commands() { return link_ ? &link_->Commands() : nullptr; }

  // LightingPanelServices
  bool SwitchScene(int profile) override;
  int KeyboardActiveProfile() override { return ActiveProfile(); }
  // The lighting subsystem; null until the device link has started.
  LightingParts* Lighting() { return lighting_; }

  // Scene switching: the factory key map it reads against, and the switcher the light switch and
  // the scene menu's rebuild reach.
  device::KeyMapBytes FactoryKeyMap() const;
  void SetSceneSwitcher(SceneSwitcher* scenes) { scenes_ = scenes; }
  // What import and export work on.
  store::DeviceStore& DeviceSettings() { return device_store_; }
  platform::MessageBoxes& Boxes() { return boxes_; }
  // Where a write to the keyboard goes; none while no keyboard is connected.
  std::optional<KeyboardLink> KeyboardForWrite();

 private:
  const AppPaths& paths_;
  platform::IniProfile& ini_;
  platform::IniProfile& registry_;  // the per-user settings: Flip, the record-delay option
  store::WorkingStore& working_;
  store::DeviceStore& device_store_;
  platform::win32::Win32DocumentsFolder documents_;
  platform::win32::Win32MessageBoxes boxes_;
  store::SettingsFiles settings_;
  texts::LanguageTexts texts_;
  HostWindow* host_ = nullptr;
  // The library's threads call into these until the process ends (the library is never ended or
  // unloaded), so they are created once and deliberately never destroyed; the link's connection
  // worker and macro indicator threads live as long and end with the process.
  device::QuorvaHidLibrary* library_ = nullptr;
  DeviceEventPolicy* events_ = nullptr;
  device::DeviceLink* link_ = nullptr;
  LightingParts* lighting_ = nullptr;  // lives as long as the link, for the same reason
  SceneSwitcher* scenes_ = nullptr;    // the main window's
  // What the last SendActiveProfile did, for its report on the window thread; nullopt: no link.
  std::optional<store::SettingsApplyOutcome> last_write_;
};

}  // namespace vendrel::app
