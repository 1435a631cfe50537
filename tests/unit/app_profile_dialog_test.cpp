// The profile dialog's logic against the keyboard model behind the fake library, real settings
// files in a temporary documents folder, and the registry profile in memory.
#include <gtest/gtest.h>

#include <deque>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "app/profile_dialog_logic.h"
#include "device/command_set.h"
#include "platform/documents_folder.h"
#include "platform/file_system.h"
#include "store/key_store.h"
#include "store/settings_files.h"
#include "support/device_rig.h"
#include "support/memory_ini_profile.h"
#include "support/temp_folder.h"
#include "texts/text_table.h"

namespace vendrel::app {
namespace {

using testing::DeviceRig;
using testing::MemoryIniProfile;
using testing::TempFolder;

class BuiltInTexts final : public texts::TextSource {
 public:
  std::u16string Text(texts::TextKey key) const override { return table.Text(key); }
  std::u16string Text(texts::LiveTextKey key) const override {
    return std::u16string(texts::LiveTextKeyName(key));
  }
  texts::TextTable table;
};

// The list as a person sees it: rows, their check boxes and marks, the selection.
class ListView final : public ProfileDialogView {
 public:
  struct Row {
    ProfileRow row;
    bool check_box = true;
    bool checked = false;
  };

  void ClearRows() override { rows.clear(); }
  void AppendRow(const ProfileRow& row, bool offer_check) override {
    rows.push_back({row, offer_check, false});
  }
  void RemoveRow(int row) override {
    rows.erase(rows.begin() + row);
    selected = -1;  // as the list control drops the selection with its row
  }
  void SetChecked(int row, bool checked) override { rows.at(static_cast<std::size_t>(row)).checked = checked; }
  int SelectedRow() const override { return selected; }
  void SelectRow(int row) override { selected = row; }
  void EnableApply(bool enabled) override { apply_enabled = enabled; }
  void ShowMessage(std::u16string_view text) override { messages.emplace_back(text); }
  void EndDialog() override { ended = true; }

  std::vector<int> CheckedRows() const {
    std::vector<int> marked;
    for (std::size_t i = 0; i < rows.size(); ++i) {
      if (rows[i].checked) marked.push_back(static_cast<int>(i));
    }
    return marked;
  }
  std::vector<ProfileRow> Shown() const {
    std::vector<ProfileRow> shown;
    for (const Row& r : rows) shown.push_back(r.row);
    return shown;
  }

  std::vector<Row> rows;
  int selected = -1;
  bool apply_enabled = true;  // the template's state, until the logic decides
  std::vector<std::u16string> messages;
  bool ended = false;
};

class ScriptedFileDialogs final : public platform::FileDialogs {
 public:
  std::optional<std::u16string> Choose(const platform::FileDialogRequest& request) override {
    requests.push_back(request);
    if (answers.empty()) return std::nullopt;
    std::optional<std::u16string> answer = answers.front();
    answers.pop_front();
    return answer;
  }
  std::deque<std::optional<std::u16string>> answers;
  std::vector<platform::FileDialogRequest> requests;
};

// The main window's side: the keyboard through the command set, the settings files for real.
class RigHost final : public ProfileDialogHost {
 public:
  RigHost(DeviceRig& rig, store::SettingsFiles& files) : rig_(rig), files_(files) {}

  int ActiveProfile() override { return known ? rig_.commands.GetActiveProfile() : -1; }
  std::u16string CacheFilePath() override { return files_.CacheFilePath(); }
  std::u16string UserFolder() override {
    files_.EnsureUserFolder();
    return files_.UserFolder();
  }
  bool CreateDefaultSettingsFile(const std::u16string& path) override {
    return files_.CreateDefaultSettings(path, false);
  }
  void SetActiveProfile(int profile) override {
    calls.push_back("set " + std::to_string(profile));
    rig_.commands.SetActiveProfile(profile);
  }
  void RefreshCache() override { calls.push_back("refresh"); }
  void RebuildProfileMenu() override { calls.push_back("menu"); }
  void DisableMainApply() override { calls.push_back("main-apply-off"); }

  bool known = true;
  std::vector<std::string> calls;

 private:
  DeviceRig& rig_;
  store::SettingsFiles& files_;
};

class ProfileDialog : public ::testing::Test {
 protected:
  ProfileDialog()
      : documents(folder.U16()),
        files(store, platform::PortableFileSystem(), documents, texts.table),
        host(rig, files),
        logic(view, host, dialogs, registry, texts) {}

  void SetKeyboardProfile(int profile) {
    const auto p = static_cast<std::uint8_t>(profile);
    rig.library.WithModel([&](sim::KeyboardModel& m) {
      return m.WriteArea(sim::Area::Info, device::kInfoOffActiveProfile, std::span(&p, 1));
    });
    rig.commands.ForgetActiveProfile();
  }
  int KeyboardProfile() {
    return rig.library.WithModel([](sim::KeyboardModel& m) {
      return static_cast<int>(m.AreaBytes(sim::Area::Info)[device::kInfoOffActiveProfile]);
    });
  }
  std::optional<std::u16string> Stored(int index) const {
    const auto found = registry.values.find({kProfileListSection, ProfileListKey(index)});
    if (found == registry.values.end()) return std::nullopt;
    return found->second;
  }
  // Adds a default settings file named name through the save dialog.
  void AddFile(const std::string& name) {
    dialogs.answers.push_back(folder.File(name + ".fwc"));
    logic.OnAdd();
  }
  ProfileRow CacheRow() { return ProfileRowOfPath(files.CacheFilePath()); }

  TempFolder folder;
  platform::FixedDocumentsFolder documents;
  store::WorkingStore store;
  BuiltInTexts texts;
  store::SettingsFiles files;
  DeviceRig rig;
  ListView view;
  ScriptedFileDialogs dialogs;
  MemoryIniProfile registry;
  RigHost host;
  ProfileDialogLogic logic;
};

// ---- paths and keys ---------------------------------------------------------------------------

struct RowCase {
  std::u16string path;
  ProfileRow row;
};

class ProfileRowOfPathTest : public ::testing::TestWithParam<RowCase> {};

TEST_P(ProfileRowOfPathTest, SplitsNameAndFolder) {
  EXPECT_EQ(ProfileRowOfPath(GetParam().path), GetParam().row);
}

INSTANTIATE_TEST_SUITE_P(
    Paths, ProfileRowOfPathTest,
    ::testing::Values(RowCase{u"C:\\Docs\\RX73P05D\\$Profile0", {u"$Profile0", u"C:\\Docs\\RX73P05D\\"}},
                      RowCase{u"C:\\a\\game.v2.fwc", {u"game.v2", u"C:\\a\\"}},
                      RowCase{u"/home/u/mixed\\name.fwc", {u"name", u"/home/u/mixed\\"}},
                      RowCase{u"C:name.fwc", {u"name", u"C:"}},
                      RowCase{u"plain", {u"plain", u""}},
                      RowCase{u"C:\\a\\.fwc", {u".fwc", u"C:\\a\\"}},
                      RowCase{u"C:\\folder\\", {u"", u"C:\\folder\\"}},
                      RowCase{u"", {u"", u""}}));

TEST(ProfileListKeys, TwoDigitsAtLeastAndTheStoredPathEndsInTheFileType) {
  EXPECT_EQ(ProfileListKey(0), u"PROFILE00");
  EXPECT_EQ(ProfileListKey(7), u"PROFILE07");
  EXPECT_EQ(ProfileListKey(42), u"PROFILE42");
  EXPECT_EQ(ProfileListKey(123), u"PROFILE123");
  EXPECT_EQ(StoredPathOfRow({u"game", u"D:\\x\\"}), u"D:\\x\\game.fwc");
}

// ---- opening ------------------------------------------------------------------------------------

class ProfileDialogOpen : public ProfileDialog, public ::testing::WithParamInterface<int> {};

TEST_P(ProfileDialogOpen, ShowsTheCacheFileOncePerProfileWithTheActiveOneChecked) {
  SetKeyboardProfile(GetParam());
  logic.Open();
  const ProfileRow cache = CacheRow();
  EXPECT_EQ(cache.name, u"$Profile0");
  EXPECT_EQ(view.Shown(), (std::vector<ProfileRow>{cache, cache, cache}));
  EXPECT_EQ(view.CheckedRows(), std::vector<int>{GetParam()});
  EXPECT_EQ(logic.CheckedRow(), GetParam());
  EXPECT_FALSE(view.apply_enabled);
  EXPECT_TRUE(logic.IsOpen());
  EXPECT_FALSE(logic.HasUnappliedChanges());
}

INSTANTIATE_TEST_SUITE_P(EachProfile, ProfileDialogOpen, ::testing::Values(0, 1, 2));

TEST_F(ProfileDialog, AnUnknownActiveProfileChecksNoRow) {
  host.known = false;
  logic.Open();
  EXPECT_EQ(view.rows.size(), 3u);
  EXPECT_TRUE(view.CheckedRows().empty());
  EXPECT_EQ(logic.CheckedRow(), -1);
}

TEST_F(ProfileDialog, ReopeningStartsFromTheThreeProfilesAgain) {
  logic.Open();
  AddFile("extra");
  logic.Cancel();
  logic.Open();
  EXPECT_EQ(view.Shown(), (std::vector<ProfileRow>{CacheRow(), CacheRow(), CacheRow()}));
  EXPECT_EQ(logic.Rows(), view.Shown());
}

// ---- Add and Load -------------------------------------------------------------------------------

TEST_F(ProfileDialog, AddWritesAValidDefaultFileAndListsIt) {
  logic.Open();
  const std::u16string path = folder.File("racing.fwc");
  dialogs.answers.push_back(path);
  logic.OnAdd();

  ASSERT_EQ(dialogs.requests.size(), 1u);
  const platform::FileDialogRequest& asked = dialogs.requests[0];
  EXPECT_TRUE(asked.save);
  EXPECT_TRUE(asked.overwrite_prompt);
  EXPECT_EQ(asked.filter, u"(*.fwc)|*.fwc|(*.*)|*.*||");
  EXPECT_EQ(asked.default_extension, u"fwc");
  EXPECT_EQ(asked.proposed, files.UserFolder() + u"\\The new contextual  mode");

  EXPECT_EQ(files.ValidateSettingsFile(path), store::SettingsFileCheck::Valid);
  ASSERT_EQ(view.rows.size(), 4u);
  EXPECT_EQ(view.rows[3].row, ProfileRowOfPath(path));
  EXPECT_EQ(view.rows[3].row.name, u"racing");
  EXPECT_TRUE(view.apply_enabled);
  EXPECT_TRUE(logic.HasUnappliedChanges());
}

TEST_F(ProfileDialog, AFileThatCannotBeWrittenAddsNoRowAndSaysSo) {
  logic.Open();
  dialogs.answers.push_back(folder.File("no-such-folder/racing.fwc"));
  logic.OnAdd();
  EXPECT_EQ(view.rows.size(), 3u);
  EXPECT_EQ(logic.Rows().size(), 3u);
  EXPECT_EQ(view.messages,
            std::vector<std::u16string>{texts.Text(texts::TextKey::EXTRA_PROFILE_FILE_NOT_CREATED)});
  EXPECT_FALSE(view.apply_enabled);
}

TEST_F(ProfileDialog, LoadListsTheChosenFileWithoutReadingIt) {
  logic.Open();
  const std::u16string path = u"Z:\\nowhere\\borrowed.dat";
  dialogs.answers.push_back(path);
  logic.OnLoad();

  ASSERT_EQ(dialogs.requests.size(), 1u);
  const platform::FileDialogRequest& asked = dialogs.requests[0];
  EXPECT_FALSE(asked.save);
  EXPECT_EQ(asked.filter, u"(*.fwc)|*.fwc|(*.*)|*.*||");
  EXPECT_EQ(asked.default_extension, u"fwc");
  EXPECT_EQ(asked.proposed, files.UserFolder() + u"\\*.fwc");
  ASSERT_EQ(view.rows.size(), 4u);
  EXPECT_EQ(view.rows[3].row, (ProfileRow{u"borrowed", u"Z:\\nowhere\\"}));
  EXPECT_TRUE(view.apply_enabled);
}

TEST_F(ProfileDialog, CancelledFileDialogsChangeNothing) {
  logic.Open();
  logic.OnAdd();
  logic.OnLoad();
  dialogs.answers.push_back(u"");
  logic.OnLoad();
  EXPECT_EQ(dialogs.requests.size(), 3u);
  EXPECT_EQ(view.rows.size(), 3u);
  EXPECT_FALSE(view.apply_enabled);
}

// ---- checking -----------------------------------------------------------------------------------

TEST_F(ProfileDialog, CheckingARowUnchecksTheOthers) {
  SetKeyboardProfile(0);
  logic.Open();
  logic.OnRowCheck(2, true);
  EXPECT_EQ(view.CheckedRows(), std::vector<int>{2});
  EXPECT_EQ(logic.CheckedRow(), 2);
  EXPECT_TRUE(view.apply_enabled);
  view.rows[2].checked = false;  // the user's click took the mark away
  logic.OnRowCheck(2, false);
  EXPECT_TRUE(view.CheckedRows().empty());
  EXPECT_EQ(logic.CheckedRow(), -1);
}

TEST_F(ProfileDialog, RowsPastTheKeyboardsProfilesCannotBeChecked) {
  SetKeyboardProfile(1);
  logic.Open();
  AddFile("fourth");
  logic.Apply();
  ASSERT_EQ(view.rows.size(), 4u);
  EXPECT_FALSE(view.rows[3].check_box);
  EXPECT_TRUE(view.rows[2].check_box);

  // A check that reaches the fourth row anyway (the space bar on it) is taken back.
  view.rows[3].checked = true;
  logic.OnRowCheck(3, true);
  EXPECT_EQ(view.CheckedRows(), std::vector<int>{1});
  EXPECT_EQ(logic.CheckedRow(), 1);
  EXPECT_EQ(view.messages,
            std::vector<std::u16string>{texts.Text(texts::TextKey::EXTRA_PROFILE_ROW_NOT_ON_KEYBOARD)});
  EXPECT_FALSE(view.apply_enabled);

  host.calls.clear();
  logic.Apply();
  EXPECT_EQ(host.calls, (std::vector<std::string>{"set 1", "refresh", "menu", "main-apply-off"}));
  EXPECT_EQ(KeyboardProfile(), 1);
}

TEST_F(ProfileDialog, ChecksOutsideTheListAreIgnored) {
  SetKeyboardProfile(0);
  logic.Open();
  logic.OnRowCheck(-1, true);
  logic.OnRowCheck(3, true);
  logic.OnRowCheck(1, false);  // was not checked
  EXPECT_EQ(view.CheckedRows(), std::vector<int>{0});
  EXPECT_FALSE(view.apply_enabled);
}

// ---- Delete -------------------------------------------------------------------------------------

struct DeleteCase {
  const char* name;
  int added;             // files added after the three profile rows
  int checked;           // row checked before the delete
  int selected;          // -1: nothing selected
  int rows_after;
  int checked_after;
  int selected_after;
  bool apply_enabled;
};

class ProfileDialogDelete : public ProfileDialog, public ::testing::WithParamInterface<DeleteCase> {};

TEST_P(ProfileDialogDelete, RemovesTheSelectedRowAndKeepsTheCheckOnItsRow) {
  const DeleteCase& c = GetParam();
  SetKeyboardProfile(c.checked);
  logic.Open();
  for (int i = 0; i < c.added; ++i) AddFile("added" + std::to_string(i));
  logic.Apply();
  const std::vector<ProfileRow> before = logic.Rows();
  view.SelectRow(c.selected);
  logic.OnDelete();

  std::vector<ProfileRow> expected = before;
  if (c.selected >= 0) expected.erase(expected.begin() + c.selected);
  EXPECT_EQ(logic.Rows(), expected);
  EXPECT_EQ(view.Shown(), expected);
  EXPECT_EQ(static_cast<int>(view.rows.size()), c.rows_after);
  EXPECT_EQ(logic.CheckedRow(), c.checked_after);
  EXPECT_EQ(view.CheckedRows(), c.checked_after < 0 ? std::vector<int>{} : std::vector<int>{c.checked_after});
  EXPECT_EQ(view.SelectedRow(), c.selected_after);
  EXPECT_EQ(view.apply_enabled, c.apply_enabled);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ProfileDialogDelete,
    ::testing::Values(DeleteCase{"NothingSelected", 1, 1, -1, 4, 1, -1, false},
                      DeleteCase{"RowBeforeTheChecked", 0, 2, 0, 2, 1, 0, true},
                      DeleteCase{"TheCheckedRow", 0, 1, 1, 2, -1, 1, true},
                      DeleteCase{"RowAfterTheChecked", 1, 0, 2, 3, 0, 2, true},
                      DeleteCase{"LastRowSelectsThePrevious", 2, 0, 4, 4, 0, 3, true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ProfileDialog, DeletingEveryRowLeavesAnEmptyListThatAppliesAsSuch) {
  logic.Open();
  for (int i = 0; i < 3; ++i) {
    view.SelectRow(0);
    logic.OnDelete();
  }
  EXPECT_TRUE(view.rows.empty());
  EXPECT_EQ(view.SelectedRow(), -1);
  host.calls.clear();
  logic.Apply();
  EXPECT_EQ(Stored(0), u"0");
  EXPECT_EQ(host.calls, (std::vector<std::string>{"refresh", "menu", "main-apply-off"}));
}

// ---- Apply, OK, Cancel --------------------------------------------------------------------------

TEST_F(ProfileDialog, ApplyWithTheThirdRowCheckedSwitchesTheKeyboardAndStoresTheList) {
  SetKeyboardProfile(0);
  logic.Open();
  logic.OnRowCheck(2, true);
  logic.Apply();

  EXPECT_EQ(KeyboardProfile(), 2);
  EXPECT_EQ(rig.commands.CachedActiveProfile(), 2);
  const std::u16string cache = StoredPathOfRow(CacheRow());
  EXPECT_EQ(cache, files.CacheFilePath() + u".fwc");
  EXPECT_EQ(Stored(0), u"3");
  for (int i = 1; i <= 3; ++i) EXPECT_EQ(Stored(i), cache) << i;
  EXPECT_EQ(Stored(4), std::nullopt);
  // The rows before the count, so a reader never sees a count of rows not yet written.
  ASSERT_FALSE(registry.writes.empty());
  EXPECT_EQ(registry.writes.back().key, u"PROFILE00");
  EXPECT_EQ(host.calls, (std::vector<std::string>{"set 2", "refresh", "menu", "main-apply-off"}));
  EXPECT_FALSE(view.apply_enabled);
  EXPECT_FALSE(logic.HasUnappliedChanges());
  EXPECT_TRUE(logic.IsOpen());
}

TEST_F(ProfileDialog, ApplyWithoutACheckedRowLeavesTheKeyboardAlone) {
  SetKeyboardProfile(1);
  logic.Open();
  view.rows[1].checked = false;
  logic.OnRowCheck(1, false);
  logic.Apply();
  EXPECT_EQ(KeyboardProfile(), 1);
  EXPECT_EQ(host.calls, (std::vector<std::string>{"refresh", "menu", "main-apply-off"}));
  EXPECT_EQ(Stored(0), u"3");
}

TEST_F(ProfileDialog, AShorterListRemovesTheRowsALongerOneStored) {
  logic.Open();
  AddFile("four");
  AddFile("five");
  logic.Apply();
  ASSERT_EQ(Stored(0), u"5");
  EXPECT_EQ(Stored(5), folder.File("five.fwc"));
  for (int i = 0; i < 3; ++i) {
    view.SelectRow(1);
    logic.OnDelete();
  }
  logic.Apply();
  EXPECT_EQ(Stored(0), u"2");
  EXPECT_EQ(Stored(2), folder.File("five.fwc"));
  EXPECT_EQ(Stored(3), std::nullopt);
  EXPECT_EQ(Stored(4), std::nullopt);
  EXPECT_EQ(Stored(5), std::nullopt);
}

TEST_F(ProfileDialog, ADamagedStoredCountRemovesNothingElse) {
  registry.values[{kProfileListSection, u"PROFILE00"}] = u"lots";
  registry.values[{kProfileListSection, u"RECORD_DELAY"}] = u"1";
  logic.Open();
  logic.Apply();
  EXPECT_TRUE(registry.removals.empty());
  EXPECT_EQ(Stored(0), u"3");
  EXPECT_EQ((registry.values[{kProfileListSection, u"RECORD_DELAY"}]), u"1");
}

TEST_F(ProfileDialog, OkAppliesAndCloses) {
  SetKeyboardProfile(2);
  logic.Open();
  logic.OnRowCheck(0, true);
  logic.Ok();
  EXPECT_EQ(KeyboardProfile(), 0);
  EXPECT_EQ(Stored(0), u"3");
  EXPECT_TRUE(view.ended);
  EXPECT_FALSE(logic.IsOpen());
  EXPECT_FALSE(view.apply_enabled);
}

TEST_F(ProfileDialog, CancelClosesWithoutApplying) {
  SetKeyboardProfile(2);
  logic.Open();
  logic.OnRowCheck(0, true);
  AddFile("kept-on-disk");
  logic.Cancel();
  EXPECT_TRUE(view.ended);
  EXPECT_FALSE(logic.IsOpen());
  EXPECT_FALSE(logic.HasUnappliedChanges());
  EXPECT_FALSE(view.apply_enabled);
  EXPECT_EQ(KeyboardProfile(), 2);
  EXPECT_TRUE(registry.writes.empty());
  EXPECT_TRUE(host.calls.empty());
  // A second close (the keyboard went after the user cancelled) asks nothing of the window.
  view.ended = false;
  logic.Cancel();
  EXPECT_FALSE(view.ended);
}

// ---- a scene switch made elsewhere --------------------------------------------------------------

TEST_F(ProfileDialog, ASceneSwitchMovesTheCheckAndLeavesNothingToApply) {
  SetKeyboardProfile(0);
  logic.Open();
  AddFile("pending");
  ASSERT_TRUE(logic.HasUnappliedChanges());
  logic.OnSceneSwitched(1);
  EXPECT_EQ(view.CheckedRows(), std::vector<int>{1});
  EXPECT_EQ(logic.CheckedRow(), 1);
  EXPECT_FALSE(view.apply_enabled);
  EXPECT_FALSE(logic.HasUnappliedChanges());
}

TEST_F(ProfileDialog, ASceneSwitchToTheDefaultEntryKeepsTheCheck) {
  SetKeyboardProfile(2);
  logic.Open();
  logic.OnRowCheck(0, true);
  logic.OnSceneSwitched(-1);
  EXPECT_EQ(view.CheckedRows(), std::vector<int>{0});
  EXPECT_FALSE(view.apply_enabled);
}

TEST_F(ProfileDialog, AClosedDialogIgnoresSceneSwitches) {
  SetKeyboardProfile(0);
  logic.Open();
  logic.Cancel();
  view.apply_enabled = true;
  logic.OnSceneSwitched(2);
  EXPECT_EQ(view.CheckedRows(), std::vector<int>{0});
  EXPECT_TRUE(view.apply_enabled);
}

}  // namespace
}  // namespace vendrel::app
