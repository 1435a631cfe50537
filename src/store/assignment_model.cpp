#include "store/assignment_model.h"

#include "keys/assignment_tables.h"
#include "keys/key_table.h"

namespace vendrel::store {

using namespace keys;
namespace {

bool InRange(std::size_t block, std::size_t record) {
  return block < kProfileBlockCount && record < kRecordsPerBlock;
}

std::size_t TableIndex(std::size_t block, std::size_t record) {
  return block * kRecordsPerBlock + record;
}

std::u16string MacroName(const WorkingStore& store, const KeyAssignment& assignment) {
  const std::uint16_t id = MacroIdOf(assignment);
  for (const auto& m : store.macros) {
    if (m.id == id) return m.name;
  }
  return {};
}

}  // namespace

KeyAssignment ReadAssignment(const WorkingStore& store, std::size_t block, std::size_t record) {
  if (!InRange(block, record)) return {};
  auto lock = store.Lock();
  return store.Table().At(block, record);
}

AssignResult WriteAssignment(WorkingStore& store, std::size_t block, std::size_t record,
                    const KeyAssignment& assignment, std::u16string_view text) {
  if (!InRange(block, record)) return AssignResult::OutOfRange;
  auto lock = store.Lock();
  const std::size_t index = TableIndex(block, record);
  store.strings.Clear(index);
  if (CarriesText(assignment.type)) store.strings.Set(index, text);
  KeyAssignment& r = store.Table().At(block, record);
  r.type = assignment.type;
  r.key_field = assignment.key_field;
  r.parameter = assignment.parameter;
  return AssignResult::Ok;
}

AssignResult RestoreDefaultAssignments(WorkingStore& store, std::size_t block, std::size_t bank) {
  if (block >= kProfileBlockCount || bank >= kGBankCount) return AssignResult::OutOfRange;
  auto lock = store.Lock();
  auto reset = [&](std::size_t record) {
    store.strings.Clear(TableIndex(block, record));
    store.Table().At(block, record) = KeyAssignment{};
  };
  for (const KeyButton& button : KeyButtonTable()) reset(Fold(button.code));
  for (std::size_t g = 0; g < kGKeyCount; ++g) reset(GRecordIndex(bank, g));
  return AssignResult::Ok;
}

bool IsAssignmentSet(const KeyAssignment& assignment) {
  return assignment.type != AssignmentType::Default;
}

std::u16string AssignmentText(const WorkingStore& store, std::size_t block, std::size_t record,
                              const texts::TextTable& texts) {
  if (!InRange(block, record)) return {};
  std::u16string text;
  if (record < kKeySlotRecords) {
    text = KeyName(Unfold(static_cast<KeySlot>(record)), texts);
  } else if (record < GRecordIndex(kGBankCount, 0)) {
    const std::size_t g = (record - kFirstGRecord) % kGKeyCount;
    text = u"G" + std::u16string(1, static_cast<char16_t>(u'1' + g));
  } else {
    return {};
  }

  auto lock = store.Lock();
  const KeyAssignment r = store.Table().At(block, record);
  if (!IsAssignmentSet(r)) return text;
  text += texts.Text(texts::TextKey::KEY_PROMPT_SET);
  switch (r.type) {
    case AssignmentType::Key:
      text += texts.Text(texts::TextKey::KEY_PROMPT_SINGLE);
      if (r.parameter <= 0xFFFF) text += KeyName(static_cast<KeyCode>(r.parameter), texts);
      text += u")";
      break;
    case AssignmentType::Macro:
      text += texts.Text(texts::TextKey::KEY_PROMPT_MACRO) + MacroName(store, r) + u")";
      break;
    case AssignmentType::Media:
      text += texts.Text(texts::TextKey::KEY_PROMPT_MEDIA);
      if (r.parameter < kMediaTable.size()) text += KeyName(kMediaTable[r.parameter].code, texts);
      text += u")";
      break;
    case AssignmentType::Function:
      text += texts.Text(texts::TextKey::KEY_PROMPT_FUNCTION);
      if (r.parameter < kFunctionTable.size()) text += texts.Text(kFunctionTable[r.parameter]);
      text += u")";
      break;
    default:
      break;
  }
  return text;
}

}  // namespace vendrel::store
