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
  // The mark is made before anything can reach the keyboard; a failure to record it on disk
  // still leaves it in memory.
  files.BeginUnfinishedWrite();
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
