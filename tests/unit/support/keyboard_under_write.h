#pragma once
// A keyboard model behind the whole device link, with a program's two stores over it that hold a
// few dozen named macros (an image of many 56-byte chunks) and a key assigned to one of them:
// what the write path's fault tests start from.
#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

#include "device/packet_frame.h"
#include "keys/default_key_map.h"
#include "sim/model/keyboard_model.h"
#include "store/assignment_model.h"
#include "store/key_map_write.h"
#include "support/device_rig.h"

namespace vendrel::testing {

inline macros::MacroRecord NumberedMacro(macros::MacroId id, std::size_t actions) {
  macros::MacroRecord m;
  m.id = id;
  m.name = u"macro " + std::u16string(1, static_cast<char16_t>(u'a' + id));
  for (std::size_t i = 0; i < actions; ++i) {
    m.actions.push_back({10, 0x01E, i % 2 ? macros::ActionKind::Release : macros::ActionKind::Press});
  }
  return m;
}

struct KeyboardUnderWrite {
  static constexpr std::uint32_t kMacroSpace = 64u * 1024u;

  DeviceRig rig{1, std::chrono::milliseconds{2000}};
  store::WorkingStore working;
  store::DeviceStore device_store;

  KeyboardUnderWrite() {
    auto lock = working.Lock();
    for (std::size_t b = 0; b < keys::kProfileBlockCount; ++b) keys::ResetBlock(working.Table().Block(b));
    for (macros::MacroId id = 1; id <= 24; ++id) working.macros.push_back(NumberedMacro(id, 12));
    store::WriteAssignment(working, 0, 0x1E, {keys::AssignmentType::Macro, 0, 5});
  }

  store::KeyMapWriteOutcome Write(bool all_profiles = true) {
    const store::KeyMapWriteTarget target{rig.commands, keys::kDefaultKeyMap, kMacroSpace};
    return store::WriteKeyMaps(working, device_store, all_profiles, target);
  }

  std::vector<std::uint8_t> Area(sim::Area area) {
    return rig.library.WithModel([&](sim::KeyboardModel& m) {
      const auto bytes = m.AreaBytes(area);
      return std::vector<std::uint8_t>(bytes.begin(), bytes.end());
    });
  }

  // Command codes of the packets sent from the from-th on.
  std::vector<std::uint8_t> CommandsSentSince(std::size_t from) const {
    std::vector<std::uint8_t> codes;
    const std::vector<device::Packet> sent = rig.library.SentPackets();
    for (std::size_t i = from; i < sent.size(); ++i) codes.push_back(device::PacketCommand(sent[i]));
    return codes;
  }

  std::size_t PacketsSent() const { return rig.library.SentPackets().size(); }
};

}  // namespace vendrel::testing
