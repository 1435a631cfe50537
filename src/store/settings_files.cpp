#include "store/settings_files.h"

#include <memory>
#include <new>
#include <vector>

#include "device/results.h"
#include "store/cache_merge.h"
#include "store/keyboard_settings.h"
#include "store/settings_store.h"

namespace vendrel::store {

SettingsFiles::SettingsFiles(WorkingStore& store, platform::FileSystem& files,
                             const platform::DocumentsFolder& documents,
                             const texts::TextTable& texts)
    : store_(store), files_(files), documents_(documents), texts_(texts) {}

std::u16string SettingsFiles::UserFolder() const {
  const std::u16string documents = documents_.Path();
  if (documents.empty()) return {};
  return platform::JoinPath(documents, kUserFolderName);
}

bool SettingsFiles::EnsureUserFolder() {
  const std::u16string folder = UserFolder();
  if (folder.empty()) return false;
  if (files_.Exists(folder)) return true;
  return files_.CreateFolder(folder);
}

std::u16string SettingsFiles::CacheFilePath() {
  if (!EnsureUserFolder()) return {};
  return platform::JoinPath(UserFolder(), kCacheFileName);
}

std::u16string SettingsFiles::ProposedSettingsFilePath() {
  if (!EnsureUserFolder()) return {};
  return platform::JoinPath(UserFolder(), kProposedSettingsName);
}

SettingsFileCheck SettingsFiles::ValidateSettingsFile(const std::u16string& path) {
  std::vector<std::uint8_t> bytes;
  switch (files_.ReadWholeFile(path, profiles::kMaxReadableFileSize, bytes)) {
    case platform::kReadOk: break;
    case platform::kReadCannotOpen: return SettingsFileCheck::CannotOpen;
    case platform::kReadOutOfMemory: return SettingsFileCheck::OutOfMemory;
    default: return SettingsFileCheck::Invalid;  // missing or too large
  }
  if (bytes.size() < profiles::kMinFileSize) return SettingsFileCheck::Invalid;
  if (!profiles::IsValidSettingsFile(bytes)) return SettingsFileCheck::WrongFormat;
  return SettingsFileCheck::Valid;
}

profiles::SettingsCodecResult SettingsFiles::LoadSettingsFile(const std::u16string& path) {
  std::vector<std::uint8_t> bytes;
  if (files_.ReadWholeFile(path, profiles::kMaxReadableFileSize, bytes) != platform::kReadOk) {
    return profiles::SettingsCodecResult::Refused;
  }
  auto lock = store_.Lock();
  return DeserializeStore(bytes, store_);
}

bool SettingsFiles::SaveSettingsFile(const std::u16string& path, bool lock_it) {
  std::unique_lock<std::recursive_mutex> lock;
  if (lock_it) lock = store_.Lock();
  std::vector<std::uint8_t> bytes;
  if (SerializeStore(store_, bytes) != profiles::SettingsCodecResult::Ok) return false;
  return files_.WriteFileReplacing(path, bytes);
}

bool SettingsFiles::SaveCacheFile(bool lock_it) {
  const std::u16string path = CacheFilePath();
  if (path.empty() || !files_.FileExists(path)) return false;
  return SaveSettingsFile(path, lock_it);
}

bool SettingsFiles::CreateDefaultSettings(const std::u16string& path, bool into_store) {
  if (into_store) {
    auto lock = store_.Lock();
    store_.Clear();
    profiles::MakeDefaultTable(store_.Table());
    return true;
  }
  KeyStore fresh;
  profiles::MakeDefaultTable(fresh.Table());
  std::vector<std::uint8_t> bytes;
  if (SerializeStore(fresh, bytes) != profiles::SettingsCodecResult::Ok) return false;
  return files_.WriteFileReplacing(path, bytes);
}

bool SettingsFiles::ExportDevice(device::CommandSet& commands, keys::KeyMapView factory,
                                 std::vector<std::uint8_t>& bytes) {
  KeyboardSettings keyboard;
  if (!ReadKeyboardSettings(commands, texts_.Text(texts::TextKey::MACRO_NEW_PREFIX), keyboard)) {
    return false;
  }
  KeyStore exported;
  DecodeKeyboardSettings(keyboard, factory, exported);
  return SerializeStore(exported, bytes) == profiles::SettingsCodecResult::Ok;
}

bool SettingsFiles::ExportDeviceToFile(const std::u16string& path, device::CommandSet& commands,
                                       keys::KeyMapView factory) {
  std::vector<std::uint8_t> bytes;
  if (!ExportDevice(commands, factory, bytes)) return false;
  return files_.WriteFileReplacing(path, bytes);
}

void SettingsFiles::ClearStore() {
  auto lock = store_.Lock();
  store_.Clear();
}

bool SettingsFiles::ReloadCacheFile() {
  try {
    // Decoded once aside first: emptying the store for a file that then fails would lose it all.
    auto cached = std::make_unique<KeyStore>();
    if (!ReadCacheFile(*cached)) return false;
    std::vector<std::uint8_t> bytes;
    if (SerializeStore(*cached, bytes) != profiles::SettingsCodecResult::Ok) return false;
    auto lock = store_.Lock();
    store_.Clear();
    return DeserializeStore(bytes, store_) == profiles::SettingsCodecResult::Ok;
  } catch (const std::bad_alloc&) {
    return false;
  }
}

std::u16string SettingsFiles::UnfinishedWritePath() {
  if (!EnsureUserFolder()) return {};
  return platform::JoinPath(UserFolder(), kUnfinishedWriteFileName);
}

bool SettingsFiles::ReadCacheFile(KeyStore& cached) {
  const std::u16string path = CacheFilePath();
  if (path.empty() || !files_.FileExists(path)) return false;
  std::vector<std::uint8_t> bytes;
  if (files_.ReadWholeFile(path, profiles::kMaxReadableFileSize, bytes) != platform::kReadOk ||
      !profiles::IsValidSettingsFile(bytes)) {
    return false;
  }
  return DeserializeStore(bytes, cached) == profiles::SettingsCodecResult::Ok;
}

bool SettingsFiles::KeyboardJoinedWithCache(device::CommandSet& commands, keys::KeyMapView factory,
                                            std::vector<std::uint8_t>& bytes) {
  try {
    KeyboardSettings keyboard;
    if (!ReadKeyboardSettings(commands, texts_.Text(texts::TextKey::MACRO_NEW_PREFIX), keyboard)) {
      return false;
    }
    // Heap-held: the text table of a store alone takes some 70 KiB.
    auto cached = std::make_unique<KeyStore>();
    auto joined = std::make_unique<KeyStore>();
    if (ReadCacheFile(*cached)) {
      MergeCachedSettings(keyboard, factory, *cached, *joined);
    } else {
      DecodeKeyboardSettings(keyboard, factory, *joined);
    }
    return SerializeStore(*joined, bytes) == profiles::SettingsCodecResult::Ok;
  } catch (const std::bad_alloc&) {
    return false;  // read as failed: the cache file keeps what it holds
  }
}

CacheRefresh SettingsFiles::RefreshCacheFromKeyboard(device::CommandSet& commands,
                                                     keys::KeyMapView factory) {
  auto lock = store_.Lock();
  // The keyboard may hold a torn write: what the store was writing is the user's, not that.
  if (store_.basis == KeyboardBasis::WriteUnfinished) return CacheRefresh::PendingKept;
  const std::u16string unfinished = UnfinishedWritePath();
  if (!unfinished.empty() && files_.FileExists(unfinished)) {
    std::vector<std::uint8_t> pending;
    if (files_.ReadWholeFile(unfinished, profiles::kMaxReadableFileSize, pending) == platform::kReadOk &&
        profiles::IsValidSettingsFile(pending)) {
      store_.Clear();
      if (DeserializeStore(pending, store_) == profiles::SettingsCodecResult::Ok) {
        store_.basis = KeyboardBasis::WriteUnfinished;
        return CacheRefresh::PendingKept;
      }
    }
    // A file that cannot be read back holds nothing to finish.
    files_.RemoveFile(unfinished);
  }

  std::vector<std::uint8_t> bytes;
  const bool exported = KeyboardJoinedWithCache(commands, factory, bytes);
  store_.Clear();
  if (exported && DeserializeStore(bytes, store_) == profiles::SettingsCodecResult::Ok) {
    store_.basis = KeyboardBasis::Read;
    // The store stands on the keyboard even when the cache cannot be written.
    const std::u16string cache = CacheFilePath();
    if (!cache.empty()) files_.WriteFileReplacing(cache, bytes);
    return CacheRefresh::FromKeyboard;
  }
  // Defaults keep the key buttons drawable, but they are not the keyboard's settings.
  store_.Clear();
  CreateDefaultSettings({}, true);
  store_.basis = KeyboardBasis::Unknown;
  return CacheRefresh::Unreadable;
}

bool SettingsFiles::BeginUnfinishedWrite() {
  auto lock = store_.Lock();
  store_.basis = KeyboardBasis::WriteUnfinished;
  const std::u16string path = UnfinishedWritePath();
  if (path.empty()) return false;
  std::vector<std::uint8_t> bytes;
  if (SerializeStore(store_, bytes) != profiles::SettingsCodecResult::Ok) return false;
  return files_.WriteFileReplacing(path, bytes);
}

bool SettingsFiles::FinishWrite() {
  auto lock = store_.Lock();
  const bool cached = SaveCacheFile(false);
  const std::u16string path = UnfinishedWritePath();
  if (!path.empty()) files_.RemoveFile(path);
  store_.basis = KeyboardBasis::Read;
  return cached;
}

void SettingsFiles::CancelUnfinishedWrite() {
  auto lock = store_.Lock();
  const std::u16string path = UnfinishedWritePath();
  if (!path.empty()) files_.RemoveFile(path);
  store_.basis = KeyboardBasis::Read;
}

}  // namespace vendrel::store
