#pragma once
// The macro tab of the key-setting dialog: the macro box with add, delete and rename, the cycles
// field, the action list with its cell editing and row operations, and recording. It works on
// private copies of the WorkingStore's macros, which reach the store only through
// CommitMacroList on Apply and OK. The Win32 tab forwards the user's actions to the On*/command
// functions below and draws what the view interface is told.
#include <array>
#include <chrono>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "app/action_rows.h"
#include "app/composite_macro_tab.h"
#include "app/macro_editor_view.h"
#include "app/macro_recorder.h"
#include "keys/key_table.h"
#include "macros/macro_record.h"
#include "platform/ini_profile.h"
#include "platform/sleeper.h"
#include "store/key_store.h"
#include "texts/text_table.h"

namespace vendrel::app {

// Pause between two candidate names when the first is taken.
inline constexpr std::chrono::milliseconds kNameRetryPause{16};

class MacroEditor final : public CompositeMacroTab {
 public:
  MacroEditor(store::WorkingStore& store, MacroEditorView& view, const texts::TextTable& texts,
              platform::Sleeper& sleeper, platform::IniProfile& profile,
              std::u16string profile_file);

  // CompositeMacroTab. Fill also reads the record-delay option, which is read at each opening.
  void Fill() override;
  void SelectForOpening(std::uint32_t initial_value) override;
  void SelectFirstSavingCurrent() override;
  bool Recording() const override { return recorder_.Recording(); }
  void StopRecording() override { recorder_.Stop(); }
  void EndCellEdit() override;
  bool Empty() const override { return records_.empty(); }
  std::uint16_t CurrentMacroId() const override;
  std::uint16_t Cycles() const override;
  void SaveAndCommit() override;
  void Discard() override;

  // The macro box.
  void OnBoxSelectionChanged(int position);
  void OnBoxTextChanged(std::u16string_view text);
  void AddMacro();     // button 1017
  void DeleteMacro();  // button 1018

  void OnCyclesTextChanged(std::u16string_view text);

  // The action list: the user selected a row, or clicked a cell of the selected row; the
  // pickers report the position chosen.
  void OnRowSelected(int row);
  void BeginCellEdit(int row, int column);
  void OnKeyChosen(int list_position);
  void OnKindChosen(int kind);

  void DeleteAction();  // 1021
  void ClearActions();  // 1022
  void MoveToTop();     // 1023
  void MoveUp();        // 1024
  void MoveDown();      // 1025
  void MoveToBottom();  // 1026

  // The Record button (1020) and the record-delay check box (1027).
  void OnRecordClicked(std::uint32_t now_ms);
  void OnRecordDelayClicked() { recorder_.ToggleRecordDelayOption(); }
  // For the Win32 hook procedures.
  MacroRecorder& Recorder() { return recorder_; }

  // What the tab holds, for its Win32 side and tests.
  std::span<const macros::MacroRecord> Records() const { return records_; }
  int Current() const { return current_; }
  const ActionRows& Rows() const { return rows_; }

  // The names offered by the key picker: ListName(0)..ListName(105).
  std::span<const std::u16string> KeyPickerNames() const { return key_picker_names_; }

 private:
  enum class CellEdit { None, Key, Kind, Delay };

  // Marks the dialog's own changes of the macro box and the cycles field, whose change
  // notifications must not be taken for the user's.
  class Suppress {
   public:
    explicit Suppress(bool& flag) : flag_(flag), previous_(flag) { flag_ = true; }
    ~Suppress() { flag_ = previous_; }
    Suppress(const Suppress&) = delete;
    Suppress& operator=(const Suppress&) = delete;

   private:
    bool& flag_;
    bool previous_;
  };

  void Save();
  void Load();
  void MakeCurrent(int position);  // selects the entry in the box and loads it
  void ShowCycles(std::uint8_t cycles);
  void CancelCellEdit();
  void FinishDelayEdit(std::u16string_view text);
  void MoveSelected(bool up, bool to_end);
  bool KeysUseMacro(macros::MacroId id) const;
  std::u16string NextNewName();
  bool HasCurrent() const { return current_ >= 0 && current_ < static_cast<int>(records_.size()); }

  store::WorkingStore& store_;
  MacroEditorView& view_;
  const texts::TextTable& texts_;
  platform::Sleeper& sleeper_;
  ActionRows rows_;
  MacroRecorder recorder_;
  std::array<std::u16string, keys::kKeyListSize> key_picker_names_;

  macros::MacroList records_;
  int current_ = -1;
  std::uint32_t name_counter_ = 0;
  std::uint8_t cycles_ = macros::kMinCycles;  // the number in the cycles field
  bool suppress_ = false;
  CellEdit cell_edit_ = CellEdit::None;
  int cell_edit_row_ = -1;
};

}  // namespace vendrel::app
