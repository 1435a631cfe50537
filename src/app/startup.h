#pragma once
// What a starting process does before any window exists: the command line ("/Kill", "/Start"),
// the single-instance decision and the companion program.
#include <atomic>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "app/app_paths.h"

namespace vendrel::app {

inline constexpr std::u16string_view kInstanceMutexName = u"RX73P05D";

enum class InstanceSignal { Open = 0, Kill = 1 };

// The operating-system side of start-up. The Win32 implementation walks the process list and the
// top-level windows; tests use a fake.
class InstancePlatform {
 public:
  virtual ~InstancePlatform() = default;
  // Identifier of the oldest process whose image name equals exe_name ignoring case; 0 if none.
  virtual std::uint32_t FindProcessByExeName(std::u16string_view exe_name) = 0;
  // Sends OPEN or KILL to the first top-level window of process_id tagged "MAIN".
  virtual void SignalInstance(std::uint32_t process_id, InstanceSignal signal) = 0;
  // Opens the named mutex if it exists and keeps the handle; false when it does not exist.
  virtual bool OpenExistingMutex(std::u16string_view name) = 0;
  // Creates the named mutex, owned by this process, and keeps the handle. Failure is ignored.
  virtual void CreateOwnedMutex(std::u16string_view name) = 0;
  // Asks the shell to open the program hidden; the result is ignored.
  virtual void StartHidden(std::u16string_view program) = 0;
};

enum class StartupOutcome { Run, Exit };

// ASCII case-insensitive comparison, enough for the two switches.
bool EqualsIgnoringCase(std::u16string_view a, std::u16string_view b);

// Examines the arguments after the program name in order, then enforces the single instance and
// starts the companion program. Sets start_flag on "/Start". Exit means: end the process with code 0.
StartupOutcome DecideStartup(std::span<const std::u16string> arguments, const AppPaths& paths,
                             InstancePlatform& platform, std::atomic<bool>& start_flag);

}  // namespace vendrel::app
