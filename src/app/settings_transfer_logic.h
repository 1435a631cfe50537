#pragma once
// Import and Export of the main menu, apart from Win32: the file dialogs they ask for, the check
// of an imported file, its write to all three profiles of the keyboard, the save of the store to
// a chosen file, and what the user is told. An import that the keyboard did not take at all, or
// a file that is no settings file, leaves the store as it was.
#include <cstdint>
#include <optional>
#include <string>

#include "device/command_set.h"
#include "platform/file_dialog.h"
#include "platform/message_box.h"
#include "store/key_map_write.h"
#include "store/key_store.h"
#include "store/settings_files.h"
#include "texts/text_table.h"

namespace vendrel::app {

// "(*.fwc)|*.fwc|(*.*)|*.*||", extension fwc, proposed "*.fwc".
platform::FileDialogRequest ImportFileRequest();
platform::FileDialogRequest ExportFileRequest();

// Where a write to the keyboard goes, with the factory key map it is encoded against.
struct KeyboardLink {
  device::CommandSet& commands;
  device::KeyMapBytes factory_map;
  std::optional<std::uint32_t> macro_space;  // none until the keyboard's information was read
};

// What import and export ask of the main window.
class SettingsTransferHost {
 public:
  virtual ~SettingsTransferHost() = default;
  // None while no keyboard is connected.
  virtual std::optional<KeyboardLink> KeyboardForWrite() = 0;
  // Marks, tooltips and Flip of every key redrawn from the WorkingStore.
  virtual void RefreshKeyButtons() = 0;
  // The main window's Apply button and its pending-changes state.
  virtual void SetSettingsPending(bool pending) = 0;
};

// The pieces import and export work on; every reference outlives the logic.
struct SettingsTransferParts {
  store::SettingsFiles& files;
  store::WorkingStore& working;
  store::DeviceStore& device_store;
  platform::FileDialogs& dialogs;
  platform::MessageBoxes& boxes;
  const texts::TextTable& texts;
};

enum class ImportResult {
  Cancelled,  // no file chosen
  Rejected,   // no settings file, or unreadable: nothing changed
  Written,    // the keyboard and the cache file hold the file's settings
  NotCached,  // the keyboard holds them; the cache file could not be saved
  NotSent,    // the keyboard could not take them (macros, none connected): nothing changed
  Failed,     // part of them may have reached the keyboard: they stay in the store, pending
};

enum class ExportResult { Cancelled, Saved, Failed };

class SettingsTransferLogic {
 public:
  SettingsTransferLogic(const SettingsTransferParts& parts, SettingsTransferHost& host);

  // Command 32776.
  ImportResult Import();
  // Command 32777.
  ExportResult Export();

  // The import of a chosen file, without its dialog.
  ImportResult ImportFile(const std::u16string& path);
  // The save of the store to a chosen file, without its dialog.
  ExportResult ExportFile(const std::u16string& path);

 private:
  // Under the store's lock: the file's settings to the keyboard, or the store given back.
  ImportResult LoadAndWrite(const std::u16string& path, const KeyboardLink& link);

  SettingsTransferParts parts_;
  SettingsTransferHost& host_;
};

}  // namespace vendrel::app
