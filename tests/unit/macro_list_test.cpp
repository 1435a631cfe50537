#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "store/key_store.h"
#include "macros/macro_list.h"
#include "app/store_messages.h"
#include "store/macro_commit.h"
#include "support/recording_message_boxes.h"

namespace vendrel::macros {
namespace {

using namespace vendrel::store;

using keys::AssignmentType;
using keys::KeyAssignment;

MacroRecord Macro(MacroId id, std::uint16_t new_flag = 0, std::u16string name = u"m") {
  MacroRecord m;
  m.id = id;
  m.new_flag = new_flag;
  m.name = std::move(name);
  return m;
}

KeyAssignment MacroKey(std::uint32_t id) {
  KeyAssignment a;
  a.type = AssignmentType::Macro;
  a.parameter = id;
  return a;
}

struct RepairCase {
  const char* name;
  std::vector<MacroRecord> edited;
  KeyAssignment before;
  KeyAssignment after;
  bool changed;
};

class RepairTest : public ::testing::TestWithParam<RepairCase> {};

TEST_P(RepairTest, RepairsOneRecord) {
  const RepairCase& c = GetParam();
  std::vector<KeyAssignment> records{c.before};
  EXPECT_EQ(RepairMacroAssignments(records, c.edited), c.changed);
  EXPECT_EQ(records[0], c.after);
}

KeyAssignment Typed(AssignmentType t, std::uint32_t parameter) {
  KeyAssignment a;
  a.type = t;
  a.parameter = parameter;
  return a;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RepairTest,
    ::testing::Values(
        RepairCase{"KeptWhenIdStillListed", {Macro(1), Macro(3)}, MacroKey(3), MacroKey(3), false},
        RepairCase{"DefaultWhenIdDeleted", {Macro(1)}, MacroKey(2), Typed(AssignmentType::Default, 2),
                   true},
        RepairCase{"DefaultWhenIdReusedByNewMacro", {Macro(1), Macro(2, 1)}, MacroKey(2),
                   Typed(AssignmentType::Default, 2), true},
        RepairCase{"ZeroTakesFirstMacroId", {Macro(7), Macro(2)}, MacroKey(0), MacroKey(7), true},
        RepairCase{"ZeroStaysWithEmptyList", {}, MacroKey(0), MacroKey(0), false},
        RepairCase{"NonZeroWithEmptyListFallsBack", {}, MacroKey(5),
                   Typed(AssignmentType::Default, 5), true},
        RepairCase{"OtherTypesUntouched", {}, Typed(AssignmentType::Media, 4),
                   Typed(AssignmentType::Media, 4), false},
        // The caption and the key map encoder read the id from the low 16 bits; so does the repair.
        RepairCase{"IdIsTheLow16BitsOfTheParameter", {Macro(2)}, MacroKey(0x10002),
                   MacroKey(0x10002), false},
        RepairCase{"HighBitsAloneAreNoId", {Macro(7)}, MacroKey(0x30000), MacroKey(7), true},
        RepairCase{"FirstMatchDecidesAmongDuplicates", {Macro(4), Macro(4, 1)}, MacroKey(4),
                   MacroKey(4), false}),
    [](const auto& info) { return std::string(info.param.name); });

class CommitTest : public ::testing::Test {
 protected:
  store::WorkingStore store;
};

TEST_F(CommitTest, RepairsAllFourBlocksAndInstallsList) {
  {
    auto lock = store.Lock();
    store.Table().At(0, 0x1E) = MacroKey(2);
    store.Table().At(3, 0x1E) = MacroKey(2);
    store.Table().At(1, keys::GRecordIndex(1, 8)) = MacroKey(1);
    store.Table().At(2, 0x10) = MacroKey(0);
    store.macros = {Macro(1), Macro(2)};
  }
  // Macro 2 deleted, a new macro takes its freed id.
  std::vector<MacroRecord> edited{Macro(1), Macro(2, 1, u"fresh")};
  const MacroCommit r = CommitMacroList(store, edited);
  EXPECT_TRUE(r.committed);
  EXPECT_TRUE(r.assignments_changed);
  auto lock = store.Lock();
  EXPECT_EQ(store.Table().At(0, 0x1E).type, AssignmentType::Default);
  EXPECT_EQ(store.Table().At(3, 0x1E).type, AssignmentType::Default);
  EXPECT_EQ(store.Table().At(1, keys::GRecordIndex(1, 8)), MacroKey(1));
  EXPECT_EQ(store.Table().At(2, 0x10), MacroKey(1));
  ASSERT_EQ(store.macros.size(), 2u);
  EXPECT_EQ(store.macros[1].name, u"fresh");
  EXPECT_EQ(store.macros[1].new_flag, 0);
  // The dialog's copies see the flag cleared, so a second Apply keeps the new macro's keys.
  EXPECT_EQ(edited[1].new_flag, 0);
}

TEST_F(CommitTest, SecondCommitKeepsKeysOfNowCommittedMacro) {
  std::vector<MacroRecord> edited{Macro(1, 1)};
  CommitMacroList(store, edited);
  {
    auto lock = store.Lock();
    store.Table().At(0, 0x20) = MacroKey(1);
  }
  const MacroCommit r = CommitMacroList(store, edited);
  EXPECT_FALSE(r.assignments_changed);
  auto lock = store.Lock();
  EXPECT_EQ(store.Table().At(0, 0x20), MacroKey(1));
}

TEST_F(CommitTest, EmptyListClearsMacrosAndEveryNonZeroAssignment) {
  {
    auto lock = store.Lock();
    for (std::size_t b = 0; b < keys::kProfileBlockCount; ++b) store.Table().At(b, 5) = MacroKey(3);
    store.Table().At(0, 6) = MacroKey(0);
    store.macros = {Macro(3)};
  }
  std::vector<MacroRecord> edited;
  const MacroCommit r = CommitMacroList(store, edited);
  EXPECT_TRUE(r.committed);
  auto lock = store.Lock();
  EXPECT_TRUE(store.macros.empty());
  for (std::size_t b = 0; b < keys::kProfileBlockCount; ++b) {
    EXPECT_EQ(store.Table().At(b, 5).type, AssignmentType::Default) << "block " << b;
  }
  EXPECT_EQ(store.Table().At(0, 6), MacroKey(0));
}

TEST_F(CommitTest, RenameAndDeletingAnotherMacroKeepKeys) {
  {
    auto lock = store.Lock();
    store.Table().At(0, 0x30) = MacroKey(2);
    store.macros = {Macro(1), Macro(2, 0, u"old")};
  }
  std::vector<MacroRecord> edited{Macro(2, 0, u"renamed")};
  CommitMacroList(store, edited);
  auto lock = store.Lock();
  EXPECT_EQ(store.Table().At(0, 0x30), MacroKey(2));
  EXPECT_EQ(MacroPositionOf(store, 2), 0u);
  EXPECT_EQ(store.macros[0].name, u"renamed");
}

TEST_F(CommitTest, OverlongNameIsCutToTheRecordField) {
  std::vector<MacroRecord> edited{Macro(1, 0, std::u16string(259, u'x'))};
  CommitMacroList(store, edited);
  auto lock = store.Lock();
  EXPECT_EQ(store.macros[0].name, std::u16string(kMaxNameLength, u'x'));
}

TEST(MacroIdentity, NextFreeIdIsLowestUnused) {
  struct Case {
    std::vector<MacroId> ids;
    MacroId expected;
  };
  const std::vector<Case> cases{
      {{}, 1}, {{1, 2, 3}, 4}, {{2, 3}, 1}, {{1, 3}, 2}, {{5, 1, 4, 2}, 3}};
  for (const Case& c : cases) {
    std::vector<MacroRecord> list;
    for (MacroId id : c.ids) list.push_back(Macro(id));
    EXPECT_EQ(NextFreeMacroId(list), c.expected);
  }
  std::vector<MacroRecord> full;
  for (MacroId id = 1; id <= kMaxMacros; ++id) full.push_back(Macro(id));
  EXPECT_EQ(NextFreeMacroId(full), 0);
}

TEST(MacroIdentity, ReadersByPositionAndId) {
  store::WorkingStore store;
  {
    auto lock = store.Lock();
    store.macros = {Macro(4), Macro(9), Macro(4)};
  }
  struct IdAt {
    int position;
    MacroId expected;
  };
  for (const IdAt& c : {IdAt{0, 4}, IdAt{1, 9}, IdAt{2, 4}, IdAt{3, 0}, IdAt{-1, 0}}) {
    EXPECT_EQ(MacroIdAt(store, c.position), c.expected) << c.position;
  }
  struct PositionOf {
    MacroId id;
    std::size_t expected;
  };
  for (const PositionOf& c : {PositionOf{4, 0}, PositionOf{9, 1}, PositionOf{55, 0}}) {
    EXPECT_EQ(MacroPositionOf(store, c.id), c.expected) << c.id;
  }
  EXPECT_EQ(MacroCount(store), 3u);
  MacroRecord out;
  EXPECT_TRUE(MacroAt(store, 1, out));
  EXPECT_EQ(out.id, 9);
  EXPECT_FALSE(MacroAt(store, 3, out));
}

TEST(MacroLimits, HundredthMacroIsTheLast) {
  texts::TextTable texts;
  struct Case {
    std::size_t count;
    bool allowed;
  };
  for (const Case& c : {Case{0, true}, Case{99, true}, Case{100, false}, Case{250, false}}) {
    testing::RecordingMessageBoxes boxes;
    const bool allowed = MayAddMacro(c.count);
    if (!allowed) app::TellMacroLimit(boxes, texts);
    EXPECT_EQ(allowed, c.allowed) << c.count;
    if (c.allowed) {
      EXPECT_TRUE(boxes.shown.empty());
    } else {
      ASSERT_EQ(boxes.shown.size(), 1u);
      EXPECT_EQ(boxes.shown[0], u"The maximum number of macro: 100   ");
    }
  }
}

TEST(MacroLimits, ActionsBeyondTwoThousandAreDroppedAndKindsNormalised) {
  MacroRecord m;
  EXPECT_TRUE(AppendAction(m, {10, 0x1E, static_cast<ActionKind>(9)}));
  EXPECT_TRUE(AppendAction(m, {10, 0x1E, ActionKind::Release}));
  EXPECT_EQ(m.actions[0].kind, ActionKind::Press);
  EXPECT_EQ(m.actions[1].kind, ActionKind::Release);
  m.actions.resize(kMaxActions - 1);
  EXPECT_TRUE(AppendAction(m, {0, 0x1F, ActionKind::Press}));
  EXPECT_FALSE(AppendAction(m, {0, 0x20, ActionKind::Press}));
  EXPECT_EQ(m.actions.size(), kMaxActions);
  EXPECT_EQ(m.actions.back().key, 0x1F);
}

}  // namespace
}  // namespace vendrel::macros
