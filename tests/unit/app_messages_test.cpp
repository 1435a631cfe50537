#include "app/main_window_commands.h"
#include "app/main_window_controls.h"
#include "app/named_events.h"
#include "app/pre_translate.h"
#include "app/shell_menus.h"
#include "app/transfer_message_policy.h"
#include "app/window_messages.h"
#include "codec/four_char_tag.h"
#include "texts/live_text_key.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <utility>
#include <vector>

namespace vendrel::app {
namespace {

using codec::FourCharTag;

TEST(FourCharTag, FirstCharacterIsInTheHighestUsedByte) {
  EXPECT_EQ(FourCharTag("OPEN"), 0x4F50454Eu);
  EXPECT_EQ(FourCharTag("KILL"), 0x4B494C4Cu);
  EXPECT_EQ(FourCharTag("LED"), 0x004C4544u);
  EXPECT_EQ(FourCharTag("MAIN"), 0x4D41494Eu);
  EXPECT_EQ(FourCharTag("CONS"), 0x434F4E53u);
}

struct MessageCase {
  std::uint32_t message;
  std::uintptr_t param;
  PrivateMessage meaning;
};

TEST(ClassifyPrivateMessage, AcceptsOnlyTheMatchingTag) {
  const MessageCase cases[] = {
      {0x4D4E, 0x494E4954, PrivateMessage::Init},
      {0x5350, 0x4F50454E, PrivateMessage::Open},
      {0x4D4B, 0x4C4C494B, PrivateMessage::Kill},
      {0x4D4B, 0x4B494C4C, PrivateMessage::Kill},  // "KILL" built like the other tags
      {0x5452, 0x50524F46, PrivateMessage::Profile},
      {0x5045, 0x004C4544, PrivateMessage::Led},
      {0x4C47, 0x4C474854, PrivateMessage::Lighting},
      {0x5154, 0x43414C4D, PrivateMessage::Quiet},  // "CALM"
      {0x4753, 0, PrivateMessage::Detach},
      {0x001E, 0, PrivateMessage::Apply},
      // Strays: right number, wrong tag (including another message's tag).
      {0x5350, 0x4C4C494B, PrivateMessage::None},
      {0x5350, 0x4E45504F, PrivateMessage::None},  // "OPEN" reversed is not accepted
      {0x4D4B, 0x4F50454E, PrivateMessage::None},
      {0x4D4E, 0, PrivateMessage::None},
      {0x5452, 0x464F5250, PrivateMessage::None},  // characters reversed
      {0x5045, 0x4C454400, PrivateMessage::None},
      {0x4C47, 0x004C4544, PrivateMessage::None},  // the bank message's tag
      {0x5154, 0x50524F46, PrivateMessage::None},  // the refresh's tag
      {0x1234, 0x4F50454E, PrivateMessage::None},
  };
  for (const MessageCase& c : cases) {
    EXPECT_EQ(ClassifyPrivateMessage(c.message, c.param), c.meaning)
        << std::hex << c.message << " " << c.param;
  }
}

struct PreTranslateCase {
  std::uint32_t message;
  std::uintptr_t key;
  bool mode_list_focus;
  PreTranslate result;
};

TEST(ClassifyPreTranslate, KeepsEnterAndEscapeAwayFromTheDialog) {
  const PreTranslateCase cases[] = {
      {kWmKeyDown, kVkReturn, false, PreTranslate::Swallow},
      {kWmKeyUp, kVkReturn, false, PreTranslate::Swallow},
      {kWmKeyDown, kVkEscape, false, PreTranslate::Swallow},
      {kWmKeyUp, kVkEscape, true, PreTranslate::Swallow},
      {kWmKeyDown, 0x25, true, PreTranslate::Swallow},  // arrows while the mode list has focus
      {kWmKeyDown, 0x28, true, PreTranslate::Swallow},
      {kWmKeyUp, 0x26, true, PreTranslate::Swallow},
      {kWmKeyDown, 0x25, false, PreTranslate::Normal},
      {kWmKeyDown, 0x29, true, PreTranslate::Normal},   // just past the arrows
      {kWmKeyDown, 0x24, true, PreTranslate::Normal},   // Home, just before them
      {kWmKeyDown, 0x91, false, PreTranslate::Normal},  // Scroll Lock
      {0x0102, kVkReturn, false, PreTranslate::Normal}, // a character message is not a key press
      {0x001E, 0, false, PreTranslate::RunApply},
  };
  for (const PreTranslateCase& c : cases) {
    EXPECT_EQ(ClassifyPreTranslate(c.message, c.key, c.mode_list_focus), c.result)
        << std::hex << c.message << " " << c.key << " " << c.mode_list_focus;
  }
}

TEST(ClassifyCommand, MapsTheShellsOwnIdsAndLeavesTheRestToOthers) {
  const std::pair<int, ShellCommand> cases[] = {
      {1006, ShellCommand::Apply},          {1, ShellCommand::Ok},
      {2, ShellCommand::Cancel},            {1138, ShellCommand::RestoreDefaults},
      {1139, ShellCommand::MainMenu},       {1121, ShellCommand::OpenLink},
      {1122, ShellCommand::Help},           {1123, ShellCommand::Minimise},
      {1124, ShellCommand::CloseProgram},   {32774, ShellCommand::CloseProgram},
      {32779, ShellCommand::CloseProgram},  {32771, ShellCommand::Show},
      {32773, ShellCommand::About},         {32776, ShellCommand::Import},
      {32777, ShellCommand::Export},        {1005, ShellCommand::Profiles},
      {32780, ShellCommand::Update},        {1010, ShellCommand::None},
      {1144, ShellCommand::None},           {1135, ShellCommand::None},
      {9001, ShellCommand::None},           {0, ShellCommand::None},
  };
  for (const auto& [id, command] : cases) EXPECT_EQ(ClassifyCommand(id), command) << id;
}

std::string Name(texts::LiveTextKey key) {
  const std::u16string_view name = texts::LiveTextKeyName(key);
  return std::string(name.begin(), name.end());
}

TEST(ShellMenus, ItemsCarryTheirPositionsTextsAndCommands) {
  for (std::size_t i = 0; i < kMainMenuItems.size(); ++i) {
    EXPECT_EQ(kMainMenuItems[i].position, static_cast<int>(i));
    EXPECT_EQ(Name(kMainMenuItems[i].text), "MENU_" + std::to_string(i + 1));
  }
  EXPECT_EQ(kMainMenuItems[0].command, 32776);
  EXPECT_EQ(kMainMenuItems[1].command, 32777);
  EXPECT_EQ(kMainMenuItems[2].command, 32773);
  EXPECT_EQ(kMainMenuItems[3].command, 32779);
  EXPECT_EQ(kMainMenuItems[4].command, 32780);
  EXPECT_EQ(Name(kTrayMenuItems[0].text), "MENU_11");
  EXPECT_EQ(kTrayMenuItems[0].command, 32771);
  EXPECT_EQ(Name(kTrayMenuItems[1].text), "MENU_22");
  EXPECT_EQ(kTrayMenuItems[1].command, 32773);
  EXPECT_EQ(Name(kTrayMenuItems[2].text), "MENU_33");
  EXPECT_EQ(kTrayMenuItems[2].command, 32774);
}

TEST(ShellMenus, TrayReactsToRightReleaseAndLeftDoubleClickOnly) {
  EXPECT_EQ(ClassifyTrayNotification(0x0205), TrayAction::ShowMenu);
  EXPECT_EQ(ClassifyTrayNotification(0x0203), TrayAction::Open);
  for (const std::uintptr_t other : {0x0200u, 0x0201u, 0x0202u, 0x0204u, 0x0206u}) {
    EXPECT_EQ(ClassifyTrayNotification(other), TrayAction::None) << other;
  }
}

TEST(NamedEvents, NamesAreNumberedFrom01To208AndDistinct) {
  EXPECT_EQ(NamedEventName(1), u"Orvane_Event_Main_01");
  EXPECT_EQ(NamedEventName(9), u"Orvane_Event_Main_09");
  EXPECT_EQ(NamedEventName(10), u"Orvane_Event_Main_10");
  EXPECT_EQ(NamedEventName(99), u"Orvane_Event_Main_99");
  EXPECT_EQ(NamedEventName(100), u"Orvane_Event_Main_100");
  EXPECT_EQ(NamedEventName(208), u"Orvane_Event_Main_208");
  std::set<std::u16string> names;
  for (int n = 1; n <= kNamedEventCount; ++n) names.insert(NamedEventName(n));
  EXPECT_EQ(names.size(), static_cast<std::size_t>(kNamedEventCount));
}

TEST(SkinKeys, KeyAndGKeyNamesFollowTheSkinPatterns) {
  EXPECT_EQ(KeySkinKey(0x1E), u"KEY_01E");   // A
  EXPECT_EQ(KeySkinKey(0xB7), u"KEY_0B7");   // Print Screen
  EXPECT_EQ(KeySkinKey(0x9C), u"KEY_09C");   // Num Enter
  EXPECT_EQ(KeySkinKey(0x15D), u"KEY_15D");
  EXPECT_EQ(KeySkinKey(0), u"KEY_000");
  EXPECT_EQ(KeySkinKey(0x1234), u"KEY_1234");
  EXPECT_EQ(GKeySkinKey(1), u"FUNC_G1");
  EXPECT_EQ(GKeySkinKey(9), u"FUNC_G9");
}

TEST(ShellControls, IdsAndSkinKeysAreUniqueAndSlotsFullySpelled) {
  std::set<int> ids;
  std::set<std::u16string_view> keys;
  for (const ShellControl& c : kShellControls) {
    EXPECT_TRUE(ids.insert(c.id).second) << c.id;
    EXPECT_TRUE(keys.insert(c.skin_key).second) << c.id;
    EXPECT_EQ(c.slots.size(), 5u) << c.id;
    EXPECT_EQ(c.slots.find_first_not_of("NHPD"), std::string_view::npos) << c.id;
  }
  // The Apply button alone shows the disabled sheet while it is disabled.
  for (const ShellControl& c : kShellControls) {
    EXPECT_EQ(c.slots[3] == 'D', c.id == kIdApply) << c.id;
  }
}

// While the keyboard is written the window paints and animates, takes no input, and keeps the
// rest for later; the lighting re-read must not talk to the keyboard in between.
TEST(ClassifyDuringTransfer, PaintsDropsInputAndKeepsTheRest) {
  struct Case {
    const char* what;
    std::uint32_t message;
    std::uintptr_t param;
    bool to_main;
    DuringTransfer want;
  };
  const Case cases[] = {
      {"paint", 0x000F, 0, true, DuringTransfer::Dispatch},
      {"busy frame", 0x0113, kTimerBusy, true, DuringTransfer::Dispatch},
      {"lighting re-read", 0x0113, kTimerLighting, true, DuringTransfer::Pause},
      {"a control's own timer", 0x0113, kTimerLighting, false, DuringTransfer::Dispatch},
      {"busy started", kMsgBusyStarted, 0, true, DuringTransfer::Dispatch},
      {"busy stopped", kMsgBusyStopped, 0, true, DuringTransfer::Dispatch},
      {"key down", 0x0100, 0x41, true, DuringTransfer::Drop},
      {"system key up", 0x0105, 0x12, false, DuringTransfer::Drop},
      {"left button down", 0x0201, 0, false, DuringTransfer::Drop},
      {"mouse wheel", 0x020A, 0, true, DuringTransfer::Drop},
      {"caption drag", 0x00A1, 2, true, DuringTransfer::Drop},
      {"mouse leave", 0x02A3, 0, false, DuringTransfer::Drop},
      {"a click's command", 0x0111, 1006, true, DuringTransfer::Defer},
      {"keyboard came", kMsgProfile, kTagProfile, true, DuringTransfer::Defer},
      {"posted Apply", kMsgPostedApply, 0, true, DuringTransfer::Defer},
      {"tray callback", kMsgTrayCallback, 0, true, DuringTransfer::Defer},
      {"quit", 0x0012, 0, false, DuringTransfer::Defer},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ClassifyDuringTransfer(c.message, c.param, c.to_main), c.want) << c.what;
  }
}

// A message as the window thread keeps it: the window, the message and its first parameter.
struct KeptMessage {
  int hwnd;
  std::uint32_t message;
  std::uintptr_t wParam;
  bool operator==(const KeptMessage&) const = default;
};

// A plug storm during a write leaves behind one unplug and one refresh, in that order, and one
// quiet connection; everything else stays as it came.
TEST(KeepForAfterTransfer, StormDuringATransferLeavesOneUnplugAndOneRefresh) {
  using Kept = std::vector<KeptMessage>;
  constexpr int kMain = 1;
  const KeptMessage refresh{kMain, kMsgProfile, kTagProfile}, unplug{kMain, kMsgDetach, 0},
      quiet{kMain, kMsgConnectionQuiet, kTagQuiet}, command{kMain, 0x0111, 1006},
      stray_refresh{kMain, kMsgProfile, kTagLed}, other_window_refresh{2, kMsgProfile, kTagProfile};
  const auto keep = [](const Kept& arriving) {
    Kept kept;
    for (const KeptMessage& m : arriving) KeepForAfterTransfer(kept, m);
    return kept;
  };
  struct Case {
    const char* what;
    Kept arriving;
    Kept kept;
  };
  const Case cases[] = {
      {"storm ending attached", {unplug, refresh, quiet, unplug, refresh, quiet, unplug, refresh, quiet},
       {unplug, refresh, quiet}},
      {"storm ending unplugged", {unplug, refresh, unplug, refresh, unplug}, {unplug}},
      {"refresh alone", {refresh}, {refresh}},
      {"refreshes in a row", {refresh, refresh}, {refresh}},
      {"unplug then plug stays in order", {unplug, refresh}, {unplug, refresh}},
      {"other messages are kept in their order", {command, unplug, command, refresh, unplug, refresh},
       {command, command, unplug, refresh}},
      {"a stray tag supersedes nothing", {refresh, stray_refresh}, {refresh, stray_refresh}},
      {"another window's message supersedes nothing", {refresh, other_window_refresh},
       {refresh, other_window_refresh}},
  };
  for (const Case& c : cases) EXPECT_EQ(keep(c.arriving), c.kept) << c.what;
}

}  // namespace
}  // namespace vendrel::app
