#pragma once
// What each key and G button of the main window shows for the store's assignments: its "set"
// mark, its tooltip (the assignment text) and the colour-keys selection flag of its place: record
// n of the block for the key button at table position n, record 9 * bank + g for G key g.
#include <string>
#include <vector>

#include "store/key_store.h"
#include "texts/text_table.h"

namespace vendrel::app {

struct KeyButtonState {
  int control_id;
  bool set;
  std::u16string tooltip;
  bool colour_flag;

  friend bool operator==(const KeyButtonState&, const KeyButtonState&) = default;
};

// One state per key button (key-table order) and then per G button (G1..G9). The block is the
// active profile's, block 0 while no keyboard profile is known (negative or out of range); the G
// buttons show the records of g_bank, bank 0 when g_bank is out of range. Takes the store's lock
// for the whole reading, so the states belong to one moment.
std::vector<KeyButtonState> KeyButtonStates(const store::WorkingStore& store, int active_profile,
                                            int g_bank, const texts::TextTable& texts);

}  // namespace vendrel::app
