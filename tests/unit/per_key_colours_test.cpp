// Per-key colours against the keyboard model and real colour files: loading a slot and sending it,
// painting keys with either tool, following the base colour, slots, and which bytes of the
// keyboard's colour area each step changes.
#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "device/command_codes.h"
#include "device/packet_frame.h"
#include "keys/key_table.h"
#include "lighting/colour_file.h"
#include "lighting/per_key_colours.h"
#include "platform/file_system.h"
#include "platform/ini_profile_file.h"
#include "support/device_rig.h"
#include "support/memory_ini_profile.h"
#include "support/temp_folder.h"

namespace vendrel::lighting {
namespace {

namespace fs = std::filesystem;

using device::kCmdBeginTransfer;
using device::kCmdEndTransfer;
using device::kCmdWriteColours;

constexpr std::uint8_t kUntouched = 0xA5;  // what the colour area holds before a test
constexpr std::size_t kAreaPerProfile = 512;
constexpr Colour kBlue = MakeColour(0, 0, 255);
constexpr Colour kGreen = MakeColour(0, 255, 0);
constexpr int kKeyA = 1058;  // LED 64
constexpr int kKeyB = 1075;  // LED 90
constexpr int kEsc = 1022;   // LED 0

struct SentPacket {
  std::uint8_t command;
  std::uint8_t length;
  std::uint16_t address;
  friend bool operator==(const SentPacket&, const SentPacket&) = default;
};

std::ostream& operator<<(std::ostream& os, const SentPacket& p) {
  return os << "cmd " << int(p.command) << " len " << int(p.length) << " at " << p.address;
}

std::ostream& operator<<(std::ostream& os, const KeyColour& k) {
  return os << "(" << int(RedOf(k.colour)) << "," << int(GreenOf(k.colour)) << ","
            << int(BlueOf(k.colour)) << (k.follows_base ? " follows)" : " own)");
}

std::ostream& operator<<(std::ostream& os, const KeyRecolour& k) {
  return os << k.control_id << ":" << std::hex << k.colour << std::dec;
}

std::vector<SentPacket> SendAllPackets(int profile) {
  std::vector<SentPacket> out{{kCmdBeginTransfer, 0, 0}};
  for (int k = 0; k < 7; ++k) {
    out.push_back({kCmdWriteColours, 54, static_cast<std::uint16_t>(profile * 512 + 54 * k)});
  }
  out.push_back({kCmdEndTransfer, 0, 0});
  return out;
}

std::vector<SentPacket> OneKeyPackets(int profile, int led) {
  return {{kCmdBeginTransfer, 0, 0},
          {kCmdWriteColours, 3, static_cast<std::uint16_t>(profile * 512 + led * 3)},
          {kCmdEndTransfer, 0, 0}};
}

// The LEDs the program paints: the key buttons and the Fn key.
std::vector<int> PaintedLeds() {
  std::vector<int> leds;
  for (const keys::KeyButton& b : keys::KeyButtonTable()) leds.push_back(b.led);
  leds.push_back(keys::kFnLedIndex);
  return leds;
}

std::u16string Decimal(int n) {
  const std::string s = std::to_string(n);
  return {s.begin(), s.end()};
}

std::array<Colour, kLedCount> KeysIn(Colour colour) {
  std::array<Colour, kLedCount> leds{};
  for (int led : PaintedLeds()) leds[led] = colour;
  return leds;
}

// area with the profile's LEDs 0..125 set to leds, everything else as it was.
std::vector<std::uint8_t> WithProfile(std::vector<std::uint8_t> area, int profile,
                                      const std::array<Colour, kLedCount>& leds) {
  for (int led = 0; led < kLedCount; ++led) {
    const std::size_t at = profile * kAreaPerProfile + led * 3;
    area[at] = RedOf(leds[led]);
    area[at + 1] = GreenOf(leds[led]);
    area[at + 2] = BlueOf(leds[led]);
  }
  return area;
}

class PerKeyColoursTest : public ::testing::Test {
 protected:
  PerKeyColoursTest() {
    const std::vector<std::uint8_t> fill(3 * kAreaPerProfile, kUntouched);
    rig.library.WithModel([&](sim::KeyboardModel& m) { return m.WriteArea(sim::Area::Colours, 0, fill); });
  }

  std::vector<std::uint8_t> ModelColours() {
    return rig.library.WithModel([](sim::KeyboardModel& m) {
      const auto bytes = m.AreaBytes(sim::Area::Colours);
      return std::vector<std::uint8_t>(bytes.begin(), bytes.end());
    });
  }

  // Starts a step: what was sent so far is no longer reported.
  void Mark() { mark_ = rig.library.SentPackets().size(); }
  // The transfer brackets and colour writes sent since Mark.
  std::vector<SentPacket> Sent() const {
    std::vector<SentPacket> out;
    const auto all = rig.library.SentPackets();
    for (std::size_t i = mark_; i < all.size(); ++i) {
      const std::uint8_t cmd = device::PacketCommand(all[i]);
      if (cmd == kCmdBeginTransfer || cmd == kCmdEndTransfer || cmd == kCmdWriteColours) {
        out.push_back({cmd, device::PacketLength(all[i]), device::PacketAddress(all[i])});
      }
    }
    return out;
  }

  void WriteRaw(int profile, const std::string& text) {
    std::ofstream out(fs::path(file.Path(profile)), std::ios::binary);
    out << text;
  }
  std::string ReadRaw(int profile) const {
    std::ifstream in(fs::path(file.Path(profile)), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }
  bool FolderEmpty() const { return fs::is_empty(folder.Path()); }

  testing::TempFolder folder;
  platform::IniFileProfile ini{platform::PortableFileSystem()};
  ColourFile file{ini, platform::PortableFileSystem(), folder.File("UserDengColor_")};
  testing::DeviceRig rig;
  PerKeyColours colours{rig.commands, file};

 private:
  std::size_t mark_ = 0;
};

TEST_F(PerKeyColoursTest, MissingFileShowsEveryKeyRedFollowingABlackBase) {
  for (int profile = 0; profile < kProfileCount; ++profile) {
    SCOPED_TRACE(profile);
    const auto before = ModelColours();
    Mark();
    colours.LoadActiveSlot(profile);

    EXPECT_EQ(colours.Slot(), (SlotState{0, 0, kBlack, kBlack}));
    for (const keys::KeyButton& b : keys::KeyButtonTable()) {
      EXPECT_EQ(colours.ControlColour(profile, b.control_id), kRed) << b.control_id;
      EXPECT_TRUE(colours.FollowsBase(profile, b.control_id)) << b.control_id;
    }
    EXPECT_EQ(colours.ControlColour(profile, keys::kFnControlId), kRed);
    EXPECT_TRUE(colours.FollowsBase(profile, keys::kFnControlId));
    for (int g : keys::kGKeyControlIds) {
      EXPECT_EQ(colours.ControlColour(profile, g), kBlack) << g;
      EXPECT_FALSE(colours.FollowsBase(profile, g)) << g;
    }
    EXPECT_EQ(colours.LedColour(profile, 13), kBlack);  // no key has LED 13
    EXPECT_EQ(colours.LedColour(profile, keys::kFnLedIndex), kRed);

    EXPECT_EQ(Sent(), SendAllPackets(profile));
    // Red keys and Fn, black between them, bytes 378..511 and other profiles untouched.
    EXPECT_EQ(ModelColours(), WithProfile(before, profile, KeysIn(kRed)));
  }
  EXPECT_TRUE(FolderEmpty());  // loading writes no file
}

TEST_F(PerKeyColoursTest, LoadReadsTheActiveSlotEvenBeyondTheComboEntries) {
  WriteRaw(2,
           "[PRESENTMODE]\r\nmode=12\r\n"
           "[Mode12]\r\ntool=1\r\njcolor=0,255,0\r\ncolor=0,0,255\r\n"
           "64=0,0,255,0\r\n110=1,2,3,1\r\n0=300,-5,7\r\n"
           "[Mode0]\r\n64=9,9,9,1\r\n");
  const auto before = ModelColours();
  Mark();
  colours.LoadActiveSlot(2);

  EXPECT_EQ(colours.Slot(), (SlotState{12, 1, kBlue, kGreen}));
  EXPECT_EQ(colours.ControlColour(2, kKeyA), kBlue);
  EXPECT_FALSE(colours.FollowsBase(2, kKeyA));
  EXPECT_EQ(colours.ControlColour(2, keys::kFnControlId), MakeColour(1, 2, 3));
  EXPECT_TRUE(colours.FollowsBase(2, keys::kFnControlId));
  EXPECT_EQ(colours.ControlColour(2, kEsc), MakeColour(255, 0, 7));
  EXPECT_FALSE(colours.FollowsBase(2, kEsc));
  EXPECT_EQ(colours.ControlColour(2, kKeyB), kRed);

  auto leds = KeysIn(kRed);
  leds[64] = kBlue;
  leds[keys::kFnLedIndex] = MakeColour(1, 2, 3);
  leds[0] = MakeColour(255, 0, 7);
  EXPECT_EQ(Sent(), SendAllPackets(2));
  EXPECT_EQ(ModelColours(), WithProfile(before, 2, leds));
}

struct PaintCase {
  int profile;
  int tool;
  int control_id;
  int led;
};

TEST_F(PerKeyColoursTest, PaintingWritesOneKeyToKeyboardTableAndFile) {
  constexpr Colour kPaint = MakeColour(10, 20, 30);
  constexpr Colour kBase = MakeColour(40, 50, 60);
  const PaintCase cases[] = {
      {1, 0, kKeyA, 64},  // 3 bytes at 512 + 192 = 704
      {1, 1, kKeyA, 64},
      {0, 0, keys::kFnControlId, keys::kFnLedIndex},
      {2, 1, 1111, 62},
      {0, 1, kEsc, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << "profile " << c.profile << " tool " << c.tool << " key "
                                      << c.control_id);
    WriteRaw(c.profile, "[PRESENTMODE]\r\nmode=6\r\n[Mode6]\r\ntool=" + std::to_string(c.tool) +
                            "\r\njcolor=40,50,60\r\ncolor=10,20,30\r\n");
    colours.LoadActiveSlot(c.profile);
    const auto before = ModelColours();
    Mark();

    const std::optional<Colour> painted = colours.PaintKey(c.profile, c.control_id);

    const Colour expected = c.tool == 1 ? kBase : kPaint;
    EXPECT_EQ(painted, expected);
    EXPECT_EQ(Sent(), OneKeyPackets(c.profile, c.led));
    auto after = before;
    const std::size_t at = c.profile * kAreaPerProfile + c.led * 3;
    after[at] = RedOf(expected);
    after[at + 1] = GreenOf(expected);
    after[at + 2] = BlueOf(expected);
    EXPECT_EQ(ModelColours(), after);
    EXPECT_EQ(colours.ControlColour(c.profile, c.control_id), expected);
    EXPECT_EQ(colours.LedColour(c.profile, c.led), expected);
    EXPECT_EQ(colours.FollowsBase(c.profile, c.control_id), c.tool == 1);
    EXPECT_EQ(file.ReadKeyColour(c.profile, 6, c.led), (KeyColour{expected, c.tool == 1}));
    EXPECT_EQ(file.ReadKeyColour(c.profile, 0, c.led), (KeyColour{kRed, true}));  // other slot
    EXPECT_EQ(colours.ControlColour(c.profile, kKeyB), kRed);  // other keys keep theirs
  }
}

TEST_F(PerKeyColoursTest, OnlyKeyButtonsAndFnArePaintable) {
  for (const keys::KeyButton& b : keys::KeyButtonTable()) {
    EXPECT_TRUE(PerKeyColours::IsPaintable(b.control_id)) << b.control_id;
  }
  EXPECT_TRUE(PerKeyColours::IsPaintable(keys::kFnControlId));

  colours.LoadActiveSlot(0);
  const auto before = ModelColours();
  const int others[] = {1000, 1004, 1140, 1143, 0, -1, 1021, 1175, 99999};
  for (int id : others) {
    SCOPED_TRACE(id);
    EXPECT_FALSE(PerKeyColours::IsPaintable(id));
    Mark();
    EXPECT_EQ(colours.PaintKey(0, id), std::nullopt);
    EXPECT_EQ(Sent(), std::vector<SentPacket>{});
  }
  EXPECT_EQ(ModelColours(), before);
  EXPECT_EQ(colours.LedColour(0, keys::kGKeyLedIndex), kBlack);
  EXPECT_EQ(colours.ControlColour(0, kEsc), kRed);  // LED 0 is no fallback for unknown ids
  EXPECT_TRUE(FolderEmpty());
}

TEST_F(PerKeyColoursTest, BaseColourRecoloursOnlyTheKeysThatFollowIt) {
  constexpr int kProfile = 1;
  constexpr Colour kPaint = MakeColour(1, 2, 3);
  constexpr Colour kNewBase = MakeColour(7, 8, 9);
  colours.LoadActiveSlot(kProfile);
  colours.SetPaintColour(kProfile, kPaint);
  colours.SetTool(kProfile, 1);
  colours.PaintKey(kProfile, kKeyA);  // black base, follows it
  colours.SetTool(kProfile, 0);
  colours.PaintKey(kProfile, kKeyB);  // own colour
  const auto before = ModelColours();
  Mark();

  const std::vector<KeyRecolour> changed = colours.SetBaseColour(kProfile, kNewBase);

  std::vector<KeyRecolour> expected;
  for (const keys::KeyButton& b : keys::KeyButtonTable()) {
    if (b.control_id != kKeyB) expected.push_back({b.control_id, kNewBase});
  }
  expected.push_back({keys::kFnControlId, kNewBase});
  EXPECT_EQ(changed, expected);  // no G key: none follows the base colour
  EXPECT_EQ(colours.Slot(), (SlotState{0, 0, kPaint, kNewBase}));
  EXPECT_EQ(colours.ControlColour(kProfile, kKeyA), kNewBase);
  EXPECT_EQ(colours.ControlColour(kProfile, kKeyB), kPaint);
  EXPECT_EQ(colours.LedColour(kProfile, keys::kGKeyLedIndex), kBlack);

  auto leds = KeysIn(kNewBase);
  leds[90] = kPaint;
  EXPECT_EQ(Sent(), SendAllPackets(kProfile));
  EXPECT_EQ(ModelColours(), WithProfile(before, kProfile, leds));

  EXPECT_EQ(file.ReadSlotSettings(kProfile, 0), (SlotSettings{0, kNewBase, kPaint}));
  EXPECT_EQ(file.ReadKeyColour(kProfile, 0, 64), (KeyColour{kNewBase, true}));
  EXPECT_EQ(file.ReadKeyColour(kProfile, 0, 90), (KeyColour{kPaint, false}));
  EXPECT_EQ(file.ReadKeyColour(kProfile, 0, 0), (KeyColour{kNewBase, true}));
  EXPECT_EQ(file.ReadKeyColour(kProfile, 0, keys::kFnLedIndex), (KeyColour{kNewBase, true}));

  // Painted afterwards with the paint colour, the key keeps it through the next base change.
  colours.PaintKey(kProfile, kKeyA);
  const auto again = colours.SetBaseColour(kProfile, kBlue);
  EXPECT_EQ(colours.ControlColour(kProfile, kKeyA), kPaint);
  EXPECT_FALSE(colours.FollowsBase(kProfile, kKeyA));
  EXPECT_EQ(file.ReadKeyColour(kProfile, 0, 64), (KeyColour{kPaint, false}));
  EXPECT_EQ(again.size(), expected.size() - 1);
  for (const KeyRecolour& k : again) EXPECT_NE(k.control_id, kKeyA);
  EXPECT_EQ(colours.ControlColour(kProfile, kEsc), kBlue);
}

TEST_F(PerKeyColoursTest, TheCurrentBaseColourChangesNothing) {
  WriteRaw(0, "[PRESENTMODE]\r\nmode=2\r\n[Mode2]\r\njcolor=0,255,0\r\n");
  colours.LoadActiveSlot(0);
  const std::string text = ReadRaw(0);
  const auto before = ModelColours();
  Mark();
  // The byte above the colour is no part of it.
  for (const Colour same : {kGreen, kGreen | 0xFF000000u}) {
    EXPECT_EQ(colours.SetBaseColour(0, same), std::vector<KeyRecolour>{});
  }
  EXPECT_EQ(Sent(), std::vector<SentPacket>{});
  EXPECT_EQ(ModelColours(), before);
  EXPECT_EQ(ReadRaw(0), text);
  EXPECT_EQ(colours.Slot().base, kGreen);
}

TEST_F(PerKeyColoursTest, SlotsAreSelectedLoadedAndNamed) {
  WriteRaw(0, "[Mode3]\r\ntool=1\r\njcolor=0,255,0\r\n64=0,0,255,0\r\n");
  colours.LoadActiveSlot(0);
  const auto before = ModelColours();
  Mark();
  colours.SelectSlot(0, 3);

  EXPECT_EQ(file.ReadActiveSlot(0), 3);
  EXPECT_EQ(colours.Slot(), (SlotState{3, 1, kBlack, kGreen}));
  EXPECT_EQ(colours.ControlColour(0, kKeyA), kBlue);
  EXPECT_EQ(Sent(), SendAllPackets(0));
  auto leds = KeysIn(kRed);
  leds[64] = kBlue;
  EXPECT_EQ(ModelColours(), WithProfile(before, 0, leds));

  colours.RenameSlot(0, u"Night");
  std::array<std::u16string, kSlotCount> names;
  names.fill(u"0");
  names[3] = u"Night";
  EXPECT_EQ(colours.SlotNames(0), names);
  names[3] = u"0";
  EXPECT_EQ(colours.SlotNames(1), names);

  // No combo entry, nothing done: the file, the slot and the keyboard stay as they are.
  const std::string text = ReadRaw(0);
  Mark();
  for (int slot : {-1, 10, 12}) {
    colours.SelectSlot(0, slot);
    EXPECT_EQ(colours.Slot().active_slot, 3) << slot;
  }
  EXPECT_EQ(ReadRaw(0), text);
  EXPECT_EQ(Sent(), std::vector<SentPacket>{});
}

TEST_F(PerKeyColoursTest, ResetLoadsAndSendsTheTemplate) {
  const std::string factory = "[PRESENTMODE]\r\nmode=2\r\n[Mode2]\r\n64=0,0,255,0\r\n";
  WriteRaw(kTemplateProfile, factory);
  WriteRaw(1, "[PRESENTMODE]\r\nmode=5\r\n[Mode5]\r\n64=9,9,9,0\r\n");
  colours.LoadActiveSlot(1);
  ASSERT_EQ(colours.ControlColour(1, kKeyA), MakeColour(9, 9, 9));
  const auto before = ModelColours();
  Mark();

  colours.ResetFromTemplate(1);

  EXPECT_EQ(ReadRaw(1), factory);
  EXPECT_EQ(colours.Slot(), (SlotState{2, 0, kBlack, kBlack}));
  auto leds = KeysIn(kRed);
  leds[64] = kBlue;
  EXPECT_EQ(Sent(), SendAllPackets(1));
  EXPECT_EQ(ModelColours(), WithProfile(before, 1, leds));
}

TEST_F(PerKeyColoursTest, ProfilesOutsideTheThreeDoNothing) {
  colours.LoadActiveSlot(0);
  const SlotState slot = colours.Slot();
  const auto before = ModelColours();
  Mark();
  for (int profile : {-1, 3, 100}) {
    SCOPED_TRACE(profile);
    colours.LoadActiveSlot(profile);
    colours.SendAllColours(profile);
    EXPECT_EQ(colours.PaintKey(profile, kKeyA), std::nullopt);
    EXPECT_EQ(colours.SetBaseColour(profile, kBlue), std::vector<KeyRecolour>{});
    colours.SetPaintColour(profile, kBlue);
    colours.SetTool(profile, 1);
    colours.SelectSlot(profile, 1);
    colours.RenameSlot(profile, u"x");
    colours.ResetFromTemplate(profile);
    EXPECT_EQ(colours.LedColour(profile, 64), kBlack);
    EXPECT_EQ(colours.ControlColour(profile, kKeyA), kBlack);
    EXPECT_FALSE(colours.FollowsBase(profile, kKeyA));
  }
  EXPECT_EQ(colours.LedColour(0, -1), kBlack);
  EXPECT_EQ(colours.LedColour(0, kLedCount), kBlack);
  EXPECT_EQ(colours.Slot(), slot);
  EXPECT_EQ(Sent(), std::vector<SentPacket>{});
  EXPECT_EQ(ModelColours(), before);
  EXPECT_TRUE(FolderEmpty());
}

// ---- The slot settings each control writes ----------------------------------------------

class SlotSettingsWriteTest : public ::testing::Test {
 protected:
  SlotSettingsWriteTest() {
    ini.values[{u"PRESENTMODE", u"mode"}] = u"7";
    colours.LoadActiveSlot(0);
    ini.writes.clear();
  }
  testing::MemoryIniProfile ini;
  ColourFile file{ini, platform::PortableFileSystem(), u"unused_"};
  testing::DeviceRig rig;
  PerKeyColours colours{rig.commands, file};
};

TEST_F(SlotSettingsWriteTest, ToolAndColoursAreWrittenTogetherToTheActiveSlot) {
  using W = testing::MemoryIniProfile::Write;
  colours.SetTool(0, 1);
  colours.SetPaintColour(0, MakeColour(1, 2, 3));
  colours.SetTool(0, 2);  // no such tool: ignored
  colours.SetTool(0, -1);
  colours.SetBaseColour(0, MakeColour(4, 5, 6));
  colours.SetTool(0, 0);
  const std::vector<W> settings = {
      {u"Mode7", u"tool", u"1"},     {u"Mode7", u"jcolor", u"0,0,0"}, {u"Mode7", u"color", u"0,0,0"},
      {u"Mode7", u"tool", u"1"},     {u"Mode7", u"jcolor", u"0,0,0"}, {u"Mode7", u"color", u"1,2,3"},
      {u"Mode7", u"tool", u"1"},     {u"Mode7", u"jcolor", u"4,5,6"}, {u"Mode7", u"color", u"1,2,3"},
  };
  ASSERT_GE(ini.writes.size(), settings.size() + 3);
  EXPECT_EQ(std::vector<W>(ini.writes.begin(), ini.writes.begin() + settings.size()), settings);
  // Then the entry of every following key, and last the tool change.
  std::vector<W> keys;
  for (int led : PaintedLeds()) keys.push_back({u"Mode7", Decimal(led), u"4,5,6,1"});
  EXPECT_EQ(std::vector<W>(ini.writes.begin() + settings.size(), ini.writes.end() - 3), keys);
  const std::vector<W> last = {
      {u"Mode7", u"tool", u"0"}, {u"Mode7", u"jcolor", u"4,5,6"}, {u"Mode7", u"color", u"1,2,3"}};
  EXPECT_EQ(std::vector<W>(ini.writes.end() - 3, ini.writes.end()), last);
  EXPECT_EQ(colours.Slot(), (SlotState{7, 0, MakeColour(1, 2, 3), MakeColour(4, 5, 6)}));
}

}  // namespace
}  // namespace vendrel::lighting
