#include "app/main_window_sheets.h"

#include <algorithm>

#include "app/keyboard_view_logic.h"
#include "app/main_window_controls.h"
#include "skin/placement.h"

namespace vendrel::app {
namespace {

using skin::MainSheet;

skin::CutRect CutOf(const skin::Placement& p) { return {p.x, p.y, std::max(p.w, 0), std::max(p.h, 0)}; }

void Add(MainSheetCuts& cuts, MainSheet sheet, const skin::CutRect& cut) {
  cuts[static_cast<std::size_t>(sheet)].push_back(cut);
}

}  // namespace

MainSheetCuts CutsOfMainSheets(const skin::CIniFile& skin) {
  MainSheetCuts cuts;
  // Key and G buttons: normal, hover, pressed and disabled sheets, and both colour-keys looks.
  for (const KeyButtonPlacement& key : KeyButtonPlacements()) {
    const skin::CutRect cut = CutOf(skin::ReadPlacement(skin, skin::kSectionButtonInfo, key.skin_key));
    for (const MainSheet sheet : {MainSheet::Normal, MainSheet::Over, MainSheet::Down,
                                  MainSheet::Disable, MainSheet::Colour0, MainSheet::Colour1}) {
      Add(cuts, sheet, cut);
    }
  }
  for (const ShellControl& control : kShellControls) {
    const skin::CutRect cut = CutOf(skin::ReadPlacement(skin, skin::kSectionButtonInfo, control.skin_key));
    skin::SlotSheets sheets = skin::SlotSheetsFromLetters(control.slots);
    std::sort(sheets.begin(), sheets.end());
    const auto end = std::unique(sheets.begin(), sheets.end());
    for (auto it = sheets.begin(); it != end; ++it) Add(cuts, *it, cut);
  }
  // An arrow keeps its own size and shows the variant's place of the arrow sheet.
  for (const FlipArrow arrow : {FlipArrow::Left, FlipArrow::Right}) {
    const skin::Placement placed = skin::ReadPlacement(
        skin, skin::kSectionButtonInfo, arrow == FlipArrow::Left ? u"LEFT_ARROW" : u"RIGHT_ARROW");
    for (const bool flip : {false, true}) {
      for (const bool over : {false, true}) {
        const skin::Placement variant =
            skin::ReadPlacement(skin, skin::kSectionButtonInfo2, FlipArrowKey(flip, arrow, over));
        Add(cuts, MainSheet::Arrow, CutOf({variant.x, variant.y, placed.w, placed.h}));
      }
    }
  }
  return cuts;
}

}  // namespace vendrel::app
