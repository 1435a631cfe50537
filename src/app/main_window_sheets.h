#pragma once
// Which rectangles of each state sheet the main window's controls can show, read from the skin
// the way the window places its controls: the key, G and Fn buttons (their colour-keys looks
// too), the window's own controls by their slot letters, and the flip arrows at every variant
// the keyboard view can pick. The window holds only these parts of its sheets.
#include <array>
#include <vector>

#include "skin/ini_file.h"
#include "skin/state_sheet.h"

namespace vendrel::app {

using MainSheetCuts = std::array<std::vector<skin::CutRect>, skin::kMainSheetCount>;

// In the sheets' coordinates, as placed (not yet clipped to a surface).
MainSheetCuts CutsOfMainSheets(const skin::CIniFile& skin);

}  // namespace vendrel::app
