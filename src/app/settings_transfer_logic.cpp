#include "app/settings_transfer_logic.h"

#include <cstdint>
#include <new>
#include <vector>

#include "app/store_messages.h"
#include "store/settings_apply.h"
#include "store/settings_store.h"

namespace vendrel::app {
namespace {

constexpr char16_t kSettingsFilter[] = u"(*.fwc)|*.fwc|(*.*)|*.*||";
constexpr char16_t kSettingsExtension[] = u"fwc";
constexpr char16_t kSettingsPattern[] = u"*.fwc";

// The store as it was before an import, to give back when the keyboard took nothing of it.
struct StoreSnapshot {
  std::vector<std::uint8_t> bytes;
  store::KeyboardBasis basis = store::KeyboardBasis::Unknown;
  bool taken = false;
};

StoreSnapshot TakeSnapshot(store::WorkingStore& working) {
  StoreSnapshot snapshot;
  snapshot.basis = working.basis;
  try {
    snapshot.taken =
        store::SerializeStore(working, snapshot.bytes) == profiles::SettingsCodecResult::Ok;
  } catch (const std::bad_alloc&) {
    snapshot.taken = false;
  }
  return snapshot;
}

}  // namespace

platform::FileDialogRequest ImportFileRequest() {
  platform::FileDialogRequest request;
  request.save = false;
  request.filter = kSettingsFilter;
  request.default_extension = kSettingsExtension;
  request.proposed = kSettingsPattern;
  request.hide_read_only = true;
  return request;
}

platform::FileDialogRequest ExportFileRequest() {
  platform::FileDialogRequest request;
  request.save = true;
  request.filter = kSettingsFilter;
  request.default_extension = kSettingsExtension;
  request.proposed = kSettingsPattern;
  request.overwrite_prompt = true;
  return request;
}

SettingsTransferLogic::SettingsTransferLogic(const SettingsTransferParts& parts,
                                             SettingsTransferHost& host)
    : parts_(parts), host_(host) {}

ImportResult SettingsTransferLogic::Import() {
  const std::optional<std::u16string> path = parts_.dialogs.Choose(ImportFileRequest());
  if (!path || path->empty()) return ImportResult::Cancelled;
  return ImportFile(*path);
}

ExportResult SettingsTransferLogic::Export() {
  const std::optional<std::u16string> path = parts_.dialogs.Choose(ExportFileRequest());
  if (!path || path->empty()) return ExportResult::Cancelled;
  return ExportFile(*path);
}

ImportResult SettingsTransferLogic::ImportFile(const std::u16string& path) {
  const store::SettingsFileCheck check = parts_.files.ValidateSettingsFile(path);
  if (check != store::SettingsFileCheck::Valid) {
    TellSettingsFileCheck(check, path, parts_.boxes, parts_.texts);
    parts_.boxes.ShowOk(parts_.texts.Text(texts::TextKey::MAIN_PROMPT_INPORT));
    return ImportResult::Rejected;
  }
  const std::optional<KeyboardLink> link = host_.KeyboardForWrite();
  if (!link) {
    parts_.boxes.ShowOk(parts_.texts.Text(texts::TextKey::MAIN_NO_DEVICE_PROMPT));
    return ImportResult::NotSent;
  }
  return LoadAndWrite(path, *link);
}

ImportResult SettingsTransferLogic::LoadAndWrite(const std::u16string& path,
                                                 const KeyboardLink& link) {
  store::WorkingStore& working = parts_.working;
  auto lock = working.Lock();
  const StoreSnapshot before = TakeSnapshot(working);
  // Loading replaces the whole content, or refuses and leaves it as it was.
  if (parts_.files.LoadSettingsFile(path) != profiles::SettingsCodecResult::Ok) {
    parts_.boxes.ShowOk(parts_.texts.Text(texts::TextKey::MAIN_PROMPT_INPORT));
    return ImportResult::Rejected;
  }
  // All three profiles and the macro memory are written: nothing of the keyboard's key settings
  // stays outside the store, so the write does not need them read first.
  working.basis = store::KeyboardBasis::Read;
  const store::KeyMapWriteTarget target{link.commands, link.factory_map, link.macro_space};
  const store::SettingsApplyOutcome outcome = store::ApplyToKeyboard(
      parts_.files, working, parts_.device_store, true, target);

  switch (outcome.status) {
    case store::SettingsApply::Written:
    case store::SettingsApply::NotCached:
      host_.RefreshKeyButtons();
      TellKeyMapWrite(outcome.write, parts_.boxes, parts_.texts);
      host_.SetSettingsPending(false);
      return outcome.status == store::SettingsApply::Written ? ImportResult::Written
                                                             : ImportResult::NotCached;
    case store::SettingsApply::Failed:
      // The store keeps the file's settings, marked unfinished, so that nothing is lost.
      host_.RefreshKeyButtons();
      parts_.boxes.ShowOk(parts_.texts.Text(texts::TextKey::KEYBOARD_WRITE_FAILED));
      host_.SetSettingsPending(true);
      return ImportResult::Failed;
    case store::SettingsApply::NotSent:
    case store::SettingsApply::Unknown:
      break;
  }
  // Nothing reached the keyboard: the store goes back to what it held, with its unsent edits.
  TellKeyMapWrite(outcome.write, parts_.boxes, parts_.texts);
  if (before.taken &&
      store::DeserializeStore(before.bytes, working) == profiles::SettingsCodecResult::Ok) {
    working.basis = before.basis;
    // The write replaced the record of an earlier unfinished write: it is still to be finished.
    if (before.basis == store::KeyboardBasis::WriteUnfinished) parts_.files.BeginUnfinishedWrite();
  } else {
    // No way back: the store keeps the file's settings, which the keyboard does not hold yet.
    host_.SetSettingsPending(true);
  }
  host_.RefreshKeyButtons();
  return ImportResult::NotSent;
}

ExportResult SettingsTransferLogic::ExportFile(const std::u16string& path) {
  if (parts_.files.SaveSettingsFile(path, true)) return ExportResult::Saved;
  // A settings file is a backup of the keyboard's keys and macros: the backup's failure text.
  parts_.boxes.ShowOk(parts_.texts.Text(texts::TextKey::MAIN_UPDATE_BACKUP_NG));
  return ExportResult::Failed;
}

}  // namespace vendrel::app
