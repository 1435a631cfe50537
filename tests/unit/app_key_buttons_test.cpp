// The main window's key and G buttons without a window: where each is placed from the skin and
// what each shows for the store's assignments.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>

#include "app/key_button_states.h"
#include "app/main_window_controls.h"
#include "store/assignment_model.h"
#include "keys/key_table.h"
#include "keys/profile_key_table.h"

namespace vendrel::app {
namespace {

using keys::AssignmentType;
using keys::KeyAssignment;

std::map<int, std::u16string> PlacementsById() {
  std::map<int, std::u16string> by_id;
  for (const KeyButtonPlacement& p : KeyButtonPlacements()) {
    EXPECT_TRUE(by_id.emplace(p.id, p.skin_key).second) << "placed twice: " << p.id;
  }
  return by_id;
}

TEST(KeyButtonPlacementTest, EachButtonTakesItsSkinKey) {
  const std::map<int, std::u16string> by_id = PlacementsById();
  const struct {
    int id;
    std::u16string_view skin_key;
  } cases[] = {
      {1058, u"KEY_01E"},   // A
      {1046, u"KEY_012"},   // E
      {1016, u"KEY_NONE"},  // D1..D6 carry no key
      {1021, u"KEY_NONE"},
      {1057, u"KEY_NONE"},
      {1000, u"FUNC_G1"},
      {1004, u"FUNC_G5"},
      {1140, u"FUNC_G6"},
      {1143, u"FUNC_G9"},
  };
  for (const auto& c : cases) {
    ASSERT_EQ(by_id.count(c.id), 1u) << c.id;
    EXPECT_EQ(by_id.at(c.id), c.skin_key) << c.id;
  }
}

TEST(KeyButtonPlacementTest, AbsentKeysAreExactlyTheKeyRangeIdsWithoutAKey) {
  std::set<int> with_key;
  for (const keys::KeyButton& k : keys::KeyButtonTable()) with_key.insert(k.control_id);
  std::set<int> absent;
  for (const KeyButtonPlacement& p : KeyButtonPlacements()) {
    if (p.skin_key == kAbsentKeySkinKey) absent.insert(p.id);
  }
  std::set<int> expected;
  for (int id = kFirstKeyButtonId; id <= kLastKeyButtonId; ++id) {
    if (!with_key.count(id)) expected.insert(id);
  }
  EXPECT_EQ(absent, expected);
  EXPECT_EQ(absent, (std::set<int>{1016, 1017, 1018, 1019, 1020, 1021, 1057}));
  EXPECT_EQ(KeyButtonPlacements().size(),
            keys::kKeyButtonCount + expected.size() + keys::kGKeyControlIds.size());
}

class KeyButtonStatesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    auto lock = store.Lock();
    for (std::size_t b = 0; b < keys::kProfileBlockCount; ++b) ResetBlock(store.Table().Block(b));
  }
  // The state of one button among all the states.
  static KeyButtonState Of(const std::vector<KeyButtonState>& states, int id) {
    const auto it = std::find_if(states.begin(), states.end(),
                                 [id](const KeyButtonState& s) { return s.control_id == id; });
    EXPECT_NE(it, states.end()) << id;
    return it == states.end() ? KeyButtonState{} : *it;
  }

  store::WorkingStore store;
  texts::TextTable texts;
};

constexpr int kButtonA = 1058;    // key A, slot 0x1E
constexpr int kButtonG1 = 1000;
constexpr int kButtonG9 = 1143;

TEST_F(KeyButtonStatesTest, OneStatePerKeyAndGButtonInOrder) {
  const std::vector<KeyButtonState> states = KeyButtonStates(store, 0, 0, texts);
  ASSERT_EQ(states.size(), keys::kKeyButtonCount + keys::kGKeyControlIds.size());
  EXPECT_EQ(states.front().control_id, keys::KeyButtonTable()[0].control_id);
  EXPECT_EQ(states[keys::kKeyButtonCount].control_id, kButtonG1);
  EXPECT_EQ(states.back().control_id, kButtonG9);
  for (const KeyButtonState& s : states) {
    EXPECT_FALSE(s.set) << s.control_id;
    EXPECT_FALSE(s.colour_flag) << s.control_id;
    EXPECT_FALSE(s.tooltip.empty()) << s.control_id;
  }
}

TEST_F(KeyButtonStatesTest, StatesFollowTheActiveProfileAndBank) {
  // Each place gets a different assignment, so a button reading the wrong record shows it.
  const KeyAssignment key_b{AssignmentType::Key, 0, 0x030};  // B
  store::WriteAssignment(store, 1, 0x1E, key_b);
  store::WriteAssignment(store, 0, 0x1E, {AssignmentType::Disabled, 0, 0});
  store::WriteAssignment(store, 2, keys::GRecordIndex(1, 8), key_b);
  store::WriteAssignment(store, 2, keys::GRecordIndex(0, 8), {AssignmentType::Disabled, 0, 0});
  {
    auto lock = store.Lock();
    // Flags belong to places: A is the first key button, G1 of bank 2 the tenth G place.
    store.Table().At(1, 0).colour_flag = 1;
    store.Table().At(1, 0x1E).colour_flag = 0;
    store.Table().At(2, keys::kGKeyCount * 1 + 0).colour_flag = 1;
  }
  const struct {
    const char* what;
    int profile;
    int bank;
    int id;
    bool set;
    std::u16string tooltip;
    bool colour;
  } cases[] = {
      {"profile 2's A", 1, 0, kButtonA, true, u"AKeys, Set: Key(B)", true},
      {"profile 1's A", 0, 0, kButtonA, true, u"AKeys, Set: ", false},
      {"no keyboard reads block 0", -1, 0, kButtonA, true, u"AKeys, Set: ", false},
      {"unknown profile reads block 0", 7, 0, kButtonA, true, u"AKeys, Set: ", false},
      {"third profile's A untouched", 2, 0, kButtonA, false, u"A", false},
      {"G9 in bank 2", 2, 1, kButtonG9, true, u"G9Keys, Set: Key(B)", false},
      {"G9 in bank 1", 2, 0, kButtonG9, true, u"G9Keys, Set: ", false},
      {"bad bank reads bank 1", 2, 5, kButtonG9, true, u"G9Keys, Set: ", false},
      {"negative bank reads bank 1", 2, -1, kButtonG9, true, u"G9Keys, Set: ", false},
      {"G1 colour flag in bank 2", 2, 1, kButtonG1, false, u"G1", true},
      {"G1 in bank 1", 2, 0, kButtonG1, false, u"G1", false},
  };
  for (const auto& c : cases) {
    const KeyButtonState s = Of(KeyButtonStates(store, c.profile, c.bank, texts), c.id);
    EXPECT_EQ(s.set, c.set) << c.what;
    EXPECT_EQ(s.tooltip, c.tooltip) << c.what;
    EXPECT_EQ(s.colour_flag, c.colour) << c.what;
  }
}

TEST_F(KeyButtonStatesTest, TooltipsUseTheGivenTexts) {
  store::WriteAssignment(store, 0, 0x1E, {AssignmentType::Function, 0, 3});
  texts.Set(texts::TextKey::KEY_PROMPT_SET, u" = ");
  texts.Set(texts::TextKey::KEY_PROMPT_FUNCTION, u"Fn[");
  texts.Set(texts::TextKey::FUNC_KEY_DESC4, u"Sichern");
  EXPECT_EQ(Of(KeyButtonStates(store, 0, 0, texts), kButtonA).tooltip, u"A = Fn[Sichern)");
}

}  // namespace
}  // namespace vendrel::app
