#pragma once
// Switching the keyboard's profile (scene) apart from Win32: the switch itself with its refusal
// while the key-setting dialog is open and its question about unapplied settings, the three
// profile buttons, and the scene menu with the profile button's caption.
#include <functional>
#include <string_view>

#include "app/profile_menu.h"
#include "device/command_set.h"
#include "store/key_store.h"
#include "store/settings_files.h"
#include "texts/text_source.h"

namespace vendrel::app {

// What the switch asks of the main window and the windows it owns.
class SceneView {
 public:
  virtual ~SceneView() = default;

  virtual void ShowMessage(std::u16string_view text) = 0;
  virtual bool AskYesNo(std::u16string_view text) = 0;  // default button No
  virtual bool EditorOpen() = 0;                        // the key-setting dialog
  virtual bool MainSettingsChanged() = 0;               // the main window's Apply is enabled
  virtual void ApplyMainSettings() = 0;                 // the main window's Apply command
  virtual void SetMainApply(bool enabled) = 0;
  virtual void RedrawKeyButtons() = 0;  // marks and tooltips from the store
  virtual void ShowProfileMenu(const ProfileMenu& menu) = 0;  // the menu and the caption of 1005
  virtual void MarkActiveProfile(int profile) = 0;            // that profile button checked
  virtual void ColourKeysModeOff() = 0;  // the keyboard view leaves the colour-keys mode
  // The lighting panel shows and edits that profile's lighting, its light switch off.
  virtual void ShowLightingOf(int profile) = 0;
  // The profile dialog: whether it holds changes not applied yet, and, when it is open, its row of
  // the profile checked and its Apply disabled.
  virtual bool ProfileDialogChanged() = 0;
  virtual void MarkProfileDialogRow(int profile) = 0;
};

// The keyboard's factory key map as last reported (the built-in one before any report).
using FactoryKeyMap = std::function<device::KeyMapBytes()>;

class SceneSwitcher {
 public:
  // Every reference must outlive this object.
  SceneSwitcher(SceneView& view, const texts::TextSource& texts, device::CommandSet& commands,
                store::SettingsFiles& files, store::WorkingStore& store, FactoryKeyMap factory);

  // Makes profile (0..2; 3 and more count as 0; -1 keeps the keyboard's) the keyboard's active
  // one. True when the keyboard is on the profile asked for afterwards (for -1: when nothing
  // refused the switch); false when the key-setting dialog is open, a question about unapplied
  // settings is already on screen, the settings the user chose to save were not written, or the
  // keyboard did not take the profile.
  bool SwitchScene(int profile);

  // A click on the button of profile 0..2.
  void OnProfileButton(int profile);
  // A command of the scene menu; false when the command is not the menu's.
  bool OnSceneCommand(int command);
  void RebuildProfileMenu();

 private:
  // The answer No: the edits thrown away by reloading the cache file, or, when that cannot be
  // read, by reading the keyboard again. Apply is enabled again only for a write still to finish.
  void DiscardEdits();

  SceneView& view_;
  const texts::TextSource& texts_;
  device::CommandSet& commands_;
  store::SettingsFiles& files_;
  store::WorkingStore& store_;
  FactoryKeyMap factory_;
  bool asking_ = false;
};

}  // namespace vendrel::app
