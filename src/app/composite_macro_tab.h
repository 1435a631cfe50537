#pragma once
// The macro tab of the key-setting dialog, as the dialog's logic sees it: the macro editor and its
// recorder live behind this, so that the dialog decides tabs, types and Apply without knowing how
// macros are edited.
#include <cstdint>

namespace vendrel::app {

class CompositeMacroTab {
 public:
  virtual ~CompositeMacroTab() = default;

  // Opening: copies every macro of the store, in list order, into the dialog's private records.
  virtual void Fill() = 0;
  // Opening: makes current the first macro whose id is initial_value, or the first macro when
  // none has it, and loads it; nothing when there are no macros.
  virtual void SelectForOpening(std::uint32_t initial_value) = 0;
  // The first time a tab button shows the macro tab after an opening whose initial value was 0:
  // saves the current macro (if any), makes the first macro current and loads it.
  virtual void SelectFirstSavingCurrent() = 0;

  virtual bool Recording() const = 0;
  virtual void StopRecording() = 0;  // does nothing when not recording
  virtual void EndCellEdit() = 0;    // keeps the edited value

  virtual bool Empty() const = 0;
  // The MacroId of the current macro and the number in the cycles field; 0 when there is none.
  virtual std::uint16_t CurrentMacroId() const = 0;
  virtual std::uint16_t Cycles() const = 0;

  // Apply and OK: saves the current macro and commits the box's records to the store.
  virtual void SaveAndCommit() = 0;
  // Cancel and closing: frees the private copies; the store is untouched.
  virtual void Discard() = 0;
};

}  // namespace vendrel::app
