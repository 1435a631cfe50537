#pragma once
// The main window's view and services in one, recording every call in order as one list, so that
// tests see the order across both. Subclasses change single answers (a read, a box).
#include <algorithm>
#include <functional>
#include <future>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "app/main_window_view.h"
#include "support/name_texts.h"

namespace vendrel::testing {

class RecordingMainWindow : public app::MainWindowView, public app::MainWindowServices {
 public:
  std::vector<std::string> calls;
  bool skin_ok = true;
  bool device_ok = true;
  bool layered_ok = true;
  int presence = 1;
  int active_profile = 2;
  bool connected = true;
  bool answer_yes = true;
  // Each write answers with the next of these; the last one repeats.
  std::vector<app::KeyboardWrite> write_results{app::KeyboardWrite::Written};
  std::size_t writes = 0;
  app::KeyboardRead read_result = app::KeyboardRead::Read;
  bool known = true;
  app::ChildDialog refusing_child = app::ChildDialog::About;
  bool a_child_refuses = false;
  std::recursive_mutex working, device;
  bool working_locked_during_write = false;
  bool write_off_window_thread = false;
  bool device_locked_during_release = false;

  void Call(std::string what) { calls.push_back(std::move(what)); }

  // True when another thread cannot take the lock, that is when this thread holds it.
  static bool HeldElsewhere(std::recursive_mutex& m) {
    return std::async(std::launch::async, [&m] {
             if (!m.try_lock()) return true;
             m.unlock();
             return false;
           }).get();
  }

  bool InitialiseSkin() override { Call("skin"); return skin_ok; }
  void AddAboutToSystemMenu() override { Call("about-menu"); }
  void SetWindowIcons(int id) override { Call("icons " + std::to_string(id)); }
  void PublishMainWindow() override { Call("publish"); }
  bool LoadLayeredWindowFunction() override { Call("layered"); return layered_ok; }
  void LoadStateSheets() override { Call("sheets"); }
  void ReadLink() override { Call("link"); }
  void PlaceControls() override { Call("place"); }
  void LayOutLightingPanel() override { Call("lighting-panel"); }
  void BecomeToolWindow() override { Call("tool-window"); }
  void SetMainTag() override { Call("main-tag"); }
  void AddFrameStyles() override { Call("frame-styles"); }
  void SetCaption(std::u16string_view c) override { Call("caption " + Narrow(c)); }
  void CreateNamedEvents() override { Call("create-events"); }
  void SetColourKeysSwitchText(std::u16string_view t) override { Call("switch " + Narrow(t)); }
  void PostInitMessage() override { Call("post-init"); }
  void ApplyLabels() override { Call("labels"); }
  void AddTrayIcon(int id, std::u16string_view tip) override {
    Call("tray-add " + std::to_string(id) + " " + Narrow(tip));
  }
  void ChangeTrayIcon(int id) override { Call("tray-icon " + std::to_string(id)); }
  void RemoveTrayIcon() override { Call("tray-remove"); }
  void Hide() override { Call("hide"); }
  void ShowAsApplicationWindow() override { Call("show"); }
  void ShowMessage(std::u16string_view t) override { Call("message " + Narrow(t)); }
  bool AskYesNo(std::u16string_view t) override { Call("ask " + Narrow(t)); return answer_yes; }
  void EnableApply(bool on) override { Call(on ? "apply-on" : "apply-off"); }
  void StartBusy() override { Call("busy-start"); }
  void StopBusy() override { Call("busy-stop"); }
  // Like the window: the work runs on another thread while this one waits.
  void RunTransfer(std::function<void()> work) override {
    const std::thread::id window_thread = std::this_thread::get_id();
    std::thread([&] {
      work();
      write_off_window_thread = std::this_thread::get_id() != window_thread;
    }).join();
  }
  void RefreshKeyButtons() override { Call("refresh-keys"); }
  void MarkActiveProfile(int p) override { Call("mark-profile " + std::to_string(p)); }
  void CloseChildDialogs() override { Call("close-children"); }
  void RestoreDefaultLighting() override { Call("default-lighting"); }
  void LoadLightingOnConnect(int p) override { Call("lighting-connect " + std::to_string(p)); }
  bool ChildAgreesToClose(app::ChildDialog child) override {
    Call("ask-child " + std::to_string(static_cast<int>(child)));
    return !(a_child_refuses && child == refusing_child);
  }
  void CloseInstanceMutex() override { Call("close-mutex"); }
  void CloseNamedEvents() override { Call("close-events"); }
  void ReleaseSkinBitmaps() override { Call("release-bitmaps"); }
  void EndModalLoop() override { Call("end-loop"); }
  void ExitProcess() override { Call("exit"); }

  const texts::TextSource& Texts() override { return names_; }
  void SetActiveProfileCache(int p) override { Call("active-profile " + std::to_string(p)); }
  bool StartDeviceLink() override { Call("device-link"); return device_ok; }
  int PresenceCheck() override { Call("presence"); return presence; }
  void StartConnectionWorker(int count) override { Call("worker " + std::to_string(count)); }
  bool IsConnected() override { return connected; }
  std::recursive_mutex& WorkingStoreLock() override { return working; }
  std::recursive_mutex& DeviceStoreLock() override { return device; }
  void ResetSettings() override { Call("reset-settings"); }
  void SendActiveProfile() override {
    Call("write");
    working_locked_during_write = HeldElsewhere(working);
  }
  app::KeyboardWrite ReportActiveProfileWrite() override {
    const app::KeyboardWrite result = write_results[std::min(writes, write_results.size() - 1)];
    ++writes;
    return result;
  }
  void ClearActiveProfileAssignments() override { Call("clear-keys"); }
  app::KeyboardRead ConnectRefresh() override {
    Call("connect-refresh");
    if (read_result != app::KeyboardRead::Unreadable) known = true;
    return read_result;
  }
  bool KeyboardSettingsKnown() override { return known; }
  int ActiveProfile() override { return active_profile; }
  void BuildSceneMenu() override { Call("scene-menu"); }
  void ReleaseWorkingStore() override { Call("release-working"); }
  void ReleaseDeviceStore() override {
    Call("release-device");
    device_locked_during_release = HeldElsewhere(device) && HeldElsewhere(working);
  }

  NameTexts names_;
};

}  // namespace vendrel::testing
