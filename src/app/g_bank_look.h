#pragma once
// What the main window shows of the active G bank: the labels of the G buttons and the sheets of
// the bank indicator. The skin draws the indicator with bank A lit on the normal sheet and bank B
// lit on the hover sheet.
#include <cstddef>
#include <string>

#include "skin/state_sheet.h"

namespace vendrel::app {

// G1..G5 (g 0..4) read "A1".."A5" in bank A (0) and "B1".."B5" in bank B (1); G6..G9 have no
// label. Any bank other than 1 counts as bank A, as the bank bit does.
std::u16string GKeyBankLabel(int g_bank, std::size_t g);

// The indicator's five slots (normal, hover, pressed, disabled, selected): bank B shows the hover
// sheet in the four ordinary slots and the normal sheet as its selected image, bank A the reverse.
skin::SlotSheets BankIndicatorSheets(int g_bank);

}  // namespace vendrel::app
