// The key table: names, key-picker list, usages both ways, modifiers, virtual-key and hook codes,
// key buttons and LEDs.
#include <gtest/gtest.h>

#include <set>

#include "keys/key_table.h"
#include "texts/text_table.h"

namespace vendrel::keys {
namespace {

using texts::TextKey;
using texts::TextTable;

TEST(KeyFoldTest, FoldAndUnfoldAreInverseOnUsedCodes) {
  const struct {
    KeyCode code;
    KeySlot slot;
  } cases[] = {{0x001, 0x01}, {0x07E, 0x7E}, {0x100, 0x80}, {0x145, 0xC5}, {0x17F, 0xFF}};
  for (const auto& c : cases) {
    EXPECT_EQ(Fold(c.code), c.slot) << std::hex << c.code;
    EXPECT_EQ(Unfold(c.slot), c.code) << std::hex << c.code;
  }
}

TEST(KeyNameTest, NamesAndUnknownKeyFallback) {
  TextTable texts;
  texts.Set(TextKey::MEDIA_PALYER_1, u"Player");
  const struct {
    KeyCode code;
    std::u16string name;
  } cases[] = {
      {0x001, u"Esc"},
      {0x036, u"Right hand Shift"},
      {0x136, u"Right Shift"},
      {0x148, u"\u2191"},
      {0x02B, u"\\"},
      {0x16D, u"Player"},                 // media rows take the language text
      {0x000, u"Unknown Key: 000"},
      {0x05A, u"Unknown Key: 05a"},
      {0x180, u"Unknown Key: 180"},      // folds onto the empty slot 0x00
      {0x1301, u"Unknown Key: 1301"},    // wider than three digits is not cut
  };
  for (const auto& c : cases) EXPECT_EQ(KeyName(c.code, texts), c.name) << std::hex << c.code;
}

TEST(KeyNameTest, EmptyMediaTextFallsBackToUnknownKey) {
  TextTable texts;
  texts.Set(TextKey::MEDIA_CALC_17, u"");
  EXPECT_EQ(KeyName(0x121, texts), u"Unknown Key: 121");
}

TEST(KeyNameTest, HostileUnknownKeyFormatIsShownUnformatted) {
  TextTable texts;
  texts.Set(TextKey::UNKNOWN_KEY, u"%s%s%s%n");
  EXPECT_EQ(KeyName(0x05A, texts), u"%s%s%s%n");
  texts.Set(TextKey::UNKNOWN_KEY, u"Taste %04X?");
  EXPECT_EQ(KeyName(0x05A, texts), u"Taste 005A?");
}

TEST(KeyNameTest, BufferVariantCutsAndTerminates) {
  TextTable texts;
  const struct {
    std::size_t capacity;
    std::u16string expected;
  } cases[] = {{260, u"Backspace"}, {10, u"Backspace"}, {5, u"Back"}, {1, u""}};
  for (const auto& c : cases) {
    std::vector<char16_t> buffer(c.capacity + 1, u'#');
    const std::size_t n = KeyName(0x00E, texts, buffer.data(), c.capacity);
    EXPECT_EQ(std::u16string(buffer.data(), n), c.expected) << c.capacity;
    EXPECT_EQ(buffer[n], u'\0') << c.capacity;
    EXPECT_EQ(buffer[c.capacity], u'#') << "wrote past capacity " << c.capacity;
  }
  char16_t untouched = u'#';
  EXPECT_EQ(KeyName(0x00E, texts, &untouched, 0), 0u);
  EXPECT_EQ(untouched, u'#');
}

TEST(KeyListTest, ListPositionsNamesAndCodes) {
  TextTable texts;
  const struct {
    std::uint16_t list_code;
    std::u16string name;
    KeyCode code;
  } cases[] = {
      {0x00, u"A", 0x01E},  {0x19, u"Z", 0x02C},      {0x42, u"Break", 0x146},
      {0x67, u"Right hand Shift", 0x036},             {0x69, u"Right hand Win", 0x15C},
      {0x6A, u"", 0},       {0x8001, u"Power", 0x15E}, {0xFFFF, u"", 0x000},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ListName(c.list_code, texts), c.name) << std::hex << c.list_code;
    EXPECT_EQ(ListKeyCode(c.list_code), c.code) << std::hex << c.list_code;
  }
  EXPECT_EQ(ListCodeOf(0x136), 0x67);
  EXPECT_EQ(ListCodeOf(0x036), 0x67);
  EXPECT_EQ(ListCodeOf(0x055), kListCodeEmpty);
}

TEST(KeyListTest, EveryPickerPositionHasADistinctKey) {
  const auto list = KeyList();
  std::set<KeyCode> keys;
  for (std::uint16_t n = 0; n < kKeyListSize; ++n) {
    const KeyCode k = list[n];
    EXPECT_NE(k, 0) << "list position " << n << " has no key";
    EXPECT_EQ(ListCodeOf(k), n);
    keys.insert(k);
  }
  EXPECT_EQ(keys.size(), kKeyListSize);
  EXPECT_EQ(list[0x67], 0x036) << "right Shift is offered as 0x036";
  EXPECT_EQ(list[0x1A], 0x002);
  EXPECT_EQ(list[0x41], 0x045);
}

TEST(KeyUsageTest, UsageOfKey) {
  const struct {
    KeyCode code;
    HidUsage usage;
  } cases[] = {
      {0x01E, {kPageKeyboard, 0x04}}, {0x130, {kPageConsumer, 0x00E9}},
      {0x15F, {kPageGenericDesktop, 0x82}}, {0x054, {0, 0}},
      {0x174, {kPageConsumer, 0x0000}},  // consumer entry 18 is zero
      {0x072, {kPageKeyboard, 0x90}},     {0x16E, {0, 0}},
      {0x000, {0, 0}},
  };
  for (const auto& c : cases) EXPECT_EQ(KeyUsage(c.code), c.usage) << std::hex << c.code;
}

TEST(KeyUsageTest, KeyOfUsageTakesLowestSlot) {
  const struct {
    std::uint16_t page;
    std::uint16_t usage;
    KeyCode code;
  } cases[] = {
      {kPageConsumer, 0x00B5, 0x119}, {kPageKeyboard, 0x46, 0x137}, {kPageKeyboard, 0x73, 0},
      {kPageKeyboard, 0x48, 0x045},   // Pause, not Break
      {kPageKeyboard, 0xE5, 0x036},   // not 0x136
      {kPageKeyboard, 0x00, 0},       {kPageKeyboard, 0x104, 0},  // wider than a usage byte
      {kPageGenericDesktop, 0x81, 0x15E}, {kPageGenericDesktop, 0x02, 0},
      // Consumer usage 0 finds entry 18 (0xD2): the keys whose consumer entry is zero decode
      // back to the first of them, as the macro image needs.
      {kPageConsumer, 0x0000, 0x174},
      {kPageConsumer, 0x00E9, 0x130}, {0x09, 0x01, 0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(UsageKey(c.page, c.usage), c.code) << std::hex << c.page << "/" << c.usage;
  }
}

TEST(KeyUsageTest, EveryKeyboardUsageMapsBackToAKeyWithThatUsage) {
  for (unsigned slot = 0; slot < 256; ++slot) {
    const KeyCode code = Unfold(static_cast<KeySlot>(slot));
    const HidUsage u = KeyUsage(code);
    if (u.page == 0 || (u.page == kPageConsumer && u.usage == 0)) continue;
    const KeyCode back = UsageKey(u.page, u.usage);
    EXPECT_EQ(KeyUsage(back), u) << std::hex << code;
    EXPECT_LE(Fold(back), Fold(code)) << std::hex << code;
  }
}

TEST(ModifierTest, LowestBitWinsAndBitsRoundTrip) {
  const struct {
    std::uint8_t bits;
    KeyCode code;
  } cases[] = {{0x01, 0x01D}, {0x02, 0x02A}, {0x04, 0x038}, {0x08, 0x15B}, {0x10, 0x11D},
               {0x20, 0x036}, {0x40, 0x138}, {0x80, 0x15C}, {0x30, 0x11D}, {0x00, 0}};
  for (const auto& c : cases) EXPECT_EQ(ModifierKey(c.bits), c.code) << int(c.bits);
  for (unsigned bit = 1; bit < 0x100; bit <<= 1) {
    EXPECT_EQ(ModifierBit(ModifierKey(static_cast<std::uint8_t>(bit))), bit);
  }
  EXPECT_EQ(ModifierBit(0x136), 0);  // the second right-Shift row is not a modifier
  EXPECT_EQ(ModifierBit(0x01E), 0);
}

TEST(VirtualKeyTest, ChosenRowsForSharedAndMissingCodes) {
  const struct {
    std::uint8_t vk;
    KeyCode code;
  } cases[] = {{0x0D, 0x01C}, {0x10, 0x02A}, {0x11, 0x01D}, {0x12, 0x038}, {0x2C, 0x137},
               {0xA1, 0x036}, {0x01, 0},     {0x02, 0},     {0x04, 0},     {0x0C, 0},
               {0xFF, 0},     {0x41, 0x01E}, {0x24, 0x147}, {0x03, 0x146}, {0x13, 0x045},
               {0x67, 0x047}, {0x07, 0}};
  for (const auto& c : cases) EXPECT_EQ(VirtualKeyCode(c.vk), c.code) << std::hex << int(c.vk);
}

std::uint32_t HookParam(unsigned scan, bool extended) {
  return (scan << 16) | (extended ? (1u << 24) : 0u);
}

TEST(HookKeyTest, KeystrokesFromTheHook) {
  const struct {
    const char* what;
    std::uint32_t vk;
    std::uint32_t lparam;
    KeyCode code;
  } cases[] = {
      {"right shift", 0xA1, HookParam(0x36, false), 0x036},
      {"right shift extended", 0xA1, HookParam(0x36, true), 0x136},
      {"plain letter", 0x41, HookParam(0x1E, false), 0x01E},
      {"keypad 7 with num lock off", 0x24, HookParam(0x47, false), 0x047},
      {"home key", 0x24, HookParam(0x47, true), 0x147},
      {"no scan code", 0x41, HookParam(0x00, false), 0x01E},
      {"vk 0xff gives scan code", 0xFF, HookParam(0x71, false), 0x071},
      {"injected key with foreign scan", 0x41, HookParam(0x10, false), 0x01E},
      {"generic shift vk with left scan", 0x10, HookParam(0x2A, false), 0x02A},
  };
  for (const auto& c : cases) EXPECT_EQ(HookKeyCode(c.vk, c.lparam), c.code) << c.what;
}

TEST(ReleaseOnlyTest, OnlyTheFourKeys) {
  std::set<KeyCode> found;
  for (KeyCode code = 0; code < 0x180; ++code) {
    if (IsReleaseOnlyKey(code)) found.insert(code);
  }
  EXPECT_EQ(found, (std::set<KeyCode>{0x054, 0x071, 0x072, 0x137}));
}

TEST(KeyButtonTest, ButtonsLedsAndGKeys) {
  const auto buttons = KeyButtonTable();
  EXPECT_EQ(buttons[0].control_id, 1058);
  EXPECT_EQ(buttons[0].code, 0x01E);
  EXPECT_EQ(buttons[103].code, 0x04E);
  std::set<int> ids;
  std::set<std::uint8_t> leds;
  for (const auto& b : buttons) {
    ids.insert(b.control_id);
    leds.insert(b.led);
    EXPECT_LT(b.led, 126);
    EXPECT_NE(KeyName(b.code, TextTable{}).rfind(u"Unknown", 0), 0u) << b.control_id;
  }
  EXPECT_EQ(ids.size(), kKeyButtonCount);
  EXPECT_EQ(leds.size(), kKeyButtonCount);

  const struct {
    int id;
    std::uint8_t led;
  } cases[] = {{1022, 0x00}, {1111, 0x3E}, {1000, 0x7D}, {1143, 0x7D}, {1174, 0}, {9999, 0}};
  for (const auto& c : cases) EXPECT_EQ(LedIndexOf(c.id), c.led) << c.id;

  EXPECT_EQ(GKeyIndexOf(1000), std::optional<std::size_t>(0));
  EXPECT_EQ(GKeyIndexOf(1140), std::optional<std::size_t>(5));
  EXPECT_EQ(GKeyIndexOf(1143), std::optional<std::size_t>(8));
  EXPECT_EQ(GKeyIndexOf(1005), std::nullopt);
}

}  // namespace
}  // namespace vendrel::keys
