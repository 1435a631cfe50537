#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "store/key_store.h"
#include "profiles/settings_file_codec.h"
#include "store/settings_store.h"

namespace vendrel::profiles {
namespace {

using namespace vendrel::store;

using Bytes = std::vector<std::uint8_t>;
using keys::AssignmentType;

std::uint32_t U32(const Bytes& b, std::size_t off) {
  return static_cast<std::uint32_t>(b[off] | (b[off + 1] << 8) | (b[off + 2] << 16) |
                                    (static_cast<std::uint32_t>(b[off + 3]) << 24));
}
std::uint16_t U16(const Bytes& b, std::size_t off) {
  return static_cast<std::uint16_t>(b[off] | (b[off + 1] << 8));
}
void Put16(Bytes& b, std::size_t off, std::uint32_t v) {
  b[off] = static_cast<std::uint8_t>(v & 0xFF);
  b[off + 1] = static_cast<std::uint8_t>((v >> 8) & 0xFF);
}
void Put32(Bytes& b, std::size_t off, std::uint32_t v) {
  for (std::size_t i = 0; i < 4; ++i) b[off + i] = static_cast<std::uint8_t>((v >> (8 * i)) & 0xFF);
}
void FixChecksum(Bytes& b) { b[kHdrOffChecksum] = HeaderChecksum(b); }

std::size_t RecordOffset(std::size_t block, std::size_t record) {
  return kKeyTableOffset + (block * keys::kRecordsPerBlock + record) * keys::kKeyAssignmentSize;
}

Bytes DefaultFile() {
  store::KeyStore store;
  MakeDefaultTable(store.Table());
  Bytes b;
  EXPECT_EQ(SerializeStore(store, b), profiles::SettingsCodecResult::Ok);
  return b;
}

void SetText(store::KeyStore& s, std::size_t block, std::size_t record, AssignmentType type,
             std::u16string_view text) {
  s.Table().At(block, record).type = type;
  s.strings.Set(block * keys::kRecordsPerBlock + record, text);
}

TEST(SettingsFileLayout, EmptyStoreIsExactly32832BytesWithItsHeader) {
  const Bytes b = DefaultFile();
  ASSERT_EQ(b.size(), 32832u);
  const Bytes header_start{0x46, 0x44, 0x20, 0x00, 0x03, 0x00, 0x01, 0x00};
  EXPECT_EQ(Bytes(b.begin(), b.begin() + 8), header_start);
  EXPECT_EQ(U32(b, kHdrOffTotalSize), 32832u);
  EXPECT_EQ(U16(b, kHdrOffRecordCount), 2048);
  EXPECT_EQ(U16(b, kHdrOffMacroCount), 0);
  EXPECT_EQ(U32(b, kHdrOffTextSize), 0u);
  for (std::size_t i = kHdrOffReserved; i <= kHdrOffFlag; ++i) EXPECT_EQ(b[i], 0) << i;
  unsigned sum = 0;
  for (std::size_t i = 0; i < 31; ++i) sum += b[i];
  EXPECT_EQ(b[31], sum % 256);
  struct Word {
    std::size_t index;
    std::uint32_t value;
  };
  for (const Word& w : {Word{0, 0x0020484B}, Word{1, 0x00008020}, Word{2, 0x02000004}, Word{3, 0},
                        Word{5, 0x000E1C4F}, Word{6, 0}, Word{7, 0}}) {
    EXPECT_EQ(U32(b, 32 + 4 * w.index), w.value) << "word " << w.index;
  }
  EXPECT_NE(U32(b, 32 + 16), 0u);  // the keyboard's ids
  EXPECT_TRUE(IsValidSettingsFile(b));
}

TEST(SettingsFileLayout, DefaultTableHasGCodesOnlyInBlockZero) {
  const Bytes b = DefaultFile();
  for (std::size_t block = 0; block < keys::kProfileBlockCount; ++block) {
    for (std::size_t r = 0; r < keys::kRecordsPerBlock; ++r) {
      const std::size_t off = RecordOffset(block, r);
      std::uint16_t expected_key = 0;
      if (block == 0 && r >= 256 && r <= 264) expected_key = static_cast<std::uint16_t>(0x0301 + r - 256);
      if (block == 0 && r >= 265 && r <= 273) expected_key = static_cast<std::uint16_t>(0x1301 + r - 265);
      ASSERT_EQ(U16(b, off + 2), expected_key) << block << "/" << r;
      ASSERT_EQ(U16(b, off), 0) << block << "/" << r;
      ASSERT_EQ(U32(b, off + 4), 0u) << block << "/" << r;
    }
  }
}

// Where a record of block 2 and a macro lie in the file, with offsets and fields written out by
// hand from the file's tables: a wrong block offset or record layout shared by the writer and the
// reader would pass every round trip.
TEST(SettingsFileLayout, RecordsAndMacrosLieWhereTheTablesSay) {
  store::KeyStore s;
  MakeDefaultTable(s.Table());
  s.Table().At(2, 0x1E) = {AssignmentType::Macro, 5, 0x00010003, 1, 0};
  macros::MacroRecord m;
  m.id = 9;
  m.name = u"Hi";
  m.cycles = 7;
  m.actions = {{1234, 0x01E, macros::ActionKind::Press}, {0, 0x02A, macros::ActionKind::Release}};
  s.macros = {m};
  Bytes b;
  ASSERT_EQ(SerializeStore(s, b), profiles::SettingsCodecResult::Ok);
  ASSERT_EQ(b.size(), 32832u + 16512u);
  EXPECT_EQ(Bytes(b.begin() + 8, b.begin() + 20),
            (Bytes{0xC0, 0xC0, 0x00, 0x00, 0x00, 0x08, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00}))
      << "total 49344, 2048 records, one macro, no text";

  // Block 2 starts at 64 + 2 * 8192; record 0x1E of it 16 * 0x1E bytes further.
  const std::size_t record = 64 + 2 * 8192 + 16 * 0x1E;
  EXPECT_EQ(Bytes(b.begin() + record, b.begin() + record + 16),
            (Bytes{0x04, 0x00, 0x05, 0x00, 0x03, 0x00, 0x01, 0x00, 0x01, 0x00, 0x00, 0x00, 0, 0, 0, 0}));

  const std::size_t macro = 32832;
  EXPECT_EQ(Bytes(b.begin() + macro, b.begin() + macro + 6), (Bytes{'H', 0, 'i', 0, 0, 0}));
  EXPECT_EQ(Bytes(b.begin() + macro + 500, b.begin() + macro + 512),
            (Bytes{7, 0, 0, 0, 0, 0, 9, 0, 2, 0, 0, 0}))
      << "cycles, reserved, new flag, repeat mode, id, action count, reserved";
  EXPECT_EQ(Bytes(b.begin() + macro + 512, b.begin() + macro + 528),
            (Bytes{0xD2, 0x04, 0, 0, 0x1E, 0, 0, 0, 0, 0, 0, 0, 0x2A, 0, 1, 0}))
      << "1234 ms press of A, then a release of left Shift";
  EXPECT_TRUE(std::all_of(b.begin() + macro + 528, b.end(), [](std::uint8_t x) { return x == 0; }))
      << "unused action slots are zero";
}

// Every malformed header is a row of this one table; the settings files and the import add only
// their messages on top and test one such file each.
struct ValidityCase {
  const char* name;
  void (*change)(Bytes&);
  bool valid;
};

class ValidityTest : public ::testing::TestWithParam<ValidityCase> {};

TEST_P(ValidityTest, HeaderChecks) {
  Bytes b = DefaultFile();
  GetParam().change(b);
  EXPECT_EQ(IsValidSettingsFile(b), GetParam().valid);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ValidityTest,
    ::testing::Values(
        ValidityCase{"Default", [](Bytes&) {}, true},
        ValidityCase{"FlagOne", [](Bytes& b) { b[kHdrOffFlag] = 1; FixChecksum(b); }, true},
        ValidityCase{"FlagTwo", [](Bytes& b) { b[kHdrOffFlag] = 2; FixChecksum(b); }, false},
        ValidityCase{"BadChecksum", [](Bytes& b) { b[kHdrOffChecksum] ^= 1; }, false},
        ValidityCase{"BadMagic", [](Bytes& b) { b[0] = 0x47; FixChecksum(b); }, false},
        ValidityCase{"BadHeaderSize", [](Bytes& b) { b[2] = 31; FixChecksum(b); }, false},
        ValidityCase{"BadFormatA", [](Bytes& b) { b[4] = 4; FixChecksum(b); }, false},
        ValidityCase{"BadFormatB", [](Bytes& b) { b[6] = 0; FixChecksum(b); }, false},
        ValidityCase{"BadRecordCount", [](Bytes& b) { Put16(b, kHdrOffRecordCount, 2047); FixChecksum(b); }, false},
        ValidityCase{"TotalOneTooMany",
                     [](Bytes& b) { Put32(b, kHdrOffTotalSize, 32833); FixChecksum(b); }, false},
        ValidityCase{"TotalBelowMinimum",
                     [](Bytes& b) { Put32(b, kHdrOffTotalSize, 32831); FixChecksum(b); }, false},
        ValidityCase{"LongerThanTotalIsFine", [](Bytes& b) { b.resize(b.size() + 100, 0x5A); }, true},
        ValidityCase{"HundredAndOneMacros",
                     [](Bytes& b) {
                       Put16(b, kHdrOffMacroCount, 101);
                       Put32(b, kHdrOffTotalSize, 32832 + 16512 * 101);
                       b.resize(32832 + 16512 * 101);
                       FixChecksum(b);
                     },
                     false},
        ValidityCase{"MacrosNamedButMissing",
                     [](Bytes& b) {
                       Put16(b, kHdrOffMacroCount, 2);
                       Put32(b, kHdrOffTotalSize, 32832 + 16512 * 2);
                       FixChecksum(b);
                     },
                     false},
        ValidityCase{"TextNamedButMissing",
                     [](Bytes& b) {
                       Put32(b, kHdrOffTextSize, 0xFFFFFF00);
                       Put32(b, kHdrOffTotalSize, 32832 + 0xFFFFFF00u);
                       FixChecksum(b);
                     },
                     false},
        ValidityCase{"TotalWrapsAroundThirtyTwoBits",
                     [](Bytes& b) {
                       // 32832 + text size overflows to 32832 + 16 in 32 bits.
                       Put32(b, kHdrOffTextSize, 0xFFFFFFFFu - 32831u + 16u);
                       Put32(b, kHdrOffTotalSize, 16);
                       FixChecksum(b);
                     },
                     false},
        ValidityCase{"ShorterThanItsTotal",
                     [](Bytes& b) {
                       Put32(b, kHdrOffTextSize, 2);
                       Put32(b, kHdrOffTotalSize, 32834);
                       FixChecksum(b);
                       b.resize(32833);
                     },
                     false},
        ValidityCase{"NoSettingsFileAtAll", [](Bytes& b) { b.assign(40000, 0x5A); }, false},
        ValidityCase{"DescriptorDiffers", [](Bytes& b) { Put32(b, 32, 0xDEADBEEF); }, true},
        ValidityCase{"OneByteShort", [](Bytes& b) { b.resize(32831); }, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SettingsFileTexts, PackedInTableOrderWithOffsets) {
  store::KeyStore s;
  MakeDefaultTable(s.Table());
  SetText(s, 0, 0x10, AssignmentType::TextBlock, u"ab");
  SetText(s, 1, 0x02, AssignmentType::TextBlock, u"");
  SetText(s, 3, 0x1E, AssignmentType::TextBlock, u"xyz");
  Bytes b;
  ASSERT_EQ(SerializeStore(s, b), profiles::SettingsCodecResult::Ok);
  ASSERT_EQ(U32(b, kHdrOffTextSize), 16u);
  ASSERT_EQ(b.size(), 32832u + 16);
  EXPECT_EQ(U32(b, RecordOffset(0, 0x10) + 4), 0u);
  EXPECT_EQ(U32(b, RecordOffset(1, 0x02) + 4), 6u);
  EXPECT_EQ(U32(b, RecordOffset(3, 0x1E) + 4), 8u);
  const Bytes text(b.begin() + 32832, b.end());
  EXPECT_EQ(text, (Bytes{'a', 0, 'b', 0, 0, 0, 0, 0, 'x', 0, 'y', 0, 'z', 0, 0, 0}));
  // Saving leaves the store as it was: the offsets live in the file only.
  EXPECT_EQ(s.Table().At(3, 0x1E).parameter, 0u);
  EXPECT_EQ(s.Table().At(1, 0x02).parameter, 0u);
}

TEST(SettingsFileTexts, TextOfARetypedRecordLeavesAZeroTail) {
  store::KeyStore s;
  MakeDefaultTable(s.Table());
  SetText(s, 0, 0x10, AssignmentType::LaunchProgram, u"c:\\p.exe");
  SetText(s, 0, 0x11, AssignmentType::TextBlock, u"ab");
  s.Table().At(0, 0x10).type = AssignmentType::Key;  // its text is no longer written
  Bytes b;
  ASSERT_EQ(SerializeStore(s, b), profiles::SettingsCodecResult::Ok);
  ASSERT_EQ(U32(b, kHdrOffTextSize), 18u + 6u);
  EXPECT_EQ(U32(b, RecordOffset(0, 0x11) + 4), 0u);
  const Bytes text(b.begin() + 32832, b.end());
  EXPECT_EQ(text, (Bytes{'a', 0, 'b', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
  EXPECT_TRUE(IsValidSettingsFile(b));
}

TEST(SettingsFileTexts, MoreMacrosThanAFileHoldsIsRefused) {
  store::KeyStore s;
  MakeDefaultTable(s.Table());
  s.macros.resize(101);
  Bytes b{1, 2, 3};
  EXPECT_EQ(SerializeStore(s, b), profiles::SettingsCodecResult::Refused);
  EXPECT_EQ(b, (Bytes{1, 2, 3}));
}

// A store with macros, texts in all four blocks and G keys of both banks.
void FillRichStore(store::KeyStore& s) {
  MakeDefaultTable(s.Table());
  for (std::size_t block = 0; block < keys::kProfileBlockCount; ++block) {
    SetText(s, block, 0x20 + block, AssignmentType::LaunchProgram, u"C:\\Tools\\run.exe");
    SetText(s, block, 0x30 + block, AssignmentType::TextBlock, u"hello \u00e9\u4e2d");
    s.Table().At(block, keys::GRecordIndex(0, block)).type = AssignmentType::Media;
    s.Table().At(block, keys::GRecordIndex(0, block)).parameter = 3;
    s.Table().At(block, keys::GRecordIndex(1, 8 - block)).type = AssignmentType::Macro;
    s.Table().At(block, keys::GRecordIndex(1, 8 - block)).parameter = 2;
  }
  s.Table().At(2, 0x1E).colour_flag = 1;
  for (macros::MacroId id = 1; id <= 3; ++id) {
    macros::MacroRecord m;
    m.id = id;
    m.name = u"m" + std::u16string(id, u'x');
    m.cycles = static_cast<std::uint8_t>(id * 10);
    m.repeat_mode = id == 3 ? 7 : 0;  // carried unchanged
    for (std::uint16_t a = 0; a < id * 100; ++a) {
      m.actions.push_back({static_cast<std::uint32_t>(a * 10), static_cast<std::uint16_t>(0x10 + a % 40),
                           a % 2 ? macros::ActionKind::Release : macros::ActionKind::Press});
    }
    s.macros.push_back(m);
  }
}

TEST(SettingsFileRoundTrip, StoreToBytesToStoreAndBytesAgain) {
  store::KeyStore original;
  FillRichStore(original);
  Bytes first;
  ASSERT_EQ(SerializeStore(original, first), profiles::SettingsCodecResult::Ok);
  ASSERT_TRUE(IsValidSettingsFile(first));
  EXPECT_EQ(U16(first, kHdrOffMacroCount), 3);

  store::KeyStore loaded;
  ASSERT_EQ(DeserializeStore(first, loaded), profiles::SettingsCodecResult::Ok);
  // The file's records carry their texts' offsets.
  auto with_offsets = std::make_unique<keys::ProfileKeyTable>(original.Table());
  AssignTextOffsets(*with_offsets, original.strings);
  EXPECT_EQ(loaded.Table(), *with_offsets);
  EXPECT_EQ(loaded.macros, original.macros);
  EXPECT_EQ(loaded.strings, original.strings);

  Bytes second;
  ASSERT_EQ(SerializeStore(loaded, second), profiles::SettingsCodecResult::Ok);
  EXPECT_EQ(second, first);
}

struct BadTextCase {
  const char* name;
  std::uint32_t offset;     // written into the record
  std::size_t text_size;    // of the file's text area
  std::vector<char16_t> area;
  bool has_text;
  std::u16string text;
  bool loads = true;  // false: an offset no file of ours holds, refused as a wrong format
};

class BadTextTest : public ::testing::TestWithParam<BadTextCase> {};

TEST_P(BadTextTest, LoaderStaysInsideTheTextArea) {
  const BadTextCase& c = GetParam();
  Bytes b = DefaultFile();
  const std::size_t rec = RecordOffset(1, 0x40);
  Put16(b, rec, static_cast<std::uint16_t>(AssignmentType::TextBlock));
  Put32(b, rec + 4, c.offset);
  for (char16_t u : c.area) {
    b.push_back(static_cast<std::uint8_t>(u & 0xFF));
    b.push_back(static_cast<std::uint8_t>(u >> 8));
  }
  b.resize(32832 + c.text_size, 0);
  Put32(b, kHdrOffTextSize, static_cast<std::uint32_t>(c.text_size));
  Put32(b, kHdrOffTotalSize, static_cast<std::uint32_t>(32832 + c.text_size));
  FixChecksum(b);
  // An exact-size copy lets the sanitizer catch any read past the end.
  const Bytes exact(b);
  store::KeyStore s;
  if (!c.loads) {
    EXPECT_FALSE(IsValidSettingsFile(exact));
    EXPECT_EQ(DeserializeStore(exact, s), profiles::SettingsCodecResult::Refused);
    return;
  }
  ASSERT_EQ(DeserializeStore(exact, s), profiles::SettingsCodecResult::Ok);
  const std::size_t index = keys::kRecordsPerBlock + 0x40;
  EXPECT_EQ(s.strings.Has(index), c.has_text);
  EXPECT_EQ(s.strings.Text(index), c.text);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BadTextTest,
    ::testing::Values(
        BadTextCase{"Terminated", 0, 6, {u'o', u'k', 0}, true, u"ok"},
        BadTextCase{"OddOffsetIsRefused", 3, 8, {u'x', u'h', u'i', 0}, false, u"", false},
        BadTextCase{"OffsetAtEndIsRefused", 6, 6, {u'o', u'k', 0}, false, u"", false},
        BadTextCase{"OffsetFarPastEndIsRefused", 0xFFFFFFF0u, 6, {u'o', u'k', 0}, false, u"", false},
        BadTextCase{"NoTerminator", 2, 6, {u'a', u'b', u'c'}, true, u"bc"},
        BadTextCase{"OddAreaSizeNoTerminator", 0, 5, {u'a', u'b', u'c'}, true, u"ab"},
        BadTextCase{"EmptyAreaIsRefused", 0, 0, {}, false, u"", false}),
    [](const auto& info) { return std::string(info.param.name); });

// Records that carry text, some holding none: every record must read back its own text, and one
// without text an empty one, never the text another record left at its old offset.
struct MixedTextCase {
  const char* name;
  // (record index, type, text or nullptr for a record without text)
  std::vector<std::tuple<std::size_t, AssignmentType, const char16_t*>> records;
  std::uint32_t text_size;  // of the saved file
};

class MixedTextTest : public ::testing::TestWithParam<MixedTextCase> {};

TEST_P(MixedTextTest, SaveAndReloadGivesEachRecordItsOwnText) {
  const MixedTextCase& c = GetParam();
  store::KeyStore s;
  MakeDefaultTable(s.Table());
  std::uint32_t stale = 0;
  for (const auto& [index, type, text] : c.records) {
    s.Table().records[index].type = type;
    if (text != nullptr) {
      s.strings.Set(index, text);
    } else {
      // A stale offset, as left by an earlier save or by a removed text: it names the first text.
      s.Table().records[index].parameter = stale;
      stale += 2;
    }
  }
  Bytes first;
  ASSERT_EQ(SerializeStore(s, first), profiles::SettingsCodecResult::Ok);
  ASSERT_TRUE(IsValidSettingsFile(first));
  EXPECT_EQ(U32(first, kHdrOffTextSize), c.text_size);

  store::KeyStore loaded;
  ASSERT_EQ(DeserializeStore(first, loaded), profiles::SettingsCodecResult::Ok);
  for (const auto& [index, type, text] : c.records) {
    EXPECT_EQ(loaded.strings.Text(index), text ? std::u16string(text) : std::u16string())
        << "record " << index;
    EXPECT_LE(loaded.strings.Total(), c.text_size);
  }
  // Loaded again the store saves the same file: no record picks anything up on the way.
  Bytes second;
  ASSERT_EQ(SerializeStore(loaded, second), profiles::SettingsCodecResult::Ok);
  EXPECT_EQ(second, first);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MixedTextTest,
    ::testing::Values(
        MixedTextCase{"TextBlockWithoutTextBeforeOneWithText",
                      {{0x10, AssignmentType::TextBlock, nullptr},
                       {0x11, AssignmentType::TextBlock, u"secret"}},
                      2 + 14},
        MixedTextCase{"LaunchWithoutTextAfterOneWithText",
                      {{0x10, AssignmentType::LaunchProgram, u"c:\\a.exe"},
                       {0x11, AssignmentType::LaunchProgram, nullptr}},
                      18 + 2},
        MixedTextCase{"SeveralWithoutTextAcrossBlocks",
                      {{0x010, AssignmentType::TextBlock, u"ab"},
                       {0x210, AssignmentType::LaunchProgram, nullptr},
                       {0x411, AssignmentType::TextBlock, u""},
                       {0x612, AssignmentType::TextBlock, nullptr},
                       {0x7FF, AssignmentType::LaunchProgram, u"xyz"}},
                      6 + 2 + 2 + 2 + 8},
        MixedTextCase{"OnlyRecordsWithoutText",
                      {{0x000, AssignmentType::TextBlock, nullptr},
                       {0x001, AssignmentType::LaunchProgram, nullptr}},
                      2 + 2}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SettingsFileTexts, RecordWithoutTextPointsAtAnEmptyTextOfItsOwn) {
  store::KeyStore s;
  MakeDefaultTable(s.Table());
  SetText(s, 0, 0x10, AssignmentType::TextBlock, u"ab");
  s.Table().At(0, 0x11).type = AssignmentType::TextBlock;
  s.Table().At(0, 0x11).parameter = 0;  // stale: names "ab"
  SetText(s, 0, 0x12, AssignmentType::TextBlock, u"c");
  Bytes b;
  ASSERT_EQ(SerializeStore(s, b), profiles::SettingsCodecResult::Ok);
  EXPECT_EQ(U32(b, RecordOffset(0, 0x10) + 4), 0u);
  EXPECT_EQ(U32(b, RecordOffset(0, 0x11) + 4), 6u);
  EXPECT_EQ(U32(b, RecordOffset(0, 0x12) + 4), 8u);
  const Bytes text(b.begin() + 32832, b.end());
  EXPECT_EQ(text, (Bytes{'a', 0, 'b', 0, 0, 0, 0, 0, 'c', 0, 0, 0}));
}

// Hostile text areas: texts that overlap or share one unterminated run would total far more than
// the file holds. The loader refuses such a file, leaving the store alone, as soon as its running
// total passes the area; the largest layouts here would total about 2^32 bytes if built.
struct HostileTextCase {
  const char* name;
  std::size_t area_units;       // text area of this many units
  std::size_t run;              // every run-th unit is a terminator, the others 'x'; 0: none
  std::vector<std::pair<std::size_t, std::uint32_t>> records;  // (count, offset): consecutive text records
  bool loads;
};

class HostileTextTest : public ::testing::TestWithParam<HostileTextCase> {};

TEST_P(HostileTextTest, TextsNeverTotalMoreThanTheArea) {
  const HostileTextCase& c = GetParam();
  Bytes b = DefaultFile();
  std::size_t record = 0;
  for (const auto& [count, offset] : c.records) {
    for (std::size_t n = 0; n < count; ++n, ++record) {
      const std::size_t at = kKeyTableOffset + record * keys::kKeyAssignmentSize;
      Put16(b, at, static_cast<std::uint16_t>(record % 2 ? AssignmentType::TextBlock
                                                          : AssignmentType::LaunchProgram));
      Put32(b, at + 4, offset);
    }
  }
  const std::size_t text_size = 2 * c.area_units;
  b.resize(32832 + text_size, 0);
  for (std::size_t u = 0; u < c.area_units; ++u) {
    if (c.run == 0 || (u + 1) % c.run != 0) Put16(b, 32832 + 2 * u, u'x');
  }
  Put32(b, kHdrOffTextSize, static_cast<std::uint32_t>(text_size));
  Put32(b, kHdrOffTotalSize, static_cast<std::uint32_t>(32832 + text_size));
  FixChecksum(b);

  store::KeyStore s;
  SetText(s, 0, 0x20, AssignmentType::TextBlock, u"kept");
  EXPECT_EQ(IsValidSettingsFile(b), c.loads);
  const auto result = DeserializeStore(b, s);
  if (c.loads) {
    ASSERT_EQ(result, profiles::SettingsCodecResult::Ok);
    EXPECT_LE(s.strings.Total(), text_size + 2 * record);
  } else {
    EXPECT_EQ(result, profiles::SettingsCodecResult::Refused);
    EXPECT_EQ(s.strings.Text(0x20), u"kept");
    EXPECT_EQ(s.strings.Total(), 10u);
  }
}

constexpr std::size_t kMiB = std::size_t{1} << 20;

INSTANTIATE_TEST_SUITE_P(
    Cases, HostileTextTest,
    ::testing::Values(
        HostileTextCase{"OneTextFillsTheArea", 4, 4, {{1, 0}}, true},
        HostileTextCase{"UnterminatedTextEndsTheArea", 4, 0, {{1, 0}}, true},
        HostileTextCase{"PackedTextsFillTheArea", 6, 3, {{1, 0}, {1, 6}}, true},
        HostileTextCase{"TwoRecordsShareOneText", 3, 3, {{2, 0}}, false},
        HostileTextCase{"SecondTextIsTheTailOfTheFirst", 4, 4, {{1, 0}, {1, 4}}, false},
        HostileTextCase{"TwoRecordsOnOneUnterminatedRun", 3, 0, {{2, 0}}, false},
        HostileTextCase{"AllRecordsAtZeroOverOneMebibyte", kMiB / 2, 0, {{2048, 0}}, false},
        // 2048 copies of 2 MiB total 2^32 bytes: a 32-bit total wraps to nearly nothing.
        HostileTextCase{"AllRecordsAtZeroOverTwoMebibytes", kMiB, 0, {{2048, 0}}, false},
        HostileTextCase{"AllButOneRecordOnTheLastUnit", kMiB, kMiB, {{1, 0}, {2047, 2 * kMiB - 2}}, false},
        HostileTextCase{"OffsetsOutsideTheAreaAreRefused", 2, 2, {{1, 0}, {2047, 0xFFFFFFF0u}}, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SettingsFileRoundTrip, RefusedBytesLeaveTheStoreAlone) {
  store::KeyStore original;
  FillRichStore(original);
  Bytes good;
  ASSERT_EQ(SerializeStore(original, good), profiles::SettingsCodecResult::Ok);
  struct Case {
    const char* name;
    Bytes bytes;
  };
  Bytes truncated_macros(good.begin(), good.begin() + 32832 + 16512 + 100);
  Bytes no_text(good.begin(), good.end() - 2);
  Bytes bad_magic = good;
  bad_magic[0] = 0;
  for (const Case& c : {Case{"empty", {}}, Case{"header only", Bytes(good.begin(), good.begin() + 64)},
                        Case{"macros cut", truncated_macros}, Case{"text cut", no_text},
                        Case{"bad magic", bad_magic}}) {
    store::KeyStore s;
    FillRichStore(s);
    s.macros.pop_back();
    const auto before_macros = s.macros;
    EXPECT_EQ(DeserializeStore(c.bytes, s), profiles::SettingsCodecResult::Refused) << c.name;
    EXPECT_EQ(s.macros, before_macros) << c.name;
  }
}

TEST(SettingsFileRoundTrip, HugeMacroCountsAndActionCountsAreCut) {
  store::KeyStore original;
  FillRichStore(original);
  Bytes b;
  ASSERT_EQ(SerializeStore(original, b), profiles::SettingsCodecResult::Ok);
  // The first macro record claims 65535 actions and a name without terminator.
  const std::size_t rec = kMacroAreaOffset;
  Put16(b, rec + 508, 0xFFFF);
  for (std::size_t i = 0; i < 500; i += 2) Put16(b, rec + i, u'N');
  store::KeyStore s;
  ASSERT_EQ(DeserializeStore(b, s), profiles::SettingsCodecResult::Ok);
  EXPECT_EQ(s.macros[0].actions.size(), macros::kMaxActions);
  EXPECT_EQ(s.macros[0].name.size(), macros::kMaxNameLength);
}

}  // namespace
}  // namespace vendrel::profiles
