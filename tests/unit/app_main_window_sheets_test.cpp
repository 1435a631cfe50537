// Which parts of the main window's state sheets the window holds: each control's rectangle on
// exactly the sheets its slots can show, and the arrows at every variant the keyboard view picks.
#include "app/main_window_sheets.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "app/keyboard_view_logic.h"
#include "app/main_window_controls.h"
#include "support/memory_ini_profile.h"

namespace vendrel::app {
namespace {

using skin::CutRect;
using skin::MainSheet;

std::u16string Decimal(int n) {
  const std::string s = std::to_string(n);
  return {s.begin(), s.end()};
}

class MainWindowSheets : public ::testing::Test {
 protected:
  void Place(const std::u16string& section, const std::u16string& key, const std::u16string& value) {
    ini.values[{section, key}] = value;
  }
  bool Holds(const MainSheetCuts& cuts, MainSheet sheet, const CutRect& cut) const {
    const auto& list = cuts[static_cast<std::size_t>(sheet)];
    return std::find(list.begin(), list.end(), cut) != list.end();
  }

  testing::MemoryIniProfile ini;
  skin::CIniFile skin{ini, u"Main.ini"};
};

TEST_F(MainWindowSheets, EachControlIsHeldOnTheSheetsOfItsSlots) {
  const KeyButtonPlacement key = KeyButtonPlacements().front();
  Place(u"BUTTONINFO", key.skin_key, u"100,200,40,38");
  Place(u"BUTTONINFO", u"CONTROL_OK", u"300,500,80,24");      // N H P N N
  Place(u"BUTTONINFO", u"CONTROL2_APPLY", u"400,500,80,24");  // N H P D N
  Place(u"BUTTONINFO", u"LOCK_CAPS", u"600,40,30,12");        // N N N N H
  const MainSheetCuts cuts = CutsOfMainSheets(skin);

  struct Case {
    const char* what;
    CutRect cut;
    std::vector<MainSheet> on;
  };
  const Case cases[] = {
      {"key", {100, 200, 40, 38},
       {MainSheet::Normal, MainSheet::Over, MainSheet::Down, MainSheet::Disable, MainSheet::Colour0,
        MainSheet::Colour1}},
      {"OK", {300, 500, 80, 24}, {MainSheet::Normal, MainSheet::Over, MainSheet::Down}},
      {"Apply", {400, 500, 80, 24},
       {MainSheet::Normal, MainSheet::Over, MainSheet::Down, MainSheet::Disable}},
      {"lock light", {600, 40, 30, 12}, {MainSheet::Normal, MainSheet::Over}},
  };
  for (const Case& c : cases) {
    for (std::size_t s = 0; s < skin::kMainSheetCount; ++s) {
      const auto sheet = static_cast<MainSheet>(s);
      const bool expected = std::find(c.on.begin(), c.on.end(), sheet) != c.on.end();
      EXPECT_EQ(Holds(cuts, sheet, c.cut), expected) << c.what << " on sheet " << s;
    }
  }
}

TEST_F(MainWindowSheets, ArrowsAreHeldAtEveryVariantWithTheArrowsOwnSize) {
  Place(u"BUTTONINFO", u"LEFT_ARROW", u"500,300,18,16");
  Place(u"BUTTONINFO", u"RIGHT_ARROW", u"628,300,20,18");
  int n = 0;
  for (const FlipArrow arrow : {FlipArrow::Left, FlipArrow::Right}) {
    for (const bool flip : {false, true}) {
      for (const bool over : {false, true}) {
        Place(u"BUTTONINFO2", FlipArrowKey(flip, arrow, over),
              Decimal(2 + 22 * n) + u",4,18,18");  // the variant's own size is not used
        ++n;
      }
    }
  }
  const MainSheetCuts cuts = CutsOfMainSheets(skin);
  const auto& arrows = cuts[static_cast<std::size_t>(MainSheet::Arrow)];
  ASSERT_EQ(arrows.size(), 8u);
  for (int i = 0; i < 8; ++i) {
    const CutRect expected{2 + 22 * i, 4, i < 4 ? 18 : 20, i < 4 ? 16 : 18};
    EXPECT_EQ(arrows[static_cast<std::size_t>(i)], expected) << i;
  }
  for (std::size_t s = 0; s < skin::kMainSheetCount; ++s) {
    if (static_cast<MainSheet>(s) == MainSheet::Arrow) continue;
    for (const CutRect& cut : cuts[s]) EXPECT_NE(cut.y, 4) << "an arrow variant on sheet " << s;
  }
}

TEST_F(MainWindowSheets, ControlsMissingFromTheSkinAreHeldWhereTheyAreDrawn) {
  // Not in the skin: placed at (1, 1), one pixel large, and still drawn from there.
  const MainSheetCuts cuts = CutsOfMainSheets(skin);
  EXPECT_TRUE(Holds(cuts, MainSheet::Normal, {1, 1, 1, 1}));
  Place(u"BUTTONINFO", u"CONTROL_OK", u"300,500,-80,24");
  EXPECT_TRUE(Holds(CutsOfMainSheets(skin), MainSheet::Normal, {300, 500, 0, 24}))
      << "a negative size cuts nothing";
}

}  // namespace
}  // namespace vendrel::app
