#include "app/macro_editor.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/decimal_text.h"
#include "keys/key_table.h"
#include "support/fake_sleeper.h"
#include "support/memory_ini_profile.h"
#include "support/recording_macro_editor_view.h"

namespace vendrel::app {
namespace {

using keys::AssignmentType;
using keys::KeyAssignment;
using macros::ActionKind;
using macros::MacroAction;
using macros::MacroRecord;
using testing::RecordingMacroEditorView;

constexpr keys::KeyCode kA = 0x01E;
constexpr keys::KeyCode kB = 0x030;
constexpr keys::KeyCode kC = 0x02E;
constexpr keys::KeyCode kD = 0x020;
constexpr keys::KeyCode kE = 0x012;

MacroRecord Macro(macros::MacroId id, std::u16string name, std::vector<MacroAction> actions = {},
                  std::uint8_t cycles = 1) {
  MacroRecord m;
  m.id = id;
  m.name = std::move(name);
  m.cycles = cycles;
  m.actions = std::move(actions);
  return m;
}

std::vector<std::u16string> Names(std::span<const MacroRecord> records) {
  std::vector<std::u16string> names;
  for (const MacroRecord& m : records) names.push_back(m.name);
  return names;
}

class MacroEditorTest : public ::testing::Test {
 protected:
  // Puts macros into the store and opens the tab on the first of them.
  void Open(std::vector<MacroRecord> macros) {
    {
      auto lock = store.Lock();
      store.macros = std::move(macros);
    }
    editor.Fill();
    editor.SelectForOpening(0);
    view.apply_enabled = false;
  }
  // Every row the view shows matches the editor's action at that row.
  void ExpectViewMatchesRows() {
    const auto& actions = editor.Rows().Actions();
    ASSERT_EQ(view.rows.size(), actions.size());
    for (std::size_t i = 0; i < actions.size(); ++i) {
      EXPECT_EQ(view.rows[i].key, keys::KeyName(actions[i].key, texts)) << i;
      EXPECT_EQ(view.rows[i].kind, ActionRows::KindLabel(actions[i].kind)) << i;
      EXPECT_EQ(view.rows[i].delay, std::u16string(DecimalText(actions[i].delay))) << i;
    }
    EXPECT_EQ(view.row_selected, editor.Rows().Selected());
  }

  store::WorkingStore store;
  texts::TextTable texts;
  testing::FakeSleeper sleeper;
  testing::MemoryIniProfile profile;
  RecordingMacroEditorView view;
  MacroEditor editor{store, view, texts, sleeper, profile, u""};
};

// Opening.

TEST_F(MacroEditorTest, FillCopiesEveryMacroWithTheNewFlagClearedAndSelectsNothing) {
  MacroRecord fresh = Macro(4, u"Fresh");
  fresh.new_flag = 1;
  {
    auto lock = store.Lock();
    store.macros = {Macro(2, u"One", {{10, kA, ActionKind::Press}}), fresh};
  }
  editor.Fill();
  EXPECT_EQ(view.box, (std::vector<std::u16string>{u"One", u"Fresh"}));
  EXPECT_EQ(editor.Current(), -1);
  EXPECT_EQ(editor.CurrentMacroId(), 0);
  EXPECT_EQ(editor.Cycles(), 0);
  EXPECT_FALSE(view.action_controls_enabled);
  ASSERT_EQ(editor.Records().size(), 2u);
  EXPECT_EQ(editor.Records()[1].new_flag, 0);
  EXPECT_FALSE(view.apply_enabled);
}

TEST_F(MacroEditorTest, OpeningSelectsTheMacroOfTheInitialValueOrTheFirst) {
  struct Case {
    std::uint32_t initial;
    int current;
  };
  const Case cases[] = {{7, 1}, {3, 0}, {0, 0}, {99, 0}};
  for (const Case& c : cases) {
    RecordingMacroEditorView v;
    MacroEditor e{store, v, texts, sleeper, profile, u""};
    {
      auto lock = store.Lock();
      store.macros = {Macro(3, u"Three", {}, 9), Macro(7, u"Seven", {{0, kB, ActionKind::Release}}, 4)};
    }
    e.Fill();
    e.SelectForOpening(c.initial);
    EXPECT_EQ(e.Current(), c.current) << c.initial;
    EXPECT_EQ(v.box_selected, c.current) << c.initial;
    EXPECT_EQ(v.cycles_text, c.current == 1 ? u"4" : u"9") << c.initial;
    EXPECT_EQ(v.rows.size(), c.current == 1 ? 1u : 0u) << c.initial;
    EXPECT_TRUE(v.action_controls_enabled) << c.initial;
  }
}

TEST_F(MacroEditorTest, LoadShowsStoredOddValuesTheWayTheListKeepsThem) {
  // A settings file may carry cycles 0 and kinds other than press and release.
  Open({Macro(1, u"Odd", {{30, kA, static_cast<ActionKind>(7)}, {0, kA, ActionKind::Release}}, 0)});
  EXPECT_EQ(view.cycles_text, u"1");
  EXPECT_EQ(editor.Cycles(), 1);
  EXPECT_EQ(editor.Rows().Actions()[0].kind, ActionKind::Press);
  EXPECT_TRUE(view.grey);
  ExpectViewMatchesRows();
}

TEST_F(MacroEditorTest, SelectingAnotherMacroSavesTheEditsOfThePreviousOne) {
  Open({Macro(1, u"One", {{10, kA, ActionKind::Press}}), Macro(2, u"Two")});
  editor.OnCyclesTextChanged(u"12");
  editor.OnRowSelected(0);
  editor.DeleteAction();
  editor.OnBoxSelectionChanged(1);
  EXPECT_EQ(editor.Records()[0].cycles, 12);
  EXPECT_TRUE(editor.Records()[0].actions.empty());
  EXPECT_EQ(editor.CurrentMacroId(), 2);
  editor.SelectFirstSavingCurrent();
  EXPECT_EQ(editor.Current(), 0);
  EXPECT_EQ(view.cycles_text, u"12");
}

// Adding.

TEST_F(MacroEditorTest, AddingNamesWithTheCounterSkippingNamesThatAnEntryBeginsWith) {
  struct Case {
    const char* what;
    std::vector<std::u16string> existing;
    int adds;
    std::vector<std::u16string> added;
    std::size_t pauses;
  };
  const Case cases[] = {
      {"empty box", {}, 3, {u"Macro1", u"Macro2", u"Macro3"}, 0},
      {"Macro10 blocks Macro1", {u"Macro10"}, 1, {u"Macro2"}, 1},
      {"letter case ignored", {u"MACRO1", u"macro2 old"}, 1, {u"Macro3"}, 2},
      {"only the start counts", {u"Old Macro1"}, 1, {u"Macro1"}, 0},
  };
  for (const Case& c : cases) {
    RecordingMacroEditorView v;
    testing::FakeSleeper s;
    MacroEditor e{store, v, texts, s, profile, u""};
    std::vector<MacroRecord> macros;
    for (std::size_t i = 0; i < c.existing.size(); ++i) {
      macros.push_back(Macro(static_cast<macros::MacroId>(i + 1), c.existing[i]));
    }
    {
      auto lock = store.Lock();
      store.macros = macros;
    }
    e.Fill();
    for (int i = 0; i < c.adds; ++i) e.AddMacro();
    const auto names = Names(e.Records());
    EXPECT_EQ(std::vector<std::u16string>(names.begin() + static_cast<std::ptrdiff_t>(c.existing.size()),
                                          names.end()),
              c.added)
        << c.what;
    EXPECT_EQ(v.box, names) << c.what;
    EXPECT_EQ(s.Sleeps(), std::vector<std::chrono::milliseconds>(c.pauses, kNameRetryPause)) << c.what;
  }
}

TEST_F(MacroEditorTest, AddedMacroIsNewTakesTheLowestFreeIdAndBecomesCurrent) {
  Open({Macro(1, u"One", {{10, kA, ActionKind::Press}}, 5), Macro(3, u"Three")});
  editor.OnCyclesTextChanged(u"8");
  editor.AddMacro();
  const MacroRecord& added = editor.Records().back();
  EXPECT_EQ(added.id, 2);
  EXPECT_EQ(added.new_flag, 1);
  EXPECT_EQ(added.cycles, 1);
  EXPECT_EQ(added.repeat_mode, 0);
  EXPECT_TRUE(added.actions.empty());
  EXPECT_EQ(editor.Current(), 2);
  EXPECT_EQ(view.box_selected, 2);
  EXPECT_TRUE(view.rows.empty());
  EXPECT_EQ(view.cycles_text, u"1");
  EXPECT_TRUE(view.apply_enabled);
  EXPECT_EQ(editor.Records()[0].cycles, 8);  // the previous macro was saved first
}

TEST_F(MacroEditorTest, TheHundredAndFirstMacroIsRefusedWithTheLimit) {
  std::vector<MacroRecord> full;
  for (macros::MacroId id = 1; id <= 100; ++id) full.push_back(Macro(id, u"M" + DecimalText(id)));
  Open(full);
  editor.AddMacro();
  EXPECT_EQ(editor.Records().size(), 100u);
  EXPECT_EQ(view.shown, std::vector<std::u16string>{u"The maximum number of macro: 100   "});
  EXPECT_FALSE(view.apply_enabled);
}

// Deleting.

TEST_F(MacroEditorTest, DeletingMakesTheEntryBeforeCurrentOrTheFirst) {
  struct Case {
    int deleted;
    std::vector<std::u16string> left;
    std::u16string current;
  };
  const Case cases[] = {
      {0, {u"Two", u"Three"}, u"Two"},
      {1, {u"One", u"Three"}, u"One"},
      {2, {u"One", u"Two"}, u"Two"},
  };
  for (const Case& c : cases) {
    RecordingMacroEditorView v;
    MacroEditor e{store, v, texts, sleeper, profile, u""};
    {
      auto lock = store.Lock();
      store.macros = {Macro(1, u"One", {{0, kA, ActionKind::Press}}), Macro(2, u"Two", {}, 2),
                      Macro(3, u"Three", {{0, kC, ActionKind::Press}, {0, kC, ActionKind::Release}})};
    }
    e.Fill();
    e.SelectForOpening(static_cast<std::uint32_t>(c.deleted + 1));
    e.DeleteMacro();
    EXPECT_EQ(Names(e.Records()), c.left) << c.deleted;
    EXPECT_EQ(v.box, c.left) << c.deleted;
    const MacroRecord& now = e.Records()[static_cast<std::size_t>(e.Current())];
    EXPECT_EQ(now.name, c.current) << c.deleted;
    EXPECT_EQ(v.box_selected, e.Current()) << c.deleted;
    EXPECT_EQ(v.rows.size(), now.actions.size()) << c.deleted;
    EXPECT_EQ(v.cycles_text, DecimalText(now.cycles)) << c.deleted;
    EXPECT_TRUE(v.apply_enabled) << c.deleted;
  }
}

TEST_F(MacroEditorTest, DeletingTheLastMacroLeavesNothingCurrent) {
  Open({Macro(1, u"Only", {{0, kA, ActionKind::Press}})});
  editor.DeleteMacro();
  EXPECT_TRUE(editor.Empty());
  EXPECT_EQ(editor.Current(), -1);
  EXPECT_TRUE(view.box.empty());
  EXPECT_TRUE(view.rows.empty());
  EXPECT_FALSE(view.action_controls_enabled);
  EXPECT_EQ(editor.CurrentMacroId(), 0);
}

TEST_F(MacroEditorTest, DeletingAMacroThatKeysUseAsksFirstWhereverTheKeyIs) {
  struct Case {
    const char* what;
    std::size_t block;  // 4: no key uses the macro
    std::uint16_t new_flag;
    bool answer_yes;
    bool asked;
    bool deleted;
  };
  const Case cases[] = {
      {"no key uses it", 4, 0, false, false, true},
      {"profile 1 key, No", 0, 0, false, true, false},
      {"profile 1 key, Yes", 0, 0, true, true, true},
      {"profile 3 key, No", 2, 0, false, true, false},
      {"file-only block, No", 3, 0, false, true, false},
      {"new macro is not asked about", 1, 1, false, false, true},
  };
  for (const Case& c : cases) {
    RecordingMacroEditorView v;
    v.answer_yes = c.answer_yes;
    MacroEditor e{store, v, texts, sleeper, profile, u""};
    MacroRecord target = Macro(1, u"Used");
    {
      auto lock = store.Lock();
      store.Table() = {};
      // Another macro's key and a non-macro key holding the same number must not count.
      store.Table().At(0, 0x10) = KeyAssignment{AssignmentType::Macro, 0, 6, 0, 0};
      store.Table().At(1, 0x11) = KeyAssignment{AssignmentType::Key, 0, 1, 0, 0};
      if (c.block < 4) store.Table().At(c.block, 0x1E) = KeyAssignment{AssignmentType::Macro, 0, 1, 0, 0};
      store.macros = {Macro(6, u"Other"), target};
    }
    e.Fill();
    e.SelectForOpening(1);
    if (c.new_flag != 0) {
      // A macro created in this editing with the id of one deleted earlier.
      v.answer_yes = true;
      e.DeleteMacro();
      e.AddMacro();
      ASSERT_EQ(e.CurrentMacroId(), 1) << c.what;
      v.asked.clear();
      v.answer_yes = c.answer_yes;
    }
    e.DeleteMacro();
    EXPECT_EQ(v.asked.size(), c.asked ? 1u : 0u) << c.what;
    if (c.asked) EXPECT_EQ(v.asked[0], texts.Text(texts::TextKey::MACRO_DELETE_CONFIRM_OF_KEYS)) << c.what;
    EXPECT_EQ(e.Records().size(), c.deleted ? 1u : 2u) << c.what;
  }
}

// Typing a name.

TEST_F(MacroEditorTest, TypingIntoTheEmptyBoxCreatesMacroOne) {
  Open({});
  editor.OnBoxTextChanged(u"Combo");
  ASSERT_EQ(editor.Records().size(), 1u);
  const MacroRecord& m = editor.Records()[0];
  EXPECT_EQ(m.name, u"Combo");
  EXPECT_EQ(m.id, 1);
  EXPECT_EQ(m.cycles, 1);
  EXPECT_EQ(m.new_flag, 1);
  EXPECT_EQ(editor.Current(), 0);
  EXPECT_EQ(view.box, std::vector<std::u16string>{u"Combo"});
  EXPECT_TRUE(view.action_controls_enabled);
  EXPECT_TRUE(view.apply_enabled);
}

TEST_F(MacroEditorTest, TypingRenamesTheCurrentMacroKeepingItsRecord) {
  Open({Macro(4, u"One", {{20, kA, ActionKind::Press}}), Macro(9, u"Two")});
  editor.OnBoxSelectionChanged(1);
  editor.OnBoxTextChanged(u"One");  // the same name as another macro is accepted
  EXPECT_EQ(Names(editor.Records()), (std::vector<std::u16string>{u"One", u"One"}));
  EXPECT_EQ(view.box, (std::vector<std::u16string>{u"One", u"One"}));
  EXPECT_EQ(editor.Records()[1].id, 9);
  EXPECT_TRUE(view.apply_enabled);

  const std::u16string long_name(300, u'x');
  editor.OnBoxTextChanged(long_name);
  EXPECT_EQ(editor.Records()[1].name, long_name.substr(0, macros::kMaxNameLength));
}

// Like the Win32 controls, this view reports the editor's own changes of the box and the cycles
// field back to the editor, while the editor is still making them.
class EchoingView final : public RecordingMacroEditorView {
 public:
  void SelectBoxEntry(int position) override {
    RecordingMacroEditorView::SelectBoxEntry(position);
    ++echoes;
    if (editor) editor->OnBoxSelectionChanged(position == 0 ? 1 : 0);
  }
  void ReplaceBoxEntry(int position, std::u16string_view name) override {
    RecordingMacroEditorView::ReplaceBoxEntry(position, name);
    ++echoes;
    if (editor) editor->OnBoxTextChanged(u"echo");
  }
  void SetCyclesText(std::u16string_view text) override {
    RecordingMacroEditorView::SetCyclesText(text);
    ++echoes;
    if (editor) editor->OnCyclesTextChanged(u"77");
  }
  MacroEditor* editor = nullptr;
  int echoes = 0;
};

TEST_F(MacroEditorTest, TheTabsOwnChangesOfBoxAndCyclesAreNotTakenForTheUsers) {
  EchoingView echo;
  MacroEditor e{store, echo, texts, sleeper, profile, u""};
  echo.editor = &e;
  {
    auto lock = store.Lock();
    store.macros = {Macro(1, u"One", {}, 3), Macro(2, u"Two", {}, 4)};
  }
  e.Fill();
  e.SelectForOpening(2);
  EXPECT_EQ(e.Current(), 1);
  EXPECT_EQ(e.Cycles(), 4);
  EXPECT_EQ(echo.cycles_text, u"4");
  EXPECT_FALSE(echo.apply_enabled);

  e.OnBoxTextChanged(u"Typed");
  EXPECT_EQ(e.Records()[1].name, u"Typed");
  e.OnCyclesTextChanged(u"0");  // the write-back of 1 is not read again as the user's
  EXPECT_EQ(e.Cycles(), 1);
  EXPECT_EQ(echo.cycles_text, u"1");
  EXPECT_GT(echo.echoes, 0);
}

// The cycles field.

TEST_F(MacroEditorTest, CyclesAreClampedAndWrittenBack) {
  struct Case {
    std::u16string typed;
    std::uint16_t cycles;
    bool written_back;
  };
  const Case cases[] = {
      {u"0", 1, true},    {u"", 1, true},      {u"300", 255, true}, {u"abc", 1, true},
      {u"17", 17, false}, {u"255", 255, false}, {u"1", 1, false},    {u"99999999999", 255, true},
  };
  Open({Macro(1, u"One", {}, 3)});
  for (const Case& c : cases) {
    const int writes = view.cycles_writes;
    view.apply_enabled = false;
    editor.OnCyclesTextChanged(c.typed);
    EXPECT_EQ(editor.Cycles(), c.cycles) << std::string(c.typed.begin(), c.typed.end());
    EXPECT_EQ(view.cycles_writes - writes, c.written_back ? 1 : 0);
    if (c.written_back) EXPECT_EQ(view.cycles_text, DecimalText(c.cycles));
    EXPECT_TRUE(view.apply_enabled);
  }
  editor.SaveAndCommit();
  auto lock = store.Lock();
  EXPECT_EQ(store.macros[0].cycles, std::end(cases)[-1].cycles);
}

// Cell editing.

TEST_F(MacroEditorTest, DelayEditRoundsDownToTenAndCapsAtTheMaximumWithAMessage) {
  struct Case {
    std::u16string typed;
    std::uint32_t delay;
    bool message;
  };
  const Case cases[] = {
      {u"12345", 12340, false}, {u"40000", 40000, false}, {u"40001", 40000, true},
      {u"99999999999", 40000, true}, {u"", 0, false}, {u"7", 0, false}, {u"39999", 39990, false},
  };
  Open({Macro(1, u"One", {{100, kA, ActionKind::Press}, {0, kA, ActionKind::Release}})});
  for (const Case& c : cases) {
    const std::string what(c.typed.begin(), c.typed.end());
    view.shown.clear();
    view.apply_enabled = false;
    editor.OnRowSelected(0);
    editor.BeginCellEdit(0, kDelayColumn);
    ASSERT_EQ(view.editor, RecordingMacroEditorView::Editor::Delay) << what;
    view.delay_text = c.typed;
    editor.EndCellEdit();
    EXPECT_EQ(view.editor, RecordingMacroEditorView::Editor::None) << what;
    EXPECT_EQ(editor.Rows().Actions()[0].delay, c.delay) << what;
    EXPECT_EQ(view.rows[0].delay, DecimalText(c.delay)) << what;
    EXPECT_EQ(view.shown, c.message ? std::vector<std::u16string>{u"Maximum delay time is: 40000(ms) "}
                                    : std::vector<std::u16string>{})
        << what;
    EXPECT_TRUE(view.apply_enabled) << what;
  }
}

TEST_F(MacroEditorTest, DelayEditStopsRecordingFirst) {
  Open({Macro(1, u"One", {{100, kA, ActionKind::Press}})});
  editor.OnRecordClicked(1000);
  ASSERT_TRUE(editor.Recording());
  editor.BeginCellEdit(0, kDelayColumn);
  EXPECT_FALSE(editor.Recording());
  EXPECT_FALSE(view.hooks_installed);
  EXPECT_EQ(view.delay_text, u"100");
}

TEST_F(MacroEditorTest, KeyPickerOffersTheKeyListAndRightShiftGivesItsPlainCode) {
  Open({Macro(1, u"One", {{10, kA, ActionKind::Press}})});
  editor.BeginCellEdit(0, kKeyColumn);
  ASSERT_EQ(view.editor, RecordingMacroEditorView::Editor::Key);
  ASSERT_EQ(view.picker.size(), keys::kKeyListSize);
  EXPECT_EQ(view.picker[0x67], u"Right hand Shift");
  EXPECT_EQ(view.picker_selected, keys::ListCodeOf(kA));

  editor.OnKeyChosen(keys::ListCodeOf(kA));  // the same key changes nothing
  EXPECT_FALSE(view.apply_enabled);
  EXPECT_EQ(view.editor, RecordingMacroEditorView::Editor::None);

  editor.BeginCellEdit(0, kKeyColumn);
  editor.OnKeyChosen(0x67);
  EXPECT_EQ(editor.Rows().Actions()[0].key, 0x036);
  EXPECT_EQ(view.rows[0].key, u"Right hand Shift");
  EXPECT_TRUE(view.apply_enabled);

  editor.OnKeyChosen(0);  // no picker open any more
  EXPECT_EQ(editor.Rows().Actions()[0].key, 0x036);
}

TEST_F(MacroEditorTest, KindPickerSwitchesBetweenPressAndRelease) {
  Open({Macro(1, u"One", {{10, kA, ActionKind::Press}})});
  editor.BeginCellEdit(0, kKindColumn);
  ASSERT_EQ(view.editor, RecordingMacroEditorView::Editor::Kind);
  EXPECT_EQ(view.picker, (std::vector<std::u16string>{u"\u2193", u"  \u2191"}));
  EXPECT_EQ(view.picker_selected, 0);
  editor.OnKindChosen(1);
  EXPECT_EQ(editor.Rows().Actions()[0].kind, ActionKind::Release);
  EXPECT_EQ(view.rows[0].kind, u"  \u2191");
  EXPECT_TRUE(view.apply_enabled);
}

TEST_F(MacroEditorTest, OtherColumnsAndMissingRowsAreNotEditable) {
  Open({Macro(1, u"One", {{10, kA, ActionKind::Press}})});
  editor.BeginCellEdit(0, 3);
  EXPECT_EQ(view.shown, std::vector<std::u16string>{u"You can not edit, use the macro record button. "});
  EXPECT_EQ(view.editor, RecordingMacroEditorView::Editor::None);
  editor.BeginCellEdit(5, kKeyColumn);
  editor.BeginCellEdit(-1, kDelayColumn);
  EXPECT_EQ(view.editor, RecordingMacroEditorView::Editor::None);
  EXPECT_FALSE(view.apply_enabled);
}

// Row operations.

TEST_F(MacroEditorTest, MovingARowTakesItsDelayWithIt) {
  const std::vector<MacroAction> five = {{10, kA, ActionKind::Press}, {20, kB, ActionKind::Press},
                                         {30, kC, ActionKind::Press}, {40, kD, ActionKind::Press},
                                         {50, kE, ActionKind::Press}};
  struct Case {
    const char* what;
    void (MacroEditor::*move)();
    int selected;
    std::vector<keys::KeyCode> order;
    int now_selected;
    bool changed;
  };
  const Case cases[] = {
      {"top", &MacroEditor::MoveToTop, 2, {kC, kA, kB, kD, kE}, 0, true},
      {"up", &MacroEditor::MoveUp, 2, {kA, kC, kB, kD, kE}, 1, true},
      {"down", &MacroEditor::MoveDown, 2, {kA, kB, kD, kC, kE}, 3, true},
      {"bottom", &MacroEditor::MoveToBottom, 2, {kA, kB, kD, kE, kC}, 4, true},
      {"up at the top", &MacroEditor::MoveUp, 0, {kA, kB, kC, kD, kE}, 0, false},
      {"top at the top", &MacroEditor::MoveToTop, 0, {kA, kB, kC, kD, kE}, 0, false},
      {"down at the bottom", &MacroEditor::MoveDown, 4, {kA, kB, kC, kD, kE}, 4, false},
      {"nothing selected", &MacroEditor::MoveToBottom, -1, {kA, kB, kC, kD, kE}, -1, false},
  };
  for (const Case& c : cases) {
    Open({Macro(1, u"Five", five)});
    editor.OnRowSelected(c.selected);
    view.row_selected = c.selected;
    (editor.*c.move)();
    std::vector<keys::KeyCode> order;
    for (const MacroAction& a : editor.Rows().Actions()) {
      order.push_back(a.key);
      // Each key kept its own delay: A 10, B 20, ...
      const auto original = std::find_if(five.begin(), five.end(), [&a](const MacroAction& f) { return f.key == a.key; });
      EXPECT_EQ(a.delay, original->delay) << c.what;
    }
    EXPECT_EQ(order, c.order) << c.what;
    EXPECT_EQ(editor.Rows().Selected(), c.now_selected) << c.what;
    EXPECT_EQ(view.apply_enabled, c.changed) << c.what;
    if (c.changed) EXPECT_EQ(view.visible_row, c.now_selected) << c.what;
    ExpectViewMatchesRows();
  }
}

TEST_F(MacroEditorTest, DeleteActionRemovesOnlyTheSelectedRow) {
  Open({Macro(1, u"One", {{10, kA, ActionKind::Press}, {20, kB, ActionKind::Press}})});
  editor.DeleteAction();
  EXPECT_EQ(editor.Rows().Size(), 2u);
  EXPECT_FALSE(view.apply_enabled);
  editor.OnRowSelected(1);
  editor.DeleteAction();
  ASSERT_EQ(editor.Rows().Size(), 1u);
  EXPECT_EQ(editor.Rows().Actions()[0].key, kA);
  EXPECT_TRUE(view.apply_enabled);
  ExpectViewMatchesRows();
}

TEST_F(MacroEditorTest, ClearActionsAsksAndClearsOnlyOnYes) {
  for (const bool yes : {false, true}) {
    Open({Macro(1, u"One", {{10, kA, ActionKind::Press}, {20, kB, ActionKind::Press}})});
    view.asked.clear();
    view.answer_yes = yes;
    editor.ClearActions();
    EXPECT_EQ(view.asked, std::vector<std::u16string>{u"Really need to clear the macro action? "});
    EXPECT_EQ(editor.Rows().Size(), yes ? 0u : 2u);
    EXPECT_EQ(view.rows.size(), yes ? 0u : 2u);
    EXPECT_EQ(view.apply_enabled, yes);
  }
  view.asked.clear();
  editor.ClearActions();  // the list is empty now: nothing to ask
  EXPECT_TRUE(view.asked.empty());
}

// Apply and Cancel.

TEST_F(MacroEditorTest, SaveAndCommitStoresTheEditedListAndRepairsKeys) {
  {
    auto lock = store.Lock();
    store.Table().At(2, 0x20) = KeyAssignment{AssignmentType::Macro, 0, 2, 0, 0};  // uses "Two"
    store.Table().At(0, 0x21) = KeyAssignment{AssignmentType::Macro, 0, 1, 0, 0};  // uses "One"
  }
  view.answer_yes = true;
  Open({Macro(1, u"One", {{10, kA, ActionKind::Press}}), Macro(2, u"Two")});
  editor.OnBoxTextChanged(u"Renamed");
  editor.OnCyclesTextChanged(u"6");
  editor.OnBoxSelectionChanged(1);
  editor.DeleteMacro();  // the key of profile 3 loses it
  editor.AddMacro();     // takes id 2 again, and must not inherit that key
  editor.SaveAndCommit();

  auto lock = store.Lock();
  ASSERT_EQ(store.macros.size(), 2u);
  EXPECT_EQ(store.macros[0].name, u"Renamed");
  EXPECT_EQ(store.macros[0].cycles, 6);
  EXPECT_EQ(store.macros[1].id, 2);
  EXPECT_EQ(store.macros[1].new_flag, 0);
  EXPECT_EQ(editor.Records()[1].new_flag, 0);
  EXPECT_EQ(store.Table().At(2, 0x20).type, AssignmentType::Default);
  EXPECT_EQ(store.Table().At(0, 0x21).type, AssignmentType::Macro);
  EXPECT_EQ(view.assignments_changed, 1);
}

TEST_F(MacroEditorTest, DiscardLeavesTheWorkingStoreAsItWas) {
  {
    auto lock = store.Lock();
    store.Table().At(1, 0x30) = KeyAssignment{AssignmentType::Macro, 0, 1, 0, 0};
  }
  Open({Macro(1, u"One", {{10, kA, ActionKind::Press}}), Macro(2, u"Two")});
  macros::MacroList before_macros;
  keys::ProfileKeyTable before_table;
  {
    auto lock = store.Lock();
    before_macros = store.macros;
    before_table = store.Table();
  }
  view.answer_yes = true;
  editor.OnBoxTextChanged(u"Changed");
  editor.OnCyclesTextChanged(u"9");
  editor.DeleteMacro();
  editor.AddMacro();
  editor.OnRecordClicked(0);
  editor.Discard();

  EXPECT_TRUE(editor.Empty());
  EXPECT_FALSE(editor.Recording());
  EXPECT_FALSE(view.hooks_installed);
  auto lock = store.Lock();
  EXPECT_EQ(store.macros, before_macros);
  EXPECT_TRUE(store.Table() == before_table);
  EXPECT_EQ(view.assignments_changed, 0);
}

}  // namespace
}  // namespace vendrel::app
