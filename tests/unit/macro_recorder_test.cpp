#include "app/macro_recorder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/macro_editor.h"
#include "support/fake_sleeper.h"
#include "support/memory_ini_profile.h"
#include "support/recording_macro_editor_view.h"

namespace vendrel::app {
namespace {

using macros::ActionKind;
using macros::MacroAction;
using macros::MacroRecord;
using testing::MemoryIniProfile;
using testing::RecordingMacroEditorView;

constexpr keys::KeyCode kA = 0x01E;
constexpr keys::KeyCode kB = 0x030;
constexpr keys::KeyCode kPrintScreen = 0x137;

// Key data of a thread hook message: scan code, extended flag, previous state, transition.
std::uint32_t KeyData(std::uint32_t scan, bool extended, bool was_down, bool released) {
  return (scan << 16) | (extended ? 1u << 24 : 0u) | (was_down ? kKeyWasDownBit : 0u) |
         (released ? kKeyReleasedBit : 0u);
}
std::uint32_t Down(std::uint32_t scan, bool extended = false) { return KeyData(scan, extended, false, false); }
std::uint32_t Repeat(std::uint32_t scan, bool extended = false) { return KeyData(scan, extended, true, false); }
std::uint32_t Up(std::uint32_t scan, bool extended = false) { return KeyData(scan, extended, true, true); }

constexpr std::uint32_t kVkA = 0x41;
constexpr std::uint32_t kVkB = 0x42;

// One macro open on the macro tab, with the option as stored; recording not started yet.
class MacroRecorderTest : public ::testing::Test {
 protected:
  void Open(std::vector<MacroAction> actions, const char16_t* stored_option) {
    if (stored_option) profile.values[{u"PROFILES", u"RecordDelay"}] = stored_option;
    MacroRecord m;
    m.id = 1;
    m.name = u"Rec";
    m.actions = std::move(actions);
    {
      auto lock = store.Lock();
      store.macros = {m};
    }
    editor.Fill();
    editor.SelectForOpening(1);
    view.apply_enabled = false;
    profile.writes.clear();
  }
  const std::vector<MacroAction>& Rows() const { return editor.Rows().Actions(); }
  MacroRecorder& Recorder() { return editor.Recorder(); }

  store::WorkingStore store;
  texts::TextTable texts;
  testing::FakeSleeper sleeper;
  MemoryIniProfile profile;
  RecordingMacroEditorView view;
  MacroEditor editor{store, view, texts, sleeper, profile, u""};
};

TEST_F(MacroRecorderTest, StartAndStopSwitchCaptionButtonsAndHooks) {
  Open({}, nullptr);
  editor.OnRecordClicked(100);
  EXPECT_TRUE(editor.Recording());
  EXPECT_EQ(view.record_caption, u"Stop Record");
  EXPECT_TRUE(view.record_pressed);
  EXPECT_FALSE(view.add_delete_enabled);
  EXPECT_FALSE(view.box_enabled);
  EXPECT_TRUE(view.hooks_installed);

  editor.OnRecordClicked(200);
  EXPECT_FALSE(editor.Recording());
  EXPECT_EQ(view.record_caption, u"Record");
  EXPECT_FALSE(view.record_pressed);
  EXPECT_TRUE(view.add_delete_enabled);
  EXPECT_TRUE(view.box_enabled);
  EXPECT_FALSE(view.hooks_installed);
  // Nothing recorded once stopped, and the keystrokes go to the dialog.
  EXPECT_FALSE(Recorder().OnThreadKey(kVkA, Down(0x1E), 300));
  EXPECT_FALSE(Recorder().OnLowLevelKey(kVkLeftWindows, true, 300));
  EXPECT_TRUE(Rows().empty());
}

TEST_F(MacroRecorderTest, RecordingNeedsACurrentMacro) {
  Open({}, nullptr);
  editor.DeleteMacro();
  editor.OnRecordClicked(0);
  EXPECT_FALSE(editor.Recording());
  EXPECT_FALSE(view.hooks_installed);
}

TEST_F(MacroRecorderTest, HeldKeyRecordsOnePressAndOneReleaseWithTheHoldAsPause) {
  Open({}, u"1");
  editor.OnRecordClicked(1000);
  EXPECT_TRUE(Recorder().OnThreadKey(kVkA, Down(0x1E), 1100));
  for (std::uint32_t t = 1600; t < 2100; t += 33) EXPECT_TRUE(Recorder().OnThreadKey(kVkA, Repeat(0x1E), t));
  EXPECT_TRUE(Recorder().OnThreadKey(kVkA, Up(0x1E), 2100));
  EXPECT_EQ(Rows(), (std::vector<MacroAction>{{1000, kA, ActionKind::Press}, {0, kA, ActionKind::Release}}));
  EXPECT_EQ(view.rows[0].delay, u"1000");
  EXPECT_EQ(view.row_selected, 1);
  EXPECT_EQ(view.visible_row, 1);
  EXPECT_TRUE(view.grey);
  EXPECT_TRUE(view.apply_enabled);
}

TEST_F(MacroRecorderTest, DelayOptionChoosesMeasuredOrFixedPauses) {
  struct Case {
    const char16_t* stored;
    std::vector<std::uint32_t> delays;
  };
  const Case cases[] = {
      {u"1", {120, 300, 45, 0}},
      {u"0", {50, 50, 50, 0}},
      {nullptr, {50, 50, 50, 0}},
  };
  for (const Case& c : cases) {
    RecordingMacroEditorView v;
    MemoryIniProfile p;
    MacroEditor e{store, v, texts, sleeper, p, u""};
    if (c.stored) p.values[{u"PROFILES", u"RecordDelay"}] = c.stored;
    {
      auto lock = store.Lock();
      store.macros = {MacroRecord{u"Rec", 1, 0, 0, 0, 1, 0, {}}};
    }
    e.Fill();
    e.SelectForOpening(1);
    e.OnRecordClicked(0);
    e.Recorder().OnThreadKey(kVkA, Down(0x1E), 10);
    e.Recorder().OnThreadKey(kVkA, Up(0x1E), 130);
    e.Recorder().OnThreadKey(kVkB, Down(0x30), 430);
    e.Recorder().OnThreadKey(kVkB, Up(0x30), 475);
    std::vector<std::uint32_t> delays;
    for (const MacroAction& a : e.Rows().Actions()) delays.push_back(a.delay);
    EXPECT_EQ(delays, c.delays) << (c.stored ? "stored" : "missing");
  }
}

TEST_F(MacroRecorderTest, PrintScreenReleaseRecordsASyntheticPressFirst) {
  Open({{0, kB, ActionKind::Release}}, u"1");
  editor.OnRowSelected(0);
  editor.OnRecordClicked(5000);
  // The system reports Print Screen only on its release.
  EXPECT_TRUE(Recorder().OnThreadKey(0x2C, Up(0x37, true), 5300));
  EXPECT_EQ(Rows(), (std::vector<MacroAction>{{2, kB, ActionKind::Release},
                                              {300, kPrintScreen, ActionKind::Press},
                                              {0, kPrintScreen, ActionKind::Release}}));
  EXPECT_EQ(editor.Rows().Selected(), 2);
}

TEST_F(MacroRecorderTest, KeysTheRecorderLeavesToTheSystem) {
  struct Case {
    const char* what;
    std::uint32_t vk;
    std::uint32_t key_data;
    keys::KeyCode key;
  };
  const Case cases[] = {
      {"volume up", 0xAF, Down(0x30, true), 0x130},
      {"mute", 0xAD, Up(0x20, true), 0x120},
      {"mouse button without key", 0x01, Down(0), keys::kNoKey},
      {"F13, which the keyboard cannot play", 0x7C, Down(0x64), 0x064},
  };
  Open({}, u"1");
  editor.OnRecordClicked(0);
  for (const Case& c : cases) {
    ASSERT_EQ(keys::HookKeyCode(c.vk, c.key_data), c.key) << c.what;
    EXPECT_FALSE(Recorder().OnThreadKey(c.vk, c.key_data, 100)) << c.what;
  }
  EXPECT_TRUE(Rows().empty());
  EXPECT_FALSE(view.apply_enabled);
  EXPECT_TRUE(IsMediaKey(0x130));
  EXPECT_FALSE(IsMediaKey(kA));
}

TEST_F(MacroRecorderTest, HeldWindowsKeyRecordsOncePressedAndOnceReleasedAndNeverReachesTheSystem) {
  Open({}, u"1");
  editor.OnRecordClicked(0);
  EXPECT_TRUE(Recorder().OnLowLevelKey(kVkLeftWindows, true, 100));
  EXPECT_TRUE(Recorder().OnLowLevelKey(kVkLeftWindows, true, 600));  // auto-repeat
  EXPECT_TRUE(Recorder().OnLowLevelKey(kVkLeftWindows, true, 633));
  EXPECT_TRUE(Recorder().OnLowLevelKey(kVkLeftWindows, false, 900));
  EXPECT_TRUE(Recorder().OnLowLevelKey(kVkRightWindows, true, 1000));
  // Other keys pass the low-level hook; the thread hook sees them.
  EXPECT_FALSE(Recorder().OnLowLevelKey(kVkA, true, 1100));
  EXPECT_EQ(Rows(), (std::vector<MacroAction>{{800, 0x15B, ActionKind::Press},
                                              {100, 0x15B, ActionKind::Release},
                                              {0, 0x15C, ActionKind::Press}}));
}

TEST_F(MacroRecorderTest, AReleaseOfAnyKeyEndsTheWindowsKeyRepeat) {
  Open({}, u"1");
  editor.OnRecordClicked(0);
  Recorder().OnLowLevelKey(kVkLeftWindows, true, 100);
  Recorder().OnLowLevelKey(kVkA, false, 150);
  Recorder().OnLowLevelKey(kVkLeftWindows, true, 200);  // a second press, not a repeat
  EXPECT_EQ(Rows().size(), 2u);
}

TEST_F(MacroRecorderTest, InsertedAfterTheSelectedRowTheRowBeforeTakesTheMeasuredPause) {
  Open({{10, kA, ActionKind::Press}, {20, kA, ActionKind::Release}, {30, kB, ActionKind::Press},
        {40, kB, ActionKind::Release}, {0, kA, ActionKind::Press}},
       u"1");
  editor.OnRowSelected(1);
  editor.OnRecordClicked(1000);
  Recorder().OnThreadKey(kVkB, Down(0x30), 1250);
  ASSERT_EQ(Rows().size(), 6u);
  EXPECT_EQ(Rows()[1], (MacroAction{250, kA, ActionKind::Release}));
  EXPECT_EQ(Rows()[2], (MacroAction{20, kB, ActionKind::Press}));
  EXPECT_EQ(Rows()[3], (MacroAction{30, kB, ActionKind::Press}));
  EXPECT_EQ(view.rows[1].delay, u"250");
  EXPECT_EQ(view.rows[2].delay, u"20");
  EXPECT_EQ(view.row_selected, 2);
}

TEST_F(MacroRecorderTest, MeasuredPausesAreCappedAndTakenModuloTheTickCounter) {
  struct Case {
    const char* what;
    std::uint32_t start;
    std::uint32_t second;
    std::uint32_t stored;
  };
  const Case cases[] = {
      {"fifty seconds", 1000, 51000, 40000},
      {"tick count wrapped", 0xFFFFFF00u, 0x100, 0x200},
      {"exactly the cap", 0, 40000, 40000},
  };
  for (const Case& c : cases) {
    Open({}, u"1");
    editor.OnRecordClicked(c.start);
    Recorder().OnThreadKey(kVkA, Down(0x1E), c.start);
    Recorder().OnThreadKey(kVkA, Up(0x1E), c.second);
    ASSERT_EQ(Rows().size(), 2u) << c.what;
    EXPECT_EQ(Rows()[0].delay, c.stored) << c.what;
    editor.OnRecordClicked(0);
  }
}

TEST_F(MacroRecorderTest, AFullListDropsRecordedActionsButStillTakesTheKeys) {
  Open(std::vector<MacroAction>(macros::kMaxActions, MacroAction{10, kA, ActionKind::Press}), u"1");
  editor.OnRecordClicked(0);
  EXPECT_TRUE(Recorder().OnThreadKey(kVkB, Down(0x30), 100));
  EXPECT_EQ(Rows().size(), macros::kMaxActions);
  EXPECT_EQ(Rows().back().key, kA);
  EXPECT_FALSE(view.apply_enabled);
}

TEST_F(MacroRecorderTest, OptionIsReadAtOpeningAndOtherValuesStoredBackAsZero) {
  struct Case {
    const char16_t* stored;
    bool checked;
    std::u16string written;
  };
  const Case cases[] = {
      {u"1", true, u"1"},   {u"0", false, u"0"},    {u"2", false, u"0"}, {u"-1", false, u"0"},
      {u"abc", false, u"0"}, {nullptr, false, u"0"}, {u" 1", true, u"1"},
  };
  for (const Case& c : cases) {
    RecordingMacroEditorView v;
    MemoryIniProfile p;
    if (c.stored) p.values[{u"PROFILES", u"RecordDelay"}] = c.stored;
    MacroEditor e{store, v, texts, sleeper, p, u""};
    e.Fill();
    const std::string what = c.stored ? std::string(c.stored, c.stored + std::char_traits<char16_t>::length(c.stored)) : "missing";
    EXPECT_EQ(v.record_delay_checked, c.checked) << what;
    EXPECT_EQ(e.Recorder().RecordDelayOption(), c.checked ? 1 : 0) << what;
    EXPECT_EQ(p.writes, (std::vector<MemoryIniProfile::Write>{{u"PROFILES", u"RecordDelay", c.written}})) << what;
  }
}

TEST_F(MacroRecorderTest, TogglingTwiceStoresOneThenZeroUnderTheLanguagesKeyName) {
  texts.Set(texts::TextKey::MACRO_ACTION_RECORD_DELAY, u"Verzoegerung");
  Open({}, nullptr);
  editor.OnRecordDelayClicked();
  EXPECT_TRUE(view.record_delay_checked);
  editor.OnRecordDelayClicked();
  EXPECT_FALSE(view.record_delay_checked);
  EXPECT_EQ(profile.writes, (std::vector<MemoryIniProfile::Write>{{u"PROFILES", u"Verzoegerung", u"1"},
                                                                  {u"PROFILES", u"Verzoegerung", u"0"}}));
}

}  // namespace
}  // namespace vendrel::app
