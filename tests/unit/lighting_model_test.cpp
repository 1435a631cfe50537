// The lighting model against the keyboard model: the mode list and its names, the light switch
// setting, loading the three blocks, and the setters' packets and the bytes they change.
#include "lighting/lighting_model.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "device/command_codes.h"
#include "device/packet_frame.h"
#include "keys/key_table.h"
#include "lighting/light_switch_setting.h"
#include "lighting/mode_list.h"
#include "lighting/per_key_colours.h"
#include "platform/file_system.h"
#include "support/device_rig.h"
#include "support/memory_ini_profile.h"

namespace vendrel::lighting {
namespace {

using device::kCmdBeginTransfer;
using device::kCmdEndTransfer;
using device::kCmdReadInformation;
using device::kCmdReadLighting;
using device::kCmdWriteLighting;
using Bytes = std::vector<std::uint8_t>;

constexpr char16_t kSwitchFile[] = u"/docs/Orvane_05D/wskb.ini";

// ---------------------------------------------------------------------------------------------
// Mode list and names

SupportedModes Modes(std::initializer_list<std::uint8_t> leading) {
  SupportedModes modes{};
  std::copy(leading.begin(), leading.end(), modes.begin());
  return modes;
}

ModeNameLookup Names(std::map<int, std::u16string> names) {
  return [names = std::move(names)](int mode) {
    const auto found = names.find(mode);
    return found == names.end() ? std::u16string(u"1") : found->second;
  };
}

std::ostream& operator<<(std::ostream& os, const ModeEntry& e) {
  return os << "[" << e.combo_index << "] mode " << e.mode << " name length " << e.name.size();
}

TEST(ModeListTest, EntriesAreTheNamedSupportedModesWithDenseIndexes) {
  const std::map<int, std::u16string> all = {{5, u"Wave"}, {7, u"Ripple"}, {18, u"Breath"},
                                             {20, u"Per key"}};
  const struct {
    const char* what;
    SupportedModes supported;
    std::map<int, std::u16string> names;
    std::vector<ModeEntry> entries;
  } cases[] = {
      {"32 zeros", Modes({}), all, {}},
      {"empty slots skipped", Modes({0, 5, 0, 18}), all, {{0, 5, u"Wave"}, {1, 18, u"Breath"}}},
      {"keyboard order kept", Modes({18, 5}), all, {{0, 18, u"Breath"}, {1, 5, u"Wave"}}},
      {"missing name hidden", Modes({5, 7, 18}), {{5, u"Wave"}, {18, u"Breath"}},
       {{0, 5, u"Wave"}, {1, 18, u"Breath"}}},
      {"name reading as 1 hidden", Modes({5, 7, 18}), {{5, u" 1st"}, {7, u"Ripple"}, {18, u"1"}},
       {{0, 7, u"Ripple"}}},
      {"last slot read", [] {
         SupportedModes m{};
         m[31] = 20;
         return m;
       }(),
       all, {{0, 20, u"Per key"}}},
      {"modes outside the table still listed", Modes({19, 200}), {{19, u"X"}, {200, u"Y"}},
       {{0, 19, u"X"}, {1, 200, u"Y"}}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(BuildModeList(c.supported, Names(c.names)), c.entries) << c.what;
  }
  EXPECT_TRUE(BuildModeList(Modes({5, 18}), ModeNameLookup{}).empty()) << "no names: nothing offered";
}

TEST(ModeListTest, OfferedNames) {
  const struct {
    std::u16string name;
    bool offered;
  } cases[] = {{u"1", false},   {u" 1", false}, {u"+1", false},  {u"01", false},
               {u"1 wave", false}, {u"Wave", true}, {u"10", true}, {u"-1", true},
               {u"0", true},    {u"", true},    {u"Mode 1", true}};
  for (const auto& c : cases) {
    EXPECT_EQ(IsOfferedName(c.name), c.offered) << std::string(c.name.begin(), c.name.end());
  }
}

TEST(ModeListTest, SkinNameSectionFollowsTheLanguage) {
  testing::MemoryIniProfile ini;
  ini.values[{u"Mode", u"5"}] = u"Wave";
  ini.values[{u"Mode1", u"5"}] = u"Welle";
  ini.values[{u"Mode", u"18"}] = u"Breath";
  ini.values[{u"Mode", u"05"}] = u"not the key of 5";
  const struct {
    int language;
    int mode;
    std::u16string name;
  } cases[] = {{0, 5, u"Wave"},  {1, 5, u"Welle"}, {2, 5, u"Wave"},   {-1, 5, u"Wave"},
               {0, 18, u"Breath"}, {1, 18, u"1"},  {0, 7, u"1"},      {1, 7, u"1"}};
  for (const auto& c : cases) {
    EXPECT_EQ(SkinModeName(ini, u"/skin/Main.ini", c.language, c.mode), c.name)
        << c.language << "/" << c.mode;
  }
}

// ---------------------------------------------------------------------------------------------
// Light switch setting

TEST(LightSwitchSettingTest, ReadsDengCheckAsOneForOn) {
  const struct {
    const char* value;  // nullptr: key missing
    bool on;
  } cases[] = {{"1", true},  {"0", false}, {nullptr, false}, {" 1", true}, {"1x", true},
               {"01", true}, {"2", false}, {"on", false},    {"", false}};
  for (const auto& c : cases) {
    testing::MemoryIniProfile ini;
    if (c.value) {
      const std::string v = c.value;
      ini.values[{u"KEYCOLOR", u"DengCheck"}] = std::u16string(v.begin(), v.end());
    }
    const LightSwitchSetting setting(ini, kSwitchFile);
    EXPECT_EQ(setting.Read(), c.on) << (c.value ? c.value : "(missing)");
  }
}

TEST(LightSwitchSettingTest, WritesOneOrZero) {
  testing::MemoryIniProfile ini;
  LightSwitchSetting setting(ini, kSwitchFile);
  setting.Write(true);
  setting.Write(false);
  const std::vector<testing::MemoryIniProfile::Write> expected = {
      {u"KEYCOLOR", u"DengCheck", u"1"}, {u"KEYCOLOR", u"DengCheck", u"0"}};
  EXPECT_EQ(ini.writes, expected);
}

TEST(LightSwitchSettingTest, WithoutAPathReadsOffAndWritesNothing) {
  testing::MemoryIniProfile ini;
  ini.values[{u"KEYCOLOR", u"DengCheck"}] = u"1";
  LightSwitchSetting setting(ini, u"");
  EXPECT_FALSE(setting.Read());
  setting.Write(true);
  EXPECT_TRUE(ini.writes.empty());
}

TEST(LightSwitchSettingTest, FilePathUnderTheDocumentsFolder) {
  const std::u16string sep(1, platform::kPathSeparator);
  EXPECT_EQ(LightSwitchFilePath(u"docs"), u"docs" + sep + u"Orvane_05D" + sep + u"wskb.ini");
  EXPECT_EQ(LightSwitchFilePath(u"docs" + sep), u"docs" + sep + u"Orvane_05D" + sep + u"wskb.ini");
  EXPECT_EQ(LightSwitchFilePath(u""), u"");
}

// ---------------------------------------------------------------------------------------------
// The model against the keyboard

struct Sent {
  std::uint8_t command;
  std::uint8_t length;
  std::uint16_t address;
  Bytes payload;  // the written bytes of a lighting write, otherwise empty
  friend bool operator==(const Sent&, const Sent&) = default;
};

std::ostream& operator<<(std::ostream& os, const Sent& s) {
  os << "cmd " << int(s.command) << " len " << int(s.length) << " at " << s.address;
  for (const std::uint8_t b : s.payload) os << " " << int(b);
  return os;
}

Sent Begin() { return {kCmdBeginTransfer, 0, 0, {}}; }
Sent End() { return {kCmdEndTransfer, 0, 0, {}}; }
Sent Write(std::uint16_t address, Bytes bytes) {
  return {kCmdWriteLighting, static_cast<std::uint8_t>(bytes.size()), address, std::move(bytes)};
}
Sent Read(std::uint16_t address) { return {kCmdReadLighting, 56, address, {}}; }
Sent ReadInfo() { return {kCmdReadInformation, 44, 0, {}}; }

// A block with every field set apart from its neighbours, so a write to the wrong
// offset shows.
Bytes DistinctBlock(std::uint8_t mode, std::uint8_t seed) {
  Bytes block(kBlockSize, 0);
  block[kOffMode] = mode;
  block[kOffBrightness] = 2;
  block[kOffSpeed] = 3;
  block[kOffDirection] = 0xFF;
  block[kOffMulticolour] = 0xFF;
  block[kOffColour] = seed;
  block[kOffColour + 1] = static_cast<std::uint8_t>(seed + 1);
  block[kOffColour + 2] = static_cast<std::uint8_t>(seed + 2);
  block[kOffColourChoice] = 1;
  block[kOffReportRate] = 2;
  for (std::size_t i = kOffEffectOptions; i < kBlockSize; ++i) block[i] = static_cast<std::uint8_t>(seed ^ i);
  return block;
}

class LightingModelTest : public ::testing::Test {
 protected:
  LightingModelTest()
      : setting(ini, kSwitchFile),
        model(rig.commands, setting,
              Names({{4, u"Static"}, {5, u"Wave"}, {7, u"Ripple"}, {10, u"Rain"}, {17, u"Choice"},
                     {18, u"Breath"}, {19, u"Unknown"}, {20, u"Per key"}})) {
    SetSupported({4, 5, 7, 10, 17, 18, 19, 20});
    for (int p = 0; p < kProfileCount; ++p) {
      SetBlock(p, DistinctBlock(static_cast<std::uint8_t>(4 + p), static_cast<std::uint8_t>(0x10 * (p + 1))));
    }
    // The reserved bytes after the three blocks, so a write past a block shows too.
    WriteArea(sim::Area::Lighting, kMirrorSize, Bytes(8, 0xA5));
  }

  void WriteArea(sim::Area area, std::size_t offset, const Bytes& bytes) {
    ASSERT_TRUE(rig.library.WithModel(
        [&](sim::KeyboardModel& m) { return m.WriteArea(area, offset, bytes); }));
  }
  void SetSupported(std::initializer_list<std::uint8_t> modes) {
    Bytes list(32, 0);
    std::copy(modes.begin(), modes.end(), list.begin());
    WriteArea(sim::Area::Info, 12, list);
  }
  void SetBlock(int profile, const Bytes& block) {
    WriteArea(sim::Area::Lighting, static_cast<std::size_t>(profile) * kBlockSize, block);
  }
  void SetByte(std::size_t address, std::uint8_t value) {
    WriteArea(sim::Area::Lighting, address, Bytes{value});
  }
  Bytes Area() {
    return rig.library.WithModel([](sim::KeyboardModel& m) {
      const auto bytes = m.AreaBytes(sim::Area::Lighting);
      return Bytes(bytes.begin(), bytes.end());
    });
  }

  // Loads the given profile and builds the mode list, then starts watching what is sent.
  void LoadProfile(int profile) {
    model.SetCurrentProfile(profile);
    ASSERT_EQ(model.Load(), 0);
    model.BuildModeList();
    Watch();
  }
  void Watch() {
    watched_from_ = rig.library.SentPackets().size();
    before_ = Area();
  }
  // The packets sent since Watch(); lighting writes with their bytes.
  std::vector<Sent> SentSinceWatch() const {
    const auto all = rig.library.SentPackets();
    std::vector<Sent> out;
    for (std::size_t i = watched_from_; i < all.size(); ++i) {
      const device::Packet& p = all[i];
      Sent s{device::PacketCommand(p), device::PacketLength(p), device::PacketAddress(p), {}};
      if (s.command == kCmdWriteLighting) {
        s.payload.assign(p.begin() + device::kOffPayload, p.begin() + device::kOffPayload + s.length);
      }
      out.push_back(std::move(s));
    }
    return out;
  }
  std::uint8_t WatchedByte(std::size_t address) const { return before_.at(address); }
  // Address -> new value of every byte of the lighting area that differs from Watch() time.
  std::map<std::size_t, std::uint8_t> ChangedBytes() {
    const Bytes now = Area();
    std::map<std::size_t, std::uint8_t> changed;
    for (std::size_t i = 0; i < now.size(); ++i) {
      if (now[i] != before_[i]) changed[i] = now[i];
    }
    return changed;
  }

  testing::DeviceRig rig;
  testing::MemoryIniProfile ini;
  LightSwitchSetting setting;
  LightingModel model;

 private:
  std::size_t watched_from_ = 0;
  Bytes before_;
};

using Changes = std::map<std::size_t, std::uint8_t>;

TEST_F(LightingModelTest, LoadReadsInfoThenTheThreeBlocksInOneBracket) {
  SetByte(42 + kOffReportRate, 7);  // held as 3
  ini.values[{u"KEYCOLOR", u"DengCheck"}] = u"1";
  model.SetCurrentProfile(1);
  Watch();
  std::size_t sent_at_hook = 0;
  ASSERT_EQ(model.Load([&] { sent_at_hook = rig.library.SentPackets().size(); }), 0);

  const std::vector<Sent> expected = {ReadInfo(), Begin(), Read(0), Read(42), Read(84), End()};
  EXPECT_EQ(SentSinceWatch(), expected);
  EXPECT_EQ(sent_at_hook, rig.library.SentPackets().size() - 4) << "the hook runs after Begin";
  EXPECT_TRUE(ChangedBytes().empty());

  const LightingState& s = model.State();
  EXPECT_EQ(s.current_profile, 1);
  EXPECT_EQ(s.mode, 5);
  EXPECT_EQ(s.brightness, 2);
  EXPECT_EQ(s.speed, 3);
  EXPECT_EQ(s.direction, 0xFF);
  EXPECT_TRUE(s.multicolour);
  EXPECT_EQ(s.colour, 0x222120u);
  EXPECT_EQ(s.colour_choice, 1);
  EXPECT_EQ(s.report_rate, 3);
  EXPECT_TRUE(s.light_switch);
  EXPECT_EQ(s.supported_modes, Modes({4, 5, 7, 10, 17, 18, 19, 20}));
  EXPECT_TRUE(s.mode_map.empty()) << "the panel builds the list";
  const Bytes area = Area();
  EXPECT_TRUE(std::equal(s.mirror.begin(), s.mirror.end(), area.begin()))
      << "the mirror holds the three blocks";
}

TEST_F(LightingModelTest, LoadEmptiesTheListBeforeReading) {
  LoadProfile(0);
  ASSERT_FALSE(model.State().mode_map.empty());
  SetSupported({5});
  ASSERT_EQ(model.Load(), 0);
  EXPECT_TRUE(model.State().mode_map.empty());
  EXPECT_EQ(model.State().supported_modes, Modes({5}));
  EXPECT_TRUE(ChangedBytes().empty());
}

TEST_F(LightingModelTest, UnreadableInfoReturnsMinusOneAndKeepsTheRest) {
  LoadProfile(0);
  model.SetBrightness(4);
  const LightingState before = model.State();
  SetBlock(0, DistinctBlock(7, 0x70));
  ini.values[{u"KEYCOLOR", u"DengCheck"}] = u"1";
  Watch();
  rig.library.WithModel([](sim::KeyboardModel& m) {
    m.InjectFault(sim::Fault::StatusFF, 3);  // refused on every attempt
    return 0;
  });

  EXPECT_EQ(model.Load(), -1);

  const std::vector<Sent> expected = {ReadInfo(), ReadInfo(), ReadInfo()};
  EXPECT_EQ(SentSinceWatch(), expected) << "no bracket and no reads after the refusal";
  const LightingState& s = model.State();
  EXPECT_TRUE(s.mode_map.empty());
  EXPECT_EQ(s.supported_modes, SupportedModes{});
  EXPECT_EQ(s.mode, before.mode);
  EXPECT_EQ(s.brightness, 4);
  EXPECT_EQ(s.colour, before.colour);
  EXPECT_EQ(s.light_switch, before.light_switch);
  EXPECT_EQ(s.mirror, before.mirror);
  EXPECT_TRUE(ChangedBytes().empty());
}

TEST_F(LightingModelTest, AFailedBlockReadKeepsThatBlockAndTheState) {
  LoadProfile(2);
  model.SetBrightness(4);  // an edit since the last read, which the mirror does not hold
  const LightingState before = model.State();
  SetBlock(0, DistinctBlock(9, 0x90));
  SetBlock(2, DistinctBlock(13, 0xD0));
  // Info, Begin, the reads of blocks 0 and 1 get through; the read of block 2 and End do not.
  Watch();
  rig.library.RefuseWritesFrom(5);  // counted from this call

  EXPECT_EQ(model.Load(), 0) << "read failures are not reported";

  const LightingState& s = model.State();
  EXPECT_EQ(s.mirror[kOffMode], 9) << "block 0 was read";
  EXPECT_EQ(std::vector(s.mirror.begin() + 84, s.mirror.end()),
            std::vector(before.mirror.begin() + 84, before.mirror.end()));
  EXPECT_EQ(s.mode, before.mode);
  EXPECT_EQ(s.brightness, 4);
  EXPECT_EQ(s.colour, before.colour);
  EXPECT_EQ(s.supported_modes, before.supported_modes);
  EXPECT_TRUE(ChangedBytes().empty());
}

TEST_F(LightingModelTest, ComboIndexesAndSupport) {
  SetSupported({0, 5, 0, 18, 3, 20});  // 3 has no name
  LoadProfile(0);
  const struct {
    int mode;
    int combo_index;
    bool supported;
  } cases[] = {{5, 0, true}, {18, 1, true}, {20, 2, true}, {3, -1, true},
               {0, -1, false}, {4, -1, false}, {19, -1, false}, {276, -1, false}};
  for (const auto& c : cases) {
    EXPECT_EQ(model.ComboIndexOfMode(c.mode), c.combo_index) << c.mode;
    EXPECT_EQ(model.IsModeSupported(c.mode), c.supported) << c.mode;
    if (c.combo_index >= 0) EXPECT_EQ(model.ModeOfComboIndex(c.combo_index), c.mode);
  }
  EXPECT_EQ(model.ModeOfComboIndex(3), 0);
  EXPECT_EQ(model.ModeOfComboIndex(-1), 0);
  EXPECT_TRUE(model.PerKeySupported());
  EXPECT_TRUE(SentSinceWatch().empty()) << "questions about the list never reach the keyboard";
  SetSupported({5, 18});
  ASSERT_EQ(model.Load(), 0);
  EXPECT_FALSE(model.PerKeySupported());
}

TEST_F(LightingModelTest, SelectModeWritesFieldZeroAndForSomeModesMulticolour) {
  const struct {
    int mode;
    int profile;
    std::uint8_t multicolour_byte;  // as the keyboard holds it before the load
    bool selected;
    std::vector<Sent> sent;
    Changes changed;
  } cases[] = {
      {4, 1, 0xFF, true, {Begin(), Write(42, {4}), End()}, {{42, 4}}},
      {7, 0, 0xFF, true, {Begin(), Write(0, {7}), Write(4, {1}), End()}, {{0, 7}, {4, 1}}},
      {7, 2, 0x00, true, {Begin(), Write(84, {7}), Write(88, {0}), End()}, {{84, 7}}},
      {10, 0, 0xFF, true, {Begin(), Write(0, {10}), End()}, {{0, 10}}},
      {18, 2, 0xFF, true, {Begin(), Write(84, {18}), End()}, {{84, 18}}},
      {20, 0, 0xFF, true, {Begin(), Write(0, {20}), End()}, {{0, 20}}},
      {19, 0, 0xFF, false, {}, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << "mode " << c.mode << " profile " << c.profile);
    SetBlock(c.profile, DistinctBlock(5, 0x40));
    SetByte(FieldAddress(c.profile, kOffMulticolour), c.multicolour_byte);
    LoadProfile(c.profile);
    const int before_mode = model.State().mode;

    EXPECT_EQ(model.SelectMode(model.ComboIndexOfMode(c.mode)), c.selected);

    EXPECT_EQ(SentSinceWatch(), c.sent);
    EXPECT_EQ(ChangedBytes(), c.changed);
    EXPECT_EQ(model.State().mode, c.selected ? c.mode : before_mode);
  }
}

TEST_F(LightingModelTest, SlidersWriteOnlyAChangedValue) {
  enum Slider { Brightness, Speed };
  const struct {
    Slider slider;
    int profile;
    int position;
    bool written;
    int value;  // the stored value afterwards
  } cases[] = {
      // The blocks hold brightness 2 and speed 3.
      {Brightness, 2, 1, true, 1},   // at offset 85
      {Brightness, 0, 5, true, 5},
      {Brightness, 0, 2, false, 2},  // unchanged
      {Brightness, 1, 9, true, 5},   // clamped
      {Brightness, 1, -3, true, 0},
      {Speed, 0, 0, true, 5},
      {Speed, 1, 5, true, 0},
      {Speed, 2, 2, false, 3},       // 5 - 2 is the stored speed
      {Speed, 0, 3, true, 2},
      {Speed, 0, -1, true, 5},
      {Speed, 2, 8, true, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << (c.slider == Brightness ? "brightness" : "speed")
                                      << " profile " << c.profile << " position " << c.position);
    SetBlock(c.profile, DistinctBlock(5, 0x40));
    LoadProfile(c.profile);
    const std::size_t field = c.slider == Brightness ? kOffBrightness : kOffSpeed;
    const bool wrote = c.slider == Brightness ? model.SetBrightness(c.position)
                                              : model.SetSpeed(c.position);
    EXPECT_EQ(wrote, c.written);
    const std::uint16_t address = FieldAddress(c.profile, field);
    const auto byte = static_cast<std::uint8_t>(c.value);
    const std::vector<Sent> sent =
        c.written ? std::vector<Sent>{Begin(), Write(address, {byte}), End()} : std::vector<Sent>{};
    const Changes changed = c.written ? Changes{{address, byte}} : Changes{};
    EXPECT_EQ(SentSinceWatch(), sent);
    EXPECT_EQ(ChangedBytes(), changed);
    EXPECT_EQ(c.slider == Brightness ? model.State().brightness : model.State().speed, c.value);
  }
  EXPECT_EQ(LightingModel::SpeedPosition(5), 0);
  EXPECT_EQ(LightingModel::SpeedPosition(0), 5);
}

TEST_F(LightingModelTest, SetColourTurnsMulticolourOffFirst) {
  LoadProfile(1);
  ASSERT_TRUE(model.State().multicolour);

  model.SetColour(0x563412);  // R 0x12, G 0x34, B 0x56

  const std::vector<Sent> expected = {Begin(), Write(46, {0}), Write(47, {0x12, 0x34, 0x56}), End()};
  EXPECT_EQ(SentSinceWatch(), expected);
  EXPECT_EQ(ChangedBytes(), (Changes{{46, 0}, {47, 0x12}, {48, 0x34}, {49, 0x56}}));
  EXPECT_FALSE(model.State().multicolour);
  EXPECT_EQ(model.State().colour, 0x563412u);
}

TEST_F(LightingModelTest, OneByteSettersWriteTheirFieldOfTheCurrentProfile) {
  const struct {
    const char* what;
    std::function<void(LightingModel&)> act;
    std::size_t field;
    std::uint8_t byte;
    std::function<bool(const LightingState&)> stored;
  } cases[] = {
      {"direction first", [](LightingModel& m) { m.SetDirection(true); }, kOffDirection, 0xFF,
       [](const LightingState& s) { return s.direction == 0xFF; }},
      {"direction second", [](LightingModel& m) { m.SetDirection(false); }, kOffDirection, 0x00,
       [](const LightingState& s) { return s.direction == 0x00; }},
      {"multicolour toggled off", [](LightingModel& m) { m.ToggleMulticolour(); }, kOffMulticolour, 0,
       [](const LightingState& s) { return !s.multicolour; }},
      {"multicolour toggled twice", [](LightingModel& m) { m.ToggleMulticolour(); m.ToggleMulticolour(); },
       kOffMulticolour, 1, [](const LightingState& s) { return s.multicolour; }},
      {"colour choice", [](LightingModel& m) { m.SetColourChoice(3); }, kOffColourChoice, 3,
       [](const LightingState& s) { return s.colour_choice == 3; }},
      {"colour choice clamped", [](LightingModel& m) { m.SetColourChoice(8); }, kOffColourChoice, 3,
       [](const LightingState& s) { return s.colour_choice == 3; }},
      {"report rate", [](LightingModel& m) { m.SetReportRate(0); }, kOffReportRate, 0,
       [](const LightingState& s) { return s.report_rate == 0; }},
      {"report rate clamped", [](LightingModel& m) { m.SetReportRate(-2); }, kOffReportRate, 0,
       [](const LightingState& s) { return s.report_rate == 0; }},
  };
  for (const int profile : {0, 2}) {
    for (const auto& c : cases) {
      SCOPED_TRACE(::testing::Message() << c.what << " profile " << profile);
      SetBlock(profile, DistinctBlock(5, 0x40));
      SetByte(FieldAddress(profile, kOffDirection), 0x7E);  // neither direction, so both show
      LoadProfile(profile);
      c.act(model);
      const std::uint16_t address = FieldAddress(profile, c.field);
      const auto sent = SentSinceWatch();
      ASSERT_FALSE(sent.empty());
      EXPECT_EQ(sent.back(), End());
      EXPECT_EQ(sent[sent.size() - 2], Write(address, {c.byte}));
      const Changes changed = c.byte == WatchedByte(address) ? Changes{} : Changes{{address, c.byte}};
      EXPECT_EQ(ChangedBytes(), changed);
      EXPECT_TRUE(c.stored(model.State()));
    }
  }
}

TEST_F(LightingModelTest, LightSwitchStoresAndPersists) {
  LoadProfile(0);
  model.SetLightSwitch(true);
  EXPECT_TRUE(model.State().light_switch);
  EXPECT_EQ((ini.values[{u"KEYCOLOR", u"DengCheck"}]), u"1");
  model.SetLightSwitch(false);
  EXPECT_FALSE(model.State().light_switch);
  EXPECT_EQ((ini.values[{u"KEYCOLOR", u"DengCheck"}]), u"0");
  EXPECT_TRUE(SentSinceWatch().empty());
}

TEST_F(LightingModelTest, DefaultsTakeTheValuesAndWriteTheBlockButNotTheTail) {
  for (const int profile : {0, 2}) {
    SCOPED_TRACE(::testing::Message() << "profile " << profile);
    SetBlock(profile, DistinctBlock(5, 0x40));
    LoadProfile(profile);
    const LightingState before = model.State();

    model.TakeDefaultValues();
    model.WriteDefaultBlock();

    const auto block = DefaultBlock();
    const std::uint16_t base = FieldAddress(profile, 0);
    const std::vector<Sent> expected = {Begin(), Write(base, Bytes(block.begin(), block.end())), End()};
    EXPECT_EQ(SentSinceWatch(), expected);
    const Bytes old = DistinctBlock(5, 0x40);
    Changes want;
    for (std::size_t i = 0; i < block.size(); ++i) {
      if (block[i] != old[i]) want[base + i] = block[i];
    }
    EXPECT_EQ(ChangedBytes(), want) << "bytes 35..41 stay as they were";

    const LightingState& s = model.State();
    EXPECT_EQ(s.mode, before.mode) << "the mode is selected separately";
    EXPECT_EQ(s.brightness, 5);
    EXPECT_EQ(s.speed, 3);
    EXPECT_EQ(s.direction, 0x00);
    EXPECT_TRUE(s.multicolour);
    EXPECT_EQ(s.colour, 0x0000FFu);
    EXPECT_EQ(s.report_rate, 0);
  }
}

TEST_F(LightingModelTest, ProfileOutsideTheThreeIsIgnored) {
  model.SetCurrentProfile(2);
  for (const int bad : {-1, 3, 42}) {
    model.SetCurrentProfile(bad);
    EXPECT_EQ(model.State().current_profile, 2) << bad;
  }
}

// A keyboard that does not answer the start of a write's bracket gets nothing more from that
// write: each further packet would only wait out its reply time on a dead link.
struct DeadLinkCase {
  const char* name;
  std::function<void(LightingModel&, PerKeyColours&)> write;
};

class LightingWriteOnDeadLink : public ::testing::TestWithParam<DeadLinkCase> {};

TEST_P(LightingWriteOnDeadLink, StopsAfterTheUnansweredBracketStart) {
  testing::DeviceRig rig(1, std::chrono::milliseconds{50});
  testing::MemoryIniProfile ini;
  LightSwitchSetting setting(ini, u"");
  LightingModel model(rig.commands, setting, [](int) { return std::u16string(u"Mode"); });
  ColourFile file(ini, platform::PortableFileSystem(), u"");
  PerKeyColours colours(rig.commands, file);
  ASSERT_EQ(model.Load(), 0);
  model.BuildModeList();
  const std::size_t mark = rig.library.SentPackets().size();
  rig.library.WithModel([](sim::KeyboardModel& m) {
    m.InjectFault(sim::Fault::Drop, 100);  // more than the exchange's own tries
    return 0;
  });

  GetParam().write(model, colours);

  const auto sent = rig.library.SentPackets();
  ASSERT_GT(sent.size(), mark);
  for (std::size_t i = mark; i < sent.size(); ++i) {
    EXPECT_EQ(device::PacketCommand(sent[i]), kCmdBeginTransfer) << "packet " << i - mark;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Writes, LightingWriteOnDeadLink,
    ::testing::Values(
        DeadLinkCase{"Brightness", [](LightingModel& m, PerKeyColours&) { m.SetBrightness(1); }},
        DeadLinkCase{"Mode", [](LightingModel& m, PerKeyColours&) {
                       m.SelectMode(m.ComboIndexOfMode(7));
                     }},
        DeadLinkCase{"Colour", [](LightingModel& m, PerKeyColours&) { m.SetColour(kRed); }},
        DeadLinkCase{"DefaultBlock", [](LightingModel& m, PerKeyColours&) { m.WriteDefaultBlock(); }},
        DeadLinkCase{"AllColours", [](LightingModel&, PerKeyColours& c) { c.SendAllColours(0); }},
        DeadLinkCase{"PaintKey", [](LightingModel&, PerKeyColours& c) {
                       c.PaintKey(0, keys::KeyButtonTable()[0].control_id);
                     }}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace vendrel::lighting
