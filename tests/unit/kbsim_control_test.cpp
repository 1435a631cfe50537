// kbsim's control port: parsing of every command, and each command carried out on the model.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "device/command_set.h"
#include "device/packet_frame.h"
#include "sim/kbsim/control_command.h"
#include "sim/kbsim/control_session.h"
#include "sim/kbsim/hex.h"
#include "sim/kbsim/state_file.h"
#include "sim/model/keyboard_model.h"
#include "support/temp_folder.h"

namespace vendrel::sim {
namespace {

using namespace control;

struct ParseCase {
  const char* line;
  Command expected;
};

bool SameCommand(const Command& a, const Command& b) {
  if (a.index() != b.index()) return false;
  if (const auto* x = std::get_if<Event>(&a)) return x->code == std::get<Event>(b).code;
  if (const auto* x = std::get_if<Read>(&a)) {
    const auto& y = std::get<Read>(b);
    return x->area == y.area && x->offset == y.offset && x->length == y.length;
  }
  if (const auto* x = std::get_if<Write>(&a)) {
    const auto& y = std::get<Write>(b);
    return x->area == y.area && x->offset == y.offset && x->bytes == y.bytes;
  }
  if (const auto* x = std::get_if<InjectFault>(&a)) {
    const auto& y = std::get<InjectFault>(b);
    return x->fault == y.fault && x->count == y.count;
  }
  return true;
}

TEST(KbsimParseCommand, EveryCommandAsWrittenIsUnderstood) {
  const ParseCase cases[] = {
      {"attach", Attach{}},
      {"detach", Detach{}},
      {"event 02FF", Event{0x02FF}},
      {"event 1811", Event{0x1811}},
      {"event 2ff", Event{0x02FF}},
      {"read info 0 44", Read{Area::Info, 0, 44}},
      {"read defaultmap 10 5", Read{Area::DefaultMap, 10, 5}},
      {"read keymap 378 378", Read{Area::KeyMap, 378, 378}},
      {"read macro 100 8", Read{Area::Macro, 100, 8}},
      {"read lighting 42 42", Read{Area::Lighting, 42, 42}},
      {"read colours 1024 3", Read{Area::Colours, 1024, 3}},
      {"write keymap 756 0aFF10", Write{Area::KeyMap, 756, {0x0A, 0xFF, 0x10}}},
      {"bank", Bank{}},
      {"mode", Mode{}},
      {"now", Now{}},
      {"fault drop 3", InjectFault{Fault::Drop, 3}},
      {"fault wrongcode 1", InjectFault{Fault::WrongCode, 1}},
      {"fault status ff 2", InjectFault{Fault::StatusFF, 2}},
      {"fault status fe 5", InjectFault{Fault::StatusFE, 5}},
      {"fault clear", ClearFaults{}},
      {"reset", Reset{}},
      {"quit", Quit{}},
      // Sent by a terminal or a script with CRLF line ends, or with extra blanks.
      {"quit\r", Quit{}},
      {"  read\tinfo  0   4 ", Read{Area::Info, 0, 4}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.line);
    EXPECT_TRUE(SameCommand(ParseCommand(c.line), c.expected));
  }
}

TEST(KbsimParseCommand, MalformedLinesAreRefusedNotGuessed) {
  const char* lines[] = {
      "",               "   ",
      "attach now",     "quitx",
      "event",          "event 12345",
      "event 02FG",     "event -1",
      "read info 0",    "read nowhere 0 4",
      "read info -1 4", "read info 0 0",
      "read info x 4",  "read info 0 4 5",
      "write info 0",   "write info 0 ABC",
      "write info 0 ZZ", "write info 0 +1",
      "fault drop",     "fault drop 0",
      "fault drop -2",  "fault status 00 1",
      "fault status ff", "fault burn 1",
      "fault clear now", "READ info 0 4",
      "now 5",
  };
  for (const char* line : lines) {
    SCOPED_TRACE(line);
    const Command command = ParseCommand(line);
    ASSERT_TRUE(std::holds_alternative<Invalid>(command));
    EXPECT_FALSE(std::get<Invalid>(command).reason.empty());
  }
}

class RecordingLink : public KeyboardLink {
 public:
  void AttachChanged(bool attached) override { attach_changes.push_back(attached); }
  void SendConsumerEvent(std::uint16_t code) override { events.push_back(code); }
  std::uint64_t LogMicros() const override { return clock; }
  std::vector<bool> attach_changes;
  std::uint64_t clock = 0;
  std::vector<std::uint16_t> events;
};

class KbsimSession : public ::testing::Test {
 protected:
  std::string Run(const std::string& line) { return session.Execute(line).reply; }
  std::vector<std::uint8_t> Area(sim::Area area) {
    const auto bytes = model.AreaBytes(area);
    return {bytes.begin(), bytes.end()};
  }
  // A read of the information block, as the program sends it.
  std::optional<Packet> SendInfoRead() {
    const auto request = device::BuildRequest(device::kCmdReadInformation, 44, 0);
    return model.HandleControlPacket(request);
  }

  KeyboardModel model;
  RecordingLink link;
  ControlSession session{model, link, true};
};

TEST_F(KbsimSession, WriteThenReadGivesTheBytesBackInEveryArea) {
  struct Case {
    const char* area;
    sim::Area id;
    std::size_t offset;
  };
  const Case cases[] = {
      {"info", sim::Area::Info, 40},         {"defaultmap", sim::Area::DefaultMap, 374},
      {"keymap", sim::Area::KeyMap, 378},    {"keymap", sim::Area::KeyMap, 3 * 378 - 4},
      {"macro", sim::Area::Macro, 0},        {"lighting", sim::Area::Lighting, 2 * 42},
      {"colours", sim::Area::Colours, 1024}, {"colours", sim::Area::Colours, 3 * 512 - 4},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.area) + " " + std::to_string(c.offset));
    const auto before = Area(c.id);
    const std::string offset = std::to_string(c.offset);
    EXPECT_EQ(Run(std::string("write ") + c.area + " " + offset + " A1B2C3D4"), "ok");
    EXPECT_EQ(Run(std::string("read ") + c.area + " " + offset + " 4"), "ok A1B2C3D4");
    // Only the four written bytes changed.
    auto expected = before;
    const std::uint8_t written[] = {0xA1, 0xB2, 0xC3, 0xD4};
    std::copy(std::begin(written), std::end(written), expected.begin() + static_cast<std::ptrdiff_t>(c.offset));
    EXPECT_EQ(Area(c.id), expected);
  }
}

TEST_F(KbsimSession, ReadsAndWritesOutsideAnAreaAreRefusedAndChangeNothing) {
  const auto keymaps = Area(sim::Area::KeyMap);
  const auto info = Area(sim::Area::Info);
  const std::string macro_end = std::to_string(model.AreaBytes(sim::Area::Macro).size());
  const char* refused[] = {"read info 0 45", "read info 44 1", "read keymap 1133 2",
                           "read info 18446744073709551615 2", "write info 43 0102",
                           "write keymap 1134 00", "write info 18446744073709551615 01"};
  for (const char* line : refused) {
    SCOPED_TRACE(line);
    EXPECT_EQ(Run(line), "err range");
  }
  EXPECT_EQ(Run("read macro " + macro_end + " 1"), "err range");
  EXPECT_EQ(Area(sim::Area::KeyMap), keymaps);
  EXPECT_EQ(Area(sim::Area::Info), info);
  EXPECT_EQ(Run("read info 0 44"), "ok " + ToHex(info));
}

// What the control port accepts is saved to the state file; the next start must load it. So a
// write that would leave memory the state file cannot hold is refused and changes nothing.
TEST_F(KbsimSession, WritesAreRefusedWhenTheStateFileCouldNotHoldTheResult) {
  struct Case {
    std::string line;
    std::string reply;
  };
  std::string whole_info = ToHex(Area(sim::Area::Info));
  whole_info.replace(2 * 10, 2, "01");
  std::string whole_info_bad = whole_info;
  whole_info_bad.replace(2 * 10, 2, "03");
  const Case cases[] = {
      {"write info 10 05", "err invalid"},        {"write info 10 03", "err invalid"},
      {"write info 10 FF", "err invalid"},        {"write info 9 0003", "err invalid"},
      {"write info 0 " + whole_info_bad, "err invalid"},
      {"write info 10 02", "ok"},                 {"write info 9 0700", "ok"},
      {"write info 0 " + whole_info, "ok"},       {"write info 11 FF", "ok"},
      {"write info 43 00", "ok"},                 {"write info 44 00", "err range"},
  };
  const vendrel::testing::TempFolder folder;
  const std::string path = (folder.Path() / "kbsim.state").string();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    model.Reset();
    const auto before = Area(sim::Area::Info);
    EXPECT_EQ(Run(c.line), c.reply);
    if (c.reply != "ok") EXPECT_EQ(Area(sim::Area::Info), before);

    // The next start of kbsim: the saved state loads and holds the same memory.
    ASSERT_TRUE(sim::WriteStateFile(path, model.SaveState()));
    std::vector<std::uint8_t> bytes;
    ASSERT_EQ(sim::ReadStateFile(path, bytes), sim::StateFileRead::Loaded);
    sim::KeyboardModel next_start;
    ASSERT_TRUE(next_start.LoadState(bytes));
    const auto info = next_start.AreaBytes(sim::Area::Info);
    EXPECT_EQ(std::vector<std::uint8_t>(info.begin(), info.end()), Area(sim::Area::Info));
  }
}

TEST_F(KbsimSession, AttachAndDetachTellTheHostOnlyOnAChange) {
  EXPECT_EQ(Run("attach"), "ok attached");  // already attached
  EXPECT_EQ(Run("detach"), "ok detached");
  EXPECT_EQ(Run("detach"), "ok detached");
  EXPECT_FALSE(session.Attached());
  EXPECT_EQ(Run("attach"), "ok attached");
  EXPECT_TRUE(session.Attached());
  EXPECT_EQ(link.attach_changes, (std::vector<bool>{false, true}));
}

TEST_F(KbsimSession, EventsReachTheHostOnlyFromAnAttachedKeyboard) {
  EXPECT_EQ(Run("event 02FF"), "ok");
  Run("detach");
  EXPECT_EQ(Run("event 1811"), "err detached");
  Run("attach");
  EXPECT_EQ(Run("event 0401"), "ok");
  EXPECT_EQ(link.events, (std::vector<std::uint16_t>{0x02FF, 0x0401}));
}

TEST_F(KbsimSession, BankShowsTheLastReportTheHostSent) {
  EXPECT_EQ(Run("bank").rfind("err ", 0), 0u);
  model.HandleBankReport(std::vector<std::uint8_t>{0x05, 0x03});
  EXPECT_EQ(Run("bank"), "ok 0503");
  model.HandleBankReport(std::vector<std::uint8_t>{0x05, 0x02});
  EXPECT_EQ(Run("bank"), "ok 0502");
}

TEST_F(KbsimSession, ModeFollowsTheBootPacket) {
  EXPECT_EQ(Run("mode"), "ok normal");
  device::Packet boot{};
  boot[0] = 0x04;
  boot[3] = device::kCmdUpdateMode;
  boot[4] = device::kCmdUpdateMode;
  EXPECT_FALSE(model.HandleControlPacket(boot).has_value());
  EXPECT_EQ(Run("mode"), "ok boot");
  EXPECT_EQ(Run("reset"), "ok");
  EXPECT_EQ(Run("mode"), "ok normal");
}

TEST_F(KbsimSession, FaultsHitExactlyTheNextNRequests) {
  struct Case {
    const char* command;
    int count;
  };
  const Case cases[] = {{"fault drop 2", 2}, {"fault wrongcode 1", 1}, {"fault status ff 2", 2},
                        {"fault status fe 1", 1}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.command);
    ASSERT_EQ(Run(c.command), "ok");
    const std::string name = c.command;
    for (int i = 0; i < c.count; ++i) {
      const auto reply = SendInfoRead();
      if (name.find("drop") != std::string::npos) {
        EXPECT_FALSE(reply.has_value());
      } else {
        ASSERT_TRUE(reply.has_value());
        if (name.find("wrongcode") != std::string::npos) EXPECT_NE((*reply)[device::kOffCommand], device::kCmdReadInformation);
        if (name.find("ff") != std::string::npos) EXPECT_EQ((*reply)[device::kOffStatus], 0xFF);
        if (name.find("fe") != std::string::npos) EXPECT_EQ((*reply)[device::kOffStatus], 0xFE);
      }
    }
    const auto healthy = SendInfoRead();
    ASSERT_TRUE(healthy.has_value());
    EXPECT_EQ((*healthy)[device::kOffCommand], device::kCmdReadInformation);
    EXPECT_EQ((*healthy)[device::kOffStatus], 0x00);
  }
}

TEST_F(KbsimSession, FaultClearEndsAPendingFault) {
  ASSERT_EQ(Run("fault drop 5"), "ok");
  EXPECT_FALSE(SendInfoRead().has_value());
  EXPECT_EQ(Run("fault clear"), "ok");
  const auto reply = SendInfoRead();
  ASSERT_TRUE(reply.has_value());
  EXPECT_EQ((*reply)[device::kOffStatus], 0x00);
}

TEST_F(KbsimSession, ResetRestoresTheFactoryMemory) {
  const KeyboardModel factory;
  Run("write keymap 0 FFFFFFFF");
  Run("write macro 0 55AA");
  Run("write colours 0 010203");
  EXPECT_EQ(Run("reset"), "ok");
  for (const auto area : {sim::Area::KeyMap, sim::Area::Macro, sim::Area::Colours}) {
    const auto expected = factory.AreaBytes(area);
    EXPECT_EQ(Area(area), std::vector<std::uint8_t>(expected.begin(), expected.end()));
  }
}

TEST_F(KbsimSession, NowTellsThePacketLogClockAndChangesNothing) {
  const auto keymaps = Area(sim::Area::KeyMap);
  for (const std::uint64_t micros : {std::uint64_t{0}, std::uint64_t{1234567}, std::uint64_t{86400000000}}) {
    link.clock = micros;
    EXPECT_EQ(Run("now"), "ok " + std::to_string(micros));
  }
  EXPECT_EQ(Area(sim::Area::KeyMap), keymaps);
  EXPECT_TRUE(link.attach_changes.empty());
}

TEST_F(KbsimSession, QuitAnswersAndAsksToStop) {
  EXPECT_FALSE(session.Execute("mode").quit);
  const auto result = session.Execute("quit");
  EXPECT_EQ(result.reply, "ok bye");
  EXPECT_TRUE(result.quit);
}

TEST_F(KbsimSession, ABadLineGetsAnErrorReplyAndChangesNothing) {
  const auto keymaps = Area(sim::Area::KeyMap);
  for (const char* line : {"write keymap 0 XYZW", "frobnicate", "write keymap"}) {
    SCOPED_TRACE(line);
    EXPECT_EQ(Run(line).rfind("err ", 0), 0u);
  }
  EXPECT_EQ(Area(sim::Area::KeyMap), keymaps);
  EXPECT_TRUE(link.attach_changes.empty());
}

}  // namespace
}  // namespace vendrel::sim
