#include "app/scene_switcher.h"

#include <mutex>

#include "device/results.h"

namespace vendrel::app {
namespace {

constexpr int kProfileCount = static_cast<int>(device::kProfileCount);

bool IsProfile(int profile) { return profile >= 0 && profile < kProfileCount; }

}  // namespace

SceneSwitcher::SceneSwitcher(SceneView& view, const texts::TextSource& texts,
                             device::CommandSet& commands, store::SettingsFiles& files,
                             store::WorkingStore& store, FactoryKeyMap factory)
    : view_(view),
      texts_(texts),
      commands_(commands),
      files_(files),
      store_(store),
      factory_(std::move(factory)) {}

bool SceneSwitcher::SwitchScene(int profile) {
  if (profile >= kProfileCount) profile = 0;
  if (profile < 0) profile = -1;
  if (view_.EditorOpen()) {
    view_.ShowMessage(texts_.Text(texts::TextKey::PROFILE_SEELCT_PROMPT2));
    return false;
  }
  // The question's box runs its own message loop: a second switch arriving meanwhile would move
  // the keyboard under edits whose fate is not decided yet.
  if (asking_) return false;

  const bool unapplied = view_.MainSettingsChanged() || view_.ProfileDialogChanged();
  if (unapplied) {
    asking_ = true;
    const bool save = view_.AskYesNo(texts_.Text(texts::TextKey::PROFILE_SELECT_PROMPT));
    asking_ = false;
    if (save) {
      view_.ApplyMainSettings();
      // Not written (Apply told why): switching now would leave the edits behind their profile.
      if (view_.MainSettingsChanged()) return false;
    } else {
      view_.SetMainApply(false);
      if (IsProfile(commands_.CachedActiveProfile())) DiscardEdits();
    }
  }

  bool taken = true;
  if (IsProfile(profile)) taken = commands_.SetActiveProfile(profile) == device::kOk;
  if (!unapplied) view_.MarkProfileDialogRow(profile);
  {
    auto lock = store_.Lock();
    view_.RedrawKeyButtons();
  }
  RebuildProfileMenu();
  return taken;
}

void SceneSwitcher::DiscardEdits() {
  auto lock = store_.Lock();
  // A write the keyboard did not finish is no edit: the keyboard holds part of it, so it stays
  // to be written.
  if (store_.basis == store::KeyboardBasis::WriteUnfinished) {
    view_.SetMainApply(true);
    return;
  }
  if (files_.ReloadCacheFile()) return;
  const store::CacheRefresh read = files_.RefreshCacheFromKeyboard(commands_, factory_());
  if (read == store::CacheRefresh::PendingKept) view_.SetMainApply(true);
}

void SceneSwitcher::OnProfileButton(int profile) {
  if (!IsProfile(profile)) return;
  view_.ShowLightingOf(profile);
  if (commands_.GetActiveProfile() != profile && !SwitchScene(profile)) return;
  view_.MarkActiveProfile(profile);
  view_.ColourKeysModeOff();
  auto lock = store_.Lock();
  view_.RedrawKeyButtons();
}

bool SceneSwitcher::OnSceneCommand(int command) {
  const std::optional<int> profile = SceneOfCommand(command);
  if (!profile) return false;
  // The checked button follows the keyboard, whichever way it was switched.
  if (SwitchScene(*profile) && IsProfile(*profile)) view_.MarkActiveProfile(*profile);
  return true;
}

void SceneSwitcher::RebuildProfileMenu() {
  std::u16string path = files_.CacheFilePath();
  if (path.empty()) path = store::kCacheFileName;
  view_.ShowProfileMenu(BuildProfileMenu(texts_, path, commands_.CachedActiveProfile()));
}

}  // namespace vendrel::app
