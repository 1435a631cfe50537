#include "app/startup.h"

namespace vendrel::app {
namespace {

char16_t LowerAscii(char16_t c) {
  return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c - u'A' + u'a') : c;
}

}  // namespace

bool EqualsIgnoringCase(std::u16string_view a, std::u16string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
  }
  return true;
}

StartupOutcome DecideStartup(std::span<const std::u16string> arguments, const AppPaths& paths,
                             InstancePlatform& platform, std::atomic<bool>& start_flag) {
  for (const std::u16string& arg : arguments) {
    if (EqualsIgnoringCase(arg, u"/Kill")) {
      const std::uint32_t pid = platform.FindProcessByExeName(paths.exe_file_name);
      if (pid != 0) {
        // When the match is this very process no window answers; it exits all the same.
        platform.SignalInstance(pid, InstanceSignal::Kill);
        return StartupOutcome::Exit;
      }
    } else if (EqualsIgnoringCase(arg, u"/Start")) {
      start_flag = true;
    }
  }

  if (platform.OpenExistingMutex(kInstanceMutexName)) {
    const std::uint32_t pid = platform.FindProcessByExeName(paths.exe_file_name);
    if (pid != 0) {
      platform.SignalInstance(pid, InstanceSignal::Open);
      return StartupOutcome::Exit;
    }
    // No process of this name at all: go on as the running instance with the opened handle.
  } else {
    platform.CreateOwnedMutex(kInstanceMutexName);
  }
  platform.StartHidden(paths.companion_program);
  return StartupOutcome::Run;
}

}  // namespace vendrel::app
