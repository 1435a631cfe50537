// The keyboard's settings are never lost to a failed read or a torn write: a read that fails
// leaves the store unknown and the cache alone, a write cut short stays pending and is written
// whole the next time, and the cache only ever holds what the keyboard acknowledged.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <vector>

#include "device/packet_frame.h"
#include "keys/default_key_map.h"
#include "keys/key_map_codec.h"
#include "macros/macro_image.h"
#include "macros/macro_space_fit.h"
#include "platform/documents_folder.h"
#include "platform/file_system.h"
#include "sim/model/keyboard_model.h"
#include "store/assignment_model.h"
#include "store/key_map_write.h"
#include "store/settings_apply.h"
#include "store/settings_files.h"
#include "store/settings_store.h"
#include "support/device_rig.h"
#include "support/recording_message_boxes.h"
#include "support/temp_folder.h"

namespace vendrel::store {
namespace {

using Bytes = std::vector<std::uint8_t>;
using macros::ActionKind;
using macros::MacroRecord;

constexpr auto kShortWait = std::chrono::milliseconds{100};

std::vector<MacroRecord> Macros(std::size_t count, std::size_t actions, char16_t letter) {
  std::vector<MacroRecord> list;
  for (std::size_t i = 0; i < count; ++i) {
    MacroRecord m;
    m.id = static_cast<macros::MacroId>(i + 1);
    m.name = std::u16string(1, letter) + std::u16string(1, static_cast<char16_t>(u'0' + i));
    m.cycles = static_cast<std::uint8_t>(1 + i);
    for (std::size_t a = 0; a < actions; ++a) {
      m.actions.push_back({10, static_cast<std::uint16_t>(0x01E + a % 8),
                           a % 2 ? ActionKind::Release : ActionKind::Press});
    }
    list.push_back(m);
  }
  return list;
}

Bytes ImageOf(const std::vector<MacroRecord>& list) {
  Bytes image(macros::MacroImageSizes(list).with_names);
  EXPECT_EQ(macros::EncodeMacros(list, image, true), macros::MacroEncodeResult::Ok);
  return image;
}

Bytes ReadFile(const std::u16string& path) {
  Bytes bytes;
  platform::PortableFileSystem().ReadWholeFile(path, 1 << 24, bytes);
  return bytes;
}

// A keyboard holding its owner's macros and a cache file from an earlier run; the program's
// stores and files over them.
class KeyboardWriteSafety : public ::testing::Test {
 protected:
  KeyboardWriteSafety()
      : rig(1, kShortWait),
        documents(temp.U16()),
        files(std::make_unique<SettingsFiles>(working, platform::PortableFileSystem(), documents,
                                              texts)) {
    rig.library.WithModel([&](sim::KeyboardModel& m) {
      EXPECT_TRUE(m.WriteArea(sim::Area::Macro, 0, ImageOf(Macros(3, 30, u'k'))));
    });
    cache = files->CacheFilePath();
    // The cache of an earlier run: its bytes must survive every failure.
    EXPECT_TRUE(files->CreateDefaultSettings(cache, false));
    cache_before = ReadFile(cache);
  }

  Bytes ModelArea(sim::Area area) {
    return rig.library.WithModel([&](sim::KeyboardModel& m) {
      const auto bytes = m.AreaBytes(area);
      return Bytes(bytes.begin(), bytes.end());
    });
  }

  std::uint32_t MacroSpace() {
    return rig.library.WithModel([](sim::KeyboardModel& m) {
      return macros::MacroSpaceFromUnits(m.AreaBytes(sim::Area::Info)[11]);
    });
  }

  SettingsApplyOutcome Apply() {
    const KeyMapWriteTarget target{rig.commands, keys::kDefaultKeyMap, MacroSpace()};
    return ApplyToKeyboard(*files, working, device_store, true, target);
  }

  // The user's settings: new macros and a key of every profile changed.
  void EditStore() {
    auto lock = working.Lock();
    working.macros = Macros(5, 40, u'u');
    for (std::size_t k = 0; k < 3; ++k) {
      WriteAssignment(working, k, 0x1E, {keys::AssignmentType::Macro, 0, static_cast<std::uint32_t>(k + 1)});
    }
  }

  Bytes StoreFile() {
    auto lock = working.Lock();
    Bytes bytes;
    EXPECT_EQ(SerializeStore(working, bytes), profiles::SettingsCodecResult::Ok);
    return bytes;
  }

  // The keyboard holds the store, byte for byte: the whole image and every profile's map.
  void ExpectKeyboardHoldsTheStore() {
    auto lock = working.Lock();
    const Bytes image = ImageOf(working.macros);
    const Bytes memory = ModelArea(sim::Area::Macro);
    ASSERT_GE(memory.size(), image.size());
    EXPECT_TRUE(std::equal(image.begin(), image.end(), memory.begin())) << "macro image";
    const Bytes maps = ModelArea(sim::Area::KeyMap);
    for (std::size_t k = 0; k < 3; ++k) {
      const keys::DeviceKeyMap want =
          keys::EncodeKeyMap(working.Table().Block(k), keys::kDefaultKeyMap, MacroIds(working.macros));
      EXPECT_TRUE(std::equal(want.begin(), want.end(), maps.begin() + static_cast<long>(k * want.size())))
          << "profile " << k;
    }
  }

  // The same, in bytes written out by hand from the key map and macro image tables rather than
  // taken from the encoders: A (column 2, row 3) of profile k plays the macro at index k, and the
  // image starts with the header and offsets of five named macros of 40 actions.
  void ExpectKeyboardHoldsTheEdit() {
    const Bytes maps = ModelArea(sim::Area::KeyMap);
    const std::size_t entry_of_a = 3 * (2 * 8 + 3);
    for (std::size_t k = 0; k < 3; ++k) {
      const std::size_t at = k * 378 + entry_of_a;
      EXPECT_EQ(Bytes(maps.begin() + static_cast<long>(at), maps.begin() + static_cast<long>(at + 3)),
                (Bytes{0x05, 0x01, static_cast<std::uint8_t>(k)}))
          << "profile " << k;
    }
    // 16 + 5 * 2 + 5 * (4 + 40 * 4 + 2 * 2) = 866 bytes; blocks of 168 bytes from offset 26.
    const Bytes start = {0xAA, 0x55, 0x62, 0x03, 0x05, 0x00, 0x01, 0x00, 0, 0, 0, 0, 0, 0, 0, 0,
                         0x1A, 0x00, 0xC2, 0x00, 0x6A, 0x01, 0x12, 0x02, 0xBA, 0x02,
                         0x28, 0x00, 0x01, 0x02,   // 40 actions, 1 cycle, 2 name units
                         0x01, 0xA0, 0x02, 0x04,   // press A after 10 ms
                         0x01, 0x20, 0x02, 0x16};  // release S after 10 ms
    const Bytes memory = ModelArea(sim::Area::Macro);
    ASSERT_GE(memory.size(), 866u);
    EXPECT_EQ(Bytes(memory.begin(), memory.begin() + static_cast<long>(start.size())), start);
    EXPECT_EQ(Bytes(memory.begin() + 190, memory.begin() + 194), (Bytes{'u', 0, '0', 0}))
        << "the first macro's name after its actions";
    EXPECT_EQ(Bytes(memory.begin() + 862, memory.begin() + 866), (Bytes{'u', 0, '4', 0}))
        << "the last macro's name ends the image";
  }

  bool UnfinishedFileExists() {
    return platform::PortableFileSystem().FileExists(files->UnfinishedWritePath());
  }

  testing::DeviceRig rig;
  testing::TempFolder temp;
  platform::FixedDocumentsFolder documents;
  testing::RecordingMessageBoxes boxes;
  texts::TextTable texts;
  WorkingStore working;
  DeviceStore device_store;
  std::unique_ptr<SettingsFiles> files;
  std::u16string cache;
  Bytes cache_before;
};

struct ReadFailureCase {
  const char* name;
  void (*fail)(testing::DeviceRig&);
};

class RefreshFailure : public KeyboardWriteSafety,
                       public ::testing::WithParamInterface<ReadFailureCase> {};

TEST_P(RefreshFailure, LeavesTheStoreUnknownTheCacheAndTheKeyboardAlone) {
  GetParam().fail(rig);
  const Bytes memory_before = ModelArea(sim::Area::Macro);
  const Bytes maps_before = ModelArea(sim::Area::KeyMap);
  EXPECT_EQ(files->RefreshCacheFromKeyboard(rig.commands, keys::kDefaultKeyMap), CacheRefresh::Unreadable);
  {
    auto lock = working.Lock();
    EXPECT_EQ(working.basis, KeyboardBasis::Unknown);
  }
  EXPECT_EQ(ReadFile(cache), cache_before);

  // Apply (or Restore defaults, which applies) sends nothing built on the unknown store.
  rig.library.WithModel([](sim::KeyboardModel& m) { m.ClearFaults(); });
  EditStore();
  const std::size_t sent = rig.library.SentPackets().size();
  EXPECT_EQ(Apply().status, SettingsApply::Unknown);
  EXPECT_EQ(rig.library.SentPackets().size(), sent);
  EXPECT_EQ(ModelArea(sim::Area::Macro), memory_before);
  EXPECT_EQ(ModelArea(sim::Area::KeyMap), maps_before);
  EXPECT_EQ(ReadFile(cache), cache_before);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RefreshFailure,
    ::testing::Values(
        ReadFailureCase{"RepliesLostPastTheRetries",
                        [](testing::DeviceRig& r) {
                          r.library.WithModel([](sim::KeyboardModel& m) { m.InjectFault(sim::Fault::Drop, 1000); });
                        }},
        ReadFailureCase{"RefusedPastTheRetries",
                        [](testing::DeviceRig& r) {
                          r.library.WithModel(
                              [](sim::KeyboardModel& m) { m.InjectFault(sim::Fault::StatusFF, 1000); });
                        }},
        ReadFailureCase{"LinkCut", [](testing::DeviceRig& r) { r.library.RefuseWritesFrom(1); }},
        ReadFailureCase{"TornMacroImage",
                        [](testing::DeviceRig& r) {
                          r.library.WithModel([](sim::KeyboardModel& m) {
                            const std::uint8_t count[] = {0x06, 0xA0};  // 40966 actions in block 1
                            const std::size_t first = m.AreaBytes(sim::Area::Macro)[16];
                            EXPECT_TRUE(m.WriteArea(sim::Area::Macro, first, count));
                          });
                        }}),
    [](const auto& i) { return std::string(i.param.name); });

TEST_F(KeyboardWriteSafety, UnwritableCacheStillReadsTheKeyboard) {
  platform::FixedDocumentsFolder nowhere(temp.U16() + u"/missing/deeper");
  SettingsFiles homeless(working, platform::PortableFileSystem(), nowhere, texts);
  ASSERT_EQ(homeless.RefreshCacheFromKeyboard(rig.commands, keys::kDefaultKeyMap), CacheRefresh::FromKeyboard);
  auto lock = working.Lock();
  EXPECT_EQ(working.basis, KeyboardBasis::Read);
  ASSERT_EQ(working.macros.size(), 3u);
  EXPECT_EQ(working.macros[2].name, u"k2");
}

// Where the link breaks, counted in the transfer's packets: begin, the macro image's packets,
// 21 key map packets, end.
struct CutCase {
  const char* name;
  int cut_at;  // the first packet that is refused; negative counts back from the end packet
};

class InterruptedWrite : public KeyboardWriteSafety, public ::testing::WithParamInterface<CutCase> {};

TEST_P(InterruptedWrite, StaysPendingAndIsWrittenWholeNextTime) {
  ASSERT_EQ(files->RefreshCacheFromKeyboard(rig.commands, keys::kDefaultKeyMap), CacheRefresh::FromKeyboard);
  const Bytes cache_read = ReadFile(cache);
  EditStore();
  const Bytes wanted = StoreFile();
  const int image_packets = static_cast<int>((ImageOf(Macros(5, 40, u'u')).size() + 55) / 56);
  const int end_packet = 1 + image_packets + 21 + 1;
  const int cut = GetParam().cut_at > 0 ? GetParam().cut_at : end_packet + GetParam().cut_at;
  rig.library.RefuseWritesFrom(cut);  // counts the calls from here on

  const SettingsApplyOutcome failed = Apply();
  EXPECT_EQ(failed.status, SettingsApply::Failed);
  EXPECT_FALSE(failed.write.Whole());
  EXPECT_EQ(ReadFile(cache), cache_read) << "the cache keeps what the keyboard last held whole";
  EXPECT_TRUE(UnfinishedFileExists());

  // Plugged in again: the refresh keeps the user's settings rather than the torn contents.
  rig.library.RefuseWritesFrom(0);
  EXPECT_EQ(files->RefreshCacheFromKeyboard(rig.commands, keys::kDefaultKeyMap), CacheRefresh::PendingKept);
  EXPECT_EQ(StoreFile(), wanted);
  EXPECT_EQ(ReadFile(cache), cache_read);

  EXPECT_EQ(Apply().status, SettingsApply::Written);
  ExpectKeyboardHoldsTheStore();
  ExpectKeyboardHoldsTheEdit();
  EXPECT_EQ(StoreFile(), wanted);
  EXPECT_EQ(ReadFile(cache), wanted);
  EXPECT_FALSE(UnfinishedFileExists());
  auto lock = working.Lock();
  EXPECT_EQ(working.basis, KeyboardBasis::Read);
}

INSTANTIATE_TEST_SUITE_P(Cases, InterruptedWrite,
                         ::testing::Values(CutCase{"AtBegin", 1}, CutCase{"AtFirstMacroPacket", 2},
                                           CutCase{"InsideTheMacroImage", 4},
                                           CutCase{"AtTheLastKeyMapPacket", -1},
                                           CutCase{"AtTheEnd", 0}),
                         [](const auto& i) { return std::string(i.param.name); });

TEST_F(KeyboardWriteSafety, AWriteADeadRunLeftUnfinishedIsWrittenWholeByTheNext) {
  ASSERT_EQ(files->RefreshCacheFromKeyboard(rig.commands, keys::kDefaultKeyMap), CacheRefresh::FromKeyboard);
  EditStore();
  const Bytes wanted = StoreFile();
  rig.library.RefuseWritesFrom(3);  // inside the macro image
  ASSERT_EQ(Apply().status, SettingsApply::Failed);
  rig.library.RefuseWritesFrom(0);

  // The next run starts with defaults and finds the unfinished write's file.
  {
    auto lock = working.Lock();
    working.Clear();
    working.basis = KeyboardBasis::Unknown;
  }
  files = std::make_unique<SettingsFiles>(working, platform::PortableFileSystem(), documents, texts);
  EXPECT_EQ(files->RefreshCacheFromKeyboard(rig.commands, keys::kDefaultKeyMap), CacheRefresh::PendingKept);
  EXPECT_EQ(StoreFile(), wanted);
  EXPECT_EQ(Apply().status, SettingsApply::Written);
  ExpectKeyboardHoldsTheStore();
  EXPECT_EQ(ReadFile(cache), wanted);
}

struct BeginCase {
  const char* name;
  sim::Fault fault;
  int count;
  SettingsApply status;
};

class BeginTransfer : public KeyboardWriteSafety, public ::testing::WithParamInterface<BeginCase> {};

// A begin the keyboard never acknowledged gets nothing after it; one that a retry got through
// is a normal write.
TEST_P(BeginTransfer, UnacknowledgedSendsNothingFurther) {
  const BeginCase& c = GetParam();
  ASSERT_EQ(files->RefreshCacheFromKeyboard(rig.commands, keys::kDefaultKeyMap), CacheRefresh::FromKeyboard);
  const Bytes cache_read = ReadFile(cache);
  EditStore();
  // With nothing known of the macro memory no check read comes first: the faults meet the begin.
  rig.commands.MacroMemory().Forget();
  const std::size_t sent_before = rig.library.SentPackets().size();
  rig.library.WithModel([&](sim::KeyboardModel& m) { m.InjectFault(c.fault, c.count); });
  const SettingsApplyOutcome outcome = Apply();
  EXPECT_EQ(outcome.status, c.status);
  const auto sent = rig.library.SentPackets();
  for (std::size_t i = sent_before; i < sent.size(); ++i) {
    if (c.status == SettingsApply::Failed) {
      EXPECT_EQ(device::PacketCommand(sent[i]), device::kCmdBeginTransfer) << "packet " << i;
    }
  }
  if (c.status == SettingsApply::Failed) {
    EXPECT_EQ(ReadFile(cache), cache_read);
  } else {
    ExpectKeyboardHoldsTheStore();
    ExpectKeyboardHoldsTheEdit();
    EXPECT_EQ(ReadFile(cache), StoreFile());
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BeginTransfer,
    ::testing::Values(BeginCase{"OneLostReplyIsRetried", sim::Fault::Drop, 1, SettingsApply::Written},
                      BeginCase{"NoReplyPastTheRetries", sim::Fault::Drop, 3, SettingsApply::Failed},
                      BeginCase{"RefusedPastTheRetries", sim::Fault::StatusFF, 3, SettingsApply::Failed},
                      BeginCase{"BadFramePastTheRetries", sim::Fault::StatusFE, 3, SettingsApply::Failed},
                      BeginCase{"WrongCodePastTheRetries", sim::Fault::WrongCode, 3, SettingsApply::Failed}),
    [](const auto& i) { return std::string(i.param.name); });

}  // namespace
}  // namespace vendrel::store
