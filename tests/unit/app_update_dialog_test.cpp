// The update and backup dialog's logic against the keyboard model behind the fake HID library and
// real settings files in a temporary folder.
#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "app/update_dialog_logic.h"
#include "platform/documents_folder.h"
#include "platform/file_system.h"
#include "profiles/settings_file_codec.h"
#include "store/settings_files.h"
#include "store/settings_store.h"
#include "support/device_rig.h"
#include "support/name_texts.h"
#include "support/temp_folder.h"
#include "texts/text_table.h"

namespace vendrel::app {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

using testing::NameTexts;

// Answers each dialog with the next scripted choice (nothing: cancelled) and keeps the requests.
class ScriptedFileDialogs final : public platform::FileDialogs {
 public:
  std::optional<std::u16string> Choose(const platform::FileDialogRequest& request) override {
    requests.push_back(request);
    if (answers.empty()) return std::nullopt;
    auto answer = answers.front();
    answers.pop_front();
    return answer;
  }
  std::deque<std::optional<std::u16string>> answers;
  std::vector<platform::FileDialogRequest> requests;
};

class RecordingView final : public UpdateDialogView {
 public:
  void ShowProgramPath(std::u16string_view path) override { shown_paths.emplace_back(path); }
  void ShowMessage(std::u16string_view text) override { messages.emplace_back(text); }
  void CloseDialog() override { ++closed; }
  std::vector<std::u16string> shown_paths;
  std::vector<std::u16string> messages;
  int closed = 0;
};

class FakeHost final : public UpdateDialogHost {
 public:
  device::CommandSet* Commands() override { return commands; }
  bool StartProgram(const std::u16string& path) override {
    started.push_back(path);
    return start_succeeds;
  }
  void SetCurrentFolder(const std::u16string& folder) override { current_folder = folder; }
  device::CommandSet* commands = nullptr;
  bool start_succeeds = true;
  std::vector<std::u16string> started;
  std::u16string current_folder;
};

Bytes ReadFile(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

device::Packet BootPacket() {
  device::Packet p{};
  p[0] = 0x04;
  p[3] = 0xEE;
  p[4] = 0xEE;
  return p;
}

class UpdateDialogTest : public ::testing::Test {
 protected:
  UpdateDialogTest()
      : documents(temp.U16()),
        settings(store, platform::PortableFileSystem(), documents, table),
        package(temp.File("Package")),
        logic(view, host, dialogs, platform::PortableFileSystem(), settings, texts, package) {
    host.commands = &rig.commands;
    fs::create_directories(fs::path(package));
  }

  // An update program in the package folder.
  std::u16string MakeProgram(const std::string& name) {
    const fs::path p = fs::path(package) / name;
    std::ofstream(p, std::ios::binary) << "MZ";
    return p.u16string();
  }

  void ChooseProgram(const std::u16string& path) {
    dialogs.answers.push_back(path);
    logic.ChooseProgram();
  }

  // The packets that asked for boot mode, whatever else the link exchanged meanwhile.
  std::vector<device::Packet> BootPacketsSent() {
    std::vector<device::Packet> boot;
    for (const device::Packet& p : rig.library.SentPackets()) {
      if (p[3] == 0xEE || p[4] == 0xEE) boot.push_back(p);
    }
    return boot;
  }

  bool InBootMode() {
    return rig.library.WithModel([](sim::KeyboardModel& m) { return m.InBootMode(); });
  }

  testing::DeviceRig rig;
  testing::TempFolder temp;
  platform::FixedDocumentsFolder documents;
  texts::TextTable table;
  store::WorkingStore store;
  store::SettingsFiles settings;
  NameTexts texts;
  ScriptedFileDialogs dialogs;
  RecordingView view;
  FakeHost host;
  std::u16string package;
  UpdateDialogLogic logic;
};

// ---- start update -----------------------------------------------------------------------------

struct NoProgramCase {
  const char* name;
  std::optional<std::string> chosen;  // a file name in the package folder; none: nothing chosen
  bool create;                        // the chosen file exists
};

class StartWithoutProgram : public UpdateDialogTest,
                            public ::testing::WithParamInterface<NoProgramCase> {};

TEST_P(StartWithoutProgram, ShowsTheMessageSendsNothingAndStartsNothing) {
  const NoProgramCase& c = GetParam();
  if (c.chosen) {
    const fs::path p = fs::path(package) / *c.chosen;
    if (c.create) MakeProgram(*c.chosen);
    ChooseProgram(p.u16string());
  }
  logic.StartUpdate();
  EXPECT_EQ(view.messages, std::vector<std::u16string>{u"<MAIN_UPDATE_ERROR_TEXT>"});
  EXPECT_TRUE(BootPacketsSent().empty());
  EXPECT_FALSE(InBootMode());
  EXPECT_TRUE(host.started.empty());
  EXPECT_EQ(view.closed, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, StartWithoutProgram,
    ::testing::Values(NoProgramCase{"NothingChosen", std::nullopt, false},
                      NoProgramCase{"ChosenFileGone", std::string("flash.exe"), false},
                      // A folder is not a program the shell can start as an update.
                      NoProgramCase{"ChosenFolder", std::string(""), false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(UpdateDialogTest, StartPutsTheKeyboardIntoBootModeThenStartsTheProgramAndCloses) {
  const std::u16string program = MakeProgram("flash.exe");
  ChooseProgram(program);
  logic.StartUpdate();
  EXPECT_EQ(BootPacketsSent(), std::vector<device::Packet>{BootPacket()});
  EXPECT_TRUE(InBootMode());
  EXPECT_EQ(host.started, std::vector<std::u16string>{program});
  EXPECT_TRUE(logic.ProgramPath().empty());
  EXPECT_EQ(view.shown_paths.back(), u"");
  EXPECT_TRUE(view.messages.empty());
  EXPECT_EQ(view.closed, 1);
}

TEST_F(UpdateDialogTest, ProgramThatDoesNotStartLeavesTheKeyboardInBootModeAndThePathEmptied) {
  const std::u16string program = MakeProgram("flash.exe");
  ChooseProgram(program);
  host.start_succeeds = false;
  logic.StartUpdate();
  EXPECT_TRUE(InBootMode());
  EXPECT_EQ(host.started, std::vector<std::u16string>{program});
  EXPECT_TRUE(logic.ProgramPath().empty());
  EXPECT_EQ(view.messages, std::vector<std::u16string>{u"<MAIN_SHELL_ERROR_TEXT>"});
  EXPECT_EQ(view.closed, 0) << "the dialog stays open";

  // A second click has no program any more: no second boot packet, no second start.
  logic.StartUpdate();
  EXPECT_EQ(view.messages.back(), u"<MAIN_UPDATE_ERROR_TEXT>");
  EXPECT_EQ(BootPacketsSent().size(), 1u);
  EXPECT_EQ(host.started.size(), 1u);
}

struct BootFailureCase {
  const char* name;
  bool link;          // the device link exists
  bool refuse_write;  // the library refuses the packet
};

class BootPacketFails : public UpdateDialogTest,
                        public ::testing::WithParamInterface<BootFailureCase> {};

TEST_P(BootPacketFails, ShowsTheBootMessageStartsNothingAndKeepsTheProgram) {
  const std::u16string program = MakeProgram("flash.exe");
  ChooseProgram(program);
  if (!GetParam().link) host.commands = nullptr;
  if (GetParam().refuse_write) rig.library.RefuseWritesFrom(1);
  logic.StartUpdate();
  EXPECT_EQ(view.messages, std::vector<std::u16string>{u"<MAIN_BOOT_ERROR_TEXT>"});
  EXPECT_FALSE(InBootMode());
  EXPECT_TRUE(host.started.empty());
  EXPECT_EQ(logic.ProgramPath(), program);
  EXPECT_EQ(view.closed, 0);
}

INSTANTIATE_TEST_SUITE_P(Cases, BootPacketFails,
                         ::testing::Values(BootFailureCase{"NoDeviceLink", false, false},
                                           BootFailureCase{"WriteRefused", true, true}),
                         [](const auto& info) { return std::string(info.param.name); });

// ---- choosing the program, cancel -------------------------------------------------------------

TEST_F(UpdateDialogTest, OpenDialogStartsInThePackageFolderAndSetsTheCurrentFolder) {
  const std::u16string program = MakeProgram("flash.exe");
  ChooseProgram(program);
  ASSERT_EQ(dialogs.requests.size(), 1u);
  const platform::FileDialogRequest& r = dialogs.requests[0];
  EXPECT_FALSE(r.save);
  EXPECT_EQ(r.filter, u"MyType Files (*.exe)|*.exe||");
  EXPECT_EQ(r.default_extension, u"exe");
  EXPECT_EQ(r.proposed, platform::JoinPath(package, u"*.exe"));
  EXPECT_EQ(logic.ProgramPath(), program);
  EXPECT_EQ(view.shown_paths.back(), program);
  EXPECT_EQ(host.current_folder, package);

  // Cancelled: the earlier choice stays, and the folder is set all the same.
  host.current_folder.clear();
  logic.ChooseProgram();
  EXPECT_EQ(logic.ProgramPath(), program);
  EXPECT_EQ(view.shown_paths.back(), program);
  EXPECT_EQ(host.current_folder, package);
  EXPECT_TRUE(BootPacketsSent().empty()) << "choosing asks nothing of the keyboard";
}

TEST_F(UpdateDialogTest, ChosenProgramOutlivesTheWindowUntilCancelled) {
  const std::u16string program = MakeProgram("flash.exe");
  ChooseProgram(program);
  logic.OnOpen();
  EXPECT_EQ(view.shown_paths.back(), program) << "reopened, the label shows the earlier choice";

  logic.CancelUpdate();
  EXPECT_EQ(view.closed, 1);
  EXPECT_TRUE(logic.ProgramPath().empty());
  logic.OnOpen();
  EXPECT_EQ(view.shown_paths.back(), u"");
  logic.StartUpdate();
  EXPECT_EQ(view.messages.back(), u"<MAIN_UPDATE_ERROR_TEXT>");
  EXPECT_TRUE(BootPacketsSent().empty());
}

// ---- backup -----------------------------------------------------------------------------------

TEST_F(UpdateDialogTest, BackupWritesTheStoreAsAValidSettingsFile) {
  {
    auto lock = store.Lock();
    profiles::MakeDefaultTable(store.Table());
    store.Table().At(1, 0x1E).type = keys::AssignmentType::TextBlock;
    store.strings.Set(512 + 0x1E, u"typed text");
    macros::MacroRecord m;
    m.id = 1;
    m.name = u"one";
    m.actions = {{100, 0x1E, macros::ActionKind::Press}, {0, 0x1E, macros::ActionKind::Release}};
    store.macros = {m};
  }
  const std::u16string path = temp.File("backup.fwc");
  dialogs.answers.push_back(path);
  logic.Backup();

  ASSERT_EQ(dialogs.requests.size(), 1u);
  const platform::FileDialogRequest& r = dialogs.requests[0];
  EXPECT_TRUE(r.save);
  EXPECT_EQ(r.filter, u"(*.fwc)|*.fwc|(*.*)|*.*||");
  EXPECT_EQ(r.default_extension, u"fwc");
  EXPECT_EQ(r.proposed, u"*.fwc");
  EXPECT_TRUE(r.overwrite_prompt);

  EXPECT_EQ(view.messages, std::vector<std::u16string>{u"<MAIN_UPDATE_BACKUP_OK>"});
  EXPECT_EQ(settings.ValidateSettingsFile(path), store::SettingsFileCheck::Valid);
  Bytes expected;
  {
    auto lock = store.Lock();
    ASSERT_EQ(store::SerializeStore(store, expected), profiles::SettingsCodecResult::Ok);
  }
  EXPECT_EQ(ReadFile(fs::path(path)), expected);
  EXPECT_TRUE(BootPacketsSent().empty()) << "a backup leaves the keyboard in its normal mode";
  EXPECT_EQ(view.closed, 0);
}

TEST_F(UpdateDialogTest, BackupThatCannotBeWrittenSaysSoAndKeepsTheOldFile) {
  {
    auto lock = store.Lock();
    profiles::MakeDefaultTable(store.Table());
  }
  // A folder stands where the file should go: nothing can replace it.
  const fs::path blocked = fs::path(temp.File("blocked.fwc"));
  fs::create_directories(blocked / "inside");
  dialogs.answers.push_back(blocked.u16string());
  logic.Backup();
  EXPECT_EQ(view.messages, std::vector<std::u16string>{u"<MAIN_UPDATE_BACKUP_NG>"});
  EXPECT_TRUE(fs::is_directory(blocked / "inside"));

  // Into a folder that does not exist.
  dialogs.answers.push_back(temp.File("missing/backup.fwc"));
  logic.Backup();
  EXPECT_EQ(view.messages.back(), u"<MAIN_UPDATE_BACKUP_NG>");
  EXPECT_FALSE(fs::exists(fs::path(temp.File("missing"))));
}

TEST_F(UpdateDialogTest, CancelledBackupWritesNothingAndSaysNothing) {
  logic.Backup();
  EXPECT_EQ(dialogs.requests.size(), 1u);
  EXPECT_TRUE(view.messages.empty());
  EXPECT_EQ(std::distance(fs::directory_iterator(temp.Path()), fs::directory_iterator()), 1)
      << "only the package folder";
}

}  // namespace
}  // namespace vendrel::app
