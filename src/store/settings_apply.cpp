#include "store/settings_apply.h"

namespace vendrel::store {

SettingsApplyOutcome ApplyToKeyboard(SettingsFiles& files, WorkingStore& working,
                                     DeviceStore& device_store, bool all_profiles,
                                     const KeyMapWriteTarget& target) {
  SettingsApplyOutcome result;
  auto lock = working.Lock();
  const KeyboardBasis before = working.basis;
  if (before == KeyboardBasis::Unknown) {
    result.status = SettingsApply::Unknown;
    return result;
  }
  // The mark is made before anything can reach the keyboard. Without it on disk a write cut
  // short by a crash would leave nothing telling the next run to finish it, and that run would
  // take the torn keyboard's settings for the user's: such a write is not made.
  if (!files.BeginUnfinishedWrite()) {
    // An earlier unfinished write keeps its file and its mark; otherwise the keyboard holds what
    // the store stands on, as before.
    if (before == KeyboardBasis::Read) files.CancelUnfinishedWrite();
    result.status = SettingsApply::Failed;
    result.unmarked = true;
    return result;
  }
  result.write = WriteKeyMaps(working, device_store, all_profiles, target);
  if (result.write.status != KeyMapWrite::Sent) {
    // Nothing reached the keyboard: it holds what it held before.
    if (before == KeyboardBasis::Read) files.CancelUnfinishedWrite();
    result.status = result.write.status == KeyMapWrite::NoProfile ? SettingsApply::Failed
                                                                  : SettingsApply::NotSent;
    return result;
  }
  if (!result.write.Whole()) {
    result.status = SettingsApply::Failed;
    return result;
  }
  result.status = files.FinishWrite() ? SettingsApply::Written : SettingsApply::NotCached;
  return result;
}

}  // namespace vendrel::store
