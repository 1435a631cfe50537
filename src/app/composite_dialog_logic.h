#pragma once
// The key-setting dialog, apart from Win32: opening on one key of the current profile, its four
// tabs and the type they choose, the single-key capture, Clear, Apply, OK and Cancel. The macro
// tab is reached only through CompositeMacroTab.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "app/composite_macro_tab.h"
#include "keys/key_assignment.h"
#include "keys/key_table.h"
#include "store/key_store.h"
#include "texts/text_table.h"

namespace vendrel::app {

enum class CompositeTab { SingleKey, Macro, Media, Function };

// The tab that shows a pending type: macro, multimedia and function types have their own, every
// other type the single-key tab.
CompositeTab TabOfType(keys::AssignmentType type);

// Keyboard messages of the low-level capture hook.
inline constexpr std::uint32_t kMsgKeyDown = 0x0100;
inline constexpr std::uint32_t kMsgKeyUp = 0x0101;
inline constexpr std::uint32_t kMsgSysKeyDown = 0x0104;
inline constexpr std::uint32_t kMsgSysKeyUp = 0x0105;

class CompositeDialogView {
 public:
  virtual ~CompositeDialogView() = default;

  // Macro-edit mode: tab buttons 1028/1030/1031 and Clear disabled, their labels hidden, the
  // macro-edit prompt and images; otherwise all of them usable.
  virtual void ShowMode(bool macro_edit) = 0;
  // Inputs, labels and the pressed tab button of the tab; the others hidden.
  virtual void ShowTab(CompositeTab tab) = 0;
  virtual void SetKeyField(std::u16string_view text) = 0;
  virtual void EnableApply(bool enabled) = 0;
  // Position in the box, or -1 for no selection.
  virtual void SelectMedia(int position) = 0;
  virtual void SelectFunction(int position) = 0;
  virtual int SelectedMedia() const = 0;
  virtual int SelectedFunction() const = 0;
  virtual void InstallCaptureHooks() = 0;
  virtual void RemoveCaptureHooks() = 0;
  virtual void EndDialog() = 0;
};

// What the main window does when the dialog has stored an assignment.
class CompositeDialogHost {
 public:
  virtual ~CompositeDialogHost() = default;
  // The key's button shows the assigned look when set, and every caption is renewed.
  virtual void ShowAssignment(int control_id, bool set) = 0;
  virtual void EnableMainApply() = 0;
  // Every key button shows its assignment from the store again (a macro commit reset keys).
  virtual void RefreshKeyButtons() = 0;
};

class CompositeDialogLogic {
 public:
  CompositeDialogLogic(CompositeDialogView& view, CompositeMacroTab& macro_tab,
                       CompositeDialogHost& host, store::WorkingStore& store,
                       const texts::TextTable& texts);

  // Opens on the slot (key slot or G record) of the block; macro-edit mode exactly for G9's id.
  void Open(std::size_t block, std::size_t slot, int control_id);

  void OnTabButton(CompositeTab tab);
  // Thread hook: a keystroke with its virtual key and key data. True when taken.
  bool OnCaptureKey(std::uint32_t vk, std::uint32_t key_data);
  // Low-level hook: takes the Windows and App keys, which the system would act on first.
  bool OnLowLevelKey(std::uint32_t message, std::uint32_t vk);
  void OnClear();
  void Apply();
  void Ok();
  void Close();  // Cancel, the close box and the main window

  bool IsOpen() const { return open_; }
  bool MacroEditMode() const { return macro_edit_; }
  keys::AssignmentType PendingType() const { return pending_; }
  keys::KeyCode ChosenKey() const { return chosen_key_; }
  bool HooksInstalled() const { return hooks_installed_; }

 private:
  void ShowPendingTab(bool opening);
  void TakeKey(keys::KeyCode key);
  void InstallHooks();
  void RemoveHooks();
  keys::KeyAssignment BuildAssignment() const;

  CompositeDialogView& view_;
  CompositeMacroTab& macro_tab_;
  CompositeDialogHost& host_;
  store::WorkingStore& store_;
  const texts::TextTable& texts_;

  bool open_ = false;
  std::size_t block_ = 0;
  std::size_t slot_ = 0;
  int control_id_ = 0;
  bool macro_edit_ = false;
  keys::AssignmentType pending_ = keys::AssignmentType::Default;
  keys::AssignmentType opened_type_ = keys::AssignmentType::Default;
  std::uint32_t initial_value_ = 0;
  keys::KeyCode chosen_key_ = keys::kNoKey;
  bool hooks_installed_ = false;
  bool macro_tab_chosen_ = false;  // a tab button has shown the macro tab since the opening
};

}  // namespace vendrel::app
