// Switching the keyboard's profile against the keyboard model behind the fake library, with the
// real settings files in a temporary documents folder: the switch and its refusals, the question
// about unapplied settings and both answers, the profile buttons, the scene menu's commands and
// the menu itself.
#include <gtest/gtest.h>

#include <algorithm>
#include <future>
#include <string>
#include <vector>

#include "app/profile_menu.h"
#include "app/scene_switcher.h"
#include "device/command_set.h"
#include "keys/default_key_map.h"
#include "platform/documents_folder.h"
#include "platform/file_system.h"
#include "sim/model/keyboard_model.h"
#include "store/settings_files.h"
#include "store/settings_store.h"
#include "support/device_rig.h"
#include "support/name_texts.h"
#include "support/temp_folder.h"

namespace vendrel::app {
namespace {

using Bytes = std::vector<std::uint8_t>;
using Calls = std::vector<std::string>;

constexpr auto kShortWait = std::chrono::milliseconds{100};
constexpr std::size_t kSlotA = 0x1E;

using testing::Narrow;

using testing::NameTexts;

// True when another thread cannot take the lock, that is when this thread holds it.
bool HeldHere(std::recursive_mutex& m) {
  return std::async(std::launch::async, [&m] {
           if (!m.try_lock()) return true;
           m.unlock();
           return false;
         }).get();
}

class RecordingSceneView final : public SceneView {
 public:
  explicit RecordingSceneView(device::CommandSet& commands, store::WorkingStore& store)
      : commands_(commands), store_(store) {}

  void ShowMessage(std::u16string_view text) override { Call("message " + Narrow(text)); }
  bool AskYesNo(std::u16string_view text) override {
    Call("ask " + Narrow(text));
    if (while_asking) while_asking();
    return answer_yes;
  }
  bool EditorOpen() override { return editor_open; }
  bool MainSettingsChanged() override { return main_changed; }
  void ApplyMainSettings() override {
    // Where the keyboard stood when the edits were written.
    Call("apply on profile " + std::to_string(commands_.CachedActiveProfile()));
    main_changed = !apply_writes;
  }
  void SetMainApply(bool enabled) override {
    main_changed = enabled;
    Call(enabled ? "apply-on" : "apply-off");
  }
  void RedrawKeyButtons() override {
    Call("redraw");
    if (!HeldHere(store_.Mutex())) Call("redraw without the store lock");
  }
  void ShowProfileMenu(const ProfileMenu& m) override {
    menu = m;
    Call("menu " + Narrow(m.caption) + " at " + std::to_string(m.checked));
  }
  void MarkActiveProfile(int profile) override { Call("mark " + std::to_string(profile)); }
  void ColourKeysModeOff() override { Call("colour-keys off"); }
  void ShowLightingOf(int profile) override { Call("lighting " + std::to_string(profile)); }
  bool ProfileDialogChanged() override { return dialog_changed; }
  void MarkProfileDialogRow(int profile) override { Call("dialog row " + std::to_string(profile)); }

  void Call(std::string what) { calls.push_back(std::move(what)); }

  Calls calls;
  bool editor_open = false;
  bool main_changed = false;
  bool dialog_changed = false;
  bool answer_yes = false;
  bool apply_writes = true;
  std::function<void()> while_asking;
  ProfileMenu menu;

 private:
  device::CommandSet& commands_;
  store::WorkingStore& store_;
};

Bytes ReadFile(const std::u16string& path) {
  Bytes bytes;
  platform::PortableFileSystem().ReadWholeFile(path, 1 << 24, bytes);
  return bytes;
}

// A keyboard on profile 0 that was read at connection: store, cache file and keyboard agree.
class SceneSwitch : public ::testing::Test {
 protected:
  SceneSwitch()
      : rig(1, kShortWait),
        documents(temp.U16()),
        files(store, platform::PortableFileSystem(), documents, table),
        view(rig.commands, store),
        switcher(view, names, rig.commands, files, store,
                 [] { return device::KeyMapBytes(keys::kDefaultKeyMap); }) {
    EXPECT_EQ(files.RefreshCacheFromKeyboard(rig.commands, keys::kDefaultKeyMap),
              store::CacheRefresh::FromKeyboard);
    EXPECT_EQ(rig.commands.GetActiveProfile(), 0);
    cache = files.CacheFilePath();
  }

  int KeyboardProfile() {
    return rig.library.WithModel([](sim::KeyboardModel& m) {
      return static_cast<int>(m.AreaBytes(sim::Area::Info)[device::kInfoOffActiveProfile]);
    });
  }
  Bytes StoreBytes() {
    auto lock = store.Lock();
    Bytes bytes;
    EXPECT_EQ(store::SerializeStore(store, bytes), profiles::SettingsCodecResult::Ok);
    return bytes;
  }
  // An edit on A of profile 0 that was not applied.
  void EditA() {
    {
      auto lock = store.Lock();
      keys::KeyAssignment& a = store.Table().At(0, kSlotA);
      a.type = keys::AssignmentType::Key;
      a.parameter = 0x30;
    }
    view.main_changed = true;
  }
  keys::AssignmentType TypeOfA() {
    auto lock = store.Lock();
    return store.Table().At(0, kSlotA).type;
  }

  testing::DeviceRig rig;
  testing::TempFolder temp;
  platform::FixedDocumentsFolder documents;
  texts::TextTable table;
  NameTexts names;
  store::WorkingStore store;
  store::SettingsFiles files;
  RecordingSceneView view;
  SceneSwitcher switcher;
  std::u16string cache;
};

// ---- the switch without unapplied settings ----------------------------------------------------

struct PlainSwitchCase {
  const char* name;
  int requested;
  int keyboard_after;
  Calls calls;
};

class PlainSwitch : public SceneSwitch, public ::testing::WithParamInterface<PlainSwitchCase> {};

TEST_P(PlainSwitch, SetsTheKeyboardsProfileWithoutAQuestion) {
  const PlainSwitchCase& c = GetParam();
  EXPECT_TRUE(switcher.SwitchScene(c.requested));
  EXPECT_EQ(KeyboardProfile(), c.keyboard_after);
  EXPECT_EQ(view.calls, c.calls);
}

INSTANTIATE_TEST_SUITE_P(
    Profiles, PlainSwitch,
    ::testing::Values(
        PlainSwitchCase{"Second", 1, 1, {"dialog row 1", "redraw", "menu $Profile0 at 3"}},
        PlainSwitchCase{"Third", 2, 2, {"dialog row 2", "redraw", "menu $Profile0 at 4"}},
        // The keyboard has three profiles: anything beyond is the first.
        PlainSwitchCase{"FourthIsFirst", 3, 0, {"dialog row 0", "redraw", "menu $Profile0 at 2"}},
        PlainSwitchCase{"FarBeyondIsFirst", 200, 0, {"dialog row 0", "redraw", "menu $Profile0 at 2"}},
        // The default entry runs the procedure and leaves the keyboard where it is.
        PlainSwitchCase{"Default", -1, 0, {"dialog row -1", "redraw", "menu $Profile0 at 2"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(SceneSwitch, TheEditorOpenRefusesWithItsMessageAndAsksNothing) {
  EditA();
  view.editor_open = true;
  EXPECT_FALSE(switcher.SwitchScene(1));
  EXPECT_EQ(view.calls, (Calls{"message <PROFILE_SEELCT_PROMPT2>"}));
  EXPECT_EQ(KeyboardProfile(), 0);
  EXPECT_EQ(TypeOfA(), keys::AssignmentType::Key);
}

TEST_F(SceneSwitch, AProfileTheKeyboardDoesNotTakeIsNoSwitch) {
  rig.library.RefuseWritesFrom(1);
  EXPECT_FALSE(switcher.SwitchScene(2));
  rig.library.RefuseWritesFrom(0);
  EXPECT_EQ(KeyboardProfile(), 0);
  // The menu keeps the profile the keyboard was last seen on.
  EXPECT_EQ(view.menu.checked, 2u);
}

// ---- the question about unapplied settings ------------------------------------------------------

TEST_F(SceneSwitch, NoThrowsTheEditsAwayByReloadingTheCacheFile) {
  const Bytes before = StoreBytes();
  EditA();
  ASSERT_NE(StoreBytes(), before);
  EXPECT_TRUE(switcher.SwitchScene(1));
  EXPECT_EQ(view.calls, (Calls{"ask <PROFILE_SELECT_PROMPT>", "apply-off", "redraw",
                               "menu $Profile0 at 3"}));
  EXPECT_EQ(StoreBytes(), ReadFile(cache));
  EXPECT_EQ(StoreBytes(), before);
  EXPECT_EQ(KeyboardProfile(), 1);
}

TEST_F(SceneSwitch, YesWritesTheEditsOnTheOldProfileBeforeSwitching) {
  EditA();
  view.answer_yes = true;
  EXPECT_TRUE(switcher.SwitchScene(2));
  EXPECT_EQ(view.calls, (Calls{"ask <PROFILE_SELECT_PROMPT>", "apply on profile 0", "redraw",
                               "menu $Profile0 at 4"}));
  EXPECT_EQ(TypeOfA(), keys::AssignmentType::Key);
  EXPECT_EQ(KeyboardProfile(), 2);
}

TEST_F(SceneSwitch, YesWhoseWriteFailsKeepsTheEditsAndTheProfile) {
  EditA();
  view.answer_yes = true;
  view.apply_writes = false;
  EXPECT_FALSE(switcher.SwitchScene(2));
  EXPECT_EQ(view.calls, (Calls{"ask <PROFILE_SELECT_PROMPT>", "apply on profile 0"}));
  EXPECT_EQ(TypeOfA(), keys::AssignmentType::Key);
  EXPECT_EQ(KeyboardProfile(), 0);
}

TEST_F(SceneSwitch, TheProfileDialogsChangesAskTooAndItsRowIsLeftToIt) {
  view.dialog_changed = true;
  EXPECT_TRUE(switcher.SwitchScene(1));
  EXPECT_EQ(view.calls, (Calls{"ask <PROFILE_SELECT_PROMPT>", "apply-off", "redraw",
                               "menu $Profile0 at 3"}));
}

TEST_F(SceneSwitch, NoOverAnUnusableCacheFileReadsTheKeyboardAgain) {
  const Bytes keyboard = StoreBytes();
  ASSERT_TRUE(platform::PortableFileSystem().WriteFileReplacing(cache, Bytes(100, 0xAB)));
  EditA();
  EXPECT_TRUE(switcher.SwitchScene(1));
  EXPECT_EQ(StoreBytes(), keyboard);
  EXPECT_EQ(ReadFile(cache), keyboard);
  EXPECT_FALSE(view.main_changed);
}

TEST_F(SceneSwitch, NoKeepsAWriteTheKeyboardDidNotFinish) {
  EditA();
  {
    auto lock = store.Lock();
    store.basis = store::KeyboardBasis::WriteUnfinished;
  }
  EXPECT_TRUE(switcher.SwitchScene(1));
  EXPECT_EQ(TypeOfA(), keys::AssignmentType::Key);
  EXPECT_TRUE(view.main_changed);
  EXPECT_EQ(view.calls, (Calls{"ask <PROFILE_SELECT_PROMPT>", "apply-off", "apply-on", "redraw",
                               "menu $Profile0 at 3"}));
}

TEST_F(SceneSwitch, NoWithoutAKnownProfileLeavesTheStoreAlone) {
  rig.commands.ForgetActiveProfile();
  rig.library.RefuseWritesFrom(1);  // the profile cannot be read again either
  EditA();
  switcher.SwitchScene(-1);
  rig.library.RefuseWritesFrom(0);
  EXPECT_EQ(TypeOfA(), keys::AssignmentType::Key);
  EXPECT_FALSE(view.main_changed);
}

TEST_F(SceneSwitch, ASecondSwitchWhileTheQuestionIsOnScreenIsRefused) {
  EditA();
  bool nested = true;
  view.while_asking = [&] { nested = switcher.SwitchScene(2); };
  EXPECT_TRUE(switcher.SwitchScene(1));
  EXPECT_FALSE(nested);
  EXPECT_EQ(KeyboardProfile(), 1);
  EXPECT_EQ(std::count(view.calls.begin(), view.calls.end(), "ask <PROFILE_SELECT_PROMPT>"), 1);
}

// ---- the profile buttons --------------------------------------------------------------------------

struct ButtonCase {
  const char* name;
  int button;
  bool edited;
  bool editor_open;
  int keyboard_after;
  Calls calls;
};

class ProfileButton : public SceneSwitch, public ::testing::WithParamInterface<ButtonCase> {};

TEST_P(ProfileButton, ShowsTheLightingThenSwitchesAndMarksTheButton) {
  const ButtonCase& c = GetParam();
  if (c.edited) EditA();
  view.editor_open = c.editor_open;
  switcher.OnProfileButton(c.button);
  EXPECT_EQ(view.calls, c.calls);
  EXPECT_EQ(KeyboardProfile(), c.keyboard_after);
}

INSTANTIATE_TEST_SUITE_P(
    Buttons, ProfileButton,
    ::testing::Values(
        ButtonCase{"Other", 1, false, false, 1,
                   {"lighting 1", "dialog row 1", "redraw", "menu $Profile0 at 3", "mark 1",
                    "colour-keys off", "redraw"}},
        // The active profile's button reloads its lighting and asks nothing, edits or not.
        ButtonCase{"ActiveWithEdits", 0, true, false, 0,
                   {"lighting 0", "mark 0", "colour-keys off", "redraw"}},
        ButtonCase{"OtherWithEditsAnsweredNo", 2, true, false, 2,
                   {"lighting 2", "ask <PROFILE_SELECT_PROMPT>", "apply-off", "redraw",
                    "menu $Profile0 at 4", "mark 2", "colour-keys off", "redraw"}},
        // The lighting shown follows the button; the keyboard stays and no button changes.
        ButtonCase{"EditorOpen", 1, false, true, 0,
                   {"lighting 1", "message <PROFILE_SEELCT_PROMPT2>"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(SceneSwitch, AButtonBeyondTheProfilesDoesNothing) {
  switcher.OnProfileButton(3);
  switcher.OnProfileButton(-1);
  EXPECT_TRUE(view.calls.empty());
  EXPECT_EQ(KeyboardProfile(), 0);
}

// ---- the scene menu -----------------------------------------------------------------------------

TEST_F(SceneSwitch, MenuCommandsSwitchToTheirProfileAndTheDefaultEntryOnlyAsks) {
  EXPECT_TRUE(switcher.OnSceneCommand(9003));
  EXPECT_EQ(KeyboardProfile(), 2);
  EXPECT_EQ(view.calls.back(), "mark 2");

  EditA();
  view.calls.clear();
  EXPECT_TRUE(switcher.OnSceneCommand(9000));
  EXPECT_EQ(KeyboardProfile(), 2);
  EXPECT_EQ(view.calls, (Calls{"ask <PROFILE_SELECT_PROMPT>", "apply-off", "redraw",
                               "menu $Profile0 at 4"}));

  view.calls.clear();
  EXPECT_FALSE(switcher.OnSceneCommand(8999));
  EXPECT_FALSE(switcher.OnSceneCommand(9201));
  EXPECT_TRUE(view.calls.empty());
}

TEST(ProfileMenuItems, DefaultEntrySeparatorAndOneEntryPerProfile) {
  const NameTexts names;
  const ProfileMenu menu = BuildProfileMenu(names, u"C:\\Users\\u\\Documents\\RX73P05D\\$Profile0", 1);
  const std::vector<ProfileMenuItem> expected{{9000, u"<DEFAULT_PROFILE_NAME>"},
                                              {0, u""},
                                              {9001, u"$Profile0"},
                                              {9002, u"$Profile0"},
                                              {9003, u"$Profile0"}};
  EXPECT_EQ(menu.items, expected);
  EXPECT_EQ(menu.checked, 3u);
  EXPECT_EQ(menu.caption, u"$Profile0");
  EXPECT_EQ(menu.tooltip, u"<PROFILE_TIP>$Profile0");
}

TEST(ProfileMenuItems, AnUnknownProfileChecksTheDefaultEntry) {
  const NameTexts names;
  for (const int unknown : {-1, 3}) {
    const ProfileMenu menu = BuildProfileMenu(names, u"D:\\x\\$Profile0", unknown);
    EXPECT_EQ(menu.checked, 0u) << unknown;
    EXPECT_EQ(menu.caption, u"<DEFAULT_PROFILE_NAME>") << unknown;
    EXPECT_EQ(menu.tooltip, u"<PROFILE_TIP><DEFAULT_PROFILE_NAME>") << unknown;
  }
}

TEST(ProfileMenuItems, FileTitleDropsFolderAndExtension) {
  const std::pair<std::u16string, std::u16string> cases[] = {
      {u"C:\\a\\b\\$Profile0", u"$Profile0"},
      {u"C:\\a.b\\game.fwc", u"game"},
      {u"/home/u/set.v2.fwc", u"set.v2"},
      {u"plain", u"plain"},
      {u"C:\\a\\.hidden", u".hidden"},
      {u"", u""},
  };
  for (const auto& [path, title] : cases) {
    EXPECT_EQ(FileTitle(path), title) << std::string(path.begin(), path.end());
  }
}

TEST(ProfileMenuItems, CommandsMapToProfiles) {
  EXPECT_EQ(SceneOfCommand(9000), -1);
  EXPECT_EQ(SceneOfCommand(9001), 0);
  EXPECT_EQ(SceneOfCommand(9003), 2);
  EXPECT_EQ(SceneOfCommand(9200), 199);
  EXPECT_EQ(SceneOfCommand(8999), std::nullopt);
  EXPECT_EQ(SceneOfCommand(9201), std::nullopt);
}

}  // namespace
}  // namespace vendrel::app
