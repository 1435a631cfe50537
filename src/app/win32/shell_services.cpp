#include "app/win32/shell_services.h"

#include <optional>
#include <utility>

#include "device/win32/quorva_hid_library.h"
#include "device/win32/quorva_loader.h"
#include "app/store_messages.h"
#include "keys/default_key_map.h"
#include "platform/sleeper.h"
#include "platform/win32/win32_file_system.h"
#include "store/assignment_model.h"
#include "store/key_map_write.h"
#include "store/settings_apply.h"
#include "texts/language_file.h"
#include "texts/text_table.h"

namespace vendrel::app {

ShellServices::ShellServices(const AppPaths& paths, platform::IniProfile& ini,
                             platform::IniProfile& registry, store::WorkingStore& working,
                             store::DeviceStore& device_store)
    : paths_(paths),
      ini_(ini),
      registry_(registry),
      working_(working),
      device_store_(device_store),
      boxes_(nullptr, u"Corvasse Vendrel Gaming Keyboard"),
      settings_(working, platform::win32::Win32FileSystem(), documents_,
                texts::ProcessTextTable()),
      texts_(texts::ProcessTextTable(), ini, paths.language_file) {}

void ShellServices::SetHost(HostWindow* host, HWND owner) {
  host_ = host;
  boxes_.SetOwner(owner);
}

void ShellServices::SetActiveProfileCache(int profile) {
  if (link_ != nullptr && profile < 0) link_->Commands().ForgetActiveProfile();
}

bool ShellServices::StartDeviceLink() {
  if (link_ != nullptr) return true;
  if (host_ == nullptr) return false;
  // Ends the process with code 0 when the library, an entry point or Init fails.
  const device::QuorvaEntryPoints entry = device::LoadQuorvaOrExit();
  library_ = new device::QuorvaHidLibrary(entry);
  events_ = new DeviceEventPolicy(*host_);
  link_ = new device::DeviceLink(*library_, *events_, platform::SystemSleeper(),
                                 keys::kDefaultKeyMap);
  link_->Commands().ForgetActiveProfile();
  const std::u16string skin_file = paths_.main_skin_file;
  const int language = texts::LanguageValue(ini_, paths_.language_file);
  lighting_ = new LightingParts(
      link_->Commands(), ini_, platform::win32::Win32FileSystem(),
      lighting::LightSwitchFilePath(documents_.Path()), paths_.colour_file_prefix,
      [this, skin_file, language](int mode) {
        return lighting::SkinModeName(ini_, skin_file, language, mode);
      });
  link_->Units().RegisterUnits();
  return true;
}

int ShellServices::PresenceCheck() { return link_ ? link_->State().PresenceCheck() : 0; }

void ShellServices::StartConnectionWorker(int count) {
  if (link_ != nullptr) link_->StateWorker().Post(count);
}

bool ShellServices::IsConnected() { return link_ != nullptr && link_->State().IsConnected(); }

void ShellServices::ResetSettings() {
  auto lock = working_.Lock();
  working_.Clear();
  settings_.CreateDefaultSettings(u"", true);
  working_.basis = store::KeyboardBasis::Unknown;  // until the keyboard has been read
}

std::optional<KeyboardLink> ShellServices::KeyboardForWrite() {
  // Unplugged: an import would only leave the store holding what no keyboard got.
  if (!IsConnected()) return std::nullopt;
  return KeyboardLink{link_->Commands(), link_->State().DefaultKeyMap(),
                      link_->State().KnownMacroSpace()};
}

void ShellServices::SendActiveProfile() {
  last_write_.reset();
  if (link_ == nullptr) return;
  const device::KeyMapBytes factory = link_->State().DefaultKeyMap();
  const store::KeyMapWriteTarget target{link_->Commands(), factory,
                                        link_->State().KnownMacroSpace()};
  last_write_ = store::ApplyToKeyboard(settings_, working_, device_store_, false, target);
}

KeyboardWrite ShellServices::ReportActiveProfileWrite() {
  if (!last_write_) return KeyboardWrite::Failed;
  const store::SettingsApplyOutcome outcome = *std::exchange(last_write_, std::nullopt);
  switch (outcome.status) {
    case store::SettingsApply::Written:
      TellKeyMapWrite(outcome.write, boxes_, texts::ProcessTextTable());
      return KeyboardWrite::Written;
    case store::SettingsApply::NotCached:
      TellKeyMapWrite(outcome.write, boxes_, texts::ProcessTextTable());
      return KeyboardWrite::NotCached;
    case store::SettingsApply::NotSent:
      TellKeyMapWrite(outcome.write, boxes_, texts::ProcessTextTable());
      return KeyboardWrite::NotSent;
    case store::SettingsApply::Failed: return KeyboardWrite::Failed;
    case store::SettingsApply::Unknown: return KeyboardWrite::Unknown;
  }
  return KeyboardWrite::Failed;
}

void ShellServices::ClearActiveProfileAssignments() {
  const int profile = ActiveProfile();
  if (profile < 0) return;  // no keyboard: no profile whose keys could be cleared
  store::RestoreDefaultAssignments(working_, static_cast<std::size_t>(profile),
                                  static_cast<std::size_t>(GBank()));
}

bool ShellServices::SwitchScene(int profile) {
  return scenes_ != nullptr && scenes_->SwitchScene(profile);
}

device::KeyMapBytes ShellServices::FactoryKeyMap() const {
  return link_ ? link_->State().DefaultKeyMap() : device::KeyMapBytes(keys::kDefaultKeyMap);
}

void ShellServices::SetKeyboardActiveProfile(int profile) {
  if (link_ != nullptr) link_->Commands().SetActiveProfile(profile);
}

KeyboardRead ShellServices::ConnectRefresh() {
  if (link_ == nullptr) return KeyboardRead::Unreadable;
  link_->Commands().GetActiveProfile();
  const device::KeyMapBytes factory = link_->State().DefaultKeyMap();
  switch (settings_.RefreshCacheFromKeyboard(link_->Commands(), factory)) {
    case store::CacheRefresh::FromKeyboard: return KeyboardRead::Read;
    case store::CacheRefresh::PendingKept: return KeyboardRead::PendingKept;
    case store::CacheRefresh::Unreadable: return KeyboardRead::Unreadable;
  }
  return KeyboardRead::Unreadable;
}

bool ShellServices::KeyboardSettingsKnown() {
  auto lock = working_.Lock();
  return working_.basis != store::KeyboardBasis::Unknown;
}

int ShellServices::ActiveProfile() {
  return link_ ? link_->Commands().CachedActiveProfile() : -1;
}

void ShellServices::BuildSceneMenu() {
  if (scenes_ != nullptr) scenes_->RebuildProfileMenu();
}

void ShellServices::ReleaseWorkingStore() { working_.Clear(); }

void ShellServices::ReleaseDeviceStore() { device_store_.Clear(); }

const texts::TextTable& ShellServices::LoadedTexts() const { return texts::ProcessTextTable(); }

int ShellServices::GBank() const { return link_ ? link_->Units().GBank() : 0; }

}  // namespace vendrel::app
