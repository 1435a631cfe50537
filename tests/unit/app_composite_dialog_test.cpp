// The key-setting dialog without a window: what it opens on, what its tabs, the key capture and
// Clear choose, and what Apply, OK and Cancel leave in the WorkingStore.
#include "app/composite_dialog_logic.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "keys/profile_key_table.h"
#include "store/assignment_model.h"

namespace vendrel::app {
namespace {

using keys::AssignmentType;
using keys::KeyAssignment;

std::string Narrow(std::u16string_view text) { return std::string(text.begin(), text.end()); }

class FakeView final : public CompositeDialogView {
 public:
  std::vector<std::string> calls;
  std::string key_field = "(untouched)";
  bool apply = true;
  bool macro_edit = false;
  CompositeTab tab = CompositeTab::SingleKey;
  int media = -2;
  int function = -2;
  int installs = 0;
  int removals = 0;
  bool ended = false;

  void ShowMode(bool on) override { macro_edit = on; }
  void ShowTab(CompositeTab t) override { tab = t; }
  void SetKeyField(std::u16string_view text) override { key_field = Narrow(text); }
  void EnableApply(bool on) override { apply = on; }
  void SelectMedia(int p) override { media = p; }
  void SelectFunction(int p) override { function = p; }
  int SelectedMedia() const override { return media; }
  int SelectedFunction() const override { return function; }
  void InstallCaptureHooks() override { ++installs; }
  void RemoveCaptureHooks() override { ++removals; }
  void EndDialog() override { ended = true; }
};

class FakeMacroTab final : public CompositeMacroTab {
 public:
  std::vector<std::string> calls;
  bool empty = false;
  std::uint16_t id = 7;
  std::uint16_t cycles = 3;
  bool recording = false;

  void Fill() override { calls.push_back("fill"); }
  void SelectForOpening(std::uint32_t v) override { calls.push_back("select " + std::to_string(v)); }
  void SelectFirstSavingCurrent() override { calls.push_back("select first"); }
  bool Recording() const override { return recording; }
  void StopRecording() override { recording = false; }
  void EndCellEdit() override { calls.push_back("end edit"); }
  bool Empty() const override { return empty; }
  std::uint16_t CurrentMacroId() const override { return empty ? 0 : id; }
  std::uint16_t Cycles() const override { return empty ? 0 : cycles; }
  void SaveAndCommit() override { calls.push_back("commit"); }
  void Discard() override { calls.push_back("discard"); }
};

class FakeHost final : public CompositeDialogHost {
 public:
  std::vector<std::string> calls;
  void ShowAssignment(int id, bool set) override {
    calls.push_back("show " + std::to_string(id) + (set ? " set" : " plain"));
  }
  void EnableMainApply() override { calls.push_back("main apply"); }
  void RefreshKeyButtons() override { calls.push_back("refresh keys"); }
};

constexpr std::size_t kBlock = 1;
constexpr std::size_t kSlotA = 0x1E;
constexpr std::size_t kSlotCaps = 0x3A;
constexpr int kButtonA = 1058;
constexpr int kButtonG9 = 1143;
// Key data of a fresh press of a key with the scan code; bit 30 marks a repeat, bit 31 a release.
constexpr std::uint32_t Press(std::uint32_t scan) { return 1u | (scan << 16); }
constexpr std::uint32_t kRepeat = 1u << 30;
constexpr std::uint32_t kRelease = 1u << 31;
constexpr std::uint32_t kVkA = 0x41, kVkB = 0x42;

class CompositeDialog : public ::testing::Test {
 protected:
  void SetUp() override {
    auto lock = store.Lock();
    for (std::size_t b = 0; b < keys::kProfileBlockCount; ++b) ResetBlock(store.Table().Block(b));
  }
  void Put(std::size_t slot, KeyAssignment a, std::u16string_view text = {}) {
    store::WriteAssignment(store, kBlock, slot, a, text);
  }
  KeyAssignment At(std::size_t slot) { return store::ReadAssignment(store, kBlock, slot); }

  store::WorkingStore store;
  texts::TextTable texts;
  FakeView view;
  FakeMacroTab macros;
  FakeHost host;
  CompositeDialogLogic logic{view, macros, host, store, texts};
};

TEST_F(CompositeDialog, OpeningShowsTheTabOfTheKeysAssignment) {
  const struct {
    const char* what;
    KeyAssignment stored;
    CompositeTab tab;
    std::string key_field;
    int media;
    int function;
    int installs;
  } cases[] = {
      {"default: single key, empty", {}, CompositeTab::SingleKey, "", 0, 0, 1},
      {"key B", {AssignmentType::Key, 0, 0x030}, CompositeTab::SingleKey, "B", 0, 0, 1},
      {"disabled: empty key field", {AssignmentType::Disabled, 0, 0}, CompositeTab::SingleKey, "", 0, 0, 1},
      {"media 3: fourth entry", {AssignmentType::Media, 0, 3}, CompositeTab::Media, "(untouched)", 3, 0, 0},
      {"media out of the box", {AssignmentType::Media, 0, 18}, CompositeTab::Media, "(untouched)", -1, 0, 0},
      {"function 10", {AssignmentType::Function, 0, 10}, CompositeTab::Function, "(untouched)", 0, 10, 0},
      {"function out of the box", {AssignmentType::Function, 0, 11}, CompositeTab::Function, "(untouched)", 0, -1, 0},
      {"macro", {AssignmentType::Macro, 1, 5}, CompositeTab::Macro, "(untouched)", 0, 0, 0},
  };
  for (const auto& c : cases) {
    FakeView v;
    FakeMacroTab m;
    CompositeDialogLogic l{v, m, host, store, texts};
    Put(kSlotA, c.stored);
    l.Open(kBlock, kSlotA, kButtonA);
    EXPECT_EQ(v.tab, c.tab) << c.what;
    EXPECT_EQ(l.PendingType(), c.stored.type) << c.what;
    EXPECT_EQ(v.key_field, c.key_field) << c.what;
    EXPECT_EQ(v.media, c.media) << c.what;
    EXPECT_EQ(v.function, c.function) << c.what;
    EXPECT_EQ(v.installs, c.installs) << c.what;
    EXPECT_FALSE(v.apply) << c.what;
    EXPECT_FALSE(v.macro_edit) << c.what;
    ASSERT_FALSE(m.calls.empty()) << c.what;
    EXPECT_EQ(m.calls.front(), "fill") << c.what;
    if (c.tab == CompositeTab::Macro) {
      EXPECT_EQ(m.calls, (std::vector<std::string>{"fill", "select 5"})) << c.what;
    }
  }
}

TEST_F(CompositeDialog, OpeningReadsOnlyTheGivenBlock) {
  store::WriteAssignment(store, 0, kSlotA, {AssignmentType::Media, 0, 2});
  logic.Open(kBlock, kSlotA, kButtonA);
  EXPECT_EQ(view.tab, CompositeTab::SingleKey);
  EXPECT_EQ(logic.PendingType(), AssignmentType::Default);
}

TEST_F(CompositeDialog, G9OpensInMacroEditModeAndAppliesAMacroToTheBanksRecord) {
  const std::size_t g9_bank2 = keys::GRecordIndex(1, 8);
  logic.Open(kBlock, g9_bank2, kButtonG9);
  EXPECT_TRUE(logic.MacroEditMode());
  EXPECT_TRUE(view.macro_edit);
  EXPECT_EQ(view.tab, CompositeTab::Macro);
  EXPECT_EQ(view.installs, 0);
  EXPECT_EQ(macros.calls, (std::vector<std::string>{"fill", "select 0"}));
  logic.Apply();
  const KeyAssignment a = At(g9_bank2);
  EXPECT_EQ(a.type, AssignmentType::Macro);
  EXPECT_EQ(a.parameter, 7u);
  EXPECT_EQ(a.key_field, 3u) << "a macro's key field holds its cycles";
  EXPECT_EQ(At(keys::GRecordIndex(0, 8)).type, AssignmentType::Default);
}

TEST_F(CompositeDialog, CaptureTakesFreshPressesOnly) {
  const struct {
    const char* what;
    std::uint32_t vk;
    std::uint32_t data;
    bool taken;
    keys::KeyCode chosen;
  } cases[] = {
      {"press of B", kVkB, Press(0x30), true, 0x030},
      {"auto-repeat of B: taken, no effect", kVkB, Press(0x30) | kRepeat, true, 0},
      {"release of B: taken, no effect", kVkB, Press(0x30) | kRepeat | kRelease, true, 0},
      {"Print Screen on release", 0x2C, Press(0x37) | (1u << 24) | kRepeat | kRelease, true, 0x137},
      {"mute media key passes", 0xAD, Press(0x20) | (1u << 24), false, 0},
      {"no key passes", 0x00, 0, false, 0},
  };
  for (const auto& c : cases) {
    FakeView v;
    CompositeDialogLogic l{v, macros, host, store, texts};
    l.Open(kBlock, kSlotA, kButtonA);
    EXPECT_EQ(l.OnCaptureKey(c.vk, c.data), c.taken) << c.what;
    EXPECT_EQ(l.ChosenKey(), c.chosen) << c.what;
    EXPECT_EQ(l.PendingType(), c.chosen ? AssignmentType::Key : AssignmentType::Default) << c.what;
    EXPECT_EQ(v.apply, c.chosen != 0) << c.what;
    EXPECT_EQ(v.key_field, c.chosen ? Narrow(keys::KeyName(c.chosen, texts)) : "") << c.what;
  }
}

TEST_F(CompositeDialog, HoldingAKeyChoosesItOnce) {
  logic.Open(kBlock, kSlotA, kButtonA);
  EXPECT_TRUE(logic.OnCaptureKey(kVkB, Press(0x30)));
  view.apply = false;
  for (int i = 0; i < 5; ++i) EXPECT_TRUE(logic.OnCaptureKey(kVkB, Press(0x30) | kRepeat));
  EXPECT_FALSE(view.apply) << "repeats change nothing";
  EXPECT_EQ(logic.ChosenKey(), 0x030);
}

TEST_F(CompositeDialog, LowLevelHookTakesTheWindowsAndAppKeys) {
  const struct {
    const char* what;
    std::uint32_t message;
    std::uint32_t vk;
    bool taken;
    keys::KeyCode chosen;
  } cases[] = {
      {"left Windows down", kMsgKeyDown, 0x5B, true, 0x15B},
      {"right Windows sys down", kMsgSysKeyDown, 0x5C, true, 0x15C},
      {"App down", kMsgKeyDown, 0x5D, true, 0x15D},
      {"left Windows up: taken only", kMsgKeyUp, 0x5B, true, 0},
      {"App sys up: taken only", kMsgSysKeyUp, 0x5D, true, 0},
      {"A passes", kMsgKeyDown, kVkA, false, 0},
      {"Sleep key 0x5F passes", kMsgKeyDown, 0x5F, false, 0},
      {"other message passes", 0x0102, 0x5B, false, 0},
  };
  for (const auto& c : cases) {
    FakeView v;
    CompositeDialogLogic l{v, macros, host, store, texts};
    l.Open(kBlock, kSlotA, kButtonA);
    EXPECT_EQ(l.OnLowLevelKey(c.message, c.vk), c.taken) << c.what;
    EXPECT_EQ(l.ChosenKey(), c.chosen) << c.what;
  }
}

TEST_F(CompositeDialog, ApplyStoresWhatTheTabsChose) {
  const struct {
    const char* what;
    KeyAssignment opened;
    std::vector<std::pair<std::uint32_t, std::uint32_t>> keys;  // vk, key data
    CompositeTab tab;  // clicked after the keys (single key: none)
    int media;
    int function;
    bool macros_empty;
    KeyAssignment stored;
  } cases[] = {
      {"B on A", {}, {{kVkB, Press(0x30)}}, CompositeTab::SingleKey, 0, 0, false, {AssignmentType::Key, 0, 0x030}},
      {"A on A: itself", {}, {{kVkA, Press(0x1E)}}, CompositeTab::SingleKey, 0, 0, false, {}},
      {"nothing pressed", {AssignmentType::Key, 0, 0x030}, {}, CompositeTab::SingleKey, 0, 0, false,
       {AssignmentType::Key, 0, 0x030}},
      {"media 5", {}, {}, CompositeTab::Media, 5, 0, false, {AssignmentType::Media, 0, 5}},
      {"function 2", {}, {}, CompositeTab::Function, 0, 2, false, {AssignmentType::Function, 0, 2}},
      {"macro", {}, {}, CompositeTab::Macro, 0, 0, false, {AssignmentType::Macro, 3, 7}},
      {"no macros", {}, {}, CompositeTab::Macro, 0, 0, true, {}},
      {"media out of range kept", {AssignmentType::Media, 0, 40}, {}, CompositeTab::Media, -1, 0, false,
       {AssignmentType::Media, 0, 40}},
  };
  for (const auto& c : cases) {
    FakeView v;
    FakeMacroTab m;
    FakeHost h;
    m.empty = c.macros_empty;
    CompositeDialogLogic l{v, m, h, store, texts};
    Put(kSlotA, c.opened);
    l.Open(kBlock, kSlotA, kButtonA);
    for (const auto& [vk, data] : c.keys) l.OnCaptureKey(vk, data);
    l.OnTabButton(c.tab);
    v.media = c.media;
    v.function = c.function;
    l.Apply();
    EXPECT_EQ(At(kSlotA), c.stored) << c.what;
    EXPECT_FALSE(v.apply) << c.what;
    const bool set = c.stored.type != AssignmentType::Default;
    EXPECT_EQ(h.calls, (std::vector<std::string>{set ? "show 1058 set" : "show 1058 plain", "main apply"}))
        << c.what;
    EXPECT_EQ(std::vector<std::string>(m.calls.end() - 2, m.calls.end()),
              (std::vector<std::string>{"end edit", "commit"}))
        << c.what;
  }
}

TEST_F(CompositeDialog, ApplyKeepsTheColourFlagAndGivesGKeysTheirCode) {
  {
    auto lock = store.Lock();
    store.Table().At(kBlock, kSlotCaps).colour_flag = 1;
  }
  logic.Open(kBlock, kSlotCaps, 1069);
  logic.OnCaptureKey(kVkB, Press(0x30));
  logic.Apply();
  EXPECT_EQ(At(kSlotCaps).colour_flag, 1u);

  const std::size_t g2 = keys::GRecordIndex(0, 1);
  logic.Open(kBlock, g2, 1001);
  logic.OnTabButton(CompositeTab::Function);
  view.function = 4;
  logic.Apply();
  EXPECT_EQ(At(g2), (KeyAssignment{AssignmentType::Function, keys::GKeyFieldCode(0, 1), 4}));
}

TEST_F(CompositeDialog, ApplyReleasesTheTextOfTheReplacedRecord) {
  Put(kSlotA, {AssignmentType::LaunchProgram, 0, 0}, u"calc.exe");
  logic.Open(kBlock, kSlotA, kButtonA);
  logic.OnCaptureKey(kVkB, Press(0x30));
  logic.Apply();
  auto lock = store.Lock();
  EXPECT_FALSE(store.strings.Has(kBlock * keys::kRecordsPerBlock + kSlotA));
}

TEST_F(CompositeDialog, OkOnATypeTheDialogCannotMakeKeepsTheRecordAndItsText) {
  Put(kSlotA, {AssignmentType::LaunchProgram, 0, 0}, u"calc.exe");
  logic.Open(kBlock, kSlotA, kButtonA);
  logic.Ok();
  EXPECT_EQ(At(kSlotA).type, AssignmentType::LaunchProgram);
  auto lock = store.Lock();
  EXPECT_EQ(store.strings.Text(kBlock * keys::kRecordsPerBlock + kSlotA), u"calc.exe");
  EXPECT_TRUE(host.calls.empty());
}

TEST_F(CompositeDialog, TabButtonsChangeTheTypeOnlyWhenItDiffers) {
  Put(kSlotA, {AssignmentType::Disabled, 0, 0});
  logic.Open(kBlock, kSlotA, kButtonA);
  EXPECT_EQ(view.installs, 1);
  logic.OnTabButton(CompositeTab::SingleKey);
  EXPECT_EQ(logic.PendingType(), AssignmentType::Key);
  EXPECT_EQ(view.installs, 1) << "no second pair of hooks";
  EXPECT_TRUE(view.apply);
  logic.Apply();
  EXPECT_EQ(At(kSlotA).type, AssignmentType::Default) << "no key chosen";

  logic.OnTabButton(CompositeTab::SingleKey);
  EXPECT_FALSE(view.apply) << "already the single-key type";
  logic.OnTabButton(CompositeTab::Media);
  EXPECT_EQ(view.tab, CompositeTab::Media);
  EXPECT_EQ(view.removals, 1);
  EXPECT_FALSE(logic.HooksInstalled());
  view.apply = false;
  logic.OnTabButton(CompositeTab::Media);
  EXPECT_FALSE(view.apply) << "already the media type";
  logic.OnTabButton(CompositeTab::SingleKey);
  EXPECT_EQ(view.installs, 2);
  EXPECT_TRUE(logic.HooksInstalled());
}

TEST_F(CompositeDialog, MacroTabPicksTheFirstMacroOnceWhenOpenedWithoutOne) {
  logic.Open(kBlock, kSlotA, kButtonA);
  logic.OnTabButton(CompositeTab::Macro);
  logic.OnTabButton(CompositeTab::Media);
  logic.OnTabButton(CompositeTab::Macro);
  EXPECT_EQ(macros.calls, (std::vector<std::string>{"fill", "select first"}));

  Put(kSlotCaps, {AssignmentType::Key, 0, 0x030});
  macros.calls.clear();
  store::WriteAssignment(store, kBlock, kSlotCaps, {AssignmentType::Media, 0, 9});
  logic.Open(kBlock, kSlotCaps, 1069);
  logic.OnTabButton(CompositeTab::Macro);
  EXPECT_EQ(macros.calls, (std::vector<std::string>{"fill"})) << "initial value 9 is not 0";
}

TEST_F(CompositeDialog, ClearTurnsAMacroIntoTheDefault) {
  Put(kSlotA, {AssignmentType::Macro, 1, 5});
  logic.Open(kBlock, kSlotA, kButtonA);
  view.key_field = "stale";
  logic.OnClear();
  EXPECT_EQ(view.tab, CompositeTab::SingleKey);
  EXPECT_EQ(view.key_field, "");
  EXPECT_EQ(logic.PendingType(), AssignmentType::Default);
  EXPECT_TRUE(view.apply);
  logic.Apply();
  EXPECT_EQ(At(kSlotA), KeyAssignment{});
}

TEST_F(CompositeDialog, CancelLeavesTheStoreAndEndsEverything) {
  Put(kSlotA, {AssignmentType::Key, 0, 0x030});
  logic.Open(kBlock, kSlotA, kButtonA);
  logic.OnCaptureKey(0x43, Press(0x2E));
  logic.OnTabButton(CompositeTab::Macro);
  macros.recording = true;
  logic.Close();
  EXPECT_EQ(At(kSlotA), (KeyAssignment{AssignmentType::Key, 0, 0x030}));
  EXPECT_EQ(macros.calls.back(), "discard");
  EXPECT_FALSE(macros.recording);
  EXPECT_FALSE(logic.HooksInstalled());
  EXPECT_EQ(view.installs, view.removals);
  EXPECT_TRUE(view.ended);
  EXPECT_FALSE(view.apply);
  EXPECT_TRUE(host.calls.empty());
  EXPECT_FALSE(logic.IsOpen());

  view.ended = false;
  logic.Close();
  EXPECT_FALSE(view.ended) << "a closed dialog closes once";
}

TEST_F(CompositeDialog, OkAppliesThenCloses) {
  logic.Open(kBlock, kSlotA, kButtonA);
  logic.OnCaptureKey(kVkB, Press(0x30));
  logic.Ok();
  EXPECT_EQ(At(kSlotA).type, AssignmentType::Key);
  EXPECT_TRUE(view.ended);
  EXPECT_FALSE(logic.HooksInstalled());
}

}  // namespace
}  // namespace vendrel::app
