#pragma once
// The settings files of the WorkingStore: validate, load, save, the per-user cache file, default
// settings, export of the keyboard's memory and the cache refresh when the keyboard connects.
// Files are read and written whole; a save goes through a temporary file beside the target, so a
// failure never costs the user the previous file.
#include <cstdint>
#include <string>
#include <vector>

#include "device/command_set.h"
#include "keys/key_map_codec.h"
#include "profiles/settings_file_codec.h"
#include "platform/documents_folder.h"
#include "platform/file_system.h"
#include "texts/text_table.h"
#include "store/key_store.h"

namespace vendrel::store {

inline constexpr char16_t kUserFolderName[] = u"RX73P05D";
// One cache file holds all profiles; the profile number callers pass is not part of the name.
inline constexpr char16_t kCacheFileName[] = u"$Profile0";
// Beside the cache while a write to the keyboard is unfinished: the settings being written. It
// is written before the transfer begins and removed once the keyboard acknowledged its end, so
// a run that dies in between finds the write to finish at the next connect.
inline constexpr char16_t kUnfinishedWriteFileName[] = u"$Profile0.writing";
// The name the save dialog proposes for a new settings file (two blanks before "mode").
inline constexpr char16_t kProposedSettingsName[] = u"The new contextual  mode";

enum class SettingsFileCheck : int {
  Valid = 1,
  Invalid = 0,      // missing, too small or too large
  WrongFormat = 2,  // a file of the right size that is no settings file: also the design's 0, and
                    // the window logic tells the user (PROFILE_FORMAT_ERROR with the path)
  CannotOpen = -2,
  OutOfMemory = -3,
};

enum class CacheRefresh : int {
  FromKeyboard = 1,  // the store holds the keyboard's settings, read whole (cached when possible)
  Unreadable = 0,    // not read whole: the store has defaults marked Unknown, the cache is untouched
  PendingKept = 2,   // a write is unfinished: the store holds what it was writing, still to be sent
};

class SettingsFiles {
 public:
  // Every reference must outlive this object.
  SettingsFiles(WorkingStore& store, platform::FileSystem& files,
                const platform::DocumentsFolder& documents, const texts::TextTable& texts);

  // <documents>/RX73P05D, empty when the documents folder is unknown.
  std::u16string UserFolder() const;
  // Creates the per-user folder when it is missing; true when it exists afterwards.
  bool EnsureUserFolder();
  // Path of the cache file (creates the folder); empty when there is no per-user folder.
  std::u16string CacheFilePath();
  // Path the save dialog proposes for a new settings file (creates the folder); empty when there
  // is no per-user folder.
  std::u16string ProposedSettingsFilePath();

  SettingsFileCheck ValidateSettingsFile(const std::u16string& path);

  // Loads a settings file into the WorkingStore. The caller holds the store's lock and has
  // emptied it. Refused leaves the store as it was.
  profiles::SettingsCodecResult LoadSettingsFile(const std::u16string& path);

  // Writes the WorkingStore to path (with the file's header and text offsets built for it).
  bool SaveSettingsFile(const std::u16string& path, bool lock_it);
  // The same for the cache file, only when that file already exists.
  bool SaveCacheFile(bool lock_it);

  // Writes a default 32832-byte file to path, or (into_store) installs a default table with no
  // macros and no texts as the WorkingStore.
  bool CreateDefaultSettings(const std::u16string& path, bool into_store);

  // The settings file bytes of the keyboard's key maps and macro memory; the key maps are read
  // against factory, the factory key map the keyboard reported (or the built-in one). False when
  // a read fails or the macro memory is not whole.
  bool ExportDevice(device::CommandSet& commands, keys::KeyMapView factory,
                    std::vector<std::uint8_t>& bytes);
  // ExportDevice into a file at path; the file is left as it was on failure.
  bool ExportDeviceToFile(const std::u16string& path, device::CommandSet& commands,
                          keys::KeyMapView factory);

  // Frees texts and macros and zeroes the table.
  void ClearStore();

  // Replaces the WorkingStore's content with the cache file's, throwing unapplied edits away; what
  // the store stands on (basis) stays. False, with the store untouched, when the cache file is
  // missing or does not decode whole.
  bool ReloadCacheFile();

  // When the keyboard connects. An unfinished write (of this run, or one a previous run left in
  // the unfinished-write file) keeps its settings in the store. Otherwise the keyboard is read
  // whole and joined with what only the valid cache file holds (texts, colour flags, G keys,
  // macro names and the like, MergeCachedSettings) into the store and the cache file; a read that
  // fails leaves the cache file alone and gives the store defaults marked Unknown, so that nothing
  // built on them is written. The caller redraws the key buttons.
  CacheRefresh RefreshCacheFromKeyboard(device::CommandSet& commands, keys::KeyMapView factory);

  // Path of the unfinished-write file; empty when there is no per-user folder.
  std::u16string UnfinishedWritePath();
  // Before a write to the keyboard: records the store's content in the unfinished-write file and
  // marks the store WriteUnfinished. The caller holds the store's lock. False when the file could
  // not be written (the mark in memory is still made).
  bool BeginUnfinishedWrite();
  // After the keyboard acknowledged the whole write: saves the cache file (when it exists) and
  // only then removes the unfinished-write file; the store is marked Read. Returns whether the
  // cache file now holds the store.
  bool FinishWrite();
  // When nothing of a write reached a keyboard that held the store's base: the keyboard holds
  // what it held, so the store is marked Read again and the unfinished-write file removed.
  void CancelUnfinishedWrite();

 private:
  // The cache file into cached (emptied); false when it is missing, unreadable or invalid.
  bool ReadCacheFile(KeyStore& cached);
  // The settings file bytes of the keyboard's memory joined with what the cache file adds to it
  // (MergeCachedSettings); the keyboard's alone when there is no valid cache file. False as
  // ExportDevice, or when memory runs out.
  bool KeyboardJoinedWithCache(device::CommandSet& commands, keys::KeyMapView factory,
                               std::vector<std::uint8_t>& bytes);

  WorkingStore& store_;
  platform::FileSystem& files_;
  const platform::DocumentsFolder& documents_;
  const texts::TextTable& texts_;
};

}  // namespace vendrel::store
