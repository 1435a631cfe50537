// kbsim's `detach-after N`: the keyboard is pulled out right after the N-th control packet it takes
// from then on, so a scenario can cut a transfer at an exact packet.
#include <gtest/gtest.h>

#include <optional>
#include <ostream>
#include <string>
#include <variant>
#include <vector>

#include "sim/kbsim/control_command.h"
#include "sim/kbsim/control_session.h"
#include "sim/model/keyboard_model.h"
#include "sim/model/wire_constants.h"

namespace vendrel::sim {
namespace {

class RecordingLink : public KeyboardLink {
 public:
  void AttachChanged(bool attached) override { attach_changes.push_back(attached); }
  void SendConsumerEvent(std::uint16_t) override {}
  std::uint64_t LogMicros() const override { return 0; }
  std::vector<bool> attach_changes;
};

TEST(KbsimDetachAfterParse, TakesAPositiveCountAndACommandCode) {
  const auto any = control::ParseCommand("detach-after 7");
  ASSERT_TRUE(std::holds_alternative<control::DetachAfter>(any));
  EXPECT_EQ(std::get<control::DetachAfter>(any).count, 7);
  EXPECT_FALSE(std::get<control::DetachAfter>(any).command.has_value());

  const auto one_code = control::ParseCommand("detach-after 2 0a");
  ASSERT_TRUE(std::holds_alternative<control::DetachAfter>(one_code));
  EXPECT_EQ(std::get<control::DetachAfter>(one_code).count, 2);
  EXPECT_EQ(std::get<control::DetachAfter>(one_code).command, std::optional<std::uint8_t>(0x0A));

  for (const char* line : {"detach-after", "detach-after 0", "detach-after -1", "detach-after +2",
                           "detach-after x", "detach-after 1 2", "detach-after 1 123", "detach-after 1 0g",
                           "detach-after 1 08 2", "detach-after 99999999999"}) {
    SCOPED_TRACE(line);
    const auto refused = control::ParseCommand(line);
    ASSERT_TRUE(std::holds_alternative<control::Invalid>(refused));
    EXPECT_FALSE(std::get<control::Invalid>(refused).reason.empty());
  }
}

// One row: commands and packets in order ("packet CC" is a control packet of command code CC that
// the keyboard took), then how many packets were taken when the keyboard went, and every attach
// change the host heard.
struct Row {
  const char* name;
  std::vector<std::string> steps;
  std::vector<std::string> replies;  // of the commands, in order
  bool attached_at_end;
  std::vector<bool> attach_changes;
  int packets_before_detach;  // -1: no detach by a countdown
};

void PrintTo(const Row& row, std::ostream* os) { *os << row.name; }

class KbsimDetachAfter : public ::testing::TestWithParam<Row> {};

TEST_P(KbsimDetachAfter, PullsTheKeyboardOutAtTheCountedPacket) {
  const Row& row = GetParam();
  KeyboardModel model;
  RecordingLink link;
  ControlSession session{model, link, true};
  std::vector<std::string> replies;
  int packets = 0;
  int detached_at = -1;
  for (const std::string& step : row.steps) {
    if (step.rfind("packet ", 0) == 0) {
      Packet packet{};
      packet[0] = 0x04;
      packet[wire::kOffCommand] = static_cast<std::uint8_t>(std::stoi(step.substr(7), nullptr, 16));
      const bool was = session.Attached();
      ++packets;
      session.ControlPacketTaken(packet);
      if (was && !session.Attached()) detached_at = packets;
    } else {
      replies.push_back(session.Execute(step).reply);
    }
  }
  EXPECT_EQ(replies, row.replies);
  EXPECT_EQ(session.Attached(), row.attached_at_end);
  EXPECT_EQ(link.attach_changes, row.attach_changes);
  EXPECT_EQ(detached_at, row.packets_before_detach);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, KbsimDetachAfter,
    ::testing::Values(
        Row{"AtTheThirdPacket",
            {"detach-after 3", "packet 08", "packet 08", "packet 08", "packet 08", "packet 08"},
            {"ok"},
            false,
            {false},
            3},
        Row{"AtTheVeryNextPacket", {"detach-after 1", "packet 08"}, {"ok"}, false, {false}, 1},
        Row{"PacketsBeforeTheCommandDoNotCount",
            {"packet 08", "packet 08", "detach-after 2", "packet 08", "packet 08"},
            {"ok"},
            false,
            {false},
            4},
        Row{"FewerPacketsLeaveTheKeyboardIn",
            {"detach-after 3", "packet 08", "packet 08"},
            {"ok"},
            true,
            {},
            -1},
        Row{"ALaterCountReplacesTheFirst",
            {"detach-after 5", "packet 08", "detach-after 1", "packet 08"},
            {"ok", "ok"},
            false,
            {false},
            2},
        // A plain detach ends the countdown: plugged in again, the keyboard stays in.
        Row{"ADetachEndsTheCountdown",
            {"detach-after 2", "detach", "attach", "packet 08", "packet 08", "packet 08"},
            {"ok", "ok detached", "ok attached"},
            true,
            {false, true},
            -1},
        // Once it has fired, the next attach is not pulled out again.
        Row{"FiresOnce",
            {"detach-after 1", "packet 08", "attach", "packet 08", "packet 08"},
            {"ok", "ok attached"},
            true,
            {false, true},
            1},
        // With a command code only packets of that code count: reads and the transfer's begin go by.
        Row{"CountsOnlyTheGivenCommand",
            {"detach-after 2 08", "packet 01", "packet 08", "packet 0A", "packet 09", "packet 08", "packet 08"},
            {"ok"},
            false,
            {false},
            5},
        Row{"AnotherCodeNeverFires",
            {"detach-after 1 0A", "packet 01", "packet 08", "packet 08", "packet 02"},
            {"ok"},
            true,
            {},
            -1},
        Row{"RefusedWhileUnplugged",
            {"detach", "detach-after 1", "attach", "packet 08"},
            {"ok detached", "err detached", "ok attached"},
            true,
            {false, true},
            -1}),
    [](const ::testing::TestParamInfo<Row>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace vendrel::sim
