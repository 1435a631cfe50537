// A settings file holding what no file of this program holds and what the keyboard could not be
// given as it stands is refused like any other wrong format: a pause longer than the keyboard's
// delay field, a text offset that is odd or outside the text area.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/documents_folder.h"
#include "platform/file_system.h"
#include "profiles/settings_file_codec.h"
#include "store/settings_files.h"
#include "store/settings_store.h"
#include "support/temp_folder.h"
#include "texts/text_table.h"

namespace vendrel::profiles {
namespace {

using Bytes = std::vector<std::uint8_t>;

// Offsets of the design's settings-file and record layouts.
constexpr std::size_t kMacroArea = 32832;
constexpr std::size_t kMacroRecord = 16512;
constexpr std::size_t kRecordActionCount = 508;
constexpr std::size_t kRecordActions = 512;
constexpr std::size_t kActionSize = 8;  // delay u32 first
constexpr std::size_t kKeyTable = 64;
constexpr std::size_t kKeyRecord = 16;  // parameter u32 at 4
constexpr std::size_t kTextRecord = 512 + 0x40;  // block 1, slot 0x40

void Put32(Bytes& b, std::size_t at, std::uint32_t v) {
  for (std::size_t i = 0; i < 4; ++i) b[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
}

// One macro of three actions and one text block "ab": the text area is "ab" and its terminator,
// six bytes from the record's offset 0.
Bytes OneMacroOneTextFile() {
  store::KeyStore s;
  MakeDefaultTable(s.Table());
  macros::MacroRecord m;
  m.id = 1;
  m.name = u"m";
  m.actions = {{40000, 0x01E, macros::ActionKind::Press},
               {10, 0x01E, macros::ActionKind::Release},
               {0, 0x030, macros::ActionKind::Press}};
  s.macros.push_back(m);
  s.Table().records[kTextRecord].type = keys::AssignmentType::TextBlock;
  s.strings.Set(kTextRecord, u"ab");
  Bytes b;
  EXPECT_EQ(store::SerializeStore(s, b), SettingsCodecResult::Ok);
  return b;
}

std::size_t DelayOf(std::size_t action) { return kMacroArea + kRecordActions + action * kActionSize; }
constexpr std::size_t kTextOffsetField = kKeyTable + kTextRecord * kKeyRecord + 4;
constexpr std::size_t kTextArea = kMacroArea + kMacroRecord;

struct LimitCase {
  const char* name;
  std::size_t at;
  std::uint32_t value;
  bool valid;
};

class SettingsFileLimits : public ::testing::TestWithParam<LimitCase> {};

TEST_P(SettingsFileLimits, RefusesWhatNoFileOfOursHolds) {
  const LimitCase& c = GetParam();
  Bytes b = OneMacroOneTextFile();
  ASSERT_EQ(b.size(), kTextArea + 6);
  ASSERT_EQ(b[kMacroArea + kRecordActionCount], 3);
  Put32(b, c.at, c.value);
  EXPECT_EQ(IsValidSettingsFile(b), c.valid);
  SettingsContent content;
  EXPECT_EQ(DecodeSettingsFile(b, content) == SettingsCodecResult::Ok, c.valid);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SettingsFileLimits,
    ::testing::Values(
        LimitCase{"EditorsLongestDelay", DelayOf(0), 40000, true},
        LimitCase{"KeyboardsLongestDelay", DelayOf(0), 40950, true},
        LimitCase{"DelayCutToTheLongestUnit", DelayOf(1), 40959, true},
        LimitCase{"DelayPastTheField", DelayOf(1), 40960, false},
        LimitCase{"FiftySecondDelay", DelayOf(2), 50000, false},
        LimitCase{"LargestDelay", DelayOf(2), 0xFFFFFFFFu, false},
        // The record holds 2000 action slots; only the first action-count of them are ever read.
        LimitCase{"LongDelayPastTheActionCount", DelayOf(3), 50000, true},
        LimitCase{"TextAtItsOwnOffset", kTextOffsetField, 0, true},
        LimitCase{"TextFromItsSecondUnit", kTextOffsetField, 2, true},
        LimitCase{"EmptyTextAtTheTerminator", kTextOffsetField, 4, true},
        LimitCase{"OddTextOffset", kTextOffsetField, 1, false},
        LimitCase{"OddOffsetAtTheTerminator", kTextOffsetField, 5, false},
        LimitCase{"TextOffsetAtTheAreaEnd", kTextOffsetField, 6, false},
        LimitCase{"TextOffsetFarOutside", kTextOffsetField, 0xFFFFFFF0u, false}),
    [](const ::testing::TestParamInfo<LimitCase>& info) { return std::string(info.param.name); });

// A text-carrying record in a file without text area has no text of its own: refused too.
TEST(SettingsFileLimitsText, TextRecordWithoutATextAreaIsRefused) {
  store::KeyStore s;
  MakeDefaultTable(s.Table());
  Bytes b;
  ASSERT_EQ(store::SerializeStore(s, b), SettingsCodecResult::Ok);
  ASSERT_EQ(b.size(), kMacroArea);
  EXPECT_TRUE(IsValidSettingsFile(b));
  b[kKeyTable + kTextRecord * kKeyRecord] = static_cast<std::uint8_t>(keys::AssignmentType::TextBlock);
  EXPECT_FALSE(IsValidSettingsFile(b));
}

// On disk the refusal is the wrong-format result the window logic answers with the format message;
// a load leaves the store as it was.
TEST(SettingsFileLimitsOnDisk, AFiftySecondDelayIsTheWrongFormat) {
  testing::TempFolder temp;
  platform::FileSystem& files = platform::PortableFileSystem();
  const platform::FixedDocumentsFolder documents(temp.U16());
  const texts::TextTable texts;
  store::WorkingStore working;
  store::SettingsFiles settings(working, files, documents, texts);

  Bytes b = OneMacroOneTextFile();
  const std::u16string good = temp.File("good.fwc");
  ASSERT_TRUE(files.WriteFileReplacing(good, b));
  Put32(b, DelayOf(0), 50000);
  const std::u16string bad = temp.File("bad.fwc");
  ASSERT_TRUE(files.WriteFileReplacing(bad, b));

  EXPECT_EQ(settings.ValidateSettingsFile(good), store::SettingsFileCheck::Valid);
  EXPECT_EQ(settings.ValidateSettingsFile(bad), store::SettingsFileCheck::WrongFormat);
  auto lock = working.Lock();
  ASSERT_EQ(settings.LoadSettingsFile(good), SettingsCodecResult::Ok);
  EXPECT_EQ(settings.LoadSettingsFile(bad), SettingsCodecResult::Refused);
  ASSERT_EQ(working.macros.size(), 1u);
  EXPECT_EQ(working.macros[0].actions[0].delay, 40000u);
}

}  // namespace
}  // namespace vendrel::profiles
