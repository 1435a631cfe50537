// Another program reordered the keyboard's macros (and pointed its key maps at their new places)
// while this program was away. Joining that read with the cache must leave every key playing the
// macro the keyboard plays, in the keyboard's order.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "keys/default_key_map.h"
#include "keys/key_map_codec.h"
#include "macros/macro_image.h"
#include "profiles/settings_file_codec.h"
#include "store/cache_merge.h"
#include "store/key_map_write.h"

namespace vendrel::store {
namespace {

using keys::AssignmentType;
using macros::ActionKind;
using macros::MacroList;
using macros::MacroRecord;

constexpr std::size_t kSlotQ = 0x10;
constexpr std::size_t kSlotA = 0x1E;
constexpr std::size_t kSlotS = 0x1F;

MacroRecord Named(macros::MacroId id, std::u16string name, std::uint32_t delay, keys::KeyCode key) {
  MacroRecord m;
  m.id = id;
  m.name = std::move(name);
  m.actions = {{delay, key, ActionKind::Press}, {delay, key, ActionKind::Release}};
  return m;
}

// Three macros with ids that are not their places; A (profile 0), Q (profile 1) and S (profile 2)
// each play one.
void UserSettings(KeyStore& s) {
  profiles::MakeDefaultTable(s.Table());
  s.macros = {Named(7, u"Burst", 10, 0x1E), Named(3, u"Combo", 20, 0x1F), Named(9, u"Spam", 30, 0x20)};
  s.Table().At(0, kSlotA) = {AssignmentType::Macro, 0, 7, 0, 0};
  s.Table().At(1, kSlotQ) = {AssignmentType::Macro, 0, 3, 0, 0};
  s.Table().At(2, kSlotS) = {AssignmentType::Macro, 0, 9, 0, 0};
}

// What a read of a keyboard holding store's macros and key maps gives.
KeyboardSettings ReadOf(const KeyStore& store) {
  KeyboardSettings k;
  const std::vector<std::uint16_t> ids = MacroIds(store.macros);
  for (std::size_t p = 0; p < keys::kDeviceProfileCount; ++p) {
    k.maps[p] = keys::EncodeKeyMap(store.Table().Block(p), keys::kDefaultKeyMap, ids);
  }
  std::vector<std::uint8_t> image(macros::MacroImageSizes(store.macros).with_names);
  EXPECT_EQ(macros::EncodeMacros(store.macros, image, true), macros::MacroEncodeResult::Ok);
  EXPECT_EQ(macros::DecodeMacros(image, u"Macro", k.macros), macros::MacroDecodeResult::Ok);
  k.names_held.assign(k.macros.size(), true);
  return k;
}

std::u16string NameOfMacro(const KeyStore& s, std::uint32_t id) {
  for (const MacroRecord& m : s.macros) {
    if (m.id == id) return m.name;
  }
  return u"(none)";
}

struct ReorderCase {
  const char* name;
  std::vector<std::size_t> order;  // the keyboard's macros as places of the user's
};

class ReorderedOnTheKeyboard : public ::testing::TestWithParam<ReorderCase> {};

TEST_P(ReorderedOnTheKeyboard, KeysPlayWhatTheKeyboardPlays) {
  KeyStore cache;
  UserSettings(cache);
  KeyStore keyboard;  // the other program's work: same macros and keys, macros moved
  UserSettings(keyboard);
  keyboard.macros.clear();
  for (std::size_t place : GetParam().order) keyboard.macros.push_back(cache.macros[place]);

  KeyStore out;
  MergeCachedSettings(ReadOf(keyboard), keys::kDefaultKeyMap, cache, out);

  std::u16string order;
  std::set<macros::MacroId> ids;
  for (const MacroRecord& m : out.macros) {
    order += m.name + u" ";
    ids.insert(m.id);
  }
  std::u16string want_order;
  for (std::size_t place : GetParam().order) want_order += cache.macros[place].name + u" ";
  EXPECT_TRUE(order == want_order) << "macros in the keyboard's order";
  EXPECT_EQ(ids.size(), out.macros.size()) << "every macro its own id";
  EXPECT_TRUE(NameOfMacro(out, out.Table().At(0, kSlotA).parameter) == u"Burst");
  EXPECT_TRUE(NameOfMacro(out, out.Table().At(1, kSlotQ).parameter) == u"Combo");
  EXPECT_TRUE(NameOfMacro(out, out.Table().At(2, kSlotS).parameter) == u"Spam");
  // Written back, the key maps are the keyboard's.
  const std::vector<std::uint16_t> out_ids = MacroIds(out.macros);
  const KeyboardSettings read = ReadOf(keyboard);
  for (std::size_t p = 0; p < keys::kDeviceProfileCount; ++p) {
    EXPECT_EQ(keys::EncodeKeyMap(out.Table().Block(p), keys::kDefaultKeyMap, out_ids), read.maps[p])
        << "profile " << p;
  }
}

INSTANTIATE_TEST_SUITE_P(Orders, ReorderedOnTheKeyboard,
                         ::testing::Values(ReorderCase{"FirstTwoSwapped", {1, 0, 2}},
                                           ReorderCase{"Reversed", {2, 1, 0}},
                                           ReorderCase{"Rotated", {1, 2, 0}}),
                         [](const ::testing::TestParamInfo<ReorderCase>& info) {
                           return std::string(info.param.name);
                         });

}  // namespace
}  // namespace vendrel::store
