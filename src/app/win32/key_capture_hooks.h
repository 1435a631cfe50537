#pragma once
// The single-key capture of the key-setting dialog: a keyboard hook on the dialog's thread and a
// low-level one for the Windows and App keys, both thin procedures that ask the dialog's logic
// whether a keystroke is taken. Only one dialog captures at a time.
#include <windows.h>

#include "app/composite_dialog_logic.h"
#include "controls/handles.h"

namespace vendrel::app {

class KeyCaptureHooks {
 public:
  explicit KeyCaptureHooks(CompositeDialogLogic& logic) : logic_(logic) {}
  KeyCaptureHooks(const KeyCaptureHooks&) = delete;
  KeyCaptureHooks& operator=(const KeyCaptureHooks&) = delete;
  ~KeyCaptureHooks() { Remove(); }

  void Install();
  void Remove();

 private:
  using UniqueHook = controls::UniqueHook;

  static LRESULT CALLBACK ThreadProc(int code, WPARAM wparam, LPARAM lparam);
  static LRESULT CALLBACK LowLevelProc(int code, WPARAM wparam, LPARAM lparam);

  // The logic the hook procedures report to while the hooks exist; hook procedures carry no
  // pointer of their own.
  static CompositeDialogLogic* target_;

  CompositeDialogLogic& logic_;
  UniqueHook thread_hook_;
  UniqueHook low_level_hook_;
};

}  // namespace vendrel::app
