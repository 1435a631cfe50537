#include "app/main_window_logic.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "support/recording_main_window.h"

namespace vendrel::app {
namespace {

using testing::RecordingMainWindow;
using Recorder = RecordingMainWindow;

class MainWindow : public ::testing::Test {
 protected:
  Recorder r;
  ShellFlags flags;
  MainWindowLogic logic{r, r, flags};
};

using Calls = std::vector<std::string>;

TEST_F(MainWindow, InitialisationRunsInItsOrder) {
  flags.ready = true;
  flags.settings_changed = true;
  EXPECT_TRUE(logic.OnInitDialog());
  EXPECT_EQ(r.calls, (Calls{"skin", "about-menu", "icons 128", "publish", "active-profile -1",
                            "device-link", "presence", "tray-add 128 <KEYBOARD_TRAY_DESC>",
                            "worker 1", "layered", "reset-settings",
                            "apply-off", "sheets", "link", "place", "lighting-panel",
                            "tool-window", "main-tag", "frame-styles", "caption <MAIN_CAPTION>",
                            "create-events", "switch <MAIN_SWITCH_FUNCTION_TEXT>", "post-init",
                            "labels"}));
  EXPECT_FALSE(flags.ready);
  EXPECT_FALSE(flags.settings_changed);
  EXPECT_FALSE(flags.start) << "a keyboard is present: the window may still open by itself";
  EXPECT_EQ(logic.CurrentTrayIcon(), 128);
}

std::ptrdiff_t PositionOf(const Calls& calls, const std::string& call) {
  const auto it = std::find(calls.begin(), calls.end(), call);
  return it == calls.end() ? -1 : it - calls.begin();
}

// The connect refresh arrives as a message sent by the connection worker, which the window
// handles before its own posted "INIT": the icon must already be in the tray by then.
TEST_F(MainWindow, TrayIconIsThereBeforeTheConnectRefreshThatOvertakesInit) {
  ASSERT_TRUE(logic.OnInitDialog());
  logic.OnConnected();
  logic.OnDeferredInit();
  const std::ptrdiff_t tray = PositionOf(r.calls, "tray-add 128 <KEYBOARD_TRAY_DESC>");
  ASSERT_GE(tray, 0);
  EXPECT_LT(tray, PositionOf(r.calls, "worker 1"));
  EXPECT_LT(tray, PositionOf(r.calls, "connect-refresh"));
  EXPECT_EQ(std::count_if(r.calls.begin(), r.calls.end(),
                          [](const std::string& c) { return c.starts_with("tray-add"); }),
            1)
      << "INIT after the refresh must not add a second icon";
  EXPECT_TRUE(flags.ready);
}

TEST_F(MainWindow, NoKeyboardAtStartSetsTheStartFlag) {
  r.presence = 0;
  EXPECT_TRUE(logic.OnInitDialog());
  EXPECT_TRUE(flags.start);
  EXPECT_NE(std::find(r.calls.begin(), r.calls.end(), "worker 0"), r.calls.end());
  EXPECT_LT(PositionOf(r.calls, "tray-add 128 <KEYBOARD_TRAY_DESC>"), PositionOf(r.calls, "worker 0"));
}

struct FatalInitCase {
  const char* name;
  bool skin_ok, device_ok, layered_ok;
  std::string last_step_before_exit;
};

class MainWindowFatalInit : public MainWindow,
                            public ::testing::WithParamInterface<FatalInitCase> {};

TEST_P(MainWindowFatalInit, ExitsAtOnceAndDoesNothingMore) {
  const FatalInitCase& c = GetParam();
  r.skin_ok = c.skin_ok;
  r.device_ok = c.device_ok;
  r.layered_ok = c.layered_ok;
  EXPECT_FALSE(logic.OnInitDialog());
  ASSERT_GE(r.calls.size(), 2u);
  EXPECT_EQ(r.calls.back(), "exit");
  EXPECT_EQ(r.calls[r.calls.size() - 2], c.last_step_before_exit);
  const auto count = [&](const char* prefix) {
    return std::count_if(r.calls.begin(), r.calls.end(),
                         [&](const std::string& call) { return call.starts_with(prefix); });
  };
  EXPECT_EQ(count("tray-add"), count("tray-remove")) << "an icon left behind by an ended process";
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MainWindowFatalInit,
    ::testing::Values(FatalInitCase{"BackgroundOrMaskUnusable", false, true, true, "skin"},
                      FatalInitCase{"DeviceLibraryUnusable", true, false, true, "device-link"},
                      FatalInitCase{"NoLayeredWindowFunction", true, true, false, "tray-remove"}),
    [](const auto& i) { return std::string(i.param.name); });

TEST_F(MainWindow, DeferredInitialisationBuildsTheSceneMenuThenBecomesReadyAndHides) {
  ASSERT_TRUE(logic.OnInitDialog());
  r.calls.clear();
  logic.OnDeferredInit();
  EXPECT_EQ(r.calls, (Calls{"scene-menu", "hide"}));
  EXPECT_TRUE(flags.ready);
  EXPECT_EQ(logic.CurrentTrayIcon(), 128);
}

TEST_F(MainWindow, ShowWithoutKeyboardOnlyTellsTheUser) {
  r.connected = false;
  logic.Show();
  EXPECT_EQ(r.calls, (Calls{"message <MAIN_NO_DEVICE_PROMPT>"}));
  r.calls.clear();
  r.connected = true;
  logic.Show();
  EXPECT_EQ(r.calls, (Calls{"show"}));
}

struct ApplyCase {
  const char* name;
  bool changed;
  std::vector<KeyboardWrite> writes;
  KeyboardRead read;  // when the write finds the keyboard's settings unknown
  Calls calls;
  bool changed_after;
};

class MainWindowApply : public MainWindow, public ::testing::WithParamInterface<ApplyCase> {};

TEST_P(MainWindowApply, WritesOnlyChangedSettingsAndKeepsApplyOnFailure) {
  const ApplyCase& c = GetParam();
  flags.settings_changed = c.changed;
  r.write_results = c.writes;
  r.read_result = c.read;
  logic.Apply();
  EXPECT_EQ(r.calls, c.calls);
  EXPECT_EQ(flags.settings_changed.load(), c.changed_after);
  if (c.changed) {
    // The write runs off the window thread, which must not hold the lock the write takes.
    EXPECT_TRUE(r.write_off_window_thread);
    EXPECT_FALSE(r.working_locked_during_write);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MainWindowApply,
    ::testing::Values(
        ApplyCase{"NothingChangedOnlyFlashesBusy", false, {KeyboardWrite::Written}, KeyboardRead::Read,
                  {"busy-start", "busy-stop"}, false},
        ApplyCase{"WrittenAndCachedDisablesApply", true, {KeyboardWrite::Written}, KeyboardRead::Read,
                  {"busy-start", "write", "apply-off", "busy-stop"}, false},
        ApplyCase{"CacheNotSavedKeepsApply", true, {KeyboardWrite::NotCached}, KeyboardRead::Read,
                  {"busy-start", "write", "busy-stop"}, true},
        ApplyCase{"MacrosDidNotFitKeepsApplyAndLeavesTheWordToTheWrite", true,
                  {KeyboardWrite::NotSent}, KeyboardRead::Read, {"busy-start", "write", "busy-stop"}, true},
        ApplyCase{"LinkFailureToldOnceAndKeepsApply", true, {KeyboardWrite::Failed}, KeyboardRead::Read,
                  {"busy-start", "write", "message <KEYBOARD_WRITE_FAILED>", "busy-stop"}, true},
        ApplyCase{"UnknownKeyboardReadAgainWritesNothingAndSaysSo", true, {KeyboardWrite::Unknown},
                  KeyboardRead::Read,
                  {"busy-start", "write", "connect-refresh", "refresh-keys", "mark-profile 2", "apply-off",
                   "message <KEYBOARD_READ_AGAIN>", "busy-stop"},
                  false},
        ApplyCase{"UnknownKeyboardStillUnreadableRefusesAndKeepsApply", true, {KeyboardWrite::Unknown},
                  KeyboardRead::Unreadable,
                  {"busy-start", "write", "connect-refresh", "refresh-keys", "mark-profile 2",
                   "message <KEYBOARD_READ_FAILED>", "busy-stop"},
                  true},
        ApplyCase{"UnknownKeyboardWithAnUnfinishedWriteWritesThatAgain", true,
                  {KeyboardWrite::Unknown, KeyboardWrite::Written}, KeyboardRead::PendingKept,
                  {"busy-start", "write", "connect-refresh", "refresh-keys", "mark-profile 2", "write",
                   "apply-off", "busy-stop"},
                  false}),
    [](const auto& i) { return std::string(i.param.name); });

TEST_F(MainWindow, OkAppliesThenHides) {
  logic.OnOk();
  EXPECT_EQ(r.calls, (Calls{"busy-start", "busy-stop", "hide"}));
}

TEST_F(MainWindow, RestoreDefaultsOnYesClearsKeysThenApplies) {
  logic.RestoreDefaults();
  EXPECT_EQ(r.calls, (Calls{"ask <MAIN_PROMPT_DEFAULT>", "clear-keys", "refresh-keys", "apply-on",
                            "default-lighting", "busy-start", "write", "apply-off", "busy-stop"}));
}

struct UnknownRestoreCase {
  const char* name;
  KeyboardRead read;
  Calls calls;
  bool changed_after;
};

class MainWindowRestoreUnknown : public MainWindow,
                                 public ::testing::WithParamInterface<UnknownRestoreCase> {};

// Defaults for one profile are written together with the others as the keyboard holds them: the
// keyboard is read first, and nothing is cleared or written when it cannot be.
TEST_P(MainWindowRestoreUnknown, ReadsTheKeyboardFirstOrRefuses) {
  const UnknownRestoreCase& c = GetParam();
  r.known = false;
  r.read_result = c.read;
  logic.RestoreDefaults();
  EXPECT_EQ(r.calls, c.calls);
  EXPECT_EQ(flags.settings_changed.load(), c.changed_after);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MainWindowRestoreUnknown,
    ::testing::Values(
        UnknownRestoreCase{"ReadAgainThenClearsAndWrites", KeyboardRead::Read,
                           {"ask <MAIN_PROMPT_DEFAULT>", "connect-refresh", "refresh-keys",
                            "mark-profile 2", "clear-keys", "refresh-keys", "apply-on",
                            "default-lighting", "busy-start", "write", "apply-off", "busy-stop"},
                           false},
        UnknownRestoreCase{"StillUnreadableRefusesWithoutTouchingAnything", KeyboardRead::Unreadable,
                           {"ask <MAIN_PROMPT_DEFAULT>", "connect-refresh", "refresh-keys",
                            "mark-profile 2", "message <KEYBOARD_READ_FAILED>"},
                           false}),
    [](const auto& i) { return std::string(i.param.name); });

TEST_F(MainWindow, RestoreDefaultsOnNoChangesNothing) {
  r.answer_yes = false;
  logic.RestoreDefaults();
  EXPECT_EQ(r.calls, (Calls{"ask <MAIN_PROMPT_DEFAULT>"}));
  EXPECT_FALSE(flags.settings_changed);
}

TEST_F(MainWindow, CloseProgramRunsItsOrderAndHoldsBothLocksForTheDeviceStore) {
  ASSERT_TRUE(logic.OnInitDialog());
  logic.OnDeferredInit();
  flags.settings_changed = true;
  r.calls.clear();
  logic.CloseProgram();
  EXPECT_EQ(r.calls, (Calls{"hide", "ask-child 0", "ask-child 1", "ask-child 2", "close-mutex",
                            "close-events", "tray-remove", "apply-off", "release-working",
                            "release-device", "release-bitmaps", "end-loop"}));
  EXPECT_FALSE(flags.settings_changed);
  EXPECT_TRUE(r.device_locked_during_release);
  EXPECT_TRUE(logic.Closed());
}

TEST_F(MainWindow, AChildThatRefusesKeepsTheProgramRunningHidden) {
  for (const ChildDialog child : {ChildDialog::About, ChildDialog::Profile, ChildDialog::Composite}) {
    Recorder rec;
    ShellFlags f;
    MainWindowLogic l(rec, rec, f);
    rec.a_child_refuses = true;
    rec.refusing_child = child;
    l.CloseProgram();
    EXPECT_EQ(rec.calls.front(), "hide");
    EXPECT_EQ(rec.calls.back(), "ask-child " + std::to_string(static_cast<int>(child)));
    EXPECT_FALSE(l.Closed());
  }
}

TEST_F(MainWindow, TrayIconChangesOnlyWhenItDiffers) {
  ASSERT_TRUE(logic.OnInitDialog());
  r.calls.clear();
  logic.SetTrayIcon(128);
  logic.SetTrayIcon(141);
  logic.SetTrayIcon(141);
  logic.SetTrayIcon(142);
  logic.SetTrayIcon(128);
  EXPECT_EQ(r.calls, (Calls{"tray-icon 141", "tray-icon 142", "tray-icon 128"}));
}

TEST_F(MainWindow, RestartedTaskbarGetsTheCurrentIconBack) {
  logic.OnTaskbarCreated();  // before the tray icon exists: nothing to re-add
  EXPECT_TRUE(r.calls.empty());
  ASSERT_TRUE(logic.OnInitDialog());
  logic.SetTrayIcon(141);
  r.calls.clear();
  logic.OnTaskbarCreated();
  EXPECT_EQ(r.calls, (Calls{"tray-add 141 <KEYBOARD_TRAY_DESC>"}));
  logic.CloseProgram();
  r.calls.clear();
  logic.OnTaskbarCreated();
  EXPECT_TRUE(r.calls.empty()) << "a closed program must not put its icon back";
}

TEST_F(MainWindow, OnlyTheFirstTwoFramePaintsHideTheWindow) {
  EXPECT_TRUE(logic.OnFramePaint());
  EXPECT_TRUE(logic.OnFramePaint());
  EXPECT_FALSE(logic.OnFramePaint());
  EXPECT_FALSE(logic.OnFramePaint());
  EXPECT_EQ(r.calls, (Calls{"hide", "hide"}));
}

TEST_F(MainWindow, BusyFramesCycleThroughTen) {
  std::vector<int> frames;
  for (int i = 0; i < 12; ++i) frames.push_back(logic.NextBusyFrame());
  EXPECT_EQ(frames, (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 0, 1}));
}

TEST_F(MainWindow, DisconnectClosesTheChildren) {
  logic.OnConnected();
  r.calls.clear();
  logic.OnDisconnected();
  EXPECT_EQ(r.calls, (Calls{"close-children"}));
}

// A connect refreshes the store, then the keys, then marks the active profile when it is known.
struct ConnectCase {
  const char* name;
  KeyboardRead read;
  int active_profile;
  bool changed_before;
  Calls calls;
  bool changed_after;
};

class MainWindowConnect : public MainWindow, public ::testing::WithParamInterface<ConnectCase> {};

TEST_P(MainWindowConnect, ApplyFollowsWhatTheReadLeft) {
  const ConnectCase& c = GetParam();
  flags.settings_changed = c.changed_before;
  r.read_result = c.read;
  r.active_profile = c.active_profile;
  logic.OnConnected();
  EXPECT_EQ(r.calls, c.calls);
  EXPECT_EQ(flags.settings_changed.load(), c.changed_after);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MainWindowConnect,
    ::testing::Values(
        ConnectCase{"ReadReplacesEdits", KeyboardRead::Read, 2, true,
                    {"connect-refresh", "refresh-keys", "mark-profile 2", "lighting-connect 2",
                     "scene-menu", "apply-off"},
                    false},
        ConnectCase{"UnknownProfileLeavesTheProfileButtonsAlone", KeyboardRead::Read, -1, false,
                    {"connect-refresh", "refresh-keys", "lighting-connect -1", "scene-menu", "apply-off"},
                    false},
        ConnectCase{"UnfinishedWriteKeepsApply", KeyboardRead::PendingKept, 2, true,
                    {"connect-refresh", "refresh-keys", "mark-profile 2", "lighting-connect 2",
                     "scene-menu", "apply-on"},
                    true},
        ConnectCase{"UnfinishedWriteOfAnEarlierRunEnablesApply", KeyboardRead::PendingKept, 2, false,
                    {"connect-refresh", "refresh-keys", "mark-profile 2", "lighting-connect 2",
                     "scene-menu", "apply-on"},
                    true},
        ConnectCase{"UnreadableIsToldOnlyOnceQuiet", KeyboardRead::Unreadable, 2, false,
                    {"connect-refresh", "refresh-keys", "mark-profile 2", "lighting-connect 2",
                     "scene-menu", "apply-off"},
                    false}),
    [](const auto& i) { return std::string(i.param.name); });

// What the window tells once the connection worker has handled every plug and unplug: a failed
// connect refresh, once, and only while the keyboard is there.
struct QuietCase {
  const char* name;
  std::vector<std::string> steps;  // "read", "unreadable", "detach", "quiet", "gone"
  int boxes;
};

class MainWindowQuiet : public MainWindow, public ::testing::WithParamInterface<QuietCase> {};

TEST_P(MainWindowQuiet, TellsAFailedReadOnceTheConnectionIsQuiet) {
  const QuietCase& c = GetParam();
  for (const std::string& step : c.steps) {
    if (step == "read" || step == "unreadable") {
      r.read_result = step == "read" ? KeyboardRead::Read : KeyboardRead::Unreadable;
      logic.OnConnected();
    } else if (step == "detach") {
      logic.OnDisconnected();
    } else if (step == "gone") {
      r.connected = false;
    } else {
      logic.OnConnectionQuiet();
    }
  }
  EXPECT_EQ(std::count(r.calls.begin(), r.calls.end(), "message <KEYBOARD_READ_FAILED>"), c.boxes);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MainWindowQuiet,
    ::testing::Values(
        QuietCase{"FailedReadIsTold", {"unreadable", "quiet"}, 1},
        QuietCase{"ToldOnceForOneFailure", {"unreadable", "quiet", "quiet"}, 1},
        QuietCase{"EachFailedRefreshOnce", {"unreadable", "quiet", "unreadable", "quiet"}, 2},
        QuietCase{"GoodReadLeavesNothing", {"read", "quiet"}, 0},
        QuietCase{"LaterGoodReadReplacesAFailure", {"unreadable", "read", "quiet"}, 0},
        QuietCase{"StormOfFailuresIsOneBox",
                  {"unreadable", "detach", "unreadable", "detach", "unreadable", "quiet"}, 1},
        QuietCase{"KeyboardThatWentIsNotBlamed", {"unreadable", "detach", "quiet"}, 0},
        QuietCase{"DisconnectedWhenQuietTellsNothing", {"unreadable", "gone", "quiet"}, 0},
        QuietCase{"QuietWithoutRefreshTellsNothing", {"quiet"}, 0}),
    [](const auto& i) { return std::string(i.param.name); });

}  // namespace
}  // namespace vendrel::app
