#pragma once
// The recorder's keyboard hooks: one on the dialog's thread and a low-level one for the Windows
// keys, both thin procedures that hand each keystroke with the tick count to the MacroRecorder and
// take it when the recorder does. Only one recorder records at a time.
#include <windows.h>

#include "app/macro_recorder.h"
#include "controls/handles.h"

namespace vendrel::app {

class MacroRecordHooks {
 public:
  MacroRecordHooks() = default;
  MacroRecordHooks(const MacroRecordHooks&) = delete;
  MacroRecordHooks& operator=(const MacroRecordHooks&) = delete;
  ~MacroRecordHooks() { Remove(); }

  // The thread's hook first, then the low-level one; a hook that cannot be installed is left out.
  void Install(MacroRecorder& recorder);
  void Remove();

 private:
  using UniqueHook = controls::UniqueHook;

  static LRESULT CALLBACK ThreadProc(int code, WPARAM wparam, LPARAM lparam);
  static LRESULT CALLBACK LowLevelProc(int code, WPARAM wparam, LPARAM lparam);

  // Hook procedures carry no pointer of their own: the recorder they report to while the hooks
  // exist.
  static MacroRecorder* target_;

  MacroRecorder* recorder_ = nullptr;
  UniqueHook thread_hook_;
  UniqueHook low_level_hook_;
};

}  // namespace vendrel::app
