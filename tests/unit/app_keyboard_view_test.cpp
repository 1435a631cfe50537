// The keyboard picture's clicks without a window: which record a click opens or marks, the
// colour-keys mode, the captions and the G bank they show, and the Flip setting with its arrows.
#include "app/keyboard_view_logic.h"

#include <gtest/gtest.h>

#include "app/g_bank_look.h"

#include <map>
#include <string>
#include <vector>

#include "keys/profile_key_table.h"
#include "store/assignment_model.h"
#include "support/name_texts.h"

namespace vendrel::app {
namespace {

using testing::Narrow;

using testing::NameTexts;

// Registry values by section and key; a write of "0" or "1" is what Flip stores.
class MapProfile final : public platform::IniProfile {
 public:
  std::map<std::pair<std::u16string, std::u16string>, std::u16string> values;

  std::uint32_t ReadString(const char16_t* section, const char16_t* key,
                           const char16_t* default_value, char16_t* buffer, std::uint32_t size,
                           const char16_t*) const override {
    std::u16string value = default_value ? default_value : u"";
    if (auto it = values.find({section, key}); it != values.end()) value = it->second;
    if (size == 0) return 0;
    const std::size_t n = std::min<std::size_t>(value.size(), size - 1);
    value.copy(buffer, n);
    buffer[n] = 0;
    return static_cast<std::uint32_t>(n);
  }
  int WriteString(const char16_t* section, const char16_t* key, const char16_t* value,
                  const char16_t*) override {
    values[{section, key}] = value;
    return 1;
  }
};

class Recorder final : public KeyboardViewView, public KeyboardViewServices {
 public:
  std::vector<std::string> calls;
  std::vector<KeyDialogRequest> dialogs;
  std::map<int, bool> enabled;
  std::map<FlipArrow, std::string> arrows;
  std::map<int, bool> marks;
  std::map<int, std::string> tooltips;
  std::map<int, std::string> labels;
  std::map<int, bool> flags;  // the colour-keys look each button was last given
  std::vector<skin::SlotSheets> indicator;
  store::WorkingStore store;
  int profile = 1;
  int bank = 0;
  NameTexts texts;
  texts::TextTable loaded_texts;
  MapProfile registry;

  void ForgetShown() {
    calls.clear();
    marks.clear();
    tooltips.clear();
    labels.clear();
    flags.clear();
    indicator.clear();
    enabled.clear();
  }

  void KeepKeyLit(int id, bool lit) override {
    calls.push_back((lit ? "lit " : "unlit ") + std::to_string(id));
  }
  void OpenKeyDialog(const KeyDialogRequest& r) override {
    dialogs.push_back(r);
    calls.push_back("dialog " + std::to_string(r.control_id));
  }
  void ShowColourFlag(int id, bool flag) override {
    calls.push_back("flag " + std::to_string(id) + (flag ? " on" : " off"));
    flags[id] = flag;
  }
  void ShowColourKeys(bool on) override { calls.push_back(on ? "colour keys" : "function keys"); }
  void SetColourKeysSwitchText(std::u16string_view t) override { calls.push_back("text " + Narrow(t)); }
  void EnableMainApply() override { calls.push_back("apply"); }
  void EnableKey(int id, bool on) override { enabled[id] = on; }
  void ShowArrow(FlipArrow arrow, std::u16string_view key) override { arrows[arrow] = Narrow(key); }
  void ShowKeyMark(int id, bool set) override { marks[id] = set; }
  void SetKeyTooltip(int id, std::u16string_view text) override { tooltips[id] = Narrow(text); }
  void SetGKeyLabel(int id, std::u16string_view label) override { labels[id] = Narrow(label); }
  void ShowBankIndicator(const skin::SlotSheets& sheets) override { indicator.push_back(sheets); }

  store::WorkingStore& Working() override { return store; }
  int ActiveProfile() override { return profile; }
  int GBank() const override { return bank; }
  const texts::TextSource& Texts() override { return texts; }
  const texts::TextTable& LoadedTexts() const override { return loaded_texts; }
  platform::IniProfile& RegistryProfile() override { return registry; }
};

constexpr int kButtonA = 1058;  // first key button, slot 0x1E
constexpr int kButtonG1 = 1000;
constexpr int kButtonG2 = 1001;
constexpr int kButtonG6 = 1140;
constexpr int kButtonG9 = 1143;
constexpr int kMacroEditButton = 1007;

class KeyboardView : public ::testing::Test {
 protected:
  void SetUp() override {
    auto lock = r.store.Lock();
    for (std::size_t b = 0; b < keys::kProfileBlockCount; ++b) ResetBlock(r.store.Table().Block(b));
  }
  std::uint32_t Flag(std::size_t block, std::size_t record) {
    auto lock = r.store.Lock();
    return r.store.Table().At(block, record).colour_flag;
  }

  Recorder r;
  KeyboardViewLogic logic{r, r};
};

TEST_F(KeyboardView, AClickOpensTheDialogOnTheRecordOfTheButton) {
  const struct {
    const char* what;
    int bank;
    int id;
    std::size_t slot;
    bool macro_edit;
  } cases[] = {
      {"key A: its slot", 0, kButtonA, 0x1E, false},
      {"Print Screen: folded slot", 0, 1091, 0xB7, false},
      {"G2 in bank 2", 1, kButtonG2, 266, false},
      {"G2 in bank 1", 0, kButtonG2, 257, false},
      {"G9 opens macro editing", 0, kButtonG9, 264, true},
      {"G9 of bank 2", 1, kButtonG9, 273, true},
  };
  for (const auto& c : cases) {
    r.bank = c.bank;
    r.dialogs.clear();
    r.calls.clear();
    logic.KeyClick(c.id);
    ASSERT_EQ(r.dialogs.size(), 1u) << c.what;
    EXPECT_EQ(r.dialogs[0], (KeyDialogRequest{1, c.slot, c.id, c.macro_edit})) << c.what;
    const std::string id = std::to_string(c.id);
    EXPECT_EQ(r.calls, (std::vector<std::string>{"lit " + id, "dialog " + id, "unlit " + id}))
        << c.what;
  }
}

TEST_F(KeyboardView, MacroEditButtonOpensG9OfTheActiveBankInMacroEditMode) {
  r.bank = 1;
  logic.OnMacroEditButton();
  ASSERT_EQ(r.dialogs.size(), 1u);
  EXPECT_EQ(r.dialogs[0], (KeyDialogRequest{1, 273, kButtonG9, true}));
}

TEST_F(KeyboardView, ButtonsWithoutAKeyAndAnUnknownProfileDoNothing) {
  for (int id : {1016, 1017, 1021, 1057, 1174, 1144, 999}) {
    logic.KeyClick(id);
    EXPECT_TRUE(r.calls.empty()) << id;
  }
  r.profile = -1;
  logic.KeyClick(kButtonA);
  logic.ToggleColourKeysMode();
  r.calls.clear();
  logic.KeyClick(kButtonA);
  EXPECT_TRUE(r.calls.empty());
  EXPECT_TRUE(r.dialogs.empty());
}

TEST_F(KeyboardView, ColourKeysModeTogglesTheFlagOfTheButtonsPlace) {
  EXPECT_FALSE(logic.ColourKeysMode());
  logic.ToggleColourKeysMode();
  ASSERT_TRUE(logic.ColourKeysMode());
  r.calls.clear();

  logic.KeyClick(kButtonA);
  EXPECT_EQ(Flag(1, 0), 1u) << "A is the first key button";
  EXPECT_EQ(Flag(1, 0x1E), 0u) << "not A's own slot";
  EXPECT_EQ(Flag(0, 0), 0u) << "only the current profile";
  EXPECT_EQ(r.calls, (std::vector<std::string>{"flag 1058 on", "apply"}));
  EXPECT_TRUE(r.dialogs.empty());

  logic.KeyClick(kButtonA);
  EXPECT_EQ(Flag(1, 0), 0u);

  r.bank = 1;
  logic.KeyClick(kButtonG2);
  EXPECT_EQ(Flag(1, 10), 1u) << "G2 of bank 2 is place 9 * 1 + 1";
  EXPECT_EQ(Flag(1, 266), 0u);
  logic.OnMacroEditButton();
  EXPECT_EQ(Flag(1, 17), 1u) << "the macro-edit button marks G9";
  EXPECT_TRUE(r.dialogs.empty());
}

TEST_F(KeyboardView, TheFlagToggleKeepsTheAssignment) {
  const keys::KeyAssignment b{keys::AssignmentType::Key, 0, 0x030};
  store::WriteAssignment(r.store, 1, 0, b);
  logic.ToggleColourKeysMode();
  logic.KeyClick(kButtonA);
  EXPECT_EQ(store::ReadAssignment(r.store, 1, 0).type, keys::AssignmentType::Key);
  EXPECT_EQ(store::ReadAssignment(r.store, 1, 0).parameter, 0x030u);
}

TEST_F(KeyboardView, TheSwitchTellsTheModeToComeAndTwoRoundsChangeNoFlag) {
  {
    auto lock = r.store.Lock();
    r.store.Table().At(1, 3).colour_flag = 1;
  }
  logic.ToggleColourKeysMode();
  logic.ToggleColourKeysMode();
  logic.ToggleColourKeysMode();
  logic.ToggleColourKeysMode();
  EXPECT_EQ(r.calls, (std::vector<std::string>{
                         "text <MAIN_SWITCH_COLOR_TEXT>", "colour keys",
                         "text <MAIN_SWITCH_FUNCTION_TEXT>", "function keys",
                         "text <MAIN_SWITCH_COLOR_TEXT>", "colour keys",
                         "text <MAIN_SWITCH_FUNCTION_TEXT>", "function keys"}));
  EXPECT_FALSE(logic.ColourKeysMode());
  for (std::size_t record = 0; record < keys::kRecordsPerBlock; ++record) {
    EXPECT_EQ(Flag(1, record), record == 3 ? 1u : 0u) << record;
  }
}

TEST(FlipArrowKeyTest, NamesTheArrowOfTheSettingSideAndPhase) {
  const struct {
    bool flip;
    FlipArrow arrow;
    bool over;
    const char* key;
  } cases[] = {
      {false, FlipArrow::Left, false, "DOWN_ARROW_LEFT1"},
      {false, FlipArrow::Right, true, "DOWN_ARROW_RIGHT2"},
      {true, FlipArrow::Left, true, "UP_ARROW_LEFT2"},
      {true, FlipArrow::Right, false, "UP_ARROW_RIGHT1"},
  };
  for (const auto& c : cases) EXPECT_EQ(Narrow(FlipArrowKey(c.flip, c.arrow, c.over)), c.key);
}

TEST_F(KeyboardView, FlipChoosesBetweenTheFKeysAndTheDKeysAndIsStored) {
  const std::pair<std::u16string, std::u16string> flip_key{u"PROFILES", u"Flip"};
  const struct {
    const char* what;
    const char16_t* stored;  // null: nothing stored
    bool flip;
  } cases[] = {{"missing reads 0", nullptr, false}, {"0", u"0", false}, {"1", u"1", true},
               {"other text reads 0", u"yes", false}};
  for (const auto& c : cases) {
    r.registry.values.clear();
    if (c.stored) r.registry.values[flip_key] = c.stored;
    logic.LoadFlip();
    EXPECT_EQ(logic.Flip(), c.flip) << c.what;
    for (int id : {1010, 1013}) EXPECT_EQ(r.enabled[id], !c.flip) << c.what << " F key " << id;
    for (int id : {1016, 1021}) EXPECT_EQ(r.enabled[id], c.flip) << c.what << " D key " << id;
    EXPECT_EQ(r.enabled.count(1014), 0u) << "F5 stays as it is";
    EXPECT_EQ(r.arrows[FlipArrow::Left], c.flip ? "UP_ARROW_LEFT1" : "DOWN_ARROW_LEFT1") << c.what;
  }

  r.registry.values.clear();
  logic.LoadFlip();
  logic.ToggleFlip();
  EXPECT_EQ(r.registry.values[flip_key], u"1");
  EXPECT_FALSE(r.enabled[1010]);
  EXPECT_TRUE(r.enabled[1016]);
  logic.ToggleFlip();
  EXPECT_EQ(r.registry.values[flip_key], u"0");
  EXPECT_TRUE(r.enabled[1010]);
  EXPECT_FALSE(r.enabled[1016]);
}

TEST_F(KeyboardView, EachArrowFollowsThePointerOverItsFlipButton) {
  logic.LoadFlip();
  logic.OnFlipButtonHover(1130, true);
  EXPECT_EQ(r.arrows[FlipArrow::Left], "DOWN_ARROW_LEFT2");
  EXPECT_EQ(r.arrows[FlipArrow::Right], "DOWN_ARROW_RIGHT1");
  logic.ToggleFlip();  // the pointer is still there
  EXPECT_EQ(r.arrows[FlipArrow::Left], "UP_ARROW_LEFT2");
  logic.OnFlipButtonHover(1130, false);
  logic.OnFlipButtonHover(1131, true);
  EXPECT_EQ(r.arrows[FlipArrow::Left], "UP_ARROW_LEFT1");
  EXPECT_EQ(r.arrows[FlipArrow::Right], "UP_ARROW_RIGHT2");
}

TEST(GBankLookTest, LabelsTheFirstFiveGKeysWithTheirBank) {
  const struct {
    int bank;
    std::size_t g;
    const char* label;
  } cases[] = {{0, 0, "A1"}, {0, 4, "A5"}, {1, 0, "B1"}, {1, 4, "B5"},
               {0, 5, ""},   {1, 8, ""},   {1, 9, ""},   {-1, 2, "A3"}};
  for (const auto& c : cases) {
    EXPECT_EQ(Narrow(GKeyBankLabel(c.bank, c.g)), c.label) << c.bank << " " << c.g;
  }
}

TEST(GBankLookTest, TheIndicatorLightsItsOrdinarySlotsInBankB) {
  using skin::MainSheet;
  EXPECT_EQ(BankIndicatorSheets(1), (skin::SlotSheets{MainSheet::Over, MainSheet::Over,
                                                      MainSheet::Over, MainSheet::Over,
                                                      MainSheet::Normal}));
  EXPECT_EQ(BankIndicatorSheets(0), (skin::SlotSheets{MainSheet::Normal, MainSheet::Normal,
                                                      MainSheet::Normal, MainSheet::Normal,
                                                      MainSheet::Over}));
}

// Profile 2 (block 1) holds G1 of bank A, G2 of bank B and key A; profile 1 holds nothing.
class KeyboardCaptions : public KeyboardView {
 protected:
  void SetUp() override {
    KeyboardView::SetUp();
    const keys::KeyAssignment key_b{keys::AssignmentType::Key, 0, 0x030};
    store::WriteAssignment(r.store, 1, keys::GRecordIndex(0, 0), key_b);
    store::WriteAssignment(r.store, 1, keys::GRecordIndex(1, 1), key_b);
    store::WriteAssignment(r.store, 1, 0x1E, key_b);
  }
  static constexpr std::size_t kButtons = keys::kKeyButtonCount + keys::kGKeyControlIds.size();
};

TEST_F(KeyboardCaptions, ABankChangeShowsTheNewBanksGMarksAndLabelsOnly) {
  using skin::MainSheet;
  const struct {
    const char* what;
    int bank;
    bool g1_set;
    bool g2_set;
    const char* g1_label;
    const char* g2_label;
    MainSheet indicator_normal;
  } cases[] = {
      {"to bank B", 1, false, true, "B1", "B2", MainSheet::Over},
      {"back to bank A", 0, true, false, "A1", "A2", MainSheet::Normal},
  };
  for (const auto& c : cases) {
    r.ForgetShown();
    r.bank = c.bank;
    logic.OnBankChanged();
    EXPECT_EQ(r.marks.size(), keys::kGKeyControlIds.size()) << c.what << ": G buttons only";
    EXPECT_EQ(r.marks.count(kButtonA), 0u) << c.what;
    EXPECT_EQ(r.marks[kButtonG1], c.g1_set) << c.what;
    EXPECT_EQ(r.marks[kButtonG2], c.g2_set) << c.what;
    EXPECT_EQ(r.labels.size(), keys::kGKeyControlIds.size()) << c.what;
    EXPECT_EQ(r.labels[kButtonG1], c.g1_label) << c.what;
    EXPECT_EQ(r.labels[kButtonG2], c.g2_label) << c.what;
    EXPECT_EQ(r.labels[kButtonG6], "") << c.what;
    EXPECT_EQ(r.labels[kButtonG9], "") << c.what;
    EXPECT_TRUE(r.tooltips.empty()) << c.what << ": tooltips are not rebuilt";
    EXPECT_TRUE(r.calls.empty()) << c.what << ": no colour look outside the mode";
    ASSERT_EQ(r.indicator.size(), 1u) << c.what;
    EXPECT_EQ(r.indicator[0][0], c.indicator_normal) << c.what;
  }
}

TEST_F(KeyboardCaptions, InColourKeysModeABankChangeShowsTheFlagsOfTheNewBanksPlaces) {
  {
    auto lock = r.store.Lock();
    r.store.Table().At(1, keys::kGKeyCount * 1 + 0).colour_flag = 1;  // G1's place in bank B
  }
  logic.ToggleColourKeysMode();
  for (int bank : {1, 0}) {
    r.ForgetShown();
    r.bank = bank;
    logic.OnBankChanged();
    EXPECT_EQ(r.flags.size(), keys::kGKeyControlIds.size()) << bank;
    EXPECT_EQ(r.flags[kButtonG1], bank == 1) << bank;
    EXPECT_FALSE(r.flags[kButtonG2]) << bank;
    EXPECT_EQ(r.flags.count(kButtonA), 0u) << bank << ": key buttons keep their look";
  }
}

TEST_F(KeyboardCaptions, ARefreshShowsEveryMarkAndTooltipOfTheActiveProfileAndBank) {
  const struct {
    const char* what;
    int profile;
    int bank;
    bool a_set;
    bool g1_set;
    bool g2_set;
    const char* g2_tooltip;
  } cases[] = {
      {"profile 2, bank B", 1, 1, true, false, true, "G2Keys, Set: Key(B)"},
      {"profile 2, bank A", 1, 0, true, true, false, "G2"},
      {"profile 1", 0, 1, false, false, false, "G2"},
  };
  for (const auto& c : cases) {
    r.ForgetShown();
    r.profile = c.profile;
    r.bank = c.bank;
    logic.RefreshCaptions();
    EXPECT_EQ(r.marks.size(), kButtons) << c.what;
    EXPECT_EQ(r.tooltips.size(), kButtons) << c.what;
    EXPECT_EQ(r.marks[kButtonA], c.a_set) << c.what;
    EXPECT_EQ(r.marks[kButtonG1], c.g1_set) << c.what;
    EXPECT_EQ(r.marks[kButtonG2], c.g2_set) << c.what;
    EXPECT_EQ(r.tooltips[kButtonG2], c.g2_tooltip) << c.what;
    EXPECT_TRUE(r.flags.empty()) << c.what;
    EXPECT_TRUE(r.enabled[1010]) << c.what << ": Flip applied after the marks";
    EXPECT_FALSE(r.enabled[1016]) << c.what;
  }

  {
    auto lock = r.store.Lock();
    r.store.Table().At(1, 0).colour_flag = 1;
  }
  logic.ToggleColourKeysMode();
  r.ForgetShown();
  r.profile = 1;
  logic.RefreshCaptions();
  EXPECT_EQ(r.flags.size(), kButtons) << "every button keeps the colour-keys look";
  EXPECT_TRUE(r.flags[kButtonA]);
  EXPECT_FALSE(r.flags[kButtonG1]);
}

TEST_F(KeyboardCaptions, AnAppliedAssignmentMarksItsButtonForTheBankShownNow) {
  const struct {
    const char* what;
    int bank;  // the bank when the dialog applies
    bool g1_set;
  } cases[] = {
      {"same bank", 0, true},
      {"bank switched while the dialog was open", 1, false},
  };
  for (const auto& c : cases) {
    r.ForgetShown();
    r.bank = c.bank;
    logic.OnAssignmentApplied(kButtonG1);
    EXPECT_EQ(r.marks, (std::map<int, bool>{{kButtonG1, c.g1_set}})) << c.what;
    EXPECT_EQ(r.tooltips.size(), kButtons) << c.what << ": every tooltip renewed";
    EXPECT_EQ(r.tooltips[kButtonA], "AKeys, Set: Key(B)") << c.what;
    EXPECT_EQ(r.tooltips[kButtonG1], c.g1_set ? "G1Keys, Set: Key(B)" : "G1") << c.what;
    EXPECT_TRUE(r.labels.empty()) << c.what;
  }
  r.ForgetShown();
  logic.RefreshTooltips();
  EXPECT_TRUE(r.marks.empty());
  EXPECT_EQ(r.tooltips.size(), kButtons);
}

}  // namespace
}  // namespace vendrel::app
