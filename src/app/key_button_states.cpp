#include "app/key_button_states.h"

#include "store/assignment_model.h"
#include "keys/key_table.h"
#include "keys/profile_key_table.h"

namespace vendrel::app {
namespace {

std::size_t BlockOf(int active_profile) {
  const bool known = active_profile >= 0 &&
                     static_cast<std::size_t>(active_profile) < keys::kDeviceProfileCount;
  return known ? static_cast<std::size_t>(active_profile) : 0;
}

std::size_t BankOf(int g_bank) {
  const bool valid = g_bank >= 0 && static_cast<std::size_t>(g_bank) < keys::kGBankCount;
  return valid ? static_cast<std::size_t>(g_bank) : 0;
}

}  // namespace

std::vector<KeyButtonState> KeyButtonStates(const store::WorkingStore& store, int active_profile,
                                            int g_bank, const texts::TextTable& texts) {
  const std::size_t block = BlockOf(active_profile);
  const std::size_t bank = BankOf(g_bank);
  auto lock = store.Lock();
  std::vector<KeyButtonState> states;
  states.reserve(keys::kKeyButtonCount + keys::kGKeyControlIds.size());
  // The colour flag belongs to the button's place on the picture, not to the key it carries.
  const auto add = [&](int id, std::size_t record, std::size_t flag_record) {
    const keys::KeyAssignment a = store::ReadAssignment(store, block, record);
    states.push_back({id, store::IsAssignmentSet(a), store::AssignmentText(store, block, record, texts),
                      store::ReadAssignment(store, block, flag_record).colour_flag != 0});
  };
  const auto table = keys::KeyButtonTable();
  for (std::size_t n = 0; n < table.size(); ++n) add(table[n].control_id, keys::Fold(table[n].code), n);
  for (std::size_t g = 0; g < keys::kGKeyControlIds.size(); ++g) {
    add(keys::kGKeyControlIds[g], keys::GRecordIndex(bank, g), keys::kGKeyCount * bank + g);
  }
  return states;
}

}  // namespace vendrel::app
