#pragma once
// The settings files of the WorkingStore: validate, load, save, the per-user cache file, default
// settings, export of the keyboard's memory and the cache refresh when the keyboard connects.
// Files are read and written whole; a save goes through a temporary file beside the target, so a
// failure never costs the user the previous file.
#include <cstdint>
#include <string>

#include "device/command_set.h"
#include "keys/key_map_codec.h"
#include "keys/key_store.h"
#include "platform/documents_folder.h"
#include "platform/file_system.h"
#include "platform/message_box.h"
#include "texts/text_table.h"

namespace vendrel::profiles {

inline constexpr char16_t kUserFolderName[] = u"RX73P05D";
// One cache file holds all profiles; the profile number callers pass is not part of the name.
inline constexpr char16_t kCacheFileName[] = u"$Profile0";
// The name the save dialog proposes for a new settings file (two blanks before "mode").
inline constexpr char16_t kProposedSettingsName[] = u"The new contextual  mode";

// Results of ValidateSettingsFile.
inline constexpr int kValid = 1;
inline constexpr int kInvalid = 0;  // missing, too small or not a settings file
inline constexpr int kCannotOpen = -2;
inline constexpr int kOutOfMemory = -3;

// Results of RefreshCacheFromKeyboard.
inline constexpr int kRefreshedFromKeyboard = 1;
inline constexpr int kRefreshedWithDefaults = 0;

class SettingsFiles {
 public:
  // Every reference must outlive this object.
  SettingsFiles(keys::WorkingStore& store, platform::FileSystem& files,
                const platform::DocumentsFolder& documents, platform::MessageBoxes& boxes,
                const texts::TextTable& texts);

  // <documents>/RX73P05D, empty when the documents folder is unknown.
  std::u16string UserFolder() const;
  // Creates the per-user folder when it is missing; true when it exists afterwards.
  bool EnsureUserFolder();
  // Path of the cache file (creates the folder); empty when there is no per-user folder.
  std::u16string CacheFilePath();
  // Path the save dialog proposes for a new settings file (creates the folder); empty when there
  // is no per-user folder.
  std::u16string ProposedSettingsFilePath();

  // 1 valid; 0 missing, too small, too large or invalid (only an invalid file is reported, with
  // PROFILE_FORMAT_ERROR and the path); -2 cannot be opened; -3 out of memory.
  int ValidateSettingsFile(const std::u16string& path);

  // Loads a settings file into the WorkingStore. The caller holds the store's lock and has
  // emptied it. 1 loaded; 0 otherwise, with the store left as it was.
  int LoadSettingsFile(const std::u16string& path);

  // Writes the WorkingStore to path (rebuilding the table's header and text offsets first).
  bool SaveSettingsFile(const std::u16string& path, bool lock_it);
  // The same for the cache file, only when that file already exists.
  bool SaveCacheFile(bool lock_it);

  // Writes a default 32832-byte file to path, or (into_store) installs a default table with no
  // macros and no texts as the WorkingStore.
  bool CreateDefaultSettings(const std::u16string& path, bool into_store);

  // Builds a settings file from the keyboard's key maps and macro memory; the key maps are read
  // against factory, the factory key map the keyboard reported (or the built-in one).
  bool ExportDeviceToFile(const std::u16string& path, device::CommandSet& commands,
                          keys::KeyMapView factory);

  // Frees texts and macros and zeroes the table.
  void ClearStore();

  // When the keyboard connects: export it to the cache file and load that into the store; when
  // either fails, the store gets default settings. The caller redraws the key buttons.
  int RefreshCacheFromKeyboard(device::CommandSet& commands, keys::KeyMapView factory);

 private:
  keys::WorkingStore& store_;
  platform::FileSystem& files_;
  const platform::DocumentsFolder& documents_;
  platform::MessageBoxes& boxes_;
  const texts::TextTable& texts_;
};

}  // namespace vendrel::profiles
