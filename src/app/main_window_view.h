#pragma once
// What the main window's logic asks of its Win32 window and of the subsystems it hosts. The
// Win32 dialog implements both; tests record the calls.
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>

#include "app/tray_icons.h"
#include "texts/text_source.h"

namespace vendrel::app {

enum class ChildDialog { About, Profile, Composite };

class MainWindowView {
 public:
  virtual ~MainWindowView() = default;

  // Initialisation of the window itself.
  virtual bool InitialiseSkin() = 0;  // background, size and shape; false: images unusable
  virtual void AddAboutToSystemMenu() = 0;
  virtual void SetWindowIcons(int icon_id) = 0;
  virtual void PublishMainWindow() = 0;
  virtual bool LoadLayeredWindowFunction() = 0;
  virtual void LoadStateSheets() = 0;
  virtual void ReadLink() = 0;
  virtual void PlaceControls() = 0;
  virtual void LayOutLightingPanel() = 0;
  virtual void BecomeToolWindow() = 0;
  virtual void SetMainTag() = 0;
  virtual void AddFrameStyles() = 0;  // minimise box and system menu
  virtual void SetCaption(std::u16string_view caption) = 0;
  virtual void CreateNamedEvents() = 0;
  virtual void SetColourKeysSwitchText(std::u16string_view text) = 0;
  virtual void PostInitMessage() = 0;
  virtual void ApplyLabels() = 0;

  // Tray and visibility.
  virtual void AddTrayIcon(int icon_id, std::u16string_view tooltip) = 0;
  virtual void ChangeTrayIcon(int icon_id) = 0;
  virtual void RemoveTrayIcon() = 0;
  virtual void Hide() = 0;
  virtual void ShowAsApplicationWindow() = 0;  // application-window style, shown, foreground
  virtual void ShowMessage(std::u16string_view text) = 0;  // OK box, empty caption
  virtual bool AskYesNo(std::u16string_view text) = 0;     // default button No

  // Apply and its busy indicator.
  virtual void EnableApply(bool enabled) = 0;
  virtual void StartBusy() = 0;
  virtual void StopBusy() = 0;
  // Runs work (a transfer to the keyboard) off the window thread and returns when it is done; the
  // window meanwhile paints and animates the busy picture but takes no input.
  virtual void RunTransfer(std::function<void()> work) = 0;
  virtual void RefreshKeyButtons() = 0;
  virtual void MarkActiveProfile(int profile) = 0;  // 0..2 checks that profile's button; else none
  virtual void CloseChildDialogs() = 0;
  // The lighting panel: its part of "restore defaults", and its read when the keyboard connects.
  virtual void RestoreDefaultLighting() = 0;
  virtual void LoadLightingOnConnect(int active_profile) = 0;

  // Shutdown.
  virtual bool ChildAgreesToClose(ChildDialog child) = 0;
  virtual void CloseInstanceMutex() = 0;
  virtual void CloseNamedEvents() = 0;
  virtual void ReleaseSkinBitmaps() = 0;
  virtual void EndModalLoop() = 0;
  virtual void ExitProcess() = 0;  // exit code 0, no clean-up
};

// What a read of the keyboard's settings left in the WorkingStore.
enum class KeyboardRead {
  Read,         // the keyboard's settings, read whole
  PendingKept,  // an unfinished write's settings, still to be written
  Unreadable,   // defaults standing on nothing: not to be written
};

// What Apply's write did.
enum class KeyboardWrite {
  Written,    // keyboard and cache file hold the settings
  NotCached,  // the keyboard holds them; the cache file could not be saved
  NotSent,    // nothing sent for a reason the write already told the user
  Failed,     // the keyboard did not take them all; they stay pending
  Unknown,    // the keyboard's settings are not known: nothing was sent
};

class MainWindowServices {
 public:
  virtual ~MainWindowServices() = default;

  virtual const texts::TextSource& Texts() = 0;

  // Device link.
  virtual void SetActiveProfileCache(int profile) = 0;
  virtual bool StartDeviceLink() = 0;  // load the library, Init, register units
  virtual int PresenceCheck() = 0;
  virtual void StartConnectionWorker(int count) = 0;
  virtual bool IsConnected() = 0;

  // Settings.
  virtual std::recursive_mutex& WorkingStoreLock() = 0;
  virtual std::recursive_mutex& DeviceStoreLock() = 0;
  virtual void ResetSettings() = 0;  // string table, defaults, recording state
  // The WorkingStore to the keyboard's current profile, then to the cache file. Runs on any
  // thread (Apply's worker) and takes the store locks itself; tells the user nothing.
  virtual void SendActiveProfile() = 0;
  // What the last SendActiveProfile did, after telling the user what it needs told (window
  // thread only).
  virtual KeyboardWrite ReportActiveProfileWrite() = 0;
  virtual void ClearActiveProfileAssignments() = 0;
  virtual KeyboardRead ConnectRefresh() = 0;
  // False when the WorkingStore does not stand on a whole read of the keyboard.
  virtual bool KeyboardSettingsKnown() = 0;
  virtual int ActiveProfile() = 0;  // the keyboard's profile as last read; -1 when unknown
  virtual void BuildSceneMenu() = 0;
  virtual void ReleaseWorkingStore() = 0;
  virtual void ReleaseDeviceStore() = 0;
};

}  // namespace vendrel::app
