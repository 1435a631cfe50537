// The lighting panel's logic against the keyboard model behind the fake library: what each mode
// shows, the light switch, routing of key clicks, the connection-time read, the slider mappings and
// the lighting half of "restore defaults", checked through the recorded view, the keyboard's
// memory and the files.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "app/lighting_panel_controls.h"
#include "app/lighting_panel_logic.h"
#include "app/lighting_parts.h"
#include "device/command_codes.h"
#include "device/packet_frame.h"
#include "keys/key_table.h"
#include "platform/ini_profile_file.h"
#include "support/device_rig.h"
#include "support/temp_folder.h"

namespace vendrel::app {
namespace {

using lighting::Colour;
using lighting::MakeColour;

class RecordingPanel final : public LightingPanelView {
 public:
  void ShowPanelControl(int id, bool visible) override { visible_[id] = visible; }
  void SetPanelImage(int id, std::u16string_view bitmap) override { image[id] = bitmap; }
  void SetSlider(int id, int position, std::u16string_view picture) override {
    slider[id] = {position, std::u16string(picture)};
  }
  void SetModeEntries(const std::vector<lighting::ModeEntry>& e) override { entries = e; }
  void SelectModeEntry(int index) override { mode_selection = index; }
  void SetColourButton(int id, Colour colour) override { colour_button[id] = colour; }
  void PressReportButton(int rate) override { report = rate; }
  void SetSlotNames(const std::array<std::u16string, lighting::kSlotCount>& n) override {
    slot_names = n;
  }
  void SelectSlotEntry(int slot) override { slot_selection = slot; }
  void ReplaceSlotEntry(int slot, std::u16string_view text) override {
    slot_names[static_cast<std::size_t>(slot)] = text;
  }
  void PlaceControl(int id, std::u16string_view key) override { placed[id] = key; }
  void ShowKeyColour(int id, Colour colour) override { key_colour[id] = colour; }
  void ShowNormalKeys() override {
    key_colour.clear();
    ++normal_keys;
  }

  bool Visible(int id) const {
    const auto it = visible_.find(id);
    return it != visible_.end() && it->second;
  }
  std::set<int> VisibleSwitched() const {
    std::set<int> out;
    for (const int id : SwitchedPanelControls()) {
      if (Visible(id)) out.insert(id);
    }
    return out;
  }

  std::map<int, bool> visible_;
  std::map<int, std::u16string> image;
  std::map<int, std::pair<int, std::u16string>> slider;
  std::vector<lighting::ModeEntry> entries;
  int mode_selection = -2;
  std::map<int, Colour> colour_button;
  int report = -1;
  std::array<std::u16string, lighting::kSlotCount> slot_names{};
  int slot_selection = -2;
  std::map<int, std::u16string> placed;
  std::map<int, Colour> key_colour;
  int normal_keys = 0;
};

class FakeScenes final : public LightingPanelServices {
 public:
  bool SwitchScene(int profile) override {
    switched.push_back(profile);
    return agree;
  }
  int KeyboardActiveProfile() override { return active; }
  bool agree = true;
  int active = 0;
  std::vector<int> switched;
};

// Every mode has a name except 19, as in the shipped skin.
std::u16string NameOf(int mode) {
  if (mode == 19) return u"1";
  std::u16string name = u"M";
  for (const char c : std::to_string(mode)) name.push_back(static_cast<char16_t>(c));
  return name;
}

class LightingPanel : public ::testing::Test {
 protected:
  LightingPanel()
      : parts(rig.commands, ini, platform::PortableFileSystem(), folder.File("wskb.ini"),
              folder.File("UserDengColor_"), NameOf),
        logic(view, scenes, parts.model, parts.colours) {}

  std::vector<std::uint8_t> Area(sim::Area area) {
    return rig.library.WithModel([&](sim::KeyboardModel& m) {
      const auto bytes = m.AreaBytes(area);
      return std::vector<std::uint8_t>(bytes.begin(), bytes.end());
    });
  }
  void SetModeList(std::vector<std::uint8_t> modes) {
    modes.resize(device::kModeListSize, 0);
    rig.library.WithModel([&](sim::KeyboardModel& m) {
      return m.WriteArea(sim::Area::Info, device::kInfoOffModeList, modes);
    });
  }
  void SetKeyboardProfile(int profile) {
    const std::uint8_t p = static_cast<std::uint8_t>(profile);
    rig.library.WithModel([&](sim::KeyboardModel& m) {
      return m.WriteArea(sim::Area::Info, device::kInfoOffActiveProfile, std::span(&p, 1));
    });
  }
  void SetLightingField(int profile, std::size_t offset, std::uint8_t value) {
    rig.library.WithModel([&](sim::KeyboardModel& m) {
      return m.WriteArea(sim::Area::Lighting, static_cast<std::size_t>(profile) * 42 + offset,
                         std::span(&value, 1));
    });
  }
  void SwitchOn() {
    std::ofstream(folder.Path() / "wskb.ini") << "[KEYCOLOR]\nDengCheck=1\n";
  }
  // Connects with the mode selected in the keyboard and the light switch on.
  void ConnectInMode(int mode, int profile = 0) {
    SwitchOn();
    SetLightingField(profile, 0, static_cast<std::uint8_t>(mode));
    logic.LoadOnConnect(profile);
  }
  std::size_t SentSoFar() const { return rig.library.SentPackets().size(); }
  // The command codes sent since the mark.
  std::vector<std::uint8_t> SentCommands(std::size_t mark) {
    const std::vector<device::Packet> sent = rig.library.SentPackets();
    std::vector<std::uint8_t> out;
    for (std::size_t i = mark; i < sent.size(); ++i) out.push_back(device::PacketCommand(sent[i]));
    return out;
  }

  testing::DeviceRig rig;
  testing::TempFolder folder;
  platform::IniFileProfile ini;
  RecordingPanel view;
  FakeScenes scenes;
  LightingParts parts;
  LightingPanelLogic logic;
};

// ---- what each mode shows ----------------------------------------------------------------------

struct VisibilityCase {
  int mode;
  std::set<int> shown;
};

class PanelVisibility : public LightingPanel, public ::testing::WithParamInterface<VisibilityCase> {};

TEST_P(PanelVisibility, SwitchOnShowsExactlyTheModesControls) {
  ConnectInMode(GetParam().mode);
  EXPECT_EQ(view.VisibleSwitched(), GetParam().shown);
}

const std::set<int> kBase{IDC_MODE_COMBO, IDC_BRIGHTNESS_LABEL, IDC_BRIGHTNESS_SLIDER};
std::set<int> With(std::set<int> more) {
  more.insert(kBase.begin(), kBase.end());
  return more;
}
const std::set<int> kSpeed{IDC_SPEED_LABEL, IDC_SPEED_SLIDER};
const std::set<int> kDirection{IDC_DIRECTION_LABEL, IDC_DIRECTION_FIRST, IDC_DIRECTION_SECOND};
const std::set<int> kColourA{IDC_COLOUR_A_LABEL, IDC_COLOUR_A_BUTTON, IDC_MULTI_A_TOGGLE,
                             IDC_MULTI_A_LABEL};
const std::set<int> kColourB{IDC_COLOUR_B_LABEL, IDC_COLOUR_B_BUTTON, IDC_MULTI_B_TOGGLE,
                             IDC_MULTI_B_LABEL};
std::set<int> Join(std::initializer_list<std::set<int>> sets) {
  std::set<int> out;
  for (const auto& s : sets) out.insert(s.begin(), s.end());
  return out;
}

INSTANTIATE_TEST_SUITE_P(
    Modes, PanelVisibility,
    ::testing::Values(
        VisibilityCase{1, With(Join({kSpeed, kDirection, kColourB}))},
        VisibilityCase{4, With(kSpeed)},
        VisibilityCase{6, With(kColourA)},
        VisibilityCase{10, With(Join({kSpeed, kColourB}))},
        VisibilityCase{12, With(Join({kSpeed, kDirection}))},
        VisibilityCase{16, With(kColourA)},
        VisibilityCase{17, With({IDC_CHOICE_RED, IDC_CHOICE_YELLOW, IDC_CHOICE_GREEN,
                                 IDC_CHOICE_BLUE})},
        VisibilityCase{18, With(kDirection)},
        VisibilityCase{20, With({IDC_PAINT_LABEL, IDC_PAINT_BUTTON, IDC_BASE_LABEL,
                                 IDC_BASE_BUTTON, IDC_TOOL_LABEL, IDC_TOOL_0, IDC_TOOL_1,
                                 IDC_SLOT_COMBO})},
        // A mode the program does not know keeps only the mode list, to pick another.
        VisibilityCase{19, {IDC_MODE_COMBO}}),
    [](const auto& info) { return "Mode" + std::to_string(info.param.mode); });

TEST_F(LightingPanel, SwitchOffHidesEveryControlOfTheTableAndKeysOpenTheirDialog) {
  SetLightingField(0, 0, 20);
  logic.LoadOnConnect(0);  // no wskb.ini: the switch reads off
  EXPECT_TRUE(view.VisibleSwitched().empty());
  EXPECT_EQ(view.image[IDC_LIGHT_SWITCH], u"dengup.bmp");
  EXPECT_FALSE(logic.OnKeyClick(keys::KeyButtonTable()[0].control_id));
  EXPECT_FALSE(logic.OnKeyClick(keys::kFnControlId));
}

struct DirectionCase {
  int mode;
  std::uint8_t direction;
  std::u16string first_place, first_image, second_image;
};

class PanelDirection : public LightingPanel, public ::testing::WithParamInterface<DirectionCase> {};

TEST_P(PanelDirection, ImagesAndPlacesFollowTheModesLayoutSet) {
  const DirectionCase& c = GetParam();
  SetLightingField(0, 3, c.direction);
  ConnectInMode(c.mode);
  EXPECT_EQ(view.placed[IDC_DIRECTION_FIRST], c.first_place);
  EXPECT_EQ(view.image[IDC_DIRECTION_FIRST], c.first_image);
  EXPECT_EQ(view.image[IDC_DIRECTION_SECOND], c.second_image);
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, PanelDirection,
    ::testing::Values(
        DirectionCase{12, 0xFF, u"CONTROL_BLFXLStaPic3", u"updown.bmp", u"downup.bmp"},
        DirectionCase{12, 0x00, u"CONTROL_BLFXLStaPic3", u"upup.bmp", u"downdown.bmp"},
        DirectionCase{18, 0x00, u"CONTROL_BLFXLStaPic", u"kuosan.bmp", u"julongdown.bmp"},
        DirectionCase{2, 0xFF, u"CONTROL_BLFXLStaPic2", u"leftdown.bmp", u"rightup.bmp"}),
    [](const auto& info) {
      return "Mode" + std::to_string(info.param.mode) + "_" + std::to_string(info.param.direction);
    });

TEST_F(LightingPanel, RefreshShowsTheStateThroughItsMappings) {
  SetLightingField(0, 1, 4);   // brightness
  SetLightingField(0, 2, 1);   // speed: slider position 4
  SetLightingField(0, 8, 8);   // colour choice of the restore: shown as red
  SetLightingField(0, 15, 2);  // report rate
  ConnectInMode(17);
  EXPECT_EQ(view.slider[IDC_BRIGHTNESS_SLIDER], (std::pair<int, std::u16string>{4, u"4.bmp"}));
  EXPECT_EQ(view.slider[IDC_SPEED_SLIDER], (std::pair<int, std::u16string>{4, u"10.bmp"}));
  EXPECT_EQ(view.image[IDC_CHOICE_RED], u"hongok.bmp");
  EXPECT_EQ(view.image[IDC_CHOICE_BLUE], u"lan.bmp");
  EXPECT_EQ(view.report, 2);
  EXPECT_EQ(view.image[IDC_LIGHT_SWITCH], u"dengdown.bmp");
  ASSERT_GE(view.mode_selection, 0);
  EXPECT_EQ(view.entries[static_cast<std::size_t>(view.mode_selection)].mode, 17);
}

// ---- the light switch ----------------------------------------------------------------------------

TEST_F(LightingPanel, SwitchOnAsksForTheKeyboardsSceneAndPersistsOnlyWhenItHappened) {
  SetLightingField(0, 0, 4);
  scenes.active = 1;
  logic.LoadOnConnect(0);
  scenes.agree = false;
  logic.OnLightSwitchClicked();
  EXPECT_EQ(scenes.switched, (std::vector<int>{1}));
  EXPECT_FALSE(logic.LightSwitchOn());
  EXPECT_TRUE(view.VisibleSwitched().empty());

  scenes.agree = true;
  logic.OnLightSwitchClicked();
  EXPECT_TRUE(logic.LightSwitchOn());
  EXPECT_EQ(view.VisibleSwitched(), With(kSpeed));
  EXPECT_EQ(view.image[IDC_LIGHT_SWITCH], u"dengdown.bmp");
  EXPECT_TRUE(parts.light_switch.Read());

  logic.OnLightSwitchClicked();
  EXPECT_FALSE(parts.light_switch.Read());
  EXPECT_TRUE(view.VisibleSwitched().empty());
}

// ---- painting and key routing ------------------------------------------------------------------

TEST_F(LightingPanel, KeyClicksPaintOnlyInModeTwentyAndGKeysKeepTheirDialog) {
  const keys::KeyButton key = keys::KeyButtonTable()[5];
  ConnectInMode(4);
  const std::vector<std::uint8_t> before = Area(sim::Area::Colours);
  EXPECT_TRUE(logic.OnKeyClick(key.control_id));  // taken, but nothing painted outside mode 20
  EXPECT_EQ(Area(sim::Area::Colours), before);
  EXPECT_FALSE(logic.OnKeyClick(keys::kGKeyControlIds[0]));

  logic.OnModeSelected(parts.model.ComboIndexOfMode(20));
  logic.OnColourButton(IDC_PAINT_BUTTON, MakeColour(0, 0, 255));
  EXPECT_TRUE(logic.OnKeyClick(key.control_id));
  const std::vector<std::uint8_t> after = Area(sim::Area::Colours);
  EXPECT_EQ(after[key.led * 3u + 2], 255);
  EXPECT_EQ(after[key.led * 3u], 0);
  EXPECT_EQ(view.key_colour[key.control_id], MakeColour(0, 0, 255));
  EXPECT_FALSE(logic.OnKeyClick(keys::kGKeyControlIds[0]));
}

TEST_F(LightingPanel, LeavingModeTwentyTakesTheColoursOffTheKeys) {
  ConnectInMode(20);
  EXPECT_FALSE(view.key_colour.empty());
  logic.OnModeSelected(parts.model.ComboIndexOfMode(6));
  EXPECT_TRUE(view.key_colour.empty());
  EXPECT_GE(view.normal_keys, 1);
}

// ---- connection-time read ------------------------------------------------------------------------

TEST_F(LightingPanel, ConnectSendsTheActiveSlotInsideTheReadBracketBeforeTheReads) {
  const std::size_t mark = SentSoFar();
  logic.LoadOnConnect(0);
  using namespace device;
  const std::vector<std::uint8_t> expected{
      kCmdReadInformation, kCmdBeginTransfer, kCmdBeginTransfer, kCmdWriteColours,
      kCmdWriteColours,    kCmdWriteColours,  kCmdWriteColours,  kCmdWriteColours,
      kCmdWriteColours,    kCmdWriteColours,  kCmdEndTransfer,   kCmdReadLighting,
      kCmdReadLighting,    kCmdReadLighting,  kCmdEndTransfer};
  EXPECT_EQ(SentCommands(mark), expected);
  EXPECT_EQ(view.slot_names[0], u"0");  // no colour file yet: the default name
}

TEST_F(LightingPanel, WithoutModeTwentyConnectSendsNoColours) {
  SetModeList({6, 18});
  const std::size_t mark = SentSoFar();
  logic.LoadOnConnect(0);
  const std::vector<std::uint8_t> sent = SentCommands(mark);
  EXPECT_EQ(std::count(sent.begin(), sent.end(), device::kCmdWriteColours), 0);
  EXPECT_EQ(view.entries.size(), 2u);
}

TEST_F(LightingPanel, TheKeyboardsActiveProfileIsShownAndEdited) {
  SetLightingField(2, 1, 2);
  logic.LoadOnConnect(2);
  EXPECT_EQ(view.slider[IDC_BRIGHTNESS_SLIDER].first, 2);
  const std::vector<std::uint8_t> before = Area(sim::Area::Lighting);
  logic.OnSlider(IDC_BRIGHTNESS_SLIDER, 4);
  std::vector<std::uint8_t> expected = before;
  expected[85] = 4;
  EXPECT_EQ(Area(sim::Area::Lighting), expected);
  EXPECT_EQ(view.slider[IDC_BRIGHTNESS_SLIDER], (std::pair<int, std::u16string>{4, u"4.bmp"}));
}

TEST_F(LightingPanel, AProfileButtonShowsThatProfilesBlockAndSwitchesTheLightOff) {
  std::ofstream(folder.Path() / "UserDengColor_1.userd") << "[MODENAME]\n0=Second\n";
  SetLightingField(1, 0, 20);
  SetLightingField(1, 1, 3);   // brightness
  SetLightingField(1, 15, 2);  // report rate
  ConnectInMode(4);
  ASSERT_TRUE(logic.LightSwitchOn());
  const std::vector<std::uint8_t> lighting_before = Area(sim::Area::Lighting);
  const std::size_t mark = SentSoFar();

  logic.ShowProfile(1);
  EXPECT_EQ(view.slider[IDC_BRIGHTNESS_SLIDER].first, 3);
  EXPECT_EQ(view.report, 2);
  EXPECT_EQ(view.entries[static_cast<std::size_t>(view.mode_selection)].mode, 20);
  EXPECT_EQ(view.slot_names[0], u"Second");
  // Profile 1's slot went to the keyboard; nothing of the lighting was written.
  const std::vector<std::uint8_t> sent = SentCommands(mark);
  EXPECT_GT(std::count(sent.begin(), sent.end(), device::kCmdWriteColours), 0);
  EXPECT_EQ(std::count(sent.begin(), sent.end(), device::kCmdWriteLighting), 0);
  EXPECT_EQ(Area(sim::Area::Lighting), lighting_before);
  // The light is off, in the panel and in the setting.
  EXPECT_FALSE(logic.LightSwitchOn());
  EXPECT_FALSE(parts.light_switch.Read());
  EXPECT_EQ(view.image[IDC_LIGHT_SWITCH], u"dengup.bmp");
  EXPECT_TRUE(view.VisibleSwitched().empty());

  // Edits now go to profile 1's block.
  logic.OnSlider(IDC_BRIGHTNESS_SLIDER, 5);
  std::vector<std::uint8_t> expected = lighting_before;
  expected[42 + 1] = 5;
  EXPECT_EQ(Area(sim::Area::Lighting), expected);
}

TEST_F(LightingPanel, AProfileBeyondTheKeyboardsIsNotShown) {
  SetLightingField(0, 1, 2);
  ConnectInMode(4);
  const std::size_t mark = SentSoFar();
  logic.ShowProfile(3);
  logic.ShowProfile(-1);
  EXPECT_TRUE(SentCommands(mark).empty());
  EXPECT_EQ(view.slider[IDC_BRIGHTNESS_SLIDER].first, 2);
  EXPECT_TRUE(logic.LightSwitchOn());
}

TEST_F(LightingPanel, SpeedSliderShowsItsPictureAndWritesTheReversedValue) {
  ConnectInMode(4);
  logic.OnSlider(IDC_SPEED_SLIDER, 0);
  EXPECT_EQ(Area(sim::Area::Lighting)[2], 5);
  EXPECT_EQ(view.slider[IDC_SPEED_SLIDER], (std::pair<int, std::u16string>{0, u"6.bmp"}));
}

// ---- restore defaults ----------------------------------------------------------------------------

TEST_F(LightingPanel, RestoreWritesTheDefaultBlockAndCopiesTheTemplate) {
  const std::string template_text = "[MODENAME]\n0=Gradient\n[Mode0]\n64=0,255,0,0\n";
  std::ofstream(folder.Path() / "UserDengColor_3.userd") << template_text;
  std::ofstream(folder.Path() / "UserDengColor_1.userd") << "[MODENAME]\n0=Mine\n";
  SetLightingField(1, 0, 7);
  SetLightingField(1, 1, 1);
  ConnectInMode(7, 1);
  logic.RestoreDefaults();

  const std::vector<std::uint8_t> lighting = Area(sim::Area::Lighting);
  const std::vector<std::uint8_t> block(lighting.begin() + 42, lighting.begin() + 42 + 35);
  const auto defaults = lighting::DefaultBlock();
  EXPECT_EQ(block, std::vector<std::uint8_t>(defaults.begin(), defaults.end()));
  std::ifstream copied(folder.Path() / "UserDengColor_1.userd");
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(copied), {}), template_text);
  EXPECT_EQ(view.slot_names[0], u"Gradient");
  EXPECT_EQ(view.entries[static_cast<std::size_t>(view.mode_selection)].mode, 18);
  EXPECT_EQ(view.slider[IDC_BRIGHTNESS_SLIDER].first, 5);
  EXPECT_EQ(view.image[IDC_CHOICE_RED], u"hongok.bmp");
}

TEST_F(LightingPanel, RestoreWithoutModeEighteenOfferedSelectsNothingButStillWritesTheBlock) {
  SetModeList({6, 7});
  SetLightingField(0, 0, 7);
  logic.LoadOnConnect(0);
  logic.RestoreDefaults();
  EXPECT_EQ(view.mode_selection, -1);
  EXPECT_EQ(Area(sim::Area::Lighting)[0], 18);
}

}  // namespace
}  // namespace vendrel::app
