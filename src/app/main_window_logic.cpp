#include "app/main_window_logic.h"

namespace vendrel::app {

MainWindowLogic::MainWindowLogic(MainWindowView& view, MainWindowServices& services,
                                 ShellFlags& flags)
    : view_(view), services_(services), flags_(flags) {}

bool MainWindowLogic::OnInitDialog() {
  if (!view_.InitialiseSkin()) {
    view_.ExitProcess();
    return false;
  }
  view_.AddAboutToSystemMenu();
  view_.SetWindowIcons(kIconDisconnected);

  flags_.ready = false;
  view_.PublishMainWindow();
  services_.SetActiveProfileCache(-1);

  if (!services_.StartDeviceLink()) {
    view_.ExitProcess();
    return false;
  }

  const int count = services_.PresenceCheck();
  // The icon goes into the tray before the worker may start the connect refresh: that refresh
  // reaches this thread as a sent message, ahead of anything posted, and can take long.
  AddTrayIcon();
  services_.StartConnectionWorker(count);
  if (count == 0) flags_.start = true;

  if (!view_.LoadLayeredWindowFunction()) {
    RemoveTrayIcon();  // no icon may outlive the process
    view_.ExitProcess();
    return false;
  }

  services_.ResetSettings();
  SetSettingsChanged(false);

  view_.LoadStateSheets();
  view_.ReadLink();
  view_.PlaceControls();
  view_.LayOutLightingPanel();

  view_.BecomeToolWindow();
  view_.SetMainTag();
  view_.AddFrameStyles();
  view_.SetCaption(services_.Texts().Text(texts::TextKey::MAIN_CAPTION));

  view_.CreateNamedEvents();
  // The keyboard view starts in the function-keys mode; the switch offers the colour keys.
  view_.SetColourKeysSwitchText(services_.Texts().Text(texts::TextKey::MAIN_SWITCH_FUNCTION_TEXT));

  view_.PostInitMessage();
  view_.ApplyLabels();
  return true;
}

void MainWindowLogic::AddTrayIcon() {
  view_.AddTrayIcon(kIconDisconnected, services_.Texts().Text(texts::TextKey::KEYBOARD_TRAY_DESC));
  tray_added_ = true;
  current_icon_ = kIconDisconnected;
}

void MainWindowLogic::RemoveTrayIcon() {
  if (!tray_added_) return;
  view_.RemoveTrayIcon();
  tray_added_ = false;
}

void MainWindowLogic::OnDeferredInit() {
  services_.BuildSceneMenu();
  flags_.ready = true;
  view_.Hide();
}

void MainWindowLogic::Show() {
  if (!services_.IsConnected()) {
    view_.ShowMessage(services_.Texts().Text(texts::TextKey::MAIN_NO_DEVICE_PROMPT));
    return;
  }
  view_.ShowAsApplicationWindow();
}

void MainWindowLogic::Hide() { view_.Hide(); }

void MainWindowLogic::OnOk() {
  Apply();
  view_.Hide();
}

void MainWindowLogic::Apply() {
  view_.StartBusy();
  // The window thread holds no store lock meanwhile: the write takes them on its own thread.
  if (flags_.settings_changed) WriteSettings();
  view_.StopBusy();
}

KeyboardWrite MainWindowLogic::WriteActiveProfile() {
  view_.RunTransfer([this] { services_.SendActiveProfile(); });
  return services_.ReportActiveProfileWrite();
}

void MainWindowLogic::WriteSettings() {
  switch (WriteActiveProfile()) {
    case KeyboardWrite::Written:
      SetSettingsChanged(false);
      return;
    case KeyboardWrite::NotCached:
    case KeyboardWrite::NotSent:
      return;  // Apply stays; the write told the user what there was to tell
    case KeyboardWrite::Failed:
      view_.ShowMessage(services_.Texts().Text(texts::TextKey::KEYBOARD_WRITE_FAILED));
      return;
    case KeyboardWrite::Unknown:
      break;
  }
  // Edits on top of settings that were never read would overwrite the keyboard's real ones.
  switch (ReadKeyboardAgain()) {
    case KeyboardRead::Read:
      SetSettingsChanged(false);
      view_.ShowMessage(services_.Texts().Text(texts::TextKey::KEYBOARD_READ_AGAIN));
      return;
    case KeyboardRead::PendingKept:
      if (WriteActiveProfile() == KeyboardWrite::Written) {
        SetSettingsChanged(false);
      } else {
        view_.ShowMessage(services_.Texts().Text(texts::TextKey::KEYBOARD_WRITE_FAILED));
      }
      return;
    case KeyboardRead::Unreadable:
      view_.ShowMessage(services_.Texts().Text(texts::TextKey::KEYBOARD_READ_FAILED));
      return;
  }
}

KeyboardRead MainWindowLogic::ReadKeyboardAgain() {
  const KeyboardRead read = services_.ConnectRefresh();
  view_.RefreshKeyButtons();
  view_.MarkActiveProfile(services_.ActiveProfile());
  return read;
}

void MainWindowLogic::RestoreDefaults() {
  if (!view_.AskYesNo(services_.Texts().Text(texts::TextKey::MAIN_PROMPT_DEFAULT))) return;
  {
    std::lock_guard working(services_.WorkingStoreLock());
    // The defaults replace one profile's keys; the rest is written as the keyboard holds it, so
    // that has to be known first.
    if (!services_.KeyboardSettingsKnown() && ReadKeyboardAgain() == KeyboardRead::Unreadable) {
      view_.ShowMessage(services_.Texts().Text(texts::TextKey::KEYBOARD_READ_FAILED));
      return;
    }
    services_.ClearActiveProfileAssignments();
    view_.RefreshKeyButtons();
    SetSettingsChanged(true);
  }
  view_.RestoreDefaultLighting();
  Apply();
}

void MainWindowLogic::CloseProgram() {
  view_.Hide();
  for (const ChildDialog child : {ChildDialog::About, ChildDialog::Profile, ChildDialog::Composite}) {
    if (!view_.ChildAgreesToClose(child)) return;
  }
  view_.CloseInstanceMutex();
  view_.CloseNamedEvents();
  RemoveTrayIcon();
  SetSettingsChanged(false);
  {
    std::lock_guard working(services_.WorkingStoreLock());
    services_.ReleaseWorkingStore();
    std::lock_guard device(services_.DeviceStoreLock());
    services_.ReleaseDeviceStore();
  }
  view_.ReleaseSkinBitmaps();
  view_.EndModalLoop();
  closed_ = true;
}

void MainWindowLogic::OnConnected() {
  const KeyboardRead read = services_.ConnectRefresh();
  view_.RefreshKeyButtons();
  const int profile = services_.ActiveProfile();
  // A profile the keyboard did not tell leaves the buttons as they were.
  if (profile >= 0 && profile < kProfileButtonCount) view_.MarkActiveProfile(profile);
  view_.LoadLightingOnConnect(profile);
  services_.BuildSceneMenu();  // its check and the profile button's caption name the profile read
  // Read: the store is the keyboard's now, nothing to apply. PendingKept: a write to finish.
  SetSettingsChanged(read == KeyboardRead::PendingKept);
  // Not told here: the connection worker that sent this waits, and a box would hold it, and every
  // later plug and unplug behind it, until the user closed the box. A read that failed because the
  // keyboard went half-way is not worth telling at all.
  read_failure_untold_ = read == KeyboardRead::Unreadable;
}

void MainWindowLogic::OnDisconnected() {
  read_failure_untold_ = false;
  view_.CloseChildDialogs();
}

void MainWindowLogic::OnConnectionQuiet() {
  // An open box already says it; the box's own loop may bring this again.
  if (!read_failure_untold_ || telling_read_failure_ || !services_.IsConnected()) return;
  read_failure_untold_ = false;
  telling_read_failure_ = true;
  view_.ShowMessage(services_.Texts().Text(texts::TextKey::KEYBOARD_READ_FAILED));
  telling_read_failure_ = false;
}

void MainWindowLogic::SetSettingsChanged(bool changed) {
  flags_.settings_changed = changed;
  view_.EnableApply(changed);
}

void MainWindowLogic::SetTrayIcon(int icon_id) {
  if (current_icon_.exchange(icon_id) == icon_id) return;
  if (tray_added_) view_.ChangeTrayIcon(icon_id);
}

void MainWindowLogic::OnTaskbarCreated() {
  if (!tray_added_ || closed_) return;
  view_.AddTrayIcon(current_icon_.load(), services_.Texts().Text(texts::TextKey::KEYBOARD_TRAY_DESC));
}

bool MainWindowLogic::OnFramePaint() {
  if (frame_paint_hides_left_ == 0) return false;
  --frame_paint_hides_left_;
  view_.Hide();
  return true;
}

int MainWindowLogic::NextBusyFrame() {
  const int frame = busy_frame_;
  busy_frame_ = (busy_frame_ + 1) % kBusyFrameCount;
  return frame;
}

}  // namespace vendrel::app
