#pragma once
// Start-up's operating-system side: the process list, the running instance's tagged window, the
// single-instance mutex (kept until shutdown) and the companion program.
#include <windows.h>

#include "app/startup.h"
#include "controls/handles.h"

namespace vendrel::app {

class Win32InstancePlatform final : public InstancePlatform {
 public:
  std::uint32_t FindProcessByExeName(std::u16string_view exe_name) override;
  void SignalInstance(std::uint32_t process_id, InstanceSignal signal) override;
  bool OpenExistingMutex(std::u16string_view name) override;
  void CreateOwnedMutex(std::u16string_view name) override;
  void StartHidden(std::u16string_view program) override;

  void CloseMutex() { mutex_.reset(); }

 private:
  controls::UniqueKernelHandle mutex_;
};

}  // namespace vendrel::app
